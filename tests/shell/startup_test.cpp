#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_file_finder.h"
#include "platform/fake/fake_window_system.h"
#include "launcher/riff_wave_writer.h"
#include "platform/fake/recording_sound.h"
#include "tests/support/scratch_folder.h"
#include "tidewell/common/random.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/main_program.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;
using platform::fake::SoundCallKind;

// The whole main program over fakes, in a scratch working directory.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream("data/settings.txt") << "1,0,0,0,0,0,0,2,2,demo1,currently disabled,";
    fs::create_directories("demo1");
    writeClick("demo1/a.wav");
    writeClick("demo1/b.wav");
    files_.setFolder("demo1/", {"a.wav", "b.wav"});

    randomGenerator().reset();
    program_ = std::make_unique<MainProgram>(ShellPlatform{&windows_, &display_, &sound_, &clock_, &files_});
  }
  void TearDown() override { program_.reset(); }

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

  std::string log() { return testing_support::readText("data/debug.txt"); }

  int framesPresented() { return display_.device ? display_.device->primary->presented : 0; }

  testing_support::ScratchFolder dir_{testing_support::kWorkInside, {"data"}};
  platform::FakeWindowSystem windows_;
  platform::FakeDisplaySystem display_;
  platform::fake::RecordingSoundSystem sound_;
  platform::fake::FakeClock clock_;
  platform::fake::FakeFileFinder files_;
  std::unique_ptr<MainProgram> program_;  // a fresh program for every test
};

// A start replaces the log of an earlier run with its own four lines.
TEST_F(StartupTest, NormalStartLogsFourLinesAndLoadsTheActiveTracks) {
  std::ofstream("data/debug.txt") << "an old run\nwith lines\n";
  ASSERT_TRUE(program_->initApplication(platform::SW_SHOWNORMAL));
  EXPECT_EQ(log(), "DEBUG LOG\nstarting up\ndemo1/\nloaded sounds up\n");
  EXPECT_EQ(program_->soundsReady, 1);
  ASSERT_NE(program_->sequencer(), nullptr);
  EXPECT_EQ(program_->sequencer()->activeTrackCount, 3);
  EXPECT_STREQ(program_->sequencer()->tracks[0].sampleName, "demo1/a.wav");
  EXPECT_STREQ(program_->sequencer()->tracks[2].sampleName, "demo1/a.wav");
  // Three buffers per active track: one made from the sample, two duplicates.
  EXPECT_EQ(sound_.countCalls(SoundCallKind::kDuplicateSoundBuffer), 3 * 2);
}

TEST_F(StartupTest, DisplayModeFailureIsShownAndNothingIsLogged) {
  display_.configure = [](platform::FakeDisplayDevice& device) {
    device.displayModeResult = platform::DDERR_INVALIDMODE;
  };
  EXPECT_FALSE(program_->initApplication(platform::SW_SHOWNORMAL));
  ASSERT_EQ(windows_.messageBoxes.size(), 1u);
  EXPECT_EQ(windows_.messageBoxes[0], "Direct Draw Swirlgate Example: SetDisplayMode FAILED");
  EXPECT_EQ(windows_.destroyed.size(), 1u);
  EXPECT_FALSE(fs::exists("data/debug.txt"));
  EXPECT_EQ(program_->sequencer(), nullptr);
  EXPECT_EQ(program_->picture->directDraw, nullptr);  // released with everything made before the failure
}

TEST_F(StartupTest, WindowThatCannotBeMadeEndsWithAFailureCode) {
  windows_.failCreation = true;
  EXPECT_NE(program_->winMain(platform::SW_SHOWNORMAL), 0);
  EXPECT_TRUE(windows_.messageBoxes.empty());
  EXPECT_FALSE(fs::exists("data/debug.txt"));
}

// Frames run while the window is active (one before the loop, then one per
// idle pass); an inactive window blocks in the wait and runs none; Escape
// ends with 0.
TEST_F(StartupTest, FramesRunWhileActiveAndEscapeEndsWithZero) {
  int idle = 0;
  int framesWhenDeactivated = 0;
  windows_.onIdle = [&] {
    ++idle;
    clock_.advance(16);
    if (idle == 30) windows_.deliver(program_->mainWindow, platform::WM_ACTIVATE, platform::WA_INACTIVE);
    if (idle == 31) framesWhenDeactivated = framesPresented();
    if (idle == 45) windows_.deliver(program_->mainWindow, platform::WM_KEYDOWN, platform::VK_ESCAPE);
  };
  EXPECT_EQ(program_->winMain(platform::SW_SHOWNORMAL), 0);
  EXPECT_GE(framesWhenDeactivated, 30);
  EXPECT_GT(sound_.countCalls(SoundCallKind::kPlay), 0);
  EXPECT_GE(windows_.waits, 5);  // idle passes blocked instead of rendering
  EXPECT_EQ(framesPresented(), framesWhenDeactivated);
  EXPECT_EQ(windows_.destroyed.size(), 1u);
}

// What a frame does, as the fakes see it: each step leaves a mark in a shared
// log with the number of draws taken from the generator so far.
struct FrameEvent {
  std::string what;
  int draws;
};

// Draws counted by replaying the generator from the start of the run.
int drawsSinceStart() {
  RandomGenerator replay;
  const RandomGenerator now = randomGenerator();
  for (int n = 0; n < 1000000; ++n) {
    RandomGenerator a = replay, b = now;
    if (a.next() == b.next() && a.next() == b.next() && a.next() == b.next()) return n;
    replay.next();
  }
  return -1;
}

class FrameLog {
 public:
  void mark(const std::string& what) { events.push_back({what, drawsSinceStart()}); }
  std::vector<FrameEvent> events;
};

