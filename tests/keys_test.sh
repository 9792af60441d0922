#!/usr/bin/env bash
# Presses the key of each command of the main window in the real program on a virtual display,
# and checks what each did: the files saved, opened and written, the windows that open, the
# help asked for, the end. Undo and redo are seen in the project saved after them.
#   keys_test.sh PROGRAM_FOLDER ARTIFACTS_FOLDER
set -euo pipefail
program_folder=$1
artifacts=$2
mkdir -p "$artifacts"
rm -f "$artifacts/keys_failure.png"

source "$(dirname "$0")/support/xdriver.sh"

fail() {
  echo "keys: $*" >&2
  cat "$work/program.log" >&2 2>/dev/null || true
  import -window root "$artifacts/keys_failure.png" 2>/dev/null || true
  exit 1
}

cp -r "$program_folder" "$work/program"
# The desktop's opener stands in, so that the help F1 asks for is seen.
mkdir "$work/bin"
printf '#!/bin/sh\necho "$@" >> "%s/opened"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

press() { xdotool key --clearmodifiers "$1"; wait_until_idle; }
# The title as the project file holds it (its third line).
saved_title() { sed -n '3p' "$1" | tr -d '\r'; }
expect_title() {
  local said
  said=$(saved_title "$work/cafe.mpk")
  [ "$said" = "$1" ] || fail "after $2 the saved title is '$said', not '$1'"
}
# Ctrl+S saves into the project's own file without asking.
save_unasked() {
  press ctrl+s
  [ -z "$(xdotool search --onlyvisible --name '^データファイルを保存$' 2>/dev/null)" ] ||
    fail "Ctrl+S asked for a file the project already has"
}
# Types into the dialog titled so, then clicks back into the title box: with no window manager,
# the keyboard does not go back to the main window by itself.
in_dialog() {
  local title=$1 typed=$2
  wait_for_dialog "^$title\$" >/dev/null
  type_text "$typed"
  xdotool key Return
  wait_for_windows "^$title\$" 0
  click "$main" 300 106
}

start_virtual_display
start_program "$work/program/mopeco"

click "$main" 236 106
type_text ab
press ctrl+s
in_dialog データファイルを保存 "$work/cafe.mpk"
expect_title ab "Ctrl+S with no file yet"

# A pause ends a burst of typing: the next is a step of its own.
sleep 2.5
type_text cd
press ctrl+z
save_unasked
expect_title ab "Ctrl+Z"
press ctrl+y
save_unasked
expect_title abcd "Ctrl+Y"
press ctrl+z
press ctrl+shift+z
save_unasked
expect_title abcd "Ctrl+Shift+Z"

press ctrl+shift+e
in_dialog HTMLファイルを保存 "$work/cafe.html"
grep -q '<TITLE>abcd</TITLE>' "$work/cafe.html" || fail "Ctrl+Shift+E did not write the page"

# The check window the key opened, closed by its "閉じる" at its bottom right.
opened_and_closed() {
  local title=$1 id WIDTH HEIGHT
  wait_for_windows "^$title\$" 1
  id=$(xdotool search --onlyvisible --name "^$title\$")
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
  click "$id" $((WIDTH - 56)) $((HEIGHT - 24))
  wait_for_windows "^$title\$" 0
  click "$main" 300 106
}
# The preview stays beside the window, and follows the page, until it is closed.
press F5
wait_for_windows '^ケータイ表示$' 1
click "$main" 300 106
press F7
opened_and_closed ページの確認

press F1
for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.1; done
grep -q 'help.html' "$work/opened" 2>/dev/null || fail "F1 did not open the help"

# A new page has no file: Ctrl+S asks.
press ctrl+n
type_text zz
press ctrl+s
wait_for_dialog '^データファイルを保存$' >/dev/null
press Escape
wait_for_windows '^データファイルを保存$' 0
click "$main" 300 106

press ctrl+o
in_dialog データファイルを開く "$work/cafe.mpk"
type_text e
save_unasked
expect_title abcde "Ctrl+O"

xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
program_pid=""
echo "keys: every key of the main window did its command"
