// The main program's single thread: start-up, then a message loop that runs
// one frame whenever no message waits and the window is active. The frame's
// overlay shows a view of the program gathered then.
#include "tidewell/shell/main_program.h"

namespace tidewell {

static_assert(kMaxTrackLabels >= kTrackCount, "a label for every track");

namespace {

MidiMark shownMidiMark(MidiOutState state) {
  switch (state) {
    case MidiOutState::kOn:
      return MidiMark::on;
    case MidiOutState::kWaiting:
      return MidiMark::waiting;
    case MidiOutState::kOff:
      break;
  }
  return MidiMark::off;
}

}  // namespace

PictureContext MainProgram::currentPictureContext() const {
  PictureContext context;
  context.showSequencerInfo = showSequencerInfo != 0;
  context.showHelp = showHelp != 0;
  context.showWavNames = showWavNames != 0;
  context.recording = recordingControl != nullptr ? recordingControl->recordingState() : RecordingState::off;
  context.midiOut = shownMidiMark(midiControl != nullptr ? midiControl->midiOutState() : MidiOutState::kOff);
  context.link = link.mark();
  context.linkPeers = link.peers();
  if (sequencer() == nullptr) return context;
  const Sequencer& s = *sequencer();
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

void MainProgram::runFrame() {
  engine->step();
  if (midiControl != nullptr) midiControl->everyFrame(engine->sequencer->tempo);
  picture->drawHud(currentPictureContext());
  picture->present();
}

int MainProgram::winMain(int showCommand) {
  // A start that failed ends with a failure code, so whoever started the
  // program (the launcher, a script) can tell it from a player quitting.
  if (!initApplication(showCommand)) return 1;

  picture->setUpPalette();
  picture->present();

  platform::WindowSystem& windows = *shellPlatform.windows;
  for (;;) {
    platform::Message message;
    if (windows.peekMessage(&message)) {
      if (windows.getMessage(&message) == 0) return static_cast<int>(message.wParam);
      windows.translateMessage(message);
      windows.dispatchMessage(message);
    } else if (windowActive != 0) {
      runFrame();
    } else {
      windows.waitMessage();
    }
  }
}

}  // namespace tidewell
