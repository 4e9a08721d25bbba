#include "platform/fake/fake_timeline.h"

#include <cmath>

namespace platform::fake {

FakeTimeline::FakeTimeline(FakeClock* clock, double tempo) : clock_(clock), tempo_(tempo) {
  anchorMicros_ = nowMicros();
}

bool FakeTimeline::enable(bool on, std::string* problem) {
  if (on && !networkUsable_) {
    if (problem != nullptr) *problem = "no network interface";
    enabled_ = false;
    return false;
  }
  enabled_ = on;
  return true;
}

std::int64_t FakeTimeline::nowMicros() const {
  const std::int64_t ms = clock_ != nullptr ? clock_->now() : 0;
  return ms * 1000 + kEpochOffsetMicros;
}

double FakeTimeline::beatAtTime(std::int64_t micros, double) const {
  return anchorBeat_ + static_cast<double>(micros - anchorMicros_) * tempo_ / 60e6;
}

double FakeTimeline::phaseAtTime(std::int64_t micros, double quantum) const {
  const double phase = std::fmod(beatAtTime(micros, quantum), quantum);
  return phase < 0.0 ? phase + quantum : phase;
}

std::int64_t FakeTimeline::timeAtBeat(double beat, double) const {
  return anchorMicros_ + std::llround((beat - anchorBeat_) * 60e6 / tempo_);
}

void FakeTimeline::setTempo(double bpm, std::int64_t atMicros) {
  temposAskedFor_.push_back(bpm);
  anchorBeat_ = beatAtTime(atMicros, 1.0);
  anchorMicros_ = atMicros;
  tempo_ = bpm;
}

void FakeTimeline::joinSession(double sessionTempo, double sessionBeat, int peers) {
  anchorBeat_ = sessionBeat;
  anchorMicros_ = nowMicros();
  tempo_ = sessionTempo;
  peers_ = peers;
}

}  // namespace platform::fake
