#!/usr/bin/env python3
"""Draws the sample game's sprite art and writes it as layer folders ("layers.xml" plus one PNG per
layer) under the data root: the unit and tower containers, the interface parts, the income icon,
the side panels beside the menus, the loading picture and the logo screens. Pictures are procedural (silhouettes facing right, one colour per tower line, tier
marks), so every run writes the same bytes. Names are lower case and folder names unique across the
containers, since each top-level folder becomes the art set "ruv/" + folder.

    tools/artgen/make_art.py [data root]     (default: data/ beside tools/)
"""
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------
# The ids, art keys and containers come from the game's roster (tools/gamedata/roster.py): unit
# art "unit<id>", tower art "tower<line>_<tier 1..3>" and "tower<line>_1a" / "_1b" for the branches.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gamedata"))
from roster import ROSTER, line_tower_ids, shadow_units, tower_icon_name, tower_look  # noqa: E402

# Which unit container holds which unit art: the first tier of units, then the second and third.
UNIT_CONTAINERS = ["t1units", "t2units", "t3units"]
# A tower line's colour, by its art container.
LINE_COLOURS = {"dart": (70, 150, 60), "cannon": (90, 110, 140), "artillery": (170, 80, 50), "support": (140, 80, 170)}
FLAME_ART = tower_look(ROSTER["flame_thrower"])[0]  # the art with its "fire" group
DIRECTIONS = 32


def line_colour(line):
    return LINE_COLOURS[ROSTER["tower_lines"][line]["art"]]


def drawn_units():
    """The units with art of their own, in id order (unit tiers share their unit's)."""
    return sorted(ROSTER["units"] + shadow_units())


