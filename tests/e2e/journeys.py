#!/usr/bin/env python3
"""Journeys through the real game, played by clicks on a virtual X server:

    journeys.py <quellmark2> <data root> <journey> [--screen WxH] [--artifacts folder]

Each journey starts on a fresh copy of the data root with an empty user folder, and ends with the
game still running or ended with 0 and the copy's strings file unchanged. A failing step keeps the
screen, the game's output and its user files in <artifacts>/<journey>-<WxH>/. Exit 77: a tool is
missing.
"""
import argparse
import os
import shutil
import sys
import threading
import traceback

import driver
from driver import JourneyFailed

MAIN_MENU = "ruv/main_menu"
MODAL = "ruv/data/mm"
EPISODES = "ruv/episode_select"
LEVELS = "ruv/level_select"
PROFILES = "ruv/data/profiles"
OPTIONS = "ruv/options"
HUD = "ruv/ui"
PAUSE = "ruv/data/ingame"
RESULT = "ruv/ui_levelresult"
UNLOCKED = "ruv/data/message"
SHOP = "ruv/shop"
GEM_SHOP = "ruv/gem_shop"
TUTORIAL_SKIP = "ruv/data/tutorial/skip"
SIDES = "ruv/data/sides"
UI_PARTS = "ruv/data/ui_parts"
DEFAULT_PROFILE = "Player01234567890123456789"


def expect(condition, what):
    if not condition:
        raise JourneyFailed(what)


# --- steps shared by the journeys ----------------------------------------------------------------------
def through_logos(g):
    """Clicks the logos away until the main menu is up."""
    g.step = "logos"

    def menu_up():
        if g.shows(MAIN_MENU):
            return True
        # A corner: a click that lands on the menu as it comes up must not press one of its buttons.
        g.click_at((40, 40))
        return False

    g.until(menu_up, "the main menu after the logos", 30)


def type_name(g, name):
    """Clears the proposed name in the name input and types another, mending a typing slip."""
    g.key(*["BackSpace"] * 12)
    g.type(name[:-1] + "x")
    g.key("BackSpace")
    g.type(name[-1])


def stored_profile(g, name):
    root = g.profiles()
    if root is None:
        return None
    for profile in root.iter("Profile"):
        if profile.get("name") == name:
            return profile
    return None


def stored_value(g, name, element, attribute="v"):
    profile = stored_profile(g, name)
    found = profile.find(element) if profile is not None else None
    return found.get(attribute) if found is not None else None


def wait_stored(g, name, element, value, attribute="v"):
    g.step = "wait for %s=%s in profiles.xml" % (element, value)
    g.until(lambda: stored_value(g, name, element, attribute) is not None
            and abs(float(stored_value(g, name, element, attribute)) - value) < 1e-3,
            "%s %s = %s in profiles.xml (now %s)" % (name, element, value, stored_value(g, name, element, attribute)))


def step_volume(g, profile, button):
    """Clicks a volume button of the options; returns the new stored volume once it changed."""
    kind = button.split("_")[0]
    before = stored_value(g, profile, kind)
    g.click(OPTIONS, "buttons/%s/b_in" % button)
    g.step = "wait for a new %s volume" % kind
    g.until(lambda: stored_value(g, profile, kind) not in (None, before), "a new %s volume stored" % kind)
    return float(stored_value(g, profile, kind))


def first_profile(g, name):
    """From the main menu without a profile: "play" asks for a name, "ok" opens the episodes."""
    g.click(MAIN_MENU, "button/b2_play/pos")
    g.wait_screen(MODAL)
    type_name(g, name)
    g.click(MODAL, "button/b1_ok/pos")
    g.wait_screen(EPISODES)
    g.until(lambda: stored_profile(g, name) is not None, "the profile %s in profiles.xml" % name)
    root = g.profiles()
    expect(root.get("currentProfile") == name, "current profile %s, expected %s" % (root.get("currentProfile"), name))


def side_pictures_shown(g):
    """Both side pictures in the strips beside the 1024-wide design area where the window's view
    reaches past it (1366 wide at 768 high): as tall as the view, one pixel over the area's edges.
    True when the view has no such strips."""
    _, _, cw, ch = g.geometry()
    if driver.screen_fit(cw, ch)[3] > -100:
        return True
    layout = g.layout(SIDES)
    for name, left in (("l", 1 - layout.rect("l")[2]), ("r", 1023)):
        for px, py in ((30, 100), (100, 400), (140, 700)):
            colour = driver.png_pixel(os.path.join(g.source, SIDES, name + ".png"), px, py)
            if not driver.close_to(g.pixel((left + px, py)), colour):
                return False
    return True


