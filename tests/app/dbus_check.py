"""The running program's D-Bus actions, from outside.

Payloads are built here from their documented layouts with struct and sent
with gdbus (org.freedesktop.Application.ActivateAction):
  opcd: u32 opcode little-endian, then data (324 bytes used at most);
  opcf: u32 opcode, then one record (u32 type, u8 state, u8 folder flag,
        64 bytes name, u16 length n + n bytes parent path), or any block.
Checks: 'opcd' 504 darkens the window's bottom 32 pixels (ImageMagick
reads the screenshots); short, long and damaged payloads leave the program
running; a second start with a tree file hands it over and ends; "quit"
ends the program; a second start with a tree file in
another folder changes what the window shows.

usage: python3 dbus_check.py PROGRAM WORK_FOLDER EXAMPLES_FOLDER
(the first tree file of the examples, in name order, is handed over)
(run under xvfb-run -a dbus-run-session)
"""

import os
import shutil
import struct
import subprocess
import sys
import time

APP_ID = "org.kovrelin.Qjpr"
OBJECT_PATH = "/org/kovrelin/Qjpr"
# The window's client area (menu bar included) at 40,40, 640 x 480.
BAND = "640x32+40+488"
WINDOW = "640x480+40+40"


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def fourcc(text):
    return struct.unpack(">I", text.encode("ascii"))[0]


def opcd(opcode, data=b""):
    return struct.pack("<I", opcode) + data


def record(type_code, name, parent):
    encoded = name.encode("utf-8")[:63]
    path = parent.encode("utf-8")
    return (struct.pack("<IBB", fourcc(type_code), 3, 0) + bytes([len(encoded)]) +
            encoded.ljust(63, b"\0") + struct.pack("<H", len(path)) + path)


def gvariant_bytes(payload):
    return "[<@ay [" + ", ".join("0x%02x" % b for b in payload) + "]>]"


def activate(action, payload=None):
    parameter = "@av []" if payload is None else gvariant_bytes(payload)
    result = subprocess.run(
        ["gdbus", "call", "--session", "--dest", APP_ID, "--object-path", OBJECT_PATH,
         "--method", "org.freedesktop.Application.ActivateAction", action, parameter, "{}"],
        capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        fail("gdbus %s: %s" % (action, result.stderr.strip()))


def name_has_owner():
    result = subprocess.run(
        ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
         "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner", APP_ID],
        capture_output=True, text=True, timeout=30)
    return "true" in result.stdout


def grab(area, path):
    subprocess.run(["import", "-window", "root", "-crop", area, "+repage", path], check=True,
                   timeout=30)


def differing_pixels(a, b):
    # compare prints the count on standard error and ends with 1 when they differ.
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                         text=True, timeout=30)
    return int(float(out.stderr.split()[0]))


def band_mean(path):
    grab(BAND, path)
    out = subprocess.run(["convert", path, "-colorspace", "gray", "-format", "%[fx:mean]",
                          "info:"], capture_output=True, text=True, check=True, timeout=30)
    return float(out.stdout)


def main():
    program, work, examples = sys.argv[1:4]
    trees = sorted(os.path.join(d, f) for d, _, files in os.walk(examples) for f in files
                   if f.endswith(".kovr"))
    if not trees:
        fail("no tree files in " + examples)
    tree = trees[0]
    shutil.rmtree(work, ignore_errors=True)
    # The program starts on an empty folder; the tree handed over later lies
    # in another one.
    folder = os.path.join(work, "empty")
    handed = os.path.join(work, "trees", "sub", "handed.kovr")
    os.makedirs(folder)
    os.makedirs(os.path.dirname(handed))
    os.makedirs(os.path.join(work, "config"))
    shutil.copy(tree, handed)
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"))
    log = open(os.path.join(work, "out.txt"), "w")
    browser = subprocess.Popen([program, folder], env=env, stdout=log, stderr=log)
    try:
        deadline = time.time() + 60
        while not name_has_owner():
            if time.time() > deadline or browser.poll() is not None:
                fail("the program never owned " + APP_ID)
            time.sleep(0.3)
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                        "^Kovrelin Browser$"], capture_output=True, timeout=60)
        time.sleep(2)

        before = band_mean(os.path.join(work, "before.png"))
        activate("opcd", opcd(504))
        time.sleep(1)
        after = band_mean(os.path.join(work, "after.png"))
        print("bottom band mean before %.3f, after 504 %.3f" % (before, after))
        if not after <= before * 0.75 + 0.01:
            fail("'opcd' 504 did not darken the bottom band")

        # Payloads the program must take without reading past them.
        unknown = fourcc("zzzz")
        for action, payload in [
                ("opcd", b"\x01\x02\x03"), ("opcd", opcd(unknown, bytes(396))),
                ("opcf", bytes(10)), ("opcf", opcd(unknown, bytes(72))),
                ("opcf", opcd(fourcc("ofsr"), record("qjKv", "missing.kv", folder)))]:
            activate(action, payload)
        time.sleep(1)
        if browser.poll() is not None:
            fail("the program ended after the short and damaged payloads")

        shown_before = os.path.join(work, "window_before.png")
        grab(WINDOW, shown_before)
        second = subprocess.run([program, handed], env=env, capture_output=True, timeout=60)
        if second.returncode != 0:
            fail("the second start ended with %d" % second.returncode)
        time.sleep(1)
        if browser.poll() is not None:
            fail("the program ended after a file was handed over")
        time.sleep(2)
        shown_after = os.path.join(work, "window_after.png")
        grab(WINDOW, shown_after)
        changed = differing_pixels(shown_before, shown_after)
        print("window pixels changed by the handed-over file: %d" % changed)
        if changed < 1000:
            fail("the running program did not show the handed-over file")

        activate("quit")
        try:
            status = browser.wait(timeout=30)
        except subprocess.TimeoutExpired:
            fail("'quit' did not end the program")
        if status != 0:
            fail("the program ended with %d after 'quit'" % status)
    finally:
        if browser.poll() is None:
            browser.kill()
    print("dbus_check passed")


if __name__ == "__main__":
    main()
