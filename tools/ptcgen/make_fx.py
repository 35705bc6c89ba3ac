#!/usr/bin/env python3
"""Writes the game's particle effects: data/ruv/fx/fx2.ptc (format: Platform/Magic/PtcFormat.md)
and its atlas fx2_atlas.png, sprites drawn here. Run from anywhere; the outputs are committed."""
import math
import os
import random
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
sys.path.insert(0, os.path.join(ROOT, 'tools', 'testimages'))
from make_test_images import png  # noqa: E402  (the PNG writer of the test images)
OUT = os.path.join(ROOT, 'data', 'ruv', 'fx')
ATLAS = 'fx2_atlas.png'
SIZE = 256
CELL = 64


def clamp(v):
    return max(0.0, min(1.0, v))


# Sprites as alpha functions of (x, y) in -1..1 over one 64x64 cell; colour is white (tinted by
# the particles' colour curves) unless a sprite returns (alpha, grey).
def glow(x, y):
    return clamp(math.exp(-4.0 * (x * x + y * y)) * 1.1 - 0.02)


def spark(x, y):
    r = math.hypot(x, y)
    star = math.exp(-30 * abs(x * y)) * clamp(1 - r)
    return clamp(star + 0.8 * math.exp(-12 * r * r))


def ring(x, y):
    r = math.hypot(x, y)
    return clamp(math.exp(-80 * (r - 0.75) ** 2))


_noise = random.Random(7)
_blobs = [(_noise.uniform(-0.4, 0.4), _noise.uniform(-0.4, 0.4), _noise.uniform(0.25, 0.45)) for _ in range(7)]


def smoke(x, y):
    a = sum(math.exp(-((x - bx) ** 2 + (y - by) ** 2) / (r * r)) for bx, by, r in _blobs) / 3.0
    return clamp(a) * clamp(1.2 - math.hypot(x, y))


def bubble(x, y):
    r = math.hypot(x, y)
    rim = math.exp(-60 * (r - 0.8) ** 2)
    shine = math.exp(-40 * ((x + 0.35) ** 2 + (y + 0.35) ** 2))
    return clamp(rim * 0.9 + shine + (0.15 if r < 0.8 else 0.0))


def dot(x, y):
    return clamp((0.55 - math.hypot(x, y)) * 12)


def streak(x, y):
    return clamp(math.exp(-30 * y * y) * clamp(1.0 - abs(x) ** 4))


def bird(x, y):
    # A dark gull: two wings in a shallow V.
    wing = abs(y + 0.45 * abs(x) - 0.1)
    body = clamp((0.09 - wing) * 30) * clamp((0.95 - abs(x)) * 10)
    return (body, 0.15)


SPRITES = [glow, spark, ring, smoke, bubble, dot, streak, bird]


