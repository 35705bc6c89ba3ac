#!/usr/bin/env python3
"""Writes the sample game's screen layouts as layer folders ("layers.xml" plus one PNG per picture
layer) under the data root. Each screen fills its marker layer (its background or panel) with a
colour of its own, so a screenshot tells which screen is up. Buttons that the screens draw as their
pictures alone carry their caption (the strings generator's text, in the baked font
"ruv/data/fonts/main_42_2" of the same data root) or an icon; rebuild after either changes. Rectangles that only
place something (text places, button positions and captions, spell slots) are layers without a
PNG: the loader finds no image for them. Folder parts are lower case, since the loader lists folders
in lower case; the last part keeps the case the screens ask for ("text/levelResult").

The unlock message's icons follow the unlock groups of tools/gamedata and the shop's icons
"ruv/upgrades.xml" of the same data root: run this again after either changes.

    tools/layoutgen/make_layouts.py [data root]     (default: data/ beside tools/)
"""
import contextlib
import math
import os
import shutil
import sys
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "artgen"))
sys.path.insert(0, os.path.join(HERE, "..", "gamedata"))
from make_art import GOLD, Canvas, Layout, draw_tower, font, line_colour, shade, spell_icon  # noqa: E402
from make_gamedata import episode_plate_count, generated_strings, unlock_messages  # noqa: E402
from roster import ROSTER, tower_look, tower_place  # noqa: E402

DESIGN_WIDTH, DESIGN_HEIGHT = 1024, 768
FULL_SCREEN = (0, 0, DESIGN_WIDTH, DESIGN_HEIGHT)

# Layout path -> (marker layer, marker colour). The colours differ pairwise.
MARKERS = {
    "ruv/ui": ("panel", (40, 80, 150)),
    "ruv/data/mm": ("back", (110, 50, 130)),
    "ruv/data/ingame": ("panel", (40, 110, 70)),
    "ruv/ui_levelresult": ("back_win", (170, 120, 30)),
    "ruv/main_menu": ("background", (25, 45, 90)),
    "ruv/episode_select": ("background", (70, 40, 20)),
    "ruv/level_select": ("background", (30, 90, 100)),
    "ruv/data/profiles": ("background", (90, 90, 30)),
    "ruv/options": ("title", (60, 60, 70)),
    "ruv/shop": ("background", (100, 30, 70)),
    "ruv/gem_shop": ("background", (20, 100, 140)),
    "ruv/boost_shop": ("background", (140, 70, 20)),
    "ruv/data/message": ("background", (150, 150, 160)),
}

BUTTON = (70, 90, 120)      # a button at rest
HOVER = (230, 180, 60)      # its hover, pressed or active twin
INK = (255, 255, 255)       # the caption or icon on a button picture
GOLD_INK = (250, 210, 90)   # the game's caption on its title plate


# ---------------------------------------------------------------------------------------------
def flat(width, height, colour, border=3):
    """A canvas filled with colour, framed by a darker border."""
    c = Canvas(width, height)
    pixel = bytes(colour[:3]) + bytes([colour[3] if len(colour) > 3 else 255])
    c.pixels[:] = pixel * (width * height)
    if border:
        dark = shade(colour, 0.6)
        c.rect(0, 0, width, border, dark)
        c.rect(0, height - border, width, border, dark)
        c.rect(0, 0, border, height, dark)
        c.rect(width - border, 0, border, height, dark)
    return c


def tint(index, count=12):
    """The index-th of count well separated colours, for icons and plates."""
    hue = (index * 360.0 / count) % 360
    third = 360.0 / 3
    channels = []
    for offset in (0, third, 2 * third):
        d = abs((hue - offset + 180) % 360 - 180)
        channels.append(int(60 + 170 * max(0.0, 1.0 - d / 120.0)))
    return tuple(channels)


class Captions:
    """The strings' texts drawn into pictures in the game's bold font, white on a dark shadow, so
    a button picture says what its button does."""

    def __init__(self, root):
        self.font = font(root)
        self.strings = dict(generated_strings())

    def label(self, key, size=0.34, centre=None, colour=INK, room=None, cap=None):
        """A drawer that writes the string's text with capitals size x the canvas's height (or cap
        pixels), centred on centre (by default the middle) and no wider than room (the canvas less
        its margins)."""
        text = self.strings[key]

        def draw(c):
            cx, cy = centre if centre else (c.width / 2.0, c.height / 2.0)
            height, width = cap or c.height * size, room or c.width - 24
            self.font.draw(c, text, height, (0, 0, 0, 140), (cx + 2, cy + 2), width)
            self.font.draw(c, text, height, colour + (255,), (cx, cy), width)
        return draw


def sign(plus):
    """A minus or a plus in the caption ink, for the stepping buttons."""
    def draw(c):
        w, h = c.width, c.height
        c.rect(w * 0.22, h * 0.42, w * 0.56, h * 0.16, INK + (255,))
        if plus:
            c.rect(w * 0.42, h * 0.22, w * 0.16, h * 0.56, INK + (255,))
    return draw


