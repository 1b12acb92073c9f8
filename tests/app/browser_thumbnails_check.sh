# The program on a virtual display browsing the examples: the first
# thumbnails are drawn (not the window's background colour), a click on
# another thumbnail renders it in the preview box, a click on the preview
# opens the full-screen render, which the next click closes.
# usage: sh browser_thumbnails_check.sh PROGRAM EXAMPLES_FOLDER WORK_FOLDER
set -u
program=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work/config" && cp -r "$examples" "$work/examples"
export XDG_CONFIG_HOME="$work/config"
. "$(dirname "$0")/browser_check_lib.sh"
# Pixels of the content rectangle (layout coordinates, below the menu bar)
# that differ from the colour, out of all.
differing() { # image x y w h colour
  convert "$1" -crop "$4x$5+$2+$(($3 + menu))" +repage "$work/crop.png"
  convert -size "$4x$5" "xc:$6" "$work/solid.png"
  compare -metric AE -fuzz 3% "$work/crop.png" "$work/solid.png" null: 2>&1
}
visible() { xdotool search --onlyvisible --class kovrelin-browser | wc -l; }

start_browser "$work/examples"
# The menu bar ends where the right edge's column turns background-coloured;
# every thumbnail of the first row differs from the background.
thumbnails_drawn() {
  shot first
  menu=$(convert "$work/first.png" -crop 1x80+636+0 +repage txt:- |
           awk -F'[,:]' '/#303034/ { print $2; exit }')
  [ -n "$menu" ] || return 1
  for box in "178 8" "235 8" "292 8"; do
    set -- $box
    n=$(differing "$work/first.png" "$1" "$2" 52 39 "rgb(48,48,52)")
    [ "${n%%.*}" -gt 1000 ] || return 1
  done
}
await 60 thumbnails_drawn || fail "thumbnails not drawn (menu bar height '$menu')"
echo "menu bar height $menu; the first row of thumbnails is drawn"

xdotool mousemove --window "$wid" 261 $((27 + menu)) click 1
preview_changed() {
  shot second
  p=$(convert "$work/first.png" "$work/second.png" -crop "290x218+259+$((214 + menu))" +repage \
        -compose difference -composite -format "%[fx:mean>0.001]" info: 2>&1)
  [ "$p" = "1" ]
}
await 60 preview_changed || fail "the preview did not change"
echo "after the click on thumbnail 1 the preview changed"

before=$(visible)
xdotool mousemove --window "$wid" 400 $((320 + menu)) click 1
more_windows() { [ "$(visible)" -gt "$before" ]; }
await 60 more_windows || fail "no full-screen render"
echo "visible windows before the full-screen render: $before, during: $(visible)"
# The render waits for a click once it has drawn; click until it closes.
closed() {
  xdotool mousemove 500 400 sleep 0.3 mousedown 1 sleep 0.2 mouseup 1
  sleep 1
  [ "$(visible)" -eq "$before" ]
}
await 90 closed || fail "the full-screen render stayed open"
echo "after the closing click: $(visible)"

xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" ctrl+q 2> /dev/null
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"
echo "browser_thumbnails_check passed"
