#!/usr/bin/env python3
"""Writes the sample game's tables under the data root: strings, configuration, store catalogue,
upgrades, unlocks, the sound sheet and the balance sheets (towers, units, ammunition, setup). Every id the
files share comes from the roster (roster.py), as it does for the later generators (art, levels, layouts).
Deterministic; the output is committed.

    tools/gamedata/make_gamedata.py [data root [test data]]   (default: data/ and tests/data/ beside tools/)
"""
import os
import sys

from roster import ROSTER, line_number, line_tower_ids, shadow_units, tower_ids, tower_look, tower_name, unit_ids


# ---------------------------------------------------------------------------------------------
# Upgrades: (id, section, icon, targets, steps); a step is (cost_r, {attribute: value}); the level
# a profile stores is cumulative, so each step holds the whole bonus of its level.
def upgrade_table():
    table = [
        (1, 0, "upgrades/lives", [-1], [(10, {"maxHP": 2}), (25, {"maxHP": 5}), (50, {"maxHP": 10})]),
        (2, 0, "upgrades/budget", [-1], [(10, {"startBudget": 10}), (30, {"startBudget": 25})]),
        (3, 0, "upgrades/bounty", [-1], [(15, {"enemyCost": 10}), (40, {"enemyCost": 20})]),
    ]
    lines = ROSTER["tower_lines"]
    arrows, cannon, _, _ = lines
    # The shop's first tab also sells a one-step and a ten-step range upgrade of the first two lines.
    for uid, line, steps in ((4, arrows, [(20, {"radius": 15})]),
                             (5, cannon, [(5 * (k + 1), {"radius": 2 * (k + 1)}) for k in range(10)])):
        table.append((uid, 0, "upgrades/" + lines[line]["upgrades"] + "_range", line_tower_ids(line), steps))
    for index, line in enumerate(lines):
        targets = line_tower_ids(line)
        table.append((10 + index, 1, "upgrades/" + lines[line]["upgrades"] + "_power", targets,
                      [(10, {"strength": 10}), (25, {"strength": 20, "radius": 5})]))
        table.append((20 + index, 1, "upgrades/" + lines[line]["upgrades"] + "_price", targets,
                      [(10, {"cost": -10}), (25, {"cost": -20, "cooldown": 5})]))
    spell = next(iter(ROSTER["spells"]))
    table.append((ROSTER["spell_upgrade"], 2, "upgrades/spell_recharge", [spell],
                  [(15, {"cooldown": 10}), (35, {"cooldown": 25, "strength": 10})]))
    return table


# The upgrade shop's tabs, one per section of the table above.
SHOP_TABS = ["Battle", "Towers", "Spells"]

# Upgrade id -> the name its shop row shows; the description of each step is made from its values.
UPGRADE_NAMES = {1: "Extra lives", 2: "War chest", 3: "Bounty", 4: "Archer range", 5: "Cannon range",
                 10: "Sharp arrows", 11: "Heavy shot", 12: "Arcane power", 13: "Rich veins",
                 20: "Cheap archers", 21: "Cheap cannons", 22: "Cheap mages", 23: "Cheap mines",
                 28: "Quick recharge"}
# Attribute -> how its value reads; towers fire faster and spells recharge faster with "cooldown".
UPGRADE_EFFECTS = {"maxHP": "+%d lives", "startBudget": "+%d%% starting gold", "enemyCost": "+%d%% gold per kill",
                   "radius": "+%d%% range", "strength": "+%d%% power", "cost": "%d%% price",
                   "cooldown": "%d%% faster"}


def upgrade_step_text(attributes):
    """One line: every bonus of the step, "+10% power, +5% range"."""
    return ", ".join(UPGRADE_EFFECTS[name] % value for name, value in attributes.items())


