#include <gtest/gtest.h>

#include "platform/fake/fake_display.h"
#include "platform/fake/fake_window_system.h"
#include "tidewell/common/random.h"
#include "tidewell/shell/main_program.h"

namespace tidewell {
namespace {

using platform::WM_KEYDOWN;

class WindowProcedureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    randomGenerator().reset();
    program_ = std::make_unique<MainProgram>(ShellPlatform{&windows_});
    platform::WindowClass windowClass;
    windowClass.className = "test";
    windowClass.procedure = MainProgram::mainWindowProc;
    windows_.registerClass(windowClass);
    window_ = windows_.createWindow("test", "t", 0, 0, 10, 10);
    // An engine without sound, files or settings: every value at its start.
    program_->engine = std::make_unique<Engine>(*program_->picture, window_, SequencerServices{}, "", nullptr);
    sequencer = program_->sequencer();
  }

  void press(std::uint32_t key, int times = 1) {
    for (int i = 0; i < times; ++i) MainProgram::mainWindowProc(window_, WM_KEYDOWN, key, 0);
  }

  platform::FakeWindowSystem windows_;
  platform::WindowHandle window_ = nullptr;
  std::unique_ptr<MainProgram> program_;  // a fresh program for every test
  Sequencer* sequencer = nullptr;
};

// F2 steps the behaviour round 1, 2, 3; F3 the time signature round 4 to 8.
// Values the settings or a mutation can leave outside a cycle step into it.
TEST_F(WindowProcedureTest, F2AndF3StepRoundTheirCycles) {
  const struct {
    std::uint32_t key;
    int Sequencer::*field;
    int before, after;
  } steps[] = {
      {platform::VK_F2, &Sequencer::behaviour, 3, 1}, {platform::VK_F2, &Sequencer::behaviour, 1, 2},
      {platform::VK_F2, &Sequencer::behaviour, 2, 3}, {platform::VK_F2, &Sequencer::behaviour, 5, 1},
      {platform::VK_F3, &Sequencer::beatsPerBar, 8, 4}, {platform::VK_F3, &Sequencer::beatsPerBar, 4, 5},
      {platform::VK_F3, &Sequencer::beatsPerBar, 1, 2}, {platform::VK_F3, &Sequencer::beatsPerBar, 2, 3},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.key) + " from " + std::to_string(step.before));
    sequencer->*step.field = step.before;
    press(step.key);
    EXPECT_EQ(sequencer->*step.field, step.after);
  }
}

TEST_F(WindowProcedureTest, TempoKeysStepByOneAndClampWithTheInterval) {
  sequencer->setTempo(11.0f);
  press(platform::VK_F7, 5);
  EXPECT_FLOAT_EQ(sequencer->tempo, 10.0f);
  EXPECT_FLOAT_EQ(sequencer->beatInterval, 6000.0f);

  sequencer->setTempo(1999.0f);
  press(platform::VK_F8, 5);
  EXPECT_FLOAT_EQ(sequencer->tempo, 2000.0f);
  EXPECT_FLOAT_EQ(sequencer->beatInterval, 30.0f);

  sequencer->setTempo(900.0f);
  sequencer->beatIndex = 3;
  sequencer->beatElapsed = 40;
  press(platform::VK_F8);
  EXPECT_FLOAT_EQ(sequencer->tempo, 901.0f);
  EXPECT_NEAR(sequencer->beatInterval, 60000.0f / 901.0f, 1e-3f);  // a beat every 60000 / tempo ms
  EXPECT_EQ(sequencer->beatIndex, 3);  // the clock is not reset
  EXPECT_EQ(sequencer->beatElapsed, 40.0);
}

TEST_F(WindowProcedureTest, TogglesAndKeysWithoutCommands) {
  press(platform::VK_F1);
  press(platform::VK_F6);
  press(platform::VK_F9);
  EXPECT_EQ(program_->showHelp, 1);
  EXPECT_EQ(program_->showWavNames, 1);
  EXPECT_EQ(program_->showSequencerInfo, 0);
  program_->showHelp = 7;  // anything non-zero toggles to 0
  press(platform::VK_F1);
  EXPECT_EQ(program_->showHelp, 0);

  const int behaviour = sequencer->behaviour;
  const int beats = sequencer->beatsPerBar;
  const float tempo = sequencer->tempo;
  press(platform::VK_F4);
  press('A');
  press(platform::VK_F10);
  EXPECT_EQ(sequencer->behaviour, behaviour);
  EXPECT_EQ(sequencer->beatsPerBar, beats);
  EXPECT_EQ(sequencer->tempo, tempo);
  EXPECT_TRUE(windows_.pending().empty());
}

TEST_F(WindowProcedureTest, F5DrawsANewTargetPaletteAtOnce) {
  RandomGenerator expected = randomGenerator();
  press(platform::VK_F5);
  for (int i = 0; i < 4; ++i) expected.next();
  EXPECT_EQ(randomGenerator().next(), expected.next());  // exactly four draws were taken
}

TEST_F(WindowProcedureTest, EscapeAndF12CloseTheWindowAndQuitWithZero) {
  for (std::uint32_t key : {platform::VK_ESCAPE, platform::VK_F12}) {
    windows_.pending().clear();
    press(key);
    ASSERT_EQ(windows_.pending().size(), 1u);
    EXPECT_EQ(windows_.pending().front().message, platform::WM_CLOSE);
  }
  platform::Message close = windows_.pending().front();
  windows_.pending().clear();
  windows_.dispatchMessage(close);
  ASSERT_EQ(windows_.destroyed.size(), 1u);
  ASSERT_EQ(windows_.pending().size(), 1u);
  EXPECT_EQ(windows_.pending().front().message, platform::WM_QUIT);
  EXPECT_EQ(windows_.pending().front().wParam, 0u);
}

