#!/usr/bin/env python3
"""Writes the sample game's screen layouts as layer folders ("layers.xml" plus one flat-coloured PNG
per picture layer) under the data root. Each screen fills its marker layer (its background or
panel) with a colour of its own, so a screenshot tells which screen is up. Rectangles that only
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
from make_art import Canvas, Layout, shade  # noqa: E402
from make_gamedata import episode_plate_count, unlock_messages  # noqa: E402

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

    def picture(self, name, rect, colour, border=3):
        x, y, w, h = rect
        self.add(name, flat(w, h, colour, border), x, y)

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


def marker(path, layout, rect=FULL_SCREEN):
    layer, colour = MARKERS[path]
    layout.picture(layer, rect, colour, border=6)


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


def hud_layout():
    layout = ScreenLayout()
    marker("ruv/ui", layout, (0, 0, DESIGN_WIDTH, 56))
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


def level_result_layout():
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
    for name, x in (("done", 272), ("restart", 442), ("menu", 612)):
        layout.picture("button/" + name, (x, 560, 140, 56), BUTTON)
    layout.place("text/levelResult", (312, 140, 400, 56))
    layout.place("text/gameName", (412, 200, 200, 40))
    # Seven lines between the stars and the buttons, each a line of main_42_2 or main_42_3 high.
    rows = ("levelName", "killScore", "goldBonus", "lifeBonus", "totalScore", "gems", "bestScore")
    for i, name in enumerate(rows):
        layout.place("text/" + name, (262, 326 + 32 * i, 500, 30))
    return layout


def star_draw(colour):
    def draw(c):
        cx, cy, r = c.width / 2, c.height / 2, c.width / 2 - 2
        points = []
        for k in range(10):
            radius = r if k % 2 == 0 else r * 0.45
            angle = math.radians(-90 + 36 * k)
            points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
        c.polygon(points, colour)
    return draw


# ---------------------------------------------------------------------------------------------
# Menus: main menu, episode and level select, profiles.
def main_menu_layout():
    layout = ScreenLayout()
    marker("ruv/main_menu", layout)
    layout.picture("en", (312, 60, 400, 140), (200, 60, 60))
    layout.picture("ru", (312, 60, 400, 140), (60, 60, 200))
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


def episode_select_layout():
    layout = ScreenLayout()
    marker("ruv/episode_select", layout)
    for i in range(episode_plate_count()):
        layout.picture("plates/chapter_%02d" % (i + 1), EPISODE_PLATE, tint(2 * i + 1, 8), border=8)
    layout.drawn("plates/lock", (452, 314, 120, 140), padlock)
    layout.picture("plates/new", (600, 200, 120, 50), (220, 50, 50))
    layout.drawn("button/play", (432, 604, 160, 64), play_sign)
    layout.drawn("button/arrow_left", (120, 344, 80, 80), pointer([(76, 4), (4, 40), (76, 76)]))
    layout.drawn("button/arrow_right", (824, 344, 80, 80), pointer([(4, 4), (76, 40), (4, 76)]))
    layout.picture("button/back", (20, 690, 160, 60), BUTTON)
    layout.picture("button/shop", (844, 690, 160, 60), BUTTON)
    layout.place("text/caption", (312, 16, 400, 70))
    layout.place("text/levelName", (262, 110, 500, 60))
    layout.place("text/stars", (824, 24, 180, 50))
    return layout


def level_select_layout():
    layout = ScreenLayout()
    marker("ruv/level_select", layout)
    layout.drawn("skulls", (112, 96, 800, 40),
                 lambda c: [c.circle(20 + 80 * k, 20, 16, (230, 230, 220, 255)) for k in range(10)])
    # Plate pictures: the screen places them on its grid, the rectangles only give their sizes.
    for i, (name, colour) in enumerate((("super", (240, 200, 60)), ("complete", (90, 170, 90)),
                                        ("incomplete", (90, 120, 170)), ("locked", (80, 80, 80)))):
        layout.picture("plate/" + name, (80 + 125 * i, 220, 100, 100), colour, border=5)
    layout.picture("plate/new", (80, 596, 64, 32), (220, 50, 50))
    layout.picture("stars_plate/plate", (80, 640, 90, 30), (50, 40, 30))
    layout.drawn("stars_plate/star", (180, 640, 24, 24), star_draw((250, 220, 60, 255)))
    layout.picture("button/back", (20, 690, 160, 60), BUTTON)
    layout.picture("button/upgrade", (844, 690, 160, 60), BUTTON)
    # Both hardcore buttons are moved to (857, 448) by the screen.
    layout.picture("button/locked_d", (857, 448, 140, 100), (80, 80, 80))
    layout.picture("button/unlocked_d", (857, 448, 140, 100), (170, 40, 40))
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
def options_layout():
    layout = ScreenLayout()
    marker("ruv/options", layout, (212, 84, 600, 600))
    small = (48, 48)
    for kind, y in (("sound", 226), ("music", 296)):
        for name, x in ((kind + "_dec", 262), (kind + "_inc", 714)):
            layout.picture("buttons/%s/b_in" % name, (x, y) + small, BUTTON)
            layout.picture("buttons/%s/b_ac" % name, (x, y) + small, HOVER)
        base = "main_options/%s/%s_" % (kind, kind)
        layout.picture(base + "back", (326, y + 4, 372, 40), (30, 30, 35), border=2)
        layout.place(base + "frame", (326, y + 4, 372, 40))
        layout.picture(base + "bar", (336, y + 14, 352, 20), (90, 170, 220), border=0)
        layout.picture(base + "begunok", (336, y + 4, 32, 40), (240, 240, 240), border=2)
    for name, (x, y, w, h) in (("menu", (262, 580, 200, 60)), ("close", (562, 580, 200, 60))):
        stem = "menu" if name == "menu" else "ok"
        layout.picture("buttons/%s/%s_in" % (name, stem), (x, y, w, h), BUTTON)
        layout.picture("buttons/%s/%s_ac" % (name, stem), (x, y, w, h), HOVER)
    layout.picture("buttons/menu/menu_sh", (266, 584, 200, 60), (0, 0, 0, 110), border=0)
    layout.place("buttons/close/close_caption", (562, 580, 200, 60))
    layout.picture("buttons/cheat/cheat_in", (752, 94, 40, 40), (70, 70, 80))
    layout.picture("buttons/cheat/cheat_ac", (752, 94, 40, 40), HOVER)
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


def shop_layout(root):
    layout = ScreenLayout()
    marker("ruv/shop", layout)
    layout.picture("back_header", (0, 0, DESIGN_WIDTH, 178), (80, 25, 55), border=0)
    layout.picture("back_footer", (0, 580, DESIGN_WIDTH, 188), (80, 25, 55), border=0)
    for name, rect in (("back_ac", (20, 690, 180, 60)), ("return_ac", (824, 690, 180, 60)),
                       ("gem_shop", (230, 690, 160, 60)), ("reset_premium_points", (412, 690, 200, 60))):
        layout.picture("button/" + name, rect, BUTTON)
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
    layout.picture("item_plate/buy_ac", (x0 + 470, y0 + 18, 240, 60), HOVER)
    layout.picture("item_plate/buy_in", (x0 + 470, y0 + 18, 240, 60), (60, 120, 70))
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


def offers_layout(path, packs, badges):
    layout = ScreenLayout()
    marker(path, layout)
    for i, (x, y) in enumerate(packs):
        number = i + 1

        def card(c, colour=tint(i, len(packs) + 1)):
            c.rect(50, 50, 200, 200, colour + (255,))
            c.rect(50, 50, 200, 4, shade(colour, 0.6))
        layout.drawn("button/b_%02d_in" % number, (x, y, PACK_SIZE, PACK_SIZE), card)
        layout.picture("pricing/en/%d" % number, (x + 70, y + 196, 160, 40), (240, 240, 240))
        layout.place("text/b_%02d_text" % number, (x + 60, y + 130, 180, 50))
    for index, badge in badges.items():
        x, y = packs[index]
        layout.picture("1/" + badge, (x + 90, y + 40, 120, 40), (220, 50, 50))
    layout.picture("button/back_in", (20, 704, 160, 56), BUTTON)
    layout.picture("button/offers_wall", (844, 704, 160, 56), BUTTON)
    layout.place("text/caption", (262, 8, 500, 48))
    layout.place("text/caption_gems", (262, 52, 500, 36))
    return layout


def gem_shop_layout():
    return offers_layout("ruv/gem_shop", GEM_PACKS, {1: "most_popular", 3: "best_buy", 4: "all_inclusive"})


def boost_shop_layout():
    return offers_layout("ruv/boost_shop", BOOST_PACKS, {2: "most_popular"})


# ---------------------------------------------------------------------------------------------
# The unlock message: a picture for each id that opens a message (the first id of each group the
# level announces, and the hardcore announcement); the other ids of a group are named in its text.
def message_layout():
    layout = ScreenLayout()
    marker("ruv/data/message", layout, (212, 134, 600, 500))
    for i, unlock in enumerate(sorted(unlock_messages())):
        layout.picture("icons/id%d" % unlock, (432, 220, 160, 160), tint(i, 7), border=6)
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
    return {
        "ruv/ui": hud_layout(),
        "ruv/spell_cast": spell_cast_layout(),
        "ruv/data/mm": modal_layout(),
        "ruv/data/ingame": ingame_menu_layout(),
        "ruv/ui_levelresult": level_result_layout(),
        "ruv/main_menu": main_menu_layout(),
        "ruv/episode_select": episode_select_layout(),
        "ruv/level_select": level_select_layout(),
        "ruv/data/profiles": profiles_layout(),
        "ruv/options": options_layout(),
        "ruv/shop": shop_layout(root),
        "ruv/gem_shop": gem_shop_layout(),
        "ruv/boost_shop": boost_shop_layout(),
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
