# Drives the real program on a virtual display, as a user would: sourced by the tests, the
# scripts and the benchmarks that start it. Sourcing makes a scratch folder $work; at exit the
# program ($program_pid), the display and the folder are taken away. The caller defines fail()
# and sets $main to the main window once it is up.

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
stop_session() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap stop_session EXIT

# Starts Xvfb on a free display and exports DISPLAY; the caller stops $xvfb_pid.
start_virtual_display() {
  exec 3<> "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$work/display")"
}

# Waits until `count` visible windows are titled as the pattern says.
wait_for_windows() {
  local pattern=$1 count=$2
  for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | wc -l)" -eq "$count" ] && return 0
    sleep 0.1
  done
  fail "expected $count windows named $pattern"
}

# Waits until a dialog named as the pattern has the keyboard focus, and prints its window.
wait_for_dialog() {
  local pattern=$1 id
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
      if [ "$id" != "$main" ] && [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$id" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  fail "no dialog named $pattern took the keyboard focus"
}

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.2; }
type_text() { xdotool type --delay 5 "$1"; sleep 0.2; }

# Chooses a file in the file dialog that the click at x, y of the main window opens.
choose_file() {
  click "$main" "$1" "$2"
  wait_for_dialog '^モペコ$' >/dev/null
  type_text "$3"
  xdotool key Return
  wait_for_windows '^モペコ$' 1
}
