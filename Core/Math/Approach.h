#pragma once

namespace math {

// Moves value toward target by step (step > 0). Returns true when value equals target on entry, or
// when the step exceeds the remaining distance (value is then set to target). A move that lands
// exactly on the target still returns false; the next call returns true.
bool Approach(float& value, float step, float target);

}  // namespace math
