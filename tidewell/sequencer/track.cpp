// A track's life apart from its voice: construction with its draws, the
// pattern renewed after a new sample, the rhythm test, and the orderly end.
#include "tidewell/sequencer/track.h"

#include "tidewell/audio/riff_wave_reader.h"
#include "tidewell/common/random.h"

namespace tidewell {

// These are the first draws of every run (the Sequencer builds its twenty
// tracks before anything else draws), so their order is fixed: rhythm,
// volume, fade step.
Track::Track() {
  rollRhythm();
  pan = 0;
  frequency = 50000;
  volume = -(tidewell::drawRandom() % 4000);
  plotX = 0;
  plotY = 0;
  fadeStep = tidewell::drawRandom() % 25 + 25;
}

// The reader goes first, then each buffer is stopped and let go in table
// order, so no sound outlives its track.
Track::~Track() {
  waveReader.reset();
  for (auto& buffer : buffers) {
    if (buffer) buffer->stop();
    buffer.reset();
  }
}

void Track::renewPattern() {
  frequency = 50000;
  plotX = 0;
  plotY = 0;
  fadeStep = tidewell::drawRandom() % 50 + 5;
  rollRhythm();
}

// Each entry is filled with 69 chances in 100 and then holds a beat 1..7;
// an empty entry is 0 and matches no beat.
void Track::rollRhythm() {
  for (auto& entry : rhythm) entry = 0;
  for (auto& entry : rhythm) {
    if (tidewell::drawRandom() % 100 > 30) entry = tidewell::drawRandom() % 7 + 1;
  }
}

bool Track::firesOn(int beat) const {
  for (const auto entry : rhythm) {
    if (entry != 0 && entry == beat) return true;
  }
  return false;
}

}  // namespace tidewell
