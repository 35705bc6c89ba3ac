#pragma once
// How a level ends: enemies at the goal cost lives; lives gone lose the level (or offer health).

class RuvMap;
class RuvUnit;

// A unit arrived at the goal: its entry got through, it is reaped next, and its prototype's
// "strength" comes off the lives (clamped at 0). At 0 lives the buy-health offer opens when the
// feature "low_life_dialog" is active, else the level is lost. Lives already at 0 stay untouched.
void onUnitReachedGoal(RuvMap& map, RuvUnit& unit);
// The two-button offer to buy health (the product's price in its text), state 22.
void openBuyHealthOffer(RuvMap& map);
