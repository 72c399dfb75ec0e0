#!/usr/bin/env python3
"""read_screen.py - the whole screen of a Wayland compositor, as its own
screenshot service hands it over, written as an 8-bit RGB(A) PNG.

    read_screen.py gnome-shell|kwin OUT.png

Run with the compositor's session bus in DBUS_SESSION_BUS_ADDRESS. The GNOME
shell hands screenshots only to the screenshot tool, so this caller owns that
tool's name first; KWin sends raw pixels down a pipe (its permission check is
turned off for the test session). Exits 1 with the reason when the screen
cannot be read.
"""
import struct
import sys
import threading
import zlib

import dbus


def gnome_shell(bus, out):
    bus.request_name("org.gnome.Screenshot")
    shell = bus.get_object("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot")
    done, _ = shell.Screenshot(False, False, out, dbus_interface="org.gnome.Shell.Screenshot")
    if not done:
        sys.exit("the shell took no screenshot")


def write_png(out, width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    data = zlib.compress(b"".join(b"\0" + row for row in rows), 1)
    with open(out, "wb") as png:
        png.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data)
                  + chunk(b"IEND", b""))


def kwin(bus, out):
    import os

    readable, writable = os.pipe()
    received = []
    reader = threading.Thread(target=lambda: received.append(os.fdopen(readable, "rb").read()))
    reader.start()
    screenshot = bus.get_object("org.kde.KWin.ScreenShot2", "/org/kde/KWin/ScreenShot2")
    result = screenshot.CaptureActiveScreen(
        dbus.Dictionary({}, signature="sv"), dbus.types.UnixFd(writable),
        dbus_interface="org.kde.KWin.ScreenShot2")
    os.close(writable)
    reader.join()
    width, height, stride = int(result["width"]), int(result["height"]), int(result["stride"])
    raw = received[0]
    # 32-bit pixels in the machine's order (little-endian 0xAARRGGBB: B, G, R, A).
    rows = []
    for y in range(height):
        line = raw[y * stride:y * stride + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3] = line[2::4]
        rgb[1::3] = line[1::4]
        rgb[2::3] = line[0::4]
        rows.append(bytes(rgb))
    write_png(out, width, height, rows)


if __name__ == "__main__":
    compositor, out = sys.argv[1], sys.argv[2]
    {"gnome-shell": gnome_shell, "kwin": kwin}[compositor](dbus.SessionBus(), out)
