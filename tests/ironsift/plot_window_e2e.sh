#!/usr/bin/env bash
# Run modes "w" and "c" in a real X11 window on a virtual X server: xdotool
# clicks the mouse buttons on known points of the plot, the update is answered
# with "g" on standard input, and the star's ".obs" and ".del" are checked.
#
#   plot_window_e2e.sh IRONSIFT FIXTURE_DIR LSAN_SUPPRESSIONS WINDOW_CAPTURE
#
# Run 4 compares screenshots (WINDOW_CAPTURE, tests/ironsift/window_capture.cpp):
# a point rejected and taken back leaves the window as it was before the first
# click. WINDOW_SHOTS_DIR=DIR keeps the screenshots and the difference pictures.
#
# Where the plot lies on the screen is not guessed: the program writes each
# cursor event in world coordinates on standard error (IRONSIFT_CURSOR_TRACE),
# and two calibration clicks with the right button (no change to any line)
# give the mapping from world coordinates to screen pixels.
#
# Exit status 77 (skipped, with the reason printed) only when no X server can
# be started; every wait has a time limit.
set -uo pipefail

ironsift=$1
fixtures=$2
suppressions=${3:-}
capture=${4:-}
# At most this many pixels may differ between the window before the first click
# and after a rejection taken back (the rest of the picture is exact).
max_differing_pixels=8

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }

command -v Xvfb >/dev/null || skip "no X server can be started: Xvfb is not installed"
command -v xdotool >/dev/null || fail "xdotool is not installed (scripts/install-deps installs it)"

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A virtual X server on a free display number, which it reports itself; it
# must not reset when its last client leaves, or the next run finds it gone.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 300); do
  [[ -s $work/display ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[[ -s $work/display ]] || skip "no X server can be started: $(tr '\n' ' ' <"$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

# The line table: line 12 of the star, then 329 filler lines (the other lines
# of the star need no entry in it; the click report says so).
{
  printf '5000.0\n4.0\n0.0\n1.5\n330\n'
  printf '12 0.0 4531.620\n'
  for i in $(seq 329); do printf '%d 0.0 %d.5\n' $((9000 + i)) $((9000 + i)); done
} >"$work/params.dat"
cp "$fixtures/XSTAR.abd" "$work/"

trace_count() { grep -c "^$1" "$work/err" 2>/dev/null || true; }

# Waits until the program has started its n-th cursor request.
wait_for_request() {
  local n=$1
  for _ in $(seq 300); do
    (($(trace_count 'cursor-request') >= n)) && return 0
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  fail "the program did not wait for cursor event $n; its error output: $(cat "$work/err")"
}

# Waits until the trace holds n events; sets event to the n-th as "x y code".
wait_for_event() {
  local n=$1
  for _ in $(seq 300); do
    if (($(trace_count 'cursor ') >= n)); then
      event=$(grep '^cursor ' "$work/err" | sed -n "${n}p" | cut -d' ' -f2-)
      return 0
    fi
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  fail "no cursor event $n reached the program; its error output: $(cat "$work/err")"
}

# Clicks once the program waits for the cursor (events so far + 1).
click() {  # screen x, y, button
  wait_for_request $((events + 1))
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool mousedown "$3"
  sleep 0.1
  xdotool mouseup "$3"
}

# Starts ironsift with the keys on standard input and finds its window.
start_program() {  # mode, keys
  printf '%s' "$2" >"$work/keys"
  (cd "$work" && IRONSIFT_CURSOR_TRACE=1 LSAN_OPTIONS="${suppressions:+suppressions=$suppressions}" \
    exec timeout 60 "$ironsift" XSTAR "$1" <"$work/keys" >"$work/out" 2>"$work/err") &
  program_pid=$!
  window=
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n1)
    [[ -z $window ]] && window=$(xdotool search --onlyvisible --name '.' 2>/dev/null | head -n1)
    [[ -n $window ]] && break
    kill -0 "$program_pid" 2>/dev/null || fail "ironsift ended before its window opened: $(cat "$work/err")"
    sleep 0.1
  done
  [[ -n $window ]] || fail "no window appeared within 30 s"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
  events=0
}

# Two right-button clicks (character "X": inside the frame nothing changes)
# near the middle of the window give the world-to-screen mapping.
calibrate() {
  local px1=$((win_x + win_w / 2 - 120)) py1=$((win_y + win_h / 2 - 90))
  local px2=$((win_x + win_w / 2 + 120)) py2=$((win_y + win_h / 2 + 90))
  click "$px1" "$py1" 3
  events=$((events + 1))
  wait_for_event "$events"
  read -r wx1 wy1 c1 <<<"$event"
  click "$px2" "$py2" 3
  events=$((events + 1))
  wait_for_event "$events"
  read -r wx2 wy2 c2 <<<"$event"
  [[ $c1 == 88 && $c2 == 88 ]] || fail "the right button did not report X (got $c1, $c2)"
  map="$px1 $py1 $wx1 $wy1 $px2 $py2 $wx2 $wy2"
}

# Screen pixel of a world point, from the calibration.
to_screen() {  # world x, y
  awk -v m="$map" -v x="$1" -v y="$2" 'BEGIN {
    split(m, a, " ");
    sx = a[1] + (x - a[3]) * (a[5] - a[1]) / (a[7] - a[3]);
    sy = a[2] + (y - a[4]) * (a[6] - a[2]) / (a[8] - a[4]);
    printf "%d %d\n", sx + 0.5, sy + 0.5 }'
}

