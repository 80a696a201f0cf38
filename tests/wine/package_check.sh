#!/usr/bin/env bash
# The Windows downloads (scripts/windows-package) under wine, in a fresh copy of the stage's wine
# prefix and on the stage's display (DISPLAY, WINE* and DTU_WINE_PRELOAD come from it):
#   - the installer installs silently, then again over itself (the upgrade in place), every file
#     as laid out; the installed program prints its version and reads the virtual unit on a
#     pseudo-terminal seen as COM6; "start unit.cfg" opens the read file in its window;
#   - the silent uninstall leaves none of its files, shortcuts or keys, and the user's settings
#     and backups where they were;
#   - the zip, unpacked anywhere, prints the version and renders the window.
#   tests/wine/package_check.sh DEV_BUILD PRISTINE_PREFIX SCRATCH [SCREENSHOT_DIR]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dev=$1
pristine=$2
scratch=$3
shots=${4:-}
mkdir -p "$scratch"
status=0
fail() { echo "FAIL: $*"; status=1; }
png_size() {
    python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' "$1" 2>/dev/null
}
# An xwd window dump to PNG: xwd_png XWD PNG.
xwd_png() {
    python3 - "$@" <<'EOF'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
head = struct.unpack(">25I", data[:100])
size, width, height, order, stride, ncolors, red = (head[i] for i in (0, 4, 5, 7, 12, 19, 14))
step = stride // width  # 3 or 4 bytes a pixel, blue first
if step not in (3, 4) or order != 0 or red != 0xFF0000:
    sys.exit("unexpected xwd format")
pixels = data[size + 12 * ncolors:]
raw = bytearray()
for y in range(height):
    row = pixels[y * stride:y * stride + step * width]
    rgb = bytearray(3 * width)
    rgb[0::3], rgb[1::3], rgb[2::3] = row[2::step], row[1::step], row[0::step]
    raw += b"\0" + rgb
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[2], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) + chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b""))
EOF
}

