#!/usr/bin/env bash
# Measures full radio reads and writes through the command line against the simulated radios
# at 9600 baud, and prints one table.
#   tools/bench.sh BUILD_DIR           (called by ./dev bench): the standard link of both programs
#   tools/bench.sh BUILD_DIR --fast    (./dev bench --fast): KVT560's fast link (also through a
#                                      radio that needs 30 ms after each reply), and Program
#
# Every case runs RUNS times (default 3) with a fresh simulator. Per case the table shows the
# median wall time of the command, the wire time (every byte that crossed the line, both
# ways, as counted by the simulator, at 10 bits per byte and 9600 baud), their ratio, and the
# highest share of its wall time that the command spent on the processor (user + system).
# Simulator and command run at nice -10 where that is allowed (root), so that other work on
# the machine disturbs the figures less.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
MODE="${2:-}"
RUNS="${RUNS:-3}"
SIM="$BUILD/sim/radiosim"
BIN="$BUILD/bin"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

NICE=()
if nice -n -10 true 2>/dev/null && [ "$(nice -n -10 nice)" -lt 0 ]; then NICE=(nice -n -10); fi

KVT560_MEMORY="$ROOT/tools/radiosim/samples/kvt560-demo.bin"
KVT270_MEMORY="$ROOT/tools/radiosim/samples/kvt270-demo.bin"

# Starts radiosim MODE OPTIONS... in the background; sets SIM_PID, SIM_OUT and DEVICE.
start_sim() {
  SIM_OUT="$WORK/sim.out"
  : >"$SIM_OUT"
  "${NICE[@]}" "$SIM" "$@" >"$SIM_OUT" 2>"$WORK/sim.err" &
  SIM_PID=$!
  DEVICE=""
  for _ in $(seq 100); do
    DEVICE="$(head -n 1 "$SIM_OUT")"
    [ -n "$DEVICE" ] && return 0
    sleep 0.05
  done
  echo "bench: radiosim did not start: $(cat "$WORK/sim.err")" >&2
  exit 1
}

# Ends the simulator (in this shell: only it can wait for its child) and sets BYTES to the
# bytes that crossed the line, both ways together.
stop_sim() {
  kill -TERM "$SIM_PID"
  wait "$SIM_PID" || true
  BYTES="$(awk '/^bytes received/ { print $3 + $5 }' "$SIM_OUT" | tail -n 1)"
}

# Runs one case RUNS times: LABEL LINK SIMMODE "SIMOPTIONS" COMMAND...; the command's
# "@DEVICE@" is replaced by the simulator's device.
bench_case() {
  local label="$1" link="$2" simmode="$3" simopts="$4"
  shift 4
  local times=() cpus=() bytes=0
  for run in $(seq "$RUNS"); do
    # shellcheck disable=SC2086
    start_sim "$simmode" $simopts
    local args=()
    for a in "$@"; do args+=("${a//@DEVICE@/$DEVICE}"); done
    local start end
    start=$(date +%s%N)
    if ! "${NICE[@]}" /usr/bin/time -f "%U %S" -o "$WORK/cpu" "${args[@]}" >"$WORK/out" 2>"$WORK/err"; then
      stop_sim
      echo "bench: $label failed:" >&2
      cat "$WORK/err" >&2
      exit 1
    fi
    end=$(date +%s%N)
    stop_sim
    bytes="$BYTES"
    local wall cpu
    wall=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) / 1e9 }')
    cpu=$(awk -v w="$wall" '{ printf "%.1f", 100 * ($1 + $2) / w }' "$WORK/cpu")
    times+=("$wall")
    cpus+=("$cpu")
  done
  local median maxcpu wire
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  maxcpu=$(printf '%s\n' "${cpus[@]}" | sort -n | tail -n 1)
  wire=$(awk -v b="$bytes" 'BEGIN { printf "%.3f", b * 10 / 9600 }')
  printf '%-28s %-8s %9s %8s %6s %6s%%\n' "$label" "$link" "$median" "$wire" \
    "$(awk -v m="$median" -v w="$wire" 'BEGIN { printf "%.2f", m / w }')" "$maxcpu"
}

printf '%-28s %-8s %9s %8s %6s %7s\n' "case" "link" "median s" "wire s" "ratio" "cpu"

KVT_FLAGS=()
KVT_LINK=standard
if [ "$MODE" = "--fast" ]; then
  KVT_FLAGS=(--fast)
  KVT_LINK=fast
fi

# KVT560: a read of the demonstration radio, and a write of what it read.
K56="$WORK/radio.k56"
bench_case "KVT560 read" "$KVT_LINK" kvt560 "--memory $KVT560_MEMORY" \
  "$BIN/KVT560" --read-radio "$K56" --device @DEVICE@ --language english "${KVT_FLAGS[@]}"
bench_case "KVT560 write" "$KVT_LINK" kvt560 "--memory $KVT560_MEMORY" \
  "$BIN/KVT560" --write-radio "$K56" --device @DEVICE@ --language english "${KVT_FLAGS[@]}"
if [ "$MODE" = "--fast" ]; then
  bench_case "KVT560 read, radio gap 30ms" fast kvt560 "--memory $KVT560_MEMORY --min-gap 30" \
    "$BIN/KVT560" --read-radio "$WORK/gap.k56" --device @DEVICE@ --language english --fast
fi

# Program: a read of the demonstration radio, and a write of what it read. Program has one
# link, the same for both tables.
SIN="$WORK/radio.sin"
bench_case "Program read" standard kvt270 "--memory $KVT270_MEMORY" \
  "$BIN/Program" --read-radio "$SIN" --device @DEVICE@
bench_case "Program write" standard kvt270 "--memory $KVT270_MEMORY" \
  "$BIN/Program" --write-radio "$SIN" --device @DEVICE@
