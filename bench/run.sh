#!/usr/bin/env bash
# Benchmarks the program against a bare Qt Widgets program built in the same
# tree: start-up, memory at rest, idle CPU, a reading, and opening a huge saved
# reading; and, where scripts/windows.sh has built the Windows version, its
# start-up and memory under Wine beside a bare window built the same way, and
# the installer's size. Builds what it needs into build/, then prints a
# Markdown table of medians of interleaved runs. Never part of the test run.
#
#   bash bench/run.sh
#
# BENCH_ROUNDS (31) sets the start-up and memory rounds, BENCH_IDLE_ROUNDS (5)
# the rounds of 10 s idle, BENCH_READING_ROUNDS (31) the readings.
#
# Where it may (as root), it runs the X server and what it measures at a
# real-time priority, so that others' builds on a shared machine do not add
# their time slices to the figures; BENCH_REALTIME=0 runs them as usual. The
# build itself always runs at the usual priority.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/packages.sh"

ROUNDS=${BENCH_ROUNDS:-31}
IDLE_ROUNDS=${BENCH_IDLE_ROUNDS:-5}
READING_ROUNDS=${BENCH_READING_ROUNDS:-31}
IDLE_SECONDS=10
BUILD="$ROOT/build"

install_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}" libxcb1-dev xvfb
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --parallel 2 --target australian-astrology bench_bare mapwatch \
  bench_reading_x11 bench_savedreading >/dev/null

