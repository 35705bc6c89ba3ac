#include "Core/Math/Approach.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Step {
  float value;
  bool reached;
};

struct ApproachCase {
  const char* name;
  float start;
  float step;
  float target;
  std::vector<Step> steps;
};

TEST(ApproachTest, MovesByTheStepAndReportsArrivalOnlyWhenAtTheTarget) {
  const ApproachCase cases[] = {
      {"up by 0.3", 0.0f, 0.3f, 1.0f,
       {{0.3f, false}, {0.6f, false}, {0.90000004f, false}, {1.0f, true}, {1.0f, true}}},
      {"down by 0.3", 1.0f, 0.3f, 0.0f,
       {{0.7f, false}, {0.39999998f, false}, {0.099999964f, false}, {0.0f, true}}},
      // Landing exactly on the target still reports false; the next call reports true unchanged.
      {"up by 0.5", 0.0f, 0.5f, 1.0f, {{0.5f, false}, {1.0f, false}, {1.0f, true}}},
      {"already there", 2.0f, 0.1f, 2.0f, {{2.0f, true}}},
      {"negative range", -1.0f, 0.75f, -3.0f, {{-1.75f, false}, {-2.5f, false}, {-3.0f, true}}},
  };
  for (const ApproachCase& c : cases) {
    float value = c.start;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE(testing::Message() << c.name << ", call " << i + 1);
      EXPECT_EQ(math::Approach(value, c.step, c.target), c.steps[i].reached);
      EXPECT_FLOAT_EQ(value, c.steps[i].value);
    }
  }
}

}  // namespace