class ScreenLayout(Layout):
    """A screen's layers in draw order: pictures and rect-only places."""

    def __init__(self):
        super().__init__()
        self.places = []

    def add(self, name, canvas, x=0, y=0):
        folder = name.rpartition("/")[0]
        assert folder == folder.lower(), name
        assert all(layer[0] != name for layer in self.layers), name
        self.layers.append((name, x, y, canvas))

    def picture(self, name, rect, colour, border=3, label=None):
        """A flat picture; label(canvas) draws a button's caption or icon over it."""
        x, y, w, h = rect
        c = flat(w, h, colour, border)
        if label:
            label(c)
        self.add(name, c, x, y)

    def drawn(self, name, rect, draw):
        """A picture drawn by draw(canvas) on a transparent canvas."""
        x, y, w, h = rect
        c = Canvas(w, h)
        draw(c)
        self.add(name, c, x, y)

    def place(self, name, rect):
        x, y, w, h = rect
        self.add(name, Canvas(w, h), x, y)
        self.places.append(name)

    def group(self, key, rect):
        """A hover button group "button/<art>_<click name>": its position and caption box."""
        self.place("button/%s/pos" % key, rect)
        self.place("button/%s/label" % key, rect)

    def write(self, folder):
        super().write(folder)
        for name in self.places:
            path = os.path.join(folder, name + ".png")
            os.remove(path)
            with contextlib.suppress(OSError):  # the place's folders, once empty
                os.removedirs(os.path.dirname(path))


def button_pair(layout, art, rect, colour=BUTTON):
    """The "_normal" and "_over" pictures that hover buttons of that art share."""
    layout.picture("button/%s_normal" % art, rect, colour)
    layout.picture("button/%s_over" % art, rect, HOVER)


def marker(path, layout, rect=FULL_SCREEN, label=None):
    layer, colour = MARKERS[path]
    layout.picture(layer, rect, colour, border=6, label=label)


# ---------------------------------------------------------------------------------------------
# The battle's HUD: counters, speed and option buttons with their active twins, spell slots.
HUD_BUTTONS = [("pause_btn", 700), ("play_btn", 756), ("speed_btn", 812), ("options_btn", 960)]
HUD_COUNTERS = {"crystals": (20, 10, 120, 36), "mana": (160, 10, 140, 36), "coins": (320, 10, 140, 36),
                "waves": (480, 10, 200, 36)}
SPELL_SLOTS = 5


def spell_slot(index):
    return (20 + 90 * index, 676, 80, 80)


def hud_glyph(name, colour):
    def draw(c):
        c.rect(0, 0, c.width, c.height, colour + (255,))
        white = (255, 255, 255, 255)
        w, h = c.width, c.height
        if name.startswith("pause"):
            c.rect(w * 0.3, h * 0.25, w * 0.14, h * 0.5, white)
            c.rect(w * 0.56, h * 0.25, w * 0.14, h * 0.5, white)
        elif name.startswith("play"):
            c.polygon([(w * 0.35, h * 0.25), (w * 0.72, h * 0.5), (w * 0.35, h * 0.75)], white)
        elif name.startswith("speed"):
            c.polygon([(w * 0.2, h * 0.25), (w * 0.5, h * 0.5), (w * 0.2, h * 0.75)], white)
            c.polygon([(w * 0.5, h * 0.25), (w * 0.8, h * 0.5), (w * 0.5, h * 0.75)], white)
        else:
            c.ring(w / 2, h / 2, w * 0.32, 5, white)
    return draw


def counter_icon(c, name, cx, cy):
    """What a HUD counter counts, drawn at (cx, cy): gems, lives, gold or waves."""
    if name == "crystals":
        c.polygon([(cx, cy - 12), (cx + 10, cy - 3), (cx, cy + 12), (cx - 10, cy - 3)], (60, 200, 230, 255))
        c.polygon([(cx, cy - 12), (cx + 10, cy - 3), (cx - 10, cy - 3)], (170, 240, 250, 255))
    elif name == "mana":
        c.circle(cx - 5, cy - 4, 6.5, (220, 50, 60, 255))
        c.circle(cx + 5, cy - 4, 6.5, (220, 50, 60, 255))
        c.polygon([(cx - 11.5, cy - 2), (cx + 11.5, cy - 2), (cx, cy + 11)], (220, 50, 60, 255))
    elif name == "coins":
        c.circle(cx, cy, 11, (235, 190, 50, 255))
        c.ring(cx, cy, 11, 2, (150, 110, 20, 255))
        c.rect(cx - 1.5, cy - 6, 3, 12, (150, 110, 20, 255))
    else:  # waves: a war banner
        c.rect(cx - 8, cy - 12, 3, 24, (200, 190, 170, 255))
        c.polygon([(cx - 5, cy - 12), (cx + 11, cy - 7), (cx - 5, cy - 1)], (230, 70, 50, 255))


def counter_icons(c):
    """Each counter's icon just left of its number: in the gap before its place."""
    for name, (x, y, w, h) in HUD_COUNTERS.items():
        counter_icon(c, name, max(x - 8, 13), y + h / 2)


def hud_layout():
    layout = ScreenLayout()
    marker("ruv/ui", layout, (0, 0, DESIGN_WIDTH, 56), label=counter_icons)
    for name, x in HUD_BUTTONS:
        layout.drawn("button/" + name, (x, 4, 48, 48), hud_glyph(name, BUTTON))
        layout.drawn("button/%s_ac" % name, (x, 4, 48, 48), hud_glyph(name, HOVER))
    for i in range(SPELL_SLOTS):
        layout.place("spell/slot%d" % i, spell_slot(i))
    for name, rect in HUD_COUNTERS.items():
        layout.place("text/" + name, rect)
    return layout


