#pragma once
// The music and the picture behind one frame step, shared by the frame loop
// and the offline render so that the two cannot drift apart.
#include <functional>
#include <memory>

#include "tidewell/picture/picture.h"
#include "tidewell/sequencer/sequencer.h"

namespace tidewell {

// The hits as heard and seen: each hit sets the track's buffers and plays
// one of them at the hit's start, then draws the track's cross, as bright as
// the track is loud, into the picture.
class VoiceAndCross : public HitSink {
 public:
  explicit VoiceAndCross(Picture& picture) : picture_(picture) {}
  void hit(Track& track, const Hit& hit) override;
  void moved(Track& track) override;

 private:
  Picture& picture_;
};

using EngineLog = std::function<void(const char* line)>;  // where start-up lines go

class Engine {
 public:
  // The start-up that needs no display: fresh intensity maps, "starting up",
  // the sequencer over the services, the settings file (its sample folder
  // logged), the first samples and their placement, "loaded sounds up".
  Engine(Picture& picture, platform::WindowHandle window, const SequencerServices& services,
         const char* settingsPath, const EngineLog& log);

  void step();  // the tick, the picture, the palette roll, the fade
  // The per-mille roll for a new target palette: one draw, four more when it fires.
  void rollPaletteChange();

  Picture& picture;
  std::unique_ptr<Sequencer> sequencer;

 private:
  VoiceAndCross heardAndSeen_{picture};
};

}  // namespace tidewell
