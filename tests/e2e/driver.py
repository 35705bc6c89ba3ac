"""Drives the real game on a virtual X server: Xvfb, xdotool for the mouse and keys, xwd for the
screen. Everything is addressed in design coordinates (1024x768) and mapped to screen pixels through
the window's position and the screen fit, so one journey runs at any screen size. Waits poll the
screen or a file until a deadline; a failing step raises `JourneyFailed`, and the runner keeps a
screenshot and the game's log of that moment.
"""
import ctypes
import ctypes.util
import math
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
import zlib

# The generators' own PNG reader: the journeys read the pictures those generators wrote.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "artgen"))
from make_art import read_png  # noqa: E402

DESIGN_WIDTH, DESIGN_HEIGHT, WIDE_WIDTH = 1024, 768, 1366
# The generated pictures are flat colours, and some screens differ by little (the options frame and
# the main menu background): close means within a few steps per channel.
TOLERANCE = 12
# Text probes: how far beyond a text place to look for ink (design pixels), how much ink beyond it
# is a spill rather than smoothing, and how much inside is a text rather than noise.
SPILL_BAND, MAX_SPILL, MIN_INK, TEXT_SETTLE = 12, 4, 6, 8
USER_FOLDER = os.path.join("Ninebrook", "Quellmark2")
# Pressing and releasing in separate frames, as a hand does: a press and its release delivered in
# one frame would not show what a player sees. This paces input; it never waits for the game.
INPUT_PACE = "0.06"


class JourneyFailed(Exception):
    pass


class Skip(Exception):
    """A tool the journeys need is missing."""


def require_tools():
    for tool in ("Xvfb", "xdotool", "xwd"):
        if shutil.which(tool) is None:
            raise Skip("%s is not installed" % tool)


# --- screen fit --------------------------------------------------------------------------------------
def _ratio(w, h):
    g = math.gcd(w, h)
    return w // g, h // g


