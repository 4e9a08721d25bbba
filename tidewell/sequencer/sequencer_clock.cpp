// The beat clock: real time in milliseconds (with their fraction), one beat
// whenever more than a beat interval has passed, the behaviour of the beat,
// the volume drift with sample replacement at the floor, and the two
// mutation rolls of every tick.
#include <cmath>
#include <cstdint>
#include <limits>

#include "tidewell/common/random.h"
#include "tidewell/sequencer/sequencer.h"

namespace tidewell {
namespace {

constexpr std::uint32_t kCaptureStepMs = 2000;
constexpr std::int32_t kLastCaptureFile = 10;

// Under the rising arc the volume climbs without limit; saturate instead of
// overflowing after weeks of play.
std::int32_t addSaturating(std::int32_t value, std::int32_t step) {
  const std::int64_t sum = static_cast<std::int64_t>(value) + step;
  if (sum > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (sum < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(sum);
}

// A clock reading brought into the clock's range 0 .. 2^32 (a reading outside
// it, or no number at all, would have no whole millisecond to take).
constexpr double kClockRange = 4294967296.0;

double withinClockRange(double reading, double previous) {
  if (!std::isfinite(reading)) return previous;
  reading = std::fmod(reading, kClockRange);
  if (reading < 0.0) reading += kClockRange;
  return reading < kClockRange ? reading : 0.0;
}

}  // namespace

void Sequencer::tick() {
  const double previous = lastTickTime + lastTickFraction_;
  const double reading =
      clock_ != nullptr ? withinClockRange(clock_->preciseTime(), previous) : previous;
  const auto now = static_cast<std::uint32_t>(reading);
  const double fraction = reading - now;
  tickTime = now;
  tickDelta = now - lastTickTime;  // unsigned: a wrap of the clock still subtracts right
  lastTickTime = now;
  double step = static_cast<double>(tickDelta) + (fraction - lastTickFraction_);
  if (step < 0.0) step = 0.0;
  lastTickFraction_ = fraction;

  captureElapsed += tickDelta;

  // The capture-file clock drops the excess beyond two seconds.
  if (captureElapsed > kCaptureStepMs) {
    captureElapsed = 0;
    captureFileIndex += 1;
    if (captureFileIndex > kLastCaptureFile) captureFileIndex = 0;
  }

  // Another source's tempo may change under it (a peer on the network):
  // the shown tempo follows it.
  if (beatSource_ != &clockBeats_) {
    tempo = beatSource_->tempo();
    beatInterval = beatIntervalFor(tempo);
  }
  if (beatSource_->beatDue({reading, step})) {
    beatIndex += 1;
    if (beatIndex > beatsPerBar) beatIndex = 1;
    switch (behaviour) {
      case 1: playRandomBeat(); break;
      case 2: playSlidingBeat(); break;
      case 3: playTonalBeat(); break;
      default: break;  // 4 and 5 from the settings: a silent beat
    }
    driftVolumes();
  }

  mutate();
}

// Strictly more than one interval. The time beyond it carries into the next
// beat, so beats keep the tempo whatever the frame rate; a tick that came a
// whole interval late or more still gives one beat only, and starts afresh.
bool ClockBeatSource::beatDue(const BeatTick& tick) {
  beatElapsed_ += tick.stepMs;
  const double interval = beatInterval_;
  if (!(tempo_ > 0.0f && beatElapsed_ > interval)) return false;
  lateness_ = beatElapsed_ - interval;
  if (lateness_ < interval) {
    beatElapsed_ = lateness_;
  } else {
    // Afresh from this tick: the beat is the first of a new grid, due now,
    // so it sounds one lookahead on like every beat after it.
    beatElapsed_ = 0.0;
    lateness_ = 0.0;
  }
  beatTime_ = tick.reading - lateness_;
  return true;
}

void Sequencer::driftVolumes() {
  for (int i = 0; i < activeTracks(); ++i) {
    Track& track = tracks[i];
    if (waveform == 1) {
      track.volume = addSaturating(track.volume, -track.fadeStep);
    } else if (waveform == 2) {
      track.volume = addSaturating(track.volume, track.fadeStep);
    }
    if (track.volume < kVolumeFloor) track.volume = kVolumeFloor;
    track.applyVolume();

    if (track.volume == kVolumeFloor) {
      pickSample(i);
      track.reloadSample(audioDevice.get());
      // Full volume reaches the buffers with the track's next applyVolume.
      track.volume = 0;
      track.renewPattern();
    }
  }
}

// Both rolls draw on every tick, even at a chance of 0, so the draws that
// follow do not depend on the chances.
void Sequencer::mutate() {
  if (tidewell::drawRandom() % 1000 < behaviourMutation) behaviour = tidewell::drawRandom() % 3 + 1;
  if (tidewell::drawRandom() % 1000 < timeSignatureMutation) beatsPerBar = tidewell::drawRandom() % 8 + 1;
}

// How long from now a hit of this beat starts: at the beat's ideal time plus
// the lookahead. Counted from a fresh reading, so time the tick has spent so
// far (a busy machine may hold the thread between two hits) is not added to
// the hit; a start already past plays at once.
double Sequencer::startDelay() const {
  const double tickReading = lastTickTime + lastTickFraction_;
  double spent = 0.0;
  if (clock_ != nullptr) {
    spent = withinClockRange(clock_->preciseTime(), tickReading) - tickReading;
    if (spent < 0.0) spent += kClockRange;  // the clock wrapped since the tick
  }
  return startLookaheadMs - beatSource_->beatLateness() - spent;
}

void Sequencer::fire(Track& track, int index) {
  hitSinks.hit(track, {index, track.volume, track.pan, track.frequency, track.sampleRate(),
                       beatSource_->beatTime(), startDelay()});
}

}  // namespace tidewell
