// The whole output path through SDL's disk driver: a Track's hit leaves the
// mixer, passes SDL's audio thread and lands in a raw file at the level and
// pitch asked for. No sound card is needed.
#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "platform/sdl/sdl_sound.h"
#include "platform/sound/software_sound.h"
#include "tests/sound/signal_analysis.h"
#include "tests/sound_sdl/disk_output.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

using namespace sound_sdl_test;
using Clock = std::chrono::steady_clock;

constexpr double kOutputRate = 48000.0;
constexpr std::size_t kBlock = platform::sdl::SdlSoundSystem::kFramesPerCallback;
// What is mixed leaves 47 frames (just under 1 ms) later: the limiter's look-ahead.
constexpr std::size_t kLatency = 47;

// A 1000 Hz sine at 44.1 kHz, half a second at half of full scale.
constexpr double kToneHz = 1000.0;
constexpr double kSampleRate = 44100.0;
constexpr std::size_t kSampleFrames = 22050;
constexpr double kToneAmplitude = 0.5;

template <typename Done>
bool waitUntil(Done done, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

class DiskSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sound_test::writeWave(
        wavePath, sound_test::pcmFormat(1, static_cast<std::uint32_t>(kSampleRate), 16),
        sound_test::encode(sound_test::sine(kToneHz, kSampleRate, kSampleFrames, kToneAmplitude), 16, false)));
  }
  void TearDown() override {
    track.reset();
    system.reset();
    SDL_Quit();
  }

  // Opens the device on the disk driver and loads the tone into a track.
  void openTrack(int millisecondsPerBuffer) {
    ASSERT_TRUE(startDiskAudio(rawPath, millisecondsPerBuffer)) << SDL_GetError();
    system = std::make_unique<platform::sdl::SdlSoundSystem>();
    device = std::make_unique<tidewell::AudioDevice>(system.get());
    ASSERT_EQ(device->initialise(nullptr), platform::kOk);
    track = std::make_unique<tidewell::Track>();
    std::snprintf(track->sampleName, sizeof track->sampleName, "%s", wavePath.c_str());
    ASSERT_EQ(track->loadSample(device.get(), 3), platform::kOk);
  }

  void setVoice(std::int32_t volume, std::int32_t frequency, std::int32_t pan) {
    track->volume = volume;
    track->frequency = frequency;
    track->pan = pan;
    ASSERT_EQ(track->applyVolume(), 1);
    ASSERT_EQ(track->applyFrequency(), 1);
    ASSERT_EQ(track->applyPan(), 1);
  }

  bool anyPlaying() const {
    for (const auto& buffer : track->buffers) {
      std::uint32_t status = 0;
      if (buffer && buffer->getStatus(&status) == platform::kOk && (status & platform::DSBSTATUS_PLAYING))
        return true;
    }
    return false;
  }

  // Lets the device run until every hit is over and a few silent blocks follow.
  void playOut() {
    ASSERT_TRUE(waitUntil([&] { return !anyPlaying(); }, std::chrono::seconds(20)));
    const std::uint64_t after = system->framesRendered() + 4 * kBlock;
    ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= after; }, std::chrono::seconds(5)));
  }

  // Closing the device closes SDL's file; only then is it complete. SDL
  // writes silence of its own until the device is unpaused, so the file may
  // begin with blocks the mixer never rendered: they are cut off, and frame i
  // of what is returned is the mixer's frame i.
  std::vector<float> closeAndRead() {
    system.reset();
    auto& software = dynamic_cast<platform::sound::SoftwareSoundDevice&>(*device->soundDevice);
    const std::uint64_t rendered = software.mixer().framesRendered();
    auto out = readRawFloats(rawPath);
    const std::size_t written = out.size() / 2;
    EXPECT_GE(written, rendered) << "every rendered block reaches the file";
    if (written < rendered) return {};
    const std::size_t unrendered = written - static_cast<std::size_t>(rendered);
    EXPECT_EQ(soundingExtent(std::vector<float>(out.begin(), out.begin() + 2 * unrendered)).end, 0u);
    out.erase(out.begin(), out.begin() + 2 * unrendered);
    return out;
  }

  testing_support::ScratchFolder folder;
  const std::string rawPath = folder.file("out.raw"), wavePath = folder.file("tone.wav");
  std::unique_ptr<platform::sdl::SdlSoundSystem> system;
  std::unique_ptr<tidewell::AudioDevice> device;
  std::unique_ptr<tidewell::Track> track;
};

