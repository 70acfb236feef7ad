#!/usr/bin/env bash
# Takes the screenshots of the user manuals (resources/help/images/) from the running
# programs, each against the simulated radio, under a private Xvfb display. The pictures are
# committed; run this again after a change to the windows, and look at them.
#   tools/manual-screenshots.sh kvt560|program en|zh [BUILD_DIR]
# Needs xvfb, xdotool and a build (./dev build; cmake --build build --target screengrab).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WHICH="$1" LANGUAGE="$2" BUILD="${3:-$ROOT/build}"
if [ -z "${MANUAL_SHOTS_DISPLAY:-}" ]; then
  exec env MANUAL_SHOTS_DISPLAY=1 xvfb-run -a -s "-screen 0 1100x800x24" "$0" "$@"
fi
OUT="$ROOT/resources/help/images"
GRAB="$BUILD/tools/screengrab/screengrab"
SIM="$BUILD/sim/radiosim"
WORK="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$OUT"
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME/Documents" "$XDG_RUNTIME_DIR"
cd "$HOME/Documents"   # where the file dialogs open
chmod 700 "$XDG_RUNTIME_DIR"

# Starts the simulated radio (extra options: faults); sets $DEVICE and $SIM_PID.
start_radio() {
  "$SIM" "$@" ${SIM_VERBOSE:+--verbose} >"$WORK/sim.out" 2>>"${SIM_VERBOSE:-/dev/null}" &
  SIM_PID=$!
  pids+=("$SIM_PID")
  for _ in $(seq 100); do
    DEVICE="$(head -n1 "$WORK/sim.out" 2>/dev/null || true)"
    [ -n "$DEVICE" ] && return 0
    sleep 0.05
  done
  echo "screenshots: the simulated radio did not start" >&2
  exit 1
}
stop_radio() { kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; }

# The newest visible window whose title matches; waits for it.
window() {
  local w=""
  for _ in $(seq 100); do
    w="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)"
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  echo "screenshots: no window '$1'" >&2
  xdotool search --onlyvisible --name . | while read -r x; do echo "  $(xdotool getwindowname "$x")" >&2; done
  return 1
}
# The newest visible window other than $1; waits for it.
dialog() {
  local w=""
  for _ in $(seq 100); do
    w="$(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$1" | tail -n1 || true)"
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  echo "screenshots: no dialog came up" >&2
  return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep "${4:-0.6}"; }
# Keys to a window, then a pause (the read/write commands and the dialog's default button have
# keys, so the pictures do not depend on where the toolbar puts its buttons).
key() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; xdotool key "$2"; sleep "${3:-0.6}"; }
hover() { xdotool mousemove --window "$1" "$2" "$3"; sleep "${4:-0.8}"; }
shot() { "$GRAB" "$OUT/$1.png" "$2" 2>/dev/null; echo "screenshots: $OUT/$1.png"; }

APP="$WORK/app"
cp -a "$BUILD/bin" "$APP"

kvt560() {
  local lang=2 prefix="kvt560-en"
  [ "$LANGUAGE" = zh ] && { lang=1; prefix="kvt560-zh"; }
  start_radio kvt560 --memory "$ROOT/tools/radiosim/samples/kvt560-demo.bin"
  sed -i "s/^lang=.*/lang=$lang/; s/^com=.*/com=1/" "$APP/myini.ini"
  printf '\n[ports]\nCOM1=%s\n' "$DEVICE" >>"$APP/myini.ini"
  "$APP/KVT560" >"$WORK/program.log" 2>&1 &
  pids+=($!)
  local main
  main="$(window '^RD4400$')"
  sleep 1
  local options_x=126
  [ "$LANGUAGE" = zh ] && options_x=152
  # The port menu.
  click "$main" "$options_x" 10
  hover "$main" $((options_x + 25)) 30
  shot "$prefix-port" "$main"
  click "$main" 600 610
  # Read: the dialog, the transfer under way.
  key "$main" ctrl+r 1
  local dlg
  dlg="$(dialog "$main")"
  shot "$prefix-read" "$dlg"
  key "$dlg" Return 8
  shot "$prefix-reading" "$dlg"
  [ -n "${PROBE:-}" ] && return
  sleep 17
  key "$dlg" Escape 1
  shot "$prefix-channels" "$main"
  # Editing: a receive frequency in the table, then the function settings.
  click "$main" 70 157 1
  shot "$prefix-edit" "$main"
  click "$main" 118 72 1
  shot "$prefix-functions" "$main"
  click "$main" 40 72
  # Save: the file dialog.
  click "$main" 85 40 2
  dlg="$(dialog "$main")"
  shot "$prefix-save" "$dlg"
  xdotool windowfocus "$dlg" 2>/dev/null || true
  xdotool key Escape
  sleep 1
  # Write: the dialog while the radio is written.
  key "$main" ctrl+w 1
  dlg="$(dialog "$main")"
  key "$dlg" Return 8
  shot "$prefix-writing" "$dlg"
  sleep 40
  key "$dlg" Escape 1
  # Notices: no radio on the port, then a radio that does not answer.
  stop_radio
  key "$main" ctrl+r 2
  dlg="$(dialog "$main")"
  shot "$prefix-notice-port" "$dlg"
  key "$dlg" Return 1
  start_radio kvt560 --silent
  sed -i "s|^COM1=.*|COM1=$DEVICE|" "$APP/myini.ini"
  key "$main" ctrl+r 1
  dlg="$(dialog "$main")"
  key "$dlg" Return 1
  local notice=""
  for _ in $(seq 60); do
    notice="$(xdotool search --onlyvisible --name . | grep -vx "$main" | grep -vx "$dlg" | tail -n1 || true)"
    [ -n "$notice" ] && break
    sleep 0.5
  done
  [ -n "$notice" ] && shot "$prefix-notice-link" "$notice"
}

