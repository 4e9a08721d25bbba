#include "tidewell/link/link_beat_clock.h"

#include <algorithm>
#include <cmath>

#include "tidewell/link/tempo_mapping.h"

namespace tidewell::link {
namespace {

// Beats are counted against a quantum of one session beat, whose grid of
// half beats is the same as every bar quantum's, so the count does not jump
// when the time signature changes; the bar's phase decides the beat's place.
constexpr double kCountingQuantum = 1.0;

// A grid that moved by more than this (sequencer beats) against where its
// tempo would have taken it was replaced (a join, a clamp that began or
// ended): the count starts again at its next point.
constexpr double kJumpTolerance = 0.1;

std::int64_t floorMod(std::int64_t value, std::int64_t divisor) {
  const std::int64_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

}  // namespace

void LinkBeatClock::start(float sequencerTempo) {
  // Joined already: the session's tempo wins.
  if (timeline_.peerCount() == 0) setTempo(sequencerTempo);
  anchored_ = false;
}

float LinkBeatClock::setTempo(float sequencerTempo) {
  timeline_.capture();
  timeline_.setTempo(sessionTempoFor(sequencerTempo), timeline_.nowMicros());
  return followTempo();
}

float LinkBeatClock::followTempo() {
  timeline_.capture();
  const double session = timeline_.tempo();
  const MappedTempo mapped = sequencerTempoFor(session);
  clamped_ = mapped.clamped;
  beatsPerSessionBeat_ =
      clamped_ && session > 0.0 ? mapped.sequencerTempo / session : kSequencerBeatsPerSessionBeat;
  return mapped.sequencerTempo;
}

std::optional<SharedBeat> LinkBeatClock::nextBeat(double nowMs, double lookaheadMs,
                                                   int beatsPerBar) {
  const std::int64_t now = timeline_.nowMicros();
  const std::int64_t look = now + std::llround(std::max(lookaheadMs, 0.0) * 1000.0);
  const double ratio = beatsPerSessionBeat_;
  const double position = timeline_.beatAtTime(look, kCountingQuantum) * ratio;
  const double tempo = timeline_.tempo();

  if (anchored_) {
    // Between the last look and this one the grid ran at the old tempo, the
    // new one, or the one and then the other.
    const double minutes = static_cast<double>(look - lastLookMicros_) / 60e6;
    const double atOld = lastPosition_ + minutes * lastSessionTempo_ * ratio;
    const double atNew = lastPosition_ + minutes * tempo * ratio;
    if (position < std::min(atOld, atNew) - kJumpTolerance ||
        position > std::max(atOld, atNew) + kJumpTolerance) {
      anchored_ = false;
    }
  }
  lastPosition_ = position;
  lastLookMicros_ = look;
  lastSessionTempo_ = tempo;

  const auto point = static_cast<std::int64_t>(std::floor(position));
  if (!anchored_) {
    anchored_ = true;
    lastBeat_ = point;
    return std::nullopt;
  }
  if (point <= lastBeat_) return std::nullopt;
  lastBeat_ = point;

  const std::int64_t ideal = timeline_.timeAtBeat(static_cast<double>(point) / ratio,
                                                  kCountingQuantum);
  SharedBeat beat;
  beat.idealTimeMs = nowMs + static_cast<double>(ideal - now) / 1000.0;
  const int perBar = std::max(beatsPerBar, 1);
  std::int64_t place = point;
  if (ratio == kSequencerBeatsPerSessionBeat) {
    const double phase = timeline_.phaseAtTime(ideal, barQuantum(perBar));
    place = std::llround(phase * ratio);
  }
  beat.indexInBar = static_cast<int>(floorMod(place, perBar)) + 1;
  return beat;
}

}  // namespace tidewell::link