class LoggingClock : public platform::fake::FakeClock {
 public:
  explicit LoggingClock(FrameLog& log) : log_(log) {}
  double preciseTime() override {
    log_.mark("tick");
    return FakeClock::preciseTime();
  }

 private:
  FrameLog& log_;
};

// Every surface of the logging device: its locks, its draws and, for the
// primary one, its presents leave their marks.
class LoggingSurface : public platform::FakePrimarySurface {
 public:
  LoggingSurface(std::string name, int width, int height, FrameLog& frames)
      : FakePrimarySurface(width, height, std::make_shared<platform::FakeDisplayLog>()),
        label_(std::move(name)), frames_(frames) {}
  platform::HResult lock(std::uint32_t flags, platform::SurfaceLock* out) override {
    frames_.mark("lock " + label_);
    return FakeSurface::lock(flags, out);
  }
  platform::HResult bltFast(int x, int y, platform::DisplaySurface* source, const platform::Rect* sourceRect,
                            std::uint32_t flags) override {
    frames_.mark("draw on " + label_);
    return FakeSurface::bltFast(x, y, source, sourceRect, flags);
  }
  platform::HResult blt(const platform::Rect* dest, platform::DisplaySurface* source, const platform::Rect* sourceRect,
                        std::uint32_t flags) override {
    frames_.mark("present");
    return FakePrimarySurface::blt(dest, source, sourceRect, flags);
  }

 private:
  std::string label_;
  FrameLog& frames_;
};

class LoggingPalette : public platform::FakePalette {
 public:
  LoggingPalette(const platform::PaletteEntry* entries, FrameLog& frames)
      : FakePalette(entries, std::make_shared<platform::FakeDisplayLog>()), frames_(frames) {}
  platform::HResult setEntries(std::uint32_t flags, int first, int count,
                               const platform::PaletteEntry* entries) override {
    frames_.mark("palette");
    return FakePalette::setEntries(flags, first, count, entries);
  }

 private:
  FrameLog& frames_;
};

class LoggingDevice : public platform::FakeDisplayDevice {
 public:
  explicit LoggingDevice(FrameLog& frames)
      : FakeDisplayDevice(std::make_shared<platform::FakeDisplayLog>()), frames_(frames) {}
  platform::HResult createSurface(const platform::SurfaceDesc& desc, platform::DisplaySurfaceRef* out) override {
    if (desc.kind == platform::SurfaceKind::primary) {
      primary = std::make_shared<LoggingSurface>("primary", modeWidth, modeHeight, frames_);
      *out = primary;
    } else {
      auto surface = std::make_shared<LoggingSurface>(offscreen.empty() ? "back" : "font", desc.width,
                                                      desc.height, frames_);
      offscreen.push_back(surface);
      *out = surface;
    }
    return platform::kOk;
  }
  platform::HResult createPalette(std::uint32_t, const platform::PaletteEntry* entries,
                                  platform::DisplayPaletteRef* out) override {
    *out = std::make_shared<LoggingPalette>(entries, frames_);
    return platform::kOk;
  }

 private:
  FrameLog& frames_;
};

class LoggingDisplay : public platform::DisplaySystem {
 public:
  explicit LoggingDisplay(FrameLog& frames) : frames_(frames) {}
  platform::HResult createDisplayDevice(platform::DisplayDeviceRef* out) override {
    *out = std::make_shared<LoggingDevice>(frames_);
    return platform::kOk;
  }

 private:
  FrameLog& frames_;
};

TEST_F(StartupTest, AFrameTicksDrawsRollsFadesOverlaysAndPresentsInThatOrder) {
  FrameLog frames;
  LoggingClock clock(frames);
  LoggingDisplay display(frames);
  program_->shellPlatform.clock = &clock;
  program_->shellPlatform.display = &display;
  int idle = 0;
  windows_.onIdle = [&] {
    if (++idle == 1) {
      frames.events.clear();  // from here on, frames only
      program_->sequencer()->paletteChangeChance = 1000;  // every frame rolls a new palette
    }
    clock.advance(16);
    if (idle == 40) windows_.deliver(program_->mainWindow, platform::WM_KEYDOWN, platform::VK_ESCAPE);
  };
  ASSERT_EQ(program_->winMain(platform::SW_SHOWNORMAL), 0);

  // Frames one by one, each up to its present.
  int checked = 0;
  std::vector<FrameEvent> frame;
  for (const auto& event : frames.events) {
    frame.push_back(event);
    if (event.what != "present") continue;
    std::vector<std::string> steps;
    std::map<std::string, int> drawsAt;  // draws taken when each step first showed
    for (const auto& e : frame) {
      if (steps.empty() || steps.back() != e.what) steps.push_back(e.what);
      drawsAt.emplace(e.what, e.draws);
    }
    frame.clear();
    // The overlay's info line is on by default: its symbols are drawn on the
    // back buffer after the picture and the fade, before the present. (A beat
    // reads the clock again for its hits, within the tick.)
    EXPECT_EQ(steps, (std::vector<std::string>{"tick", "lock back", "palette", "draw on back", "present"}));
    // The tick draws first (two rolls, more on a beat); then the palette
    // roll and its new palette (one draw and four) fall between the picture
    // and the fade; nothing after draws.
    EXPECT_GE(drawsAt["lock back"] - drawsAt["tick"], 2);
    EXPECT_EQ(drawsAt["palette"] - drawsAt["lock back"], 1 + 4);
    EXPECT_EQ(drawsAt["present"], drawsAt["palette"]);
    ++checked;
  }
  EXPECT_GE(checked, 30);
}

}  // namespace
}  // namespace tidewell
