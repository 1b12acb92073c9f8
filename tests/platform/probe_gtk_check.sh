# The real GTK chooser driven by xdotool on a virtual display: typing a
# fixture's path and Return makes platform_probe print the path and its
# type; Escape makes it print "cancelled" and exit 1. Then the GTK pop-up
# menu of alert strings 1-3 with entry 2 disabled: Down from the
# highlighted entry 1 skips entry 2, Return chooses entry 3.
# usage: sh probe_gtk_check.sh PLATFORM_PROBE WORK_FOLDER
set -u
probe=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
fixture="$work/fixture.kovr"
echo tree > "$fixture"

# Starts the open dialog, waits for its window, then sends the keys given.
run() {
  timeout 60 "$probe" --gtk open qjKv > "$work/out.txt" 2> "$work/err.txt" &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --class platform_probe | tail -n 1)
  if [ -z "$wid" ]; then
    echo "no chooser window"
    kill "$pid" 2> /dev/null
    return 1
  fi
  sleep 1.5
  xdotool windowfocus --sync "$wid"
  sleep 0.3
  "$@"
  status=0
  wait "$pid" || status=$?
  return 0
}

# Ctrl+L opens the location entry first: typed at once, the first
# characters can be lost while the entry appears.
typePath() {
  xdotool key ctrl+l
  sleep 0.8
  xdotool key ctrl+a
  xdotool type --delay 30 "$fixture"
  sleep 1
  xdotool key Return
}

failed=0
run typePath || failed=1
printf '%s\tqjKv\n' "$fixture" > "$work/expected.txt"
if [ "$status" -ne 0 ] || ! cmp -s "$work/out.txt" "$work/expected.txt"; then
  echo "typed path: status $status, printed:"; cat "$work/out.txt"; cat "$work/err.txt"
  failed=1
fi
run xdotool key Escape || failed=1
if [ "$status" -ne 1 ] || [ "$(cat "$work/out.txt")" != "cancelled" ]; then
  echo "escape: status $status, printed:"; cat "$work/out.txt"; cat "$work/err.txt"
  failed=1
fi
timeout 60 "$probe" --gtk menu 128 3 0 2 > "$work/out.txt" 2> "$work/err.txt" &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --class platform_probe > /dev/null
sleep 0.8
xdotool key Down
sleep 0.3
xdotool key Return
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ] || [ "$(cut -f 1 "$work/out.txt")" != "3" ]; then
  echo "menu: status $status, printed:"; cat "$work/out.txt"; cat "$work/err.txt"
  failed=1
fi
exit $failed
