#!/usr/bin/env bash
# Drives the real program in a real X server, as a student meets it: Xvfb,
# a window manager, mouse and keys only. Keeps a picture of the whole screen
# after each step in the output folder.
# Arguments: vorn, plat_screenshot, the data folder, an output folder.
set -uo pipefail
vorn="$1" shot="$2" data="$3" out="$4"
SKIP=77
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
}
trap cleanup EXIT
fail() { echo "x_smoke: FAILED at step '$step': $*"; xwininfo -root -tree > "$out/tree.txt" 2>&1; "$shot" "$out/failed.png" 2>/dev/null; exit 1; }
for tool in Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "x_smoke: $tool is not installed (scripts/setup.sh installs it)"; exit 1; }
done
rm -rf "$out" && mkdir -p "$out/home" "$out/data"
cp -r "$data"/. "$out/data/"
# The last session is the one this run saves.
rm -f "$out/data"/LASTLRN*

# The server picks a free display itself and names it once it is ready
# (never another session's server); skipped only when none can start.
display=""
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$out/display" >"$out/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  num=$(tr -dc '0-9' <"$out/display" 2>/dev/null)
  if [ -n "$num" ]; then display=":$num"; break; fi
  kill -0 "${pids[-1]}" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "x_smoke: SKIPPED: Xvfb cannot start here ($(tail -1 "$out/xvfb.log"))"
  exit $SKIP
fi
export DISPLAY="$display"
# The real window system, whatever the other tests run on.
export QT_QPA_PLATFORM=xcb
unset PLAT_DESKTOP WAYLAND_DISPLAY
openbox >"$out/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done

