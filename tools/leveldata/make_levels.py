#!/usr/bin/env python3
"""Writes the sample campaign's level files and their scenery, and the two levels the tests and the
benchmark play outside the campaign. Deterministic; the output is committed.

  data/ruv/levels_normal/level_01_01.xml .. level_02_03.xml   two episodes of three levels
  data/ruv/levels_hardcore/level_01_01.xml, level_02_01.xml   one hardcore level per episode
  data/ruv/data/maps/<map>/                                   each level's scenery: "layers.xml"
                                                              with a background, props and an "fx"
                                                              folder of ambient effect points
  tests/data/levels/five_minutes.xml, stress.xml              test levels; their scenery lies in
                                                              tests/data/levels/ruv/data/maps/, to be
                                                              laid over a copy of the data root

    tools/leveldata/make_levels.py [data root [test level folder]]
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "gamedata"))
sys.path.insert(0, os.path.join(HERE, "..", "artgen"))
from roster import ROSTER, line_tower_ids, shadow_units  # noqa: E402
from make_art import Canvas, Layout, shade, write_file  # noqa: E402

# ---------------------------------------------------------------------------------------------
# Units by the part they play in the sample balance sheets; every id is one of the roster's.
WALKER = 0      # tier row: "upgrade" 2
RUNNER = 11     # also a carrier's cargo
STONE = 39      # also raised by necromancy
STRAIGHT_FLYER = 3
INVISIBLE = 30
HASTE = 31
CARRIER = 38
ICE = 10
HEALER = 32
SHAMAN = 33
ALL_UNITS = ROSTER["units"] + shadow_units()
assert all(u in ALL_UNITS for u in (WALKER, RUNNER, STONE, STRAIGHT_FLYER, INVISIBLE, HASTE, CARRIER, ICE, HEALER,
                                    SHAMAN))
PRESET_TOWER = line_tower_ids(next(iter(ROSTER["tower_lines"])))[0]

# Lanes: the entry's "y" (key -20, 0 and 20).
LEFT, MIDDLE, RIGHT = 0, -65, -130
MAP_SIZE = (1024, 768)


# ---------------------------------------------------------------------------------------------
# A level: points, curved links, build spots and waves, written as the game reads them.
class Level:
    def __init__(self, map_name, budget):
        self.map_name = map_name
        self.budget = budget
        self.points = []  # (id, x, y, {name: value})
        self.links = []   # (sid, eid, anchor x, anchor y)
        self.spots = []   # (x, y, {name: value})
        self.waves = []   # ({attribute: value}, [(id, upgrade, x, y)])
        self.waves_timeout = 0

    def point(self, pid, x, y, **marks):
        self.points.append((pid, x, y, marks))

    def link(self, sid, eid, bend=0.0):
        """A link whose control point lies off the middle of the chord by bend times its length."""
        a = self.position(sid)
        b = self.position(eid)
        dx, dy = b[0] - a[0], b[1] - a[1]
        self.links.append((sid, eid, round((a[0] + b[0]) / 2 - dy * bend), round((a[1] + b[1]) / 2 + dx * bend)))

    def position(self, pid):
        return next((x, y) for p, x, y, _ in self.points if p == pid)

    def spot(self, x, y, cost_gold=0, cost_real=0, tower_id=0):
        kind = 2 if cost_real else 1 if cost_gold else 0
        # Every multiplier is written: a missing one reads 0, a tower without range or damage.
        self.spots.append((x, y, {"cost_gold": cost_gold, "cost_real": cost_real, "type": kind, "tower_id": tower_id,
                                  "radius_mult": 1, "damage_mult": 1, "income_mult": 1}))

    def wave(self, spawn, entries, timeout=5, wipe_award=0, scale=None, linked=None):
        attributes = {"timeout": timeout, "spawn": spawn, "wipeAward": wipe_award}
        if scale is not None:
            attributes["scale"] = scale
        if linked is not None:
            attributes["linked"] = linked
        assert entries, "a wave without entries is dropped by the game"
        self.waves.append((attributes, entries))
        return len(self.waves) - 1

    def xml(self):
        out = ['<?xml version="1.0" encoding="UTF-8"?>', "<map>",
               "  <li>../../ruv/data/maps/%s/</li>" % self.map_name, "  <budget>%d</budget>" % self.budget,
               "  <points>"]
        for pid, x, y, marks in self.points:
            out.append('    <point id="%d" x="%g" y="%g">' % (pid, x, y))
            out += ['      <attribute name="%s" value="%g"/>' % item for item in sorted(marks.items())]
            out.append("    </point>")
        out.append("  </points>")
        out.append("  <links>")
        out += ['    <link sid="%d" eid="%d" anchor_x="%g" anchor_y="%g"/>' % link for link in self.links]
        out.append("  </links>")
        out.append("  <spots>")
        for x, y, attributes in self.spots:
            out.append('    <spot x="%g" y="%g">' % (x, y))
            out += ['      <attribute name="%s" value="%g"/>' % item for item in attributes.items()]
            out.append("    </spot>")
        out.append("  </spots>")
        out.append('  <waves timeout="%g">' % self.waves_timeout)
        for attributes, entries in self.waves:
            out.append("    <wave %s>" % " ".join('%s="%g"' % item for item in attributes.items()))
            out += ['      <entry id="%d" upgrade="%d" x="%g" y="%g"/>' % entry for entry in entries]
            out.append("    </wave>")
        out.append("  </waves>")
        out.append("</map>")
        return "\n".join(out) + "\n"

    def curve(self, link, steps=24):
        sid, eid, ax, ay = link
        (x0, y0), (x2, y2) = self.position(sid), self.position(eid)
        for i in range(steps + 1):
            t = i / steps
            yield ((1 - t) ** 2 * x0 + 2 * t * (1 - t) * ax + t * t * x2,
                   (1 - t) ** 2 * y0 + 2 * t * (1 - t) * ay + t * t * y2)


def group(unit, count, start=0, spacing=45, upgrade=1, lanes=(MIDDLE,)):
    """count entries of one unit, spacing / 45 seconds apart, taking the lanes in turn."""
    return [(unit, upgrade, start + i * spacing, lanes[i % len(lanes)]) for i in range(count)]


# ---------------------------------------------------------------------------------------------
# Scenery: a background with the road drawn along the links, a few props, and the effect points.
GRASS = {1: (92, 132, 64), 2: (150, 140, 96), 9: (90, 100, 110)}
ROAD = (176, 150, 108)


def scenery(level, episode):
    width, height = MAP_SIZE
    background = Canvas(width, height)
    background.pixels = bytearray(bytes(GRASS[episode] + (255,)) * (width * height))
    for link in level.links:
        samples = list(level.curve(link))
        for (x1, y1), (x2, y2) in zip(samples, samples[1:]):
            background.bar(x1, y1, x2, y2, 22, ROAD + (255,))
            background.circle(x2, y2, 22, ROAD + (255,))
    for _, x, y, marks in level.points:
        if marks.get("spawn"):
            gate(background, x, y)
        if marks.get("goal"):
            keep(background, x, y)
    layout = Layout()
    layout.add("background", background)
    # Props placed off the road, away from the spots, at a few fixed corners.
    for index, (x, y) in enumerate(prop_places(level)):
        prop = Canvas(48, 64)
        prop.rect(21, 40, 6, 22, (110, 80, 50, 255))
        prop.circle(24, 26, 20, shade(GRASS[episode], 0.7))
        layout.add("prop%d" % index, prop, x - 24, y - 64)
    # The ambient effect points (birds, leaves): the layers of the "fx" folder, along the top edge.
    for index, x in enumerate((160, 860)):
        layout.marker("fx/point%d" % index, x, 24)
    return layout


WALL = (130, 125, 135)
BANNER = (170, 40, 40)


def inside(x, y, margin):
    width, height = MAP_SIZE
    return min(max(x, margin), width - margin), min(max(y, margin), height - margin)


def gate(c, x, y):
    """Where enemies come from: a dark gate between two stone pillars, drawn on the road's end."""
    cx, cy = inside(x, y, 40)
    c.rect(cx - 36, cy - 46, 72, 70, shade(WALL, 0.8))
    c.rect(cx - 40, cy - 56, 18, 80, WALL + (255,))
    c.rect(cx + 22, cy - 56, 18, 80, WALL + (255,))
    c.circle(cx, cy - 20, 18, (30, 20, 25, 255))
    c.rect(cx - 18, cy - 20, 36, 44, (30, 20, 25, 255))
    for k in range(4):
        c.rect(cx - 14 + 9 * k, cy - 32, 3, 56, (90, 80, 70, 255))
    c.polygon([(cx - 44, cy - 56), (cx - 31, cy - 74), (cx - 18, cy - 56)], (60, 40, 40, 255))
    c.polygon([(cx + 18, cy - 56), (cx + 31, cy - 74), (cx + 44, cy - 56)], (60, 40, 40, 255))


