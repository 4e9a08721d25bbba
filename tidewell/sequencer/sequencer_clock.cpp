// The beat clock: real time in milliseconds, one beat whenever more than a
// beat interval has passed, the behaviour of the beat, the volume drift with
// sample replacement at the floor, and the two mutation rolls of every tick.
#include <cstdint>
#include <limits>

#include "tidewell/sequencer/random.h"
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

}  // namespace

void Sequencer::tick() {
  const std::uint32_t now = clock_ != nullptr ? clock_->timeGetTime() : lastTickTime;
  tickTime = now;
  tickDelta = now - lastTickTime;  // unsigned: a wrap of the clock still subtracts right
  lastTickTime = now;

  beatElapsed += tickDelta;
  captureElapsed += tickDelta;

  // The excess beyond two seconds is dropped, as it is for beats.
  if (captureElapsed > kCaptureStepMs) {
    captureElapsed = 0;
    captureFileIndex += 1;
    if (captureFileIndex > kLastCaptureFile) captureFileIndex = 0;
  }

  // Strictly more than one interval; a late tick still gives one beat only.
  if (tempo > 0.0f && static_cast<float>(beatElapsed) > beatInterval) {
    beatElapsed = 0;
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

void Sequencer::fire(Track& track) {
  track.applyVolume();
  track.applyFrequency();
  track.applyPan();
  track.play(0);
  track.plotTrack();
}

}  // namespace tidewell
