// The resampler under the mixer: alias and image products and the passband
// at step ratios across the tracks' range, mono and stereo, and output that
// does not depend on how the callback cuts it into blocks.
#include <cmath>
#include <tuple>

#include "tests/sound/alias_probe.h"
#include "tests/sound/sound_fixture.h"

namespace sound_test {
namespace {

// What a listener must get at any playback rate: no alias or image product
// above -80 dB, the band to 16 kHz (where the source holds it) flat within
// 0.1 dB, and the sample at its own level.
constexpr double kMaxProductDb = -80.0;
constexpr double kPassbandToleranceDb = 0.1;

// A step ratio (playback rate over the 48 kHz output rate) and a channel count.
class ResamplingTest : public MixerTest, public ::testing::WithParamInterface<std::tuple<double, int>> {};

TEST_P(ResamplingTest, NoProductAbove80dBAndAFlatPassband) {
  const auto [ratio, channels] = GetParam();
  // A stereo source carries the probe's sine on the left and silence on the
  // right, which must stay silent.
  const AliasReport report = AliasProbe::measure(
      [&, channels = channels](const std::vector<float>& sample, std::uint32_t playRate) {
        std::vector<float> frames;
        for (float v : sample) {
          frames.push_back(v);
          if (channels == 2) frames.push_back(0.0f);
        }
        const auto format = formatRecord(WAVE_FORMAT_IEEE_FLOAT, static_cast<std::uint16_t>(channels), 44100, 32);
        auto buffer = makeBuffer(format, encode(frames, 32, true));
        EXPECT_EQ(buffer->setFrequency(playRate), kOk);
        EXPECT_EQ(buffer->play(0, 0, 0), kOk);
        const auto out = render(AliasProbe::kOutputFrames);
        EXPECT_EQ(buffer->stop(), kOk);
        render(2400);  // the next tone starts alone, 50 ms after the cut
        if (channels == 2) {
          EXPECT_EQ(peakAbs(out.data() + 1, AliasProbe::kOutputFrames, 2), 0.0);
        }
        std::vector<float> left(AliasProbe::kOutputFrames);
        for (std::size_t i = 0; i < left.size(); ++i) left[i] = out[2 * i];
        return left;
      },
      ratio);
  EXPECT_LE(report.worstDb, kMaxProductDb) << "sine " << report.toneHz << " Hz, product at " << report.productHz;
  EXPECT_LE(std::fabs(report.passbandDb), kPassbandToleranceDb) << "sine " << report.passbandToneHz << " Hz";
  EXPECT_LE(std::fabs(report.referenceDb), kPassbandToleranceDb);
}

// Far down, down, the output's own rate, just past it and the fastest there
// is, through both the mono and the stereo path.
INSTANTIATE_TEST_SUITE_P(StepRatios, ResamplingTest,
                         ::testing::Values(std::tuple{0.01, 1}, std::tuple{0.05, 1}, std::tuple{0.25, 2},
                                           std::tuple{0.5, 1}, std::tuple{1.0, 1}, std::tuple{1.04, 2},
                                           std::tuple{2.08, 1}));

TEST_F(MixerTest, AProbeOfAPlainDecimatorFindsItsAliases) {
  // The probe itself must see aliasing where there is some: every other
  // frame of the sample, unfiltered, folds everything above 12 kHz back
  // down; and it must see a passband that droops.
  const AliasReport report = AliasProbe::measure(
      [](const std::vector<float>& sample, std::uint32_t playRate) {
        std::vector<float> left(AliasProbe::kOutputFrames);
        for (std::size_t i = 0; i < left.size(); ++i) {
          const double at = static_cast<double>(i) * playRate / AliasProbe::kOutputRate;
          left[i] = 0.5f * (sample[static_cast<std::size_t>(at)] + sample[static_cast<std::size_t>(at) + 1]);
        }
        return left;
      },
      88200.0 / 48000.0);
  EXPECT_GT(report.worstDb, -20.0);
  EXPECT_GT(std::fabs(report.passbandDb), 1.0);
}

class BlockTest : public MixerTest {
 protected:
  static std::vector<float> renderHitsInBlocks(int block);
};

// The same hits rendered in blocks of the given size.
std::vector<float> BlockTest::renderHitsInBlocks(int block) {
  auto mixer = std::make_shared<sound::Mixer>();
  sound::SoftwareSoundDevice device(mixer);
  const auto mono = encode(sine(440.0, 22050.0, 3001, 0.3), 16, false);
  std::vector<float> stereoValues;
  for (float v : sine(700.0, 44100.0, 2000, 0.4)) {
    stereoValues.push_back(v);
    stereoValues.push_back(-v);
  }
  const auto stereo = encode(stereoValues, 16, false);
  const std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>> sources[] = {
      {formatRecord(WAVE_FORMAT_PCM, 1, 22050, 16), mono}, {formatRecord(WAVE_FORMAT_PCM, 2, 44100, 16), stereo}};
  // Rates below, at and above the output's, one the largest there is.
  const std::uint32_t rates[] = {17000, 48000, 91234, 100000};
  std::vector<SoundBufferRef> buffers;
  for (const auto& [format, data] : sources) {
    for (std::uint32_t rate : rates) {
      SoundBufferDesc desc;
      desc.flags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY;
      desc.bufferBytes = static_cast<std::uint32_t>(data.size());
      desc.format = reinterpret_cast<const WaveFormatEx*>(format.data());
      SoundBufferRef buffer;
      EXPECT_EQ(device.createSoundBuffer(desc, &buffer), kOk);
      fill(buffer, data);
      EXPECT_EQ(buffer->setFrequency(rate), kOk);
      EXPECT_EQ(buffer->play(0, 0, 0), kOk);
      buffers.push_back(buffer);
    }
  }
  std::vector<float> out(2 * 10000);
  for (int done = 0; done < 10000; done += block) mixer->render(std::min(block, 10000 - done), out.data() + 2 * done);
  for (const auto& buffer : buffers) {
    std::uint32_t status = 1;
    EXPECT_EQ(buffer->getStatus(&status), kOk);
    EXPECT_EQ(status, 0u) << "every hit is over within 10000 frames";
  }
  return out;
}

TEST_F(BlockTest, BlockSizeChangesNothingInTheOutput) {
  const auto whole = renderHitsInBlocks(10000);
  EXPECT_GT(peakAbs(whole.data(), whole.size(), 1), 0.5);
  for (int block : {1, 3, 64, 512, 4093}) {
    const auto cut = renderHitsInBlocks(block);
    ASSERT_EQ(cut.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(cut[i], whole[i]) << "block " << block << " value " << i;
  }
}

TEST_F(MixerTest, AHitLastsItsLengthAtItsRateToTheFrame) {
  // 3000 frames at 17 kHz: the last output frame is the one whose next
  // position passes frame 3000, the ceiling of 3000 x 48000 / 17000.
  auto buffer = makeMono16(std::vector<float>(3000, 0.5f), 17000);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  const auto out = render(10000);
  const std::uint64_t step = (std::uint64_t{17000} << 32) / 48000;
  const std::size_t expected = static_cast<std::size_t>(((std::uint64_t{3000} << 32) + step - 1) / step) + kLatency;
  EXPECT_EQ(peakAbs(out.data(), kLatency, 2), 0.0);
  EXPECT_NE(out[2 * kLatency], 0.0f);
  EXPECT_NE(out[2 * (expected - 1)], 0.0f);
  EXPECT_EQ(out[2 * expected], 0.0f);
  EXPECT_EQ(peakAbs(out.data() + 2 * expected, 10000 - expected, 2), 0.0);
}

}  // namespace
}  // namespace sound_test
