#!/usr/bin/env bash
# Keys pressed as a keyboard presses them: xdotool sends them through the X
# server's test extension to the focused window, so they take the path of a
# real key press (the server, Wine's X11 driver, the input queue), unlike
# messages posted to a window. Ctrl+Alt+O, F10 and Alt must each reach the
# program's menu and open the options dialog.
# Usage: menu-keys.sh LINDQUA_EXE [WINE_LOADER] (with DISPLAY and WINEPREFIX
# set); the loader is the build's own, wine by default.
set -euo pipefail
exe=$1
loader=${2:-wine}
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY"; exit 1; }

# The program keeps its settings beside itself; the test leaves them as found.
settings=$(dirname "$exe")/Settings.ini
saved=
if [ -f "$settings" ]; then saved=$(mktemp) && cp "$settings" "$saved"; fi
pid=
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  if [ -n "$saved" ]; then mv "$saved" "$settings"; else rm -f "$settings"; fi
}
trap finish EXIT

wait_window() {
  for _ in $(seq 120); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.25
  done
  return 1
}
wait_gone() {
  for _ in $(seq 120); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  return 1
}

"$loader" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
window=$(wait_window '^Vantorel Lindqua 2[.]1$') || { echo "FAIL: the main window did not appear"; exit 1; }

failures=0
try_keys() {
  local how=$1
  shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
  for keys in "$@"; do
    xdotool key --delay 150 $keys
    sleep 0.3
  done
  if wait_window '^Options$' >/dev/null; then
    echo "ok: $how opened the options dialog"
    xdotool key Escape
    wait_gone '^Options$' || { echo "FAIL: Escape did not close the options dialog"; failures=$((failures + 1)); }
  else
    echo "FAIL: $how did not open the options dialog"
    failures=$((failures + 1))
  fi
}
try_keys "Ctrl+Alt+O" ctrl+alt+o
try_keys "F10, Down, S (the menu bar, File, Settings)" F10 Down s
try_keys "Alt, F, S (the access keys)" alt f s

# File > Exit from the keyboard ends the program.
xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
xdotool key --delay 150 alt f e
for _ in $(seq 120); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
if kill -0 "$pid" 2>/dev/null; then echo "FAIL: Alt, F, E did not end the program"; failures=$((failures + 1)); fi
exit "$failures"