# Clicks a button on a world point and checks that the event landed inside
# the point's pick box (|dx| < 2, |dy| < 0.02) with the expected character.
click_point() {  # world x, y, button, expected character code
  local sx sy ex ey code
  read -r sx sy <<<"$(to_screen "$1" "$2")"
  click "$sx" "$sy" "$3"
  events=$((events + 1))
  wait_for_event "$events"
  read -r ex ey code <<<"$event"
  [[ $code == "$4" ]] || fail "button $3 reported character $code, expected $4"
  awk -v ex="$ex" -v ey="$ey" -v x="$1" -v y="$2" 'BEGIN {
    dx = ex - x; dy = ey - y; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy;
    exit !(dx < 2.0 && dy < 0.02) }' ||
    fail "click for ($1, $2) landed at ($ex, $ey): outside the pick box"
}

# A click at the window's top-left corner, outside the frame.
click_outside() {  # button
  click $((win_x + 4)) $((win_y + 4)) "$1"
  events=$((events + 1))
}

# Sets status to the program's exit status (124 when timeout had to end it).
wait_for_end() {
  wait "$program_pid"
  status=$?
  program_pid=
}

# ---- run 1: reject line 12 with the left button, leave, answer "g" ----------
start_program w g
calibrate
click_point 80.0 7.20 1 65
click_outside 1
wait_for_end
[[ $status == 0 ]] || fail "run 1 ended with status $status: $(cat "$work/err")"
grep -q '^( 1 lines will be rejected)$' "$work/out" || fail "run 1 listing: $(cat "$work/out")"
[[ $(wc -l <"$work/XSTAR.del") == 1 ]] || fail "run 1: .del should hold one line: $(cat "$work/XSTAR.del")"
grep -q '^  12  -80\.0  26\.00  4531\.620' "$work/XSTAR.del" || fail "run 1 .del: $(cat "$work/XSTAR.del")"
[[ $(cut -c1-4 "$work/XSTAR.obs" | tr -d ' ' | tr '\n' ' ') == "11 14 15 " ]] ||
  fail "run 1 .obs: $(cat "$work/XSTAR.obs")"
echo "run 1: line 12 rejected with the left button"

# ---- run 2: reject 14, leave, "r"; in the same window take 14 back with the
# middle button and reject 11; leave, "g" ---------------------------------
start_program w rg
calibrate
click_point 110.0 7.60 1 65
click_outside 1
click_point 110.0 7.60 2 68   # the second call: same window, flags as left
click_point 40.0 7.50 1 65
click_outside 1
wait_for_end
[[ $status == 0 ]] || fail "run 2 ended with status $status: $(cat "$work/err")"
[[ $(grep -c '^ OK, then try again in the graphics window\.\.\.$' "$work/out") == 1 ]] ||
  fail "run 2: no redo: $(cat "$work/out")"
[[ $(grep -E '^  1[14] +-' "$work/out" | cut -c1-4 | tr -d ' ' | tr '\n' ' ') == "14 11 " ]] ||
  fail "run 2 listings (14 after the first call, 11 after the second): $(cat "$work/out")"