def write_upgrades():
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<upgrades>"]
    for uid, section, icon, targets, steps in upgrade_table():
        out.append('  <upgrade id="%d" section="%d" icon="%s">' % (uid, section, icon))
        if uid == ROSTER["spell_upgrade"]:
            out.append('    <unlock episode="0" level="1"/>')
        out.append("    <targets>")
        out += ['      <target id="%d"/>' % t for t in targets]
        out.append("    </targets>")
        out.append("    <steps>")
        for cost_r, attributes in steps:
            out.append('      <step cost_g="0" cost_r="%d">' % cost_r)
            out.append("        <attributes>")
            out += ['          <attribute name="%s" value="%g"/>' % (k, v) for k, v in attributes.items()]
            out.append("        </attributes>")
            out.append("      </step>")
        out.append("    </steps>")
        out.append("  </upgrade>")
    out.append("</upgrades>")
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------
# Unlocks: one line for every sample level, in the order levels are played. A level announces its
# ids in at most two messages: each message names a group of ids and is shown for the group's
# first id (the message screen shows only ids that have a picture, the layouts give one per group).
def tower_group(lines, ranks):
    return [line + rank for line in lines for rank in ranks]


def unlock_groups():
    """(episode, level, [(message, ids)]) for every sample level."""
    spell = next(iter(ROSTER["spells"]))
    arrows, cannon, magic, gold = ROSTER["tower_lines"]
    tiers = ROSTER["tower_tiers"]

    def upgrades(*ids):
        return ("New in the upgrade shop:\\n" + ", ".join(UPGRADE_NAMES[i] for i in ids) + ".", list(ids))

    def branches(*lines):
        towers = [tower_name(line + branch) for line in lines for branch in ROSTER["tower_branches"]]
        return ("New tower branches:\\n" + ", ".join(towers) + ".",
                tower_group(lines, ROSTER["tower_branches"]))

    groups = [
        (0, 0, [("%s and %s are ready to build." % (tower_name(arrows), tower_name(cannon)),
                 tower_group((arrows, cannon), tiers[:2])),
                upgrades(1, 2, 3)]),
        (0, 1, [("%s and %s can now be raised to their third tier." % (tower_name(arrows), tower_name(cannon)),
                 tower_group((arrows, cannon), tiers[2:])),
                ("New spell: %s. Its %s upgrade is in the shop." % (ROSTER["spell_names"][spell],
                                                                   UPGRADE_NAMES[ROSTER["spell_upgrade"]]),
                 [spell, ROSTER["spell_upgrade"]])]),
        (0, 2, [("%s and %s are ready to build." % (tower_name(magic), tower_name(gold)),
                 tower_group((magic,), tiers) + tower_group((gold,), tiers)),
                upgrades(10, 20, 11, 21)]),
        (1, 0, [branches(arrows, cannon), upgrades(12, 22)]),
        (1, 1, [branches(magic, gold), upgrades(13, 23)]),
        (1, 2, []),
    ]
    for _, _, messages in groups:
        assert len(messages) <= 2, "a level announces its unlocks in at most two messages"
    return groups


# The hardcore announcements open the first hardcore level with one message.
HARDCORE_MESSAGE = "Hardcore: one life, no upgrades, every tower and spell from the start."


def unlock_messages():
    """Unlock id -> its message: the first id of each group, and the first hardcore announcement."""
    messages = {ids[0]: text for _, _, groups in unlock_groups() for text, ids in groups}
    messages[ROSTER["hardcore_announcements"][0]] = HARDCORE_MESSAGE
    return messages


def unlock_lines():
    lines = [(e, l, [i for _, ids in groups for i in ids]) for e, l, groups in unlock_groups()]
    levels = [(e, l) for e, l, _ in lines]
    expected = [(e, l) for e, (normal, _) in enumerate(ROSTER["episodes"]) for l in range(normal)]
    assert levels == expected, "unlocks need exactly one line per sample level"
    return lines


def write_unlocks():
    return "".join("%d;%d;%s\n" % (e, l, ",".join(str(i) for i in ids)) for e, l, ids in unlock_lines())

# ---------------------------------------------------------------------------------------------
# Balance sheets, written as the spreadsheet exports them: ";" between fields, decimal commas,
# CR LF line ends. Tier rows follow their top-level row and name it in "parent" (-1 on top-level
# rows). Art keys are the ones tools/artgen draws: "unit<id>", "tower<line>_<1..3>", "_1a", "_1b".
UNIT_FPS = 10    # walk 8, death 6, special 4 frames
TOWER_FPS = 12   # idle 4, blast 6 frames (a turning tier fires after 4 / fps)
SPELL_FPS = 12   # the spell sprite's 8 frames

