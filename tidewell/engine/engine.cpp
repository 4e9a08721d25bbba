#include "tidewell/engine/engine.h"

#include "tidewell/common/random.h"
#include "tidewell/sequencer/settings_reader.h"

namespace tidewell {

void VoiceAndCross::hit(Track& track, const Hit& hit) {
  track.applyVolume();
  track.applyFrequency();
  track.applyPan();
  track.playAfter(hit.delayMs);
  moved(track);
}

void VoiceAndCross::moved(Track& track) {
  picture_.plotCross(intensityForVolume(track.volume), track.plotX, track.plotY);
}

Engine::Engine(Picture& picture, platform::WindowHandle window, const SequencerServices& services,
               const char* settingsPath, const EngineLog& log)
    : picture(picture) {
  picture.resetIntensityMaps();
  if (log) log("starting up");
  sequencer = std::make_unique<Sequencer>(window, services);
  sequencer->hitSinks.attach(&heardAndSeen_);
  readSettings(settingsPath, *sequencer);
  if (log) log(sequencer->folder);
  sequencer->loadAllSamples();
  sequencer->prepareBehaviour();
  if (log) log("loaded sounds up");
}

void Engine::rollPaletteChange() {
  if (drawRandom() % 1000 < sequencer->paletteChangeChance) picture.randomisePalette();
}

void Engine::step() {
  sequencer->tick();
  picture.renderPicture();
  rollPaletteChange();
  picture.fadePalette();
}

}  // namespace tidewell
