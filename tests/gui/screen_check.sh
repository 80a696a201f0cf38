#!/usr/bin/env bash
# The window on the screens engineers carry: for each screen size and scale factor below, the
# program on a virtual X server of that size must open inside the screen, every control of the
# caption, the device column and every page must come wholly into view (scrolled where it must
# be), a double click on the caption must maximise and restore, and the close button must end it.
# Usage: screen_check.sh BUILD_DIR [SHOTS_DIR]: with SHOTS_DIR, the window of the rows that name
# a picture is also saved there. Exits 77 (skipped) without Xvfb or xdotool.
set -uo pipefail
build=${1:?build folder}
shots=${2:-}
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "SKIP: Xvfb or xdotool missing"; exit 77; }

# screen WxH, QT_SCALE_FACTOR, skin language (0 English, 1 Chinese), picture of the window or -
screens=(
    "1280x720 1 0 -"
    "1280x800 1 1 -"
    "1366x768 1 0 en-screen-1366x768.png"
    "1920x1080 1 1 -"
    "1366x768 1.25 0 -"
    "1920x1080 1.5 1 -"
    "2560x1440 2 1 zh-scale-2.png"
)

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL ($row): $*"; exit 1; }
wait_for() {  # wait_for SECONDS COMMAND...: true once the command succeeds
    local limit=$1; shift
    local end=$((SECONDS + limit))
    while [ $SECONDS -lt $end ]; do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
cp "$build/dtuconfig" "$work/" && cp -r "$build/skin" "$work/" || { echo "FAIL: no program in $build"; exit 1; }
unset QT_QPA_PLATFORM

start_server() {  # start_server WxH: sets DISPLAY to a new virtual X server of that size
    local n
    for n in $(seq 150 199); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
        server=$!
        pids+=($server)
        sleep 0.5
        if kill -0 $server 2>/dev/null; then export DISPLAY=":$n"; return 0; fi
    done
    return 1
}

geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
# field WORD N: field N of the report's line WORD
field() { grep -m1 "^$1 " "$out" | sed "s/^$1 //" | cut -d'|' -f"$2"; }
# at NAME N: field N (1 x, 2 y, 3 width, 4 height) of a control outside the pages
at() { grep -m1 "^REACH -1|$1|" "$out" | cut -d'|' -f$(($2 + 2)); }
native() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; }

for row in "${screens[@]}"; do
    read -r size scale language picture <<<"$row"
    sw=${size%x*}; sh=${size#*x}
    start_server "$size" || fail "no X server could start"
    printf '[Set]\nLanguage=%s\n' "$language" >"$work/config.ini"
    out="$work/out-$size-$scale.txt"
    QT_SCALE_FACTOR=$scale DTU_REPORT_REACH=1 "$work/dtuconfig" >"$out" 2>"$work/err.txt" &
    program=$!
    pids+=($program)
    wait_for 40 grep -q "REACH END" "$out" || fail "no report: $(cat "$work/err.txt")"
    wait_for 20 bash -c "xdotool search --name '^DTU$' >/dev/null" || fail "no window named DTU"
    window=$(xdotool search --name '^DTU$' | head -n 1)

    # Qt sees the screen at its scale; the window and every control lie in its free area, and
    # every control comes wholly into view.
    lw=$(awk -v v="$sw" -v s="$scale" 'BEGIN { printf "%d", v / s }')
    [ "$(field SCREEN 3)" -ge $((lw - 1)) ] && [ "$(field SCREEN 3)" -le $((lw + 1)) ] ||
        fail "Qt sees a screen $(field SCREEN 3) wide, not $lw"
    problems=$(awk -F'|' '
        /^SCREEN / { sub(/^SCREEN /, ""); ax = $1; ay = $2; aw = $3; ah = $4 }
        /^WINDOW / { sub(/^WINDOW /, "")
                     if ($1 < ax || $2 < ay || $1 + $3 > ax + aw || $2 + $4 > ay + ah)
                         print "window " $3 "x" $4 " at " $1 "," $2 " leaves the screen" }
        /^REACH -?[0-9]/ { sub(/^REACH /, "")
            if ($3 < ax || $4 < ay || $3 + $5 > ax + aw || $4 + $6 > ay + ah)
                print "page " $1 " " $2 " at " $3 "," $4 " leaves the screen"
            else if ($7 != $3 || $8 != $4 || $9 != $5 || $10 != $6)
                print "page " $1 " " $2 " shows " $9 "x" $10 " of " $5 "x" $6 }' "$out")
    [ -z "$problems" ] || fail "$(echo "$problems" | head -n 8)"
    geometry
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$sw" ] && [ $((Y + HEIGHT)) -le "$sh" ] ||
        fail "window ${WIDTH}x${HEIGHT} at $X,$Y on the ${size} screen"
    echo "ok ($row): window ${WIDTH}x${HEIGHT} at $X,$Y; $(grep -c '^REACH -\?[0-9]' "$out") controls in view"
    if [ -n "$shots" ] && [ "$picture" != - ]; then
        # The window as it opens on this screen, drawn at the screen's scale.
        QT_SCALE_FACTOR=$scale "$work/dtuconfig" --screenshot "$shots/$picture" 2>>"$work/err.txt" &&
            echo "wrote $shots/$picture"
    fi

    # A double click in the caption band (between the title and the date, which keep their place
    # from the window's left) maximises the window and another restores it.
    cy=$(native $(($(at Ver 2) + $(at Ver 4) / 2)))
    cx=$(native $(($(at Ver 1) + $(at Ver 3) + 4)))
    before="$X $Y $WIDTH $HEIGHT"
    xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1; sleep 0.6
    geometry
    [ "$X $Y $WIDTH $HEIGHT" = "0 0 $sw $sh" ] || fail "a double click on the caption gave ${WIDTH}x${HEIGHT} at $X,$Y"
    xdotool mousemove $((cx - ${before%% *})) $((cy - $(echo "$before" | cut -d' ' -f2))) click --repeat 2 --delay 80 1; sleep 0.6
    geometry
    [ "$X $Y $WIDTH $HEIGHT" = "$before" ] || fail "a second double click gave ${WIDTH}x${HEIGHT} at $X,$Y, not $before"
    echo "ok ($row): a double click on the caption maximised and restored the window"

    # The close button, where the report placed it, ends the program.
    xdotool mousemove "$(native $(($(at closebtn 1) + $(at closebtn 3) / 2)))" \
        "$(native $(($(at closebtn 2) + $(at closebtn 4) / 2)))" click 1
    wait_for 10 bash -c "! kill -0 $program" || fail "the close button did not end the program"
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
done
echo "screen check passed"
