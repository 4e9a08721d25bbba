#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_file_finder.h"
#include "platform/fake/fake_window_system.h"
#include "launcher/riff_wave_writer.h"
#include "platform/fake/recording_sound.h"
#include "tidewell/picture/display_objects.h"
#include "tidewell/sequencer/random.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/main_loop.h"
#include "tidewell/shell/shell_platform.h"
#include "tidewell/shell/startup.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;
using platform::fake::SoundCallKind;

// The whole main program over fakes, in a scratch working directory.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("startup_test_" + std::to_string(::getpid()));
    fs::create_directories(directory_ / "data");
    previous_ = fs::current_path();
    fs::current_path(directory_);
    std::ofstream("data/settings.txt") << "1,0,0,0,0,0,0,2,2,demo1,currently disabled,";
    fs::create_directories("demo1");
    writeClick("demo1/a.wav");
    writeClick("demo1/b.wav");
    files_.setFolder("demo1/", {"a.wav", "b.wav"});

    randomGenerator().reset();
    windowActive = 0;
    soundsReady = 0;
    showSequencerInfo = 1;
    showHelp = 0;
    showWavNames = 0;
    shellPlatform = {&windows_, &display_, &sound_, &clock_, &files_};
  }
  void TearDown() override {
    delete sequencer;
    sequencer = nullptr;
    mainWindow = nullptr;
    shellPlatform = ShellPlatform{};
    fs::current_path(previous_);
    fs::remove_all(directory_);
  }

  // A short 16-bit mono sample.
  static void writeClick(const char* name) {
    platform::WaveFormatEx format{platform::WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    std::int16_t samples[256];
    for (int i = 0; i < 256; ++i) samples[i] = static_cast<std::int16_t>((i % 32) * 500);
    launcher::RiffWaveWriter writer;
    ASSERT_EQ(writer.open(name, &format), platform::kOk);
    std::uint32_t written = 0;
    writer.write(sizeof samples, reinterpret_cast<const std::uint8_t*>(samples), &written);
  }

  std::string log() {
    std::ifstream in(kDebugLogPath);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  int framesPresented() { return display_.device ? display_.device->primary->presented : 0; }

  fs::path directory_;
  fs::path previous_;
  platform::FakeWindowSystem windows_;
  platform::FakeDisplaySystem display_;
  platform::fake::RecordingSoundSystem sound_;
  platform::fake::FakeClock clock_;
  platform::fake::FakeFileFinder files_;
};

TEST_F(StartupTest, NormalStartLogsFourLinesAndLoadsTheActiveTracks) {
  ASSERT_TRUE(initApplication(platform::SW_SHOWNORMAL));
  EXPECT_EQ(log(), "DEBUG LOG\nstarting up\ndemo1/\nloaded sounds up\n");
  EXPECT_EQ(soundsReady, 1);
  ASSERT_NE(sequencer, nullptr);
  EXPECT_EQ(sequencer->activeTrackCount, 3);
  EXPECT_STREQ(sequencer->tracks[0].sampleName, "demo1/a.wav");
  EXPECT_STREQ(sequencer->tracks[2].sampleName, "demo1/a.wav");
  // Three buffers per active track: one made from the sample, two duplicates.
  EXPECT_EQ(sound_.countCalls(SoundCallKind::kDuplicateSoundBuffer), 3 * 2);
  EXPECT_EQ(display_.device->modeWidth, 400);
  EXPECT_EQ(display_.device->modeHeight, 300);
}

TEST_F(StartupTest, SecondStartTruncatesTheLog) {
  std::ofstream(kDebugLogPath) << "an old run\nwith lines\n";
  ASSERT_TRUE(initApplication(platform::SW_SHOWNORMAL));
  EXPECT_EQ(log().rfind("DEBUG LOG\n", 0), 0u);
  EXPECT_EQ(log().find("an old run"), std::string::npos);
}

TEST_F(StartupTest, DisplayModeFailureIsShownAndNothingIsLogged) {
  display_.configure = [](platform::FakeDisplayDevice& device) {
    device.displayModeResult = platform::DDERR_INVALIDMODE;
  };
  EXPECT_FALSE(initApplication(platform::SW_SHOWNORMAL));
  ASSERT_EQ(windows_.messageBoxes.size(), 1u);
  EXPECT_EQ(windows_.messageBoxes[0], "Direct Draw Swirlgate Example: SetDisplayMode FAILED");
  EXPECT_EQ(windows_.destroyed.size(), 1u);
  EXPECT_FALSE(fs::exists(kDebugLogPath));
  EXPECT_EQ(sequencer, nullptr);
  EXPECT_EQ(directDraw, nullptr);  // released with everything made before the failure
}

TEST_F(StartupTest, WindowThatCannotBeMadeEndsQuietly) {
  windows_.failCreation = true;
  EXPECT_EQ(winMain(platform::SW_SHOWNORMAL), 0);
  EXPECT_TRUE(windows_.messageBoxes.empty());
  EXPECT_FALSE(fs::exists(kDebugLogPath));
}

TEST_F(StartupTest, FramesRunWhileActiveAndEscapeEndsWithZero) {
  int idle = 0;
  windows_.onIdle = [&] {
    ++idle;
    clock_.advance(16);
    if (idle == 30) windows_.deliver(mainWindow, platform::WM_KEYDOWN, platform::VK_ESCAPE);
  };
  EXPECT_EQ(winMain(platform::SW_SHOWNORMAL), 0);
  // One frame before the loop, then one per idle pass while active.
  EXPECT_GE(framesPresented(), 30);
  EXPECT_GT(sound_.countCalls(SoundCallKind::kPlay), 0);
  EXPECT_EQ(windows_.destroyed.size(), 1u);
}

TEST_F(StartupTest, InactiveWindowWaitsAndRunsNoFrames) {
  int idle = 0;
  int framesWhenDeactivated = 0;
  windows_.onIdle = [&] {
    ++idle;
    clock_.advance(16);
    if (idle == 5) windows_.deliver(mainWindow, platform::WM_ACTIVATE, platform::WA_INACTIVE);
    if (idle == 6) framesWhenDeactivated = framesPresented();
    if (idle == 20) windows_.deliver(mainWindow, platform::WM_KEYDOWN, platform::VK_ESCAPE);
  };
  EXPECT_EQ(winMain(platform::SW_SHOWNORMAL), 0);
  EXPECT_GE(windows_.waits, 5);  // every idle pass blocked instead of rendering
  EXPECT_EQ(framesPresented(), framesWhenDeactivated);
}

}  // namespace
}  // namespace tidewell
