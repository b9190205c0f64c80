# The installer, the installed program and the uninstaller under Wine; sourced
# by under-wine.sh once the Wine prefix is made. The program is driven with
# the end-to-end tests' helpers: its windows are Wine's X11 windows.

TITLE='Quorrin Australian Astrology'
INSTALLER=$(echo "$QUORRIN_WINDOWS_BUILD"/australian-astrology-*-setup.exe)
WINDOWS_USER=$(wine cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
LOCAL_DATA="$WINEPREFIX/drive_c/users/$WINDOWS_USER/AppData/Local"
INSTALLED="$LOCAL_DATA/Programs/$TITLE"
START_MENU="$WINEPREFIX/drive_c/users/$WINDOWS_USER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
DOCUMENTS="$WINEPREFIX/drive_c/users/$WINDOWS_USER/Documents"
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorrinAustralianAstrology'
ASSOCIATION_KEY='HKCU\Software\Classes\Quorrin.AustralianAstrology.Reading'
# Letters of no ANSI code page: the program must take such paths whole.
UNICODE_FOLDER="$WORK/Łódź 星座"
mkdir -p "$UNICODE_FOLDER"
DOCS="$QUORRIN_TESTS/../docs/windows"

# The program as a start from a terminal would run it; lib.sh's helpers start
# it through this.
export QUORRIN_PROGRAM="$WORK/bin/australian-astrology"
cat >"$QUORRIN_PROGRAM" <<SCRIPT
#!/bin/sh
exec wine "$INSTALLED/australian-astrology.exe" "\$@"
SCRIPT
chmod +x "$QUORRIN_PROGRAM"

# registry_key_exists <key>
registry_key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# windows_path <unix path>
windows_path() { winepath -w "$1" 2>/dev/null; }

# registry_value <key> [name]: the value of that name, or the key's default.
registry_value() {
  local value=(/ve)
  [ "$#" -lt 2 ] || value=(/v "$2")
  wine reg query "$1" "${value[@]}" 2>/dev/null | sed -n 's/.*REG_[A-Z]* *//p' | tr -d '\r'
}

# What a double-click on a saved reading runs: the command of its file type.
association_command() { registry_value "$ASSOCIATION_KEY\shell\open\command"; }

# answer_wine_dialog <title> <path or bare name>: Wine's file dialog takes the
# keyboard; the path typed into its name box is accepted with Enter.
answer_wine_dialog() {
  wait_until 20 message_box "$1" || fail "no dialog \"$1\""
  local dialog name=$2
  dialog=$(message_box "$1")
  focus "$dialog"
  [[ $name != /* ]] || name=$(windows_path "$name")
  type_text "$name"
  keys Return
  wait_until 10 no_box "$1" || fail "the dialog \"$1\" stayed"
}

# What an install consists of: its files, its Start-menu entry and its
# registry keys.
install_state() {
  find "$INSTALLED" "$START_MENU" -printf '%p %s %T@\n' | sort
  local key
  for key in 'HKCU\Software\Classes\.zod' "$ASSOCIATION_KEY" "$UNINSTALL_KEY" 'HKCU\Software\Quorrin'; do
    wine reg query "$key" /s 2>&1 | tr -d '\r'
  done
}

# untouched_while_running <what> <command...>: with the program running, the
# command fails and leaves the install as it was.
untouched_while_running() {
  local what=$1 status=0
  shift
  install_state >"$WORK/install-before.txt"
  "$@" >>"$WORK/wine.log" 2>&1 || status=$?
  install_state >"$WORK/install-after.txt"
  [ "$status" != 0 ] || fail "$what succeeded while the program ran"
  diff "$WORK/install-before.txt" "$WORK/install-after.txt" >&2 ||
    fail "$what changed the install while the program ran"
}

# uninstall_in_place [option...]: the uninstaller as its copy in the temporary
# folder runs, which gives its exit status. Its _?= takes the folder unquoted,
# which only a batch file passes on.
uninstall_in_place() {
  local folder
  folder=$(windows_path "$INSTALLED")
  printf '@"%s\\uninstall.exe" %s _?=%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$folder" "$*" "$folder" \
    >"$WORK/uninstall.bat"
  wine cmd /c "$(windows_path "$WORK/uninstall.bat")"
}

# picture <window> <name>: a framed picture of the window for docs/windows/.
picture() { framed_screenshot "$1" "$WORK/shots/$2.png"; }

# sign_shown <result window> <sign>: the result window shows the sign, as
# read off its picture.
sign_shown() {
  timeout 20 import -window "$1" "$WORK/sign.png" || return 1
  # Only the sign is yellow: read as black on white, all else white.
  convert "$WORK/sign.png" -fuzz 20% -fill black -opaque yellow -fuzz 0 -fill white \
    +opaque black -resize 200% "$WORK/sign-read.png"
  tesseract "$WORK/sign-read.png" - 2>/dev/null | tr -s ' \n' ' ' | grep -qF "$2"
}

echo "--- the installer"
trace "installing $INSTALLER silently"
wine "$INSTALLER" /S >>"$WORK/wine.log" 2>&1 || fail "the installer failed: $(tail "$WORK/wine.log")"
[ -f "$INSTALLED/australian-astrology.exe" ] || fail "nothing installed in $INSTALLED"
[ -f "$START_MENU/$TITLE.lnk" ] || fail "no Start-menu entry in $START_MENU"
wine reg query 'HKCU\Software\Classes\.zod' /ve 2>/dev/null | grep -q 'Quorrin.AustralianAstrology.Reading' ||
  fail ".zod is not associated with the program"
registry_key_exists "$UNINSTALL_KEY" || fail "no entry in Apps & features"
# Apps & features shows the size of the installed files, in KB.
size=$(($(registry_value "$UNINSTALL_KEY" EstimatedSize)))
files_size=$((($(find "$INSTALLED" -type f -printf '%s\n' | paste -sd+)) / 1024))
[ "$size" -ge $((files_size * 95 / 100)) ] && [ "$size" -le $((files_size * 105 / 100)) ] ||
  fail "Apps & features gives $size KB for $files_size KB of files"

echo "--- a reading, saved in Documents, opened again"
# From the program's own folder, as its Start-menu entry starts it.
pushd "$INSTALLED" >/dev/null
start_program
popd >/dev/null
main=$(wait_window frmMain 60)
[ "$(xdotool getwindowname "$main")" = "$TITLE v1.15" ] || fail "the main window's caption: $(xdotool getwindowname "$main")"
focus "$main"
picture "$main" main-window
type_text "Ada Lovelace"
keys Tab Down Down Down
keys alt+f
result=$(wait_window frmAustralianAstrologyResult)
wait_until 10 window_gone frmMain || fail "the main window stayed after Proceed"
wait_until 10 sign_shown "$result" "WESTERN SWAMP TURTLE" ||
  fail "the result window does not show April's sign: $(tesseract "$WORK/sign-read.png" - 2>/dev/null)"
picture "$result" result-window
focus "$result"
menu alt+f p
reading=$(wait_window frmSave)
focus "$reading"
picture "$reading" reading-window
keys alt+s
answer_wine_dialog "Save Your Zodiac Signs Result ...." ada
[ ! -e "$INSTALLED/ada.zod" ] || fail "a reading saved by name went into the program's folder"
expect_saved_reading "$DOCUMENTS/ada.zod" "Ada Lovelace" April
back_to_main_window
keys alt+o
answer_wine_dialog "Select the source file" ada.zod
result=$(wait_window frmAustralianAstrologyResult)
wait_until 10 sign_shown "$result" "WESTERN SWAMP TURTLE" || fail "the opened reading shows another sign"

echo "--- one copy: a second start is refused, a start with a file hands it over"
first=$PROGRAM_PID
BOX_PICTURE="$WORK/shots/message-box.png" second_copy_refused "$first"
write_saved_reading "$UNICODE_FOLDER/grace.zod" "Grace Hopper" December
start_program -- "$(windows_path "$UNICODE_FOLDER/grace.zod")"
wait_exit "$PROGRAM_PID" 30 || fail "the start that handed its file over did not end"
PROGRAM_PID=$first
result=$(wait_window frmAustralianAstrologyResult)
wait_until 20 sign_shown "$result" "EMU" || fail "the running copy does not show the handed reading"
no_box "$TITLE" || fail "a box came with the handed file"

echo "--- the setting in the registry"
# Exported, as reg query writes to a pipe in a code page that loses the
# masked characters.
wine reg export 'HKCU\Software\Quorrin\australian-astrology\Settings' "$(windows_path "$WORK/settings.reg")" /y \
  >>"$WORK/wine.log" 2>&1 || fail "no settings key in the registry"
python3 - "$WORK/settings.reg" <<'PY' || fail "the setting is not the masked day: $(iconv -f UTF-16 -t UTF-8 "$WORK/settings.reg")"
import datetime, re, sys
UNASSIGNED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
def unmasked(text):
    codes = [ord(c) if ord(c) in UNASSIGNED else c.encode('cp1252')[0] for c in text]
    return bytes(code - 85 for code in codes).decode('cp1252')
values = re.findall(r'^"(.*)"="(.*)"$', open(sys.argv[1], encoding='utf-16').read(), re.M)
assert len(values) == 1, values
name, value = values[0]
assert unmasked(name) == 'Duration', name
day = datetime.date.fromisoformat(unmasked(value))
assert 0 <= (datetime.date.today() - day).days <= 1, day
PY

echo "--- a web page through the shell; the about window and the closing screen; Exit"
# Wine's shell hands a web address to the desktop's opener, the stand-in of
# lib.sh that logs it.
focus "$result"
menu alt+h v
wait_until 20 grep -q 'ssd.php?page=home-page$' "$OPENED_LOG" ||
  fail "Help > Visit Us Online opened nothing: $(opened_urls)"
focus "$result"
menu alt+h a
about=$(wait_window frmAbout)
picture "$about" about-window
keys Escape
wait_until 10 window_gone frmAbout || fail "Esc did not close the about window"
focus "$result"
menu alt+f x
closing=$(wait_window frmNagScreen2)
focus "$closing"
picture "$closing" closing-screen

echo "--- installing or uninstalling while the program runs changes nothing"
untouched_while_running "the silent installer" wine "$INSTALLER" /S
untouched_while_running "the silent uninstaller" uninstall_in_place /S
# Started by hand, the installer asks first, in a box above the closing
# screen, which stays above the program's other windows.
install_state >"$WORK/install-before.txt"
wine "$INSTALLER" >>"$WORK/wine.log" 2>&1 &
installer=$!
wait_until 30 message_box "$TITLE Setup" || fail "the installer did not say that the program runs"
box=$(message_box "$TITLE Setup")
wait_active "$box" "the installer's box"
[ $(($(top_window))) = "$box" ] || fail "the installer's box is not on top"
picture "$box" installer-box
keys Escape
status=0
wait "$installer" || status=$?
[ "$status" = 2 ] || fail "the installer ended with status $status once Cancel was chosen"
install_state | diff "$WORK/install-before.txt" - >&2 || fail "the cancelled installer changed the install"
focus "$closing"
keys alt+x
wait_exit "$PROGRAM_PID" 30 || fail "Exit did not end the program"

echo "--- a saved reading opened from the desktop, in a folder of letters beyond ANSI"
# Wine's shell reads no per-user file types (HKCU\Software\Classes), which
# Windows' does: the command the association names is run as Explorer runs it
# for a double-click.
command=$(association_command)
[ "$command" = "\"$(windows_path "$INSTALLED")\\australian-astrology.exe\" \"%1\"" ] ||
  fail "a double-clicked .zod runs: $command"
cp "$DOCUMENTS/ada.zod" "$UNICODE_FOLDER/ada.zod"
start_program -- "$(windows_path "$UNICODE_FOLDER/ada.zod")"
result=$(wait_window frmAustralianAstrologyResult 60)
wait_until 10 sign_shown "$result" "WESTERN SWAMP TURTLE" || fail "the double-clicked reading shows another sign"
focus "$result"
menu alt+f x
focus "$(wait_window frmNagScreen2)"
keys alt+x
wait_exit "$PROGRAM_PID" 30 || fail "Exit did not end the program"

echo "--- installed again, into another folder: the first install goes"
# /D= takes no quotes, so a folder without spaces.
first_install=$INSTALLED
INSTALLED="$WINEPREFIX/drive_c/Astrology"
wine "$INSTALLER" /S "/D=$(windows_path "$INSTALLED")" >>"$WORK/wine.log" 2>&1 ||
  fail "the second install failed: $(tail "$WORK/wine.log")"
[ ! -e "$first_install" ] || fail "the first install is left: $(find "$first_install")"
[ -f "$INSTALLED/australian-astrology.exe" ] || fail "nothing installed in $INSTALLED"
[ "$(registry_value "$UNINSTALL_KEY" InstallLocation)" = "$(windows_path "$INSTALLED")" ] ||
  fail "Apps & features names $(registry_value "$UNINSTALL_KEY" InstallLocation)"
[ "$(association_command)" = "\"$(windows_path "$INSTALLED")\\australian-astrology.exe\" \"%1\"" ] ||
  fail "a double-clicked .zod runs: $(association_command)"
[ -f "$START_MENU/$TITLE.lnk" ] || fail "no Start-menu entry after the second install"
registry_key_exists 'HKCU\Software\Quorrin\australian-astrology\Settings' ||
  fail "installing again lost the user's setting"

echo "--- the uninstaller"
wine "$INSTALLED/uninstall.exe" /S >>"$WORK/wine.log" 2>&1 || fail "the uninstaller failed"
# It runs from a copy of itself, and the start returns before it ends.
wait_until 60 bash -c "[ ! -e '$INSTALLED' ]" || fail "left behind: $(find "$INSTALLED")"
wineserver --wait
[ ! -e "$START_MENU/$TITLE.lnk" ] || fail "the Start-menu entry is left"
[ ! -e "$first_install" ] || fail "the first install is left: $(find "$first_install")"
[ ! -e "$LOCAL_DATA/australian-astrology" ] || fail "left behind: $(find "$LOCAL_DATA/australian-astrology")"
for key in 'HKCU\Software\Classes\.zod' "$ASSOCIATION_KEY" "$UNINSTALL_KEY" 'HKCU\Software\Quorrin' \
  'HKCU\Software\QtProject'; do
  ! registry_key_exists "$key" || fail "the registry key $key is left"
done

if [ "${QUORRIN_REFRESH_DOCS:-}" = 1 ]; then
  mkdir -p "$DOCS"
  for name in main-window result-window reading-window about-window closing-screen message-box; do
    cp "$WORK/shots/$name.png" "$DOCS/$name.png"
  done
  echo "pictures under Wine refreshed in $(cd "$DOCS" && pwd)"
fi
