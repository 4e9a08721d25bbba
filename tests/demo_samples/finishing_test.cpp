#include <gtest/gtest.h>

#include "tools/demo_samples/synth/finishing.h"

namespace demos {
namespace {

// The target peak, the removed offset and the faded edges are checked on every
// generated sample, as a listener meets them, by generated_files_test.cpp.
constexpr float kRate = 8000.0f;

TEST(Finishing, NormaliserLeavesSilenceSilent) {
  Signal s(100, 0.0f);
  normalisePeak(s, -3.0f);
  for (float x : s) ASSERT_EQ(x, 0.0f);
}

TEST(Finishing, FadesLongerThanTheSoundDoNotRunOutOfIt) {
  Signal s(10, 1.0f);
  applyEdgeFades(s, 1.0f, 1.0f, kRate);
  EXPECT_EQ(s.front(), 0.0f);
  EXPECT_EQ(s.back(), 0.0f);
}

TEST(Finishing, Pcm16RoundsAndClamps) {
  const auto pcm = toPcm16({0.0f, 0.5f, -0.5f, 1.5f, -2.0f});
  EXPECT_EQ(pcm[0], 0);
  EXPECT_EQ(pcm[1], 16384);
  EXPECT_EQ(pcm[2], -16384);
  EXPECT_EQ(pcm[3], 32767);
  EXPECT_EQ(pcm[4], -32767);
}

TEST(Finishing, SaturationKeepsFullScaleAndRaisesQuietParts) {
  Signal s{1.0f, -1.0f, 0.2f};
  saturate(s, 2.0f);
  EXPECT_NEAR(s[0], 1.0f, 1e-6f);
  EXPECT_NEAR(s[1], -1.0f, 1e-6f);
  EXPECT_GT(s[2], 0.2f);
}

}  // namespace
}  // namespace demos
