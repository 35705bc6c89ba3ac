#include "Core/Math/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct SeedCase {
  uint32_t seed;
  float value;
};

// The hash r of seeds 1, 2, 3 is 548517411, 1909112175 and 217491472; each value is r / 2^32.
const SeedCase kSeeds[] = {{1, 0.12771167f}, {2, 0.44449982f}, {3, 0.050638679f}};

TEST(RandomTest, ExplicitSeedsGiveTheFixedSequence) {
  for (const SeedCase& c : kSeeds) {
    EXPECT_EQ(math::Random(c.seed), c.value) << "seed " << c.seed;
    EXPECT_EQ(math::Random(c.seed), c.value) << "seed " << c.seed << " again";
  }
  EXPECT_EQ(math::RandomRange(0.0f, 10.0f, 1), 1.2771167f);
  EXPECT_FLOAT_EQ(math::RandomRange(10.0f, 20.0f, 2), 14.444998f);
  EXPECT_FLOAT_EQ(math::RandomRange(10.0f, 0.0f, 3), 9.4936132f);  // from a toward b, also downwards
}

TEST(RandomTest, SeedZeroContinuesTheWalkFromTheLastSeed) {
  math::Random(1);
  EXPECT_EQ(math::Random(0), kSeeds[1].value);
  EXPECT_EQ(math::Random(0), kSeeds[2].value);
  // The range form shares the counter.
  math::Random(1);
  const float next = math::RandomRange(0.0f, 10.0f, 0);
  EXPECT_EQ(next, math::RandomRange(0.0f, 10.0f, 2));
  EXPECT_EQ(math::Random(0), kSeeds[2].value);
}

TEST(RandomTest, FirstDrawsAfterStartUpAreSeedsOneAndTwo) {
  // A fresh process: the counter starts at zero.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const float first = math::Random(0);
        const float second = math::Random(0);
        std::exit(first == kSeeds[0].value && second == kSeeds[1].value ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(RandomTest, CounterWrapsAroundAtTwoToThe32) {
  math::Random(0xFFFFFFFFu);
  const float afterWrap = math::Random(0);  // hashes seed 0
  EXPECT_GE(afterWrap, 0.0f);
  EXPECT_LE(afterWrap, 1.0f);
  EXPECT_EQ(math::Random(0), kSeeds[0].value);
}

}  // namespace
