#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/demo_samples/synth/envelopes.h"

namespace demos {
namespace {

TEST(Envelopes, AttackDecayStartsAtZeroPeaksAtOneAndLandsOnZero) {
  const float rate = 1000.0f;
  const Signal env = attackDecay(2000, 0.1f, 0.3f, rate);
  ASSERT_EQ(env.size(), 2000u);
  EXPECT_NEAR(*std::max_element(env.begin(), env.end()), 1.0f, 1e-3f);
  // Rising through the attack, never rising again after it.
  EXPECT_LT(env[50], env[99]);
  for (std::size_t i = 101; i < env.size(); ++i) ASSERT_LE(env[i], env[i - 1]) << "at " << i;
}

TEST(Envelopes, DecayFollowsItsTimeConstant) {
  const float rate = 1000.0f;
  // A long envelope, so the bend towards zero at its end hardly matters early on.
  const Signal env = attackDecay(20000, 0.0f, 0.5f, rate);
  EXPECT_NEAR(env[500], std::exp(-1.0f), 0.01f);
  EXPECT_NEAR(env[1000], std::exp(-2.0f), 0.01f);
}

TEST(Envelopes, AttackHoldReleaseHoldsThenEndsAtZero) {
  const float rate = 1000.0f;
  const Signal env = attackHoldRelease(3000, 0.5f, 1.0f, rate);
  EXPECT_FLOAT_EQ(env[1000], 1.0f);
  EXPECT_FLOAT_EQ(env[1990], 1.0f);
  EXPECT_LT(env[2500], 0.5f);
  EXPECT_GT(env[2500], 0.0f);
}

// Every envelope starts and ends at silence, attacks longer than the sound
// and sounds of no length or one frame included.
TEST(Envelopes, StartAndEndAtZeroWhateverTheirLength) {
  for (const Signal& env : {attackDecay(2000, 0.1f, 0.3f, 1000.0f), attackHoldRelease(3000, 0.5f, 1.0f, 1000.0f),
                            attackHoldRelease(100, 5.0f, 5.0f, 1000.0f), attackDecay(100, 5.0f, 1.0f, 1000.0f),
                            attackHoldRelease(1, 0.1f, 0.1f, 1000.0f)}) {
    EXPECT_EQ(env.front(), 0.0f) << env.size();
    EXPECT_EQ(env.back(), 0.0f) << env.size();
  }
  EXPECT_TRUE(attackDecay(0, 0.1f, 0.1f, 1000.0f).empty());
}

TEST(Envelopes, ApplyEnvelopeSilencesFramesBeyondIt) {
  Signal s(10, 1.0f);
  applyEnvelope(s, Signal(4, 0.5f));
  EXPECT_EQ(s[3], 0.5f);
  EXPECT_EQ(s[4], 0.0f);
  EXPECT_EQ(s[9], 0.0f);
}

}  // namespace
}  // namespace demos
