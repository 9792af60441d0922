# Drives the real program on a virtual display, as a user would: sourced by the end-to-end
# test and the screenshot script. The caller defines fail() and sets $main to the main window
# once it is up.

# Starts Xvfb on a free display and exports DISPLAY; the caller stops $xvfb_pid.
start_virtual_display() {
  local work=$1
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
