#include <gtest/gtest.h>

#include <cmath>

#include "tools/demo_samples/synth/finishing.h"
#include "tools/demo_samples/synth/oscillators.h"

namespace demos {
namespace {

constexpr float kRate = 8000.0f;

Signal offsetSine(float offset) {
  Signal s = sineTone(200.0f, 4000, kRate, 0.4f);
  for (float& x : s) x = 0.3f * x + offset;
  return s;
}

TEST(Finishing, NormaliserHitsItsTargetPeak) {
  Signal s = offsetSine(0.0f);
  normalisePeak(s, -3.0f);
  EXPECT_NEAR(peakOf(s), std::pow(10.0f, -3.0f / 20.0f), 1e-5f);
  normalisePeak(s, -12.0f);  // also turns loud material down
  EXPECT_NEAR(20.0f * std::log10(peakOf(s)), -12.0f, 1e-3f);
}

TEST(Finishing, NormaliserLeavesSilenceSilent) {
  Signal s(100, 0.0f);
  normalisePeak(s, -3.0f);
  for (float x : s) ASSERT_EQ(x, 0.0f);
}

TEST(Finishing, DcOffsetIsRemoved) {
  Signal s = offsetSine(0.25f);
  removeDcOffset(s);
  EXPECT_NEAR(meanOf(s), 0.0f, 1e-6f);
}

TEST(Finishing, EdgeFadesZeroBothEndsAndLeaveTheMiddle) {
  Signal s(1000, 0.8f);
  applyEdgeFades(s, 0.005f, 0.01f, kRate);  // 40 and 80 frames
  EXPECT_EQ(s.front(), 0.0f);
  EXPECT_EQ(s.back(), 0.0f);
  EXPECT_GT(s[20], 0.0f);
  EXPECT_LT(s[20], 0.8f);
  EXPECT_FLOAT_EQ(s[40], 0.8f);
  EXPECT_FLOAT_EQ(s[1000 - 81], 0.8f);
  EXPECT_LT(s[1000 - 40], 0.8f);
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
