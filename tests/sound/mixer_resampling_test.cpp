// The resampler under the mixer: alias products across the whole band,
// stereo sources at fractional rates, and output that does not depend on how
// the callback cuts it into blocks.
#include <cstdio>

#include "tests/sound/alias_probe.h"
#include "tests/sound/sound_fixture.h"

namespace sound_test {
namespace {

TEST_F(MixerTest, NoSineAtTwiceItsRateLeavesAnAudibleProductAbove60dB) {
  const AliasReport report = AliasProbe::measure([&](const std::vector<float>& sample) {
    auto buffer = makeBuffer(formatRecord(WAVE_FORMAT_IEEE_FLOAT, 1, 44100, 32), encode(sample, 32, true));
    EXPECT_EQ(buffer->setFrequency(static_cast<std::uint32_t>(AliasProbe::kPlayRate)), kOk);
    EXPECT_EQ(buffer->play(0, 0, 0), kOk);
    const auto out = render(AliasProbe::kOutputFrames);
    std::vector<float> left(AliasProbe::kOutputFrames);
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = out[2 * i];
    return left;
  });
  std::printf("worst alias product: %.1f dB (sine %.0f Hz, product at %.0f Hz)\n", report.worstDb, report.toneHz,
              report.productHz);
  EXPECT_LT(report.worstDb, -60.0) << "sine " << report.toneHz << " Hz, product at " << report.productHz << " Hz";
}

TEST_F(MixerTest, AProbeOfAPlainDecimatorFindsItsAliases) {
  // The probe itself must see aliasing where there is some: every other
  // frame of the sample, unfiltered, folds everything above 12 kHz back down.
  const AliasReport report = AliasProbe::measure([](const std::vector<float>& sample) {
    std::vector<float> left(AliasProbe::kOutputFrames);
    for (std::size_t i = 0; i < left.size(); ++i) {
      const double at = static_cast<double>(i) * AliasProbe::kPlayRate / AliasProbe::kOutputRate;
      left[i] = sample[static_cast<std::size_t>(at)];
    }
    return left;
  });
  EXPECT_GT(report.worstDb, -20.0);
}

TEST_F(MixerTest, AStereoSourceAtAFractionalRateKeepsEachChannelsPitch) {
  // 1000 Hz on the left and 1500 Hz on the right, at 44.1 kHz played at 66150 Hz.
  const auto left = sine(1000.0, 44100.0, 22050, 0.5);
  const auto right = sine(1500.0, 44100.0, 22050, 0.25);
  std::vector<float> frames;
  for (std::size_t i = 0; i < left.size(); ++i) {
    frames.push_back(left[i]);
    frames.push_back(right[i]);
  }
  auto buffer = makeBuffer(formatRecord(WAVE_FORMAT_IEEE_FLOAT, 2, 44100, 32), encode(frames, 32, true));
  ASSERT_EQ(buffer->setFrequency(66150), kOk);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  const auto out = render(10240);
  const Peak l = analyse(out.data() + 2 * 2048, 8192, 2, 48000.0);
  const Peak r = analyse(out.data() + 2 * 2048 + 1, 8192, 2, 48000.0);
  EXPECT_NEAR(l.frequency, 1500.0, 48000.0 / 8192);
  EXPECT_NEAR(r.frequency, 2250.0, 48000.0 / 8192);
  EXPECT_LT(l.strongestOtherDb, -60.0);  // nothing of the other channel either
  EXPECT_LT(r.strongestOtherDb, -60.0);
  EXPECT_NEAR(rms(out.data() + 2 * 2048, 8192, 2), 0.5 / std::sqrt(2.0), 0.005);
  EXPECT_NEAR(rms(out.data() + 2 * 2048 + 1, 8192, 2), 0.25 / std::sqrt(2.0), 0.003);
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
  const std::size_t expected =
      static_cast<std::size_t>(((std::uint64_t{3000} << 32) + step - 1) / step) + kLatency;
  EXPECT_EQ(peakAbs(out.data(), kLatency, 2), 0.0);
  EXPECT_NE(out[2 * kLatency], 0.0f);
  EXPECT_NE(out[2 * (expected - 1)], 0.0f);
  EXPECT_EQ(out[2 * expected], 0.0f);
  EXPECT_EQ(peakAbs(out.data() + 2 * expected, 10000 - expected, 2), 0.0);
}

}  // namespace
}  // namespace sound_test
