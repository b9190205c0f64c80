# Shared set-up of the end-to-end tests: a private home, a private Xvfb with
# openbox, a stand-in browser that logs every address it is given, and helpers
# to find the program's windows by their role and drive them with real input.
# Source it from a test script; everything started here ends with the script.

set -euo pipefail

: "${QUORRIN_PROGRAM:?QUORRIN_PROGRAM must name the built program}"
: "${QUORRIN_TESTS:?QUORRIN_TESTS must name the tests folder}"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorrin-e2e.XXXXXX")
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CACHE_HOME="$WORK/home/.cache"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$WORK/bin" "$WORK/shots"
chmod 700 "$XDG_RUNTIME_DIR"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
# Never talk to the machine's own printers.
export CUPS_SERVER=/nonexistent

OPENED_LOG="$WORK/opened.log"
: >"$OPENED_LOG"
cat >"$WORK/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$OPENED_LOG"
SCRIPT
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

PIDS=()
cleanup() {
  local status=$?
  {
    for pid in "${PIDS[@]}"; do kill -9 "$pid" || true; done
    wait
  } 2>/dev/null
  if [ -n "${QUORRIN_KEEP_SHOTS:-}" ]; then
    mkdir -p "$QUORRIN_KEEP_SHOTS" && cp "$WORK"/shots/* "$QUORRIN_KEEP_SHOTS" 2>/dev/null || true
  fi
  rm -rf "$WORK"
  exit "$status"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_until <seconds> <command...>: polls until the command succeeds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

start_display() {
  # Xvfb picks a free display itself and writes its number to descriptor 3.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  PIDS+=($!)
  wait_until 20 test -s "$WORK/display" || fail "Xvfb did not start"
  local number
  number=$(head -1 "$WORK/display")
  export DISPLAY=":$number"
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  PIDS+=($!)
  wait_until 20 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
    fail "openbox did not start"
}

# start_program [VAR=value... | wrapper command...]: starts the program, through
# the wrapper if one is given; PROGRAM_PID is its pid.
start_program() {
  env "$@" "$QUORRIN_PROGRAM" >>"$WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
  PIDS+=("$PROGRAM_PID")
}

# The visible windows of the program whose WM_WINDOW_ROLE is <role>.
window_by_role() {
  local role=$1 window
  for window in $(xdotool search --onlyvisible --name 'Quorrin Australian Astrology' 2>/dev/null); do
    if xprop -id "$window" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$role\""; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

# wait_window <role> [seconds]: prints the window once it is mapped.
wait_window() {
  wait_until "${2:-20}" window_by_role "$1" || fail "no window $1"
  window_by_role "$1"
}

window_gone() { ! window_by_role "$1"; }

# A modal box of the program (message box or dialog): a visible window with
# the given title that has no role of the program's windows.
message_box() {
  local title=$1 window
  for window in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
    if ! xprop -id "$window" WM_WINDOW_ROLE 2>/dev/null | grep -q '"frm'; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

# focus <window>: activates a window through the window manager.
focus() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  sleep 0.3
}

keys() { xdotool key --delay 80 "$@"; sleep 0.3; }

# menu <alt+letter> <entry letter>: opens a menu of the active window and
# chooses an entry once the menu has had time to come up.
menu() {
  xdotool key "$1"
  sleep 0.8
  xdotool key "$2"
  sleep 0.3
}
type_text() { xdotool type --delay 40 "$1"; sleep 0.2; }

# click_at <window> <x> <y>: a left click at a point of the window's client area.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}

screenshot() { import -window "$1" "$WORK/shots/$2.png" 2>/dev/null || true; }

process_running() { kill -0 "$1" 2>/dev/null; }

# wait_exit <pid> [seconds]: the program ended by itself.
wait_exit() { wait_until "${2:-20}" bash -c "! kill -0 $1 2>/dev/null"; }

opened_urls() { cat "$OPENED_LOG"; }

settings_file() { echo "$XDG_CONFIG_HOME/australian-astrology/australian-astrology.ini"; }

start_display