def screen_fit(cw, ch):
    """(scale x, scale y, offset of the used area in client pixels, viewport x): the fit of the
    design space into a client area of cw x ch, as the engine computes it."""
    dw, dh = _ratio(DESIGN_WIDTH, DESIGN_HEIGHT)
    ww, wh = _ratio(WIDE_WIDTH, DESIGN_HEIGHT)
    ow, oh = _ratio(cw, ch)
    if dh * ow // oh < dw or ow < dw * oh // dh:
        uw, uh, (rw, rh) = cw, cw * dh // dw, (dw, dh)
    elif ww * oh // wh < ow or ww < wh * ow // oh:
        uw, uh, (rw, rh) = ch * ww // wh, ch, (ww, wh)
    else:
        uw, uh, (rw, rh) = cw, ch, (ow, oh)
    vw = float(rw * DESIGN_HEIGHT // rh)
    vx = (DESIGN_WIDTH - vw) * 0.5
    return vw / uw, DESIGN_HEIGHT / uh, ((cw - uw) * 0.5, (ch - uh) * 0.5), vx


# --- layouts -----------------------------------------------------------------------------------------
class Layout:
    """The layer rectangles of one generated screen ("layers.xml" of the data copy)."""

    def __init__(self, data_root, path):
        tree = ElementTree.parse(os.path.join(data_root, path, "layers.xml"))
        self.root = data_root
        self.path = path
        self.rects = {}
        self.order = []
        for layer in tree.getroot().iter("Layer"):
            name = layer.get("name")
            self.rects[name] = tuple(int(layer.get(k)) for k in ("x", "y", "width", "height"))
            self.order.append(name)

    def text_places(self):
        """The places the game writes a text into: "text/<name>", a button's caption
        ("button/<name>/label", "<...>_caption")."""
        return [n for n in self.order if n.startswith("text/") or n.endswith("/label") or n.endswith("_caption")]

    def captioned(self, name):
        """True when a text place lies on the layer: the game writes its caption over it."""
        x, y, w, h = self.rect(name)
        return any(x <= px and py >= y and px + pw <= x + w and py + ph <= y + h
                   for px, py, pw, ph in (self.rect(n) for n in self.text_places()))

    def button_pictures(self):
        """(layer, path of its picture) of the buttons that do not take their caption from a text
        place over them. A plate the "pos" and "label" buttons of the screen are drawn with
        ("b1_normal" for "b1_ok") is their template, not a button of its own."""
        templates = {n.split("/")[1].split("_")[0] for n in self.order if n.endswith("/pos")}
        found = []
        for name in self.order:
            picture = os.path.join(self.root, self.path, name + ".png")
            parts = name.split("/")
            if (parts[0] in ("button", "buttons") and os.path.exists(picture) and name not in self.text_places()
                    and not self.captioned(name)
                    and not (len(parts) == 2 and re.fullmatch(r"b\d+_(normal|over)", parts[1])
                             and parts[1].split("_")[0] in templates)):
                found.append((name, picture))
        return found

    def extent(self):
        """The design corners (left top, right bottom) of what the screen's pictures cover."""
        rects = [r for n, r in self.rects.items() if os.path.exists(os.path.join(self.root, self.path, n + ".png"))]
        return ((min(r[0] for r in rects), min(r[1] for r in rects)),
                (max(r[0] + r[2] for r in rects), max(r[1] + r[3] for r in rects)))

    def rect(self, name):
        if name not in self.rects:
            raise JourneyFailed("%s has no layer %s" % (self.path, name))
        return self.rects[name]

    def centre(self, name):
        x, y, w, h = self.rect(name)
        return x + w / 2, y + h / 2

    def free_points(self, name, count=9):
        """Points of a layer that no other layer of the screen covers (its own picture shows there)."""
        x, y, w, h = self.rect(name)
        # A layer of the same place is the picture's alternative (won or lost), not drawn over it.
        others = [r for n, r in self.rects.items() if n != name and r != (x, y, w, h)]
        points = []
        step = 4
        inset = 8
        for py in range(y + inset, y + h - inset, step):
            for px in range(x + inset, x + w - inset, step):
                if not any(ox - 3 <= px < ox + ow + 3 and oy - 3 <= py < oy + oh + 3 for ox, oy, ow, oh in others):
                    points.append((px, py))
        if not points:
            raise JourneyFailed("%s: no free point on %s" % (self.path, name))
        # Near the edges first: what a screen draws beyond its layers (list rows, texts) sits inside.
        edge = [p for p in points if min(p[0] - x, x + w - p[0], p[1] - y, y + h - p[1]) <= inset + 12]
        if len(edge) >= count:
            points = edge
        # Spread over the free area rather than bunched in one corner.
        pick = max(1, len(points) // count)
        return points[::pick][:count]


def png_pixel(path, x, y):
    """The (r, g, b) of one pixel of an 8-bit RGB or RGBA PNG without interlacing (the generators' own)."""
    width, _, pixels = read_png(path)
    i = (y * width + x) * 4
    return tuple(pixels[i:i + 3])


def png_rows(path):
    """Rows of (r, g, b, a) of a whole picture as png_pixel reads it; a = 255 without alpha."""
    width, height, pixels = read_png(path)
    return [[tuple(pixels[(y * width + x) * 4:(y * width + x) * 4 + 4]) for x in range(width)] for y in range(height)]


def picture_marked(path):
    """How a button picture shows what it does: "icon" when it carries a caption or an icon (its
    middle, clear of a frame at its edges, holds a clear share of another colour than its ground,
    or its opaque part is a shape such as an arrow), "overlay" for a see-through highlight or
    shadow laid over a button, None for a plain plate."""
    rows = png_rows(path)
    h, w = len(rows), len(rows[0])
    every = [p for row in rows for p in row]
    opaque = sum(p[3] > 128 for p in every)
    if opaque == 0:
        return "overlay"
    if opaque * 100 < len(every) * 90:
        return "icon"
    return "icon" if middle_marked([[p[:3] for p in row if p[3] > 128] for row in rows]) else None


def middle_marked(rows):
    """True when the middle of a picture's rows of (r, g, b), clear of a frame at its edges, holds
    a clear share of other colours than its ground: a caption or an icon."""
    h, w = len(rows), len(rows[0])
    middle = [p for row in rows[h // 5:h - h // 5] for p in row[w // 8:w - w // 8]]
    ground = _most_common(middle)
    return sum(not close_to(p, ground) for p in middle) * 50 >= len(middle)


def marker_table(tools_folder):
    """Layout path -> (marker layer, colour), read from the layout generator."""
    text = open(os.path.join(tools_folder, "layoutgen", "make_layouts.py")).read()
    block = text[text.index("MARKERS = {"):]
    block = block[:block.index("}") + 1]
    table = {}
    for path, layer, r, g, b in re.findall(r'"([^"]+)": \("([^"]+)", \((\d+), (\d+), (\d+)\)\)', block):
        table[path] = (layer, (int(r), int(g), int(b)))
    return table


# --- the X screen ------------------------------------------------------------------------------------
class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the colour masks.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class XScreen:
    """Reads boxes of the X screen through libX11: a probe of a few pixels costs a round trip, not a
    picture of the whole screen."""

    def __init__(self, display=None):
        x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XGetImage.restype = ctypes.POINTER(_XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x11.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
        x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                              ctypes.c_int] + [ctypes.c_void_p] * 3
        self.x11 = x11
        self.display = x11.XOpenDisplay(display.encode() if display else None)
        if not self.display:
            raise JourneyFailed("cannot open the X display")
        self.root = x11.XDefaultRootWindow(self.display)
        self.width, self.height = x11.XDisplayWidth(self.display, 0), x11.XDisplayHeight(self.display, 0)

    def box(self, x, y, width, height):
        """Rows of (r, g, b) of a box, clipped to the screen."""
        x, y = min(max(int(x), 0), self.width - 1), min(max(int(y), 0), self.height - 1)
        width, height = min(width, self.width - x), min(height, self.height - y)
        image = self.x11.XGetImage(self.display, self.root, x, y, width, height, ctypes.c_ulong(0xFFFFFFFF), 2)
        if not image or image.contents.bits_per_pixel != 32:
            raise JourneyFailed("unsupported screen format")
        img = image.contents
        raw = ctypes.string_at(img.data, img.bytes_per_line * height)
        stride = img.bytes_per_line
        self.x11.XDestroyImage(image)
        # 32-bit TrueColor, least significant byte first: blue, green, red, unused.
        return [[(raw[r * stride + i + 2], raw[r * stride + i + 1], raw[r * stride + i]) for i in range(0, width * 4, 4)]
                for r in range(height)]

    def at(self, x, y):
        return self.box(x, y, 1, 1)[0][0]

    def window_geometry(self, window):
        """(x, y, width, height) of a window's client area on the screen."""
        root, child = ctypes.c_ulong(), ctypes.c_ulong()
        x, y, sx, sy = ctypes.c_int(), ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        width, height, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        if not self.x11.XGetGeometry(self.display, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                                     ctypes.byref(width), ctypes.byref(height), ctypes.byref(border),
                                     ctypes.byref(depth)):
            raise JourneyFailed("no geometry for window %d" % window)
        self.x11.XTranslateCoordinates(self.display, window, self.root, 0, 0, ctypes.byref(sx), ctypes.byref(sy),
                                       ctypes.byref(child))
        return sx.value, sy.value, width.value, height.value

    def close(self):
        self.x11.XCloseDisplay(self.display)


def save_screenshot(display, path):
    """The whole screen as a PNG, read with xwd (32-bit pixels)."""
    raw = subprocess.run(["xwd", "-root", "-silent", "-display", display], check=True,
                         stdout=subprocess.PIPE).stdout
    fields = struct.unpack(">25I", raw[:100])
    header, width, height, byte_order, bits, stride, colours = (fields[0], fields[4], fields[5], fields[7],
                                                                 fields[11], fields[12], fields[19])
    if bits != 32:
        raise JourneyFailed("unsupported screen format: %d bits" % bits)
    start = header + colours * 12
    order = (2, 1, 0) if byte_order == 0 else (1, 2, 3)
    rows = bytearray()
    for y in range(height):
        line = raw[start + y * stride:start + y * stride + width * 4]
        rows += b"\0"
        rgb = bytearray(width * 3)
        for k, c in enumerate(order):
            rgb[k::3] = line[c::4]
        rows += rgb

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def _most_common(pixels):
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    return max(counts, key=counts.get)


def _glyph_cells(mask):
    """(row, column) of the set cells of a mask outside its (nearly) full rows and columns: a
    plate, field or frame line running on through a text place is no glyph, whose strokes leave
    gaps."""
    if not mask or not mask[0]:
        return []
    full_rows = {i for i, row in enumerate(mask) if sum(row) * 5 >= len(row) * 4}
    full_columns = {j for j in range(len(mask[0])) if sum(row[j] for row in mask) * 5 >= len(mask) * 4}
    return [(i, j) for i, row in enumerate(mask) if i not in full_rows
            for j, v in enumerate(row) if v and j not in full_columns]


def close_to(pixel, colour):
    return all(abs(pixel[c] - colour[c]) <= TOLERANCE for c in range(3))


class Xserver:
    def __init__(self, width, height, folder):
        read, write = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                         "%dx%dx24" % (width, height), "-nolisten", "tcp"],
                                        pass_fds=(write,), stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(folder, "xvfb.err"), "w"))
        os.close(write)
        number = b""
        with os.fdopen(read, "rb") as pipe:
            while not number.endswith(b"\n"):
                part = pipe.read(1)
                if not part:
                    raise JourneyFailed("Xvfb did not start")
                number += part
        self.display = ":" + number.decode().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait()


# --- the game ----------------------------------------------------------------------------------------
class Game:
    """The real program on a copy of the data root, with a user folder of its own."""

    def __init__(self, program, data, repository_tools, screen_size, folder, pack=False):
        self.program = program
        self.folder = folder
        self.work = tempfile.mkdtemp(prefix="journey-")
        # What the journeys read (layouts, pictures, tables) comes from the source data root; the
        # game runs on the copy, which a journey may change.
        self.source = data
        self.data = os.path.join(self.work, "data")
        shutil.copytree(data, self.data)
        self.strings = os.path.join(self.data, "ruv", "strings_en.csv")
        self.strings_before = open(self.strings, "rb").read()
        self.pack = os.path.join(self.data, "data.dat") if pack else None
        self.home = os.path.join(self.work, "home")
        self.user = os.path.join(self.home, "share", USER_FOLDER)
        self.markers = marker_table(repository_tools)
        self.layouts = {}
        # Decoding a picture in Python is slow, and probes ask for the same colours again and again.
        self.colours = {}
        self.marked = {}
        self.caption = None
        for line in self.strings_before.decode("utf-8").splitlines():
            if line.startswith("game_caption;"):
                self.caption = line.split(";", 1)[1].rstrip("\r")
        self.x = Xserver(*screen_size, folder)
        self.screen = XScreen(self.x.display)
        self.process = None
        if self.pack:
            try:
                self.build_pack()
            except JourneyFailed:
                self.close()
                raise
        self.window = None
        self.runs = 0
        self.step = "start"

    # -- files
    @property
    def profiles_path(self):
        return os.path.join(self.user, "profiles.xml")

    @property
    def log_path(self):
        return os.path.join(self.user, "log.html")

    def profiles(self):
        """The stored profiles file, parsed (None while there is none)."""
        try:
            return ElementTree.parse(self.profiles_path).getroot()
        except (OSError, ElementTree.ParseError):
            return None

    def write_profiles(self, text):
        os.makedirs(self.user, exist_ok=True)
        with open(self.profiles_path, "w") as out:
            out.write(text)

    def layout(self, path):
        if path not in self.layouts:
            self.layouts[path] = Layout(self.source, path)
        return self.layouts[path]

    # -- process
    def env(self):
        env = dict(os.environ)
        env.update(DISPLAY=self.x.display, SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy", HOME=self.home,
                   XDG_DATA_HOME=os.path.join(self.home, "share"), XDG_RUNTIME_DIR=self.work,
                   QUELLMARK_DEBUG_OUTPUT="1")
        return env

    def xdotool(self, *args, check=True):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env(), check=check,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True).stdout

    def start(self):
        self.runs += 1
        self.step = "start %d" % self.runs
        os.makedirs(self.home, exist_ok=True)
        self.err_path = os.path.join(self.folder, "game-%d.err" % self.runs)
        self.process = subprocess.Popen([self.program, "--data_path", self.data], cwd=self.work, env=self.env(),
                                        stdout=open(os.path.join(self.folder, "game-%d.out" % self.runs), "w"),
                                        stderr=open(self.err_path, "w"))
        found = self.until(lambda: self.xdotool("search", "--onlyvisible", "--name", "^%s$" % self.caption,
                                                check=False).split(), "the game window", 30)
        self.window = found[0]
        self.xdotool("windowfocus", self.window, check=False)

    def exit_code(self, seconds=20):
        try:
            code = self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            raise JourneyFailed("the game did not end")
        self.process = None
        return code

    def kill(self):
        """Ends the game at once, as a crash or a power cut would."""
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()
        self.process = None

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.screen.close()
        self.x.stop()
        shutil.rmtree(self.work, ignore_errors=True)

    # -- waiting
    def until(self, probe, what, seconds=15):
        deadline = time.monotonic() + seconds
        while True:
            result = probe()
            if result:
                return result
            if self.process is not None and self.process.poll() is not None:
                raise JourneyFailed("the game ended (code %s) while waiting for %s" % (self.process.returncode, what))
            if time.monotonic() > deadline:
                raise JourneyFailed("timed out waiting for %s" % what)
            time.sleep(0.03)

    def geometry(self):
        return self.screen.window_geometry(int(self.window))

    def wait_geometry(self, width, height):
        self.until(lambda: self.geometry()[2:] == (width, height), "a %dx%d window" % (width, height))

    # -- mapping
    def to_screen(self, point):
        wx, wy, cw, ch = self.geometry()
        sx, sy, (ux, uy), vx = screen_fit(cw, ch)
        return int(round(wx + ux + (point[0] - vx) / sx)), int(round(wy + uy + point[1] / sy))

    def pixel(self, point):
        """The colour on the screen at a design point."""
        return self.screen.at(*self.to_screen(point))

    # -- screens
    def marker_points(self, path):
        layer, colour = self.markers[path]
        return self.layout(path).free_points(layer), colour

    def layer_colour(self, path, layer, at=None):
        """The colour of a layer's picture at a point of it, by default its middle (the generated
        pictures are flat)."""
        key = (path, layer, at)
        if key not in self.colours:
            x, y, w, h = self.layout(path).rect(layer)
            px, py = at if at else (w // 2, h // 2)
            self.colours[key] = png_pixel(os.path.join(self.source, path, layer + ".png"), px, py)
        return self.colours[key]

    def layer_shown(self, path, layer, picture=None):
        """True when the picture (by default the layer's own) shows at the layer's inner corner:
        its ground there, clear of a caption in its middle."""
        x, y, _, _ = self.layout(path).rect(layer)
        colour = self.layer_colour(path, picture or layer, (8, 8))
        return close_to(self.pixel((x + 8, y + 8)), colour)

    # -- what a player reads
    def screen_box(self, rect, margin=0):
        """Rows of (r, g, b) on the screen over a design rectangle grown by a margin, and the
        rectangle's own bounds in the box's pixels (left, top, right, bottom)."""
        x, y, w, h = rect
        left, top = self.to_screen((x - margin, y - margin))
        right, bottom = self.to_screen((x + w + margin, y + h + margin))
        rows = self.screen.box(left, top, right - left, bottom - top)
        (il, it), (ir, ib) = self.to_screen((x, y)), self.to_screen((x + w, y + h))
        return rows, (il - left, it - top, ir - left, ib - top)

    def probe_texts(self, path):
        """What a player reads on a screen: every text place keeps its ink inside (no glyphs run
        on past its left or right edge along its line, nor a line above or below it); each
        button caption shows; a screen with text places shows text in one at least; each
        button drawn from a picture of its own carries its caption or icon. A text that shows
        for a moment as a screen opens (a level's name) may pass over others: the reading must
        come clean within a few seconds."""
        seen = []

        def clean():
            seen[:] = self.text_faults(path)
            return not seen

        try:
            self.until(clean, "the texts of %s" % path, TEXT_SETTLE)
        except JourneyFailed:
            if self.alive():
                raise JourneyFailed("%s: %s" % (path, "; ".join(seen)))
            raise

    def text_faults(self, path):
        layout = self.layout(path)
        faults = []
        inked = 0
        for name in layout.text_places():
            ink, spills = self.text_ink(layout, name)
            inked += ink > 0
            if ink == 0 and self.button_shown(path, name):
                faults.append("%s shows no caption" % name)
            faults += ["%s spills %d pixels past its %s edge" % (name, count, edge) for edge, count in spills]
        if layout.text_places() and not inked:
            faults.append("no text on the screen")
        for name, picture in layout.button_pictures():
            if picture not in self.marked:
                self.marked[picture] = picture_marked(picture)
            if self.marked[picture] is None and self.layer_shown(path, name) and not self.button_marked(path, name):
                faults.append("the button %s shows neither caption nor icon" % name)
        return faults

    def text_ink(self, layout, name):
        """(ink pixels inside a text place, [(edge, ink pixels beyond it)]). Ink is the most
        common colour of the place's glyph pixels (those apart from its ground, outside full rows
        and columns); beyond an edge it counts where it differs from that band's own ground. A
        margin of two pixels takes the glyphs' smoothing; other text places are not this one's."""
        rows, (il, it, ir, ib) = self.screen_box(layout.rect(name), SPILL_BAND)
        height, width = len(rows), len(rows[0])
        x, y, _, _ = layout.rect(name)
        origin = self.to_screen((x - SPILL_BAND, y - SPILL_BAND))
        others = []
        for other in layout.text_places():
            if other != name and layout.rect(other) != layout.rect(name):
                ox, oy, ow, oh = layout.rect(other)
                (al, at), (ar, ab) = self.to_screen((ox, oy)), self.to_screen((ox + ow, oy + oh))
                others.append((al - origin[0], at - origin[1], ar - origin[0], ab - origin[1]))

        def glyphs(area, colour=None):
            """Pixels of an area (left, top, right, bottom) of the box that differ from its
            ground (and match colour, when given), apart from full rows and columns."""
            l, t, r, b = area
            ys, xs = range(max(t, 0), min(b, height)), range(max(l, 0), min(r, width))
            free = [[not any(ol <= px < or_ and ot <= py < ob for ol, ot, or_, ob in others) for px in xs] for py in ys]
            pixels = [rows[py][px] for i, py in enumerate(ys) for j, px in enumerate(xs) if free[i][j]]
            if not pixels:
                return []
            ground = _most_common(pixels)
            mask = [[free[i][j] and not close_to(rows[py][px], ground) and (colour is None or close_to(rows[py][px], colour))
                     for j, px in enumerate(xs)] for i, py in enumerate(ys)]
            return [rows[ys[i]][xs[j]] for i, j in _glyph_cells(mask)]

        # Beyond the screen's own pictures (a dialog's box) lies the screen under it, with texts of its own.
        (el, et), (er, eb) = (self.to_screen(corner) for corner in layout.extent())
        el, et, er, eb = el - origin[0], et - origin[1], er - origin[0], eb - origin[1]
        marks = glyphs((il, it, ir, ib))
        if len(marks) < MIN_INK:
            return 0, []
        ink = _most_common(marks)
        bands = {"left": (0, it, il - 2, ib), "right": (ir + 2, it, width, ib)}
        # A dialog places its buttons by its message, so a caption's height follows its button
        # rather than its place: a caption is held to its sides only.
        if name.startswith("text/"):
            bands.update(top=(il, 0, ir, it - 2), bottom=(il, ib + 2, ir, height))
        spills = [(edge, len(glyphs((max(l, el), max(t, et), min(r, er), min(b, eb)), ink)))
                  for edge, (l, t, r, b) in bands.items()]
        return len(marks), [(edge, count) for edge, count in spills if count > MAX_SPILL]

    def button_shown(self, path, caption):
        """True when the button of a caption place shows (a screen hides a button it does not
        offer): its plate ("b1_normal" or "b1_over" for "button/b1_ok/pos") or the caption's
        own button picture ("buttons/close/ok_in" for "buttons/close/close_caption")."""
        layout = self.layout(path)
        folder = caption.rsplit("/", 1)[0]
        if caption.endswith("/label"):
            plate = folder.split("/")[1].split("_")[0]
            pictures = [n for n in ("button/%s_normal" % plate, "button/%s_over" % plate) if n in layout.rects]
            return any(self.plate_shown(path, folder + "/pos", p) for p in pictures)
        if caption.endswith("_caption"):
            return any(self.plate_shown(path, n, n) for n in layout.order if n.startswith(folder + "/")
                       and n != caption and os.path.exists(os.path.join(self.source, path, n + ".png")))
        return False

    def plate_shown(self, path, layer, picture):
        """True when a picture shows over the whole of a layer: at two opposite inner corners (a
        screen may move a button it shows alone, leaving part of another's place covered)."""
        x, y, w, h = self.layout(path).rect(layer)
        return all(close_to(self.pixel((x + px, y + py)), self.layer_colour(path, picture, (px, py)))
                   for px, py in ((8, 8), (w - 8, h - 8)))

    def button_marked(self, path, name):
        """True when a plain button plate on the screen shows a caption the game writes on it."""
        rows, _ = self.screen_box(self.layout(path).rect(name))
        return middle_marked(rows)

    def marker_hits(self, path):
        """How many of a screen's marker points show its colour, and of how many."""
        points, colour = self.marker_points(path)
        return sum(close_to(self.pixel(p), colour) for p in points), len(points)

    def shows(self, path):
        """Most marker points show the screen's colour (a text or effect may cover a few)."""
        hits, count = self.marker_hits(path)
        return hits * 2 > count

    def wait_screen(self, path, seconds=15):
        """Until the screen shows and its marker stays the same over three looks: a dialog that
        grows in takes input only once its show effect is over."""
        self.step = "wait for %s" % path
        looks = []

        def settled():
            hits, count = self.marker_hits(path)
            looks.append(hits if hits * 2 > count else None)
            return len(looks) >= 3 and looks[-1] is not None and looks[-3:] == [looks[-1]] * 3

        self.until(settled, "the screen %s" % path, seconds)
        self.step = "read %s" % path
        self.probe_texts(path)

    def wait_gone(self, path, seconds=15):
        self.step = "wait until %s is gone" % path
        self.until(lambda: self.marker_hits(path)[0] == 0, "the screen %s to close" % path, seconds)

    # -- input
    def click_at(self, point):
        x, y = self.to_screen(point)
        self.xdotool("mousemove", x, y, "sleep", INPUT_PACE, "mousedown", 1, "sleep", INPUT_PACE, "mouseup", 1)

    def click(self, path, layer, offset=(0, 0)):
        """Clicks the middle of a layer of a screen's layout."""
        self.step = "click %s %s" % (path, layer)
        cx, cy = self.layout(path).centre(layer)
        self.click_at((cx + offset[0], cy + offset[1]))

    def press(self, path, layer, done, what, tries=3, seconds=4):
        """Clicks a layer until done() holds. A dialog that just closed still takes the input
        while its hide effect runs (it shows no longer, it is still modal): a click then is lost."""
        for attempt in range(tries):
            self.click(path, layer)
            try:
                return self.until(done, what, seconds)
            except JourneyFailed:
                if attempt == tries - 1 or not self.alive():
                    raise

    def drag(self, start, end):
        a, b = self.to_screen(start), self.to_screen(end)
        self.xdotool("mousemove", *a, "sleep", INPUT_PACE, "mousedown", 1, "sleep", INPUT_PACE,
                     "mousemove", (a[0] + b[0]) // 2, (a[1] + b[1]) // 2, "sleep", INPUT_PACE,
                     "mousemove", *b, "sleep", INPUT_PACE, "mouseup", 1)

    def key(self, *names):
        self.step = "key %s" % " ".join(names)
        self.xdotool("windowfocus", self.window, check=False)
        presses = []
        for name in names:
            presses += ["keydown", name, "sleep", INPUT_PACE, "keyup", name, "sleep", INPUT_PACE]
        self.xdotool(*presses)

    def type(self, text):
        self.step = "type %s" % text
        self.key(*text)

    # -- the end of every journey
    def build_pack(self):
        """"data.dat" of the copy's "ruv/", built by the program's own "--pack" run from inside the
        copy; then "ruv/" goes, so everything the game reads of it comes from the pack."""
        self.step = "build the pack"
        program = os.path.join(self.data, os.path.basename(self.program))
        shutil.copy(self.program, program)
        err = os.path.join(self.folder, "pack.err")
        self.process = subprocess.Popen(["./" + os.path.basename(program), "--pack", "x"], cwd=self.data,
                                        env=self.env(), stdout=subprocess.DEVNULL, stderr=open(err, "w"))
        self.until(lambda: "Pack data.dat built" in open(err, errors="replace").read(), "the pack", 60)
        self.process.terminate()
        self.process.wait()
        self.process = None
        os.remove(program)
        shutil.rmtree(os.path.join(self.data, "ruv"))
        self.pack_before = open(self.pack, "rb").read()

    def check_strings_unchanged(self):
        if self.pack:
            # An unknown key would be appended to a strings file on the disk beside the pack.
            if os.path.exists(self.strings) or open(self.pack, "rb").read() != self.pack_before:
                raise JourneyFailed("the pack or the strings file changed (an unknown text key)")
        elif open(self.strings, "rb").read() != self.strings_before:
            raise JourneyFailed("the strings file of the data copy changed (an unknown text key)")

    def keep_failure(self):
        """The screen and the game's logs of a failed step, for CI to show."""
        try:
            save_screenshot(self.x.display, os.path.join(self.folder, "screen.png"))
        except (subprocess.CalledProcessError, JourneyFailed):
            pass
        for name in ("log.html", "profiles.xml"):
            if os.path.exists(os.path.join(self.user, name)):
                shutil.copy(os.path.join(self.user, name), self.folder)
