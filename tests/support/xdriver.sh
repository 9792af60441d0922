# Drives the real program on a virtual display, as a user would: sourced by the tests, the
# scripts and the benchmarks that start it. Sourcing makes a scratch folder $work; at exit the
# program ($program_pid), the display and the folder are taken away. The caller defines fail()
# and sets $main to the main window once it is up.

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
stop_session() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  # The display is gone before the next one may take its number.
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap stop_session EXIT

# Starts Xvfb and exports DISPLAY; stop_session stops it. The display number is drawn at
# random from a high range, away from the desktop's own and any other program's, and another
# is drawn when that one is taken. Without -noreset the server starts afresh each time its
# last client leaves, and a program that connects just then is turned away.
start_virtual_display() {
  local attempt number
  for attempt in $(seq 20); do
    number=$((RANDOM % 800 + 100))
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset 2>"$work/xvfb.log" &
    xvfb_pid=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  fail "no virtual display could be started"
}

# Starts the program at the path given (after the command that runs it, if any), from the root
# folder so it finds its files by its own place only, and waits for its main window: $main.
start_program() {
  (cd / && exec "$@" >"$work/program.log" 2>&1) &
  program_pid=$!
  wait_for_windows '^モペコ$' 1
  main=$(xdotool search --onlyvisible --name '^モペコ$')
}

# Waits until the program has handled all it was sent, that is until its main thread waits
# for events (poll or ppoll) at three readings in a row. A window that has gone from the
# screen says only that the program has begun to handle its closing: input sent before the
# handler ends can reach a window still blocked by the closing dialog and be lost.
wait_until_idle() {
  local calm=0 call
  [ -r "/proc/$program_pid/syscall" ] || { sleep 1; return 0; }
  for _ in $(seq 500); do
    call=$(cut -d' ' -f1 "/proc/$program_pid/syscall" 2>/dev/null || true)
    if [ "$call" = 7 ] || [ "$call" = 271 ]; then
      calm=$((calm + 1))
      [ "$calm" -ge 3 ] && return 0
    else
      calm=0
    fi
    sleep 0.02
  done
  fail "the program stayed busy"
}

# Waits until `count` visible windows are titled as the pattern says and the program is idle;
# up to 30 s, as a program built with the sanitizers on a busy machine may need.
wait_for_windows() {
  local pattern=$1 count=$2
  for _ in $(seq 300); do
    if [ "$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | wc -l)" -eq "$count" ]; then
      wait_until_idle
      return 0
    fi
    sleep 0.1
  done
  fail "expected $count windows named $pattern"
}

# Waits until a dialog named as the pattern has the keyboard focus, and prints its window.
wait_for_dialog() {
  local pattern=$1 id
  for _ in $(seq 300); do
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

# Chooses a file in the file dialog, titled as the last argument says, that the click at x, y
# of the main window opens.
choose_file() {
  click "$main" "$1" "$2"
  wait_for_dialog "^$4\$" >/dev/null
  type_text "$3"
  xdotool key Return
  wait_for_windows "^$4\$" 0
}