[[ $(cut -c1-11 "$work/XSTAR.del" | tr '\n' '|') == "  12  -80.0|  11  -40.0|" ]] ||
  fail "run 2 .del (appended): $(cat "$work/XSTAR.del")"
[[ $(cut -c1-4 "$work/XSTAR.obs" | tr -d ' ' | tr '\n' ' ') == "12 14 15 " ]] ||
  fail "run 2 .obs: $(cat "$work/XSTAR.obs")"
echo "run 2: line 14 rejected, then taken back after redo with the middle button; line 11 rejected"

# ---- run 3 (mode c): the middle button outside the frame ends the program --
cp "$work/XSTAR.obs" "$work/obs.before"
cp "$work/XSTAR.del" "$work/del.before"
start_program c g
calibrate
click_point 2.86 7.45 1 65    # rejects the Fe II line ...
click_outside 2               # ... but "D" outside ends the run unsaved
wait_for_end
[[ $status == 0 ]] || fail "run 3 ended with status $status: $(cat "$work/err")"
[[ ! -s $work/out ]] || fail "run 3 wrote on the console: $(cat "$work/out")"
cmp -s "$work/XSTAR.obs" "$work/obs.before" || fail "run 3 changed the .obs"
cmp -s "$work/XSTAR.del" "$work/del.before" || fail "run 3 changed the .del"
echo "run 3: the middle button outside the frame ended the program, nothing written"

# ---- run 4: the window shows what is visible: a point rejected and taken back
# leaves the picture as it was before the first click -------------------------
[[ -x $capture ]] || fail "no screenshot program given"
shots=${WINDOW_SHOTS_DIR:-$work/shots}
mkdir -p "$shots"
# A screenshot once the program waits for cursor event n and the window has
# settled (two screenshots 0.3 s apart are equal; the window is drawn again
# just before the wait).
shot() {  # n, name
  wait_for_request "$1"
  local previous="$shots/$2.previous.png"
  "$capture" shot "$window" "$previous" || fail "no screenshot $2"
  for _ in $(seq 20); do
    sleep 0.3
    "$capture" shot "$window" "$shots/$2.png" || fail "no screenshot $2"
    [[ $("$capture" diff "$previous" "$shots/$2.png") == 0 ]] && { rm -f "$previous"; return 0; }
    mv "$shots/$2.png" "$previous"
  done
  fail "the window did not settle for screenshot $2"
}
differing() {  # a, b: the number of pixels that differ
  "$capture" diff "$shots/$1.png" "$shots/$2.png" "$shots/diff_$1_$2.png" ||
    fail "cannot compare $1 and $2"
}
start_program w x
shot 1 before
calibrate
shot 3 calibrated
click_point 80.0 7.20 1 65    # rejects line 12
shot 4 rejected
click_point 80.0 7.20 2 68    # takes it back
shot 5 restored
click_point 40.0 7.50 3 88    # right button on line 11: it blinks
shot 6 blinked
click_outside 3
wait_for_end
[[ $status == 0 ]] || fail "run 4 ended with status $status: $(cat "$work/err")"
changed=$(differing before rejected)
((changed > 100)) || fail "rejecting line 12 changed only $changed pixels"
for after in calibrated restored blinked; do
  n=$(differing before "$after")
  ((n <= max_differing_pixels)) ||
    fail "$n pixels differ between the window before the first click and $after (at most $max_differing_pixels)"
  echo "run 4: $after: $n pixels differ from the window before the first click"
done
# What the clicks took, on standard error; what the buttons do, once.
[[ $(grep -c '^In the plot: the left button rejects' "$work/err") == 1 ]] ||
  fail "run 4: the buttons are not explained once: $(cat "$work/err")"
grep -E '^(rejected|restored): ' "$work/err" >"$work/changes"
printf '%s\n' "rejected: line 12, Fe I, 4531.620 A, W = 80.0 mA, A = 7.200" \
  "restored: line 12, Fe I, 4531.620 A, W = 80.0 mA, A = 7.200" | cmp -s - "$work/changes" ||
  fail "run 4 click report: $(cat "$work/changes")"
echo "run 4: a rejection taken back leaves the window as before; each changed line reported"
echo "PASS"
