#!/usr/bin/env python3
"""The logo screens on the X screen ($DISPLAY), seen through libX11 in a box in the middle of it:

    logo_click.py <first logo r,g,b> <second logo r,g,b> <ready file>

Creates the ready file once it sees the screen, so the program can be started then. Waits up to
30 s for the first logo (most of the box's matching pixels close to its colour), clicks
the middle of the screen with xdotool and expects the second logo within 1.2 s of the click (the
first one would stay for 2.5 s). A pixel is close when every channel lies within 40.
"""
import ctypes
import ctypes.util
import subprocess
import sys
import time

TOLERANCE = 40
ALL_PLANES = ctypes.c_ulong(~0 & 0xFFFFFFFFFFFFFFFF)
Z_PIXMAP = 2


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the colour masks.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


def grab(box_w, box_h):
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    screen_w, screen_h = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    width, height = min(box_w, screen_w), min(box_h, screen_h)
    x0, y0 = (screen_w - width) // 2, (screen_h - height) // 2
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), x0, y0, width, height, ALL_PLANES, Z_PIXMAP)
    if not image or image.contents.bits_per_pixel != 32:
        sys.exit("unsupported screen format")
    img = image.contents
    raw = ctypes.string_at(img.data, img.bytes_per_line * height)
    rows = []
    for y in range(height):
        line = raw[y * img.bytes_per_line:y * img.bytes_per_line + width * 4]
        # 32-bit TrueColor, least significant byte first: blue, green, red, unused.
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, width * 4, 4)])
    x11.XCloseDisplay(display)
    return width, height, rows


BOX = (300, 150)
ENOUGH = 500


def counts_of(colours):
    _, _, rows = grab(*BOX)
    counts = [0] * len(colours)
    for row in rows:
        for pixel in row:
            for index, colour in enumerate(colours):
                if all(abs(pixel[c] - colour[c]) <= TOLERANCE for c in range(3)):
                    counts[index] += 1
    return counts


def wait_for(index, colours, seconds):
    """True once colour index dominates the box, within seconds."""
    deadline = time.monotonic() + seconds
    while True:
        counts = counts_of(colours)
        if counts[index] > ENOUGH and all(n < ENOUGH for i, n in enumerate(counts) if i != index):
            return True, counts
        if time.monotonic() > deadline:
            return False, counts
        time.sleep(0.02)


def main():
    colours = [tuple(int(c) for c in text.split(",")) for text in sys.argv[1:3]]
    counts_of(colours)
    open(sys.argv[3], "w").close()
    seen, counts = wait_for(0, colours, 30.0)
    if not seen:
        sys.exit("the first logo is not on the screen (pixels near each logo: %s)" % counts)
    # Xvfb starts with the pointer in the middle, where "mousemove --sync" would wait forever.
    subprocess.run(["xdotool", "mousemove", "960", "540", "click", "1"], check=True)
    seen, counts = wait_for(1, colours, 1.2)
    if not seen:
        sys.exit("the click did not skip to the second logo (pixels near each logo: %s)" % counts)


if __name__ == "__main__":
    main()
