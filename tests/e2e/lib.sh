# Shared set-up of the end-to-end tests: a private home, a private Xvfb (of
# 1280x1024, or the size QUORRIN_SCREEN gives) with a window manager (openbox,
# or the one QUORRIN_WM names: openbox or metacity), a stand-in browser that
# logs every address it is given, on request a session bus with the
# accessibility bus, and helpers to find the program's windows by their role
# and drive them with real input. Source it from a test script; everything
# started here ends with the script. A failure prints what the program said,
# the windows on screen and where a screenshot of the whole screen was kept
# (QUORRIN_FAILURES, else the system's temporary folder).

set -euo pipefail

: "${QUORRIN_PROGRAM:?QUORRIN_PROGRAM must name the built program}"
: "${QUORRIN_TESTS:?QUORRIN_TESTS must name the tests folder}"
# The title and version as CMake configured them; the Windows tests, run
# outside CTest, read them where CMake does.
: "${QUORRIN_TITLE:=$(sed -n 's/^set(QUORRIN_TITLE "\(.*\)")$/\1/p' "$QUORRIN_TESTS/../CMakeLists.txt")}"
: "${QUORRIN_VERSION:=$(sed -n 's/^project(.* VERSION \([0-9.]*\) .*/\1/p' "$QUORRIN_TESTS/../CMakeLists.txt")}"
# Every message box is captioned with the title, every window with the title
# and the version.
TITLE=$QUORRIN_TITLE
WINDOW_TITLE="$TITLE v$QUORRIN_VERSION"
WINDOW_MANAGER=${QUORRIN_WM:-openbox}
TEST_NAME="$(basename "$0" .sh)-$WINDOW_MANAGER"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorrin-e2e.XXXXXX")
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CACHE_HOME="$WORK/home/.cache"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$WORK/bin" "$WORK/shots"
chmod 700 "$XDG_RUNTIME_DIR"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
# Never talk to the machine's own printers.
export CUPS_SERVER=/nonexistent

# The stand-in browser logs the address it got, one a line, and how many
# arguments it got, one count a line: an address must arrive as one argument.
OPENED_LOG="$WORK/opened.log"
OPENED_ARGUMENTS_LOG="$WORK/opened-arguments.log"
: >"$OPENED_LOG"
: >"$OPENED_ARGUMENTS_LOG"
cat >"$WORK/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$OPENED_LOG"
printf '%s\n' "\$#" >>"$OPENED_ARGUMENTS_LOG"
SCRIPT
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

