#include "tidewell/shell/picture_context.h"

#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/link_control.h"
#include "tidewell/shell/recording_control.h"

namespace tidewell {

namespace {

RecordingState shownRecordingState(RecorderState state) {
  switch (state) {
    case RecorderState::kRecording:
      return RecordingState::recording;
    case RecorderState::kFailed:
      return RecordingState::failed;
    case RecorderState::kOff:
      break;
  }
  return RecordingState::off;
}

}  // namespace

static_assert(kMaxTrackLabels >= kTrackCount, "a label for every track");

PictureContext currentPictureContext() {
  PictureContext context;
  context.showSequencerInfo = showSequencerInfo != 0;
  context.showHelp = showHelp != 0;
  context.showWavNames = showWavNames != 0;
  context.recording = shownRecordingState(currentRecorderState());
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
