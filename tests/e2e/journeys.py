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


def plate(g, index):
    """The middle of level plate index on the level select: rows of seven from the first plate."""
    layout = g.layout(LEVELS)
    x, y, w, h = layout.rect("plate/super")
    pitch = layout.rect("plate/complete")[0] - x
    return x + (index % 7) * pitch + w / 2, y + (index // 7) * pitch + h / 2


def start_level(g, index):
    """From the episode select: "play", then the plate of the level."""
    g.click(EPISODES, "button/play")
    g.wait_screen(LEVELS)
    g.step = "plate %d" % index
    g.click_at(plate(g, index))
    g.wait_screen(HUD, 30)


def open_options(g, screen, button):
    g.click(screen, button)
    g.wait_screen(OPTIONS)


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
    g.click(MAIN_MENU, "button/b1_cloze/pos")
    g.step = "exit after cloze"
    code = g.exit_code()
    expect(code == 0, "exit code %d after cloze" % code)
    expect(open(g.log_path).read().rstrip().endswith("</html>"), "log.html was not closed")


# --- the journeys ---------------------------------------------------------------------------------------
def journey_first_start(g):
    """Logos, a new profile by name, the episodes, the levels, level 1; a volume; "cloze"."""
    g.start()
    through_logos(g)
    first_profile(g, "Anna")
    start_level(g, 0)
    open_options(g, HUD, "button/options_btn")
    return finish(g)


JOURNEYS = {name[len("journey_"):]: f for name, f in globals().items() if name.startswith("journey_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("data")
    parser.add_argument("journey", choices=sorted(JOURNEYS))
    parser.add_argument("--screen", default="1024x768")
    parser.add_argument("--artifacts", default="e2e-failures")
    args = parser.parse_args()
    try:
        driver.require_tools()
    except driver.Skip as reason:
        print("skipped: %s" % reason)
        return 77
    size = tuple(int(v) for v in args.screen.split("x"))
    folder = os.path.abspath(os.path.join(args.artifacts, "%s-%s" % (args.journey, args.screen)))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    tools = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
    g = driver.Game(os.path.abspath(args.program), os.path.abspath(args.data), tools, size, folder)
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
