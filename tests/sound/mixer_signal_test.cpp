// What comes out of the mixer: pitch, alias products, level, balance, clipping.
#include "tests/sound/sound_fixture.h"

namespace sound_test {
namespace {

TEST_F(MixerTest, PanIsABalanceThatLeavesTheNearSideAtFullLevel) {
  auto buffer = makeMono16(std::vector<float>(4800, 0.5f), 48000);
  ASSERT_EQ(buffer->setPan(-10000), kOk);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  auto out = render(2000);
  EXPECT_NEAR(peakAbs(out.data() + 1000, 500, 2), 0.5, 0.005);
  EXPECT_EQ(peakAbs(out.data() + 1001, 500, 2), 0.0);

  // On a sounding voice a new pan takes hold within 10 ms.
  const std::size_t settled = 480;
  ASSERT_EQ(buffer->setPan(0), kOk);
  out = render(1000);
  EXPECT_NEAR(peakAbs(out.data() + 2 * settled, 1000 - settled, 2), 0.5, 0.005);
  EXPECT_NEAR(peakAbs(out.data() + 2 * settled + 1, 1000 - settled, 2), 0.5, 0.005);

  ASSERT_EQ(buffer->setPan(2000), kOk);  // the left side loses 20 dB
  out = render(1000);
  EXPECT_NEAR(peakAbs(out.data() + 2 * settled, 1000 - settled, 2), 0.05, 0.0005);
  EXPECT_NEAR(peakAbs(out.data() + 2 * settled + 1, 1000 - settled, 2), 0.5, 0.005);
}

// The largest difference between neighbouring frames of one channel.
double largestStep(const std::vector<float>& out, std::size_t from, std::size_t to, int channel) {
  double largest = 0.0;
  for (std::size_t i = from + 1; i < to; ++i)
    largest = std::max(largest, std::fabs(static_cast<double>(out[2 * i + channel] - out[2 * i - 2 + channel])));
  return largest;
}

TEST_F(MixerTest, VolumeChangedMidBlockGlidesWithoutAClick) {
  const auto tone = sine(1000.0, 48000.0, 48000, 0.5);
  double ownStep = 0.0;
  for (std::size_t i = 1; i < tone.size(); ++i) ownStep = std::max(ownStep, std::fabs(double(tone[i] - tone[i - 1])));
  for (std::int32_t volume : {-2000, 0}) {
    SCOPED_TRACE(volume);
    auto buffer = makeMono16(tone, 48000);
    if (volume == 0) {
      ASSERT_EQ(buffer->setVolume(-2000), kOk);
    }
    ASSERT_EQ(buffer->play(0, 0, 0), kOk);
    auto out = render(1000);
    ASSERT_EQ(buffer->setVolume(volume), kOk);
    ASSERT_EQ(buffer->setPan(volume == 0 ? 0 : -3000), kOk);
    const auto after = render(1000);
    out.insert(out.end(), after.begin(), after.end());
    for (int channel = 0; channel < 2; ++channel)
      EXPECT_LT(largestStep(out, 200, 2000, channel), ownStep + 0.005) << "channel " << channel;
    // And then it is at its new level.
    EXPECT_NEAR(peakAbs(out.data() + 2 * 1600, 400, 2), 0.5 * std::pow(10.0, (volume) / 2000.0), 0.01);
  }
}

// A sound cut while it sounds (its buffer stopped or released, or the whole
// output muted) fades rather than clicks: a listener hears a fall faster than
// about 2 ms as a click, so a steady 0.5 falls by at most 0.5 / 96 a frame
// (2 ms at 48 kHz); and the cut is heard as one, silent within 20 ms.
// Unmuting fades back in the same way.
TEST_F(MixerTest, ACutFadesOverAtLeast2msAndIsSilentWithin20ms) {
  constexpr double kLevel = 0.5;
  constexpr double kSteepest = kLevel / 96 * 1.01;
  constexpr std::size_t kSilentAfter = 960;
  enum class Cut { kStop, kRelease, kMute };
  for (Cut cut : {Cut::kStop, Cut::kRelease, Cut::kMute}) {
    SCOPED_TRACE(static_cast<int>(cut));
    auto buffer = makeMono16(std::vector<float>(48000, static_cast<float>(kLevel)), 48000);
    ASSERT_EQ(buffer->play(0, 0, 0), kOk);
    auto out = render(1000);
    ASSERT_NEAR(out[2 * 999], kLevel, 0.002) << "sounding before the cut";
    if (cut == Cut::kStop) {
      ASSERT_EQ(buffer->stop(), kOk);
    } else if (cut == Cut::kRelease) {
      buffer.reset();
    } else {
      mixer->setMuted(true);
    }
    auto more = render(2000);
    out.insert(out.end(), more.begin(), more.end());
    EXPECT_LE(largestStep(out, 900, 3000, 0), kSteepest);
    EXPECT_EQ(peakAbs(out.data() + 2 * (1000 + kSilentAfter), 2000 - kSilentAfter, 1), 0.0);
    if (cut != Cut::kMute) continue;
    mixer->setMuted(false);
    more = render(2000);
    EXPECT_LE(largestStep(more, 0, 2000, 0), kSteepest) << "unmuted";
    EXPECT_NEAR(more[2 * kSilentAfter], kLevel, 0.002) << "unmuted";
  }
}

// Sums under the ceiling leave unchanged, only late by the look-ahead, and
// the limiter counts no frame.
TEST_F(MixerTest, TheLimiterPassesSumsBelowItsCeilingUntouched) {
  const auto low = sine(700.0, 48000.0, 9600, 0.45), high = sine(1100.0, 48000.0, 9600, 0.5);
  auto a = makeMono16(low, 48000), b = makeMono16(high, 48000);
  ASSERT_EQ(a->play(0, 0, 0), kOk);
  ASSERT_EQ(b->play(0, 0, 0), kOk);
  const auto limited = render(9000);
  EXPECT_EQ(mixer->limitedFrames(), 0u);
  // Away from the onset the output is the sum of the two tones, frame for frame.
  for (std::size_t i = 2000; i < 8000; ++i) ASSERT_NEAR(limited[2 * (i + kLatency)], low[i] + high[i], 2e-4) << i;
}

// The value a 16-bit sample of `level` plays at.
float encodedLevel(float level) { return static_cast<float>(std::lround(level * 32767.0f)) / 32768.0f; }

// A sum over the ceiling is held under it with no frame above, both channels
// turned down together, and the frames where it acts are counted.
TEST_F(MixerTest, TheLimiterHoldsLoudSumsUnderTheCeilingAndCountsTheFrames) {
  std::vector<SoundBufferRef> voices;
  for (int i = 0; i < 4; ++i) {
    voices.push_back(makeMono16(sine(500.0, 48000.0, 4800, 0.6), 48000));
    ASSERT_EQ(voices.back()->setPan(i == 0 ? -3000 : 0), kOk);
    ASSERT_EQ(voices.back()->play(0, 0, 0), kOk);
  }
  const auto out = render(48000);
  const double ceiling = std::pow(10.0, -0.3 / 20);  // -0.3 dBFS
  EXPECT_LE(peakAbs(out.data(), out.size(), 1), ceiling);
  EXPECT_GT(peakAbs(out.data(), out.size(), 1), 0.9 * ceiling);
  // Linked: the balance between the channels is kept.
  const double balance = rms(out.data() + 2 * 1000, 3000, 2) / rms(out.data() + 2 * 1000 + 1, 3000, 2);
  EXPECT_NEAR(balance, 4.0 / (3.0 + std::pow(10.0, -1.5)), 0.01);  // the right side of one loses 30 dB
  // The left sum is 2.4 sin: over the ceiling where |sin| > 0.4025, 73.6 % of 4800 frames.
  EXPECT_NEAR(static_cast<double>(mixer->limitedFrames()), 0.736 * 4800, 60.0);
  // After about a second the gain is all the way back: a quiet hit passes untouched.
  render(48000);
  auto quiet = makeMono16(std::vector<float>(4800, 0.3f), 48000);
  ASSERT_EQ(quiet->play(0, 0, 0), kOk);
  const auto after = render(2000);
  EXPECT_NEAR(after[2 * 1000], encodedLevel(0.3f), 1e-6);
}

TEST_F(MixerTest, EveryEncodingPlaysAtTheSameLoudness) {
  const auto tone = sine(750.0, 48000.0, 12000, 0.5);
  struct Case { std::uint16_t tag, bits, sub; bool isFloat; };
  const Case cases[] = {{WAVE_FORMAT_PCM, 8, 0, false},        {WAVE_FORMAT_PCM, 16, 0, false},
                        {WAVE_FORMAT_PCM, 24, 0, false},       {WAVE_FORMAT_PCM, 32, 0, false},
                        {WAVE_FORMAT_IEEE_FLOAT, 32, 0, true}, {WAVE_FORMAT_EXTENSIBLE, 24, 1, false},
                        {WAVE_FORMAT_EXTENSIBLE, 32, 3, true}};
  std::vector<double> levels;
  for (const Case& c : cases) {
    auto buffer = makeBuffer(formatRecord(c.tag, 1, 48000, c.bits, c.sub), encode(tone, c.bits, c.isFloat));
    ASSERT_TRUE(buffer) << c.tag << "/" << c.bits;
    ASSERT_EQ(buffer->play(0, 0, 0), kOk);
    const auto out = render(4000);
    levels.push_back(rms(out.data() + 1000, 3000, 2));
    buffer->stop();
  }
  for (std::size_t i = 0; i < levels.size(); ++i) EXPECT_NEAR(levels[i] / levels[1], 1.0, 0.01) << i;
  EXPECT_NEAR(levels[1], 0.5 / std::sqrt(2.0), 0.005);
}

TEST_F(MixerTest, StereoSourceKeepsItsChannelsApart) {
  std::vector<float> frames;
  for (int i = 0; i < 4800; ++i) {
    frames.push_back(0.25f);
    frames.push_back(-0.5f);
  }
  auto buffer = makeBuffer(formatRecord(WAVE_FORMAT_PCM, 2, 48000, 16), encode(frames, 16, false));
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  const auto out = render(1000);
  EXPECT_NEAR(out[1000], 0.25f, 0.002);
  EXPECT_NEAR(out[1001], -0.5f, 0.002);
}

}  // namespace
}  // namespace sound_test
