#!/usr/bin/env bash
# Run on an X display (xvfb-run): starts gapmerge in a folder, answers its open
# question with No, presses Escape in the result window and exits with the
# program's exit status, or with 125 when a window did not appear in time.
set -u
program=$1
folder=$2
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

"$program" -C "$folder" &
pid=$!

give_up() {
  echo "answer_and_close: $1" >&2
  kill "$pid" 2>/dev/null
  wait "$pid"
  exit 125
}

# The id of the visible window with this exact title, waiting up to 30 s.
find_window() {
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# Waits up to 30 s until no visible window has this exact title.
wait_until_gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

press() {
  timeout 10 xdotool windowfocus --sync "$1" && timeout 10 xdotool key --clearmodifiers "$2"
}

question=$(find_window 'Open merged results file')
[ -n "$question" ] || give_up "no question box"
press "$question" n || give_up "could not answer the question"
wait_until_gone 'Open merged results file' || give_up "the question box stayed open"

window=$(find_window 'Primes gaps')
[ -n "$window" ] || give_up "no result window"
press "$window" Escape || give_up "could not press Escape"

for _ in $(seq 300); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && give_up "the program did not end after Escape"
wait "$pid"
