#pragma once
// How the sequencer's tempo and bars sit on a shared session's beat grid.
//
// The session's tempo is the tempo the info line shows: half the sequencer's
// tempo field (700 plays and shows as 350). So one sequencer beat is half a
// session beat, and a bar of beatsPerBar sequencer beats spans
// beatsPerBar / 2 session beats, the quantum its phase is aligned at: the
// first beat of every bar falls where every peer's bar of that length starts.
namespace tidewell::link {

// The tempo field's limits under the keys (10 .. 2000, shown as 5 .. 1000).
constexpr float kSlowestSequencerTempo = 10.0f;
constexpr float kFastestSequencerTempo = 2000.0f;

// Sequencer beats in one session beat.
constexpr double kSequencerBeatsPerSessionBeat = 2.0;

inline double sessionTempoFor(float sequencerTempo) {
  return sequencerTempo / kSequencerBeatsPerSessionBeat;
}

struct MappedTempo {
  float sequencerTempo = 0.0f;  // held within what the sequencer allows
  bool clamped = false;         // the session's tempo was outside it
};

MappedTempo sequencerTempoFor(double sessionTempo);

// Session beats in one bar of the sequencer.
inline double barQuantum(int beatsPerBar) {
  return beatsPerBar / kSequencerBeatsPerSessionBeat;
}

}  // namespace tidewell::link