def spell_cast_layout():
    """The looping cursor of an armed spell: top-level frames, pivot at the centre."""
    layout = ScreenLayout()
    for i in range(8):
        def draw(c, t=i / 8.0):
            c.ring(48, 48, 40 - 8 * t, 3, (255, 220, 90, 220))
            c.ring(48, 48, 20 + 8 * t, 2, (255, 160, 60, 200))
        layout.drawn("%02d" % i, (0, 0, 96, 96), draw)
    layout.marker("s_point/p", 48, 48)
    return layout


# ---------------------------------------------------------------------------------------------
# Modal message, dialog and name input; the message box uses the same layout. The refusing group
# sorts first (b1_cancel, then b1_ok); the single button of a message is the ok button moved 120
# pixels right, so ok sits 120 left of the centre and cancel as far right.
MM_OK = (292, 470, 200, 64)
MM_CANCEL = (532, 470, 200, 64)


def modal_layout():
    layout = ScreenLayout()
    marker("ruv/data/mm", layout, (212, 200, 600, 368))
    layout.picture("input", (222, 380, 580, 56), (30, 20, 40))  # the longest name, in white
    button_pair(layout, "b1", MM_OK)
    layout.group("b1_cancel", MM_CANCEL)
    layout.place("button/b1_ok/pos", MM_OK)
    # The ok group's caption box doubles as the message box's button shadow.
    x, y, w, h = MM_OK
    layout.picture("button/b1_ok/label", (x + 4, y + 4, w, h), (0, 0, 0, 110), border=0)
    layout.place("text/caption", (262, 210, 500, 70))
    layout.place("text/message", (242, 290, 540, 150))
    return layout


def ingame_menu_layout():
    layout = ScreenLayout()
    marker("ruv/data/ingame", layout, (312, 100, 400, 540))
    # The ring hangs below the HUD's bar, over the panel's top edge and above the caption.
    layout.drawn("main_menu_ico", (472, 56, 80, 80),
                 lambda c: (c.circle(40, 40, 38, (250, 210, 90, 255)), c.circle(40, 40, 24, (40, 110, 70, 255))))
    button_pair(layout, "b1", (362, 196, 300, 64))
    button_pair(layout, "b4", (640, 112, 56, 56), (150, 50, 50))
    for i, key in enumerate(("b1_resume", "b1_restart", "b1_levels", "b1_options", "b1_mmenu")):
        layout.group(key, (362, 196 + 84 * i, 300, 64))
    layout.group("b4_close", (640, 112, 56, 56))
    layout.place("text/caption", (362, 138, 300, 54))
    return layout


def level_result_layout(captions):
    layout = ScreenLayout()
    back = (212, 134, 600, 500)
    marker("ruv/ui_levelresult", layout, back)
    layout.picture("back_lose", back, (120, 35, 35), border=6)
    layout.picture("diffictly", (412, 200, 200, 40), (90, 150, 60))
    layout.picture("diffictly_lose", (412, 200, 200, 40), (90, 60, 60))
    layout.picture("victory_label", (362, 84, 300, 90), (240, 200, 60))
    layout.picture("defeat_label", (362, 84, 300, 90), (90, 30, 30))
    for i in range(3):
        layout.drawn("star%d" % i, (387 + 90 * i, 250, 70, 70), star_draw((250, 220, 60, 255)))
    for name, x, key in (("done", 272, "picture_continue"), ("restart", 442, "b1_restart"),
                         ("menu", 612, "b1_levels")):
        layout.picture("button/" + name, (x, 560, 140, 56), BUTTON, label=captions.label(key))
    layout.place("text/levelResult", (312, 140, 400, 56))
    layout.place("text/gameName", (412, 200, 200, 40))
    # Seven lines between the stars and the buttons, each a line of main_42_2 or main_42_3 high.
    rows = ("levelName", "killScore", "goldBonus", "lifeBonus", "totalScore", "gems", "bestScore")
    for i, name in enumerate(rows):
        layout.place("text/" + name, (262, 326 + 32 * i, 500, 30))
    return layout


def star_draw(colour, place=None):
    """A five-pointed star filling the canvas, or of radius r at (cx, cy) for place (cx, cy, r)."""
    def draw(c):
        cx, cy, r = place or (c.width / 2, c.height / 2, c.width / 2 - 2)
        points = []
        for k in range(10):
            radius = r if k % 2 == 0 else r * 0.45
            angle = math.radians(-90 + 36 * k)
            points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
        c.polygon(points, colour)
    return draw


# ---------------------------------------------------------------------------------------------
# Menus: main menu, episode and level select, profiles.
def title_banner(captions):
    """The game's caption in gold on the title plate, inside a gold frame."""
    def draw(c):
        w, h = c.width, c.height
        for inset in (10, 14):
            c.rect(inset, inset, w - 2 * inset, 2, GOLD_INK + (255,))
            c.rect(inset, h - inset - 2, w - 2 * inset, 2, GOLD_INK + (255,))
            c.rect(inset, inset, 2, h - 2 * inset, GOLD_INK + (255,))
            c.rect(w - inset - 2, inset, 2, h - 2 * inset, GOLD_INK + (255,))
        captions.label("game_caption", 0.3, colour=GOLD_INK, room=w - 60)(c)
    return draw


