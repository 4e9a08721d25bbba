// The Sequencer's construction with its defaults and the start-up placement
// of pan and pitch.
#include "tidewell/sequencer/sequencer.h"

#include "tidewell/common/random.h"

namespace tidewell {

// The twenty tracks are members and are built before this body runs, in
// index order, so they take the first draws of the run.
Sequencer::Sequencer(platform::WindowHandle window, const SequencerServices& services)
    : clock_(services.clock), files_(services.files) {
  folder[0] = '\0';
  audioDevice = std::make_unique<AudioDevice>(services.sound);
  // A Sequencer is built whether or not sound could be opened.
  audioDevice->initialise(window);
  beatInterval = beatIntervalFor(tempo);
}

// Members go in reverse order: the tracks from 19 down to 0 release their
// buffers before the audio device goes.
Sequencer::~Sequencer() = default;

int Sequencer::activeTracks() const {
  if (activeTrackCount < 0) return 0;
  return activeTrackCount > kTrackCount ? kTrackCount : activeTrackCount;
}

// Only the stored fields change; the sound and the plot follow at the next
// apply of a behaviour.
void Sequencer::prepareBehaviour() {
  for (int i = 0; i < activeTracks(); ++i) {
    Track& track = tracks[i];
    if (behaviour == 2) {
      track.pan = 0;
      track.frequency = 10000;
    } else if (behaviour == 3) {
      track.pan = tidewell::drawRandom() % 20000 - 10000;
      track.frequency = 20000;
    }
  }
}

}  // namespace tidewell