UNIT_COLUMNS = ["id", "parent", "levelid", "psd", "fps", "health", "speed", "strength", "cost", "cooldown", "r",
                "air", "fillColor", "haste_buff", "invisibleArea", "invisible", "regen", "healer", "summon",
                "raiseDead", "carrier", "straight", "explodeStr", "explodeRadius", "debufftower", "blocktower",
                "fire_dmg_only", "poisonImmun", "ice", "stone", "ammoid"]
TOWER_COLUMNS = ["id", "parent", "type", "levelid", "require", "psd", "fps", "cost", "tierCost", "tierUpdates",
                 "tierK", "strength", "cooldown", "r", "speed", "ammoid", "health", "air", "aimed", "rotating",
                 "splash", "firesplash", "dot", "hold", "stun", "boostTower", "showInvisible", "teleportEnemy",
                 "goldIncome", "stars", "addons"]
TEXT_COLUMNS = {"psd", "onFire", "onAmmo", "onHit", "addons"}  # empty when a row has no value
AMMO_COLUMNS = ["id", "parent", "psd", "fps", "strength", "cooldown", "r", "speed", "splash", "firesplash", "dot",
                "hold", "stun", "boostTower", "onFire", "onAmmo", "onHit"]


def unit_rows():
    """Every unit kind: ground units 0, 11 and 39, the rest fly (they have shadows). Each ability and
    immunity appears on at least one unit."""
    flyers = set(shadow_units())
    base = {"fps": UNIT_FPS, "strength": 1, "cooldown": 0, "r": 0, "fillColor": "ffffffff", "ammoid": 0}
    kinds = {
        0: {"health": 60, "speed": 40, "cost": 5},                                  # the shaman's summons
        11: {"health": 30, "speed": 70, "cost": 2, "regen": 1, "cooldown": 1, "poisonImmun": 1},  # carrier cargo
        39: {"health": 600, "speed": 25, "strength": 3, "cost": 40, "stone": 1, "blocktower": 1, "r": 160,
             "explodeStr": 40, "explodeRadius": 80, "raiseDead": 1},
        3: {"health": 80, "speed": 60, "cost": 8, "straight": 1, "invisibleArea": 1, "r": 150, "cooldown": 1},
        30: {"health": 90, "speed": 55, "cost": 9, "invisible": 1, "cooldown": 4},
        31: {"health": 100, "speed": 50, "cost": 10, "haste_buff": 1, "r": 150, "cooldown": 3},
        38: {"health": 250, "speed": 35, "strength": 2, "cost": 20, "carrier": 1},
        10: {"health": 400, "speed": 30, "strength": 2, "cost": 30, "ice": 1, "fire_dmg_only": 1,
             "debufftower": 1, "r": 180},
        32: {"health": 150, "speed": 45, "cost": 15, "healer": 1, "r": 140, "cooldown": 2},
        33: {"health": 180, "speed": 40, "cost": 18, "summon": 1, "cooldown": 6, "ammoid": ROSTER["shaman_portal"]},
    }
    rows = []
    for unit in ROSTER["units"] + shadow_units():
        row = dict(base, id=unit, parent=-1, levelid=0, psd="unit%d" % unit, air=int(unit in flyers))
        row.update(kinds[unit])
        rows.append(row)
        for level, tier in enumerate(ROSTER["unit_tiers"].get(unit, []), start=1):
            # A tougher, tinted copy of its unit on the same art.
            rows.append(dict(row, id=tier, parent=unit, levelid=level, health=row["health"] * 2,
                             cost=row["cost"] * 2, fillColor="ffff8080"))
    return rows