TEST_F(DiskSoundTest, AHitArrivesAtTheVolumesGainAndTheFrequencysPitch) {
  openTrack(2);
  // 66150 Hz is 1.5 times the sample's rate: the tone comes out at 1500 Hz,
  // through the widened kernel, and lasts 22050 / 66150 s = 16000 frames.
  const std::int32_t volume = -600;
  const std::int32_t frequency = 66150;
  setVoice(volume, frequency, 0);
  ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= 4 * kBlock; }, std::chrono::seconds(5)));

  const std::uint64_t renderedBeforePlay = system->framesRendered();
  ASSERT_EQ(track->play(0), platform::kOk);
  const std::uint64_t renderedAfterPlay = system->framesRendered();
  playOut();
  const auto out = closeAndRead();

  const Extent hit = soundingExtent(out);
  ASSERT_GT(hit.end, hit.first) << "nothing sounded in " << out.size() / 2 << " frames";
  // Nothing before play(), and the hit is mixed into the first block rendered
  // once play() has returned: it leaves at the latest where that block
  // begins, plus the limiter's look-ahead.
  EXPECT_GE(hit.first, renderedBeforePlay + kLatency);
  EXPECT_LE(hit.first, renderedAfterPlay + kLatency);
  const double expectedFrames = kSampleFrames * kOutputRate / frequency;
  EXPECT_NEAR(static_cast<double>(hit.end - hit.first), expectedFrames, 64.0);

  const double gain = std::pow(10.0, volume / 2000.0);
  const double expectedHz = kToneHz * frequency / kSampleRate;
  const float* middle = out.data() + 2 * (hit.first + 2000);
  const std::size_t span = 12000;
  for (int channel = 0; channel < 2; ++channel) {
    const double amplitude = std::sqrt(2.0) * sound_test::rms(middle + channel, span, 2);
    EXPECT_NEAR(amplitude, kToneAmplitude * gain, 0.005 * kToneAmplitude * gain) << "channel " << channel;
    EXPECT_NEAR(zeroCrossingFrequency(middle, span, channel, kOutputRate), expectedHz, 0.5) << "channel " << channel;
  }
}

TEST_F(DiskSoundTest, WithoutFocusTheHitRunsItsCourseInSilence) {
  openTrack(2);
  setVoice(0, 88200, 0);
  system->setFocused(false);
  // The output fades out over a few milliseconds rather than jumping; 20 ms on it is silent.
  const std::uint64_t faded = system->framesRendered() + 960;
  ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= faded; }, std::chrono::seconds(5)));
  ASSERT_EQ(track->play(0), platform::kOk);
  playOut();  // the hit still ends: a muted voice keeps moving
  system->setFocused(true);
  const std::uint64_t heardFrom = system->framesRendered();
  ASSERT_EQ(track->play(0), platform::kOk);
  playOut();
  const auto out = closeAndRead();
  const Extent hit = soundingExtent(out);
  ASSERT_GT(hit.end, hit.first);
  EXPECT_GE(hit.first, heardFrom);
}

// Pulled-out headphones: SDL reports the device removed. The output is
// opened again within a second and the hit plays on from where it was;
// while no output can be opened the mixer runs on in silence.
TEST_F(DiskSoundTest, AnOutputThatGoesAwayIsOpenedAgainAndTheHitPlaysOn) {
  openTrack(10);
  setVoice(0, 11025, 0);  // a quarter of the sample's rate: 2 s of a 250 Hz tone
  ASSERT_EQ(track->play(0), platform::kOk);
  const std::uint64_t started = system->framesRendered();
  ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= started + 14400; }, std::chrono::seconds(5)));

  const auto removeOutput = [&] {
    SDL_Event removed{};
    removed.type = SDL_AUDIODEVICEREMOVED;
    removed.adevice.which = system->outputDevice();
    removed.adevice.iscapture = 0;
    SDL_PushEvent(&removed);
  };
  // First with nowhere to open the output again: the mixer runs on silently.
  const std::string nowhere = folder.file("no_such_folder/out.raw");
  setenv("SDL_DISKAUDIOFILE", nowhere.c_str(), 1);
  removeOutput();
  ASSERT_TRUE(waitUntil([&] { return !system->outputOpen(); }, std::chrono::seconds(10)));
  const std::uint64_t silentFrom = system->framesRendered();
  ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= silentFrom + 4800; }, std::chrono::seconds(10)))
      << "the voices move on without an output";
  EXPECT_TRUE(anyPlaying());

  setenv("SDL_DISKAUDIOFILE", rawPath.c_str(), 1);
  // Within a second; the wait goes on longer so that a late reopening is measured.
  const auto retried = Clock::now();
  ASSERT_TRUE(waitUntil([&] { return system->outputOpen(); }, std::chrono::seconds(10)));
  EXPECT_LT(Clock::now() - retried, std::chrono::seconds(1));
  EXPECT_EQ(system->reopenCount(), 1);
  const std::uint64_t reopenedAt = system->framesRendered();
  ASSERT_TRUE(anyPlaying()) << "the hit was not lost with the output";
  playOut();
  system.reset();

  // The new output (SDL starts its file afresh) carries the rest of the hit:
  // the same tone, ending when the whole hit would have ended.
  const auto out = readRawFloats(rawPath);
  const Extent rest = soundingExtent(out);
  ASSERT_GT(rest.end, rest.first + 4800);
  EXPECT_NEAR(zeroCrossingFrequency(out.data() + 2 * rest.first, rest.end - rest.first, 0, kOutputRate), 250.0, 1.0);
  const double heardBefore = static_cast<double>(reopenedAt - started);
  EXPECT_NEAR(static_cast<double>(rest.end - rest.first), 96000.0 - heardBefore, 4096.0);
}