def atlas():
    pixels = bytearray(SIZE * SIZE * 4)
    for index, sprite in enumerate(SPRITES):
        cx, cy = (index % 4) * CELL, (index // 4) * CELL
        for py in range(CELL):
            for px in range(CELL):
                value = sprite((px + 0.5) / CELL * 2 - 1, (py + 0.5) / CELL * 2 - 1)
                alpha, grey = value if isinstance(value, tuple) else (value, 1.0)
                o = ((cy + py) * SIZE + cx + px) * 4
                pixels[o:o + 4] = bytes([int(grey * 255), int(grey * 255), int(grey * 255), int(alpha * 255 + 0.5)])
    return pixels


def frame(index):
    return '%d %d %d %d' % ((index % 4) * CELL, (index // 4) * CELL, CELL, CELL)


FRAMES = {name: i for i, name in enumerate(['glow', 'spark', 'ring', 'smoke', 'bubble', 'dot', 'streak', 'bird'])}


def particle(sprite, additive=False, rate=10, life=1000, life_var=0, speed=0, speed_var=0, spread=0, gravity=0,
             area=0, size=16, size_var=0, angle=0, angle_var=0, spin=0, scale=None, alpha=None, color=None):
    attrs = [('atlas', 0), ('frame', frame(FRAMES[sprite])), ('additive', int(additive)), ('rate', rate),
             ('life', life), ('life_var', life_var), ('speed', speed), ('speed_var', speed_var), ('spread', spread),
             ('gravity', gravity), ('area', area), ('size', size), ('size_var', size_var), ('angle', angle),
             ('angle_var', angle_var), ('spin', spin)]
    text = '      <particle ' + ' '.join('%s="%s"' % (k, v) for k, v in attrs) + '>\n'
    for at, value in scale or [(0, 1)]:
        text += '        <scale at="%g" value="%g"/>\n' % (at, value)
    for at, value in alpha or [(0, 1), (1, 0)]:
        text += '        <alpha at="%g" value="%g"/>\n' % (at, value)
    for at, rgb in color or [(0, 'FFFFFF')]:
        text += '        <color at="%g" rgb="%s"/>\n' % (at, rgb)
    return text + '      </particle>\n'


def emitter(name, particles, duration=1000, start=0, loop=False, direction=90):
    text = '    <emitter name="%s" duration="%g" start="%g" loop="%d" step="16.667" direction="%g">\n' % (
        name, duration, start, int(loop), direction)
    return text + ''.join(particles) + '    </emitter>\n'


FADE_IN_OUT = [(0, 0), (0.2, 1), (1, 0)]

UI = [
    emitter('active', [particle('glow', True, rate=30, life=700, life_var=200, speed=20, speed_var=10, spread=360,
                                area=20, size=28, size_var=8, scale=[(0, 0.4), (1, 1.2)], alpha=FADE_IN_OUT,
                                color=[(0, 'FFE080'), (1, 'FF8020')]),
                       particle('spark', True, rate=6, life=900, spread=360, speed=35, size=24, spin=180,
                                alpha=FADE_IN_OUT, color=[(0, 'FFFFFF'), (1, 'FFD040')])], loop=True),
    emitter('active_btn', [particle('ring', True, rate=3, life=900, size=40, scale=[(0, 0.5), (1, 1.4)],
                                    alpha=[(0, 0.9), (1, 0)], color=[(0, '80E0FF')])], loop=True),
    emitter('active_lvl', [particle('glow', True, rate=12, life=1200, life_var=300, speed=12, spread=360, area=24,
                                    size=36, size_var=10, alpha=FADE_IN_OUT, color=[(0, 'A0FF80')])], loop=True),
    emitter('blik_1', [particle('spark', True, rate=4, life=600, area=10, size=20, size_var=6, angle_var=45,
                                scale=[(0, 0.2), (0.4, 1), (1, 0.2)], alpha=FADE_IN_OUT)], loop=True),
    emitter('blik_2', [particle('spark', True, rate=6, life=600, area=20, size=24, size_var=6, angle_var=45,
                                scale=[(0, 0.2), (0.4, 1), (1, 0.2)], alpha=FADE_IN_OUT,
                                color=[(0, 'FFF0C0')])], loop=True),
    emitter('blik_4', [particle('spark', True, rate=8, life=700, area=40, size=22, size_var=8, angle_var=45,
                                scale=[(0, 0.2), (0.4, 1), (1, 0.2)], alpha=FADE_IN_OUT,
                                color=[(0, 'C0E0FF')])], loop=True),
    emitter('blik_6', [particle('spark', True, rate=12, life=800, area=60, size=26, size_var=8, angle_var=45,
                                scale=[(0, 0.2), (0.4, 1), (1, 0.2)], alpha=FADE_IN_OUT)], loop=True),
]

MAP = [
    emitter('build', [particle('smoke', rate=60, life=900, life_var=200, speed=70, speed_var=30, spread=160,
                               gravity=60, area=16, size=40, size_var=10, angle_var=180, spin=40,
                               scale=[(0, 0.5), (1, 1.5)], alpha=[(0, 0.8), (1, 0)], color=[(0, 'C8B090')]),
                      particle('dot', rate=40, life=600, speed=120, speed_var=40, spread=120, gravity=300, size=6,
                               alpha=[(0, 1), (1, 0)], color=[(0, '806040')])], duration=400),
    emitter('upgrade', [particle('glow', True, rate=50, life=900, speed=90, speed_var=20, spread=40, area=20,
                                 size=24, alpha=FADE_IN_OUT, color=[(0, 'FFFFFF'), (1, '40A0FF')]),
                        particle('spark', True, rate=20, life=700, speed=60, spread=360, size=20, spin=360,
                                 alpha=FADE_IN_OUT, color=[(0, 'FFFFC0')])], duration=600),
    emitter('damage_h', [particle('dot', rate=80, life=500, life_var=100, speed=90, speed_var=40, spread=120,
                                  gravity=250, size=6, size_var=2, alpha=[(0, 1), (1, 0)],
                                  color=[(0, 'E01010'), (1, '600000')])], duration=150),
    emitter('fog_01', [particle('smoke', rate=6, life=4000, life_var=800, speed=8, speed_var=4, spread=360,
                                area=80, size=120, size_var=30, angle_var=180, spin=6, scale=[(0, 0.7), (1, 1.2)],
                                alpha=[(0, 0), (0.3, 0.35), (1, 0)], color=[(0, 'D0D8E8')])],
           duration=4000, start=2000, loop=True),
    emitter('mg_00', [particle('glow', True, rate=40, life=500, speed=20, spread=360, area=8, size=30,
                               alpha=FADE_IN_OUT, color=[(0, 'C080FF'), (1, '4020A0')]),
                      particle('ring', True, rate=4, life=600, size=50, scale=[(0, 0.3), (1, 1.5)],
                               alpha=[(0, 0.8), (1, 0)], color=[(0, 'E0C0FF')])], loop=True),
    emitter('portal_1', [particle('glow', True, rate=40, life=1500, speed=25, spread=360, area=30, size=26,
                                  size_var=6, gravity=-20, alpha=FADE_IN_OUT,
                                  color=[(0, '60FFD0'), (1, '2060FF')]),
                         particle('ring', True, rate=2, life=1500, size=90, spin=30, scale=[(0, 1.2), (1, 0.4)],
                                  alpha=FADE_IN_OUT, color=[(0, '80FFE0')])], loop=True),
    emitter('blow_bub', [particle('bubble', rate=40, life=900, life_var=300, speed=60, speed_var=30, spread=360,
                                  gravity=-40, area=10, size=18, size_var=8, alpha=[(0, 0.9), (0.8, 0.9), (1, 0)],
                                  color=[(0, 'C0F0FF')])], duration=300),
    emitter('hammer', [particle('spark', True, rate=100, life=400, speed=150, speed_var=50, spread=140,
                                gravity=400, size=14, size_var=4, spin=300, alpha=[(0, 1), (1, 0)],
                                color=[(0, 'FFFFFF'), (1, 'FFA020')])], duration=120),
    emitter('t_line', [particle('streak', True, rate=60, life=300, area=2, size=64, alpha=FADE_IN_OUT,
                                color=[(0, 'A0E0FF')])], loop=True, direction=0),
    emitter('tr1', [particle('glow', True, rate=50, life=400, speed=10, spread=360, size=14, size_var=4,
                             scale=[(0, 1), (1, 0.2)], alpha=[(0, 0.9), (1, 0)], color=[(0, 'FFD080')])],
           loop=True),
    emitter('bird', [particle('bird', rate=0.5, life=8000, speed=45, speed_var=10, spread=20, area=30, size=24,
                              size_var=6, alpha=[(0, 0), (0.1, 0.8), (0.9, 0.8), (1, 0)])],
           loop=True, direction=170),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    png(os.path.join(OUT, ATLAS), SIZE, SIZE, atlas())
    text = '<?xml version="1.0" encoding="UTF-8"?>\n<ptc version="1" name="fx2">\n'
    text += '  <atlas file="%s" width="%d" height="%d"/>\n' % (ATLAS, SIZE, SIZE)
    text += '  <folder name="ui">\n' + ''.join(UI) + '  </folder>\n'
    text += '  <folder name="map">\n' + ''.join(MAP) + '  </folder>\n'
    text += '</ptc>\n'
    with open(os.path.join(OUT, 'fx2.ptc'), 'w', newline='\n') as f:
        f.write(text)


if __name__ == '__main__':
    main()