def main_menu_layout(captions):
    layout = ScreenLayout()
    marker("ruv/main_menu", layout)
    layout.picture("en", (312, 60, 400, 140), (150, 40, 40), label=title_banner(captions))
    layout.picture("ru", (312, 60, 400, 140), (40, 40, 150), label=title_banner(captions))
    # The band from y 721 answers "profile": its plate lies inside it, wide enough for the greeting
    # with the longest name.
    layout.picture("profile_plate", (182, 724, 660, 40), (60, 80, 120))
    button_pair(layout, "b1", (382, 360, 260, 60))
    button_pair(layout, "b2", (352, 260, 320, 80), (60, 120, 70))
    layout.group("b2_play", (352, 260, 320, 80))
    for i, key in enumerate(("b1_shop", "b1_options", "b1_cloze")):
        layout.group(key, (382, 364 + 76 * i, 260, 60))
    layout.place("text/greet", (187, 726, 650, 36))
    return layout


def small_padlock(c, top=0.5):
    """A padlock in the caption ink, its body's top at top x the canvas's height."""
    w, h = c.width, c.height
    size = min(w, h) * 0.4
    cx, body = w / 2.0, h * top
    c.ring(cx, body, size * 0.36, size * 0.12, INK + (255,))
    c.rect(cx - size / 2, body, size, size * 0.7, INK + (255,))
    c.circle(cx, body + size * 0.3, size * 0.09, (40, 40, 40, 255))


def padlock(c):
    c.ring(60, 50, 36, 10, (200, 200, 210, 255))
    c.rect(10, 56, 100, 80, (200, 200, 210, 255))


def play_sign(c):
    c.rect(0, 0, c.width, c.height, (60, 140, 60, 255))
    c.polygon([(64, 14), (100, 32), (64, 50)], (255, 255, 255, 255))


def pointer(points, colour=BUTTON):
    """A flat polygon in a button's colour: arrows and scroll buttons."""
    return lambda c: c.polygon(points, colour + (255,))


EPISODE_PLATE = (323, 200, 378, 370)  # covers the click area 323-701 x 201-569


def episode_scene(index):
    """An episode's picture: a sky in the episode's tint, hills, a road up to a castle on a hill;
    the hills and the castle's place change from episode to episode."""
    sky = tint(2 * index + 1, 8)

    def draw(c):
        w, h = c.width, c.height
        for y in range(8, h - 8):
            c.rect(8, y, w - 16, 1, shade(sky, 1.2 - 0.5 * y / h))
        c.circle(w * (0.2 + 0.15 * index), h * 0.2, 26, (255, 235, 170, 255))
        for layer, (base, colour) in enumerate(((0.55, (70, 110, 80)), (0.7, (60, 130, 60)))):
            points = [(8, h - 8)]
            for k in range(13):
                x = 8 + (w - 16) * k / 12.0
                points.append((x, h * base - 30 * math.sin(k * 0.9 + index * 1.7 + layer * 2.1)))
            points.append((w - 8, h - 8))
            c.polygon(points, colour + (255,))
        castle_x = w * (0.62 - 0.18 * (index % 2))
        ground = h * 0.52
        for tx in (-44, 32):
            c.rect(castle_x + tx, ground - 70, 20, 70, (110, 105, 120, 255))
            c.polygon([(castle_x + tx - 4, ground - 70), (castle_x + tx + 10, ground - 96),
                       (castle_x + tx + 24, ground - 70)], (150, 50, 50, 255))
        c.rect(castle_x - 30, ground - 50, 64, 50, (130, 125, 140, 255))
        c.rect(castle_x - 6, ground - 26, 16, 26, (50, 40, 40, 255))
        c.polygon([(castle_x - 6, h - 8), (castle_x + 10, ground), (castle_x + 2, ground), (castle_x - 40, h - 8)],
                  (176, 150, 108, 255))
    return draw


def episode_select_layout(captions):
    layout = ScreenLayout()
    marker("ruv/episode_select", layout)
    for i in range(episode_plate_count()):
        layout.picture("plates/chapter_%02d" % (i + 1), EPISODE_PLATE, tint(2 * i + 1, 8), border=8,
                       label=episode_scene(i))
    layout.drawn("plates/lock", (452, 314, 120, 140), padlock)
    layout.picture("plates/new", (600, 200, 120, 50), (220, 50, 50))
    layout.drawn("button/play", (432, 604, 160, 64), play_sign)
    layout.drawn("button/arrow_left", (120, 344, 80, 80), pointer([(76, 4), (4, 40), (76, 76)]))
    layout.drawn("button/arrow_right", (824, 344, 80, 80), pointer([(4, 4), (76, 40), (4, 76)]))
    layout.picture("button/back", (20, 690, 160, 60), BUTTON, label=captions.label("b1_back"))
    layout.picture("button/shop", (844, 690, 160, 60), BUTTON, label=captions.label("b1_shop"))
    layout.place("text/caption", (312, 16, 400, 70))
    layout.place("text/levelName", (262, 110, 500, 60))
    layout.place("text/stars", (824, 24, 180, 50))
    return layout


