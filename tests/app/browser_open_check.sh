# The running browser over D-Bus: a second start with a tree file makes it
# show the file (the preview changes), and an 'opcd' message with opcode 504,
# built by python3's struct and sent with gdbus, draws the darkened band at
# the window's bottom.
# usage: sh browser_open_check.sh PROGRAM EXAMPLES_FOLDER WORK_FOLDER
set -u
program=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work/config" && cp -r "$examples" "$work/examples"
export XDG_CONFIG_HOME="$work/config"
. "$(dirname "$0")/browser_check_lib.sh"
# The brightest channel of the pixel at x, y of the window.
brightest() {
  convert "$1" -crop "1x1+$2+$3" +repage -format "%[fx:255*max(r,max(g,b))]" info:
}

start_browser "$work/examples"
sleep 4
shot first

timeout 30 "$program" "$work/examples/Patterns/Ripples.kovr" > "$work/second.txt" 2>&1 ||
  fail "the second start failed"
shown() {
  shot second
  changed=$(convert "$work/first.png" "$work/second.png" -crop "200x150+300+250" +repage \
              -compose difference -composite -format "%[fx:mean>0.001]" info:)
  [ "$changed" = "1" ]
}
await 60 shown || fail "the file was not shown"
echo "preview changed after the second start"

payload=$(python3 -c '
import struct
data = struct.pack("<I", 504) + b"Hello"
print("[" + ", ".join("byte 0x%02x" % b for b in data) + "]")')
gdbus call --session --dest org.kovrelin.Qjpr --object-path /org/kovrelin/Qjpr \
  --method org.gtk.Actions.Activate opcd "[<@ay $payload>]" "{}" > /dev/null ||
  fail "gdbus could not send opcd"
band_drawn() {
  shot band
  height=$(convert "$work/band.png" -format "%h" info:)
  low=$(brightest "$work/band.png" 2 $((height - 3)))
  high=$(brightest "$work/band.png" 2 $((height - 40)))
  [ "${low%.*}" -le 28 ] && [ "${high%.*}" -ge 46 ]
}
await 30 band_drawn || fail "no darkened band (in the band $low, above it $high)"
echo "left edge: in the band $low, above it $high"

xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" ctrl+q 2> /dev/null
wait "$pid"
echo "browser_open_check passed"
