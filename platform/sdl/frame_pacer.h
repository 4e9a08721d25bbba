#pragma once
// Frame pacing: how long to sleep after a present so that frames come at the
// display's rate. A renderer that really waits for the vertical blank paces
// the frames itself and is never slept on top of; one that only claims to
// wait (the software renderer under X) is found out by presents that come
// well before a refresh, and then the pacer sleeps to a deadline of its own.
// That finding is not final: while sleeping, a present that itself blocks
// for most of a period, or a short probe without sleeps every few seconds,
// shows the renderer waiting again, and the pacer stops sleeping.
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

  static constexpr int kEarlyPresentsToDistrust = 30;
  static constexpr int kFramesBetweenProbes = 300;
  static constexpr int kProbeFrames = 8;
  static constexpr int kBlockingPresentsToTrust = 3;

 private:
  bool isEarly(double interval) const { return interval < period_ * 0.75; }
  double sleepToDeadline(double now);

  Mode mode_ = Mode::ownDeadline;
  bool claimsVsync_ = false;
  double period_ = 1.0 / 60;
  double lastPresent_ = -1;
  double deadline_ = -1;
  int earlyInARow_ = 0;
  int blockingInARow_ = 0;
  int framesPaced_ = 0;
  int probeFrames_ = 0;
  int probeEarly_ = 0;
};

}  // namespace platform