def keep(c, x, y):
    """What the player defends: a keep with two towers and a banner at the road's goal."""
    cx, cy = inside(x, y, 48)
    c.rect(cx - 34, cy - 40, 68, 64, WALL + (255,))
    for tx in (-46, 28):
        c.rect(cx + tx, cy - 62, 18, 86, shade(WALL, 1.1))
        c.polygon([(cx + tx - 4, cy - 62), (cx + tx + 9, cy - 84), (cx + tx + 22, cy - 62)], BANNER + (255,))
    for k in range(5):
        c.rect(cx - 34 + 15 * k, cy - 48, 9, 9, WALL + (255,))
    c.rect(cx - 11, cy - 2, 22, 26, (60, 40, 30, 255))
    c.rect(cx - 1, cy - 78, 2, 30, (70, 60, 50, 255))
    c.polygon([(cx + 1, cy - 78), (cx + 22, cy - 72), (cx + 1, cy - 66)], BANNER + (255,))


def prop_places(level):
    taken = [(x, y) for x, y, _ in level.spots] + [(p[1], p[2]) for p in level.points]
    for link in level.links:
        taken += list(level.curve(link, 8))
    places = []
    for x, y in [(60, 110), (960, 110), (60, 740), (960, 740), (512, 100), (512, 750)]:
        if all(math.hypot(x - tx, y - ty) > 90 for tx, ty in taken):
            places.append((x, y))
    return places