def unit_container(unit):
    """Spreads the units over the three containers by id order."""
    ids = drawn_units()
    return UNIT_CONTAINERS[ids.index(unit) * len(UNIT_CONTAINERS) // len(ids)]


# ---------------------------------------------------------------------------------------------
# A small RGBA canvas with the few shapes the art needs; colours are (r, g, b) or (r, g, b, a).
class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = bytearray(width * height * 4)

    def blend(self, x, y, colour):
        if x < 0 or y < 0 or x >= self.width or y >= self.height:
            return
        r, g, b = colour[0], colour[1], colour[2]
        a = max(0, min(255, int(colour[3]))) if len(colour) > 3 else 255
        i = (y * self.width + x) * 4
        da = self.pixels[i + 3]
        out_a = a + da * (255 - a) // 255
        if out_a == 0:
            return
        for c, value in enumerate((r, g, b)):
            self.pixels[i + c] = min(255, (int(value) * a + self.pixels[i + c] * da * (255 - a) // 255) // out_a)
        self.pixels[i + 3] = out_a

    def ellipse(self, cx, cy, rx, ry, colour):
        if rx <= 0 or ry <= 0:
            return
        for y in range(int(cy - ry), int(cy + ry) + 1):
            for x in range(int(cx - rx), int(cx + rx) + 1):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.blend(x, y, colour)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def ring(self, cx, cy, r, thickness, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r - thickness <= d <= r:
                    self.blend(x, y, colour)

    def rect(self, x0, y0, w, h, colour):
        for y in range(int(y0), int(y0 + h)):
            for x in range(int(x0), int(x0 + w)):
                self.blend(x, y, colour)

    def polygon(self, points, colour):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            sy = y + 0.5
            xs = []
            for i in range(len(points)):
                (x1, y1), (x2, y2) = points[i], points[(i + 1) % len(points)]
                if (y1 <= sy < y2) or (y2 <= sy < y1):
                    xs.append(x1 + (sy - y1) * (x2 - x1) / (y2 - y1))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.ceil(b - 0.5))):
                    self.blend(x, y, colour)

    def bar(self, x1, y1, x2, y2, half_width, colour):
        """A thick line as a quadrilateral."""
        dx, dy = x2 - x1, y2 - y1
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * half_width, dx / length * half_width
        self.polygon([(x1 + nx, y1 + ny), (x2 + nx, y2 + ny), (x2 - nx, y2 - ny), (x1 - nx, y1 - ny)], colour)

    def paste(self, other, x0, y0):
        """Draws another canvas over this one with its corner at (x0, y0)."""
        for y in range(other.height):
            for x in range(other.width):
                i = (y * other.width + x) * 4
                if other.pixels[i + 3]:
                    self.blend(x0 + x, y0 + y, tuple(other.pixels[i:i + 4]))

    def png(self):
        rows = b"".join(b"\x00" + bytes(self.pixels[y * self.width * 4:(y + 1) * self.width * 4])
                        for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + \
            chunk(b"IEND", b"")


def read_png(path):
    """(width, height, RGBA bytes) of an 8-bit RGB or RGBA PNG without interlacing."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour_type in (2, 6) and not interlace, path
            channels = 3 if colour_type == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    previous = bytearray(stride)
    out = bytearray()
    for row in range(height):
        kind = raw[row * (stride + 1)]
        line = bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        if channels == 4:
            out += line
        else:
            for x in range(width):
                out += line[x * 3:x * 3 + 3] + b"\xff"
    return width, height, out


class BitmapFont:
    """One of the game's baked fonts (an XML ".fnt" and its PNG pages, the glyph in the alpha
    channel), for captions drawn into pictures: the pictures say what the game's texts say, in
    the game's own letters."""

    def __init__(self, path):
        import xml.etree.ElementTree as ElementTree
        root = ElementTree.parse(path).getroot()
        folder = os.path.dirname(path)
        self.base = int(root.find("common").get("base"))
        self.pages = {}
        for page in root.iter("page"):
            w, _, pixels = read_png(os.path.join(folder, page.get("file")))
            self.pages[int(page.get("id"))] = (w, pixels[3::4])
        self.chars = {}
        for char in root.iter("char"):
            self.chars[int(char.get("id"))] = {k: int(char.get(k)) for k in
                                               ("x", "y", "width", "height", "xoffset", "yoffset", "xadvance", "page")}
        glyph = self.chars[ord("H")]
        self.cap_top, self.cap_height = glyph["yoffset"], glyph["height"]

    def width(self, text):
        return sum(self.chars[ord(ch)]["xadvance"] for ch in text if ord(ch) in self.chars)

    def draw(self, canvas, text, cap_height, colour, centre=None, max_width=None):
        """Draws one line with capital letters cap_height pixels tall (smaller when the line would
        be wider than max_width), centred on the point centre (default: the canvas's middle)."""
        scale = cap_height / float(self.cap_height)
        if max_width is not None:
            scale = min(scale, max_width / float(max(1, self.width(text))))
        cx, cy = centre if centre else (canvas.width / 2.0, canvas.height / 2.0)
        pen = cx - self.width(text) * scale / 2.0
        top = cy - (self.cap_top + self.cap_height / 2.0) * scale
        alpha = colour[3] if len(colour) > 3 else 255
        for ch in text:
            glyph = self.chars.get(ord(ch))
            if glyph is None:
                continue
            self._glyph(canvas, glyph, pen + glyph["xoffset"] * scale, top + glyph["yoffset"] * scale, scale,
                        colour[:3], alpha)
            pen += glyph["xadvance"] * scale

    def _glyph(self, canvas, glyph, gx, gy, scale, rgb, alpha):
        page_width, coverage = self.pages[glyph["page"]]
        w, h = glyph["width"], glyph["height"]
        if not w or not h:
            return
        # Each target pixel takes the mean coverage of the glyph pixels it spans.
        for ty in range(int(math.floor(gy)), int(math.ceil(gy + h * scale))):
            y0, y1 = max(0.0, (ty - gy) / scale), min(float(h), (ty + 1 - gy) / scale)
            if y1 <= y0:
                continue
            for tx in range(int(math.floor(gx)), int(math.ceil(gx + w * scale))):
                x0, x1 = max(0.0, (tx - gx) / scale), min(float(w), (tx + 1 - gx) / scale)
                if x1 <= x0:
                    continue
                total, count = 0, 0
                for sy in range(int(y0), max(int(y0) + 1, int(math.ceil(y1)))):
                    row = (glyph["y"] + sy) * page_width + glyph["x"]
                    for sx in range(int(x0), max(int(x0) + 1, int(math.ceil(x1)))):
                        total += coverage[row + sx]
                        count += 1
                value = total * alpha // (count * 255)
                if value:
                    canvas.blend(tx, ty, rgb + (value,))


def font(root, name="main_42_2"):
    """The baked font of that name under the data root."""
    return BitmapFont(os.path.join(root, "ruv", "data", "fonts", name + ".fnt"))


def shade(colour, factor, alpha=255):
    return tuple(max(0, min(255, int(c * factor))) for c in colour[:3]) + (alpha,)


# ---------------------------------------------------------------------------------------------
# A layer folder: layers in order, each a picture placed at (x, y) in the container's canvas.
class Layout:
    def __init__(self):
        self.layers = []  # (name, x, y, canvas)

    def add(self, name, canvas, x=0, y=0):
        assert name == name.lower(), name
        assert all(layer[0] != name for layer in self.layers), name
        self.layers.append((name, x, y, canvas))

    def marker(self, name, x, y):
        """An anchor point: a 1x1 layer whose corner is the point."""
        self.add(name, Canvas(1, 1), int(round(x)), int(round(y)))

    def write(self, folder):
        lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<Layers>"]
        for index, (name, x, y, canvas) in enumerate(self.layers):
            lines.append('  <Layer name="%s" x="%d" y="%d" width="%d" height="%d" opacity="255" ind="%d"/>'
                         % (name, x, y, canvas.width, canvas.height, index))
            write_file(os.path.join(folder, name + ".png"), canvas.png())
        lines.append("</Layers>")
        write_file(os.path.join(folder, "layers.xml"), ("\n".join(lines) + "\n").encode())


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------------------------
# Units: facing right; walk 8 frames, death 6, special 4, a still frame, the "s_point" at the feet.
UNIT_SIZE = (64, 64)
UNIT_FEET = (32, 58)


def unit_colour(unit):
    hue = (unit * 47) % 360
    r = int(128 + 100 * math.cos(math.radians(hue)))
    g = int(128 + 100 * math.cos(math.radians(hue - 120)))
    b = int(128 + 100 * math.cos(math.radians(hue + 120)))
    return (r, g, b)


def draw_unit(unit, flying, phase, lift=0.0, alpha=255, glow=0.0):
    c = Canvas(*UNIT_SIZE)
    colour = unit_colour(unit)
    fx, fy = UNIT_FEET
    if glow > 0:
        c.ring(fx, fy - 22, 14 + 10 * glow, 3, (255, 240, 120, int(200 * (1 - glow * 0.5))))
    body_y = fy - 22 + lift
    if flying:
        wing = math.sin(phase * 2 * math.pi) * 12
        c.polygon([(fx - 4, body_y - 2), (fx - 22, body_y - 10 - wing), (fx + 6, body_y - 4)], shade(colour, 0.7, alpha))
        c.ellipse(fx, body_y, 16, 8, shade(colour, 1.0, alpha))
        c.polygon([(fx - 14, body_y), (fx - 26, body_y - 4), (fx - 26, body_y + 4)], shade(colour, 0.8, alpha))
    else:
        step = math.sin(phase * 2 * math.pi) * 6
        c.bar(fx - 4, body_y + 8, fx - 6 + step, min(fy, fy + lift), 2.5, shade(colour, 0.6, alpha))
        c.bar(fx + 4, body_y + 8, fx + 6 - step, min(fy, fy + lift), 2.5, shade(colour, 0.6, alpha))
        c.ellipse(fx, body_y, 12, 14, shade(colour, 1.0, alpha))
    # The head leads to the right, with an eye: the facing reads at a glance.
    c.circle(fx + 14, body_y - 8, 7, shade(colour, 1.2, alpha))
    c.circle(fx + 17, body_y - 10, 2, (20, 20, 20, alpha))
    # Tier marks: one dot per hundred of ... the unit's rank in the roster.
    for i in range(1 + drawn_units().index(unit) % 3):
        c.circle(fx - 8 + i * 6, body_y + 2, 2, (255, 255, 255, alpha))
    return c


def unit_layouts():
    flyers = set(shadow_units())
    layouts = {name: Layout() for name in UNIT_CONTAINERS}
    for unit in drawn_units():
        layout = layouts[unit_container(unit)]
        art = "unit%d" % unit
        flying = unit in flyers
        layout.add(art + "/still", draw_unit(unit, flying, 0.0))
        for i in range(8):
            layout.add("%s/walk/%02d" % (art, i), draw_unit(unit, flying, i / 8.0))
        for i in range(6):
            layout.add("%s/death/%02d" % (art, i), draw_unit(unit, flying, 0.0, lift=i * 3, alpha=255 - i * 40))
        for i in range(4):
            layout.add("%s/special/%02d" % (art, i), draw_unit(unit, flying, 0.0, glow=(i + 1) / 4.0))
        layout.marker(art + "/s_point/p", *UNIT_FEET)
    return layouts


# ---------------------------------------------------------------------------------------------
# Towers: a base, a body in the line's colour with one mark per tier, a barrel or a top.
TOWER_SIZE = (96, 96)
TOWER_BASE = (48, 84)
TOWER_PIVOT = (48, 46)  # where a turning barrel is fixed
BARREL_LENGTH = 30


def direction_vector(index):
    angle = math.radians(index * 360.0 / DIRECTIONS)
    return math.cos(angle), math.sin(angle)


def muzzle(index):
    dx, dy = direction_vector(index)
    return TOWER_PIVOT[0] + dx * BARREL_LENGTH, TOWER_PIVOT[1] + dy * BARREL_LENGTH


def draw_tower(colour, tier, branch, direction=None, pulse=0.0, flash=0.0):
    """A tower of the line's colour that grows with its tier: the first a low round keep, the second
    taller on a stone plinth with battlements, the third taller still with a gold band and a
    pennant; a branch flies a white or a black flag."""
    c = Canvas(*TOWER_SIZE)
    bx, by = TOWER_BASE
    height = 30 + 7 * tier
    half = 17 + 3 * tier
    c.ellipse(bx, by, 34, 10, (60, 55, 50, 255))
    if tier >= 2:
        c.rect(bx - half - 4, by - 10, 2 * half + 8, 10, (120, 115, 105, 255))
    c.rect(bx - half, by - height, 2 * half, height, shade(colour, 0.85))
    c.rect(bx - half, by - height, 5, height, shade(colour, 0.65))
    c.ellipse(bx, by - height, half, 7, shade(colour, 1.1))
    if tier >= 2:
        for k in range(4):
            c.rect(bx - half + k * (2 * half - 8) / 3.0, by - height - 12, 8, 10, shade(colour, 0.75))
    if tier >= 3:
        c.rect(bx - half, by - height * 0.55, 2 * half, 5, GOLD + (255,))
    for i in range(tier):
        c.rect(bx - 14 + i * 10, by - 18, 7, 7, (240, 220, 90, 255))
    if tier >= 3 or branch:
        flag = {"a": (255, 255, 255, 255), "b": (30, 30, 30, 255)}.get(branch, GOLD + (255,))
        c.rect(bx + half - 3, by - height - 24, 2, 24, (70, 60, 50, 255))
        c.polygon([(bx + half - 1, by - height - 24), (bx + half + 13, by - height - 19),
                   (bx + half - 1, by - height - 14)], flag)
    if direction is not None:
        mx, my = muzzle(direction)
        c.bar(TOWER_PIVOT[0], TOWER_PIVOT[1], mx, my, 5, shade(colour, 0.5))
        c.circle(TOWER_PIVOT[0], TOWER_PIVOT[1], 11, shade(colour, 1.3))
        if flash > 0:
            c.circle(mx, my, 4 + 8 * flash, (255, 200, 60, int(230 * flash)))
    else:
        top = by - height - 2
        c.polygon([(bx - 14, top), (bx, top - 20 - 4 * pulse), (bx + 14, top)], shade(colour, 1.3))
        if flash > 0:
            c.circle(bx, by - 70, 4 + 8 * flash, (255, 230, 120, int(230 * flash)))
    return c


def tower_layouts():
    layouts = {}
    for line, record in ROSTER["tower_lines"].items():
        colour, rotating = line_colour(line), record["rotating"]
        layout = Layout()
        for art, tier, branch in map(tower_look, line_tower_ids(line)):
            for i in range(4):
                layout.add("%s/idle/%02d" % (art, i),
                           draw_tower(colour, tier, branch, 0 if rotating else None, pulse=math.sin(i * math.pi / 2)))
            for i in range(6):
                flash = 1.0 - abs(i - 2) / 3.0
                layout.add("%s/blast/%02d" % (art, i),
                           draw_tower(colour, tier, branch, 0 if rotating else None, flash=max(flash, 0.0)))
            layout.marker(art + "/base_point/p", *TOWER_BASE)
            if rotating:
                for d in range(DIRECTIONS):
                    layout.add("%s/%02d" % (art, d), draw_tower(colour, tier, branch, d))
                # Shots ask for the marker of index 32 - direction: the markers run the other way.
                for j in range(DIRECTIONS):
                    layout.marker("%s/s_point/%02d" % (art, j), *muzzle((DIRECTIONS - j) % DIRECTIONS))
            else:
                layout.marker(art + "/s_point/p", TOWER_BASE[0], TOWER_BASE[1] - 70)
            if art == FLAME_ART:
                for i in range(8):
                    flame = Canvas(48, 32)
                    reach = 14 + 4 * (i % 4)
                    flame.ellipse(24, 16, reach, 6 + (i % 3), (255, 120 + 15 * i, 40, 220))
                    flame.ellipse(24 - reach / 3, 16, reach / 2, 3, (255, 240, 160, 230))
                    layout.add("%s/fire/%02d" % (art, i), flame)
        layouts[record["art"]] = layout
    return layouts


# ---------------------------------------------------------------------------------------------
# Interface parts: the map's frames in "ui", spot kinds, markers and the effect sprites.
GOLD = (235, 190, 50)


def icon(draw, size=32):
    c = Canvas(size, size)
    draw(c, size)
    return c


def coin(c, s):
    c.circle(s / 2, s / 2, s / 2 - 2, GOLD + (255,))
    c.ring(s / 2, s / 2, s / 2 - 2, 2, (150, 110, 20, 255))


def gem(c, s):
    c.polygon([(s / 2, 3), (s - 4, s / 2), (s / 2, s - 3), (4, s / 2)], (60, 200, 230, 255))


def badge(colour, glyph):
    def draw(c, s):
        c.circle(s / 2, s / 2, s / 2 - 1, (40, 40, 50, 255))
        c.circle(s / 2, s / 2, s / 2 - 4, colour + (255,))
        glyph(c, s)
    return draw


def tower_icon(line, tier_text):
    colour = line_colour(line)

    def draw(c, s):
        c.rect(4, 4, s - 8, s - 8, (40, 40, 50, 255))
        c.rect(s / 2 - 8, s / 2 - 6, 16, 18, shade(colour, 1.0))
        c.polygon([(s / 2 - 10, s / 2 - 6), (s / 2, s / 2 - 16), (s / 2 + 10, s / 2 - 6)], shade(colour, 1.3))
        if tier_text == "a":
            c.circle(s - 10, 10, 4, (255, 255, 255, 255))
        elif tier_text == "b":
            c.circle(s - 10, 10, 4, (20, 20, 20, 255))
    return draw


def tower_icon_table():
    """ui/tower_NN -> (line, mark): the icons the map's table names, one per line and branch."""
    return {tower_icon_name(line, mark): (line, mark) for line in ROSTER["tower_lines"] for mark in ("", "a", "b")}


def sell_glyph(c, s):
    """A coin handed back: a small coin and an arrow leaving it, for the radial menu's sell item."""
    c.circle(s * 0.4, s * 0.56, s * 0.22, GOLD + (255,))
    c.ring(s * 0.4, s * 0.56, s * 0.22, 1.5, (150, 110, 20, 255))
    c.bar(s * 0.52, s * 0.44, s * 0.74, s * 0.22, 1.6, (255, 255, 255, 255))
    c.polygon([(s * 0.78, s * 0.18), (s * 0.78, s * 0.36), (s * 0.6, s * 0.18)], (255, 255, 255, 255))


def dots(n, colour):
    def glyph(c, s):
        for i in range(n):
            c.circle(s / 2 + (i - (n - 1) / 2) * 7, s / 2, 3, colour)
    return glyph


def ui_frames():
    white = (255, 255, 255, 255)
    frames = {
        "ui/brush": icon(lambda c, s: c.circle(s / 2, s / 2, s / 2 - 1, (200, 180, 120, 160))),
        "ui/bar": Canvas(40, 6),
        "ui/radius": Canvas(336, 336),
        "ui/money": icon(coin, 24),
        "ui/immune": icon(lambda c, s: c.polygon([(4, 4), (s - 4, 4), (s - 4, s / 2), (s / 2, s - 2), (4, s / 2)],
                                                (180, 190, 210, 255)), 24),
        "ui/context_money": icon(coin, 20),
        "ui/context_gem": icon(gem, 20),
        "ui/power_buff": icon(lambda c, s: c.polygon([(s / 2, 2), (s - 4, s - 4), (4, s - 4)], (255, 90, 60, 255)), 20),
        "ui/lvl2": icon(badge((90, 160, 90), dots(2, white))),
        "ui/lvl3": icon(badge((90, 160, 90), dots(3, white))),
        "ui/sell": icon(badge((170, 60, 40), sell_glyph)),
        "ui/buy": icon(badge((60, 160, 60), lambda c, s: c.rect(s / 2 - 2, 8, 4, s - 16, white))),
        "ui/l1": icon(dots(1, (240, 220, 90, 255)), 12),
        "ui/l2": icon(dots(1, (240, 220, 90, 255)), 12),
        "ui/l3": icon(dots(1, (240, 220, 90, 255)), 12),
        "ui/radius_boost": icon(badge((60, 120, 200), lambda c, s: c.ring(s / 2, s / 2, 9, 2, white)), 24),
        "ui/power_boost": icon(badge((200, 60, 60), dots(1, white)), 24),
        "ui/wave_hint": icon(lambda c, s: c.polygon([(4, 8), (s - 4, s / 2), (4, s - 8)], (230, 60, 40, 255)), 40),
    }
    # White: the health bar tints it red under green.
    frames["ui/bar"].rect(0, 0, 40, 6, white)
    frames["ui/radius"].circle(168, 168, 168, (255, 255, 255, 40))
    frames["ui/radius"].ring(168, 168, 168, 3, (255, 255, 255, 200))
    abilities = [("acid_01", (90, 200, 60)), ("beam_01", (120, 200, 255)), ("aoe_01", (240, 150, 40)),
                 ("burn_01", (240, 80, 30)), ("dazed_01", (240, 230, 90)), ("hammer_01", (160, 160, 170)),
                 ("money_01", GOLD), ("portal_01", (170, 90, 220)), ("wing_01", (220, 220, 240)),
                 ("might_01", (220, 60, 60)), ("might_02", (160, 30, 30))]
    for index, (name, colour) in enumerate(abilities):
        frames["ui/" + name] = icon(badge(colour, dots(1 + index % 3, (255, 255, 255, 255))), 28)
    for name, (line, mark) in tower_icon_table().items():
        frames[name] = icon(tower_icon(line, mark), 48)
    return frames


def sprite_frames(count, size, draw):
    frames = []
    for i in range(count):
        c = Canvas(size, size)
        draw(c, size, i / float(count))
        frames.append(c)
    return frames


# The spell: a blast as wide as its reach (the balance sheet's radius 160), and its button's icon the
# size of a spell slot, with a greyed twin shown while it recharges or cannot be cast.
SPELL_BLAST_SIZE = 320
SPELL_ICON_SIZE = 80


def spell_blast(c, s, t):
    fade = 1.0 - t
    c.circle(s / 2, s / 2, 30 + 110 * t, (255, 120, 30, int(170 * fade)))
    c.circle(s / 2, s / 2, 16 + 60 * t, (255, 220, 120, int(230 * fade)))
    c.ring(s / 2, s / 2, 50 + 105 * t, 8, (255, 250, 210, int(255 * fade)))
    for k in range(8):
        a = k * math.pi / 4 + 0.3
        inner, outer = 20 + 60 * t, 50 + 100 * t
        c.bar(s / 2 + inner * math.cos(a), s / 2 + inner * math.sin(a), s / 2 + outer * math.cos(a),
              s / 2 + outer * math.sin(a), 4, (255, 240, 160, int(230 * fade)))


def spell_icon():
    s = SPELL_ICON_SIZE
    c = Canvas(s, s)
    c.circle(s / 2, s / 2, s / 2 - 1, (40, 30, 30, 255))
    c.circle(s / 2, s / 2, s / 2 - 5, (120, 40, 20, 255))
    c.ring(s / 2, s / 2, s / 2 - 1, 3, GOLD + (255,))
    # A falling fireball: its tail from the top right, its head low left of the middle.
    c.bar(s * 0.78, s * 0.2, s * 0.45, s * 0.55, 7, (255, 150, 40, 220))
    c.circle(s * 0.42, s * 0.58, 14, (255, 120, 30, 255))
    c.circle(s * 0.4, s * 0.6, 8, (255, 240, 160, 255))
    return c


def darkened(canvas):
    """The picture in grey at half its brightness, same transparency."""
    c = Canvas(canvas.width, canvas.height)
    for i in range(0, len(canvas.pixels), 4):
        r, g, b, a = canvas.pixels[i:i + 4]
        grey = (r * 30 + g * 59 + b * 11) // 200
        c.pixels[i:i + 4] = bytes((grey, grey, grey, a))
    return c


def ui_parts_layout():
    layout = Layout()
    for name, canvas in sorted(ui_frames().items()):
        layout.add(name, canvas)
    spot_colours = {"s": (150, 130, 90), "g": (60, 180, 210), "p": (200, 80, 200)}
    for kind, colour in spot_colours.items():
        spot = Canvas(64, 40)
        spot.ellipse(32, 20, 30, 17, shade(colour, 0.6))
        spot.ellipse(32, 18, 26, 13, shade(colour, 1.0))
        layout.add("spots/" + kind, spot)
    sprites = {
        "enemy_spot": (8, 64, lambda c, s, t: c.ring(s / 2, s / 2, 12 + 18 * t, 3, (230, 50, 40, int(255 * (1 - t))))),
        "mob_dot": (8, 32, lambda c, s, t: c.circle(s / 2 + 6 * math.sin(t * 6.28), s - 6 - 20 * t, 4,
                                                    (90, 200, 60, int(255 * (1 - t))))),
        "mob_heal": (8, 32, lambda c, s, t: (c.rect(s / 2 - 3, 6 - 4 * t + 4, 6, 18, (80, 230, 90, int(255 * (1 - t)))),
                                             c.rect(s / 2 - 9, 12 - 4 * t + 4, 18, 6, (80, 230, 90, int(255 * (1 - t)))))),
        "disabletower": (8, 48, lambda c, s, t: (c.bar(10, 10, s - 10, s - 10, 3, (230, 40, 40, 255)),
                                                 c.bar(s - 10, 10, 10, s - 10, 3, (230, 40, 40, 255)),
                                                 c.circle(s / 2 + 16 * math.cos(t * 6.28), s / 2 + 16 * math.sin(t * 6.28),
                                                          3, (255, 255, 120, 255)))),
        "tower_debuff": (10, 48, lambda c, s, t: c.ring(s / 2, s / 2, 10 + 12 * t, 3, (80, 120, 255, 200))),
        "spell_cast": (8, 96, lambda c, s, t: (c.ring(s / 2, s / 2, 40 - 8 * t, 3, (255, 220, 90, 220)),
                                               c.ring(s / 2, s / 2, 20 + 8 * t, 2, (255, 160, 60, 200)))),
    }
    for spell_number in ROSTER["spells"].values():
        sprites["spell%d" % spell_number] = (8, SPELL_BLAST_SIZE, spell_blast)
    for name, (count, size, draw) in sorted(sprites.items()):
        for i, frame in enumerate(sprite_frames(count, size, draw)):
            layout.add("%s/%02d" % (name, i), frame)
    for spell_number in ROSTER["spells"].values():
        ready = spell_icon()
        layout.add("spell_icons/spell%d" % spell_number, ready)
        layout.add("spell_icons/spell%d_dark" % spell_number, darkened(ready))
    for name, (w, h) in (("wywern_shadow", (64, 24)), ("dragon_shadow", (96, 32))):
        shadow = Canvas(w, h)
        shadow.ellipse(w / 2, h / 2, w / 2 - 1, h / 2 - 1, (0, 0, 0, 110))
        layout.add("shadows/" + name, shadow)
    return layout


def income_icon():
    c = Canvas(24, 24)
    for i in range(3):
        c.ellipse(12, 18 - i * 5, 9, 4, GOLD + (255,))
        c.ellipse(12, 17 - i * 5, 9, 3, shade(GOLD, 1.15))
    return c


# ---------------------------------------------------------------------------------------------
# Side panels: the pictures drawn in the bars beside the 1024-wide menus ("l" ends at the design
# area's left edge, "r" starts at its right one), and the picture shown while a level loads.
SIDE_SIZE = (172, 768)


def side_panel(inner_edge_right):
    w, h = SIDE_SIZE
    c = Canvas(w, h)
    for y in range(h):
        course = y // 48
        for x in range(w):
            # Stone courses with staggered joints, darker towards the outer edge.
            joint = (x + (24 if course % 2 else 0)) % 64 < 2 or y % 48 < 2
            depth = x / (w - 1) if inner_edge_right else 1.0 - x / (w - 1)
            base = 40 + int(50 * depth) + ((course * 37 + x // 64 * 11) % 13)
            value = base // 2 if joint else base
            i = (y * w + x) * 4
            c.pixels[i:i + 4] = bytes((value, value + 6, value + 18, 255))
    # A gold trim along the edge that meets the design area.
    edge = w - 4 if inner_edge_right else 0
    c.rect(edge, 0, 4, h, GOLD + (255,))
    return c


def sides_layout():
    layout = Layout()
    layout.add("l", side_panel(True))
    layout.add("r", side_panel(False))
    return layout


def loading_picture():
    w, h = 1024, 768
    c = Canvas(w, h)
    for y in range(h):
        value = 20 + y * 40 // h
        row = bytes((value, value, value + 12, 255)) * w
        c.pixels[y * w * 4:(y + 1) * w * 4] = row
    for i in range(8):
        a = i * math.pi / 4
        c.circle(w / 2 + 60 * math.cos(a), h / 2 + 60 * math.sin(a), 12, shade(GOLD, 0.4 + 0.08 * i))
    c.rect(w / 2 - 200, h / 2 + 120, 400, 8, (90, 90, 110, 255))
    return c


# ---------------------------------------------------------------------------------------------
# Logos: two pictures on black, listed in "logo/logo.ini".
def logo_studio():
    c = Canvas(400, 200)
    c.polygon([(60, 170), (160, 40), (220, 120), (260, 80), (340, 170)], (90, 120, 160, 255))
    c.polygon([(160, 40), (185, 72), (135, 72)], (240, 240, 250, 255))
    c.rect(60, 176, 280, 6, (200, 170, 90, 255))
    return c


def logo_engine():
    c = Canvas(400, 200)
    for i in range(12):
        a = i * math.pi / 6
        c.bar(200, 100, 200 + 80 * math.cos(a), 100 + 80 * math.sin(a), 9, (180, 180, 190, 255))
    c.circle(200, 100, 62, (150, 150, 165, 255))
    c.circle(200, 100, 24, (0, 0, 0, 255))
    return c


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                                              "data")
    for name, layout in unit_layouts().items():
        layout.write(os.path.join(root, "ruv", "units", name))
    for name, layout in tower_layouts().items():
        layout.write(os.path.join(root, "ruv", "towers", name))
    ui_parts_layout().write(os.path.join(root, "ruv", "data", "ui_parts"))
    write_file(os.path.join(root, "ruv", "data", "context", "small_icons", "income.png"), income_icon().png())
    sides_layout().write(os.path.join(root, "ruv", "data", "sides"))
    write_file(os.path.join(root, "ruv", "data", "loading.png"), loading_picture().png())
    write_file(os.path.join(root, "logo", "studio.png"), logo_studio().png())
    write_file(os.path.join(root, "logo", "engine.png"), logo_engine().png())
    write_file(os.path.join(root, "logo", "logo.ini"), b"logos; studio.png, engine.png\r\n")


if __name__ == "__main__":
    main()
