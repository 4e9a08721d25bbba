#include "tests/sequencer/sequencer_rig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "tests/support/wav_image.h"

namespace tidewell::testing {

void writeWaveFile(const std::string& path, int frames) {
  const auto slash = path.rfind('/');
  if (slash != std::string::npos) mkdir(path.substr(0, slash).c_str(), 0755);
  testing_support::Bytes data(static_cast<std::size_t>(frames));
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = (i % 16) < 8 ? 0x60 : 0xA0;
  ASSERT_TRUE(testing_support::writeFile(path, testing_support::waveFile(testing_support::formatBlock(1, 1, 8000, 8), data)))
      << path;
}

bool skipDrawsUntil(const std::function<bool(RandomGenerator)>& wanted, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (wanted(randomGenerator())) return true;
    randomGenerator().next();
  }
  return false;
}

SequencerRig::SequencerRig() {
  randomGenerator().reset();
  SequencerServices services;
  services.sound = &sound;
  services.clock = &clock;
  services.files = &files;
  sequencer = std::make_unique<Sequencer>(nullptr, services);
  sequencer->hitSinks.attach(&heardAndSeen);
}

void SequencerRig::provideFolder(const std::string& folder, const std::vector<std::string>& names) {
  for (const auto& name : names) writeWaveFile(folder + name);
  files.setFolder(folder, names);
  std::snprintf(sequencer->folder, sizeof sequencer->folder, "%s", folder.c_str());
}

bool SequencerRig::tickAfter(std::uint32_t ms) {
  const double before = sequencer->beatElapsed;
  clock.advance(ms);
  sequencer->tick();
  // Time went on, so only a beat takes the elapsed time below what it grew to.
  return ms != 0 && sequencer->beatElapsed < before + ms;
}

std::vector<int> SequencerRig::bufferIds(int trackIndex) {
  std::vector<int> ids;
  for (const auto& buffer : sequencer->tracks[trackIndex].buffers) {
    ids.push_back(platform::fake::RecordingSoundSystem::idOf(buffer));
  }
  return ids;
}

std::vector<int> SequencerRig::takePlayedTracks() {
  std::vector<int> played;
  for (const auto& call : sound.calls(platform::fake::SoundCallKind::kPlay)) {
    for (int t = 0; t < kTrackCount; ++t) {
      for (int id : bufferIds(t)) {
        if (id == call.buffer) played.push_back(t);
      }
    }
  }
  sound.clearLog();
  sound.finishAll();
  return played;
}

}  // namespace tidewell::testing
