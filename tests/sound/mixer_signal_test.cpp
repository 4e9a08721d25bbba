// What comes out of the mixer: pitch, alias products, level, balance, clipping.
#include "tests/sound/sound_fixture.h"

namespace sound_test {
namespace {

constexpr std::size_t kWindow = 8192;

TEST_F(MixerTest, SinePlayedAtItsOwnRateKeepsItsFrequency) {
  auto buffer = makeMono16(sine(1000.0, 48000.0, 48000, 0.5), 48000);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  const auto out = render(kWindow + 1024);
  const Peak peak = analyse(out.data() + 2048, kWindow, 2, 48000.0);
  EXPECT_NEAR(peak.frequency, 1000.0, 48000.0 / kWindow);
  EXPECT_LT(peak.strongestOtherDb, -60.0);
}

TEST_F(MixerTest, SineAtTwiceItsRateIsAnOctaveUpWithAliasesBelow60dB) {
  // A 44.1 kHz sample exercises fractional positions as well as the widened kernel.
  for (double tone : {1000.0, 3000.0, 9000.0}) {
    auto buffer = makeMono16(sine(tone, 44100.0, 44100, 0.5), 44100);
    ASSERT_EQ(buffer->setFrequency(88200), kOk);
    ASSERT_EQ(buffer->play(0, 0, 0), kOk);
    const auto out = render(kWindow + 1024);
    const Peak peak = analyse(out.data() + 2048, kWindow, 2, 48000.0);
    EXPECT_NEAR(peak.frequency, 2.0 * tone, 48000.0 / kWindow) << tone;
    EXPECT_LT(peak.strongestOtherDb, -60.0) << tone;
    buffer->stop();
  }
}

TEST_F(MixerTest, PanIsABalanceThatLeavesTheNearSideAtFullLevel) {
  auto buffer = makeMono16(std::vector<float>(4800, 0.5f), 48000);
  ASSERT_EQ(buffer->setPan(-10000), kOk);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  auto out = render(2000);
  EXPECT_NEAR(peakAbs(out.data() + 1000, 500, 2), 0.5, 0.005);
  EXPECT_EQ(peakAbs(out.data() + 1001, 500, 2), 0.0);

  ASSERT_EQ(buffer->setPan(0), kOk);
  out = render(1000);
  EXPECT_NEAR(peakAbs(out.data(), 1000, 2), 0.5, 0.005);
  EXPECT_NEAR(peakAbs(out.data() + 1, 1000, 2), 0.5, 0.005);

  ASSERT_EQ(buffer->setPan(2000), kOk);  // the left side loses 20 dB
  out = render(1000);
  EXPECT_NEAR(peakAbs(out.data(), 1000, 2), 0.05, 0.0005);
  EXPECT_NEAR(peakAbs(out.data() + 1, 1000, 2), 0.5, 0.005);
}

TEST_F(MixerTest, VolumeMinus600HalvesTheAmplitude) {
  auto full = makeMono16(sine(500.0, 48000.0, 24000, 0.5), 48000);
  ASSERT_EQ(full->play(0, 0, 0), kOk);
  const auto loud = render(6000);
  full->stop();
  auto quiet = makeMono16(sine(500.0, 48000.0, 24000, 0.5), 48000);
  ASSERT_EQ(quiet->setVolume(-600), kOk);
  ASSERT_EQ(quiet->play(0, 0, 0), kOk);
  const auto soft = render(6000);
  const double ratio = rms(soft.data() + 2000, 4000, 2) / rms(loud.data() + 2000, 4000, 2);
  EXPECT_NEAR(ratio, 0.5, 0.005);
}

TEST_F(MixerTest, TheSumIsLimitedNeverWrapped) {
  std::vector<SoundBufferRef> voices;
  for (int i = 0; i < 4; ++i) {
    voices.push_back(makeMono16(std::vector<float>(4800, 0.9f), 48000));
    ASSERT_EQ(voices.back()->play(0, 0, 0), kOk);
  }
  const auto out = render(1000);
  for (std::size_t i = 200; i < out.size(); ++i) ASSERT_FLOAT_EQ(out[i], 1.0f) << i;
}

// Sums below the limiter's knee pass unchanged; above it they are bent
// smoothly: louder in stays louder out, and nothing reaches past full scale.
TEST_F(MixerTest, PeaksAboveTheKneeBendSmoothly) {
  float previous = 0.0f;
  for (float each : {0.2f, 0.39f, 0.42f, 0.5f, 0.7f}) {
    auto a = makeMono16(std::vector<float>(2400, each), 48000);
    auto b = makeMono16(std::vector<float>(2400, each), 48000);
    ASSERT_EQ(a->play(0, 0, 0), kOk);
    ASSERT_EQ(b->play(0, 0, 0), kOk);
    const float out = render(1000)[2 * 500];
    if (2 * each <= 0.8f) {
      EXPECT_NEAR(out, 2 * each, 0.002) << each;
    } else {
      EXPECT_LT(out, 2 * each) << each;
      EXPECT_LT(out, 1.0f) << each;
    }
    EXPECT_GT(out, previous) << each;
    previous = out;
    render(2400);  // let both hits end
  }
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
