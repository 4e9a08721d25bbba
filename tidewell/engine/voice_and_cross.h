#pragma once
// The hits as heard and seen: each hit sets the track's buffers and plays
// one of them at the hit's start, then draws the track's cross, as bright as
// the track is loud, into the picture.
#include "tidewell/sequencer/hit_sink.h"

namespace tidewell {

class Picture;

class VoiceAndCross : public HitSink {
 public:
  explicit VoiceAndCross(Picture& picture) : picture_(picture) {}
  void hit(Track& track, const Hit& hit) override;
  void moved(Track& track) override;

 private:
  Picture& picture_;
};

}  // namespace tidewell
