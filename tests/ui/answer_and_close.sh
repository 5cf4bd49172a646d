#!/usr/bin/env bash
# Starts a fresh X server of 1280x1024 on a free display, openbox on it, and
# gapmerge in a folder; answers the program's windows and exits with its exit
# status, or with 125 when something did not happen in time.
#   run     gapmerge -C FOLDER; the open question is answered No, the result
#           window, which must be centred with its frame, gets Escape
#   choose  gapmerge --choose-folder FOLDER; the folder dialog is answered
#           with Return (FOLDER), then as for run
#   cancel  gapmerge --choose-folder FOLDER; the folder dialog gets Escape
# Every wait is for a window or a state to be there (or gone), up to a
# deadline, and each window gets its key once, when the window manager has
# made it the active one. (Qt gives a key to its focus window whatever window
# the key was sent to, so a key pressed again could answer the next window.)
set -u
how=$1
program=$2
folder=$3
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

deadline_seconds=60
pid=
window_manager=
server=
display_file=$(mktemp)

# Ends what this script started and waits until it is gone: a server that is
# still shutting down removes the lock and socket files of its display
# number, which a new server may have taken by then.
stop_all() {
  local started=()
  for process in $pid $window_manager $server; do
    kill "$process" 2>/dev/null && started+=("$process")
  done
  ((${#started[@]} == 0)) || wait "${started[@]}" 2>/dev/null
  rm -f "$display_file"
}
trap stop_all EXIT

give_up() {
  echo "answer_and_close: $1" >&2
  exit 125
}

# Runs the command until it succeeds, up to the deadline.
wait_for() {
  local until=$((SECONDS + deadline_seconds))
  until "$@"; do
    ((SECONDS < until)) || return 1
    sleep 0.1
  done
}

program_gone() { ! kill -0 "$pid" 2>/dev/null; }

# Openbox may fail to open a display that has only just come up; it is
# started again until it manages the screen.
window_manager_ready() {
  if [ -z "$window_manager" ] || ! kill -0 "$window_manager" 2>/dev/null; then
    openbox >/dev/null 2>&1 &
    window_manager=$!
  fi
  xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_ACTIVE_WINDOW'
}

# Xvfb takes the first free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
server=$!
wait_for test -s "$display_file" || give_up "no X server"
export DISPLAY=":$(cat "$display_file")"
wait_for window_manager_ready || give_up "no window manager"

if [ "$how" = run ]; then
  "$program" -C "$folder" &
else
  "$program" --choose-folder "$folder" &
fi
pid=$!

# The id of the visible window with this exact title, once there is one.
window_id() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

window_shown() { [ -n "$(window_id "$1")" ] || { program_gone && give_up "the program ended"; }; }
window_gone() { [ -z "$(window_id "$1")" ]; }

find_window() {
  wait_for window_shown "$1" || give_up "no window '$1'"
  window_id "$1"
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
  dialog=$(find_window 'Choose the folder to merge') || exit
  if [ "$how" = cancel ]; then key=Escape; else key=Return; fi
  press "$dialog" "$key" || give_up "could not answer the folder dialog"
  wait_for window_gone 'Choose the folder to merge' || give_up "the folder dialog stayed open"
fi

if [ "$how" != cancel ]; then
  question=$(find_window 'Open merged results file') || exit
  press "$question" n || give_up "could not answer the question"
  wait_for window_gone 'Open merged results file' || give_up "the question box stayed open"

  window=$(find_window 'Primes gaps') || exit
  check_centred "$window"
  press "$window" Escape || give_up "could not press Escape"
fi

wait_for program_gone || give_up "the program did not end"
wait "$pid"
status=$?
pid=
exit "$status"