def level_select_layout(captions):
    layout = ScreenLayout()
    marker("ruv/level_select", layout)
    layout.drawn("skulls", (112, 96, 800, 40),
                 lambda c: [c.circle(20 + 80 * k, 20, 16, (230, 230, 220, 255)) for k in range(10)])
    # Plate pictures: the screen places them on its grid, the rectangles only give their sizes.
    for i, (name, colour) in enumerate((("super", (240, 200, 60)), ("complete", (90, 170, 90)),
                                        ("incomplete", (90, 120, 170)), ("locked", (80, 80, 80)))):
        layout.picture("plate/" + name, (80 + 125 * i, 220, 100, 100), colour, border=5,
                       label=small_padlock if name == "locked" else None)
    layout.picture("plate/new", (80, 596, 64, 32), (220, 50, 50))
    layout.picture("stars_plate/plate", (80, 640, 90, 30), (50, 40, 30))
    layout.drawn("stars_plate/star", (180, 640, 24, 24), star_draw((250, 220, 60, 255)))
    layout.picture("button/back", (20, 690, 160, 60), BUTTON, label=captions.label("b1_back"))
    layout.picture("button/upgrade", (844, 690, 160, 60), BUTTON, label=captions.label("b1_shop"))
    # Both hardcore buttons are moved to (857, 448) by the screen.
    hardcore = captions.label("unlocked_d", 0.16, centre=(70, 74))
    layout.picture("button/locked_d", (857, 448, 140, 100), (80, 80, 80),
                   label=lambda c: (small_padlock(c, 0.3), hardcore(c)))
    layout.picture("button/unlocked_d", (857, 448, 140, 100), (170, 40, 40),
                   label=lambda c: (star_draw(INK + (255,), (70, 32, 24))(c), hardcore(c)))
    # Tabs stand on the bottom edge of the active tab picture, above the first plate row.
    layout.picture("tabs/up_button_ac", (205, 149, 190, 56), HOVER)
    layout.picture("tabs/up_button_in", (205, 149, 190, 56), BUTTON)
    layout.place("text/episode", (212, 20, 600, 70))
    layout.place("text/gems", (864, 24, 140, 50))
    return layout


PROFILE_ROW = (242, 150, 540, 50)  # wide enough for the longest name
PROFILE_ROWS = 5


def profiles_layout():
    layout = ScreenLayout()
    marker("ruv/data/profiles", layout)
    for k in range(PROFILE_ROWS):
        x, y, w, h = PROFILE_ROW
        layout.picture("row%d" % (k + 1), (x, y + 64 * k, w, h), (70, 70, 40), border=2)
    button_pair(layout, "b1", (112, 600, 220, 60))
    button_pair(layout, "b2", (382, 680, 260, 70), (60, 120, 70))
    button_pair(layout, "b3", PROFILE_ROW, (180, 160, 60))
    for key, x in (("b1_create", 112), ("b1_rename", 402), ("b1_delete", 692)):
        layout.group(key, (x, 600, 220, 60))
    layout.group("b1_back", (20, 690, 220, 60))
    layout.group("b2_confirm", (382, 680, 260, 70))
    # Text slots in name order: caption, hint, profile1..5, select; row K is "profileK".
    layout.place("text/caption", (312, 16, 400, 70))
    layout.place("text/hint", (212, 530, 600, 40))
    for k in range(PROFILE_ROWS):
        x, y, w, h = PROFILE_ROW
        row = (x, y + 64 * k, w, h)
        layout.group("b3_p%d" % (k + 1), row)
        layout.place("text/profile%d" % (k + 1), row)
    layout.place("text/select", (242, 96, 540, 44))
    return layout


# ---------------------------------------------------------------------------------------------
# The options dialog: widgets made of state pictures, sliders and switches.
OPTIONS_PANEL = (212, 84, 600, 600)
VOLUME_ROWS = (("sound", 226, "picture_sound"), ("music", 296, "picture_music"))
VOLUME_CAPTION_X = 282  # the middle of the slider captions, left of the minus buttons


def volume_captions(captions):
    """The sliders' captions, drawn on the options panel beside their rows."""
    px, py = OPTIONS_PANEL[:2]

    def draw(c):
        for _, y, key in VOLUME_ROWS:
            captions.label(key, centre=(VOLUME_CAPTION_X - px, y + 24 - py), room=96, cap=18)(c)
    return draw


def options_layout(captions):
    layout = ScreenLayout()
    marker("ruv/options", layout, OPTIONS_PANEL, label=volume_captions(captions))
    small = (48, 48)
    for kind, y, _ in VOLUME_ROWS:
        for name, x, plus in ((kind + "_dec", 340, False), (kind + "_inc", 714, True)):
            layout.picture("buttons/%s/b_in" % name, (x, y) + small, BUTTON, label=sign(plus))
            layout.picture("buttons/%s/b_ac" % name, (x, y) + small, HOVER, label=sign(plus))
        base = "main_options/%s/%s_" % (kind, kind)
        layout.picture(base + "back", (398, y + 4, 308, 40), (30, 30, 35), border=2)
        layout.place(base + "frame", (398, y + 4, 308, 40))
        layout.picture(base + "bar", (408, y + 14, 288, 20), (90, 170, 220), border=0)
        layout.picture(base + "begunok", (408, y + 4, 32, 40), (240, 240, 240), border=2)
    back = captions.label("b1_back")
    for name, (x, y, w, h) in (("menu", (262, 580, 200, 60)), ("close", (562, 580, 200, 60))):
        stem = "menu" if name == "menu" else "ok"
        # The ok button's caption is the screen's own text.
        label = back if name == "menu" else None
        layout.picture("buttons/%s/%s_in" % (name, stem), (x, y, w, h), BUTTON, label=label)
        layout.picture("buttons/%s/%s_ac" % (name, stem), (x, y, w, h), HOVER, label=label)
    # Every button of the dialog draws this one shadow where it lies, so it is only the edge that
    # shows beside the menu button: stacked, the copies stay an edge.
    layout.drawn("buttons/menu/menu_sh", (266, 584, 200, 60),
                 lambda c: (c.rect(c.width - 4, 0, 4, c.height, (0, 0, 0, 110)),
                            c.rect(0, c.height - 4, c.width - 4, 4, (0, 0, 0, 110))))
    layout.place("buttons/close/close_caption", (562, 580, 200, 60))
    cheats = captions.label("picture_cheats", 0.4)
    layout.picture("buttons/cheat/cheat_in", (718, 96, 86, 36), (70, 70, 80), label=cheats)
    layout.picture("buttons/cheat/cheat_ac", (718, 96, 86, 36), HOVER, label=cheats)
    for name, stems, x in (("window", ("window_nonselected", "window_ac", "window_in", "window_sh"), 302),
                           ("fullscreen", ("fullscreen_nonselected", "fullscreen_ac", "main_menu_in", "main_menu_sh"),
                            542)):
        rect = (x, 410, 180, 60)
        nonselected, hover, selected, shadow = ("main_options/%s/%s" % (name, stem) for stem in stems)
        layout.picture(shadow, (x + 4, 414, 180, 60), (0, 0, 0, 110), border=0)
        layout.picture(nonselected, rect, BUTTON)
        layout.picture(hover, rect, HOVER)
        layout.picture(selected, rect, (60, 150, 70))
    # Each caption stands above what it names: the display switches below "window_type", the menu
    # and ok buttons below "game_type".
    for name, y in (("options_title", 94), ("sounds_and_music", 176), ("window_type", 360), ("game_type", 520)):
        layout.place("main_options/" + name, (312, y, 400, 40 if name != "options_title" else 70))
    return layout


