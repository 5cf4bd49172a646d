#!/usr/bin/env bash
# Starts a fresh X server of 1280x1024 on a free display, openbox on it, and
# gapmerge in a folder; answers the program's windows and exits with its exit
# status, or with 125 when something did not happen in time.
#   run     gapmerge -C FOLDER; the open question is answered No, the result
#           window, which must be centred with its frame, gets Escape
#   choose  gapmerge --choose-folder FOLDER; the folder dialog is answered
#           with Return (FOLDER), then as for run
#   cancel  gapmerge --choose-folder FOLDER; the folder dialog gets Escape
set -u
how=$1
program=$2
folder=$3
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

give_up() {
  echo "answer_and_close: $1" >&2
  kill "$pid" 2>/dev/null
  wait "$pid"
  exit 125
}

# Xvfb takes the first free display and writes its number when it is ready.
display_file=$(mktemp)
window_manager=
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
server=$!
trap 'kill $window_manager $server 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 300); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
export DISPLAY=":$(cat "$display_file")"
openbox >/dev/null 2>&1 &
window_manager=$!
for _ in $(seq 300); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

if [ "$how" = run ]; then
  "$program" -C "$folder" &
else
  "$program" --choose-folder "$folder" &
fi
pid=$!

# The id of the visible window with this exact title, waiting up to 30 s.
find_window() {
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# Waits up to 30 s (or the given tenths of a second) until no visible window
# has this exact title.
wait_until_gone() {
  for _ in $(seq "${2:-300}"); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

press() {
  timeout 10 xdotool windowactivate --sync "$1" && timeout 10 xdotool key --clearmodifiers "$2"
}

# The frame (the window with the frame extents around it) must be centred on
# the screen by its own size.
check_centred() {
  local extents x y
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
  read -r left right top bottom <<<"${extents:-0 0 0 0}"
  x=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
  local width=$((800 + left + right)) height=$((600 + top + bottom))
  local at="($((x - left)), $((y - top)))"
  local centred="($(((1280 - width) / 2)), $(((1024 - height) / 2)))"
  [ "$at" = "$centred" ] || give_up "the ${width}x$height frame is at $at, not at $centred"
}

if [ "$how" != run ]; then
  dialog=$(find_window 'Choose the folder to merge')
  [ -n "$dialog" ] || give_up "no folder dialog"
  if [ "$how" = cancel ]; then key=Escape; else key=Return; fi
  # The dialog may take a key only once it has listed the folder: press again
  # while it stays.
  for _ in $(seq 10); do
    press "$dialog" "$key"
    wait_until_gone 'Choose the folder to merge' 30 && break
  done
  wait_until_gone 'Choose the folder to merge' 1 || give_up "the folder dialog stayed open"
fi

if [ "$how" != cancel ]; then
  question=$(find_window 'Open merged results file')
  [ -n "$question" ] || give_up "no question box"
  press "$question" n || give_up "could not answer the question"
  wait_until_gone 'Open merged results file' || give_up "the question box stayed open"

  window=$(find_window 'Primes gaps')
  [ -n "$window" ] || give_up "no result window"
  check_centred "$window"
  press "$window" Escape || give_up "could not press Escape"
fi

for _ in $(seq 300); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && give_up "the program did not end"
wait "$pid"
