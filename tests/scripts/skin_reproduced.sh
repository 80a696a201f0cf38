#!/usr/bin/env bash
# The committed skin folders are what scripts/skin/make_skin.py writes: an edit made by hand
# to one of them, or to the generator alone, fails here.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v python3 >/dev/null || { echo "python3 is missing"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
python3 "$root/scripts/skin/make_skin.py" "$scratch" || exit 1
status=0
for folder in ConifgENRes ConifgRes; do
    diff -r "$scratch/skin/$folder" "$root/skin/$folder" || status=1
done
[ $status -eq 0 ] && echo "both skin folders are the generator's output"
exit $status
