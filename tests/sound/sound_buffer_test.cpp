// The buffers' promises: refusals, play-once status, duplicates sharing data.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "tests/sound/sound_fixture.h"

namespace sound_test {
namespace {

TEST_F(MixerTest, DescriptionsThatCannotPlayAreRefusedAndCreateNothing) {
  const auto pcm16 = formatRecord(WAVE_FORMAT_PCM, 1, 22050, 16);
  auto badAlign = pcm16;
  reinterpret_cast<WaveFormatEx*>(badAlign.data())->blockAlign = 4;
  const auto twelveBit = formatRecord(WAVE_FORMAT_PCM, 1, 22050, 12);
  const auto threeChannels = formatRecord(WAVE_FORMAT_PCM, 3, 22050, 16);
  const auto adpcm = formatRecord(2, 1, 22050, 4);
  auto badSub = formatRecord(WAVE_FORMAT_EXTENSIBLE, 1, 22050, 16, 2);

  struct Case { const std::uint8_t* format; std::uint32_t bytes; HResult expected; };
  const Case cases[] = {{nullptr, 100, DSERR_INVALIDPARAM},          {pcm16.data(), 0, DSERR_INVALIDPARAM},
                        {pcm16.data(), DSBSIZE_MAX + 1, DSERR_INVALIDPARAM}, {pcm16.data(), 101, DSERR_INVALIDPARAM},
                        {badAlign.data(), 100, DSERR_BADFORMAT},     {twelveBit.data(), 100, DSERR_BADFORMAT},
                        {threeChannels.data(), 96, DSERR_BADFORMAT}, {adpcm.data(), 100, DSERR_BADFORMAT},
                        {badSub.data(), 100, DSERR_BADFORMAT}};
  for (const Case& c : cases) {
    SoundBufferDesc desc;
    desc.flags = kVoiceFlags;
    desc.bufferBytes = c.bytes;
    desc.format = reinterpret_cast<const WaveFormatEx*>(c.format);
    SoundBufferRef buffer;
    EXPECT_EQ(device.createSoundBuffer(desc, &buffer), c.expected) << c.bytes;
    EXPECT_FALSE(buffer);
  }
}

TEST_F(MixerTest, OutOfRangeValuesAreRefusedAndTheOldOneStays) {
  auto buffer = makeMono16(std::vector<float>(4800, 0.5f), 48000);
  ASSERT_EQ(buffer->setVolume(-600), kOk);
  EXPECT_EQ(buffer->setVolume(25), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->setVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->setPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->setFrequency(99), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->setFrequency(100001), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  const auto out = render(1000);
  // Still -600 and centred, still at its own rate: a steady 0.5 x 0.501.
  EXPECT_NEAR(out[1000], 0.5 * std::pow(10.0, -0.3), 0.002);
  EXPECT_NEAR(out[1001], 0.5 * std::pow(10.0, -0.3), 0.002);
}

// Playing from play (or a play for later) until its last frame or a stop;
// played once, it is back at the start for the next play.
TEST_F(MixerTest, StatusIsPlayingFromPlayUntilTheLastFrameOrAStop) {
  auto buffer = makeMono16(std::vector<float>(1000, 0.5f), 48000);
  const auto status = [&] {
    std::uint32_t value = 99;
    EXPECT_EQ(buffer->getStatus(&value), kOk);
    return value;
  };
  EXPECT_EQ(status(), 0u);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  render(999);
  EXPECT_EQ(status(), DSBSTATUS_PLAYING);
  render(1);
  EXPECT_EQ(status(), 0u);
  ASSERT_EQ(buffer->play(0, 0, 0), kOk);
  EXPECT_EQ(status(), DSBSTATUS_PLAYING);
  EXPECT_NEAR(render(500)[2 * 400], 0.5f, 0.002);
  ASSERT_EQ(buffer->stop(), kOk);
  EXPECT_EQ(status(), 0u);
  ASSERT_EQ(buffer->playAfter(20.0), kOk);
  EXPECT_EQ(status(), DSBSTATUS_PLAYING);
}

TEST_F(MixerTest, ADuplicatePlaysTheOriginalsDataWithItsOwnParameters) {
  auto original = makeMono16(std::vector<float>(4800, 0.5f), 48000);
  ASSERT_EQ(original->setVolume(-600), kOk);
  ASSERT_EQ(original->setPan(-10000), kOk);
  SoundBufferRef copy;
  ASSERT_EQ(device.duplicateSoundBuffer(original, &copy), kOk);

  // It starts with the original's parameters, stopped.
  std::uint32_t status = 99;
  ASSERT_EQ(copy->getStatus(&status), kOk);
  EXPECT_EQ(status, 0u);
  ASSERT_EQ(copy->play(0, 0, 0), kOk);
  auto out = render(500);
  EXPECT_NEAR(out[400], 0.5 * std::pow(10.0, -0.3), 0.002);
  EXPECT_EQ(out[401], 0.0f);

  // Its own parameters change only its own sound.
  ASSERT_EQ(copy->setPan(10000), kOk);
  ASSERT_EQ(copy->setVolume(0), kOk);
  out = render(500);
  EXPECT_EQ(out[400], 0.0f);
  EXPECT_NEAR(out[401], 0.5f, 0.002);
  ASSERT_EQ(original->play(0, 0, 0), kOk);
  out = render(500);
  EXPECT_NEAR(out[400], 0.5 * std::pow(10.0, -0.3), 0.002);
  EXPECT_NEAR(out[401], 0.5f, 0.002);
}

TEST_F(MixerTest, DataWrittenWhileADuplicatePlaysIsWhatItPlaysNext) {
  auto original = makeMono16(std::vector<float>(48000, 0.25f), 48000);
  SoundBufferRef copy;
  ASSERT_EQ(device.duplicateSoundBuffer(original, &copy), kOk);
  ASSERT_EQ(copy->play(0, 0, 0), kOk);
  auto out = render(1000);
  EXPECT_NEAR(out[1000], 0.25f, 0.002);
  fill(original, encode(std::vector<float>(48000, -0.5f), 16, false));
  out = render(1000);
  EXPECT_NEAR(out[1000], -0.5f, 0.002);
}

// Makes a 200 MB buffer with the address space limited to 96 MB above what
// is in use; 0 when the device answers with out-of-memory and no buffer.
[[maybe_unused]] int makeBufferBeyondTheMemoryLeft(SoundDevice& device, std::uint32_t flags) {
  long sizeKb = 0;
  std::FILE* status = std::fopen("/proc/self/status", "r");
  char line[256];
  while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr)
    if (std::sscanf(line, "VmSize: %ld kB", &sizeKb) == 1) break;
  if (status != nullptr) std::fclose(status);
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(sizeKb + 96 * 1024) * 1024;
  setrlimit(RLIMIT_AS, &limit);
  const auto format = formatRecord(WAVE_FORMAT_PCM, 2, 48000, 16);
  SoundBufferDesc desc;
  desc.flags = flags;
  desc.bufferBytes = 200u * 1024 * 1024;
  desc.format = reinterpret_cast<const WaveFormatEx*>(format.data());
  SoundBufferRef buffer;
  const HResult result = device.createSoundBuffer(desc, &buffer);
  return result == DSERR_OUTOFMEMORY && !buffer ? 0 : 1;
}

// A buffer larger than the memory left is refused with a code, never ends
// the program. Run in a child process under an address-space limit.
TEST_F(MixerTest, ABufferTooLargeForTheMemoryLeftIsRefusedWithOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than any limit allows";
#else
  EXPECT_EXIT(std::exit(makeBufferBeyondTheMemoryLeft(device, kVoiceFlags)), ::testing::ExitedWithCode(0), "");
#endif
}

TEST_F(MixerTest, DuplicatingThePrimaryBufferIsAnInvalidCall) {
  SoundBufferDesc desc;
  desc.flags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
  SoundBufferRef primary, copy;
  ASSERT_EQ(device.createSoundBuffer(desc, &primary), kOk);
  EXPECT_EQ(device.duplicateSoundBuffer(primary, &copy), DSERR_INVALIDCALL);
  EXPECT_EQ(device.duplicateSoundBuffer(nullptr, &copy), DSERR_INVALIDPARAM);
  EXPECT_FALSE(copy);
}

TEST_F(MixerTest, TheFrameCountFollowsEveryRenderMutedOrNot) {
  EXPECT_EQ(mixer->framesRendered(), 0u);
  render(512);
  mixer->setMuted(true);
  render(300);
  mixer->setMuted(false);
  render(1);
  EXPECT_EQ(mixer->framesRendered(), 813u);
}

TEST_F(MixerTest, TheAudioThreadCanMixWhileBuffersComeAndGo) {
  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<float> out(2 * 256);
    while (!done.load()) mixer->render(256, out.data());
  });
  for (int i = 0; i < 200; ++i) {
    auto buffer = makeMono16(std::vector<float>(2000, 0.1f), 48000);
    SoundBufferRef copy;
    ASSERT_EQ(device.duplicateSoundBuffer(buffer, &copy), kOk);
    copy->play(0, 0, 0);
    buffer->play(0, 0, 0);
    copy->setFrequency(100000);
    copy->setVolume(-300 * (i % 10));
    fill(buffer, encode(std::vector<float>(2000, -0.1f), 16, false));  // new data under both voices
    std::uint32_t status = 0;
    ASSERT_EQ(buffer->getStatus(&status), kOk);
    if (i % 3 == 0) buffer->stop();
  }
  done.store(true);
  audio.join();
}

}  // namespace
}  // namespace sound_test
