#include "tidewell/link/link_beat_source.h"

#include "tidewell/sequencer/sequencer.h"

namespace tidewell::link {

LinkBeatSource::LinkBeatSource(platform::SharedTimeline& timeline, Sequencer& sequencer)
    : clock_(timeline), sequencer_(sequencer), tempo_(sequencer.tempo) {}

void LinkBeatSource::start() {
  clock_.start(sequencer_.tempo);
  showTempo(clock_.followTempo());
}

bool LinkBeatSource::beatDue(const BeatTick& tick) {
  showTempo(clock_.followTempo());
  // Hits sound one lookahead after the moment their beat falls due: the beat
  // falls due that long before the session's grid point, so it is heard on it.
  const double lookahead = sequencer_.startLookaheadMs;
  const auto beat = clock_.nextBeat(tick.reading, lookahead, sequencer_.beatsPerBar);
  if (!beat) return false;
  beatTime_ = beat->idealTimeMs - lookahead;
  lateness_ = tick.reading - beatTime_;
  // The sequencer steps the beat index on by one: from the place before it.
  sequencer_.beatIndex = beat->indexInBar - 1;
  return true;
}

void LinkBeatSource::setTempo(float tempo) { showTempo(clock_.setTempo(tempo)); }

void LinkBeatSource::showTempo(float tempo) {
  tempo_ = tempo;
  sequencer_.tempo = tempo;
  sequencer_.beatInterval = beatIntervalFor(tempo);
}

}  // namespace tidewell::link