program() {
  local language=Eng prefix="kvt270-en"
  [ "$LANGUAGE" = zh ] && { language=Chs; prefix="kvt270-zh"; }
  start_radio kvt270 --memory "$ROOT/resources/Default1.sin"
  printf '[Setup]\nLanguage=%s\nCOM=COM1\n\n[Ports]\nCOM1=%s\n' "$language" "$DEVICE" >"$APP/Program.ini"
  "$APP/Program" >"$WORK/program.log" 2>&1 &
  pids+=($!)
  local main
  main="$(dialog none)"
  sleep 1
  local port_x=178 program_x=70 bar_y=34
  [ "$LANGUAGE" = zh ] && port_x=170 program_x=85 bar_y=38
  # The port menu.
  click "$main" "$port_x" 10
  shot "$prefix-port" "$main"
  click "$main" 400 588
  # Read: the dialog, the transfer under way, the channels read.
  click "$main" 106 "$bar_y" 1
  local dlg
  dlg="$(dialog "$main")"
  shot "$prefix-read" "$dlg"
  click "$dlg" 203 56 8
  shot "$prefix-reading" "$dlg"
  sleep 16
  shot "$prefix-channels" "$main"
  # Editing: a receive frequency in the grid, then the options.
  click "$main" 90 215 1
  shot "$prefix-edit" "$main"
  click "$main" "$program_x" 10
  hover "$main" $((program_x + 20)) 96
  shot "$prefix-program-menu" "$main"
  click "$main" $((program_x + 20)) 96 1.5
  dlg="$(dialog "$main")"
  shot "$prefix-option" "$dlg"
  xdotool windowfocus "$dlg" 2>/dev/null || true
  xdotool key Escape
  sleep 1
  # Save: the file dialog.
  click "$main" 74 "$bar_y" 2
  dlg="$(dialog "$main")"
  shot "$prefix-save" "$dlg"
  xdotool windowfocus "$dlg" 2>/dev/null || true
  xdotool key Escape
  sleep 1
  # Write.
  click "$main" 132 "$bar_y" 1
  dlg="$(dialog "$main")"
  click "$dlg" 203 56 8
  shot "$prefix-writing" "$dlg"
  sleep 16
  # Notices: no radio on the port, then a radio that does not answer.
  stop_radio
  click "$main" 106 "$bar_y" 1
  dlg="$(dialog "$main")"
  click "$dlg" 203 56 2
  shot "$prefix-notice-port" "$(dialog "$main")"
  xdotool windowfocus "$(dialog "$main")" 2>/dev/null || true
  xdotool key Return
  sleep 1
  start_radio kvt270 --silent
  sed -i "s|^COM1=.*|COM1=$DEVICE|" "$APP/Program.ini"
  click "$main" 106 "$bar_y" 1
  dlg="$(dialog "$main")"
  click "$dlg" 203 56 1
  local notice=""
  for _ in $(seq 60); do
    notice="$(xdotool search --onlyvisible --name . | grep -vx "$main" | grep -vx "$dlg" | tail -n1 || true)"
    [ -n "$notice" ] && break
    sleep 0.5
  done
  [ -n "$notice" ] && shot "$prefix-notice-link" "$notice"
}

case "$WHICH" in
  kvt560) kvt560 ;;
  program) program ;;
  *) echo "screenshots: kvt560|program en|zh" >&2; exit 2 ;;
esac
