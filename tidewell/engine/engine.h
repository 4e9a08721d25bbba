#pragma once
// The music and the picture behind one frame step, shared by the live frame
// loop and the offline render so that the two cannot drift apart.
#include <functional>
#include <memory>

#include "tidewell/engine/voice_and_cross.h"
#include "tidewell/picture/picture.h"
#include "tidewell/sequencer/sequencer.h"

namespace tidewell {

// Where the engine's start-up lines go.
using EngineLog = std::function<void(const char* line)>;

class Engine {
 public:
  // The start-up that needs no display: fresh intensity maps, "starting up",
  // the sequencer over the services, the settings file (its sample folder
  // logged), the first samples and their placement, "loaded sounds up".
  Engine(Picture& picture, platform::WindowHandle window, const SequencerServices& services,
         const char* settingsPath, const EngineLog& log);

  // One frame of the engine: the tick, the picture, the palette roll, the fade.
  void step();
  // The frame's per-mille roll for a new target palette (one draw, and four
  // more when it fires).
  void rollPaletteChange();

  Picture& picture;
  std::unique_ptr<Sequencer> sequencer;

 private:
  VoiceAndCross heardAndSeen_{picture};
};

}  // namespace tidewell