def tower_rows():
    """One top-level row per line (its first tier, offered by the build menu) and its upgrade tiers:
    levels 1 and 2 in a chain, then the two branches, both after level 2."""
    arrows, cannon, magic, gold = ROSTER["tower_lines"]
    arrow, ball, flame = ROSTER["ammo"]
    # Per line, the values of its tiers and then its branches, as line_tower_ids lists them;
    # strength -1 never aims (income and boost tiers). Rotating lines turn a barrel on every tier.
    values = {
        arrows: [dict(strength=12, cooldown=1.0, r=300, speed=400, ammoid=arrow, air=1, aimed=1, addons="air/aim"),
                 dict(strength=18, cooldown=0.9, r=330, speed=420, ammoid=arrow, air=1, aimed=1,
                      addons="air/aim/star1"),
                 dict(strength=26, cooldown=0.8, r=360, speed=440, ammoid=arrow, air=1, aimed=1,
                      addons="air/aim/star2"),
                 dict(strength=30, cooldown=0.8, r=360, speed=440, ammoid=arrow, air=1, aimed=1, dot=1,
                      addons="air/aim/dot"),
                 dict(strength=28, cooldown=0.7, r=380, speed=440, ammoid=arrow, air=1, stun=1, showInvisible=1,
                      addons="air/stun")],
        cannon: [dict(strength=30, cooldown=2.0, r=260, speed=350, ammoid=ball, splash=1, addons="splash"),
                 dict(strength=45, cooldown=1.9, r=280, speed=360, ammoid=ball, splash=1, addons="splash/star1"),
                 dict(strength=60, cooldown=1.8, r=300, speed=370, ammoid=ball, splash=1, addons="splash/star2"),
                 dict(strength=70, cooldown=1.8, r=300, speed=370, ammoid=ball, splash=1, stun=1,
                      addons="splash/stun"),
                 dict(strength=65, cooldown=1.7, r=320, speed=370, ammoid=ball, hold=1, dot=1, addons="dot")],
        magic: [dict(strength=40, cooldown=3.0, r=340, speed=300, ammoid=ball, splash=1, addons="splash"),
                dict(strength=60, cooldown=2.8, r=360, speed=300, ammoid=ball, splash=1, addons="splash/star1"),
                dict(strength=85, cooldown=2.6, r=380, speed=300, ammoid=ball, splash=1, addons="splash/star2"),
                dict(strength=95, cooldown=2.6, r=400, speed=300, ammoid=ball, splash=1, stun=1,
                     addons="splash/stun"),
                # the flame thrower: a lobbed flame that leaves burning ground
                dict(strength=20, cooldown=1.5, r=300, speed=120, ammoid=flame, firesplash=1, addons="fsplash")],
        gold: [dict(strength=-1, cooldown=10.0, r=200, goldIncome=5, health=20, addons="gold"),
               dict(strength=-1, cooldown=9.0, r=220, goldIncome=8, health=25, addons="gold/star1"),
               dict(strength=-1, cooldown=8.0, r=240, goldIncome=12, health=30, boostTower=1,
                    addons="gold/boost/star2"),
               # a beam that sends its target back to the start
               dict(strength=5, cooldown=6.0, r=300, speed=-1, ammoid=arrow, air=1, teleportEnemy=1,
                    addons="tele/air"),
               dict(strength=-1, cooldown=1.0, r=260, boostTower=1, showInvisible=1, addons="boost")],
    }
    chain = [(0, 0), (1, 0), (2, 1), (3, 2), (4, 2)]  # (levelid, require), in the same order
    stars = [0, 1, 2, 0, 0]
    rows = []
    for line, record in ROSTER["tower_lines"].items():
        for index, tower in enumerate(line_tower_ids(line)):
            levelid, require = chain[index]
            top = tower == line
            row = {"id": tower, "parent": -1 if top else line, "type": 1 if top else 0, "levelid": levelid,
                   "require": require, "psd": tower_look(tower)[0], "fps": TOWER_FPS,
                   "cost": 70 + line_number(line) * 10 if top else 40 + levelid * 20, "tierCost": 15 + levelid * 5,
                   "tierUpdates": 2, "tierK": 0.1, "stars": stars[index], "rotating": int(record["rotating"])}
            row.update(values[line][index])
            rows.append(row)
    flamers = [row["id"] for row in rows if row.get("ammoid") == flame]
    assert flamers == [ROSTER["flame_thrower"]], "the flame thrower's art is the one with flames"
    return rows


