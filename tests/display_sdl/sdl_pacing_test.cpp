// Presents come at about the display's refresh rate whether or not the
// renderer waits for the vertical blank: where it does not, the display
// layer sleeps to the next refresh itself, so the frame loop (which has no
// timer of its own) does not spin a core at thousands of frames a second.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/sdl/frame_pacer.h"
#include "tests/display_sdl/sdl_window_fixture.h"

namespace {

struct Setting {
  const char* driver;
  const char* vsync;  // the hint: "0" asks for none
};

class SdlPacingTest : public ::testing::TestWithParam<Setting>, protected display_test::SdlWindowFixture {
 protected:
  static void SetUpTestSuite() { startVideo(); }
  static void TearDownTestSuite() { stopVideo(); }
  void SetUp() override {
    openWindow(GetParam().driver, GetParam().vsync);
    if (!IsSkipped() && !HasFatalFailure()) picture_->setUpPalette();
  }
  void TearDown() override { closeWindow(); }
};

TEST_P(SdlPacingTest, PresentsComeAtAboutTheRefreshRate) {
  // Settle first: a renderer that claims to wait but does not (the software
  // renderer claims it even when asked for none) is found out after a few
  // dozen early presents.
  for (int i = 0; i < 40; ++i) picture_->present();
  constexpr int kPresents = 60;
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < kPresents; ++i) picture_->present();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const double rate = kPresents / seconds;
  // Never much faster than the display; the upper bound on the time only
  // catches a layer that waits far too long, and is loose for busy machines.
  EXPECT_LE(rate, refreshHz_ * 1.15);
  EXPECT_GE(rate, refreshHz_ / 3.0);
}

INSTANTIATE_TEST_SUITE_P(Renderers, SdlPacingTest,
                         ::testing::Values(Setting{"software", "0"}, Setting{"software", "1"},
                                           Setting{"opengl", "0"}, Setting{"opengl", "1"}),
                         [](const auto& info) {
                           return std::string(info.param.driver) + (info.param.vsync[0] == '0' ? "_VsyncOff" : "_VsyncOn");
                         });

}  // namespace