n=0
picture() { n=$((n + 1)); "$shot" "$(printf '%s/%02d-%s.png' "$out" "$n" "$1")" 2>/dev/null || fail "no screen picture"; }
# The window named (whole-word start) once it is on the screen.
wait_window() {
  # A search can end early while the window manager reframes a window; ask again until the time is up.
  local w=""
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  printf '%s' "$w"
}
wait_gone() {
  for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  return 1
}
press_in() { # window title, keys...
  local title="$1"; shift
  local w; w=$(wait_window "$title") || true
  [ -n "$w" ] || fail "no window '$title'"
  # --sync waits for good on a window that never becomes active.
  timeout 5 xdotool windowactivate --sync "$w" >/dev/null 2>&1
  for _ in $(seq 30); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$w" ] && break; sleep 0.1; done
  xdotool key --clearmodifiers "$@"
}
# A key that closes the window: a window just shown may not take keys yet,
# so it is pressed again while the window stays (three times at most).
dismiss() { # window title, key
  for _ in 1 2 3; do
    press_in "$1" "$2"
    for _ in $(seq 20); do xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  done
  return 1
}
# Answers a window the running session raises as a student would: the
# decisions by their buttons' letters and a click (every contract accepted,
# each contract renewed, each new product launched), any other notice with
# Enter. Counts the decisions answered in $decisions.
decisions=0
answer_window() { # window, its name
  local w="$1" name="$2"
  timeout 5 xdotool windowactivate --sync "$w" >/dev/null 2>&1 || return
  case "$name" in
  "Select New Contracts")
    # Yes All is pressed and keeps the focus (Enter would press it again);
    # "N&o All" and "&OK" share their letter, so Alt+O twice reaches OK,
    # which Enter then presses.
    xdotool key --clearmodifiers alt+a
    sleep 0.2
    xdotool key --clearmodifiers alt+o
    sleep 0.1
    xdotool key --clearmodifiers alt+o
    sleep 0.2
    [ -f "$out/contracts-ok-focused.png" ] || "$shot" "$out/contracts-ok-focused.png" 2>/dev/null
    xdotool key Return
    decisions=$((decisions + 1)) ;;
  "Contract End")
    xdotool key --clearmodifiers alt+y
    sleep 0.2
    xdotool key --clearmodifiers alt+c
    decisions=$((decisions + 1)) ;;
  "New Product")
    xdotool key --clearmodifiers alt+a
    decisions=$((decisions + 1)) ;;
  *) xdotool key Return ;;
  esac
}
# Answers the windows a running session raises (the departments' decisions
# and notices), for up to $1 seconds or until none has come for two seconds.
answer_boxes() {
  local quiet=0 name seen
  for _ in $(seq $(($1 * 10))); do
    seen=0
    for w in $(xdotool search --onlyvisible --pid "$vpid" 2>/dev/null); do
      name=$(xdotool getwindowname "$w" 2>/dev/null)
      case "$name" in "" | "VORNS Application"* | vorn) continue ;; esac
      seen=1
      echo "x_smoke: answering '$name'" >>"$out/steps.log"
      "$shot" "$out/box-$(echo "$name" | tr -c 'A-Za-z0-9\n' '_').png" 2>/dev/null
      answer_window "$w" "$name"
      sleep 0.2
    done
    if [ $seen = 0 ]; then quiet=$((quiet + 1)); [ $quiet -ge 20 ] && return; else quiet=0; fi
    sleep 0.1
  done
}
# The name of a window of the program other than the main window, if any.
other_window() {
  local name
  for w in $(xdotool search --onlyvisible --pid "$vpid" 2>/dev/null); do
    name=$(xdotool getwindowname "$w" 2>/dev/null)
    case "$name" in "" | "VORNS Application"* | vorn) continue ;; esac
    printf '%s' "$name"
    return 0
  done
  return 1
}
# The main window's title once it reads as given.
wait_title() {
  for _ in $(seq 100); do [ "$(xdotool getwindowname "$main" 2>/dev/null)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
# The popup menu on the screen, as the X window tree holds it: the
# program's override-redirect window that is mapped.
popup_height() {
  local best=0 h info
  for w in $(xwininfo -root -children | awk '/\("vorn" "vorn"\)/ {print $1}'); do
    info=$(xwininfo -id "$w")
    echo "$info" | grep -q "Map State: IsViewable" || continue
    echo "$info" | grep -q "Override Redirect State: yes" || continue
    h=$(echo "$info" | awk '/Height:/ {print $2}')
    [ "$h" -gt "$best" ] && best=$h
  done
  echo "$best"
}

step="start"
(cd "$out/data" && XDG_CONFIG_HOME="$out/home" VORN_DATA_DIR="$out/data" exec "$vorn") >"$out/vorn.log" 2>&1 &
vpid=$!
pids+=($vpid)

step="About's OK"
[ -n "$(wait_window "About")" ] || fail "no About box"
picture about
dismiss "About" Return || fail "Enter left the About box open"
step="Open, Level 1"
[ -n "$(wait_window "Open Session")" ] || fail "About's OK did not open the session dialog"
picture open-session
dismiss "Open Session" Return || fail "Enter left the session dialog open"
step="the story"
[ -n "$(wait_window "Background")" ] || fail "no background story"
picture story
dismiss "Background" Return || fail "the story stays"

step="the main window"
main=$(wait_window "VORNS Application")
[ -n "$main" ] || fail "no main window"
# The window manager frames and places the window a moment after it shows.
ok=0
for _ in $(seq 100); do
  top=$(xwininfo -id "$main" | awk '/Absolute upper-left Y:/ {print $4}')
  extents=$(xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | grep "=" | sed 's/.*= //')
  title_h=$(echo "$extents" | awk -F', ' '{print $3}')
  if [ -n "$title_h" ] && [ "$title_h" -gt 0 ] && [ "$top" -ge "$title_h" ]; then ok=1; break; fi
  sleep 0.1
done
[ $ok = 1 ] || fail "the title bar is off the screen (client top $top, frame $extents)"
picture session

# Each department's three popups, opened by a click on the bar's titles.
bar_y=8
titles=(104 175 234)
step="department popups"
for dept in Marketing:200 Production:287 Purchasing:373 Finance:460; do
  name=${dept%%:*} x=${dept##*:}
  xdotool mousemove --window "$main" "$x" 33 click 1
  sleep 0.3
  for i in 0 1 2; do
    xdotool mousemove --window "$main" "${titles[i]}" "$bar_y" click 1
    h=0
    for _ in $(seq 20); do h=$(popup_height); [ "$h" -ge 20 ] && break; sleep 0.1; done
    picture "$name-popup-$i"
    echo "x_smoke: $name popup $i is $h pixels high"
    if [ "$name" = Production ] && [ "$h" -lt 20 ]; then
      fail "Production's popup $i shows no items (height $h)"
    fi
    xdotool key Escape
    sleep 0.2
  done
done

# One dialog of each department, from the first entry of its Information
# popup that opens one, closed once with Enter and once with Esc. A
# department whose entries open nothing yet is named; one at least must.
step="a dialog per department"
dialogs=0
deadline=$((SECONDS + 90))
for dept in Finance:460 Production:287 Marketing:200 Purchasing:373; do
  name=${dept%%:*} x=${dept##*:}
  xdotool mousemove --window "$main" "$x" 33 click 1
  sleep 0.3
  found=""
  for entry in 1 2 3 4 5 6 7 8; do
    [ $SECONDS -lt $deadline ] || { echo "x_smoke: no time left to try $name's entries from $entry on"; break; }
    for key in Return Escape; do
      echo "$name entry $entry $key" >>"$out/steps.log"
      xdotool mousemove --window "$main" "${titles[0]}" "$bar_y" click 1
      h=0
      for _ in $(seq 10); do h=$(popup_height); [ "$h" -ge 20 ] && break; sleep 0.1; done
      [ "$h" -ge 20 ] || { xdotool key Escape; break 2; }
      for _ in $(seq "$entry"); do xdotool key Down; done
      xdotool key Return
      dialog=""
      for _ in $(seq 8); do dialog=$(other_window) && break; sleep 0.1; done
      [ -n "$dialog" ] || { [ -z "$found" ] && break; fail "$name's entry $entry opened nothing the second time"; }
      found=$dialog
      picture "$name-dialog-$key"
      echo "x_smoke: $name's Information entry $entry opened '$dialog'; closing it with $key"
      dismiss "$dialog" "$key" || fail "$key left '$dialog' open"
    done
    [ -n "$found" ] && break
  done
  if [ -n "$found" ]; then dialogs=$((dialogs + 1)); else echo "x_smoke: $name's Information entries open no dialog yet"; fi
done
[ $dialogs -gt 0 ] || fail "no department opened a dialog"

# Purchasing's first action (an order) opens its dialog from the Actions
# popup; Esc closes it.
step="Purchasing's first action"
xdotool mousemove --window "$main" 373 33 click 1
sleep 0.3
xdotool mousemove --window "$main" "${titles[1]}" "$bar_y" click 1
h=0
for _ in $(seq 20); do h=$(popup_height); [ "$h" -ge 20 ] && break; sleep 0.1; done
[ "$h" -ge 20 ] || fail "Purchasing's Actions popup shows no items"
xdotool key Down Return
action=""
for _ in $(seq 30); do action=$(other_window) && break; sleep 0.1; done
[ -n "$action" ] || fail "Purchasing's first action opened nothing"
picture Purchasing-action
echo "x_smoke: Purchasing's first action opened '$action'; closing it with Escape"
dismiss "$action" Escape || fail "Esc left '$action' open"

step="a click on the main window under the Run dialog"
xdotool mousemove --window "$main" 85 33 click 1
run=$(wait_window "Run")
[ -n "$run" ] || fail "no Run dialog"
xdotool mousemove --window "$main" 700 500 click 1
sleep 0.5
picture run-over-main
[ "$(xdotool getactivewindow)" = "$run" ] || fail "the main window came above the Run dialog"
step="Esc closes the Run dialog"
dismiss "Run" Escape || fail "Esc left the Run dialog open"

step="Run a month"
xdotool mousemove --window "$main" 85 33 click 1
[ -n "$(wait_window "Run")" ] || fail "no Run dialog"
press_in "Run" alt+m
sleep 0.2
picture run-month
dismiss "Run" Return || fail "Enter left the Run dialog open"
answer_boxes 40
step="Stop"
xdotool mousemove --window "$main" 127 33 click 1
answer_boxes 5
picture month-run
# The sample offers a contract in its first month: asked in its window.
echo "x_smoke: $decisions decision windows answered during the month"
[ "$decisions" -gt 0 ] || fail "no decision window came up during the month"

step="Save"
# Saved as the last session, which the learn levels offer to reopen.
press_in "VORNS Application" ctrl+s
[ -n "$(wait_window "Save Session")" ] || fail "no Save Session prompt"
sleep 0.5
picture save-prompt
xdotool type --delay 30 "LASTLRN.VNB"
sleep 0.2
xdotool key Return
wait_gone "Save Session" || fail "the Save Session prompt stays"
for _ in $(seq 50); do [ -f "$out/data/LASTLRN.MGR" ] && break; sleep 0.1; done
[ -f "$out/data/LASTLRN.MGR" ] || fail "the session was not saved (no LASTLRN.MGR)"
answer_boxes 3
picture saved

step="Close"
xdotool mousemove --window "$main" 30 "$bar_y" click 1
sleep 0.3
xdotool key Up Up Return
wait_title "VORNS Application" || fail "the session did not close (title '$(xdotool getwindowname "$main")')"
picture closed

step="reopen the last session and resume"
xdotool mousemove --window "$main" 26 33 click 1
open=$(wait_window "Open Session")
[ -n "$open" ] || fail "Open offers no session dialog"
# "Last session" follows the two levels.
xdotool mousemove --window "$open" 120 90 click 1
sleep 0.3
picture reopen-choice
dismiss "Open Session" Return || fail "Enter left the session dialog open"
[ -n "$(wait_window "Background")" ] || fail "no background story on reopening"
dismiss "Background" Return || fail "the story stays"
wait_title "VORNS Application - LASTLRN.VNB" || fail "the last session did not open (title '$(xdotool getwindowname "$main")')"
answer_boxes 3
picture resumed

step="Exit with its confirmation"
press_in "VORNS Application" alt+F4
box=""
for _ in $(seq 100); do
  for w in $(xdotool search --onlyvisible --pid "$vpid" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w")" = "VORNS" ] && box=$w
  done
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no confirmation"
sleep 0.3
picture exit-question
for w in $(xdotool search --onlyvisible --pid "$vpid"); do
  [ "$(xdotool getwindowname "$w")" = "VORNS" ] && { timeout 5 xdotool windowactivate --sync "$w"; xdotool key Return; }
done
for _ in $(seq 100); do kill -0 "$vpid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vpid" 2>/dev/null && fail "the program did not end"
echo "x_smoke: passed; pictures in $out"