def ammo_rows():
    """The tower shots, the spells and the shaman's portal: effects come from the particle file."""
    arrow, ball, flame = ROSTER["ammo"]
    rows = [
        {"id": arrow, "onAmmo": "tr1", "onHit": "damage_h"},
        {"id": ball, "r": 100, "onFire": "hammer", "onHit": "blow_bub"},
        {"id": flame, "r": 80, "strength": 4, "cooldown": 0.5, "speed": 3, "onAmmo": "tr1", "onHit": "build"},
        # duration "cooldown", a summon every "speed" seconds, the effect "onFire"
        {"id": ROSTER["shaman_portal"], "cooldown": 7, "speed": 2.5, "onFire": "portal_1"},
    ]
    for spell, number in sorted(ROSTER["spells"].items()):
        # power, area, duration "speed", recharge "cooldown"; the art plays at the cast point
        rows.append({"id": spell, "psd": "spell%d" % number, "fps": SPELL_FPS, "strength": 40, "r": 160,
                     "speed": 5, "cooldown": 30, "splash": 1, "firesplash": 1, "onAmmo": "mg_00"})
    for row in rows:
        row.setdefault("parent", -1)
    return rows


def sheet_value(value):
    if isinstance(value, float):
        text = ("%.2f" % value).rstrip("0").rstrip(".")
        return text.replace(".", ",")  # the spreadsheet's decimal comma
    return str(value)


def write_sheet(columns, rows):
    out = [";".join(columns)]
    for row in rows:
        assert set(row) <= set(columns), sorted(set(row) - set(columns))
        out.append(";".join(sheet_value(row.get(column, "" if column in TEXT_COLUMNS else 0)) for column in columns))
    return "\r\n".join(out) + "\r\n"


def setup_rows():
    """(episode, normal levels, hardcore levels, stars needed): each episode needs every star of the
    normal levels before it; the coming-soon row follows after a gap."""
    rows = []
    stars = 0
    for episode, (normal, hardcore) in enumerate(ROSTER["episodes"]):
        rows.append((episode, normal, hardcore, stars))
        stars += normal * 3
    episode, (normal, hardcore) = ROSTER["coming_soon_episode"]
    assert episode > len(ROSTER["episodes"]), "the coming-soon row needs a gap before it"
    rows.append((episode, normal, hardcore, stars))
    return rows


def episode_plate_count():
    """The episode select shows one plate per setup row, for the indices 0 .. rows - 1."""
    return len(setup_rows())


def write_setup():
    """episode; normal levels; hardcore levels; stars needed; unused."""
    return "".join("%d; %d; %d; %d; 0\r\n" % row for row in setup_rows())


def sheet_ids():
    """Every prototype id the balance sheets define."""
    return [row["id"] for row in unit_rows() + tower_rows() + ammo_rows()]


# ---------------------------------------------------------------------------------------------
# Configuration: the features the game asks for, each (name, is_active, is_free). A feature that
# would start a store purchase stays off, since no store stands behind the catalogue: the buy-health
# offer ("low_life_dialog") would come back after every failed purchase, and a reset that is not
# free would buy "reset_premium_points".
FEATURES = [
    ("boost_shop_premium_mode", 0, 0),
    ("offers_wall", 0, 0),
    ("low_premium_points_dialog", 0, 0),
    ("reset_premium_points", 1, 1),
    ("spell_recharge", 0, 0),
    ("low_life_dialog", 0, 0),
]
# The second name begins with the Cyrillic letter kha (U+0445), as the boost shop asks for it.
PREMIUM_PRODUCTS = [("+5Lives", 30), ("\u0445" + "2Refill", 40), ("Refill", 20)]
# The tests' copy of the configuration turns every feature on.
SWITCHES_ON_CONFIG = "switches_on/ruv/config.xml"


def write_config(features=FEATURES):
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<config>", "  <features>"]
    out += ['    <feature name="%s" is_active="%d" is_free="%d"/>' % f for f in features]
    out += ["  </features>", "  <premium_products>"]
    out += ['    <premium_product name="%s" cost="%d"/>' % p for p in PREMIUM_PRODUCTS]
    out += ["  </premium_products>", "</config>"]
    return "\n".join(out) + "\n"


