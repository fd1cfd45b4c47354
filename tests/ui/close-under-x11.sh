#!/usr/bin/env bash
# The checked program closed the way a person closes it, under a virtual X server. Qt's X11
# platform (unlike the offscreen one of the other widget tests) starts the system's D-Bus
# client, whose own allocations LeakSanitizer reports at exit unless LSAN_OPTIONS names
# tests/lsan.supp. The demo connects, its close button is clicked, and the program must end
# with status 0 and without a leak report.
#
#   close-under-x11.sh VANTOR      exit 0 passed, 1 failed, 77 skipped (no X server tools)
set -uo pipefail

vantor=$1
if [ "${2:-}" != --inside ]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1400x800x24" "$0" "$vantor" --inside
fi

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
QT_QPA_PLATFORM=xcb "$vantor" --demo --demo-state "$dir/unit.vsim" --lang en --trace \
  >"$dir/log" 2>&1 &
pid=$!

fail() {
  echo "close-under-x11: $1"
  kill "$pid" 2>/dev/null
  cat "$dir/log"
  exit 1
}

window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^TRX-560-MAX$' 2>/dev/null | head -n1)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window showed"
  sleep 0.1
done
[ -n "$window" ] || fail "no window within 30 s"
# A whole session: the read-back's last answer (output 7) has arrived.
for _ in $(seq 300); do
  grep -q '< data slot 0 block 3 index 7' "$dir/log" && break
  sleep 0.1
done
grep -q '< data slot 0 block 3 index 7' "$dir/log" || fail "the demo did not connect within 30 s"

# The close button sits at the top right of the fixed 1284-pixel form. While the transfer
# window still holds the form a click is ignored, so click until the program has ended.
eval "$(xdotool getwindowgeometry --shell "$window")"
for _ in $(seq 60); do
  xdotool mousemove --window "$window" $((WIDTH - 22)) 22 click 1 2>/dev/null
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || break
done
kill -0 "$pid" 2>/dev/null && fail "still running 30 s after the close button was clicked"

wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "exit status $status after a normal close"
grep -q LeakSanitizer "$dir/log" && fail "leak report after a normal close"
echo "close-under-x11: closed normally, exit status 0"
exit 0
