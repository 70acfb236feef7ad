#!/usr/bin/env bash
# Starts a simulated radio and a program whose serial port is mapped to it.
#   tools/demo.sh kvt560 BUILD_DIR      (called by ./dev demo kvt560)
#   tools/demo.sh program BUILD_DIR     (called by ./dev demo program)
#
# The program runs from a demo copy of the application folder (BUILD_DIR/demo-kvt560 or
# BUILD_DIR/demo-program), whose ini file maps port COM1 to the simulator's pseudo-terminal;
# the user's own myini.ini and Program.ini in BUILD_DIR/bin are not touched. The radio is
# paced at 9600 baud; whatever the program writes to it is saved to radio-after.bin in the
# demo folder.
#   kvt560:  the radio serves tools/radiosim/samples/kvt560-demo.bin.
#   program: the radio serves resources/Default1.sin when it exists, else
#            tools/radiosim/samples/kvt270-demo.bin (16 channels, model KVT270U09).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WHICH="${1:-kvt560}"
BUILD="${2:-$ROOT/build}"
SIM="$BUILD/sim/radiosim"
BIN="$BUILD/bin"

case "$WHICH" in
  kvt560|KVT560)
    MODE=kvt560
    PROGRAM=KVT560
    DEMO="$BUILD/demo-kvt560"
    MEMORY="$ROOT/tools/radiosim/samples/kvt560-demo.bin"
    ;;
  program|Program)
    MODE=kvt270
    PROGRAM=Program
    DEMO="$BUILD/demo-program"
    MEMORY="$ROOT/resources/Default1.sin"
    [ -e "$MEMORY" ] || MEMORY="$ROOT/tools/radiosim/samples/kvt270-demo.bin"
    ;;
  *) echo "demo: tools/demo.sh kvt560|program BUILD_DIR" >&2; exit 2 ;;
esac

for f in "$SIM" "$BIN/$PROGRAM" "$MEMORY"; do
  [ -e "$f" ] || { echo "demo: $f is missing; run ./dev build first" >&2; exit 1; }
done

# A fresh copy of the application folder: the program, its language libraries, help and
# default files, and the delivered preferences.
rm -rf "$DEMO"
mkdir -p "$DEMO"
cp -a "$BIN"/. "$DEMO"/

# The simulated radio; its first line of output is the device of its pseudo-terminal.
FIFO="$(mktemp -u)"
mkfifo "$FIFO"
"$SIM" "$MODE" --memory "$MEMORY" --save "$DEMO/radio-after.bin" >"$FIFO" &
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

if [ "$MODE" = kvt560 ]; then
  # Port 1 of the demo copy is the simulator's terminal (band lists 400-470 MHz and 136-174 MHz).
  cp "$ROOT/resources/myini.ini" "$DEMO/myini.ini"
  sed -i 's/^com=.*/com=1/' "$DEMO/myini.ini"
  printf '\n[ports]\nCOM1=%s\n' "$DEVICE" >>"$DEMO/myini.ini"
  cat <<TEXT
demo: simulated KVT560 radio on $DEVICE (port COM1 of $DEMO/myini.ini)
demo: press "读频" (read) in KVT560 to read its 128 channels; "写频" (write) sends them back,
      and the radio's memory is saved to $DEMO/radio-after.bin.
TEXT
else
  # English, port COM1, and COM1 is the simulator's terminal.
  printf '[Setup]\nLanguage=Eng\nCOM=COM1\n\n[Ports]\nCOM1=%s\n' "$DEVICE" >"$DEMO/Program.ini"
  cat <<TEXT
demo: simulated KVT270 radio on $DEVICE (port COM1 of $DEMO/Program.ini), serving $MEMORY
demo: choose Program > Read (Ctrl+R) and press Start to read its channels (about 20 s at
      9600 baud); Program > Write sends the grid back, and the radio's memory is saved to
      $DEMO/radio-after.bin.
TEXT
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "demo: no display found; run under a desktop session (or xvfb-run -a ./dev demo $WHICH)" >&2
fi
"$DEMO/$PROGRAM"
