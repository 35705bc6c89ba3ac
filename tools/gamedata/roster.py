"""The sample data's roster: every id that the data files share and that the game's code names, and
the names that go with them. The generators (tables, art, levels, layouts) take their ids from here
and derive the rest (tower ids, art keys, icon names) with the functions below.
"""

ROSTER = {
    # Tower lines by id: tiers line+0 .. line+2, branches line+100 and line+200 (one icon each).
    # "name" and "branches" are what the player calls the line and its branches; "upgrades" names
    # the line's upgrade icons ("upgrades/<upgrades>_power"), "art" its art container; "rotating"
    # lines turn a barrel; "icons" numbers the "ui/tower_NN" icons the map's table gives the tiers,
    # the first branch and the second.
    "tower_lines": {
        10000: {"name": "Archer tower", "branches": ["Venom archers", "Stunning archers"], "upgrades": "arrows",
                "art": "dart", "rotating": False, "icons": [1, 3, 2]},
        20000: {"name": "Cannon", "branches": ["Thunder cannon", "Tar cannon"], "upgrades": "cannon",
                "art": "cannon", "rotating": True, "icons": [5, 4, 6]},
        30000: {"name": "Mage tower", "branches": ["Storm mage", "Flame thrower"], "upgrades": "magic",
                "art": "artillery", "rotating": False, "icons": [9, 11, 10]},
        40000: {"name": "Gold mine", "branches": ["Banishing beacon", "War drums"], "upgrades": "frost",
                "art": "support", "rotating": False, "icons": [8, 12, 7]},
    },
    "tower_tiers": [0, 1, 2],
    "tower_branches": [100, 200],
    # The branch whose art carries a "fire" group: it lobs the flame ammunition.
    "flame_thrower": 30200,
    # Enemy units, and the flying ones with a shadow (wyvern and dragon shadows).
    "units": [0, 11, 39],
    "wyvern_shadow_units": [3, 30, 31, 38],
    "dragon_shadow_units": [10, 32, 33],
    # Tower shots: the arrow, the ball and the flame.
    "ammo": [2001, 2002, 2003],
    # Unit tiers: base unit -> the ids of its tier rows (levelid 1, 2, ...).
    "unit_tiers": {0: [40]},
    # The shaman's portal: the row its "ammoid" names (duration, period, effect).
    "shaman_portal": 2010,
    "spell_names": {3004: "Fire rain"},
    # Spell prototype id -> the spell number its button and sound tag use.
    "spells": {3004: 1},
    # The upgrade the spell buttons ask about.
    "spell_upgrade": 28,
    # Announced at the first hardcore level.
    "hardcore_announcements": [36, 37, 38],
    # Sample episodes: normal level count, hardcore level count.
    "episodes": [(3, 1), (3, 1)],
    # A setup row after a gap in the episode indices: the episode select counts rows, so the gap
    # becomes a plate without levels ("comingSoon") and this row itself is never shown.
    "coming_soon_episode": (3, (3, 1)),
}


def line_tower_ids(line):
    """The line's tiers, then its branches."""
    return [line + rank for rank in ROSTER["tower_tiers"] + ROSTER["tower_branches"]]


def tower_ids():
    return [tower for line in ROSTER["tower_lines"] for tower in line_tower_ids(line)]


def line_number(line):
    """1 for the first line, 2 for the second, ...: the number art keys and prices go by."""
    return list(ROSTER["tower_lines"]).index(line) + 1


def tower_place(tower):
    """(line, rank) of a tower id, None for an id that is no tower's."""
    for line in ROSTER["tower_lines"]:
        if tower in line_tower_ids(line):
            return line, tower - line
    return None


def tower_name(tower):
    """What the player calls a line's tiers or a branch."""
    line, rank = tower_place(tower)
    record = ROSTER["tower_lines"][line]
    if rank in ROSTER["tower_tiers"]:
        return record["name"]
    return record["branches"][ROSTER["tower_branches"].index(rank)]


def tower_look(tower):
    """(art key, tier 1..3, branch letter) of a tower id: "tower<line>_<tier 1..3>" for the tiers,
    "tower<line>_1a" and "_1b" (drawn as third tiers) for the branches."""
    line, rank = tower_place(tower)
    number = line_number(line)
    if rank in ROSTER["tower_tiers"]:
        tier = ROSTER["tower_tiers"].index(rank) + 1
        return "tower%d_%d" % (number, tier), tier, ""
    letter = "ab"[ROSTER["tower_branches"].index(rank)]
    return "tower%d_1%s" % (number, letter), len(ROSTER["tower_tiers"]), letter


def tower_icon_name(line, letter):
    """The "ui/tower_NN" icon of a line's tiers (letter "") or of its branch "a" or "b"."""
    return "ui/tower_%02d" % ROSTER["tower_lines"][line]["icons"][("", "a", "b").index(letter)]


def shadow_units():
    return ROSTER["wyvern_shadow_units"] + ROSTER["dragon_shadow_units"]


def unit_ids():
    """Every unit prototype id: the units, the flyers and the unit tiers."""
    ids = ROSTER["units"] + shadow_units()
    for base in sorted(ROSTER["unit_tiers"]):
        ids += ROSTER["unit_tiers"][base]
    return ids
