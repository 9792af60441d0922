#!/usr/bin/env bash
# Runs a command in a D-Bus session of its own with a desktop secret store (gnome-keyring),
# unlocked with a password of the test's, and a home folder of its own, so a test keeps
# passwords as the program does on a desktop and never touches the user's own keyring.
#   keyring_session.sh COMMAND [ARGUMENTS…]
set -euo pipefail
if [ -z "${KEYRING_SESSION:-}" ]; then
  exec env KEYRING_SESSION=1 dbus-run-session -- "$0" "$@"
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
printf 'keyring of the test' | gnome-keyring-daemon --unlock --components=secrets > /dev/null
# The keyring ends with the session's bus.
"$@"