# ---------------------------------------------------------------------------------------------
# The campaign.
def single_path(map_name, hard=False):
    """A single winding path from the left edge to the goal on the right."""
    level = Level(map_name, 200 if not hard else 150)
    level.point(1, 0, 384, spawn=1)
    level.point(2, 300, 220)
    level.point(3, 620, 540)
    level.point(4, 1000, 380, goal=1)
    level.link(1, 2, 0.15)
    level.link(2, 3, -0.2)
    level.link(3, 4, 0.15)
    for x, y in [(220, 330), (380, 320), (470, 420), (560, 380), (720, 420)]:
        level.spot(x, y)
    level.spot(820, 520, cost_gold=60)
    count = 3 if hard else 1
    level.wave(1, group(WALKER, 4 * count, lanes=(MIDDLE, LEFT)), timeout=5, wipe_award=10)
    level.wave(1, group(WALKER, 3 * count, spacing=60) + group(RUNNER, 3 * count, start=30, lanes=(RIGHT,)),
               timeout=8, wipe_award=15)
    level.wave(1, group(WALKER, 4 * count, upgrade=2, spacing=50, lanes=(LEFT, MIDDLE, RIGHT)), timeout=8,
               wipe_award=20)
    return level


def fork(map_name, hard=False):
    """Two spawn points join before a fork; both branches meet again at the goal."""
    level = Level(map_name, 250)
    level.point(1, 0, 180, spawn=1)
    level.point(2, 0, 600, spawn=1)
    level.point(3, 330, 390)
    level.point(4, 640, 220)
    level.point(5, 660, 600)
    level.point(6, 1000, 400, goal=1)
    level.link(1, 3, 0.1)
    level.link(2, 3, -0.1)
    level.link(3, 4, 0.1)
    level.link(3, 5, -0.1)
    level.link(4, 6, 0.1)
    level.link(6, 5, 0.1)  # written from the goal: links join both ways
    for x, y in [(200, 330), (200, 470), (440, 300), (450, 500), (560, 400), (760, 330), (780, 500)]:
        level.spot(x, y)
    level.spot(860, 240, cost_gold=80)
    count = 2 if hard else 1
    level.wave(1, group(WALKER, 5 * count, lanes=(LEFT, RIGHT)), timeout=5, wipe_award=10)
    level.wave(2, group(RUNNER, 5 * count, lanes=(MIDDLE,)), timeout=6, wipe_award=10)
    level.wave(-1, group(WALKER, 4 * count, upgrade=2) + group(HASTE, 2 * count, start=20), timeout=8,
               wipe_award=20)
    level.wave(2, group(INVISIBLE, 3 * count, lanes=(LEFT, RIGHT)) + group(STRAIGHT_FLYER, 2, start=60), timeout=8,
               wipe_award=20)
    return level


