#!/usr/bin/env bash
# The real-window check: dtuconfig on a virtual X server, driven by xdotool the way a user
# would: the window's size, a drag in the caption band, maximise and restore, minimise, the
# language switch (config.ini rewritten, the program restarted in the other skin) and close.
# A window manager's maximise and restore are played from outside (its _NET_WM_STATE set on the
# window by tests/gui/net_wm_state.py, as no window manager runs here) and the caption buttons
# must follow them. Usage: window_check.sh BUILD_DIR. Exits 77 (skipped) when Xvfb or xdotool is missing.
set -uo pipefail
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "SKIP: Xvfb or xdotool missing"; exit 77; }

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    pkill -f "$work/dtuconfig" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A copy of its own, so config.ini is written here and nowhere else.
cp "$build/dtuconfig" "$work/" && cp -r "$build/skin" "$work/" || fail "no program in $build"

display=""
for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
    if kill -0 "${pids[-1]}" 2>/dev/null; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no X server could start"
export DISPLAY=$display
unset QT_QPA_PLATFORM

wait_for() {  # wait_for SECONDS COMMAND...: true once the command succeeds
    local limit=$1; shift
    local end=$((SECONDS + limit))
    while [ $SECONDS -lt $end ]; do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

starts=0
start_program() {
    # Each start reports into a file of its own: an instance the language switch started
    # writes into the file it inherited from the one before.
    starts=$((starts + 1))
    out="$work/out$starts.txt"
    DTU_REPORT_CONTROLS=1 "$work/dtuconfig" --simulate >"$out" 2>"$work/err.txt" &
    pids+=($!)
    program=$!
    # A sanitizer build on a busy machine takes a good while to show its window.
    wait_for 40 grep -q "CONTROLS END" "$out" || fail "the window did not come up: $(cat "$work/err.txt")"
    # The controls are reported before the X server may know the window by its name.
    wait_for 20 find_window || fail "no window named DTU"
}

find_window() {
    window=$(xdotool search --name '^DTU$' | head -n 1)
    [ -n "$window" ]
}

geometry() {  # sets X Y WIDTH HEIGHT of the window
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# control NAME: sets CX CY (centre) and CW CH of a control as reported at start-up
control() {
    local line
    line=$(grep "^CONTROL $1|" "$out" | head -n 1)
    [ -n "$line" ] || fail "control $1 not reported"
    IFS='|' read -r _ _ cx cy cw ch _ <<<"${line#CONTROL }"
    CX=$((cx + cw / 2)); CY=$((cy + ch / 2)); CW=$cw; CH=$ch
}

click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }

start_program
geometry
[ "$WIDTH" = 1400 ] && [ "$HEIGHT" = 800 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1400x800"
echo "ok: window 1400x800 at $X,$Y"

# A free spot in the caption band: a point of the band over no button, option, text or combo.
control Ver
band_y=$CY
free_x=$(grep '^CONTROL' "$out" | sed 's/^CONTROL //' | awk -F'|' -v y="$band_y" -v x0="$X" '
    $2 ~ /ButtonUI|OptionUI|TextUI|ComboUI/ && $7 == 1 && y >= $4 && y < $4 + $6 { n++; l[n] = $3; r[n] = $3 + $5 }
    END {
        for (x = x0 + 5; x < x0 + 1395; x += 5) {
            hit = 0
            for (i = 1; i <= n; i++) if (x >= l[i] - 3 && x <= r[i] + 3) hit = 1
            if (!hit) { print x; exit }
        }
    }')
[ -n "$free_x" ] || fail "no free spot in the caption band"
x0=$X; y0=$Y
xdotool mousemove $free_x $band_y mousedown 1 mousemove $((free_x + 40)) $((band_y + 20)) mousemove $((free_x + 80)) $((band_y + 40)) mouseup 1
sleep 0.5
geometry
[ $((X - x0)) -ge 60 ] && [ $((Y - y0)) -ge 30 ] || fail "the caption drag did not move the window ($x0,$y0 -> $X,$Y)"
echo "ok: caption drag moved the window to $X,$Y"
# The window moved: every reported position moves with it.
dx=$((X - x0)); dy=$((Y - y0))

control maxbtn
max_from_right=$((x0 + 1400 - CX))
click_at $((CX + dx)) $((CY + dy))
geometry
[ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1000 ] || fail "maximise gave ${WIDTH}x${HEIGHT}"
echo "ok: maximised to ${WIDTH}x${HEIGHT}"
click_at $((X + WIDTH - max_from_right)) $((CY - y0 + Y))
geometry
[ "$WIDTH" = 1400 ] && [ "$HEIGHT" = 800 ] || fail "restore gave ${WIDTH}x${HEIGHT}"
echo "ok: restored to 1400x800"

# visible NAME: 1 when the latest report shows the control, else 0
visible() { grep "^CONTROL $1|" "$out" | tail -n 1 | cut -d'|' -f7; }
# A window manager maximises the window (a shortcut, tiling): the program reports its controls
# again after each state change; the restore button must now be the one shown.
reports=$(grep -c "CONTROLS END" "$out")
python3 "$here/net_wm_state.py" "$window" _NET_WM_STATE_MAXIMIZED_VERT _NET_WM_STATE_MAXIMIZED_HORZ || fail "cannot set the window's state"
wait_for 15 test "$(grep -c "CONTROLS END" "$out")" -gt "$reports" || fail "the program saw no state change made from outside ($(xprop -id "$window" _NET_WM_STATE 2>&1); reports $reports)"
[ "$(visible restorebtn)" = 1 ] && [ "$(visible maxbtn)" = 0 ] || fail "after an outside maximise: maxbtn $(visible maxbtn), restorebtn $(visible restorebtn)"
reports=$(grep -c "CONTROLS END" "$out")
python3 "$here/net_wm_state.py" "$window" || fail "cannot clear the window's state"
wait_for 15 test "$(grep -c "CONTROLS END" "$out")" -gt "$reports" || fail "the program saw no outside restore ($(xprop -id "$window" _NET_WM_STATE 2>&1); reports $reports)"
[ "$(visible maxbtn)" = 1 ] && [ "$(visible restorebtn)" = 0 ] || fail "after an outside restore: maxbtn $(visible maxbtn), restorebtn $(visible restorebtn)"
echo "ok: the maximise button followed a maximise and a restore made from outside"

control minbtn
click_at $((CX + X - x0)) $((CY + Y - y0))
kill -0 $program 2>/dev/null || fail "minimise ended the program"
xdotool windowmap "$window" 2>/dev/null; xdotool windowactivate "$window" 2>/dev/null
echo "ok: minimise handled (state: $(xdotool getwindowname "$window"))"

# The language switch: pick the second item of "Language".
control Language
click_at $((CX + X - x0)) $((CY + Y - y0))
xdotool key Down Return
wait_for 10 grep -q "Language=1" "$work/config.ini" || fail "config.ini not rewritten: $(cat "$work/config.ini" 2>/dev/null)"
wait_for 10 bash -c "! kill -0 $program" || fail "the old instance did not quit"
wait_for 10 pgrep -f "$work/dtuconfig" || fail "the program was not restarted"
echo "ok: language switch wrote config.ini and restarted the program"
pkill -f "$work/dtuconfig"
gone() { ! pgrep -f "^$work/dtuconfig" >/dev/null; }
wait_for 10 gone || fail "the restarted program did not end"

# The restarted program opens in the Chinese skin; its close button ends it.
start_program
geometry
control closebtn
click_at $((CX + X - x0 + (x0 - X))) $CY
click_at $CX $CY
wait_for 5 bash -c "! kill -0 $program" || fail "the close button did not end the program"
echo "ok: close button ended the program"
echo "window check passed"
