#pragma once
// A tempo and beat grid shared with other music programs on the local
// network, in the shape of an Ableton Link session: a timeline that maps the
// timeline's own clock (microseconds) to beats, whose phase against a
// quantum (a bar of so many beats) is the same for every peer.
//
// Everything here runs on the main thread and returns at once: the network
// lives on the layer's own threads, and capture() copies what they last
// agreed so that the reads after it see one consistent timeline.
#include <cstdint>
#include <string>

namespace platform {

class SharedTimeline {
 public:
  virtual ~SharedTimeline() = default;

  // Starts or stops taking part in the session. False when the network
  // cannot be used (no interface, no socket), with the reason in `problem`;
  // the timeline then stays off.
  virtual bool enable(bool on, std::string* problem) = 0;
  virtual bool enabled() const = 0;
  // Other programs in the session now.
  virtual int peerCount() const = 0;

  // The timeline's clock, in microseconds.
  virtual std::int64_t nowMicros() const = 0;

  // A fresh copy of the session's timeline for the reads below.
  virtual void capture() = 0;
  // The session's tempo in beats per minute.
  virtual double tempo() const = 0;
  // The beat at a moment; its phase against `quantum` is the session's.
  virtual double beatAtTime(std::int64_t micros, double quantum) const = 0;
  // The same beat's phase, 0 <= phase < quantum.
  virtual double phaseAtTime(std::int64_t micros, double quantum) const = 0;
  // The moment of a beat: beatAtTime's inverse at the current tempo.
  virtual std::int64_t timeAtBeat(double beat, double quantum) const = 0;
  // Asks the whole session for a new tempo from `atMicros` on; the beat at
  // that moment stays where it was.
  virtual void setTempo(double bpm, std::int64_t atMicros) = 0;
};

}  // namespace platform
