#pragma once
// Beats from a shared session's timeline instead of from elapsed time: a
// beat falls due when the session's grid of sequencer beats (two to a
// session beat) passes the moment the output will play, and its ideal time
// is that grid point, so its hits are heard on the shared beat. The tempo
// follows the session, and a tempo set here (the keys) goes to the session.
//
//   LinkBeatClock clock(timeline);
//   // once per tick, on the main thread:
//   clock.followTempo()                       -> the tempo to play at
//   clock.nextBeat(nowMs, lookaheadMs, bpb)   -> a due beat, if any
#include <cstdint>
#include <optional>

#include "platform/api/shared_timeline.h"

namespace tidewell::link {

struct SharedBeat {
  double idealTimeMs = 0.0;  // on the program's clock, from the `nowMs` given
  int indexInBar = 1;        // 1 .. beatsPerBar, 1 where every peer's bar starts
};

class LinkBeatClock {
 public:
  explicit LinkBeatClock(platform::SharedTimeline& timeline) : timeline_(timeline) {}

  // Once the timeline is enabled: a session of our own takes the
  // sequencer's tempo (one already running wins once it is found, and one
  // found already keeps its own), and the next beat is the session's next
  // grid point.
  void start(float sequencerTempo);

  // Takes a fresh copy of the session and returns the tempo the sequencer
  // plays at: the session's, held within the sequencer's range.
  float followTempo();
  // The player's tempo (the keys) for the whole session; returns what the
  // session took (it holds tempi within its own range).
  float setTempo(float sequencerTempo);
  // True while the session's tempo lies outside the sequencer's range.
  bool tempoClamped() const { return clamped_; }

  // A beat whose grid point lies at or before nowMs + lookaheadMs, at most
  // one per call (a late call skips the points it missed, as the elapsed-time
  // clock does). Call followTempo first in the same tick.
  std::optional<SharedBeat> nextBeat(double nowMs, double lookaheadMs, int beatsPerBar);

 private:
  platform::SharedTimeline& timeline_;
  bool clamped_ = false;
  double beatsPerSessionBeat_ = 2.0;  // other than 2 only while clamped
  bool anchored_ = false;
  std::int64_t lastBeat_ = 0;          // the last grid point that sounded
  double lastPosition_ = 0.0;          // sequencer beats at the last look
  std::int64_t lastLookMicros_ = 0;
  double lastSessionTempo_ = 0.0;
};

}  // namespace tidewell::link
