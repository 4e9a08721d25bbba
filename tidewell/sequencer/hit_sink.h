#pragma once
// Where a sounding hit goes: the sequencer decides which track sounds when
// and hands each hit to every sink attached, so another output can sit
// beside the voices and the picture without touching the sequencer.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tidewell {

class Track;

struct Hit {
  int trackIndex = 0;          // among the active tracks
  std::int32_t volume = 0;     // hundredths of a decibel, 0 the loudest
  std::int32_t pan = 0;        // -10000 left .. 10000 right
  std::int32_t frequency = 0;  // playback rate in Hz
  std::uint32_t sampleRate = 0;  // the sample's own rate; 0 when not known
  double beatTime = 0.0;  // the beat's ideal time, in the beat source's own milliseconds
  double delayMs = 0.0;   // the hit starts this long after the output's "now"
};

class HitSink {
 public:
  virtual ~HitSink() = default;
  virtual void hit(Track& track, const Hit& hit) = 0;
  // The track moved in pitch or pan without sounding.
  virtual void moved(Track&) {}
};

// Every hit to each sink, in the order they were attached.
class HitFanOut : public HitSink {
 public:
  void attach(HitSink* sink) { sinks_.push_back(sink); }
  void detach(HitSink* sink) { sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end()); }
  void hit(Track& track, const Hit& hit) override {
    for (HitSink* sink : sinks_) sink->hit(track, hit);
  }
  void moved(Track& track) override {
    for (HitSink* sink : sinks_) sink->moved(track);
  }

 private:
  std::vector<HitSink*> sinks_;
};

}  // namespace tidewell
