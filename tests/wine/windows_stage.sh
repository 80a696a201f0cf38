#!/usr/bin/env bash
# The Windows stage of scripts/test: the program cross-built for Windows (scripts/windows) and
# tested under wine, in one wine prefix and one wineserver for the whole stage:
#   1. win32_tests.exe: the Win32 serial backend against a pseudo-terminal seen as COM7, whose far
#      end tests/wine/serial_peer.py plays, and the window on the in-process virtual unit;
#   2. the command-line table (TwoProgramsTest of the Linux build given, DEV_BUILD) against the
#      Linux program and dtuconfig.com on the virtual unit's pseudo-terminal seen as COM5;
#   3. the window in both languages at 1400x800 with the real skin (--screenshot), as PNGs;
#   4. the installer and the zip (tests/wine/package_check.sh).
# Never builds Qt: without a Qt prefix for mingw-w64 (see scripts/windows) it says so and ends
# with 77, which scripts/test reports as skipped.
#   tests/wine/windows_stage.sh DEV_BUILD [SCREENSHOT_DIR]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dev_build=$(cd "$1" && pwd)
shots=${2:-}
cd "$root"
source scripts/deps.sh
dtu_require_packages "${DTU_WINE_PACKAGES[@]}" || exit 1

scripts/windows --tests --no-qt-build
status=$?
if [ $status -eq 77 ]; then
    echo "############################################################################"
    echo "# Windows stage SKIPPED: no Qt for mingw-w64 (DTU_QT_PREFIX, ../shared/windows"
    echo "# or the cache). Run scripts/windows once by hand to build it."
    echo "############################################################################"
    exit 77
fi
[ $status -eq 0 ] || exit $status

dist=$root/build/windows/dist/dtuconfig
cache=${DTU_CACHE_DIR:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/dtuconfig}
mkdir -p "$cache"
# Beside the cache, so the prefix's copy can be made of hard links.
run=$(mktemp -d "$cache/run.XXXXXX")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
# One prefix per run, a hard-linked copy of the one made once per machine (wineboot -i).
if [ ! -f "$cache/wine-prefix/system.reg" ]; then
    echo "Making the wine prefix once: $cache/wine-prefix"
    rm -rf "$cache/wine-prefix.new"
    WINEPREFIX=$cache/wine-prefix.new wineboot -i >/dev/null 2>&1 &&
        WINEPREFIX=$cache/wine-prefix.new wineserver -w &&
        mv "$cache/wine-prefix.new" "$cache/wine-prefix" || { echo "wineboot failed"; exit 1; }
fi
cp -al "$cache/wine-prefix" "$run/prefix" 2>/dev/null || cp -a "$cache/wine-prefix" "$run/prefix"
export WINEPREFIX=$run/prefix
wineserver -p
cleanup() {
    wineserver -k 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$run"
}
trap cleanup EXIT

# Wine asks a pseudo-terminal for the modem lines it lacks; the program keeps its own event mask.
gcc -shared -fPIC -O2 -o "$run/modem_lines.so" tests/wine/modem_lines.c -ldl || exit 1
export DTU_WINE_PRELOAD=$run/modem_lines.so
# A display of its own: wine makes windows (Qt's message window, the real one) only on one.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
# The tests run beside the program's DLLs and plugins, as the program does.
cp -al "$dist" "$run/app" 2>/dev/null || cp -a "$dist" "$run/app"
cp "$root/build/windows/win32_tests.exe" "$run/app/"

result=0
echo "=== windows: the folder as shipped ==="
# A double-click on dtuconfig.exe opens no console; cmd.exe runs dtuconfig.com in its own.
subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem.*(\(.*\))/\1/p'; }
[ "$(subsystem "$dist/dtuconfig.exe")" = "Windows GUI" ] || { echo "dtuconfig.exe is no window program"; result=1; }
[ "$(subsystem "$dist/dtuconfig.com")" = "Windows CUI" ] || { echo "dtuconfig.com is no console program"; result=1; }
# Qt's own dialogs speak Chinese in the Chinese interface.
[ -f "$dist/translations/qtbase_zh_CN.qm" ] || { echo "the folder lacks translations/qtbase_zh_CN.qm"; result=1; }
# Nothing in it points back to this machine's folders.
if grep -rl -F -e "$root" -e "$cache" "$dist"; then
    echo "the folder above names this machine's paths"
    result=1
fi
[ $result -eq 0 ] && echo "dtuconfig.exe: Windows GUI, dtuconfig.com: Windows CUI, Qt catalogue, no build paths"

echo "=== windows: the Win32 backend against a pseudo-terminal seen as COM7 ==="
(cd "$run/app" && LD_PRELOAD=$DTU_WINE_PRELOAD DTU_TEST_COM=COM7 DTU_UNDER_WINE=1 \
    QT_QPA_PLATFORM=offscreen timeout 300 python3 "$root/tests/wine/serial_peer.py" \
    "$WINEPREFIX/dosdevices/com7" wine ./win32_tests.exe --gtest_filter='Win32Serial.*') ||
    result=1
echo "=== windows: the window on the in-process virtual unit (--simulate) ==="
(cd "$run/app" && QT_QPA_PLATFORM=offscreen DTU_SOURCE_DIR=$(winepath -w "$root") \
    timeout 300 wine ./win32_tests.exe --gtest_filter='Simulate.*') || result=1

echo "=== windows: the command line, one table for both programs ==="
wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\Serial4' /t REG_SZ /d COM5 /f \
    >/dev/null 2>&1
DTU_WINDOWS_PROGRAM=$dist/dtuconfig.com QT_QPA_PLATFORM=offscreen DTU_SOURCE_DIR=$root \
    DTU_BINARY_DIR=$dev_build timeout 600 "$dev_build/tests/cli/cli_tests" \
    --gtest_filter='TwoPrograms.*' || result=1

echo "=== windows: the window in both languages ==="
for language in 0 1; do
    name=$([ $language -eq 0 ] && echo en || echo zh)
    png=$run/windows-$name.png
    printf '[Set]\r\nLanguage=%d\r\n' $language >"$dist/config.ini"
    timeout 120 wine "$dist/dtuconfig.exe" \
        --screenshot "$(winepath -w "$png")" >/dev/null 2>&1
    size=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' "$png" 2>/dev/null)
    if [ "$size" = "1400 800" ]; then
        echo "windows-$name.png: 1400x800"
        [ -n "$shots" ] && mkdir -p "$shots" && cp "$png" "$shots/windows-$name.png"
    else
        echo "windows-$name.png: not made at 1400x800 (${size:-no file})"
        result=1
    fi
done
rm -f "$dist/config.ini"

echo "=== windows: the installer and the zip ==="
tests/wine/package_check.sh "$dev_build" "$cache/wine-prefix" "$run/package" "$shots" || result=1
exit $result