declare -A EXE=([program]="$BUILD/src/australian-astrology" [bare]="$BUILD/bench/bare/bench_bare")
MAPWATCH="$BUILD/bench/mapwatch"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorrin-bench.XXXXXX")
# A desktop session keeps the runtime folder in memory (/run/user/<uid>), where
# the lock file costs no disk flush; homes stay on disk, as they are.
RUNTIME=$(mktemp -d /dev/shm/quorrin-bench.XXXXXX 2>/dev/null || mktemp -d "$WORK/runtime.XXXXXX")
XVFB_PID=
stop_display() {
  [ -n "$XVFB_PID" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
trap 'stop_display; rm -rf "$WORK" "$RUNTIME"' EXIT

MEASURE=()
if [ "${BENCH_REALTIME:-1}" != 0 ] && chrt -f 10 true 2>/dev/null; then
  MEASURE=(chrt -f 10)
fi

export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS

# A fresh Xvfb for each batch, with no window manager: the map is the one the
# program asks for, with nothing in between.
start_display() {
  rm -f "$WORK/display"
  "${MEASURE[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" \
    >>"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local tries=0
  until [ -s "$WORK/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
  done
  export DISPLAY=":$(head -1 "$WORK/display")"
}

# fresh <command...>: runs a command with a home, settings and runtime folder
# of its own, so every start is a first start (no reminder box) and no lock is
# left from the run before.
fresh() {
  local home runtime status=0
  home=$(mktemp -d "$WORK/home.XXXXXX")
  runtime=$(mktemp -d "$RUNTIME/runtime.XXXXXX")
  mkdir -p "$home/.config" "$home/.cache"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$runtime" "$@" || status=$?
  rm -rf "$home" "$runtime"
  return "$status"
}

# field <name> <line>: the value of name=value in a line of figures.
field() { tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p"; }

median() { sort -g | awk '{ v[NR] = $1 } END { print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'; }

# The middle half of the values: how far apart runs were.
quartiles() { sort -g | awk '{ v[NR] = $1 } END { printf "%.1f-%.1f", v[int((NR + 3) / 4)], v[int((3 * NR + 3) / 4)] }'; }

calc() { awk "BEGIN { print $1 }"; }
yes_no() { awk "BEGIN { print ($1) ? \"yes\" : \"no\" }"; }

# interleaved <rounds> <figures file prefix> <mapwatch options...>: runs the
# program and the bare program in turn, each round starting with the other.
interleaved() {
  local rounds=$1 prefix=$2 round who line
  shift 2
  for who in program bare; do fresh "${MEASURE[@]}" "$MAPWATCH" -- "${EXE[$who]}" >/dev/null; done
  for ((round = 0; round < rounds; round++)); do
    echo "  $prefix round $((round + 1))/$rounds" >&2
    local order=(program bare)
    [ $((round % 2)) -eq 0 ] || order=(bare program)
    for who in "${order[@]}"; do
      line=$(fresh "${MEASURE[@]}" "$MAPWATCH" "$@" -- "${EXE[$who]}")
      echo "$line" >>"$WORK/$prefix.$who"
      sleep 0.2
    done
  done
}

# values <prefix> <who> <name>: one figure of every run of a batch.
values() { while read -r line; do field "$3" "$line"; done <"$WORK/$1.$2"; }
column() { values "$@" | median; }

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Benchmarking; load average $LOAD_BEFORE on $(nproc) cores; ${MEASURE[*]:-usual priority}" >&2

start_display
interleaved "$ROUNDS" startup --rest 1
stop_display

start_display
interleaved "$IDLE_ROUNDS" idle --idle "$IDLE_SECONDS"
stop_display

echo "  a reading, $READING_ROUNDS rounds" >&2
start_display
READING=$(fresh "${MEASURE[@]}" "$BUILD/bench/bench_reading_x11" "$READING_ROUNDS")
stop_display

echo "  opening a 1 GiB saved reading" >&2
HUGE=$(TMPDIR="$WORK" fresh "${MEASURE[@]}" "$BUILD/bench/bench_savedreading")

# The Windows build under Wine, where scripts/windows.sh has made it: its
# start-up and memory beside a bare window cross-built the same way. The Wine
# server is kept running, as a Windows session is, so no start pays for it.
WINDOWS="$ROOT/build-windows"
WINDOWS_ROWS=
if [ -f "$WINDOWS/stage/australian-astrology.exe" ] && command -v wine >/dev/null; then
  echo "  the Windows build under Wine" >&2
  cp -r "$WINDOWS/stage" "$WORK/windows"
  cp "$WINDOWS/build/bench/bare/bench_bare.exe" "$WORK/windows/"
  export WINEPREFIX="$WORK/wine" WINEDEBUG=-all
  wineboot --init >/dev/null 2>&1
  wineserver --wait
  wineserver --persistent
  for who in program bare; do
    exe=australian-astrology.exe
    [ "$who" = program ] || exe=bench_bare.exe
    printf '#!/bin/sh\nexec wine "%s"\n' "$WORK/windows/$exe" >"$WORK/windows/$who"
    chmod +x "$WORK/windows/$who"
    EXE[$who]="$WORK/windows/$who"
  done
  start_display
  interleaved "$ROUNDS" windows --rest 1
  stop_display
  wineserver --kill
  win_program=$(column windows program startup_ms)
  win_bare=$(column windows bare startup_ms)
  win_rss_program=$(column windows program rss_kb)
  win_rss_bare=$(column windows bare rss_kb)
  installer=$(echo "$WINDOWS"/australian-astrology-*-setup.exe)
  WINDOWS_ROWS="| Windows build under Wine: start-up, ms (median of $ROUNDS) | $(printf %.1f "$win_program") | $(printf %.1f "$win_bare") | ≤ 1.15 × bare | $(yes_no "$win_program <= 1.15 * $win_bare") |
| Windows build under Wine: memory at rest, VmRSS of the Wine process, MiB | $(printf %.1f "$(calc "$win_rss_program / 1024")") | $(printf %.1f "$(calc "$win_rss_bare / 1024")") | ≤ bare + 5 MiB | $(yes_no "$win_rss_program <= $win_rss_bare + 5120") |
| Windows installer, MiB | $(printf %.1f "$(calc "$(stat -c %s "$installer") / 1048576")") | — | — | — |"
fi

LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

start_program=$(column startup program startup_ms)
start_bare=$(column startup bare startup_ms)
ratio=$(calc "$start_program / $start_bare")
rss_program=$(column startup program rss_kb)
rss_bare=$(column startup bare rss_kb)
ticks_program=$(column idle program idle_ticks)
ticks_bare=$(column idle bare idle_ticks)
cpu_program=$(column idle program idle_cpu_ms)
cpu_bare=$(column idle bare idle_cpu_ms)
reading=$(field reading_ms "$READING")
reading_bare=$(field bare_ms "$READING")
open_ms=$(field open_ms "$HUGE")
rss_growth=$(calc "$(field rss_after_kb "$HUGE") - $(field rss_before_kb "$HUGE")")
hwm_growth=$(calc "$(field hwm_after_kb "$HUGE") - $(field hwm_before_kb "$HUGE")")

cat <<TABLE

| figure | program | bare | goal | met? |
| --- | --- | --- | --- | --- |
| start-up: exec to main window mapped, ms (median of $ROUNDS) | $(printf %.1f "$start_program") | $(printf %.1f "$start_bare") | ≤ 1.15 × bare | $(yes_no "$ratio <= 1.15") |
| start-up ratio to bare | $(printf %.2f "$ratio")× | 1.00× | ≤ 1.15× | $(yes_no "$ratio <= 1.15") |
| memory at rest: VmRSS 1 s after the map, MiB | $(printf %.1f "$(calc "$rss_program / 1024")") | $(printf %.1f "$(calc "$rss_bare / 1024")") | ≤ bare + 5 MiB | $(yes_no "$rss_program <= $rss_bare + 5120") |
| idle: CPU ticks in ${IDLE_SECONDS} s, name box focused (median of $IDLE_ROUNDS) | $ticks_program | $ticks_bare | ≤ bare | $(yes_no "$ticks_program <= $ticks_bare") |
| idle: the same in CPU ms (all threads' schedstat) | $(printf %.1f "$cpu_program") | $(printf %.1f "$cpu_bare") | ≤ bare | $(yes_no "$cpu_program <= $cpu_bare") |
| a reading: Proceed to result window mapped, ms (median of $READING_ROUNDS) | $(printf %.2f "$reading") | $(printf %.2f "$reading_bare") | < 16 ms | $(yes_no "$reading < 16") |
| opening a 1 GiB file without line breaks, ms | $(printf %.3f "$open_ms") | — | < 50 ms | $(yes_no "$open_ms < 50") |
| resident growth opening it: VmRSS / VmHWM, KiB | $rss_growth / $hwm_growth | — | none (< 1 MiB) | $(yes_no "$rss_growth < 1024 && $hwm_growth < 1024") |
$WINDOWS_ROWS

Start-up, middle half of the runs: program $(values startup program startup_ms | quartiles) ms,
bare $(values startup bare startup_ms | quartiles) ms.
The bare program is bench/bare/bare.cpp: one window of 408×292 with a label and a
focused line edit. The bare reading is a click that shows a window with one label. First
reading of the run: $(field reading_first_ms "$READING") ms (bare $(field bare_first_ms "$READING") ms).
Load average on $(nproc) cores: $LOAD_BEFORE before, $LOAD_AFTER after; measured at
$([ ${#MEASURE[@]} -gt 0 ] && echo "real-time priority" || echo "the usual priority").
TABLE