namespace {

using platform::FramePacer;
constexpr double kPeriod = 1.0 / 60;

// Drives a pacer with presents of a given length and a given frame time
// before each; returns the sleeps it asked for.
struct PacerRun {
  FramePacer pacer;
  double now = 1.0;
  double present(double workSeconds, double presentSeconds) {
    now += workSeconds;
    const double started = now;
    now += presentSeconds;
    const double sleep = pacer.afterPresent(started, now);
    now += sleep;
    return sleep;
  }
  // A renderer that claims to wait, found out by quick presents.
  void distrustClaimedVsync() {
    pacer.reset(60, true);
    while (pacer.mode() == FramePacer::Mode::renderer) present(0.003, 0.001);
  }
};

TEST(FramePacer, DistrustsAClaimedVsyncWhenPresentsComeEarlyMoreOftenThanNot) {
  PacerRun run;
  run.pacer.reset(60, true);
  // Early presents, with a slow one now and then that does not start the
  // count again; no sleeps until the pacer distrusts the renderer.
  int presents = 0;
  double slept = 0;
  while (slept == 0.0 && presents < 100) {
    slept = run.present(presents % 4 == 3 ? 0.020 : 0.003, 0.001);
    ++presents;
  }
  // Not on a stray early present, but within a second of them.
  EXPECT_GT(slept, 0.0);
  EXPECT_GE(presents, 10);
  EXPECT_LE(presents, 60);
  EXPECT_EQ(run.pacer.mode(), FramePacer::Mode::ownDeadline);
  // Paced: a frame every period on average.
  const double started = run.now;
  for (int i = 0; i < 60; ++i) run.present(0.003, 0.001);
  EXPECT_NEAR((run.now - started) / 60, kPeriod, kPeriod * 0.05);
}

TEST(FramePacer, SoonStopsSleepingOnTopOfPresentsThatWaitForTheDisplay) {
  PacerRun run;
  run.distrustClaimedVsync();
  // The renderer starts waiting (a new mode, a compositor): its presents
  // block for most of a period, and a probe comes well before the periodic
  // one.
  int paced = 0;
  while (run.pacer.mode() == FramePacer::Mode::ownDeadline && paced < 1000) {
    run.present(0.003, 0.0135);
    ++paced;
  }
  EXPECT_EQ(run.pacer.mode(), FramePacer::Mode::probing);
  EXPECT_LE(paced, 63);  // a second and a few frames
  // Waiting for the display alone, presents come a period apart; the probe
  // sees that within half a second.
  for (int i = 0; i < 30 && run.pacer.mode() == FramePacer::Mode::probing; ++i) {
    EXPECT_EQ(run.present(kPeriod - 0.0135, 0.0135), 0.0);
  }
  EXPECT_EQ(run.pacer.mode(), FramePacer::Mode::renderer);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(run.present(kPeriod - 0.0135, 0.0135), 0.0);
}

// Presents that are slow under load but do not wait are still paced: the
// probe finds them off the refresh beat, and the next one is far off.
TEST(FramePacer, SlowPresentsThatDoNotWaitStayPaced) {
  PacerRun run;
  run.distrustClaimedVsync();
  int unpaced = 0;
  const double started = run.now;
  for (int i = 0; i < 600; ++i) {
    if (run.present(0.001, 0.012) == 0.0) ++unpaced;
  }
  EXPECT_LE(unpaced, 90);  // at most 15 % of the frames go unpaced while probes look
  EXPECT_GE((run.now - started) / 600, kPeriod * 0.95);
}

TEST(FramePacer, RechecksADistrustedRendererWithAShortProbeWithoutSleeps) {
  for (const bool rendererWaitsNow : {false, true}) {
    PacerRun run;
    run.distrustClaimedVsync();
    int paced = 0;
    while (run.pacer.mode() == FramePacer::Mode::ownDeadline && paced < 10000) {
      run.present(0.003, 0.001);
      ++paced;
    }
    // Every few seconds: not so often that the probes show, nor so seldom
    // that a renderer which starts waiting goes long paced twice.
    EXPECT_EQ(run.pacer.mode(), FramePacer::Mode::probing);
    EXPECT_GE(paced, 120);
    EXPECT_LE(paced, 600);
    // During the probe the renderer alone sets the pace: a waiting one spaces
    // its presents a period apart without blocking long in any one of them
    // (the frame's work fills the rest). The probe decides within half a second.
    for (int i = 0; i < 30 && run.pacer.mode() == FramePacer::Mode::probing; ++i) {
      if (rendererWaitsNow) {
        run.present(kPeriod - 0.006, 0.006);  // on the beat
      } else {
        run.present(0.003, 0.001);
      }
    }
    EXPECT_EQ(run.pacer.mode(),
              rendererWaitsNow ? FramePacer::Mode::renderer : FramePacer::Mode::ownDeadline);
  }
}

TEST(FramePacer, PacesForEverWhereVsyncIsNotClaimedAndStartsOverOnReset) {
  PacerRun run;
  run.pacer.reset(60, false);
  run.present(0.003, 0.001);  // the first sets the deadline
  for (int i = 0; i < 1000; ++i) ASSERT_GT(run.present(0.003, 0.001), 0.0) << i;
  EXPECT_EQ(run.pacer.mode(), FramePacer::Mode::ownDeadline);
  run.pacer.reset(75, true);
  EXPECT_EQ(run.pacer.mode(), FramePacer::Mode::renderer);
  EXPECT_DOUBLE_EQ(run.pacer.period(), 1.0 / 75);
}

// A stall (a dragged window) restarts the deadline instead of racing to
// catch up with frames that were never shown; frames slower than the
// display are never held back.
TEST(FramePacer, AStallOrSlowFramesDoNotRaceOrWait) {
  PacerRun run;
  run.pacer.reset(60, false);
  for (int i = 0; i < 10; ++i) run.present(0.003, 0.001);
  run.now += 2.0;
  EXPECT_EQ(run.present(0.003, 0.001), 0.0);
  const double started = run.now;
  for (int i = 0; i < 10; ++i) EXPECT_GT(run.present(0.003, 0.001), 0.0);
  EXPECT_NEAR((run.now - started) / 10, kPeriod, kPeriod * 0.05);
  for (int i = 0; i < 30; ++i) EXPECT_LT(run.present(0.020, 0.005), 0.001) << i;
}

}  // namespace
