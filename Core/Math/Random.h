#pragma once
#include <cstdint>

namespace math {

// The game's one pseudo-random sequence: a hash of a global counter, so a level replays the same
// way when it draws the same numbers. Seed 0 takes the next counter value (1, 2, 3, ... from
// start-up); any other seed sets the counter, so the following seed-0 calls continue from it.
// Main thread only.

// A float in 0..1 (1.0 itself for the top 128 hash values).
float Random(uint32_t seed = 0);
// A float from a toward b: the same draw scaled to b - a and offset by a.
float RandomRange(float a, float b, uint32_t seed = 0);

}  // namespace math