def write_switches_on_config():
    return write_config([(name, 1, 1) for name, _, _ in FEATURES])


# The store catalogue: gem packs, the life refill, the premium-point reset and the boosts.
PRODUCTS = [
    ("buy_50_cr", "A small pouch of gems", "consumable"),
    ("buy_150_cr", "A bag of gems", "consumable"),
    ("buy_300_cr", "A chest of gems", "consumable"),
    ("buy_500_cr", "A crate of gems", "consumable"),
    ("buy_1000_cr", "A vault of gems", "consumable"),
    ("buy_health", "Restore all lives and keep fighting", "consumable"),
    ("reset_premium_points", "Take back every gem spent on upgrades", "consumable"),
    ("extra_energy", "Five extra lives in every level", "non-consumable"),
    ("energy_speed", "Spells recharge twice as fast", "non-consumable"),
    ("energy_refill", "Spells start every level ready", "non-consumable"),
]


def write_inapp():
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<xml>"]
    out += ['  <Product name="%s" text="%s" type="%s"/>' % p for p in PRODUCTS]
    out.append("</xml>")
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------
# Sound sheet: tag;file;volume;group;number. Files are the effects of tools/soundgen.
def write_sounds():
    rows = [
        ("simple", "click", 1.0, 0), ("buildTower", "build", 1.0, 1), ("upgradeTower", "build", 1.0, 1),
        ("sellTower", "coin", 1.0, 1), ("buySpot", "coin", 1.0, 1), ("context_in", "click", 0.8, 0),
        ("context_out", "click", 0.8, 0), ("winSound", "win", 1.0, 2), ("loseSound", "lose", 1.0, 2),
        ("teleportEnemy", "click", 0.8, 3),
    ]
    for number in ROSTER["spells"].values():
        rows.append(("spell%d" % number, "shot", 1.0, 4))
    for tower in tower_ids():
        rows.append(("tower%dshot" % tower, "shot", 0.7, 5))
    for ammo in ROSTER["ammo"]:
        rows.append(("ammo%dhit" % ammo, "hit", 0.7, 6))
    for unit in unit_ids():
        rows.append(("enemy%dhit" % unit, "hit", 0.5, 7))
        rows.append(("enemy%ddie" % unit, "coin", 0.6, 7))
        rows.append(("enemy%dspecial" % unit, "click", 0.6, 7))
    out = ["# tag;file;volume;group;number"]
    out += ["%s;%s;%.1f;%d;%d" % (tag, name, volume, group, n) for n, (tag, name, volume, group) in enumerate(rows)]
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------
# Strings: every key the game looks up; the ids above give the generated ones.
STRINGS = [
    ("game_caption", "Quellmark II"), ("ingame_caption", "Paused"),
    # The windowed switch's caption; its note below would overlap it and stays empty.
    ("options_caption", "Window"),
    ("profiles_caption", "Profiles"), ("profile_edit_caption", "Your name"), ("episodes_caption", "Episodes"),
    ("episodes_none", "No episode could be read."),
    ("profiles_select", "Select"), ("default_player", "Player"), ("unnamed_player", "stranger"),
    ("greet_1", "Welcome, "), ("greet_2", "!"), ("profile_corrupt", "The profiles file was damaged\\nand has been reset. It was kept as:"),
    ("profile_unreadable", "The profiles file cannot be read.\\nNothing is saved over it:"),
    ("profile_save_failed", "Your progress could not be saved to:"),
    ("layout_damaged", "This screen cannot be shown.\\nIts layout is damaged:"),
    ("progress_confirm_text", "Leave the level?\\nIts progress will be lost."),
    ("game_incoming", "Incoming!"), ("game_nextwave", "Next wave in "), ("game_wave", "Wave"),
    ("game_win", "Victory"), ("game_lose", "Defeat"),
    # The result lines: each text is followed by its number.
    ("game_best_score", "Best score: "), ("game_kill_score", "Kill score: "), ("game_life_bonus", "Life bonus: "),
    ("game_total_score", "Total score: "), ("game_combo_bonus", "Combo bonus: "), ("gems", "Gems"),
    ("diff_easy", "Easy"), ("diff_normal", "Normal"), ("diff_hard", "Hard"), ("level_d", "Level"),
    ("locked_d", "Locked"), ("unlocked_d", "Hardcore"),
    ("comingSoon", "Coming soon"), ("episodeSelectNew", "New!"), ("HardcoreTitle", "Hardcore"),
    ("HardcoreDescMessage", "Earn every star of an episode\\nto open its hardcore levels."),
    ("HardcoreUnlockMessage", "Hardcore levels are open!"), ("unlockEpisodeText", "Collect %d stars to open"),
    ("shop", "Shop"), ("caption_gems", "Gems"), ("boostShopTitle", "Boosts"),
    ("boostShopBuy_already_purchased", "Owned"), ("gemShopTitle", "Gem shop"), ("gemShopTitle2", "Gems: %d"),
    ("gemShopBuyFor", "Buy for %s"), ("gemShopBuy_progress", "Buying..."),
    ("gemShopDialogTitle", "Not enough gems"), ("gemShopDialogText", "Visit the gem shop for more?"),
    ("buyHealthDialogTitle", "Out of lives"), ("buyHealthDialogText", "Restore your lives and fight on?"),
    ("convertCristallToMoneyDialogTitle", "Convert gems"), ("buildspot_bought", "Build spot bought"),
    ("reset_shop_title", "Reset upgrades"), ("reset_shop_message", "Take back every gem spent on upgrades?"),
    ("reset_shop_message_inapp", "Take back every gem spent on upgrades for %s?"),
    ("unlock_caption", "Unlocked!"), ("unlock_button", "Great"), ("tutorial_skip_label", "Skip tutorial"),
    ("options_OptionsTitle", "Options"), ("options_OptionsSounds", "Sounds and music"),
    ("options_OptionsGameType", "Game"), ("options_OptionsWindowType", "Display"), ("options_OptionsOk", "OK"),
    ("options_window_add", ""), ("options_fs", "Full screen"),
    ("IllegalResolutionMessage", "The screen is too small for a window."), ("b1_ok", "OK"), ("b1_cancel", "Cancel"),
    # The pause menu's buttons and the two confirmation questions.
    ("b1_resume", "Resume"), ("b1_restart", "Restart"), ("b1_levels", "Levels"), ("b1_options", "Options"),
    ("b1_mmenu", "Main menu"), ("b4_close", "X"),
    ("profile_delete_caption", "Delete profile"), ("profile_delete_message", "Delete this profile\\nand all its progress?"),
    ("tutorial_skip_caption", "Skip tutorial"), ("tutorial_skip_message", "Turn the tutorial off\\nfor this profile?"),
]

