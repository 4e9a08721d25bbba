// The three pattern behaviours run on a beat. Each draw is taken in the order
// written here: the order of draws fixes the whole run.
#include <cmath>

#include "tidewell/common/random.h"
#include "tidewell/sequencer/sequencer.h"

namespace tidewell {
namespace {

constexpr std::int32_t kLowestFrequency = 100;
constexpr std::int32_t kHighestFrequency = 100000;
constexpr std::int32_t kPanLeft = -10000;
constexpr std::int32_t kPanRight = 10000;

std::int32_t clampFrequency(std::int32_t frequency) {
  if (frequency > kHighestFrequency) frequency = kHighestFrequency;
  if (frequency < kLowestFrequency) frequency = kLowestFrequency;
  return frequency;
}

}  // namespace

// "Random": a firing track jumps to a new pan and pitch; the others draw nothing.
void Sequencer::playRandomBeat() {
  for (int i = 0; i < activeTracks(); ++i) {
    Track& track = tracks[i];
    if (!track.firesOn(beatIndex)) continue;
    track.pan = tidewell::drawRandom() % 20000 - 10000;
    track.frequency = tidewell::drawRandom() % 99000 + 1000;
    fire(track, i);
  }
}

// "Sliding": every active track wanders a little in pitch or in pan on every
// beat, and sounds when its rhythm holds the beat.
void Sequencer::playSlidingBeat() {
  for (int i = 0; i < activeTracks(); ++i) {
    Track& track = tracks[i];
    const int roll = tidewell::drawRandom() % 100;
    if (roll > 50) {
      track.frequency = clampFrequency(track.frequency + tidewell::drawRandom() % 2000 - 1000);
      track.applyFrequency();
    } else {
      track.pan += tidewell::drawRandom() % 1000 - 500;
      if (track.pan < kPanLeft) track.pan = kPanLeft;
      if (track.pan > kPanRight) track.pan = kPanRight;
      track.applyPan();
    }
    hitSinks.moved(track);
    if (track.firesOn(beatIndex)) fire(track, i);
  }
}

// "Tonal": a firing track sometimes moves its pitch by the ratio pitchStep,
// up or down, and then sounds; its pan is left alone.
void Sequencer::playTonalBeat() {
  for (int i = 0; i < activeTracks(); ++i) {
    Track& track = tracks[i];
    if (!track.firesOn(beatIndex)) continue;
    if (tidewell::drawRandom() % 100 > 90) {
      const float current = static_cast<float>(track.frequency);
      const float moved = tidewell::drawRandom() % 100 > 50 ? current * pitchStep : current / pitchStep;
      // Truncated toward zero and made non-negative, then held within range;
      // the range is applied before the conversion so no value can overflow it.
      float stepped = std::fabs(std::trunc(moved));
      if (!(stepped <= static_cast<float>(kHighestFrequency))) stepped = kHighestFrequency;
      if (stepped < static_cast<float>(kLowestFrequency)) stepped = kLowestFrequency;
      track.frequency = static_cast<std::int32_t>(stepped);
      track.applyFrequency();
      hitSinks.moved(track);
    }
    fire(track, i);
  }
}

}  // namespace tidewell
