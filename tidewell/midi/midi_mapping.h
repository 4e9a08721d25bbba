#pragma once
// How a hit's sound becomes MIDI: the note from its playback rate against
// the sample's own rate, the velocity from its volume, controller 10 from its
// pan, and the clock's spacing from the tempo.
#include <cstdint>

namespace tidewell::midi {

// A sample played at its own rate sounds as middle C.
constexpr int kMiddleC = 60;
// Pitch bend: centre and the usual synth range of two semitones each way.
constexpr int kBendCentre = 8192;
constexpr double kBendRangeSemitones = 2.0;
// MIDI clocks per session beat (a session beat is two sequencer beats).
constexpr int kClocksPerBeat = 24;

// Semitones from the sample's own rate to the playback rate, 12 a doubling.
double semitonesFromOwnRate(std::uint32_t frequency, std::uint32_t sampleRate);

// The nearest note to middle C + semitones heard under a bend of
// bendSemitones already set on the channel, held within 0..127.
int nearestNote(double semitones, double bendSemitones);

// The pitch-bend value (0..16383) for a bend in semitones within the range.
int bendValue(double bendSemitones);

// Velocity 1..127 from a volume in hundredths of a decibel: 127 x
// 10^(volume / 4000), the inverse of the square law most synths apply to
// velocity, so a note is as loud against full level as the sample would be;
// the sequencer's floor of -25 dB still gives 30. Above 0 counts as 0.
int velocityFor(std::int32_t volume);

// Controller 10 from a pan of -10000..10000: 0 full left, 64 centre, 127
// full right.
int panControllerFor(std::int32_t pan);

// Milliseconds between two MIDI clocks at the sequencer's tempo field (the
// session tempo is half of it).
double clockIntervalMs(float tempo);

}  // namespace tidewell::midi
