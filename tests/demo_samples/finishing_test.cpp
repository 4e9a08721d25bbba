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
  EXPECT_EQ(s, Signal(100, 0.0f));
}

TEST(Finishing, FadesLongerThanTheSoundDoNotRunOutOfIt) {
  Signal s(10, 1.0f);
  applyEdgeFades(s, 1.0f, 1.0f, kRate);
  EXPECT_EQ(s.front(), 0.0f);
  EXPECT_EQ(s.back(), 0.0f);
}

TEST(Finishing, Pcm16RoundsAndClamps) {
  EXPECT_EQ(toPcm16({0.0f, 0.5f, -0.5f, 1.5f, -2.0f}), (std::vector<std::int16_t>{0, 16384, -16384, 32767, -32767}));
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
