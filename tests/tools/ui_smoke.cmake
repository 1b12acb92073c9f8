kv_add_tool(ui_smoke ui)

# The smoke test on a virtual display (no window manager): wait for the
# window, capture the screen, click, capture again, focus the window and
# press Escape; the program must end with status 0. python3 (zlib) then
# reads the captures: the window's colours where they belong, and the
# click's green marker in the second capture only.
set(kv_smoke_dir ${CMAKE_CURRENT_BINARY_DIR}/ui_smoke_run)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/ui_smoke_run.sh [=[
set -eu
prog=$1 resources=$2 out=$3
rm -rf "$out" && mkdir -p "$out"
"$prog" "$resources" > "$out/stdout.txt" &
pid=$!
wid=$(timeout 20 xdotool search --sync --name "Kovrelin smoke" | head -n 1)
sleep 1
import -window root "$out/before.png"
xdotool mousemove 180 170 click 1
sleep 1
import -window root "$out/after.png"
xdotool windowfocus "$wid"
sleep 0.3
xdotool key Escape
status=0
wait "$pid" || status=$?
cat "$out/stdout.txt"
test "$status" -eq 0
]=])
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/ui_smoke_check.py [=[
import struct, sys, zlib

def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG: " + path
    pos, idat, head = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour = head[0], head[1], head[2], head[3]
    channels = {2: 3, 6: 4}[colour]
    assert depth == 8, "depth %d" % depth
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        f = raw[at]
        line = bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        rows.append(bytes(line))
        prev = line
    return lambda x, y: tuple(rows[y][x * channels:x * channels + 3])

before, after = read_png(sys.argv[1]), read_png(sys.argv[2])
expect = [((150, 150), (255, 0, 0), "red left half"),
          ((380, 150), (0, 0, 255), "blue right half"),
          ((110, 335), (255, 255, 255), "white text band")]
failed = False
for (x, y), colour, what in expect:
    for img, name in ((before, "before"), (after, "after")):
        if img(x, y) != colour:
            print("%s: %s at (%d, %d) is %s, not %s" % (name, what, x, y, img(x, y), colour))
            failed = True
dark = sum(1 for x in range(100, 420) for y in range(312, 338) if max(before(x, y)) < 100)
if dark < 30:
    print("no title text in the band (%d dark pixels)" % dark)
    failed = True
if before(180, 170) != (255, 0, 0):
    print("before the click: (180, 170) is %s" % (before(180, 170),))
    failed = True
for dx, dy in ((0, 0), (-4, -4), (4, 4)):
    if after(180 + dx, 170 + dy) != (0, 255, 0):
        print("no click marker at (%d, %d): %s" % (180 + dx, 170 + dy, after(180 + dx, 170 + dy)))
        failed = True
if after(186, 170) != (255, 0, 0):
    print("marker too wide: (186, 170) is %s" % (after(186, 170),))
    failed = True
sys.exit(1 if failed else 0)
]=])
add_test(NAME ui_smoke_xvfb
         COMMAND xvfb-run -a -s "-screen 0 1024x768x24"
                 sh ${CMAKE_CURRENT_BINARY_DIR}/ui_smoke_run.sh $<TARGET_FILE:ui_smoke>
                 ${PROJECT_BINARY_DIR}/Resources ${kv_smoke_dir})
set_tests_properties(ui_smoke_xvfb PROPERTIES ENVIRONMENT "NO_AT_BRIDGE=1" TIMEOUT 120
                     FIXTURES_SETUP ui_smoke_captures)
add_test(NAME ui_smoke_captures_check
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_BINARY_DIR}/ui_smoke_check.py
                 ${kv_smoke_dir}/before.png ${kv_smoke_dir}/after.png)
set_tests_properties(ui_smoke_captures_check PROPERTIES FIXTURES_REQUIRED ui_smoke_captures)
