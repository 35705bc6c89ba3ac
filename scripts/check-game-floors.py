#!/usr/bin/env python3
"""Fails when a file of Game/ includes a header from a folder above its own.

The game's folders are floors: each may include its own folder and the floors below it, never one
above. The table below is the order; Game/README.md says what each floor holds.
"""
import pathlib
import re
import sys

FLOORS = ["Art", "Tables", "Battle", "BattleView", "Screens", "Flow", "App"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"Game/([^/"]+)/[^"]+"', re.MULTILINE)


def floor_of(folder):
    if folder not in FLOORS:
        raise SystemExit(f"Game/{folder}/ is not a floor; add it to FLOORS and Game/README.md")
    return FLOORS.index(folder)


def main():
    game = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "Game")
    faults = []
    for path in sorted(game.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        own = path.relative_to(game).parts[0]
        for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
            target = match.group(1)
            if floor_of(target) > floor_of(own):
                line = path.read_text(encoding="utf-8").count("\n", 0, match.start()) + 1
                faults.append(f"{path.relative_to(game.parent)}:{line}: {own}/ includes {target}/, a floor above it")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the floors " + " < ".join(FLOORS))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
