// When SDL cannot give us an output device the program runs on in silence:
// the device reports the failure, the track has nothing to play on, and no
// call crashes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/sdl/sdl_sound.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

class NoDeviceTest : public ::testing::Test {
 protected:
  void TearDown() override { SDL_Quit(); }

  // Everything the program would do with its sound after a failed start.
  static void expectSilentRun(platform::sdl::SdlSoundSystem& system) {
    tidewell::AudioDevice device(&system);
    EXPECT_NE(device.initialise(nullptr), platform::kOk);
    EXPECT_FALSE(device.soundDevice);
    EXPECT_FALSE(device.primaryBuffer);
    EXPECT_FALSE(device.listener);

    tidewell::Track track;
    EXPECT_NE(track.loadSample(&device, 3), platform::kOk);
    for (const auto& buffer : track.buffers) EXPECT_FALSE(buffer);
    EXPECT_EQ(track.play(0), -1);
    EXPECT_EQ(track.applyVolume(), 1);
    EXPECT_EQ(track.reloadSample(&device), platform::DSERR_NODRIVER);
    system.setFocused(false);
    system.setFocused(true);
    EXPECT_EQ(system.framesRendered(), 0u);
  }
};

TEST_F(NoDeviceTest, AnUnknownDriverFailsTheDeviceAndNothingElse) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_NE(SDL_Init(SDL_INIT_AUDIO), 0);
  platform::sdl::SdlSoundSystem system;
  platform::SoundDeviceRef created;
  EXPECT_EQ(system.directSoundCreate(&created), platform::DSERR_NODRIVER);
  EXPECT_FALSE(created);
  expectSilentRun(system);
}

TEST_F(NoDeviceTest, ADriverThatCannotOpenFailsEveryTimeItIsAsked) {
  // The disk driver starts, but its file cannot be created.
  const std::string missing = ::testing::TempDir() + "no_such_folder_" + std::to_string(getpid()) + "/out.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", missing.c_str(), 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  platform::sdl::SdlSoundSystem system;
  platform::SoundDeviceRef created;
  EXPECT_EQ(system.directSoundCreate(&created), platform::DSERR_NODRIVER);
  EXPECT_EQ(system.directSoundCreate(&created), platform::DSERR_NODRIVER);
  EXPECT_FALSE(created);
  EXPECT_EQ(system.directSoundCreate(nullptr), platform::DSERR_INVALIDPARAM);
  expectSilentRun(system);
}

}  // namespace
