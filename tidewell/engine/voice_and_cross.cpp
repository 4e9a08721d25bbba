#include "tidewell/engine/voice_and_cross.h"

#include "tidewell/picture/picture.h"
#include "tidewell/sequencer/track.h"

namespace tidewell {

void VoiceAndCross::hit(Track& track, const Hit& hit) {
  track.applyVolume();
  track.applyFrequency();
  track.applyPan();
  track.playAfter(hit.delayMs);
  moved(track);
}

void VoiceAndCross::moved(Track& track) {
  picture_.plotCross(intensityForVolume(track.volume), track.plotX, track.plotY);
}

}  // namespace tidewell
