#!/usr/bin/env bash
# Nothing typed is lost: the real program on a virtual display, driven as a user would. The
# page's work and the text map's survive a kill, a close and the signals of a shut-down, come
# back after 新規作成 or a sample map replaced them, byte for byte as they would have been
# saved, and a saved work leaves no recovery file behind. Typing on without a pause is kept
# all the same, and so is work in a program folder that cannot be written.
#   recovery_test.sh PROGRAM_FOLDER ARTIFACTS_FOLDER
set -euo pipefail
program_folder=$1
artifacts=$2
mkdir -p "$artifacts"

source "$(dirname "$0")/support/xdriver.sh"

fail() {
  echo "recovery_test: $*" >&2
  cat "$work/program.log" >&2 2>/dev/null || true
  import -window root "$artifacts/recovery_failure.png" 2>/dev/null || true
  exit 1
}

program=$work/program
cp -r "$program_folder" "$program"
# The user's own folder, where work is looked for too, is the test's.
export XDG_DATA_HOME=$work/user
start_virtual_display

# The places a user clicks: the main window's title box, toolbar and notice, the text map
# maker's title, buttons and notice.
title_box=(236 106)
new_page=(52 40)
save_project=(316 40)
close_box=(666 10)
open_text_map=(148 40)
notice_first=(452 73)  # "開く"
notice_undo=(468 73)   # "元に戻す"
map_title=(100 74)
map_save=(244 20)
map_sample=(84 444)
map_close=(541 20)
map_notice_first=(229 396)
map_notice_undo=(252 396)

