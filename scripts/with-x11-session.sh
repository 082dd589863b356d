#!/usr/bin/env bash
# Runs a command in an X session of its own, as on a desktop: Xvfb on a free display
# with one screen of the given size, and openbox managing its windows.
#   with-x11-session.sh WIDTHxHEIGHT command [argument...]
# The command's exit code is the script's; the server and the window manager end with it.
set -euo pipefail
size=$1
shift

folder=$(mktemp -d)
server=
manager=
finish() {
  [[ -n $manager ]] && kill "$manager" 2>/dev/null && wait "$manager" 2>/dev/null
  [[ -n $server ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$folder"
}
trap finish EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
mkfifo "$folder/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$folder/display" 2>"$folder/server.log" &
server=$!
read -r display <"$folder/display" || true
if [[ -z $display ]]; then
  cat "$folder/server.log" >&2
  echo "with-x11-session: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$display"

openbox --sm-disable >"$folder/manager.log" 2>&1 &
manager=$!
# Windows shown before openbox manages the screen would get no frame.
for ((i = 0; i < 200; ++i)); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  cat "$folder/manager.log" >&2
  echo "with-x11-session: openbox did not take the screen" >&2
  exit 1
fi

# libxkbcommon-x11 copies atom names with strndup() from replies that hold no NUL after
# them, which the sanitizer's strict string checks take for an overflow; the rest stay on.
if [[ -n ${ASAN_OPTIONS:-} ]]; then
  export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
QT_QPA_PLATFORM=xcb "$@"
