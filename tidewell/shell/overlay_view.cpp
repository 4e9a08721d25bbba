#include "tidewell/shell/overlay_view.h"

#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/link_control.h"

namespace tidewell {

static_assert(kMaxTrackLabels >= kTrackCount, "a label for every track");

PictureContext currentPictureContext() {
  PictureContext context;
  context.showSequencerInfo = showSequencerInfo != 0;
  context.showHelp = showHelp != 0;
  context.showWavNames = showWavNames != 0;
  context.recording = recordingControl != nullptr ? recordingControl->recordingState() : RecordingState::off;
  context.link = currentLinkMark();
  context.linkPeers = currentLinkPeers();
  if (sequencer == nullptr) return context;
  const Sequencer& s = *sequencer;
  context.behaviour = s.behaviour;
  context.beatsPerBar = s.beatsPerBar;
  context.tempo = s.tempo;
  context.waveform = s.waveform;
  context.inputFormat = s.inputFormat;
  context.activeTrackCount = s.activeTrackCount;
  const int labels = s.activeTrackCount < kTrackCount ? s.activeTrackCount : kTrackCount;
  for (int i = 0; i < labels; ++i) {
    context.labels[i] = {s.tracks[i].sampleName, s.tracks[i].plotX, s.tracks[i].plotY};
  }
  return context;
}

}  // namespace tidewell
