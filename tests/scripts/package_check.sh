#!/usr/bin/env bash
# The Debian package made from a built folder: its name and dependencies, lintian and
# appstreamcli without errors, a clean install and removal, and the installed program run from
# a scratch root with its data under /usr/share, writing nothing outside the XDG folders.
#   package_check.sh BUILD_DIR
set -uo pipefail
command -v dpkg >/dev/null || { echo "skipped: dpkg is absent"; exit 77; }
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

version=$(sed -nE 's/^project\(dtuconfig VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
deb=$(DTU_PACKAGE_BUILD=$build "$root/scripts/package" "$scratch/out") || { echo "FAIL: no package"; exit 1; }
[ "$(basename "$deb")" = "dtuconfig_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "package name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libstdc++6 fonts-wqy-microhei; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

echo "--- lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports an error"

sysroot=$scratch/root
dpkg -x "$deb" "$sysroot"
echo "--- appstreamcli, desktop-file-validate"
appstreamcli validate --no-net "$sysroot"/usr/share/metainfo/*.metainfo.xml ||
    fail "appstreamcli validate"
desktop-file-validate "$sysroot/usr/share/applications/dtuconfig.desktop" ||
    fail "desktop-file-validate"

echo "--- the installed program"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_CACHE_HOME=$scratch/cache QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
unpacked=$(cd "$sysroot" && find . -printf '%p %s %m\n' | sort)
program=$sysroot/usr/bin/dtuconfig
[ "$("$program" --version)" = "dtuconfig $version" ] || fail "--version: $("$program" --version)"
"$program" --help >"$scratch/help.txt" || fail "--help"
shot=$(DTU_REPORT_CONTROLS=1 "$program" --screenshot "$scratch/shot.png" 2>&1) || fail "--screenshot"
[ "$(head -c 4 "$scratch/shot.png" | tail -c 3)" = "PNG" ] || fail "no screenshot"
# The window's controls exist only when the skin was found under the root's /usr/share.
grep -q '^CONTROL Ver|' <<<"$shot" || fail "the installed skin was not found"
[ "$(cd "$sysroot" && find . -printf '%p %s %m\n' | sort)" = "$unpacked" ] ||
    fail "the program wrote into its installed tree"
[ -d "$XDG_CONFIG_HOME/dtuconfig" ] || fail "no settings folder under XDG_CONFIG_HOME"
[ -z "$(ls -A "$HOME")" ] || fail "files in HOME outside the XDG folders: $(ls -A "$HOME")"

echo "--- the manual page"
page=$(MANWIDTH=100 man -l "$sysroot/usr/share/man/man1/dtuconfig.1.gz" 2>"$scratch/man.err" | col -bx)
[ -s "$scratch/man.err" ] && fail "man reports: $(cat "$scratch/man.err")"
section=$(awk '/^SUBCOMMANDS/ {on = 1; next} /^[A-Z]/ {on = 0} on' <<<"$page")
commands=$(grep -oE '^ +dtuconfig [a-z]+' "$scratch/help.txt" | awk '{print $NF}' | sort -u)
[ -n "$commands" ] || fail "--help lists no subcommand"
for word in $commands; do
    grep -qE "^ {7}$word( |$)" <<<"$section" || fail "the manual page lacks subcommand $word"
done

echo "--- install and remove"
admin=$scratch/dpkgroot
mkdir -p "$admin/var/lib/dpkg/info" "$admin/var/lib/dpkg/updates"
touch "$admin/var/lib/dpkg/status"
# The empty root has none of the dependencies: only the package's own files are checked here.
dpkg --root="$admin" --force-depends -i "$deb" >"$scratch/dpkg.log" 2>&1 ||
    fail "dpkg -i: $(cat "$scratch/dpkg.log")"
[ -x "$admin/usr/bin/dtuconfig" ] || fail "dpkg -i installed no program"
dpkg --root="$admin" -r dtuconfig >"$scratch/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$scratch/dpkg.log")"
left=$(find "$admin/usr" -type f 2>/dev/null)
[ -z "$left" ] || fail "left after removal: $left"

[ $status -eq 0 ] && echo "the package builds, validates, installs, runs and removes cleanly"
exit $status