# ---------------------------------------------------------------------------------------------
# Shops: the upgrade shop with its plate template, the gem and boost shops with their offers.
PLATE_ORIGIN = (150, 180)  # "item_plate/Layer_1"; plates are placed 99 pixels apart below it


def upgrade_icons(root):
    tree = ElementTree.parse(os.path.join(root, "ruv", "upgrades.xml"))
    icons = []
    for upgrade in tree.getroot().iter("upgrade"):
        icon = upgrade.get("icon")
        if icon and icon not in icons:
            icons.append(icon)
    return icons


def shop_layout(root, captions):
    layout = ScreenLayout()
    marker("ruv/shop", layout)
    layout.picture("back_header", (0, 0, DESIGN_WIDTH, 178), (80, 25, 55), border=0)
    layout.picture("back_footer", (0, 580, DESIGN_WIDTH, 188), (80, 25, 55), border=0)
    for name, rect, key in (("back_ac", (20, 690, 180, 60), "b1_back"), ("return_ac", (824, 690, 180, 60), "b2_play"),
                            ("gem_shop", (230, 690, 160, 60), "gemShopTitle"),
                            ("reset_premium_points", (412, 690, 200, 60), "picture_reset")):
        layout.picture("button/" + name, rect, BUTTON, label=captions.label(key))
    layout.drawn("button/up_in", (866, 138, 44, 36), pointer([(22, 2), (42, 34), (2, 34)]))
    layout.drawn("button/down_in", (866, 592, 44, 36), pointer([(2, 2), (42, 2), (22, 34)]))
    # The plate template; the screen places its parts relative to "Layer_1".
    x0, y0 = PLATE_ORIGIN
    layout.picture("item_plate/Layer_1", (x0, y0, 710, 99), (60, 40, 60), border=3)
    # The star row runs between the name (from y 14) and the description (from y 70).
    layout.picture("item_plate/stars/clear_star", (x0 + 140, y0 + 58, 164, 14), (40, 30, 40), border=1)
    for i in range(10):
        layout.drawn("item_plate/stars/star_0%d" % (i + 1), (x0 + 142 + 16 * i, y0 + 59, 12, 12),
                     star_draw((250, 220, 60, 255)))
    # The plate's hit test takes the buy button for lying x0 + 30 - w / 2 pixels left of its
    # picture: a wide button keeps most of its picture clickable.
    buy = captions.label("picture_buy")
    layout.picture("item_plate/buy_ac", (x0 + 470, y0 + 18, 240, 60), HOVER, label=buy)
    layout.picture("item_plate/buy_in", (x0 + 470, y0 + 18, 240, 60), (60, 120, 70), label=buy)
    layout.drawn("item_plate/grem", (x0 + 742, y0 + 8, 28, 28),
                 lambda c: c.polygon([(14, 2), (26, 14), (14, 26), (2, 14)], (60, 200, 230, 255)))
    for i, icon in enumerate(upgrade_icons(root)):
        layout.picture("icons/" + icon, (x0 + 17, y0 + 22, 72, 72), tint(i), border=4)
    layout.picture("tabs/up_button_ac", (205, 120, 190, 56), HOVER)
    layout.picture("tabs/up_button_in", (205, 120, 190, 56), BUTTON)
    # The slider runs from y 221 to 464 inside the drag zone x 865-909.
    layout.picture("scroll/bar", (870, 221, 20, 293), (40, 20, 35), border=2)
    layout.picture("scroll/slider_in", (866, 221, 28, 50), (200, 200, 210), border=2)
    layout.place("text/caption", (312, 16, 400, 70))
    layout.place("text/gems", (844, 30, 160, 50))
    return layout


GEM_PACKS = [(62, 90), (362, 90), (662, 90), (212, 400), (512, 400)]
BOOST_PACKS = [(62, 200), (362, 200), (662, 200)]
PACK_SIZE = 300  # the offers answer clicks 50 pixels inside each side


