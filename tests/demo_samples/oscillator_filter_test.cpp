#include <gtest/gtest.h>

#include "tests/demo_samples/signal_measures.h"
#include "tools/demo_samples/synth/filters.h"
#include "tools/demo_samples/synth/noise.h"
#include "tools/demo_samples/synth/oscillators.h"

namespace demos {
namespace {

using testing::amplitudeAt;
using testing::dbOf;

constexpr float kRate = 16000.0f;

int zeroCrossings(const Signal& s) {
  int count = 0;
  for (std::size_t i = 1; i < s.size(); ++i) count += (s[i - 1] < 0.0f) != (s[i] < 0.0f);
  return count;
}

TEST(Oscillators, SineRunsAtItsFrequency) {
  const Signal s = sineTone(440.0f, 16000, kRate, 0.1f);
  EXPECT_NEAR(zeroCrossings(s), 880, 2);
}

TEST(Oscillators, GlideMovesTowardsItsTarget) {
  const Signal curve = glideCurve(1000.0f, 100.0f, 0.1f, 16000, kRate);
  EXPECT_FLOAT_EQ(curve.front(), 1000.0f);
  EXPECT_NEAR(curve[1600], 100.0f + 900.0f * std::exp(-1.0f), 0.5f);
  EXPECT_NEAR(curve.back(), 100.0f, 0.1f);
}

// A saw's harmonics at 2 / (k pi), only those below Nyquist (3000 Hz at
// 16 kHz: the third, 9000 Hz, would fold to 7000 Hz); a square's odd ones
// at 4 / (k pi) and no even ones. Absent ones are 0.
TEST(Oscillators, SawAndSquareHaveTheirHarmonicsOnly) {
  const Signal saw = sawWave(constantCurve(3000.0f, 16000), kRate), sq = squareWave(constantCurve(500.0f, 16000), kRate);
  const struct { const Signal& wave; float hz, amplitude, tolerance; } harmonics[] = {
      {saw, 3000.0f, 2.0f / kPi, 0.01f}, {saw, 6000.0f, 1.0f / kPi, 0.01f}, {saw, 7000.0f, 0.0f, 0.001f},
      {sq, 500.0f, 4.0f / kPi, 0.02f}, {sq, 1500.0f, 4.0f / (3.0f * kPi), 0.02f}, {sq, 1000.0f, 0.0f, 0.001f}};
  for (const auto& h : harmonics) EXPECT_NEAR(amplitudeAt(h.wave, h.hz, kRate), h.amplitude, h.tolerance) << h.hz;
}

TEST(Oscillators, FmWithoutDepthIsAPlainSine) {
  const Signal fm = fmWave(constantCurve(440.0f, 8000), 2.0f, constantCurve(0.0f, 8000), kRate);
  const Signal sine = sineTone(440.0f, 8000, kRate);
  for (std::size_t i = 0; i < fm.size(); i += 97) ASSERT_NEAR(fm[i], sine[i], 1e-4f);
  const Signal bright = fmWave(constantCurve(440.0f, 16000), 2.0f, constantCurve(2.0f, 16000), kRate);
  EXPECT_GT(amplitudeAt(bright, 1320.0f, kRate), 0.1f);  // sidebands appear with depth
}

TEST(Oscillators, FmSidebandsDoNotFoldBackFromNyquist) {
  // Unchecked, index 5 on 3000 Hz would put a strong sideband at 12000 Hz,
  // heard folded back at 4000 Hz.
  const Signal fm = fmWave(constantCurve(3000.0f, 16000), 1.0f, constantCurve(5.0f, 16000), kRate);
  EXPECT_LT(amplitudeAt(fm, 4000.0f, kRate), 0.01f);
  EXPECT_GT(amplitudeAt(fm, 3000.0f, kRate), 0.5f);
}

// Each filter passes a tone in its band at unity gain and cuts one outside it.
TEST(Filters, PassTheirBandAndCutOutsideIt) {
  const struct {
    const char* name;
    Biquad filter;
    float passHz, cutHz, cutDbBelow;
  } cases[] = {
      {"lowpass 500", Biquad::lowpass(500.0f, 0.707f, kRate), 100.0f, 5000.0f, -30.0f},
      {"highpass 2000", Biquad::highpass(2000.0f, 0.707f, kRate), 6000.0f, 100.0f, -50.0f},
      {"bandpass 1000", Biquad::bandpass(1000.0f, 2.0f, kRate), 1000.0f, 4000.0f, -15.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Signal pass = filtered(sineTone(c.passHz, 16000, kRate), c.filter);
    const Signal cut = filtered(sineTone(c.cutHz, 16000, kRate), c.filter);
    EXPECT_NEAR(dbOf(amplitudeAt(pass, c.passHz, kRate)), 0.0f, 0.2f);
    EXPECT_LT(dbOf(amplitudeAt(cut, c.cutHz, kRate)), c.cutDbBelow);
  }
}

TEST(Filters, SweepBeyondNyquistStaysStable) {
  const Signal noise = whiteNoise(16000, 5);
  const Signal out = sweptFilter(noise, Biquad::lowpass(100.0f, 4.0f, kRate),
                                 glideCurve(10.0f, 40000.0f, 0.2f, 16000, kRate), kRate);
  for (float x : out) ASSERT_TRUE(std::isfinite(x));
  EXPECT_LT(peakOf(out), 20.0f);
}

TEST(Noise, SameSeedSameSoundAndWithinRange) {
  const Signal a = whiteNoise(5000, 9), b = whiteNoise(5000, 9), c = whiteNoise(5000, 10);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_LE(peakOf(a), 1.0f);
  EXPECT_NEAR(meanOf(a), 0.0f, 0.03f);
  EXPECT_NEAR(rmsOf(a), 1.0f / std::sqrt(3.0f), 0.02f);  // uniform noise
}

}  // namespace
}  // namespace demos