# The menus: button captions by group name, the difficulty tabs and the profile list's texts.
MENU_STRINGS = [
    ("b2_play", "Play"), ("b1_shop", "Upgrades"), ("b1_options", "Options"), ("b1_cloze", "Quit"),
    ("b1_create", "New"), ("b1_rename", "Rename"), ("b1_delete", "Delete"), ("b1_back", "Back"),
    ("b2_confirm", "Confirm"), ("empty_profile", "- empty -"),
    ("profiles_maxcount", "There is no room for another profile."), ("profiles_error", "Profiles"),
    ("level_tab_0", "Easy"), ("level_tab_1", "Normal"), ("level_tab_2", "Hard"),
] + [("b3_p%d" % k, "") for k in range(1, 6)]

# The pop-up over an upgraded tower: one line per changed value, filled with a whole percentage.
TOWER_UPGRADE_STRINGS = [
    ("towerUpgradeInfoRange", "Range +%d%%"), ("towerUpgradeInfoDamage", "Damage +%d%%"),
    ("towerUpgradeInfoRof", "Rate of fire +%d%%"), ("towerUpgradeInfoIncome", "Income +%d%%"),
]


# Captions that only the button pictures carry (drawn into them by the layout generator).
PICTURE_CAPTION_STRINGS = [
    ("picture_continue", "Continue"), ("picture_buy", "Buy"), ("picture_reset", "Reset"),
    ("picture_offers", "Offers"), ("picture_cheats", "Cheats"), ("picture_sound", "Sound"),
    ("picture_music", "Music"), ("picture_most_popular", "Popular"), ("picture_best_buy", "Best buy"),
    ("picture_all_inclusive", "Best value"),
    ("picture_pack_1", "Pouch"), ("picture_pack_2", "Bag"), ("picture_pack_3", "Chest"), ("picture_pack_4", "Crate"),
    ("picture_pack_5", "Vault"), ("picture_boost_1", "+5 lives"), ("picture_boost_2", "Fast spells"),
    ("picture_boost_3", "Spells ready"),
]


