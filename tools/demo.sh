#!/usr/bin/env bash
# Starts a simulated radio and a program whose serial port is mapped to it.
#   tools/demo.sh kvt560 BUILD_DIR      (called by ./dev demo kvt560)
#
# The program runs from a demo copy of the application folder (BUILD_DIR/demo-kvt560), whose
# myini.ini maps port COM1 to the simulator's pseudo-terminal; the user's own myini.ini in
# BUILD_DIR/bin is not touched. The radio serves tools/radiosim/samples/kvt560-demo.bin at
# 9600 baud; whatever the program writes to it is saved to BUILD_DIR/demo-kvt560/radio-after.bin.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WHICH="${1:-kvt560}"
BUILD="${2:-$ROOT/build}"

case "$WHICH" in
  kvt560|KVT560) ;;
  *) echo "demo: only 'kvt560' has a demo (tools/demo.sh kvt560 BUILD_DIR)" >&2; exit 2 ;;
esac

SIM="$BUILD/sim/radiosim"
BIN="$BUILD/bin"
DEMO="$BUILD/demo-kvt560"
MEMORY="$ROOT/tools/radiosim/samples/kvt560-demo.bin"
for f in "$SIM" "$BIN/KVT560" "$MEMORY"; do
  [ -e "$f" ] || { echo "demo: $f is missing; run ./dev build first" >&2; exit 1; }
done

# A fresh copy of the application folder: the program, its language libraries and help
# files, and the delivered preferences (band lists 400-470 MHz and 136-174 MHz).
rm -rf "$DEMO"
mkdir -p "$DEMO"
cp -a "$BIN"/. "$DEMO"/
cp "$ROOT/resources/myini.ini" "$DEMO/myini.ini"

# The simulated radio; its first line of output is the device of its pseudo-terminal.
FIFO="$(mktemp -u)"
mkfifo "$FIFO"
"$SIM" kvt560 --memory "$MEMORY" --save "$DEMO/radio-after.bin" >"$FIFO" &
SIM_PID=$!
cleanup() {
  kill "$SIM_PID" 2>/dev/null || true
  wait "$SIM_PID" 2>/dev/null || true
  rm -f "$FIFO"
}
trap cleanup EXIT INT TERM
exec 3<"$FIFO"
if ! read -r -t 10 DEVICE <&3 || [ -z "$DEVICE" ]; then
  echo "demo: the simulated radio did not start" >&2
  exit 1
fi

# Port 1 of the demo copy is the simulator's terminal.
sed -i 's/^com=.*/com=1/' "$DEMO/myini.ini"
printf '\n[ports]\nCOM1=%s\n' "$DEVICE" >>"$DEMO/myini.ini"

cat <<TEXT
demo: simulated KVT560 radio on $DEVICE (port COM1 of $DEMO/myini.ini)
demo: press "读频" (read) in KVT560 to read its 128 channels; "写频" (write) sends them back,
      and the radio's memory is saved to $DEMO/radio-after.bin.
TEXT
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "demo: no display found; run under a desktop session (or xvfb-run -a ./dev demo kvt560)" >&2
fi
"$DEMO/KVT560"
