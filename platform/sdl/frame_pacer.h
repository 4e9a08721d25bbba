#pragma once
// Frame pacing: how long to sleep after a present so that frames come at the
// display's rate. A renderer that really waits for the vertical blank paces
// the frames itself and is never slept on top of; one that only claims to
// wait (the software renderer under X) is found out by presents that come
// well before a refresh more often than not (a busy machine slows some of
// them, so they need not come in a row), and then the pacer sleeps to a
// deadline of its own.
// That finding is not final: every few seconds, or sooner when presents
// start to block for most of a period, a short probe without sleeps looks
// at the renderer alone, and presents that then come on the refresh beat
// (a whole number of periods apart) make the pacer stop sleeping. A vsync
// wait and a sleep to our own deadline are never combined for longer than
// it takes to find out.
#include <cstdint>

namespace platform {

class FramePacer {
 public:
  enum class Mode { renderer, ownDeadline, probing };

  // A new display or refresh rate: start over, trusting a renderer that
  // claims to wait.
  void reset(double refreshHz, bool rendererClaimsVsync);

  // Told after every present, with the times (in seconds) it was called and
  // it returned; gives the seconds to sleep now (0 while the renderer waits).
  double afterPresent(double presentStarted, double presentEnded);

  Mode mode() const { return mode_; }
  double period() const { return period_; }

  // Early presents count up, the others down: this far up is distrust.
  static constexpr int kEarlyScoreToDistrust = 15;
  static constexpr int kFramesBetweenProbes = 300;
  static constexpr int kFramesBeforeAnEarlyProbe = 60;
  static constexpr int kBlockingPresentsToProbe = 3;
  static constexpr int kProbeFrames = 8;

 private:
  bool isEarly(double interval) const { return interval < period_ * 0.75; }
  bool isOnTheBeat(double interval) const;
  double sleepToDeadline(double now);
  void startProbe();

  Mode mode_ = Mode::ownDeadline;
  bool claimsVsync_ = false;
  double period_ = 1.0 / 60;
  double lastPresent_ = -1;
  double deadline_ = -1;
  int earlyScore_ = 0;
  int blockingInARow_ = 0;
  int framesPaced_ = 0;
  int probeFrames_ = 0;
  int probeOnBeat_ = 0;
};

}  // namespace platform
