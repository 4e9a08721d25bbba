#include <gtest/gtest.h>

#include <cmath>

#include "tools/audio_measure/audio_analysis.h"

namespace audio_measure {
namespace {

constexpr int kRate = 1000;  // a low rate keeps the vectors small; the rules scale with it

// Stereo frames: `seconds` of a sine at `level`, or of silence at level 0.
void append(std::vector<float>& out, double seconds, float level, float hz = 50.0f) {
  const int frames = int(seconds * kRate);
  for (int i = 0; i < frames; ++i) {
    const float x = level * std::sin(2.0f * 3.14159265f * hz * float(i) / kRate);
    out.push_back(x);
    out.push_back(x);
  }
}

AnalysisOptions options() {
  AnalysisOptions o;
  o.sampleRate = kRate;
  return o;
}

TEST(AudioAnalysis, LoudnessAndPeakOfASine) {
  std::vector<float> s;
  append(s, 2.0, 0.5f);
  const Analysis a = analyse(s, options());
  EXPECT_NEAR(a.seconds, 2.0, 1e-9);
  EXPECT_NEAR(a.rmsDbfs, 20.0 * std::log10(0.5 / std::sqrt(2.0)), 0.05);
  EXPECT_NEAR(a.peakDbfs, 20.0 * std::log10(0.5), 0.05);
  EXPECT_EQ(a.clippedFraction, 0.0);
}

TEST(AudioAnalysis, CountsClippedSamplesOnBothSidesOfZero) {
  std::vector<float> s{1.0f, -1.0f, 0.9990f, -0.5f, 0.2f, 0.0f, 0.998f, -1.2f};
  const Analysis a = analyse(s, options());
  EXPECT_DOUBLE_EQ(a.clippedFraction, 4.0 / 8.0);
}

TEST(AudioAnalysis, LongestSilenceIsTheLongestQuietRun) {
  std::vector<float> s;
  append(s, 1.0, 0.3f);
  append(s, 2.0, 0.0f);
  append(s, 0.5, 0.3f);
  append(s, 3.0, 0.0005f);  // -66 dBFS peak: below the silence line
  append(s, 1.0, 0.3f);
  const Analysis a = analyse(s, options());
  EXPECT_NEAR(a.longestSilenceSeconds, 3.0, 0.051);
}

TEST(AudioAnalysis, QuietButAudibleIsNotSilence) {
  std::vector<float> s;
  append(s, 5.0, 0.01f);  // -43 dBFS
  EXPECT_EQ(analyse(s, options()).longestSilenceSeconds, 0.0);
}

TEST(AudioAnalysis, SilenceAtTheEndCounts) {
  std::vector<float> s;
  append(s, 1.0, 0.3f);
  append(s, 6.0, 0.0f);
  EXPECT_NEAR(analyse(s, options()).longestSilenceSeconds, 6.0, 0.051);
}

TEST(AudioAnalysis, OnsetsFindEachHitAndTheirSpacing) {
  std::vector<float> s;
  append(s, 0.3, 0.0f);
  for (int hit = 0; hit < 6; ++hit) {
    append(s, 0.05, 0.8f);
    append(s, 0.45, 0.02f);  // a quiet tail between hits, not silence
  }
  const Analysis a = analyse(s, options());
  ASSERT_EQ(a.onsetSeconds.size(), 6u);
  EXPECT_NEAR(a.onsetSeconds.front(), 0.3, 0.011);
  EXPECT_NEAR(a.medianOnsetSpacingSeconds, 0.5, 0.011);
}

TEST(AudioAnalysis, SteadySoundHasOneOnset) {
  std::vector<float> s;
  append(s, 0.2, 0.0f);
  append(s, 3.0, 0.5f);
  const Analysis a = analyse(s, options());
  EXPECT_EQ(a.onsetSeconds.size(), 1u);
  EXPECT_EQ(a.medianOnsetSpacingSeconds, 0.0);
}

TEST(AudioAnalysis, EmptyAndPartialInput) {
  EXPECT_EQ(analyse({}, options()).seconds, 0.0);
  const Analysis odd = analyse({0.5f, 0.5f, 0.5f}, options());  // one whole frame and a half
  EXPECT_NEAR(odd.seconds, 1.0 / kRate, 1e-12);
  AnalysisOptions broken = options();
  broken.channels = 0;
  EXPECT_EQ(analyse({0.5f, 0.5f}, broken).seconds, 0.0);
}

}  // namespace
}  // namespace audio_measure