// The activation word as it arrives, and what it leaves: whether frames run
// and whether the window counts as minimised.
struct ActivationCase {
  platform::WParam word;
  int active;
  int minimised;
};

class Activation : public WindowProcedureTest, public ::testing::WithParamInterface<ActivationCase> {};

TEST_P(Activation, MinimisedCountsAsInactive) {
  const ActivationCase c = GetParam();
  program_->windowActive = 7;
  program_->windowMinimised = 7;
  MainProgram::mainWindowProc(window_, platform::WM_ACTIVATE, c.word, 0);
  EXPECT_EQ(program_->windowActive, c.active);
  EXPECT_EQ(program_->windowMinimised, c.minimised);
}

INSTANTIATE_TEST_SUITE_P(
    Words, Activation,
    ::testing::Values(ActivationCase{platform::WA_INACTIVE, 0, 0}, ActivationCase{platform::WA_ACTIVE, 1, 0},
                      ActivationCase{2, 2, 0},  // activated by a click
                      ActivationCase{platform::WA_INACTIVE | platform::kMinimisedFlag, 0, 1},
                      ActivationCase{platform::WA_ACTIVE | platform::kMinimisedFlag, 0, 1}));

TEST_F(WindowProcedureTest, TheCursorIsHiddenAndPresentsOnlyWhileNoFramesRun) {
  platform::FakeDisplaySystem display;
  platform::DisplayDeviceRef device;
  ASSERT_EQ(display.createDisplayDevice(&device), platform::kOk);
  platform::DisplaySurfaceRef primary, back;
  ASSERT_EQ(device->createSurface({platform::SurfaceKind::primary, 0, 0}, &primary), platform::kOk);
  ASSERT_EQ(device->createSurface({platform::SurfaceKind::offscreenPlain, 400, 300}, &back), platform::kOk);
  program_->picture->directDraw = device;
  program_->picture->primarySurface = primary;
  program_->picture->backBuffer = back;
  const auto presents = [&] { return display.device->primary->presented; };

  MainProgram::mainWindowProc(window_, platform::WM_SETCURSOR, 0, 0);  // before the sounds are ready
  EXPECT_EQ(windows_.cursorHides, 1);
  EXPECT_EQ(presents(), 0);
  program_->soundsReady = 1;
  MainProgram::mainWindowProc(window_, platform::WM_ACTIVATE, platform::WA_INACTIVE, 0);
  MainProgram::mainWindowProc(window_, platform::WM_SETCURSOR, 0, 0);  // behind another window
  EXPECT_EQ(presents(), 1);
  MainProgram::mainWindowProc(window_, platform::WM_ACTIVATE, platform::WA_INACTIVE | platform::kMinimisedFlag, 0);
  MainProgram::mainWindowProc(window_, platform::WM_SETCURSOR, 0, 0);  // minimised: nothing shows
  EXPECT_EQ(presents(), 1);
  MainProgram::mainWindowProc(window_, platform::WM_ACTIVATE, platform::WA_ACTIVE, 0);
  MainProgram::mainWindowProc(window_, platform::WM_SETCURSOR, 0, 0);  // frames run: the next one presents
  EXPECT_EQ(presents(), 1);
  EXPECT_EQ(windows_.cursorHides, 4);
}

// F10 and M reach the recorder and MIDI out plugged in by the program's
// entry; with none they do nothing and their marks stay off. F4 and other
// letters leave them alone.
TEST_F(WindowProcedureTest, F10AndMToggleTheRecordingAndMidiOutWhenPluggedIn) {
  struct Counting : RecordingControl, MidiControl {
    int recordings = 0, midis = 0;
    void toggleRecording() override { ++recordings; }
    RecordingState recordingState() const override {
      return recordings % 2 ? RecordingState::recording : RecordingState::off;
    }
    void toggleMidiOut() override { ++midis; }
    MidiOutState midiOutState() const override { return midis % 2 ? MidiOutState::kOn : MidiOutState::kOff; }
    void everyFrame(float) override {}
  } plugged;
  press(platform::VK_F10);
  press('M');
  EXPECT_EQ(program_->currentPictureContext().recording, RecordingState::off);
  EXPECT_EQ(program_->currentPictureContext().midiOut, MidiMark::off);
  program_->recordingControl = &plugged;
  program_->midiControl = &plugged;
  press(platform::VK_F10);
  press('M');
  EXPECT_EQ(program_->currentPictureContext().recording, RecordingState::recording);
  EXPECT_EQ(program_->currentPictureContext().midiOut, MidiMark::on);
  press(platform::VK_F4);
  press('N');
  press(platform::VK_F10);
  press('M');
  EXPECT_EQ(plugged.recordings, 2);
  EXPECT_EQ(plugged.midis, 2);
  // The overlay's view carries the layer switches beside the two marks.
  program_->showSequencerInfo = 0;
  program_->showHelp = 1;
  const PictureContext context = program_->currentPictureContext();
  EXPECT_EQ(context.recording, RecordingState::off);
  EXPECT_EQ(context.midiOut, MidiMark::off);
  EXPECT_FALSE(context.showSequencerInfo);
  EXPECT_TRUE(context.showHelp);
  EXPECT_FALSE(context.showWavNames);
  program_->recordingControl = nullptr;
  program_->midiControl = nullptr;
}

}  // namespace
}  // namespace tidewell
