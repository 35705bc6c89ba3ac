#!/usr/bin/env python3
"""Writes the sample dialog effects: data/data/game.xml and its show and hide animations.

Usage: make_dialog_data.py <data root>   (the repository's data/ folder)
The animation format: little-endian u32 and f32; strings are a u32 byte count and the bytes.
"""
import os
import struct
import sys

LINEAR, CONSTANT = 3, 1


def string(text):
    return struct.pack('<I', len(text)) + text


def envelope(keys):
    """keys: (time, value) pairs, linear, constant before and after."""
    out = struct.pack('<III', len(keys), CONSTANT, CONSTANT)
    for time, value in keys:
        out += struct.pack('<ffI6f', value, time, LINEAR, 0, 0, 0, 0, 0, 0)
    return out


def animation(name, end, scale, dissolve):
    """One track on the dialog's layer: scale x and y and dissolve over [0, end]."""
    track = string(b'dialog') + string(b'screen_res') + string(b'null')
    track += struct.pack('<4I', 0, 0, 0, 0)  # no parent, flags clear, no colour
    still = envelope([(0.0, 0.0)])
    one = envelope([(0.0, 1.0)])
    motion = [still, still, still, still, still, still, envelope(scale), envelope(scale), one, envelope(dissolve)]
    track += b''.join(motion)
    return string(name) + struct.pack('<ffI', 0.0, end, 1) + track


GAME_XML = """<?xml version="1.0" encoding="UTF-8"?>
<Game>
  <DialogEffects>
    <Data>
      <Anim name="popup" show_anim_data="data/dialog_show.anim" hide_anim_data="data/dialog_hide.anim" preload=""/>
    </Data>
    <Dialogs>
      <Options effects="popup"/>
    </Dialogs>
  </DialogEffects>
</Game>
"""


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else 'data'
    folder = os.path.join(root, 'data')
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'game.xml'), 'w', encoding='utf-8', newline='\n') as out:
        out.write(GAME_XML)
    with open(os.path.join(folder, 'dialog_show.anim'), 'wb') as out:
        out.write(animation(b'dialog_show', 0.25, [(0.0, 0.8), (0.25, 1.0)], [(0.0, 1.0), (0.25, 0.0)]))
    with open(os.path.join(folder, 'dialog_hide.anim'), 'wb') as out:
        out.write(animation(b'dialog_hide', 0.2, [(0.0, 1.0), (0.2, 0.8)], [(0.0, 0.0), (0.2, 1.0)]))


if __name__ == '__main__':
    main()
