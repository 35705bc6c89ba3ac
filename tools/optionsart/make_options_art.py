#!/usr/bin/env python3
"""Draws the sample art of the options dialog and the message box and writes their layouts as layer
folders ("layers.xml" plus one PNG per image layer) under the data root: "ruv/options" and
"ruv/data/mm". Layers without a picture are rectangles only (text places). Every run writes the same
bytes.

    tools/optionsart/make_options_art.py [data root]     (default: data/ beside tools/)
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "artgen"))
from make_art import Canvas, shade, write_file  # noqa: E402

PANEL = (62, 48, 38)
TROUGH = (28, 24, 20)
GOLD = (214, 168, 62)
GREEN = (70, 150, 60)
BLUE = (70, 110, 170)


class Layout:
    """Layers in order: (name, x, y, width, height, canvas or None for a rectangle only)."""

    def __init__(self):
        self.layers = []

    def image(self, name, x, y, canvas):
        self.layers.append((name, x, y, canvas.width, canvas.height, canvas))

    def rect(self, name, x, y, width, height):
        self.layers.append((name, x, y, width, height, None))

    def write(self, folder):
        lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<Layers>"]
        for index, (name, x, y, width, height, canvas) in enumerate(self.layers):
            assert name == name.lower(), name
            lines.append('  <Layer name="%s" x="%d" y="%d" width="%d" height="%d" opacity="255" ind="%d"/>'
                         % (name, x, y, width, height, index))
            if canvas is not None:
                write_file(os.path.join(folder, name + ".png"), canvas.png())
        lines.append("</Layers>")
        write_file(os.path.join(folder, "layers.xml"), ("\n".join(lines) + "\n").encode())


def plate(width, height, colour, border=3, alpha=255):
    """A rectangle with a darker border and a lighter top band."""
    c = Canvas(width, height)
    c.rect(0, 0, width, height, shade(colour, 0.55, alpha))
    c.rect(border, border, width - 2 * border, height - 2 * border, shade(colour, 1.0, alpha))
    c.rect(border, border, width - 2 * border, max(1, (height - 2 * border) // 3), shade(colour, 1.25, alpha))
    return c


def shadow(width, height):
    c = Canvas(width, height)
    c.rect(0, 0, width, height, (0, 0, 0, 90))
    return c


def knob(width, height):
    c = Canvas(width, height)
    c.ellipse(width / 2, height / 2, width / 2, height / 2, shade(GOLD, 0.6))
    c.ellipse(width / 2, height / 2, width / 2 - 3, height / 2 - 3, GOLD)
    return c


def arrow(size, colour, pointing_right):
    c = plate(size, size, colour)
    mid = size / 2
    tip, back = (size * 0.72, size * 0.28) if pointing_right else (size * 0.28, size * 0.72)
    c.polygon([(back, size * 0.25), (tip, mid), (back, size * 0.75)], (240, 230, 200))
    return c


def options_layout():
    lay = Layout()
    lay.image("title", 192, 110, plate(640, 548, PANEL, border=6))
    lay.rect("main_options/options_title", 312, 124, 400, 70)
    lay.rect("main_options/sounds_and_music", 312, 200, 400, 40)
    for name, y in (("sound", 252), ("music", 312)):
        lay.rect("main_options/%s/%s_frame" % (name, name), 300, y - 10, 424, 44)
        lay.image("main_options/%s/%s_back" % (name, name), 312, y, plate(400, 24, TROUGH, border=2))
        lay.image("main_options/%s/%s_bar" % (name, name), 312, y, plate(400, 24, GREEN, border=2))
        lay.image("main_options/%s/%s_begunok" % (name, name), 312, y - 8, knob(32, 40))
        for step, x, right in (("dec", 258, False), ("inc", 726, True)):
            lay.image("buttons/%s_%s/b_in" % (name, step), x, y - 8, arrow(40, BLUE, right))
            lay.image("buttons/%s_%s/b_ac" % (name, step), x, y - 8, arrow(40, shade(BLUE, 1.4), right))
    lay.rect("main_options/game_type", 312, 370, 400, 40)
    lay.rect("main_options/window_type", 312, 410, 400, 40)
    switches = (("window", "window", 292), ("fullscreen", "main_menu", 532))
    for name, selected, x in switches:
        lay.image("main_options/%s/%s_nonselected" % (name, name), x, 462, plate(200, 72, PANEL))
        lay.image("main_options/%s/%s_ac" % (name, name), x, 462, plate(200, 72, shade(PANEL, 1.5)))
        lay.image("main_options/%s/%s_in" % (name, selected), x, 462, plate(200, 72, GOLD))
        lay.image("main_options/%s/%s_sh" % (name, selected), x + 4, 466, shadow(200, 72))
    lay.image("buttons/menu/menu_sh", 236, 574, shadow(160, 56))
    lay.image("buttons/menu/menu_in", 232, 570, plate(160, 56, BLUE))
    lay.image("buttons/menu/menu_ac", 232, 570, plate(160, 56, shade(BLUE, 1.4)))
    lay.image("buttons/close/ok_in", 632, 570, plate(160, 56, GREEN))
    lay.image("buttons/close/ok_ac", 632, 570, plate(160, 56, shade(GREEN, 1.4)))
    lay.rect("buttons/close/close_caption", 632, 570, 160, 56)
    lay.image("buttons/cheat/cheat_in", 796, 118, plate(24, 24, PANEL, border=1))
    lay.image("buttons/cheat/cheat_ac", 796, 118, plate(24, 24, shade(PANEL, 1.2), border=1))
    return lay


def message_box_layout():
    lay = Layout()
    lay.image("back", 232, 270, plate(560, 310, PANEL, border=6))
    lay.rect("text/message", 272, 300, 480, 160)
    lay.image("button/b1_normal", 412, 488, plate(200, 64, BLUE))
    lay.image("button/b1_over", 412, 488, plate(200, 64, shade(BLUE, 1.4)))
    lay.image("button/b1_ok/label", 422, 498, shadow(180, 44))
    lay.rect("button/b1_cancel/label", 422, 498, 180, 44)
    return lay


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                                              "data")
    options_layout().write(os.path.join(root, "ruv", "options"))
    message_box_layout().write(os.path.join(root, "ruv", "data", "mm"))


if __name__ == "__main__":
    main()