PIDS=()
cleanup() {
  local status=$?
  [ "$status" -eq 0 ] || diagnose >&2
  {
    for pid in "${PIDS[@]}"; do kill -9 "$pid" || true; done
    wait
  } 2>/dev/null
  # A sanitizer's report in the program's output fails the test, whatever else
  # it saw; only a sanitized build writes one.
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$WORK/program.log" 2>/dev/null; then
    echo "FAIL: the program's output holds a sanitizer report:" >&2
    cat "$WORK/program.log" >&2
    status=1
  fi
  if [ -n "${QUORRIN_KEEP_SHOTS:-}" ]; then
    mkdir -p "$QUORRIN_KEEP_SHOTS" && cp "$WORK"/shots/* "$QUORRIN_KEEP_SHOTS" 2>/dev/null || true
  fi
  rm -rf "$WORK"
  exit "$status"
}
trap cleanup EXIT

# A test that checks many things in turn (a row of a table) names the one at
# hand in FAIL_CONTEXT.
fail() {
  echo "FAIL: ${FAIL_CONTEXT:-}$*" >&2
  diagnose >&2
  exit 1
}

# The program's windows carry their form's name as their X11 role. Under Wine
# (QUORRIN_WINE set) they carry none, and each is told by its width instead.
declare -A WINE_WINDOW_WIDTHS=([frmMain]=408 [frmAustralianAstrologyResult]=545 [frmSave]=515
  [frmAbout]=473 [frmNagScreen2]=741)

# window_role <id>: the form a window of the program shows, or nothing.
window_role() {
  if [ -z "${QUORRIN_WINE:-}" ]; then
    xprop -id "$1" WM_WINDOW_ROLE 2>/dev/null | sed -n 's/.*= "\(.*\)"$/\1/p'
    return 0
  fi
  local width role
  width=$(xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Width: //p')
  for role in "${!WINE_WINDOW_WIDTHS[@]}"; do
    [ "${WINE_WINDOW_WIDTHS[$role]}" != "$width" ] || echo "$role"
  done
}

# describe_window <id>: one line of what the window is and how it stands.
describe_window() {
  printf '  0x%x %-10s role=%s title=%s%s\n' "$1" \
    "$(xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Map State: //p')" \
    "$(window_role "$1")" \
    "$(xdotool getwindowname "$1" 2>/dev/null)" \
    "$(xprop -id "$1" WM_STATE 2>/dev/null | grep -q Normal && echo ' managed')"
}

# trace <what>: notes a step of the test with the time and the active window.
trace() {
  printf '%s %s (active: %s)\n' "$(date +%T.%3N)" "$*" \
    "$(printf '0x%x' "$(xdotool getactivewindow 2>/dev/null || echo 0)")" >>"$WORK/trail.log"
}

# Prints, once, what is needed to find the cause of a failure.
diagnose() {
  [ -n "${DISPLAY:-}" ] && [ ! -e "$WORK/diagnosed" ] || return 0
  : >"$WORK/diagnosed"
  echo "--- the last steps:"
  tail -n 15 "$WORK/trail.log" 2>/dev/null
  if [ -n "${PROGRAM_PID:-}" ] && ! process_running "$PROGRAM_PID"; then
    local status=0
    wait "$PROGRAM_PID" 2>/dev/null || status=$?
    # 127: this is a subshell of the test, which cannot wait for the program.
    [ "$status" = 127 ] && status="not known here"
    echo "--- the program (pid $PROGRAM_PID) has ended, exit status $status"
  fi
  echo "--- the program's output:"
  tail -n 40 "$WORK/program.log" 2>/dev/null
  echo "--- $WINDOW_MANAGER's output:"
  tail -n 20 "$WORK/wm.log" 2>/dev/null
  if [ -e "$WORK/bus.log" ]; then
    echo "--- the buses' output:"
    tail -n 20 "$WORK/bus.log"
  fi
  local window
  echo "--- managed windows, bottom to top:"
  for window in $(stacking_order); do describe_window $((window)); done
  echo "--- active window: $(printf '0x%x' "$(xdotool getactivewindow 2>/dev/null || echo 0)")"
  echo "--- every named window:"
  for window in $(xdotool search --name . 2>/dev/null); do describe_window "$window"; done
  local folder=${QUORRIN_FAILURES:-${TMPDIR:-/tmp}}
  mkdir -p "$folder"
  local shot="$folder/$TEST_NAME-$(date +%Y%m%d-%H%M%S).png"
  timeout 20 import -window root "$shot" 2>/dev/null && echo "--- the whole screen: $shot"
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

# The window ids of _NET_CLIENT_LIST_STACKING, bottom to top.
stacking_order() {
  xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | sed -n 's/.*# //p' | tr -d ,
}

top_window() { stacking_order | awk '{ print $NF }'; }

# A window manager names itself before it is ready to manage windows, and a
# window mapped in between may never be shown. Ready means a probe window was
# taken: framed, in the client list and given a WM_STATE.
probe_taken() {
  local window
  window=$(xdotool search --name '^quorrin-probe$' 2>/dev/null | head -1)
  [ -n "$window" ] && xprop -id "$window" WM_STATE 2>/dev/null | grep -q Normal &&
    stacking_order | grep -qiw "$(printf '0x%x' "$window")"
}

probe_gone() { ! xdotool search --name '^quorrin-probe$' >/dev/null 2>&1; }

wait_window_manager_ready() {
  local attempt probe
  for attempt in 1 2 3 4 5; do
    xmessage -title quorrin-probe -name quorrin-probe probe >/dev/null 2>&1 &
    probe=$!
    if wait_until 5 probe_taken; then
      kill "$probe" 2>/dev/null
      wait "$probe" 2>/dev/null || true
      wait_until 10 probe_gone
      return 0
    fi
    kill "$probe" 2>/dev/null
    wait "$probe" 2>/dev/null || true
    echo "$WINDOW_MANAGER did not take probe window $attempt; trying again" >>"$WORK/wm.log"
  done
  return 1
}

start_display() {
  # Xvfb picks a free display itself and writes its number to descriptor 3.
  Xvfb -displayfd 3 -screen 0 "${QUORRIN_SCREEN:-1280x1024}x24" -nolisten tcp -noreset \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  PIDS+=($!)
  wait_until 20 test -s "$WORK/display" || fail "Xvfb did not start"
  local number
  number=$(head -1 "$WORK/display")
  export DISPLAY=":$number"
  case "$WINDOW_MANAGER" in
  openbox) openbox --sm-disable >"$WORK/wm.log" 2>&1 & ;;
  metacity) metacity --sm-disable --no-composite >"$WORK/wm.log" 2>&1 & ;;
  *) fail "unknown window manager $WINDOW_MANAGER" ;;
  esac
  PIDS+=($!)
  wait_window_manager_ready || fail "$WINDOW_MANAGER does not manage windows"
}

# start_accessibility_bus: a session bus of the test's own with the
# accessibility bus on it, as on a desktop with a screen reader; programs
# started after this talk to it, and it ends with the test.
start_accessibility_bus() {
  dbus-daemon --session --nofork --nosyslog --print-address=3 3>"$WORK/session-bus" \
    >>"$WORK/bus.log" 2>&1 &
  PIDS+=($!)
  wait_until 10 test -s "$WORK/session-bus" || fail "no session bus"
  DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/session-bus")
  export DBUS_SESSION_BUS_ADDRESS
  # Qt joins the accessibility bus only if it is there when the program starts.
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >>"$WORK/bus.log" 2>&1 || fail "no accessibility bus"
}

# reader <atspi.py arguments...>: what a screen reader finds (see atspi.py).
# Debian's python, which has pyatspi, whatever python comes first on PATH.
reader() { /usr/bin/python3 "$QUORRIN_TESTS/e2e/atspi.py" "$@"; }

# start_program [VAR=value... | wrapper command...] [-- argument...]: starts the
# program, through the wrapper if one is given, with the arguments after "--";
# PROGRAM_PID is its pid.
start_program() {
  local before=()
  while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
    before+=("$1")
    shift
  done
  [ "$#" -eq 0 ] || shift
  env "${before[@]}" "$QUORRIN_PROGRAM" "$@" >>"$WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
  PIDS+=("$PROGRAM_PID")
  trace "started the program (${before[*]} -- $*), pid $PROGRAM_PID"
}

# The visible windows of the program whose WM_WINDOW_ROLE is <role>.
window_by_role() {
  local role=$1 window
  for window in $(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null); do
    if [ "$(window_role "$window")" = "$role" ]; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

# wait_window <role> [seconds]: prints the window once it is mapped. The first
# start on a new machine may spend a while building font caches.
wait_window() {
  wait_until "${2:-30}" window_by_role "$1" || fail "no window $1"
  window_by_role "$1"
}

window_gone() { ! window_by_role "$1"; }

# A modal box of the program (message box or dialog): a visible window with
# the given title that has no role of the program's windows.
message_box() {
  local title=$1 window
  for window in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
    if [ -z "$(window_role "$window")" ]; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

active_window_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

no_box() { ! message_box "$1"; }

# another_box <title> <window>: prints a visible box or dialog of the program
# with the title, other than the window.
another_box() {
  local window
  for window in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    [ "$window" != "$2" ] || continue
    [ -z "$(window_role "$window")" ] || continue
    echo "$window"
    return 0
  done
  return 1
}

# focus <window>: activates a window through the window manager and waits
# until it has the keyboard.
focus() {
  trace "focus $(printf '0x%x' "$1")"
  timeout 5 xdotool windowactivate "$1" 2>/dev/null || true
  wait_until 10 active_window_is "$1" || fail "window $1 does not take the focus"
  sleep 0.2
}

# wait_active <window> <what>: the window takes the keyboard by itself, as
# the program's windows do when they come up.
wait_active() {
  wait_until 10 active_window_is "$1" ||
    fail "$2 does not take the focus; $(printf '0x%x' "$(xdotool getactivewindow 2>/dev/null || echo 0)") has it"
  sleep 0.2
}

keys() {
  trace "keys $*"
  xdotool key --delay 80 "$@"
  sleep 0.3
}

# A menu of the program is up: menus are the only windows it shows that the
# window manager does not frame.
menu_shown() {
  local window
  for window in $(xdotool search --onlyvisible --classname '^australian-astrology(\.exe)?$' 2>/dev/null); do
    xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}

no_menu_shown() { ! menu_shown; }

# menu <alt+letter> <entry letter>: opens a menu of the active window and
# chooses an entry once the menu is up.
menu() {
  trace "menu $1 $2"
  xdotool key "$1"
  wait_until 10 menu_shown || fail "no menu came up for $1"
  xdotool key "$2"
  sleep 0.3
}
type_text() {
  trace "type ${1:0:40}"
  xdotool type --delay 40 "$1"
  sleep 0.2
}

# keys_for <text>: gives each character of the text beyond ASCII a keycode of
# its own that no key used; call it once, before the text is typed. xdotool
# would otherwise remap a key for each such character while typing, and a
# program that reads the keyboard map at the wrong moment now and then gets
# another character or none.
keys_for() {
  local free code
  free=($(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2 }'))
  for code in $(python3 -c 'import sys; print(*sorted({"U%04X" % ord(c) for c in sys.argv[1] if ord(c) > 0x7e}))' "$1"); do
    [ "${#free[@]}" -gt 0 ] || fail "no free keycode left for $code"
    xmodmap -e "keycode ${free[0]} = $code"
    free=("${free[@]:1}")
  done
}

# click_at <window> <x> <y>: a left click at a point of the window's client area.
click_at() {
  trace "click $(printf '0x%x' "$1") at $2,$3"
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}

# The dialog has taken the name: it is gone, or it asks about it in a box.
dialog_answered() { no_box "$1" || another_box "$1" "$2" >/dev/null; }

# answer_file_dialog <title> <path> [replace]: the file dialog takes the
# keyboard; a full path typed into it is accepted. The name box offers to
# complete a name that exists, once it has read the folder; Enter then takes
# the completion or, when none is chosen in the list, the dialog: pressed
# again only while it stays. With "replace" the file exists where the program
# looks (in a mount of its own, perhaps), and the dialog's question whether to
# replace it, a box with the dialog's title, is answered Yes.
answer_file_dialog() {
  local dialog
  wait_until 20 message_box "$1" || fail "no dialog \"$1\""
  dialog=$(message_box "$1")
  wait_active "$dialog" "the dialog \"$1\""
  type_text "$2"
  if [ -e "$2" ] || [ "${3:-}" = replace ]; then
    wait_until 10 menu_shown || fail "the dialog \"$1\" offers no completion of $2"
    keys Return
    wait_until 10 no_menu_shown || fail "the completion in \"$1\" stayed"
    wait_until 2 dialog_answered "$1" "$dialog" || keys Return
  else
    wait_until 10 no_menu_shown || fail "the dialog \"$1\" offers to complete $2"
    keys Return
  fi
  if [ "${3:-}" = replace ]; then
    wait_until 10 another_box "$1" "$dialog" || fail "the dialog \"$1\" did not ask to replace $2"
    focus "$(another_box "$1" "$dialog")"
    keys alt+y
  fi
  wait_until 10 no_box "$1" || fail "the dialog \"$1\" stayed"
}

# second_copy_refused <running pid> [start_program arguments...]: another
# start shows "Application is already running", ends once OK is pressed, and
# the running copy runs on; PROGRAM_PID is the running copy's again. With
# BOX_PICTURE set, a framed picture of the box is kept as that file.
second_copy_refused() {
  local first=$1 second box
  shift
  start_program "$@"
  second=$PROGRAM_PID
  wait_until 30 message_box "$TITLE" || fail "no 'already running' box"
  box=$(message_box "$TITLE")
  [ -z "${BOX_PICTURE:-}" ] || framed_screenshot "$box" "$BOX_PICTURE"
  focus "$box"
  keys Return
  wait_until 10 no_box "$TITLE" || fail "the box stayed after OK"
  wait_exit "$second" 30 || fail "the refused copy did not end"
  process_running "$first" || fail "the first copy ended"
  PROGRAM_PID=$first
}

# reading_window: File > Print in the result window opens the reading window.
reading_window() {
  local result
  result=$(wait_window frmAustralianAstrologyResult)
  focus "$result"
  menu alt+f p
  wait_window frmSave
}

# back_to_main_window: closes the reading window, presses Back on the result
# and leaves the keyboard focus on the fresh main window.
back_to_main_window() {
  focus "$(window_by_role frmSave)"
  keys alt+F4
  wait_until 10 window_gone frmSave || fail "the reading window stayed"
  focus "$(wait_window frmAustralianAstrologyResult)"
  keys alt+b
  focus "$(wait_window frmMain)"
}

# paste_text <file>: puts the UTF-8 text of the file on the clipboard and
# pastes it with Ctrl+V where the keyboard focus is. Long or unusual text goes
# in whole this way, where typing would take minutes or lose characters.
paste_text() {
  xclip -quiet -selection clipboard -t UTF8_STRING -i "$1" 2>/dev/null &
  local clipboard=$!
  PIDS+=("$clipboard")
  wait_until 10 bash -c "xclip -o -selection clipboard -t UTF8_STRING | cmp -s - '$1'" ||
    fail "the clipboard does not hold $1"
  keys ctrl+v
  {
    kill "$clipboard"
    wait "$clipboard"
  } 2>/dev/null || true
}

# clipboard_text: what the clipboard holds, as UTF-8.
clipboard_text() { xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null; }

screenshot() { timeout 20 import -window "$1" "$WORK/shots/$2.png" 2>/dev/null || true; }
# framed_screenshot <window> <file>: the window with the frame the window
# manager gives it, as it looks on a desktop.
framed_screenshot() { timeout 20 import -frame -window "$1" "$2" || fail "no screenshot of window $1"; }

process_running() { kill -0 "$1" 2>/dev/null; }

# wait_exit <pid> [seconds]: the program ended by itself.
wait_exit() { wait_until "${2:-20}" bash -c "! kill -0 $1 2>/dev/null"; }

opened_urls() { cat "$OPENED_LOG"; }

# masked_line <text>: a line of text as a saved reading holds it, in hex.
masked_line() { python3 "$QUORRIN_TESTS/e2e/zod.py" line "$1"; }

# saved_reading_hex <name> <month>: a saved reading as the program writes it,
# in hex.
saved_reading_hex() { python3 "$QUORRIN_TESTS/e2e/zod.py" reading "$1" "$2"; }

# write_saved_reading <file> <name> <month>: a saved reading as the program
# writes it.
write_saved_reading() {
  local hex
  hex=$(saved_reading_hex "$2" "$3")
  # shellcheck disable=SC2059 # the bytes are the format
  printf "$(sed 's/../\\x&/g' <<<"$hex")" >"$1"
}

# expect_saved_reading <file> <name> <month>: the file holds that reading, byte
# for byte.
expect_saved_reading() {
  wait_until 10 test -s "$1" || fail "nothing saved in $1"
  local expected actual
  expected=$(saved_reading_hex "$2" "$3")
  actual=$(od -An -v -tx1 "$1" | tr -d ' \n')
  [ "$actual" = "$expected" ] || fail "saved bytes $actual, expected $expected"
}

settings_file() { echo "$XDG_CONFIG_HOME/australian-astrology/australian-astrology.ini"; }

start_display
