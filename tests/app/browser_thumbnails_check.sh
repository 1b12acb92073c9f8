# The program on a virtual display browsing the examples: the first
# thumbnails are drawn (not the window's background colour), a click on
# another thumbnail renders it in the preview box, a click on the preview
# opens the full-screen render, which the next click closes.
# usage: sh browser_thumbnails_check.sh PROGRAM EXAMPLES_FOLDER WORK_FOLDER
set -u
program=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work/config" && cp -r "$examples" "$work/examples"
export XDG_CONFIG_HOME="$work/config"
fail() {
  echo "FAIL: $*"
  kill "$pid" 2> /dev/null
  exit 1
}
# Pixels of the content rectangle (layout coordinates, below the menu bar)
# that differ from the colour, out of all.
differing() { # image x y w h colour
  convert "$1" -crop "$4x$5+$2+$(($3 + menu))" +repage "$work/crop.png"
  convert -size "$4x$5" "xc:$6" "$work/solid.png"
  compare -metric AE -fuzz 3% "$work/crop.png" "$work/solid.png" null: 2>&1
}
shot() { import -window "$wid" "$work/$1.png"; }

timeout 120 "$program" "$work/examples" > "$work/out.txt" 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kovrelin Browser$" | head -n 1)
[ -n "$wid" ] || fail "no window"
sleep 4
shot first
# The menu bar ends where the right edge's column turns background-coloured.
menu=$(convert "$work/first.png" -crop 1x80+636+0 +repage txt:- |
         awk -F'[,:]' '/#303034/ { print $2; exit }')
[ -n "$menu" ] || fail "no content below the menu bar"
echo "menu bar height $menu"
for box in "178 8" "235 8" "292 8"; do
  set -- $box
  n=$(differing "$work/first.png" "$1" "$2" 52 39 "rgb(48,48,52)")
  echo "thumbnail at $1,$2: $n of 2028 pixels differ from the background"
  [ "${n%%.*}" -gt 1000 ] || fail "thumbnail at $1,$2 not drawn"
done

xdotool mousemove --window "$wid" 261 $((27 + menu)) click 1
sleep 3
shot second
n=$(compare -metric AE -fuzz 3% "$work/first.png" "$work/second.png" null: 2>&1)
p=$(convert "$work/first.png" "$work/second.png" -crop "290x218+259+$((214 + menu))" +repage \
      -compose difference -composite -format "%[fx:mean>0.001]" info: 2>&1)
echo "after the click on thumbnail 1: $n pixels changed; preview changed: $p"
[ "$p" = "1" ] || fail "the preview did not change"

before=$(xdotool search --onlyvisible --class kovrelin-browser | wc -l)
xdotool mousemove --window "$wid" 400 $((320 + menu)) click 1
sleep 12
during=$(xdotool search --onlyvisible --class kovrelin-browser | wc -l)
echo "visible windows before the full-screen render: $before, during: $during"
[ "$during" -gt "$before" ] || fail "no full-screen render"
xdotool mousemove 500 400 sleep 0.3 mousedown 1 sleep 0.2 mouseup 1
sleep 3
after=$(xdotool search --onlyvisible --class kovrelin-browser | wc -l)
echo "after the closing click: $after"
[ "$after" -eq "$before" ] || fail "the full-screen render stayed open"

xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" ctrl+q 2> /dev/null
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"
echo "browser_thumbnails_check passed"
