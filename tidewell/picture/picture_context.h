#pragma once
// What the overlay shows, handed in by its caller each frame: which layers
// are on, the sequencer values of the info line, the track labels and the
// recording state. The picture reads nothing else of the program.
#include "tidewell/recording/recording_control.h"

namespace tidewell {

// MIDI out: off, waiting for a port, or sending.
enum class MidiMark { off, waiting, on };
// Sharing the tempo on the network: off, on (the session's tempo within
// what the sequencer plays, or held at its edge), or wanted without a network.
enum class LinkMark { off, on, clamped, unavailable };

constexpr int kMaxTrackLabels = 20;

struct TrackLabel {
  const char* name = nullptr;  // zero-terminated
  int x = 0;                   // the track's plot position
  int y = 0;
};

struct PictureContext {
  bool showSequencerInfo = false;
  bool showHelp = false;
  bool showWavNames = false;
  int behaviour = 0;
  int beatsPerBar = 0;
  float tempo = 0;
  int waveform = 0;
  int inputFormat = 0;
  int activeTrackCount = 0;
  TrackLabel labels[kMaxTrackLabels];  // the first activeTrackCount are drawn
  RecordingState recording = RecordingState::off;
  MidiMark midiOut = MidiMark::off;
  LinkMark link = LinkMark::off;
  int linkPeers = 0;
};

}  // namespace tidewell
