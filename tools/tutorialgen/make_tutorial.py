#!/usr/bin/env python3
"""Writes the sample game's tutorial script "ruv/tutorial.xml": the steps of the first three levels
of episode 1, each with its events, commands, the layout folder it shows and its hint. The steps'
pictures ("ruv/data/tutorial") come from tools/layoutgen/make_layouts.py and their hint texts from
tools/gamedata/make_gamedata.py; both read STEPS below, so run all three after changing it.

Level 1 walks the player through one build: the marked spot, a tower from the ring, play. An event
that one step completes and a later one activates (tower_select, tower_built, unlock_window_close,
wave_1_spawned_2) hands over in file order; steps that stop the battle end on play. The shop is never
blocked: the tutorial cannot know when the player leaves the battle for a menu with the shop.

    tools/tutorialgen/make_tutorial.py [data root]     (default: data/ beside tools/)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The spot of level 1 the first steps point at: its index in the level file ("#0").
FIRST_SPOT = 0


class Step:
    """A step; target says what its arrow points at: ("spot", index), ("hud", button name),
    ("counter", text place of "ruv/ui") or ("spell", slot index)."""

    def __init__(self, sid, level, activate, complete, target, hint, cmds=(), on_complete=()):
        self.id = sid
        self.level = level
        self.activate = activate
        self.complete = complete
        self.target = target
        self.hint = hint
        self.cmds = list(cmds)
        self.on_complete = list(on_complete)

    @property
    def folder(self):
        return "step%d" % self.id

    @property
    def string_key(self):
        return "tutorial_step%d" % self.id


STEPS = [
    # Level 1: build one tower, start the battle, meet the first wave. The level opens with its
    # unlock message, whose closing lets the battle run: the first step stops it again after that.
    Step(0, 0, "unlock_window_close", "tower_select", ("spot", FIRST_SPOT),
         "Click the marked build spot to open the build ring.",
         cmds=[("pause", 1), ("blockUI", 2), ("spot", FIRST_SPOT), ("dropChanceOverride", 100)]),
    Step(1, 0, "tower_select", "tower_built", ("spot", FIRST_SPOT),
         "Pick a tower from the ring to build it.",
         on_complete=[("spot", -1)]),
    Step(2, 0, "tower_built", "game_play", ("hud", "play_btn"),
         "Well done! Press play to let the enemies come.",
         cmds=[("blockUI", 1)], on_complete=[("blockUI", 0), ("blockShop", 0)]),
    Step(3, 0, "wave_1_spawned_2", "game_play", ("hud", "play_btn"),
         "Here they come! Towers fire on their own. Gold buys more: press play to go on.",
         cmds=[("pause", 1), ("addMoney", 50)]),
    Step(4, 0, "wave_vanish_1", "game_play", ("counter", "crystals"),
         "Wave beaten! Gems buy upgrades in the shop. Press play to go on.",
         cmds=[("pause", 1), ("addGems", 5)], on_complete=[("dropChanceOverride", 0)]),
    # Level 2: the unlock message (when it shows) hands over to the spells; else play does.
    Step(5, 1, "level_1_2_start", "unlock_window_close", ("hud", "play_btn"),
         "New towers and spells are ready. Press play when you are set.",
         cmds=[("pause", 1)]),
    Step(51, 1, "unlock_window_close", "wave_vanish_1", ("spell", 0),
         "Spells help in a pinch: click one, then click the map.",
         cmds=[("pause", 0), ("resetSpell", 0)], on_complete=[("completeStep", 6)]),
    Step(6, 1, "game_play", "wave_vanish_1", ("spell", 0),
         "Spells help in a pinch: click one, then click the map.",
         cmds=[("resetSpell", 0)]),
    # Level 3: the speed and options buttons, while the first wave comes and goes.
    Step(7, 2, "level_1_3_start", "wave_1_spawned_2", ("hud", "speed_btn"),
         "Tip: the fast button doubles the pace of the battle."),
    Step(8, 2, "wave_1_spawned_2", "wave_vanish_1", ("hud", "options_btn"),
         "The options button pauses the battle and opens the menu."),
]


def tutorial_strings():
    """(key, text) of every hint."""
    return [(step.string_key, step.hint) for step in STEPS]


def command_lines(tag, commands, indent):
    if not commands:
        return []
    lines = ["%s<%s>" % (indent, tag)]
    lines += ['%s  <cmd param="%s" value="%d"/>' % (indent, param, value) for param, value in commands]
    lines.append("%s</%s>" % (indent, tag))
    return lines


def write_tutorial():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<tutorial>"]
    for step in STEPS:
        lines.append('  <step id="%d" activate="%s" complete="%s">' % (step.id, step.activate, step.complete))
        lines.append('    <condition shop="-1" episode="0" level="%d"/>' % step.level)
        lines.append('    <show folder="%s">' % step.folder)
        lines.append('      <text place="%s/hint" string="%s"/>' % (step.folder, step.string_key))
        lines.append("    </show>")
        lines += command_lines("cmds", step.cmds, "    ")
        lines += command_lines("onComplete", step.on_complete, "    ")
        lines.append("  </step>")
    lines.append("</tutorial>")
    return "\n".join(lines) + "\n"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data")
    with open(os.path.join(root, "ruv", "tutorial.xml"), "w", encoding="utf-8", newline="\n") as out:
        out.write(write_tutorial())


if __name__ == "__main__":
    main()