version=$(sed -nE 's/^project\(dtuconfig VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
mapfile -t made < <("$root/scripts/windows-package" --no-build)
[ ${#made[@]} -eq 2 ] || { echo "FAIL: scripts/windows-package made no installer and zip"; exit 1; }
setup=${made[0]}
zip=${made[1]}
[ "$(basename "$setup")" = "dtuconfig-$version-win64-setup.exe" ] || fail "installer $setup"
[ "$(basename "$zip")" = "dtuconfig-$version-win64.zip" ] || fail "zip $zip"
setup_bytes=$(stat -c %s "$setup")
zip_bytes=$(stat -c %s "$zip")
echo "$(basename "$setup"): $setup_bytes bytes; $(basename "$zip"): $zip_bytes bytes"
[ $((setup_bytes * 100)) -le $((zip_bytes * 110)) ] || fail "the installer is over 10% above the zip"

# Explorer's Details tab: the version resource says what --version says, and the icon is there.
exe=$root/build/windows/dist/dtuconfig/dtuconfig.exe
# Resource type 14, RT_GROUP_ICON: the icon Explorer shows for the file.
x86_64-w64-mingw32-objdump -p "$exe" | grep -qE '^0[0-9a-f]+ +Entry: ID: 0x00000e,' ||
    fail "dtuconfig.exe has no icon"
python3 - "$exe" "$version" <<'EOF' || fail "dtuconfig.exe's version resource"
import re, sys
data, version = open(sys.argv[1], "rb").read(), sys.argv[2]
at = data.find("VS_VERSION_INFO".encode("utf-16-le"))
text = data[at:at + 4096].decode("utf-16-le", "replace") if at >= 0 and at % 2 == 0 else ""
values = dict(re.findall(r"(\w+)\x00+([^\x00]+)\x00", text))
expected = {"FileVersion": version, "ProductVersion": version,
            "FileDescription": "DTU Configuration Tool", "CompanyName": "dtuconfig developers"}
wrong = {k: values.get(k) for k, v in expected.items() if values.get(k) != v}
sys.exit(print("version resource:", wrong or values.get("LegalCopyright")) or (1 if wrong else 0))
EOF

export WINEPREFIX=$scratch/prefix
# Wine would mirror the Start menu entry and the association into this machine's desktop menus.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe="
cp -al "$pristine" "$WINEPREFIX" 2>/dev/null || cp -a "$pristine" "$WINEPREFIX"
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
inst=$user_dir/AppData/Local/Programs/dtuconfig
menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/DTU Configuration Tool.lnk"
settings=$user_dir/AppData/Roaming/dtuconfig/config.ini
backup=$user_dir/AppData/Local/dtuconfig/backups/unit/2026-01-01T000000Z.cfg
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\dtuconfig'

echo "--- install, then install again over it with the user's settings and a backup there"
installed_as_laid_out() {
    diff -r -x uninstall.exe "$root/build/windows/package/root" "$inst" >/dev/null &&
        [ -f "$inst/uninstall.exe" ] && [ -f "$menu" ] &&
        wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | grep -q "$version"
}
timeout 120 wine "$setup" /S || fail "silent install"
installed_as_laid_out || fail "the first install differs from the laid-out folder"
mkdir -p "$(dirname "$settings")" "$(dirname "$backup")"
printf '[Set]\r\nLanguage=1\r\n' >"$settings"
echo "a backup" >"$backup"
timeout 120 wine "$setup" /S || fail "silent install over the installed program"
installed_as_laid_out || fail "the second install differs from the laid-out folder"

echo "--- the installed program"
for program in dtuconfig.exe dtuconfig.com; do
    out=$(timeout 60 wine "$inst/bin/$program" --version 2>/dev/null | tr -d '\r')
    [ "$out" = "dtuconfig $version" ] || fail "$program --version: $out"
done
cfg=$scratch/unit.cfg
# Long values in every text field: the screenshot shows them where a fresh form shows none.
"$dev/dtuconfig" sim --start config --long-values 11 --link "$WINEPREFIX/dosdevices/com6" >/dev/null 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$WINEPREFIX/dosdevices/com6" ] && break; sleep 0.1; done
LD_PRELOAD=${DTU_WINE_PRELOAD:-} timeout 120 wine "$inst/bin/dtuconfig.com" read --port COM6 \
    --baud 115200 --output "$(winepath -w "$cfg")" >"$scratch/read.out" 2>&1 ||
    fail "read on COM6: $(cat "$scratch/read.out")"
# The server holds the terminal as its own: it goes first, or the unit's end hangs the terminal
# up under it, which it answers by dumping all its objects into this log.
wineserver -k
wineserver -w
kill "$sim" 2>/dev/null
wait "$sim" 2>/dev/null
grep -q 'Device Type' "$cfg" 2>/dev/null || fail "read wrote no listing into unit.cfg"

echo "--- start unit.cfg: the association opens it in the window"
# Wine's HKEY_CLASSES_ROOT shows the machine's classes alone, where Windows merges the user's
# into it: the per-user keys the installer wrote are shown there as Windows would.
for key in .cfg dtuconfig.cfg; do
    wine reg copy "HKCU\\Software\\Classes\\$key" "HKLM\\Software\\Classes\\$key" /s /f >/dev/null
done
(cd "$scratch" && timeout 30 wine start unit.cfg) || fail "start unit.cfg"
if window=$(timeout 60 xdotool search --sync --onlyvisible --name '^DTU' 2>/dev/null | head -n 1) &&
    [ -n "$window" ]; then
    sleep 3
    # The process is the installed program, given the file by the association's "%1".
    pgrep -af 'dtuconfig\.exe' | grep -q 'unit\.cfg' || fail "the window was not given unit.cfg"
    xwd -id "$window" -silent >"$scratch/window.xwd" &&
        xwd_png "$scratch/window.xwd" "$scratch/association.png" || fail "no screenshot"
    [ -n "$shots" ] && [ -f "$scratch/association.png" ] && mkdir -p "$shots" &&
        cp "$scratch/association.png" "$shots/windows-association.png"
    echo "the window opened unit.cfg (screenshot $(png_size "$scratch/association.png" | tr ' ' x))"
else
    fail "no window opened for unit.cfg"
fi
wineserver -k
wineserver -w
for key in .cfg dtuconfig.cfg; do
    wine reg delete "HKLM\\Software\\Classes\\$key" /f >/dev/null 2>&1
done

echo "--- uninstall"
timeout 120 wine "$inst/uninstall.exe" /S || fail "silent uninstall"
# The uninstaller runs on from a copy of itself: the server ends when it is done, with the
# registry written to its files.
timeout 120 wineserver -w
[ ! -e "$inst" ] || fail "left in the install folder: $(cd "$inst" && find . | head -n 5)"
[ ! -e "$menu" ] || fail "the Start menu entry is left"
left=$(grep -i -E 'dtuconfig|^\[.*\\\.cfg' "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg")
[ -z "$left" ] || fail "registry keys left: $left"
[ -f "$settings" ] && [ -f "$backup" ] || fail "the uninstall removed the user's settings or backup"

echo "--- the zip, unpacked anywhere"
python3 -m zipfile -e "$zip" "$scratch/zip" || fail "unzip"
portable=$scratch/zip/dtuconfig-$version-win64
diff -r -x config.ini "$root/build/windows/dist/dtuconfig" "$portable" >/dev/null ||
    fail "the zip differs from the folder"
out=$(timeout 60 wine "$portable/dtuconfig.com" --version 2>/dev/null | tr -d '\r')
[ "$out" = "dtuconfig $version" ] || fail "the zip's dtuconfig.com --version: $out"
timeout 120 wine "$portable/dtuconfig.exe" --screenshot "$(winepath -w "$scratch/zip.png")" \
    >/dev/null 2>&1
[ "$(png_size "$scratch/zip.png")" = "1400 800" ] || fail "the zip's program made no 1400x800 screenshot"
wineserver -k 2>/dev/null

[ $status -eq 0 ] && echo "the installer and the zip install, run and uninstall cleanly"
exit $status