// At the driver's own real-time pace, a hit starts in the first block
// rendered after play() (plus the limiter's look-ahead), wherever in a block
// it lands.
TEST_F(DiskSoundTest, AHitStartsInTheFirstBlockRenderedAfterPlay) {
  openTrack(static_cast<int>(1000 * kBlock / kOutputRate));
  setVoice(0, 100000, 0);  // short hits: 10584 frames each
  ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= 4 * kBlock; }, std::chrono::seconds(5)));

  constexpr int kHits = 12;
  std::vector<std::uint64_t> playedAt;
  std::vector<std::uint64_t> playedBy;  // frames rendered while play() ran
  for (int i = 0; i < kHits; ++i) {
    // Not a wait for anything: it lands each play at another point of a block.
    std::this_thread::sleep_for(std::chrono::microseconds(1700 * (i % 7)));
    const std::uint64_t before = system->framesRendered();
    ASSERT_EQ(track->play(0), platform::kOk);
    playedBy.push_back(system->framesRendered() - before);
    playedAt.push_back(before);
    playOut();
  }
  const auto out = closeAndRead();
  for (std::size_t i = 0; i < playedAt.size(); ++i) {
    const Extent hit = soundingExtent(out, playedAt[i]);
    ASSERT_GT(hit.end, hit.first) << "hit " << i;
    EXPECT_LE(hit.first - playedAt[i], playedBy[i] + kLatency) << "hit " << i;
  }
}

// A hit asked for "now" just after a callback is due where the limiter no
// longer holds the frames: it starts on the frame the clock named, never
// late. The sound thread runs under real-time scheduling exactly where the
// machine allows a thread to.
TEST_F(DiskSoundTest, AHitForNowJustAfterACallbackStartsOnItsFrame) {
  openTrack(static_cast<int>(1000 * kBlock / kOutputRate));
  setVoice(0, 100000, 0);
  ASSERT_TRUE(waitUntil([&] { return system->framesRendered() >= 8 * kBlock; }, std::chrono::seconds(5)));
  auto& mixer = system->mixer();

  constexpr int kHits = 8;
  // The clock read just before and just after the play: the play's own
  // reading, where the hit starts, lies between them.
  std::vector<std::uint64_t> dueFrom, dueBy;
  for (int i = 0; i < kHits; ++i) {
    const std::uint64_t before = system->framesRendered();
    ASSERT_TRUE(waitUntil([&] { return system->framesRendered() != before; }, std::chrono::seconds(2)));
    dueFrom.push_back(mixer.frameNow());
    ASSERT_EQ(track->playAfter(0.0), platform::kOk);
    dueBy.push_back(mixer.frameNow());
    playOut();
  }
  EXPECT_EQ(mixer.lateStarts(), 0u);
  bool allowed = false;
  std::thread([&] {
    sched_param param{};
    param.sched_priority = 1;
    allowed = sched_setscheduler(0, SCHED_FIFO, &param) == 0;
  }).join();
  EXPECT_EQ(system->realTime(), allowed);

  const auto out = closeAndRead();
  for (std::size_t i = 0; i < dueFrom.size(); ++i) {
    const Extent hit = soundingExtent(out, dueFrom[i] - 2 * kBlock);
    ASSERT_GT(hit.end, hit.first) << "hit " << i;
    // The tone starts at a zero crossing, so its first sounding frame may be the next.
    EXPECT_GE(hit.first, dueFrom[i]) << "hit " << i;
    EXPECT_LE(hit.first, dueBy[i] + 1) << "hit " << i;
  }
}

}  // namespace
