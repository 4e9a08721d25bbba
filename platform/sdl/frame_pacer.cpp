#include "platform/sdl/frame_pacer.h"

#include <cmath>

namespace platform {

void FramePacer::reset(double refreshHz, bool rendererClaimsVsync) {
  period_ = 1.0 / (refreshHz > 0 ? refreshHz : 60.0);
  claimsVsync_ = rendererClaimsVsync;
  mode_ = claimsVsync_ ? Mode::renderer : Mode::ownDeadline;
  lastPresent_ = deadline_ = -1;
  earlyScore_ = blockingInARow_ = framesPaced_ = probeFrames_ = probeOnBeat_ = 0;
}

double FramePacer::sleepToDeadline(double now) {
  // A deadline far behind (a stall, frames slower than the display) starts
  // afresh from now, neither letting frames race to catch up nor holding a
  // late frame back for a whole period.
  if (deadline_ < 0 || now > deadline_ + period_) {
    deadline_ = now;
    return 0.0;
  }
  deadline_ += period_;
  return deadline_ > now ? deadline_ - now : 0.0;
}

bool FramePacer::isOnTheBeat(double interval) const {
  const double periods = std::round(interval / period_);
  return periods >= 1 && std::fabs(interval - periods * period_) <= period_ * 0.1;
}

void FramePacer::startProbe() {
  mode_ = Mode::probing;
  probeFrames_ = probeOnBeat_ = 0;
}

double FramePacer::afterPresent(double presentStarted, double presentEnded) {
  const double interval = lastPresent_ < 0 ? period_ : presentEnded - lastPresent_;
  lastPresent_ = presentEnded;
  switch (mode_) {
    case Mode::renderer:
      earlyScore_ = isEarly(interval) ? earlyScore_ + 1 : earlyScore_ > 0 ? earlyScore_ - 1 : 0;
      if (earlyScore_ < kEarlyScoreToDistrust) return 0.0;
      mode_ = Mode::ownDeadline;
      framesPaced_ = blockingInARow_ = 0;
      deadline_ = -1;
      return sleepToDeadline(presentEnded);
    case Mode::ownDeadline:
      if (claimsVsync_) {
        // Presents that block for most of a period may be the renderer
        // waiting after all (or just slow): a probe tells, though not more
        // often than every so many frames, so slow presents that do not wait
        // are still paced.
        blockingInARow_ = presentEnded - presentStarted > period_ * 0.5 ? blockingInARow_ + 1 : 0;
        ++framesPaced_;
        if (framesPaced_ >= kFramesBetweenProbes ||
            (framesPaced_ >= kFramesBeforeAnEarlyProbe &&
             blockingInARow_ >= kBlockingPresentsToProbe)) {
          startProbe();
          return 0.0;
        }
      }
      return sleepToDeadline(presentEnded);
    case Mode::probing:
      // No sleeps during the probe: the intervals show the renderer alone.
      if (isOnTheBeat(interval)) ++probeOnBeat_;
      if (++probeFrames_ < kProbeFrames) return 0.0;
      framesPaced_ = blockingInARow_ = 0;
      if (probeOnBeat_ * 4 >= kProbeFrames * 3) {
        mode_ = Mode::renderer;
        earlyScore_ = 0;
        return 0.0;
      }
      mode_ = Mode::ownDeadline;
      deadline_ = -1;
      return sleepToDeadline(presentEnded);
  }
  return 0.0;
}

}  // namespace platform
