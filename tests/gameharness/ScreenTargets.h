#pragma once
// Where a screen answers a button name or index: the design area is searched with the screen's own
// hit test, without acting on what it finds.
#include <optional>
#include <string>

class GameWindow;

namespace gameharness {

// A point in design coordinates, as the root board passes them on.
struct DesignPoint {
  int x = 0;
  int y = 0;
};

// The screen that takes the pointer: the root board's confirm dialog when one is open, else the
// HUD's top screen, else the HUD itself. Its answer at a point, as the dispatcher would get it. A
// screen whose query acts on the answer (the name input creates the profile, the profile list
// opens the deletion question, the boost shop buys, the logos skip) is asked the same through the
// pure part of its test; the episode select has no index target (its query turns the carousel):
// its "play" button picks the centred episode.
std::u16string nameAnsweredAt(GameWindow& board, int x, int y);
int indexAnsweredAt(GameWindow& board, int x, int y);

// The middle of the region where the screen answers name (index): found on a 4-pixel grid over
// the wide design area, then narrowed along the row and the column of the first hit.
std::optional<DesignPoint> findNameTarget(GameWindow& board, const std::u16string& name);
std::optional<DesignPoint> findIndexTarget(GameWindow& board, int index);

}  // namespace gameharness