def linked_support(map_name):
    """A wave of walkers with a linked wave of healers and shamans from the second spawn point."""
    level = Level(map_name, 260)
    level.point(1, 0, 250, spawn=1)
    level.point(2, 500, 0, spawn=1)
    level.point(3, 420, 380)
    level.point(4, 740, 560)
    level.point(5, 1000, 420, goal=1)
    level.link(1, 3, 0.1)
    level.link(2, 3, 0.1)
    level.link(3, 4, -0.15)
    level.link(4, 5, 0.1)
    for x, y in [(240, 380), (300, 220), (560, 300), (540, 480), (660, 420), (860, 560), (880, 360)]:
        level.spot(x, y)
    level.spot(330, 520, cost_gold=50)
    level.wave(1, group(WALKER, 6, lanes=(LEFT, RIGHT)), timeout=5, wipe_award=10)
    escort = level.wave(1, group(WALKER, 8, upgrade=2, spacing=40, lanes=(LEFT, MIDDLE, RIGHT)), timeout=6,
                        wipe_award=25)
    level.wave(2, group(HEALER, 2, start=90, spacing=120) + group(SHAMAN, 2, start=150, spacing=120), timeout=6,
               wipe_award=30, linked=escort)
    level.wave(1, group(SHAMAN, 2, spacing=90) + group(HEALER, 1, start=45) + group(WALKER, 6, start=20),
               timeout=8, wipe_award=30)
    return level


def carriers_and_gems(map_name):
    """Carriers, a spot bought with gems and a tower that stands from the start."""
    level = Level(map_name, 220)
    level.point(1, 0, 560, spawn=1)
    level.point(2, 280, 300)
    level.point(3, 560, 560)
    level.point(4, 800, 240)
    level.point(5, 1000, 330, goal=1)
    level.link(1, 2, -0.1)
    level.link(2, 3, -0.15)
    level.link(3, 4, -0.1)
    level.link(4, 5, 0.1)
    for x, y in [(170, 360), (390, 330), (440, 530), (660, 420), (720, 250)]:
        level.spot(x, y)
    level.spot(300, 440, tower_id=PRESET_TOWER)
    level.spot(880, 200, cost_real=5)
    level.spot(600, 680, cost_gold=40, cost_real=2)
    level.wave(1, group(WALKER, 6, lanes=(MIDDLE, LEFT)), timeout=5, wipe_award=10)
    level.wave(1, group(CARRIER, 2, spacing=120) + group(WALKER, 4, start=60), timeout=8, wipe_award=20)
    level.wave(1, group(CARRIER, 3, spacing=90, lanes=(LEFT, RIGHT)) + group(RUNNER, 4, start=30), timeout=8,
               wipe_award=30)
    return level


def mixed(map_name, hard=False):
    """Every kind of enemy along a long loop, waves pulled along in pairs. With the single life of
    hardcore, hasted invisible flyers and a close pack of straight flyers (each hides the others) get
    through any defence: the hardcore escort comes without haste and its flyers fly far apart."""
    level = Level(map_name, 350 if hard else 300)
    level.point(1, 0, 120, spawn=1)
    level.point(2, 360, 140)
    level.point(3, 700, 260, upper=1)
    level.point(4, 420, 440)
    level.point(5, 160, 600)
    level.point(6, 620, 660)
    level.point(7, 1000, 560, goal=1)
    for sid, eid, bend in [(1, 2, 0.05), (2, 3, 0.1), (3, 4, 0.1), (4, 5, -0.1), (5, 6, 0.1), (6, 7, -0.1)]:
        level.link(sid, eid, bend)
    for x, y in [(180, 230), (520, 230), (600, 360), (300, 360), (280, 560), (420, 560), (760, 560), (860, 460)]:
        level.spot(x, y)
    level.spot(860, 660, cost_real=4)
    count = 2 if hard else 1
    level.wave(1, group(WALKER, 6 * count, lanes=(LEFT, MIDDLE, RIGHT)), timeout=5, wipe_award=10)
    first = level.wave(1, group(ICE, 1) + group(STONE, 1, start=90), timeout=6, wipe_award=25)
    escort = group(INVISIBLE, 3, lanes=(LEFT,)) + ([] if hard else group(HASTE, 2, start=45))
    level.wave(-1, escort, timeout=6, linked=first)
    level.wave(1, group(STRAIGHT_FLYER, 3, spacing=200 if hard else 60) + group(CARRIER, 1, start=90), timeout=8,
               wipe_award=25)
    level.wave(1, group(HEALER, 1) + group(SHAMAN, 1, start=45) + group(WALKER, 8 * count, upgrade=2, start=20,
                                                                         spacing=30, lanes=(LEFT, RIGHT)),
               timeout=8, wipe_award=40, scale=1.2)
    return level


