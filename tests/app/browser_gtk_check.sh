# The program on a virtual display: its window "Kovrelin Browser" at 40,40,
# 640 x 480 with its menu bar (F10 opens the first menu: a menu window
# appears, Escape closes it); a second start with a folder hands the folder
# to the running program and ends, which keeps one window; Ctrl+Q writes
# the preferences, read back by prefs_check.py.
# usage: sh browser_gtk_check.sh PROGRAM PREFS_CHECK_PY WORK_FOLDER
set -u
program=$1 check=$2 work=$3
rm -rf "$work" && mkdir -p "$work/first" "$work/second" "$work/config"
export XDG_CONFIG_HOME="$work/config"
prefs="$work/config/kovrelin/kovrelin-browser.prefs"
. "$(dirname "$0")/browser_check_lib.sh"

start_browser "$work/first"
sleep 1
geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry"
echo "$geometry" | grep -q "Position: 40,40" || fail "window not at 40,40"
echo "$geometry" | grep -q "Geometry: 640x480" || fail "window not 640 x 480"

xdotool windowfocus --sync "$wid"
sleep 0.3
before=$(xdotool search --onlyvisible --class kovrelin-browser | wc -l)
xdotool key --window "$wid" F10
sleep 1
after=$(xdotool search --onlyvisible --class kovrelin-browser | wc -l)
echo "visible windows before F10: $before, after: $after"
[ "$after" -gt "$before" ] || fail "F10 opened no menu"
xdotool key Escape
sleep 0.5
xdotool key Escape
sleep 0.5

timeout 30 "$program" "$work/second" > "$work/second.txt" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "the second start ended with $status"
sleep 1
count=$(xdotool search --onlyvisible --name "^Kovrelin Browser$" | wc -l)
[ "$count" -eq 1 ] || fail "$count browser windows"
kill -0 "$pid" 2> /dev/null || fail "the first instance has gone"

xdotool windowfocus --sync "$wid"
sleep 0.3
xdotool key --window "$wid" ctrl+q
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status after Ctrl+Q"
[ -f "$prefs" ] || fail "no preferences file"
python3 "$check" "$prefs" --bounds 40,40,520,680 --folder "$work/second" || fail "preferences"
echo "browser_gtk_check passed"
