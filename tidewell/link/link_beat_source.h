#pragma once
// The sequencer's beat source while the tempo is shared: beats from the
// session's grid, each placed in the bar by the session's phase, and the
// sequencer's tempo kept to the session's.
#include "platform/api/shared_timeline.h"
#include "tidewell/link/link_beat_clock.h"
#include "tidewell/sequencer/beat_source.h"

namespace tidewell {
class Sequencer;
}

namespace tidewell::link {

class LinkBeatSource : public BeatSource {
 public:
  LinkBeatSource(platform::SharedTimeline& timeline, Sequencer& sequencer);

  // Right after the timeline is enabled, before the first beatDue.
  void start();

  bool beatDue(const BeatTick& tick) override;
  double beatLateness() const override { return lateness_; }
  double beatTime() const override { return beatTime_; }
  float tempo() const override { return tempo_; }
  // The player's tempo goes to the whole session.
  void setTempo(float tempo) override;

  bool tempoClamped() const { return clock_.tempoClamped(); }

 private:
  // Writes the session's tempo into the sequencer's fields (not through its
  // setTempo, which would send it back to the session).
  void showTempo(float tempo);

  LinkBeatClock clock_;
  Sequencer& sequencer_;
  float tempo_ = 0.0f;
  double lateness_ = 0.0;
  double beatTime_ = 0.0;
};

}  // namespace tidewell::link
