#pragma once

namespace math {

// Angle constants. The degree conversions are built on the single-precision pi, also in double
// precision; each reciprocal is 1 divided by its constant in the same precision.

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kInvTwoPi = 1.0f / kTwoPi;
constexpr float kDegToRad = kPi / 180.0f;
constexpr float kRadToDeg = 1.0f / kDegToRad;

constexpr double kTwoPiD = 6.283185307179586;
constexpr double kInvTwoPiD = 1.0 / kTwoPiD;
constexpr double kDegToRadD = static_cast<double>(kPi) / 180.0;
constexpr double kRadToDegD = 1.0 / kDegToRadD;

}  // namespace math