def gem_pile(count):
    """A pile of count gems (at most seven): four at the bottom, the rest above, around (cx, cy)."""
    def draw(c, cx, cy):
        bottom = min(count, 4)
        for r, n in enumerate((bottom, count - bottom)):
            y = cy + 10 - 20 * r
            for k in range(n):
                x = cx + (k - (n - 1) / 2.0) * 24
                c.polygon([(x, y - 12), (x + 11, y - 2), (x, y + 12), (x - 11, y - 2)], (60, 200, 230, 255))
                c.polygon([(x, y - 12), (x + 11, y - 2), (x - 11, y - 2)], (170, 240, 250, 255))
    return draw


def boost_icon(index):
    """The boosts' goods: five more lives, quicker spells, spells ready at the start."""
    def draw(c, cx, cy):
        c.circle(cx, cy, 38, (0, 0, 0, 90))
        if index == 0:
            c.circle(cx - 12, cy - 8, 14, (220, 50, 60, 255))
            c.circle(cx + 12, cy - 8, 14, (220, 50, 60, 255))
            c.polygon([(cx - 25, cy - 3), (cx + 25, cy - 3), (cx, cy + 28)], (220, 50, 60, 255))
        elif index == 1:
            for dx in (-22, 4):
                c.polygon([(cx + dx, cy - 22), (cx + dx + 24, cy), (cx + dx, cy + 22)], (250, 220, 90, 255))
        else:
            c.ring(cx, cy, 28, 6, (250, 220, 90, 255))
            c.circle(cx, cy, 16, (255, 140, 40, 255))
    return draw


def offers_layout(path, packs, badges, captions, goods, pricing):
    """An offers screen: per pack a card with its goods(index) drawn above the line of text, a
    plate with its name (pricing key + number), and the badges that mark some packs."""
    layout = ScreenLayout()
    marker(path, layout)
    for i, (x, y) in enumerate(packs):
        number = i + 1

        def card(c, colour=tint(i, len(packs) + 1), draw_goods=goods(i)):
            c.rect(50, 50, 200, 200, colour + (255,))
            c.rect(50, 50, 200, 4, shade(colour, 0.6))
            draw_goods(c, 150, 108)
        layout.drawn("button/b_%02d_in" % number, (x, y, PACK_SIZE, PACK_SIZE), card)
        layout.picture("pricing/en/%d" % number, (x + 70, y + 196, 160, 40), (120, 80, 30),
                       label=captions.label("%s%d" % (pricing, number), 0.4))
        layout.place("text/b_%02d_text" % number, (x + 60, y + 130, 180, 50))
    for index, badge in badges.items():
        x, y = packs[index]
        layout.picture("1/" + badge, (x + 90, y + 40, 120, 40), (220, 50, 50),
                       label=captions.label("picture_" + badge, 0.4))
    layout.picture("button/back_in", (20, 704, 160, 56), BUTTON, label=captions.label("b1_back"))
    layout.picture("button/offers_wall", (844, 704, 160, 56), BUTTON, label=captions.label("picture_offers"))
    layout.place("text/caption", (262, 8, 500, 48))
    layout.place("text/caption_gems", (262, 52, 500, 36))
    return layout


def gem_shop_layout(captions):
    return offers_layout("ruv/gem_shop", GEM_PACKS, {1: "most_popular", 3: "best_buy", 4: "all_inclusive"}, captions,
                         lambda i: gem_pile((1, 2, 3, 5, 7)[i]), "picture_pack_")


def boost_shop_layout(captions):
    return offers_layout("ruv/boost_shop", BOOST_PACKS, {2: "most_popular"}, captions, boost_icon,
                         "picture_boost_")