start() {
  start_program "$@" "$program/mopeco"
  wait_until_idle
}
kill_program() {
  kill -9 "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}
# Waits for the program to end by itself.
ended() {
  for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end $1"
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}
close_program() {
  click "$main" "${close_box[@]}"
  ended "when closed"
}
type_title() {
  click "$main" "${title_box[@]}"
  xdotool key ctrl+a BackSpace
  type_text "$1"
}
recovery_files() { find "${2:-$program}" -maxdepth 1 -name "recovery-*.$1" | sort; }
# Waits for the work to be kept: one recovery file of that kind (in the folder given, else the
# program folder), printed.
kept_work() {
  for _ in $(seq 60); do
    [ "$(recovery_files "$@" | wc -l)" -eq 1 ] && { recovery_files "$@"; return 0; }
    sleep 0.1
  done
  fail "no $1 work was kept"
}
save_page_as() {
  choose_file "${save_project[@]}" "$1" データファイルを保存
  for _ in $(seq 50); do [ -s "$1" ] && return 0; sleep 0.1; done
  fail "$1 was not written"
}
expect_title() {
  sed -n 3p "$1" | tr -d '\r' | grep -qx "$2" || fail "$1 has the title $(sed -n 3p "$1"), not $2"
}
open_map_maker() {
  click "$main" "${open_text_map[@]}"
  text_map=$(wait_for_dialog '^テキスト地図作成$')
}
type_map_title() {
  click "$text_map" "${map_title[@]}"
  xdotool key ctrl+a BackSpace
  type_text "$1"
}
save_map_as() {
  click "$text_map" "${map_save[@]}"
  wait_for_dialog '^地図データを保存$' >/dev/null
  type_text "$1"
  xdotool key Return
  wait_for_windows '^地図データを保存$' 0
  for _ in $(seq 50); do [ -s "$1" ] && return 0; sleep 0.1; done
  fail "$1 was not written"
}
close_map_maker() {
  click "$text_map" "${map_close[@]}"
  wait_for_windows '^テキスト地図作成$' 0
}
expect_map_title() {
  head -n 1 "$1" | tr -d '\r' | grep -qx "$2" || fail "$1 has the map title $(head -n 1 "$1"), not $2"
}

# The page, killed three seconds after its title was typed: offered at the next start.
start
type_title Killed
sleep 3
kept_work mpk >/dev/null
kill_program
start
click "$main" "${notice_first[@]}"
save_page_as "$work/killed.mpk"
expect_title "$work/killed.mpk" Killed

# Closed with ✕ before the work was kept by itself: kept at the end all the same.
type_title Closed
close_program
start
click "$main" "${notice_first[@]}"
save_page_as "$work/closed.mpk"
expect_title "$work/closed.mpk" Closed

# 新規作成 replaces unsaved work; 元に戻す brings it back as the project would save it.
type_title Replaced
kept=$(kept_work mpk)
cp "$kept" "$work/replaced-kept.mpk"
click "$main" "${new_page[@]}"
wait_until_idle
click "$main" "${notice_undo[@]}"
wait_until_idle
save_page_as "$work/replaced.mpk"
cmp "$work/replaced-kept.mpk" "$work/replaced.mpk" || fail "the page brought back differs"

# A saved page keeps no recovery file, and the next start offers nothing.
sleep 3
[ -z "$(recovery_files mpk)" ] || fail "a saved page left $(recovery_files mpk)"
close_program
[ -z "$(recovery_files mpk)" ] || fail "closing a saved page left $(recovery_files mpk)"

# Work 新規作成 replaced and the user typed on from is kept all the same: after a kill the next
# start offers the newer, and once that is saved the start after offers the other, each as it
# was.
recovery_titled() {
  local file
  for _ in $(seq 80); do
    for file in $(recovery_files mpk); do
      [ "$(sed -n 3p "$file" | tr -d '\r')" = "$1" ] && { echo "$file"; return 0; }
    done
    sleep 0.1
  done
  fail "no work titled $1 was kept"
}
start
type_title First
cp "$(recovery_titled First)" "$work/first-kept.mpk"
click "$main" "${new_page[@]}"
wait_until_idle
type_title Second
cp "$(recovery_titled Second)" "$work/second-kept.mpk"
kill_program
start
click "$main" "${notice_first[@]}"
wait_until_idle
save_page_as "$work/second.mpk"
cmp "$work/second-kept.mpk" "$work/second.mpk" || fail "the newer work brought back differs"
close_program
start
click "$main" "${notice_first[@]}"
wait_until_idle
save_page_as "$work/first.mpk"
cmp "$work/first-kept.mpk" "$work/first.mpk" || fail "the replaced work brought back differs"
close_program
[ -z "$(recovery_files mpk)" ] || fail "work taken back and saved left $(recovery_files mpk)"

# The text map's map, killed three seconds after its title was typed.
start
open_map_maker
type_map_title Station
sleep 3
kept_work map >/dev/null
kill_program
start
open_map_maker
click "$text_map" "${map_notice_first[@]}"
save_map_as "$work/killed.imp"
expect_map_title "$work/killed.imp" Station

# Closed with 終了 and the program with ✕: offered at the next opening after the next start.
type_map_title Closed
close_map_maker
close_program
start
open_map_maker
click "$text_map" "${map_notice_first[@]}"
save_map_as "$work/closed.imp"
expect_map_title "$work/closed.imp" Closed

# A sample map replaces the unsaved one; 元に戻す brings it back.
type_map_title Replaced
kept=$(kept_work map)
cp "$kept" "$work/replaced-kept.imp"
click "$text_map" "${map_sample[@]}"
wait_until_idle
click "$text_map" "${map_notice_undo[@]}"
wait_until_idle
save_map_as "$work/replaced.imp"
cmp "$work/replaced-kept.imp" "$work/replaced.imp" || fail "the map brought back differs"

# A saved map keeps no recovery file.
sleep 3
[ -z "$(recovery_files map)" ] || fail "a saved map left $(recovery_files map)"
close_map_maker
close_program
[ -z "$(recovery_files map)$(recovery_files mpk)" ] || fail "closing saved work left a recovery file"

# A shut-down, a logout or Ctrl+C half a second after typing: the program ends as a close
# ends it, the page kept.
for signal in TERM HUP INT; do
  # Programs a script starts in the background ignore SIGINT, and so leave it ignored; a
  # terminal's program does not.
  start perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV or die'
  type_title "Ended$signal"
  sleep 0.5
  kill -s "$signal" "$program_pid"
  ended "on SIG$signal"
  expect_title "$(kept_work mpk)" "Ended$signal"
  rm -f "$program"/recovery-*
done

# The same with the text map maker open: its map is kept too.
start
open_map_maker
type_map_title Ended
sleep 0.5
kill -s TERM "$program_pid"
ended "on SIGTERM with the text map maker open"
expect_map_title "$(kept_work map)" Ended
rm -f "$program"/recovery-*

# A key every one and a half seconds, never the two seconds' pause: the work is kept all the
# same, and a kill eight seconds on loses at most the last keys.
start
type_title s
for key in l o w l y; do
  sleep 1.5
  xdotool type "$key"
done
kill_program
title=$(sed -n 3p "$(kept_work mpk)" | tr -d '\r')
[[ -n $title && slowly == "$title"* ]] || fail "typing on kept the title $title"
rm -f "$program"/recovery-*

# A program folder the program may not write (it runs without the permission override root
# has): closing the window keeps the page in the user's folder, where the next start finds it.
user_folder=$XDG_DATA_HOME/mopeco
chmod a-w "$program"
start setpriv --bounding-set=-dac_override,-dac_read_search
type_title ReadOnly
click "$main" "${close_box[@]}"
# The settings cannot be written either, and the program says so.
wait_for_dialog '^モペコ$' >/dev/null
xdotool key Return
ended "when closed in a read-only folder"
chmod u+w "$program"
expect_title "$(kept_work mpk "$user_folder")" ReadOnly
start
click "$main" "${notice_first[@]}"
save_page_as "$work/read-only.mpk"
expect_title "$work/read-only.mpk" ReadOnly
close_program
[ -z "$(recovery_files mpk "$user_folder")" ] || fail "work taken back stayed in $user_folder"
echo "recovery_test: 13 passed, 0 failed"