CAMPAIGN = [
    ("levels_normal/level_01_01.xml", 1, lambda: single_path("ep1_1")),
    ("levels_normal/level_01_02.xml", 1, lambda: fork("ep1_2")),
    ("levels_normal/level_01_03.xml", 1, lambda: linked_support("ep1_3")),
    ("levels_normal/level_02_01.xml", 2, lambda: carriers_and_gems("ep2_1")),
    ("levels_normal/level_02_02.xml", 2, lambda: mixed("ep2_2")),
    ("levels_normal/level_02_03.xml", 2, lambda: fork("ep2_3", hard=True)),
    ("levels_hardcore/level_01_01.xml", 1, lambda: single_path("hc1_1", hard=True)),
    ("levels_hardcore/level_02_01.xml", 2, lambda: mixed("hc2_1", hard=True)),
]


# ---------------------------------------------------------------------------------------------
# Test levels.
def serpentine(level, rows, spawn_id=1):
    """A path sweeping across the map row by row; returns its length in straight steps."""
    ids = []
    for row in range(rows):
        y = 60 + row * (648 / max(1, rows - 1))
        xs = (40, 984) if row % 2 == 0 else (984, 40)
        for column, x in enumerate(xs):
            pid = spawn_id + len(ids)
            marks = {"spawn": 1} if not ids else {"goal": 1} if row == rows - 1 and column == 1 else {}
            level.point(pid, x if ids else 0, y, **marks)
            ids.append(pid)
    for a, b in zip(ids, ids[1:]):
        level.link(a, b, 0.05)
    return sum(math.hypot(level.position(b)[0] - level.position(a)[0], level.position(b)[1] - level.position(a)[1])
               for a, b in zip(ids, ids[1:]))


def five_minutes():
    """About five minutes without towers (each wave waits 15 s, spawns for 4 s and walks 16 to 28 s),
    with 24 arrivals against 25 lives: won with one life left."""
    level = Level("five_minutes", 400)
    level.point(1, 0, 300, spawn=1)
    level.point(2, 500, 420)
    level.point(3, 1000, 300, goal=1)
    level.link(1, 2, 0.1)
    level.link(2, 3, 0.1)
    for i in range(12):
        level.spot(80 + i * 80, 220 if i % 2 else 520)
    waves = [(WALKER, 1), (RUNNER, 1), (WALKER, 2)]
    for i in range(8):
        unit, upgrade = waves[i % len(waves)]
        level.wave(1, group(unit, 3, spacing=90, upgrade=upgrade, lanes=(LEFT, MIDDLE, RIGHT)), timeout=15,
                   wipe_award=10)
    return level


def stress():
    """500 enemies alive at once (they spawn within 10 s on a path none walks in a minute), 40 spots."""
    level = Level("stress", 5000)
    length = serpentine(level, 6)
    slowest = 70.0  # the fastest unit's speed in pixels per second, so that none arrives early
    assert length / slowest > 60, length
    for i in range(40):
        row, column = divmod(i, 8)
        level.spot(100 + column * 118, 120 + row * 130)
    lead = level.wave(1, group(WALKER, 100, spacing=4.5, lanes=(LEFT, MIDDLE, RIGHT)), timeout=1)
    for unit in (RUNNER, WALKER, RUNNER, WALKER):
        level.wave(1, group(unit, 100, spacing=4.5, lanes=(LEFT, MIDDLE, RIGHT)), timeout=1, linked=lead)
    return level


TEST_LEVELS = [("five_minutes.xml", 9, five_minutes), ("stress.xml", 9, stress)]


def write_level(level, episode, xml_path, maps_root):
    write_file(xml_path, level.xml().encode())
    scenery(level, episode).write(os.path.join(maps_root, level.map_name))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data")
    tests = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "..", "tests", "data", "levels")
    for path, episode, build in CAMPAIGN:
        write_level(build(), episode, os.path.join(root, "ruv", path), os.path.join(root, "ruv", "data", "maps"))
    for name, episode, build in TEST_LEVELS:
        write_level(build(), episode, os.path.join(tests, name), os.path.join(tests, "ruv", "data", "maps"))


if __name__ == "__main__":
    main()