# ---------------------------------------------------------------------------------------------
# The unlock message: a picture for each id that opens a message (the first id of each group the
# level announces, and the hardcore announcement); the other ids of a group are named in its text.
def unlock_picture(unlock):
    """What an unlock id opens, drawn on its plate: the tower of that tier or branch, the spell's
    button, a banner for a hardcore announcement, else an upgrade's rising arrow under a star."""
    place = tower_place(unlock)

    def draw(c):
        w, h = c.width, c.height
        if place:
            _, tier, branch = tower_look(unlock)
            tower = draw_tower(line_colour(place[0]), tier, branch)
            c.paste(tower, (w - tower.width) // 2, (h - tower.height) // 2)
        elif unlock in ROSTER["spells"]:
            icon = spell_icon()
            c.paste(icon, (w - icon.width) // 2, (h - icon.height) // 2)
        elif unlock in ROSTER["hardcore_announcements"]:
            c.rect(w * 0.3, h * 0.15, 5, h * 0.7, (90, 70, 50, 255))
            c.polygon([(w * 0.3 + 5, h * 0.15), (w * 0.8, h * 0.3), (w * 0.3 + 5, h * 0.45)], (200, 30, 40, 255))
            c.circle(w * 0.5, h * 0.3, 7, INK + (255,))
        else:
            c.polygon([(w / 2, h * 0.3), (w * 0.75, h * 0.58), (w * 0.6, h * 0.58), (w * 0.6, h * 0.82),
                       (w * 0.4, h * 0.82), (w * 0.4, h * 0.58), (w * 0.25, h * 0.58)], INK + (255,))
            star_draw(GOLD + (255,), (w / 2, h * 0.2, 14))(c)
    return draw


def message_layout():
    layout = ScreenLayout()
    marker("ruv/data/message", layout, (212, 134, 600, 500))
    for i, unlock in enumerate(sorted(unlock_messages())):
        # A dark ground under the drawn goods: tower bodies come in the same light tints.
        layout.picture("icons/id%d" % unlock, (432, 220, 160, 160), shade(tint(i, 7), 0.45)[:3], border=6,
                       label=unlock_picture(unlock))
    layout.picture("button/ok", (432, 540, 160, 60), BUTTON)
    layout.place("text/caption", (262, 144, 500, 60))
    layout.place("text/message", (262, 396, 500, 130))
    layout.place("text/button", (432, 540, 160, 60))
    return layout


# ---------------------------------------------------------------------------------------------
# The tutorial: one folder per step of the tutorial generator's table, with an arrow towards the
# step's target and a hint box; the skip button sits in the bottom-right corner, clear of the HUD's
# bar, its spell slots and the first levels' spots. The spots come from level 1's file.
sys.path.insert(0, os.path.join(HERE, "..", "tutorialgen"))
from make_tutorial import STEPS as TUTORIAL_STEPS  # noqa: E402

TUTORIAL_COLOUR = (250, 140, 30)
TUTORIAL_LEVEL = "ruv/levels_normal/level_01_01.xml"
SPOT_HALF_HEIGHT = 20  # the arrow stops at the top of a spot picture (64 x 40)


def level_spots(root):
    tree = ElementTree.parse(os.path.join(root, *TUTORIAL_LEVEL.split("/")))
    return [(float(spot.get("x")), float(spot.get("y"))) for spot in tree.getroot().iter("spot")]


def tutorial_target(root, target):
    """The point a step's arrow shows: a spot's top edge or the centre of a HUD part."""
    kind, what = target
    if kind == "spot":
        x, y = level_spots(root)[what]
        return x, y - SPOT_HALF_HEIGHT
    if kind == "hud":
        x = dict(HUD_BUTTONS)[what]
        return x + 24, 28
    if kind == "counter":
        x, y, w, h = HUD_COUNTERS[what]
        return x + w / 2, y + h / 2
    x, y, w, h = spell_slot(what)
    return x + w / 2, y + h / 2


def arrow_draw(c):
    w, h = c.width, c.height
    c.rect(w * 0.35, 0, w * 0.3, h * 0.55, TUTORIAL_COLOUR + (255,))
    c.polygon([(0, h * 0.5), (w, h * 0.5), (w / 2, h)], TUTORIAL_COLOUR + (255,))


def tutorial_layout(root):
    layout = ScreenLayout()
    for step in TUTORIAL_STEPS:
        tx, ty = (int(v) for v in tutorial_target(root, step.target))
        # The arrow points down at the target, or up from below it when the target is near the top.
        x = min(max(tx - 24, 0), DESIGN_WIDTH - 48)
        hint_x = max(min(tx - 200, DESIGN_WIDTH - 400), 0)
        if ty < 200:
            # Beside the arrow, between the HUD's bar and the top of the messages that open at the
            # same time (the unlock message from y 134).
            layout.drawn(step.folder + "/arrow", (x, ty + 24, 48, 72), lambda c: (arrow_draw(c), flip(c)))
            side_x = x - 408 if x - 408 >= 0 else x + 56
            hint = (side_x, 58, 400, 74)
        else:
            layout.drawn(step.folder + "/arrow", (x, ty - 76, 48, 72), arrow_draw)
            hint = (hint_x, max(ty - 180, 60), 400, 90)
        layout.place(step.folder + "/hint", hint)
    return layout


def flip(c):
    """Turns the canvas upside down."""
    row = c.width * 4
    rows = [c.pixels[y * row:(y + 1) * row] for y in range(c.height)]
    c.pixels[:] = b"".join(reversed(rows))


def tutorial_skip_layout():
    layout = ScreenLayout()
    layout.picture("button/b4_normal", (814, 704, 190, 52), (90, 60, 40))
    layout.picture("button/b4_over", (814, 704, 190, 52), TUTORIAL_COLOUR)
    return layout


# ---------------------------------------------------------------------------------------------
def layouts(root):
    """Layout path -> its description, in writing order (a folder before the folders inside it)."""
    captions = Captions(root)
    return {
        "ruv/ui": hud_layout(),
        "ruv/spell_cast": spell_cast_layout(),
        "ruv/data/mm": modal_layout(),
        "ruv/data/ingame": ingame_menu_layout(),
        "ruv/ui_levelresult": level_result_layout(captions),
        "ruv/main_menu": main_menu_layout(captions),
        "ruv/episode_select": episode_select_layout(captions),
        "ruv/level_select": level_select_layout(captions),
        "ruv/data/profiles": profiles_layout(),
        "ruv/options": options_layout(captions),
        "ruv/shop": shop_layout(root, captions),
        "ruv/gem_shop": gem_shop_layout(captions),
        "ruv/boost_shop": boost_shop_layout(captions),
        "ruv/data/message": message_layout(),
        "ruv/data/tutorial": tutorial_layout(root),
        "ruv/data/tutorial/skip": tutorial_skip_layout(),
    }


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data")
    for path, layout in layouts(root).items():
        folder = os.path.join(root, *path.split("/"))
        shutil.rmtree(folder, ignore_errors=True)
        layout.write(folder)


if __name__ == "__main__":
    main()