def tutorial_hint_strings():
    """The tutorial's hints, from the tutorial generator's table of steps."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tutorialgen"))
    from make_tutorial import tutorial_strings
    return tutorial_strings()


EPISODE_NAMES = ["Greenvale", "Ashen Coast", "Frostpeak"]


def generated_strings():
    rows = list(STRINGS) + MENU_STRINGS + TOWER_UPGRADE_STRINGS + PICTURE_CAPTION_STRINGS + tutorial_hint_strings()
    # An episode's name stands alone on the episode select and before "<number> - <level>" on the result.
    for episode in range(episode_plate_count()):
        rows.append(("episode%d" % episode, EPISODE_NAMES[episode]))
        rows.append(("episodeHardcore%d" % episode, "Hardcore " + EPISODE_NAMES[episode]))
    for uid, text in sorted(unlock_messages().items()):
        rows.append(("unlock_%d" % uid, text))
    rows += [("shop_tab_%d" % section, name) for section, name in enumerate(SHOP_TABS)]
    for uid, _, _, _, steps in upgrade_table():
        rows.append(("upgrade_%d_name" % uid, UPGRADE_NAMES[uid]))
        for step, (_, attributes) in enumerate(steps):
            rows.append(("upgrade_%d_step%d" % (uid, step), upgrade_step_text(attributes)))
        rows.append(("upgrade_%d_complete" % uid, "Fully upgraded"))
    return rows


def write_strings():
    for key, text in generated_strings():
        assert ";" not in key and ";" not in text and "\n" not in text, key
    return "".join("%s;%s\n" % row for row in generated_strings())


# ---------------------------------------------------------------------------------------------
# Spells sheet: name;prototype id;icon;second icon;spell number;recharge price in gems.
SPELL_RECHARGE_GEMS = 5


def write_spells():
    out = ["#;spells: name;prototype;icon;second icon;number;recharge gems"]
    for spell, number in sorted(ROSTER["spells"].items()):
        icon = "ruv/data/ui_parts/spell_icons/spell%d" % number
        out.append("spell%d;%d;%s.png;%s_dark.png;%d;%d" % (number, spell, icon, icon, number, SPELL_RECHARGE_GEMS))
    return "\n".join(out) + "\n"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data")
    tests = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "..", "tests", "data")
    files = {
        "ruv/strings_en.csv": write_strings(),
        "ruv/config.xml": write_config(),
        "ruv/inapp.xml": write_inapp(),
        "ruv/upgrades.xml": write_upgrades(),
        "ruv/unlocks.csv": write_unlocks(),
        "ruv/sounds_sheet.csv": write_sounds(),
        "ruv/units_sheet.csv": write_sheet(UNIT_COLUMNS, unit_rows()),
        "ruv/towers_sheet.csv": write_sheet(TOWER_COLUMNS, tower_rows()),
        "ruv/ammo_sheet.csv": write_sheet(AMMO_COLUMNS, ammo_rows()),
        "ruv/setup_sheet.csv": write_setup(),
        "ruv/spells_sheet.csv": write_spells(),
    }
    ids = sheet_ids()
    assert len(ids) == len(set(ids)), "prototype ids must be unique over all rows and tiers"
    outputs = [(os.path.join(root, path), text) for path, text in files.items()]
    outputs.append((os.path.join(tests, SWITCHES_ON_CONFIG), write_switches_on_config()))
    for target, text in outputs:
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8", newline="\n") as out:
            out.write(text)


if __name__ == "__main__":
    main()
