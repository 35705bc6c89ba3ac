#!/usr/bin/env python3
"""The logo screens on the X screen ($DISPLAY), seen through libX11 in a box in the middle of it:

    logo_click.py <first logo r,g,b> <second logo r,g,b> <ready file>

Creates the ready file once it sees the screen, so the program can be started then. Waits up to
30 s for the first logo (most of the box's matching pixels close to its colour), clicks
the middle of the screen with xdotool and expects the second logo within 1.2 s of the click (the
first one would stay for 2.5 s). A pixel is close when every channel lies within 40.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from driver import XScreen  # noqa: E402

TOLERANCE = 40


def grab(box_w, box_h):
    screen = XScreen()
    width, height = min(box_w, screen.width), min(box_h, screen.height)
    rows = screen.box((screen.width - width) // 2, (screen.height - height) // 2, width, height)
    screen.close()
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