def plate(g, index):
    """The middle of level plate index on the level select: rows of seven from the first plate."""
    layout = g.layout(LEVELS)
    x, y, w, h = layout.rect("plate/super")
    pitch = layout.rect("plate/complete")[0] - x
    return x + (index % 7) * pitch + w / 2, y + (index // 7) * pitch + h / 2


def unlocks_of_level(g, episode, level):
    """The messages a level opens with: the ids it unlocks ("ruv/unlocks.csv" of the copy:
    episode;level;ids) that the unlock message has a picture for."""
    icons = os.path.join(g.source, "ruv", "data", "message", "icons")
    for line in open(os.path.join(g.source, "ruv", "unlocks.csv")):
        fields = line.strip().split(";")
        if len(fields) == 3 and fields[:2] == [str(episode), str(level)]:
            return [i for i in fields[2].split(",") if i and os.path.exists(os.path.join(icons, "id%s.png" % i))]
    return []


def start_level(g, index, tutorial=False):
    """From the episode select: "play", then the plate of the level (episode 1). A level that
    unlocks something opens with the unlock message, one "ok" per thing; a player's first level
    brings the tutorial, skipped here when asked (its own journey plays it)."""
    g.click(EPISODES, "button/play")
    g.wait_screen(LEVELS)
    g.step = "plate %d" % index
    g.click_at(plate(g, index))
    g.wait_screen(HUD, 30)
    past_unlocks(g, index)
    if tutorial:
        skip_tutorial(g)


def past_unlocks(g, index):
    """The unlock message a level of episode 1 opens with, on every load: one "ok" per message."""
    g.wait_screen(HUD, 30)
    if g.shows(UNLOCKED):
        for _ in unlocks_of_level(g, 0, index):
            if not g.shows(UNLOCKED):  # the hardcore levels announce less
                break
            g.probe_texts(UNLOCKED)
            g.click(UNLOCKED, "button/ok")
        g.wait_gone(UNLOCKED)


def skip_tutorial(g):
    g.step = "the tutorial's skip button"
    g.until(lambda: g.layer_shown(TUTORIAL_SKIP, "button/b4_normal"), "the tutorial's skip button")
    g.click(TUTORIAL_SKIP, "button/b4_normal")
    confirm(g, "b1_ok")


def open_options(g, screen, button):
    g.press(screen, button, lambda: g.shows(OPTIONS), "the options")
    g.wait_screen(OPTIONS)


def close_options(g):
    g.press(OPTIONS, "buttons/close/ok_in", lambda: g.marker_hits(OPTIONS)[0] == 0, "the options to close")


def finish(g):
    """Every journey ends without a crash and with the strings file of the copy as it was."""
    g.step = "finish"
    if g.alive():
        g.process.terminate()
        code = g.exit_code()
        expect(code == 0, "the game ended with %d" % code)
    g.check_strings_unchanged()


def cloze(g):
    """"cloze" on the main menu ends the game with 0 and closes its log."""
    g.press(MAIN_MENU, "button/b1_cloze/pos", lambda: g.process.poll() is not None, "the end after cloze")
    g.step = "exit after cloze"
    code = g.exit_code()
    expect(code == 0, "exit code %d after cloze" % code)
    expect(open(g.log_path).read().rstrip().endswith("</html>"), "log.html was not closed")


def prepared_profile(g, name="Tester", extra=""):
    """A stored player profile with the tutorial off, so a journey about something else need not
    ask for a name. The engine's default profile comes first, as the game writes it: the players
    are the ones after it."""
    g.write_profiles('<Profiles currentProfile="%s"><Profile name="%s" version="4"/>'
                     '<Profile name="%s" version="4"><tutorial avail="0"/>%s</Profile></Profiles>'
                     % (name, DEFAULT_PROFILE, name, extra))


def level_loads(g):
    """How many times a level has been loaded in this run (each load logs its waves once)."""
    try:
        text = open(g.err_path, errors="replace").read()
    except OSError:
        return 0
    return text.count("LOADED ENEMY WAVE=") // max(1, waves_of_level(text))


def waves_of_level(text):
    # The waves of one load follow each other; the first load tells how many there are.
    lines = [line for line in text.splitlines() if line.strip()]
    count, seen = 0, False
    for line in lines:
        if line.startswith("LOADED ENEMY WAVE="):
            count += 1
            seen = True
        elif seen:
            break
    return count


def wait_loads(g, count):
    g.step = "wait for level load %d" % count
    g.until(lambda: level_loads(g) >= count, "level load number %d" % count, 30)
    expect(level_loads(g) == count, "%d level loads, expected %d" % (level_loads(g), count))


def pause(g):
    g.click(HUD, "button/options_btn")
    g.wait_screen(PAUSE)


def confirm(g, button):
    """A question of the pause menu or the result screen: "b1_cancel" or "b1_ok"."""
    g.wait_screen(MODAL)
    g.click(MODAL, "button/%s/pos" % button)
    g.wait_gone(MODAL)


def into_level(g, index=0):
    """From the main menu with a current profile to a running level."""
    g.press(MAIN_MENU, "button/b2_play/pos", lambda: g.shows(EPISODES), "the episodes")
    g.wait_screen(EPISODES)
    start_level(g, index)


def speed_up(g):
    g.click(HUD, "button/speed_btn")


def enable_cheats(g):
    """"cheat" in the options of the pause menu, back to the level."""
    pause(g)
    open_options(g, PAUSE, "button/b1_options/pos")
    g.click(OPTIONS, "buttons/cheat/cheat_in")
    close_options(g)
    g.press(PAUSE, "button/b1_resume/pos", lambda: g.marker_hits(PAUSE)[0] == 0, "the pause menu to close")


def result_shown(g, won):
    layer = "back_win" if won else "back_lose"
    return g.shows(RESULT) if won else g.layer_shown(RESULT, layer)


def wait_result(g, won):
    g.step = "wait for the %s" % ("victory" if won else "defeat")
    g.until(lambda: result_shown(g, won), "the result screen (%s)" % ("won" if won else "lost"), 20)
    g.probe_texts(RESULT)


def won_into_shop(g):
    """Waits for the won level's result; its "done" opens the upgrade shop."""
    wait_result(g, True)
    g.click(RESULT, "button/done")
    g.wait_screen(SHOP)


def stored_level_plate(g, index):
    """The plate picture the level select shows for a level: its state."""
    for state in ("plate/super", "plate/complete", "plate/incomplete", "plate/locked"):
        colour = g.layer_colour(LEVELS, state, (8, 8))  # the plate's ground, not its lock
        x, y = plate(g, index)
        if driver.close_to(g.pixel((x - 42, y - 42)), colour):
            return state
    return None


def knob_x(g, kind):
    """Where the knob of the sound or music slider is: the middle of its run of knob pixels."""
    layout = g.layout(OPTIONS)
    bx, by, bw, bh = layout.rect("main_options/%s/%s_bar" % (kind, kind))
    colour = g.layer_colour(OPTIONS, "main_options/%s/%s_begunok" % (kind, kind))
    xs = [x for x in range(bx - 20, bx + bw + 20, 2) if driver.close_to(g.pixel((x, by + bh / 2)), colour)]
    expect(xs, "no %s knob on the screen" % kind)
    return (xs[0] + xs[-1]) / 2


# --- the journeys ---------------------------------------------------------------------------------------
def journey_first_start(g):
    """Logos, a new profile by name, the episodes (with the side pictures beside them where the
    window is wider than the design area), the levels, level 1; a volume; "cloze"."""
    g.start()
    through_logos(g)
    first_profile(g, "Anna")
    g.step = "the side pictures beside the episodes"
    g.until(lambda: side_pictures_shown(g), "the side pictures beside the episode select")
    start_level(g, 0, tutorial=True)
    pause(g)
    g.click(PAUSE, "button/b1_mmenu/pos")
    confirm(g, "b1_ok")
    g.wait_screen(MAIN_MENU)
    open_options(g, MAIN_MENU, "button/b1_options/pos")
    volume = step_volume(g, "Anna", "sound_dec")
    expect(volume < 1, "sound volume %s after a step down from 1" % volume)
    close_options(g)
    cloze(g)
    expect(g.profiles().get("currentProfile") == "Anna", "the profile is not kept")
    expect(abs(float(stored_value(g, "Anna", "sound")) - volume) < 1e-3, "the volume is not kept")
    finish(g)


LEVEL_1_SPOTS = "ruv/levels_normal/level_01_01.xml"
# The build menu puts each tower kind at its own place around the spot; a tower's menu puts its
# star where the tower kind sits and its sale at the bottom.
RADIAL_RADIUS = 80
RADIAL_PLACES = {10000: (-RADIAL_RADIUS, 0), 20000: (0, -RADIAL_RADIUS)}
# The price above an icon: red while it cannot be paid, white once it can.
PRICE_UNPAID, PRICE_PAID = (240, 112, 112), (255, 255, 255)
# The coin drawn for "$" in a price, and a texel of its face.
PRICE_COIN, PRICE_COIN_FACE = "ruv/data/ui_parts/ui/context_money.png", (10, 10)
# Longer than the menu's opening (0.2 s).
MENU_SETTLE = 0.35
# Level 1 by clicks: a tower on each free spot (the last one is for sale), each with both its
# stars, the kinds in turn.
LEVEL_1_MOVES = [(spot, kind) for spot, tower in enumerate((10000, 20000, 10000, 20000, 10000))
                 for kind in ((tower, "build"), (tower, "star"), (tower, "star"))]


def level_spots(g):
    root = driver.ElementTree.parse(os.path.join(g.source, LEVEL_1_SPOTS)).getroot()
    return [(int(s.get("x")), int(s.get("y"))) for s in root.iter("spot")]


def price_state(g, point):
    """"paid", "unpaid" or None: the price label above an icon of the open menu."""
    x, y = g.to_screen((point[0], point[1] - 30))
    pixels = [p for row in g.screen.box(x - 24, y - 8, 48, 16) for p in row]
    if any(driver.close_to(p, PRICE_UNPAID) for p in pixels):
        return "unpaid"
    if any(driver.close_to(p, PRICE_PAID) for p in pixels):
        return "paid"
    return None


def price_coin(g, point):
    """True when the price above an icon of the open menu starts with the coin of the interface art,
    left of the number."""
    coin = driver.png_pixel(os.path.join(g.source, PRICE_COIN), *PRICE_COIN_FACE)
    x, y = g.to_screen((point[0], point[1] - 30))
    rows = g.screen.box(x - 60, y - 6, 120, 12)
    coins = [i for row in rows for i, p in enumerate(row) if driver.close_to(p, coin)]
    digits = [i for row in rows for i, p in enumerate(row) if driver.close_to(p, PRICE_PAID)]
    return bool(coins) and bool(digits) and max(coins) < min(digits)


def hud_speed(g):
    """0, 1 or 2: the battle's speed by its lit HUD button. The glow over the lit button may cover
    a corner: most corners tell."""
    for layer, speed in (("button/pause_btn_ac", 0), ("button/play_btn_ac", 1), ("button/speed_btn_ac", 2)):
        x, y, w, h = g.layout(HUD).rect(layer)
        # The button's ground, not its icon in the middle.
        colour = g.layer_colour(HUD, layer, (4, 4))
        corners = ((x + 4, y + 4), (x + w - 5, y + 4), (x + 4, y + h - 5), (x + w - 5, y + h - 5))
        if sum(driver.close_to(g.pixel(p), colour) for p in corners) >= 3:
            return speed
    return None


def keep_speed_two(g):
    """Play, then speed 2, whenever the battle stands (a tutorial step pauses it)."""
    speed = hud_speed(g)
    if speed == 0:
        g.click(HUD, "button/play_btn")
    elif speed == 1:
        g.click(HUD, "button/speed_btn")


def radial_move(g, spot, tower, paused_ok=False, coin=False):
    """Opens the menu of the spot (or its tower) and presses the tower's icon once it can be paid
    (having read the coin in its price first, when asked). False when the battle stood still (unless
    the move is made paused) or ended meanwhile: the move is tried again."""
    place = RADIAL_PLACES[tower]
    item = (spot[0] + place[0], spot[1] + place[1])
    g.click_at(spot)
    deadline = driver.time.monotonic() + 30
    looks = 0
    paid_since = None
    while driver.time.monotonic() < deadline:
        if result_shown(g, True) or result_shown(g, False):
            return False
        state = price_state(g, item)
        if state != "paid":
            paid_since = None
        elif paid_since is None:
            paid_since = driver.time.monotonic()
        looks += 1
        # The icons grow out of the spot: pressed once they stand still.
        if paid_since is not None and driver.time.monotonic() - paid_since > MENU_SETTLE:
            if coin:
                g.until(lambda: price_coin(g, item), "the coin left of the price at %s" % (item,), 5)
            g.click_at(item)
            g.until(lambda: price_state(g, item) is None, "the menu to close")
            return True
        if state is None and looks > 20:
            return False
        if not paused_ok and state is not None and hud_speed(g) == 0:
            # Paused with the menu open: a click beside it closes it; the move comes again.
            g.click_at((spot[0] + RADIAL_RADIUS * 2, spot[1] + RADIAL_RADIUS * 2))
            return False
        driver.time.sleep(0.03)
    raise JourneyFailed("the price at %s never became payable" % (item,))


# The health bar over a hit enemy: "ui/bar" tinted green as far as the health reaches, red beyond.
BAR_WIDTH = 40
BAR_GREEN, BAR_RED = (0, 255, 0), (255, 0, 0)


def enemy_colours(g, art):
    """The body colour of an enemy's picture (its most common opaque colour) times the "fillColor"
    of each units-sheet row drawn with it: what an enemy of that art looks like on the screen."""
    counts = {}
    for row in driver.png_rows(os.path.join(g.source, "ruv", "units", "t1units", art, "still.png")):
        for r, gr, b, a in row:
            if a == 255:
                counts[(r, gr, b)] = counts.get((r, gr, b), 0) + 1
    body = max(counts, key=counts.get)
    lines = open(os.path.join(g.source, "ruv", "units_sheet.csv")).read().split("\n")
    header = lines[0].split(";")
    colours = set()
    for line in lines[1:]:
        fields = line.split(";")
        if len(fields) == len(header) and fields[header.index("psd")] == art:
            fill = int(fields[header.index("fillColor")] or "0", 16)
            colours.add(tuple(round(body[c] * ((fill >> (16 - 8 * c)) & 0xFF) / 255) for c in range(3)))
    return colours


def bar_in_rows(rows, width, scale, enemies):
    """(green, red) pixel lengths of a health bar in rows of screen pixels, green then red and as
    wide as width together, with an enemy's picture below it; None without one."""
    for y in range(0, len(rows), 2):
        row = rows[y]
        # Most rows hold no green at all: the scan starts where one does.
        x = next((i for i, p in enumerate(row) if p[1] > 200 and p[0] < 60 and driver.close_to(p, BAR_GREEN)), len(row))
        while x < len(row):
            if not driver.close_to(row[x], BAR_GREEN):
                x += 1
                continue
            start = x
            while x < len(row) and driver.close_to(row[x], BAR_GREEN):
                x += 1
            green = x - start
            while x < len(row) and driver.close_to(row[x], BAR_RED):
                x += 1
            red = x - start - green
            if red == 0 or abs(green + red - width) > 3:
                continue
            below = [p for line in rows[y + 4:y + int(150 / scale)] for p in line[max(0, start - 30):x + 30]]
            if sum(any(driver.close_to(p, c) for c in enemies) for p in below) >= 10:
                return green, red
    return None


class HealthBarWatch:
    """Looks for a health bar over an enemy within 250 design pixels of a point, on a connection
    of its own to the X screen, while the journey goes on: a bar shows for 2.5 s after each hit."""

    def __init__(self, g, around):
        self.enemies = enemy_colours(g, "unit0")
        self.scale = driver.screen_fit(*g.geometry()[2:])[0]
        x0, y0 = g.to_screen((around[0] - 250, around[1] - 250))
        x1, y1 = g.to_screen((around[0] + 250, around[1] + 250))
        self.box = (x0, y0, x1 - x0, y1 - y0)
        self.display = g.x.display
        self.found = None
        self.stopped = False
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        screen = driver.XScreen(self.display)
        try:
            while not self.stopped and not self.found:
                self.found = bar_in_rows(screen.box(*self.box), BAR_WIDTH / self.scale, self.scale, self.enemies)
                driver.time.sleep(0.05)
        finally:
            screen.close()

    def result(self):
        self.stopped = True
        self.thread.join(10)
        return self.found


def play_level_1(g):
    """The tutorial's spot, tower and play, then towers by clicks at speed 2 until the level is won;
    meanwhile a health bar shows over a hit enemy."""
    spots = level_spots(g)
    g.step = "the tutorial's marked spot"
    g.until(lambda: hud_speed(g) == 0, "the battle paused by the tutorial")
    moves = list(LEVEL_1_MOVES)
    spot, (tower, _) = moves.pop(0)
    g.step = "the tutorial's tower"
    g.until(lambda: radial_move(g, spots[spot], tower, paused_ok=True, coin=True), "the tutorial's tower built", 20)
    g.step = "the tutorial's play"
    g.press(HUD, "button/play_btn", lambda: hud_speed(g) == 1, "play after the tutorial's tower")
    # The first tower's hits show a health bar over an enemy.
    watch = HealthBarWatch(g, spots[spot])
    try:
        g.step = "towers by clicks"
        deadline = driver.time.monotonic() + 60
        while not result_shown(g, True):
            expect(not result_shown(g, False), "level 1 lost")
            expect(driver.time.monotonic() < deadline, "level 1 not won in time")
            keep_speed_two(g)
            if moves:
                spot, (tower, kind) = moves[0]
                g.step = "%s %d on spot %d" % (kind, tower, spot)
                if radial_move(g, spots[spot], tower):
                    moves.pop(0)
            else:
                driver.time.sleep(0.05)
    finally:
        bar = watch.result()
    g.step = "a health bar after the first hit"
    expect(bar, "no green and red health bar over an enemy near the first tower")
    green, red = bar
    expect(green > 0 and red > 0, "a bar of %d green and %d red pixels" % (green, red))


def journey_first_level(g):
    """A new player's level 1 through the tutorial by clicks, won; the shop after it buys an
    upgrade with the won gems; "return_ac" opens level 2 with its unlock message."""
    g.start()
    through_logos(g)
    first_profile(g, "Lena")
    g.click(EPISODES, "button/play")
    g.wait_screen(LEVELS)
    g.click_at(plate(g, 0))
    past_unlocks(g, 0)
    play_level_1(g)
    won_into_shop(g)
    g.click(SHOP, "item_plate/buy_in")
    g.step = "the purchase stored"
    g.until(lambda: bought_upgrades(g, "Lena"), "a bought upgrade in profiles.xml")
    g.click(SHOP, "button/return_ac")
    g.wait_gone(SHOP)
    g.wait_screen(HUD, 30)
    g.step = "level 2's unlock message"
    g.until(lambda: g.shows(UNLOCKED), "the unlock message of level 2")
    past_unlocks(g, 1)
    profile = stored_profile(g, "Lena")
    won = [level for level in profile.iter("level") if level.get("n") == "0" and level.get("mode") == "0"]
    expect(won and won[0].get("stars") == "3", "level 1 stored without three stars")
    steps = {int(step.get("id")): step.get("state") for step in profile.iter("step")}
    # Level 1's steps are done; level 2's first ones have come.
    for step in (0, 1, 2, 3, 4, 5):
        expect(steps.get(step) == "2", "tutorial step %d stored as %s" % (step, steps.get(step)))
    expect(steps.get(51) == "1", "tutorial step 51 stored as %s" % steps.get(51))
    finish(g)


def journey_pause_menu(g):
    """"restart", "mmenu" and "levels" of the pause menu ask first; "b1_cancel" changes nothing."""
    prepared_profile(g)
    g.start()
    through_logos(g)
    into_level(g)
    wait_loads(g, 1)
    for button, answer_screen in (("b1_restart", HUD), ("b1_mmenu", MAIN_MENU), ("b1_levels", LEVELS)):
        pause(g)
        g.click(PAUSE, "button/%s/pos" % button)
        confirm(g, "b1_cancel")
        expect(g.shows(PAUSE), "%s, cancelled, left the pause menu" % button)
        loads = level_loads(g)
        g.press(PAUSE, "button/%s/pos" % button, lambda: g.shows(MODAL), "the question again")
        confirm(g, "b1_ok")
        g.wait_gone(PAUSE)
        g.wait_screen(answer_screen)
        if button == "b1_restart":
            wait_loads(g, loads + 1)
            past_unlocks(g, 0)
        elif button == "b1_mmenu":
            into_level(g)
        expect(level_loads(g) <= loads + 1, "an extra level load")
    finish(g)


def journey_options(g):
    """Volume steps and a drag are stored; the window modes; cheats win, lose and replay."""
    prepared_profile(g, extra='<fs v="1"/>')
    g.start()
    through_logos(g)
    open_options(g, MAIN_MENU, "button/b1_options/pos")
    # Steps of one size, never past the ends.
    first = step_volume(g, "Tester", "sound_dec")
    size = 1 - first
    expect(0 < size < 1, "a step of %s" % size)
    expect(abs(step_volume(g, "Tester", "sound_dec") - max(0, 1 - 2 * size)) < 1e-3, "the second step down")
    expect(abs(step_volume(g, "Tester", "sound_inc") - first) < 1e-3, "the step up")
    expect(abs(step_volume(g, "Tester", "music_dec") - first) < 1e-3, "the music step down")
    layout = g.layout(OPTIONS)
    bx, by, bw, bh = layout.rect("main_options/music/music_bar")
    g.step = "drag the music knob"
    g.drag((knob_x(g, "music"), by + bh / 2), (bx + bw / 2, by + bh / 2))
    g.until(lambda: 0.3 < float(stored_value(g, "Tester", "music")) < 0.7, "a music volume near the middle")
    if g.screen.width > driver.DESIGN_WIDTH:
        # Room for the wide window: windowed, then full screen again, each stored.
        # The switches show the mode the window is in; the switch itself runs between two frames,
        # so the dialog opened again is the one that tells.
        for switch, stored in (("window/window_in", 0), ("fullscreen/main_menu_in", 1)):
            g.click(OPTIONS, "main_options/" + switch)
            wait_stored(g, "Tester", "fs", stored)
            close_options(g)
            open_options(g, MAIN_MENU, "button/b1_options/pos")
            g.until(lambda: g.layer_shown(OPTIONS, "main_options/" + switch), "the switch %s on" % switch)
    else:
        # No room: the refusal, closed by its only button; still full screen.
        g.click(OPTIONS, "main_options/window/window_in")
        g.wait_screen(MODAL)
        g.step = "the refusal's ok"
        _, y = g.layout(MODAL).centre("button/b1_ok/pos")
        g.click_at((driver.DESIGN_WIDTH / 2, y))
        g.wait_gone(MODAL)
        expect(g.shows(OPTIONS), "the options closed with the refusal")
        expect(stored_value(g, "Tester", "fs") == "1", "the refused window mode was stored")
    close_options(g)
    into_level(g)
    enable_cheats(g)
    g.key("w")
    wait_result(g, True)
    loads = level_loads(g)
    g.click(RESULT, "button/restart")
    g.wait_gone(RESULT)
    wait_loads(g, loads + 1)
    past_unlocks(g, 0)
    g.key("l")
    wait_result(g, False)
    g.click(RESULT, "button/restart")
    g.wait_gone(RESULT)
    wait_loads(g, loads + 2)
    finish(g)


def profile_names(g):
    root = g.profiles()
    return [p.get("name") for p in root.iter("Profile") if p.get("name") != DEFAULT_PROFILE] if root is not None else []


def journey_profiles(g):
    """The profiles screen from the band: create, select, rename, delete; at most five."""
    prepared_profile(g, "Alpha")
    g.start()
    through_logos(g)
    g.step = "the profile band"
    g.click_at((driver.DESIGN_WIDTH / 2, 740))
    g.wait_screen(PROFILES)

    def create(name):
        g.click(PROFILES, "button/b1_create/pos")
        g.wait_screen(MODAL)
        type_name(g, name)
        g.click(MODAL, "button/b1_ok/pos")
        g.wait_gone(MODAL)
        g.until(lambda: name in profile_names(g), "the profile %s stored" % name)

    create("Bravo")
    expect(g.profiles().get("currentProfile") == "Bravo", "the new profile is not the current one")
    # Rows list the names in order: Alpha is row 1.
    g.click(PROFILES, "button/b3_p1/pos")
    g.until(lambda: g.profiles().get("currentProfile") == "Alpha", "Alpha selected")
    g.click(PROFILES, "button/b1_rename/pos")
    g.wait_screen(MODAL)
    type_name(g, "Adam")
    g.click(MODAL, "button/b1_ok/pos")
    g.wait_gone(MODAL)
    g.until(lambda: "Adam" in profile_names(g) and "Alpha" not in profile_names(g), "Alpha renamed Adam")
    for answer in ("b1_cancel", "b1_ok"):
        g.press(PROFILES, "button/b1_delete/pos", lambda: g.shows(MODAL), "the deletion question")
        confirm(g, answer)
    g.until(lambda: "Adam" not in profile_names(g), "Adam deleted")
    expect("Bravo" in profile_names(g), "Bravo went with Adam")
    for name in ("Carla", "Dora", "Emil", "Fred"):
        create(name)
    before = profile_names(g)
    g.click(PROFILES, "button/b1_create/pos")
    g.wait_screen(MODAL)
    g.step = "the maximum's ok"
    x, y = g.layout(MODAL).centre("button/b1_ok/pos")
    g.click_at((driver.DESIGN_WIDTH / 2, y))
    g.wait_gone(MODAL)
    expect(profile_names(g) == before, "a sixth profile")
    g.click(PROFILES, "button/b2_confirm/pos")
    g.wait_screen(MAIN_MENU)
    finish(g)


def bought_upgrades(g, name):
    """{upgrade id: level} of the upgrades a profile has bought."""
    profile = stored_profile(g, name)
    if profile is None:
        return {}
    return {u.get("id"): int(u.get("level")) for u in profile.iter("upgrade") if int(u.get("level", "-1")) >= 0}


def journey_restart(g):
    """What a player did survives a kill right after a purchase, "cloze" and a new start."""
    g.start()
    through_logos(g)
    first_profile(g, "Rita")
    start_level(g, 0, tutorial=True)
    enable_cheats(g)
    g.key("w")
    won_into_shop(g)
    g.click(SHOP, "item_plate/buy_in")
    g.step = "the purchase stored"
    bought = g.until(lambda: bought_upgrades(g, "Rita"), "a bought upgrade in profiles.xml")
    g.kill()

    g.start()
    through_logos(g)
    open_options(g, MAIN_MENU, "button/b1_options/pos")
    music = step_volume(g, "Rita", "music_dec")
    sound = step_volume(g, "Rita", "sound_dec")
    if g.screen.width > driver.DESIGN_WIDTH:
        g.click(OPTIONS, "main_options/window/window_in")
        wait_stored(g, "Rita", "fs", 0)
    mode = stored_value(g, "Rita", "fs")
    close_options(g)
    cloze(g)

    g.start()
    through_logos(g)
    open_options(g, MAIN_MENU, "button/b1_options/pos")
    switch = "window/window_in" if mode == "0" else "fullscreen/main_menu_in"
    g.until(lambda: g.layer_shown(OPTIONS, "main_options/" + switch), "the stored window mode on its switch")
    close_options(g)
    g.press(MAIN_MENU, "button/b2_play/pos", lambda: g.shows(EPISODES), "the episodes")
    g.wait_screen(EPISODES)
    g.click(EPISODES, "button/play")
    g.wait_screen(LEVELS)
    g.step = "the won plate"
    expect(stored_level_plate(g, 0) in ("plate/super", "plate/complete"), "level 1 shows %s" % stored_level_plate(g, 0))
    expect(g.profiles().get("currentProfile") == "Rita", "another current profile")
    expect(bought_upgrades(g, "Rita") == bought, "upgrades %s, bought %s" % (bought_upgrades(g, "Rita"), bought))
    for element, value in (("music", music), ("sound", sound)):
        expect(abs(float(stored_value(g, "Rita", element)) - value) < 1e-3, "%s not kept" % element)
    finish(g)


def tutorial_shown(g):
    return g.layer_shown(TUTORIAL_SKIP, "button/b4_normal")


def journey_tutorial_skip(g):
    """Skipping the tutorial: "b1_cancel" brings it back, "b1_ok" ends it for the next level and
    for the next start."""
    g.start()
    through_logos(g)
    first_profile(g, "Tina")
    start_level(g, 0)
    g.step = "the tutorial's skip button"
    g.until(lambda: tutorial_shown(g), "the tutorial's skip button")
    g.probe_texts(TUTORIAL_SKIP)
    g.click(TUTORIAL_SKIP, "button/b4_normal")
    confirm(g, "b1_cancel")
    g.until(lambda: tutorial_shown(g), "the tutorial back after cancel")
    skip_tutorial(g)
    g.until(lambda: not tutorial_shown(g), "the tutorial gone")
    g.until(lambda: stored_value(g, "Tina", "tutorial", "avail") == "0", "the tutorial stored off")
    enable_cheats(g)
    g.key("w")
    won_into_shop(g)
    g.click(SHOP, "button/return_ac")
    g.wait_gone(SHOP)
    past_unlocks(g, 1)
    expect(not tutorial_shown(g), "the tutorial came back on level 2")
    g.process.terminate()
    expect(g.exit_code() == 0, "the game did not end with 0")

    g.start()
    through_logos(g)
    into_level(g)
    expect(not tutorial_shown(g), "the tutorial came back after a restart")
    finish(g)


def normal_levels(g, episode):
    """How many normal levels an episode has (its level files in the copy)."""
    prefix = "level_%02d_" % (episode + 1)
    return len([n for n in os.listdir(os.path.join(g.source, "ruv", "levels_normal")) if n.startswith(prefix)])


def hardcore_levels(g, name, extra=""):
    """A profile with every star of episode 1 opens the hardcore levels ("unlocked_d"); their
    description comes with the first visit only and is closed by its one button."""
    stars = "".join('<level n="%d" episode="0" mode="0" stars="3"/>' % i for i in range(normal_levels(g, 0)))
    prepared_profile(g, name, "<levels>%s</levels>%s" % (stars, extra))
    g.start()
    through_logos(g)
    g.click(MAIN_MENU, "button/b2_play/pos")
    g.wait_screen(EPISODES)
    g.click(EPISODES, "button/play")
    g.wait_screen(LEVELS)
    g.click(LEVELS, "button/unlocked_d")
    g.wait_screen(MODAL)
    _, y = g.layout(MODAL).centre("button/b1_ok/pos")
    g.step = "the description's ok"
    g.click_at((driver.DESIGN_WIDTH / 2, y))
    g.wait_gone(MODAL)


def journey_hardcore(g):
    """Every star of episode 1 opens its hardcore levels: the description once, W wins, and the
    shop after it goes on from the stored upgrade level."""
    hardcore_levels(g, "Hanna", '<gems amount="100"/><upgrades><upgrade id="1" level="0"/></upgrades>')
    g.click(LEVELS, "button/back")
    g.wait_screen(LEVELS)
    g.click(LEVELS, "button/unlocked_d")
    g.wait_screen(LEVELS)
    expect(not g.shows(MODAL), "the description came again")
    g.step = "hardcore plate 0"
    g.click_at(plate(g, 0))
    g.wait_screen(HUD, 30)
    past_unlocks(g, 0)
    enable_cheats(g)
    g.key("w")
    won_into_shop(g)
    g.click(SHOP, "item_plate/buy_in")
    g.step = "the next step of the stored upgrade"
    g.until(lambda: bought_upgrades(g, "Hanna").get("1") == 1, "upgrade 1 at level 1 (now %s)" % bought_upgrades(g, "Hanna"))
    finish(g)


def every_switch_on(g):
    """The test copy of "ruv/config.xml" with every feature switch on, in place of the shipped one
    (which keeps the offers off)."""
    here = os.path.dirname(os.path.abspath(__file__))
    shutil.copy(os.path.join(here, "..", "data", "switches_on", "ruv", "config.xml"),
                os.path.join(g.data, "ruv", "config.xml"))


def journey_no_store(g):
    """Without a store, every switch on: too few gems offer the gem shop; a pack click fails and its price shows
    again; "back_in" and "back_ac" lead back to the main menu."""
    prepared_profile(g, "Nora", '<gems amount="0"/>')
    every_switch_on(g)
    g.start()
    through_logos(g)
    g.click(MAIN_MENU, "button/b1_shop/pos")
    g.wait_screen(SHOP)
    g.click(SHOP, "item_plate/buy_in")
    confirm(g, "b1_ok")
    g.wait_screen(GEM_SHOP)
    expect(not bought_upgrades(g, "Nora"), "an upgrade bought without gems")
    g.click(GEM_SHOP, "button/b_01_in")
    g.step = "the pack's price after the failure"
    g.until(lambda: g.layer_shown(GEM_SHOP, "pricing/en/1"), "the first pack's price")
    expect(stored_value(g, "Nora", "gems", "amount") == "0", "gems from a failed purchase")
    g.click(GEM_SHOP, "button/back_in")
    g.wait_screen(SHOP)
    g.click(SHOP, "button/back_ac")
    g.wait_screen(MAIN_MENU)
    finish(g)


def journey_health_offer(g):
    """Every switch on: losing the last life of a hardcore level offers health; "b1_ok" tries the
    purchase, which fails without a store and brings the offer back; "b1_cancel" loses."""
    every_switch_on(g)
    hardcore_levels(g, "Olga")
    g.step = "hardcore plate 0"
    g.click_at(plate(g, 0))
    g.wait_screen(HUD, 30)
    past_unlocks(g, 0)
    speed_up(g)
    g.step = "the health offer after the last life"
    g.wait_screen(MODAL, 90)
    g.click(MODAL, "button/b1_ok/pos")
    # The refusal arrives on the next tick: the offer is back (too soon to see it go).
    g.wait_screen(MODAL)
    expect(not result_shown(g, False), "lost on ok")
    g.click(MODAL, "button/b1_cancel/pos")
    wait_result(g, False)
    finish(g)


def wave_mark(g):
    """The middle of level 1's first wave mark (its left and top on the spawn point, kept below the
    HUD's bar) and its size."""
    root = driver.ElementTree.parse(os.path.join(g.source, LEVEL_1_SPOTS)).getroot()
    spawn = next(p for p in root.iter("point")
                 if any(a.get("name") == "spawn" and a.get("value") == "1" for a in p.iter("attribute")))
    _, _, w, h = g.layout(UI_PARTS).rect("ui/wave_hint")
    x = min(max(0, int(float(spawn.get("x")))), 1024 - w)
    y = min(max(100, int(float(spawn.get("y")))), 668 - h)
    return (x + w // 2, y + h // 2), (w, h)


def countdown_shown(g, centre, size):
    """White text beside the mark (on its right: the mark lies left of the map's middle)."""
    x, y = g.to_screen((centre[0] + size[0] // 2 + 20, centre[1] - 16))
    pixels = [p for row in g.screen.box(x, y, 300, 32) for p in row]
    return sum(all(c > 230 for c in p) for p in pixels) > 30


def journey_wave_call(g):
    """Level 1's first wave called early: its mark stands at the spawn point with the countdown
    beside it, and a click on the mark takes both away seconds before the wave was due."""
    prepared_profile(g)
    g.start()
    through_logos(g)
    into_level(g)
    centre, size = wave_mark(g)
    colour = driver.png_pixel(os.path.join(g.source, UI_PARTS, "ui", "wave_hint.png"), size[0] // 2, size[1] // 2)
    g.step = "the wave mark"
    g.until(lambda: driver.close_to(g.pixel(centre), colour), "the wave mark at the spawn point")
    seen = driver.time.monotonic()
    g.step = "the countdown beside the mark"
    g.until(lambda: countdown_shown(g, centre, size), "the countdown beside the wave mark")
    g.step = "the early call"
    g.click_at(centre)
    g.until(lambda: not countdown_shown(g, centre, size), "the countdown gone after the click", 3)
    # The first wave is due 5 s after the start.
    expect(driver.time.monotonic() - seen < 4, "the mark went no earlier than the wave was due")
    finish(g)


JOURNEYS = {name[len("journey_"):]: f for name, f in globals().items() if name.startswith("journey_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("data")
    parser.add_argument("journey", choices=sorted(JOURNEYS))
    parser.add_argument("--screen", default="1024x768")
    parser.add_argument("--artifacts", default="e2e-failures")
    parser.add_argument("--pack", action="store_true", help="the game reads ruv/ from a pack of it")
    args = parser.parse_args()
    try:
        driver.require_tools()
    except driver.Skip as reason:
        print("skipped: %s" % reason)
        return 77
    size = tuple(int(v) for v in args.screen.split("x"))
    folder = os.path.abspath(os.path.join(args.artifacts, "%s-%s%s" % (args.journey, args.screen,
                                                                       "-pack" if args.pack else "")))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    tools = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
    try:
        g = driver.Game(os.path.abspath(args.program), os.path.abspath(args.data), tools, size, folder, args.pack)
    except JourneyFailed as failure:
        print("FAILED before the journey: %s" % failure)
        return 1
    try:
        JOURNEYS[args.journey](g)
    except Exception as failure:  # noqa: BLE001 - any failure keeps its evidence
        print("FAILED at step '%s': %s" % (g.step, failure))
        if not isinstance(failure, JourneyFailed):
            traceback.print_exc()
        g.keep_failure()
        err = getattr(g, "err_path", None)
        if err and os.path.exists(err):
            print("--- last lines of the game's output")
            print("".join(open(err, errors="replace").readlines()[-20:]))
        print("screen and logs kept in %s" % folder)
        g.close()
        return 1
    g.close()
    shutil.rmtree(folder, ignore_errors=True)
    print("journey %s at %s: ok" % (args.journey, args.screen))
    return 0


if __name__ == "__main__":
    sys.exit(main())
