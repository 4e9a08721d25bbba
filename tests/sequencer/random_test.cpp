#include "tidewell/common/random.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomGenerator, StartsWithTheKnownSequenceAndResetsToIt) {
  tidewell::randomGenerator().reset();
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int value : expected) EXPECT_EQ(tidewell::drawRandom(), value);
  tidewell::randomGenerator().reset();
  EXPECT_EQ(tidewell::drawRandom(), 41);
}

TEST(RandomGenerator, StaysWithinFifteenBits) {
  tidewell::RandomGenerator generator;
  int highest = 0;
  for (int i = 0; i < 100000; ++i) {
    const int value = generator.next();
    ASSERT_GE(value, 0);
    highest = value > highest ? value : highest;
  }
  EXPECT_EQ(highest, 32767);
}

}  // namespace
