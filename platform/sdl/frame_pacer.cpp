#include "platform/sdl/frame_pacer.h"

namespace platform {

void FramePacer::reset(double refreshHz, bool rendererClaimsVsync) {
  period_ = 1.0 / (refreshHz > 0 ? refreshHz : 60.0);
  claimsVsync_ = rendererClaimsVsync;
  mode_ = claimsVsync_ ? Mode::renderer : Mode::ownDeadline;
  lastPresent_ = deadline_ = -1;
  earlyInARow_ = blockingInARow_ = framesPaced_ = probeFrames_ = probeEarly_ = 0;
}

double FramePacer::sleepToDeadline(double now) {
  // A deadline far behind (a stall, a dragged window) starts afresh rather
  // than letting frames race to catch up.
  if (deadline_ < 0 || now > deadline_ + period_) deadline_ = now;
  deadline_ += period_;
  return deadline_ > now ? deadline_ - now : 0.0;
}

double FramePacer::afterPresent(double presentStarted, double presentEnded) {
  const double interval = lastPresent_ < 0 ? period_ : presentEnded - lastPresent_;
  lastPresent_ = presentEnded;
  switch (mode_) {
    case Mode::renderer:
      earlyInARow_ = isEarly(interval) ? earlyInARow_ + 1 : 0;
      if (earlyInARow_ < kEarlyPresentsToDistrust) return 0.0;
      mode_ = Mode::ownDeadline;
      framesPaced_ = blockingInARow_ = 0;
      deadline_ = -1;
      return sleepToDeadline(presentEnded);
    case Mode::ownDeadline:
      if (claimsVsync_) {
        // A present that blocks for most of a period is the renderer waiting:
        // sleeping as well would halve the rate.
        blockingInARow_ = presentEnded - presentStarted > period_ * 0.5 ? blockingInARow_ + 1 : 0;
        if (blockingInARow_ >= kBlockingPresentsToTrust) {
          mode_ = Mode::renderer;
          earlyInARow_ = 0;
          return 0.0;
        }
        if (++framesPaced_ >= kFramesBetweenProbes) {
          mode_ = Mode::probing;
          probeFrames_ = probeEarly_ = 0;
          return 0.0;
        }
      }
      return sleepToDeadline(presentEnded);
    case Mode::probing:
      // No sleeps during the probe: the intervals show the renderer alone.
      if (isEarly(interval)) ++probeEarly_;
      if (++probeFrames_ < kProbeFrames) return 0.0;
      framesPaced_ = 0;
      if (probeEarly_ * 2 < kProbeFrames) {
        mode_ = Mode::renderer;
        earlyInARow_ = 0;
        return 0.0;
      }
      mode_ = Mode::ownDeadline;
      deadline_ = -1;
      return sleepToDeadline(presentEnded);
  }
  return 0.0;
}

}  // namespace platform
