#include "tests/sequencer/sequencer_rig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tidewell::testing {

TempWorkingDir::TempWorkingDir() {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) != nullptr) previous_ = cwd;
  char tmpl[] = "/tmp/tidewell_seq_XXXXXX";
  if (mkdtemp(tmpl) != nullptr) path_ = tmpl;
  if (path_.empty() || chdir(path_.c_str()) != 0) ADD_FAILURE() << "no temporary working directory";
}

TempWorkingDir::~TempWorkingDir() {
  if (!previous_.empty() && chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previous_;
  if (!path_.empty()) {
    const int rc = std::system(("rm -rf '" + path_ + "'").c_str());
    (void)rc;
  }
}

namespace {

void putLe(std::FILE* f, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), f);
}

}  // namespace

void writeWaveFile(const std::string& path, int frames) {
  const auto slash = path.rfind('/');
  if (slash != std::string::npos) mkdir(path.substr(0, slash).c_str(), 0755);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  const auto dataBytes = static_cast<std::uint32_t>(frames);
  std::fwrite("RIFF", 1, 4, f);
  putLe(f, 4 + 8 + 16 + 8 + dataBytes, 4);
  std::fwrite("WAVEfmt ", 1, 8, f);
  putLe(f, 16, 4);
  putLe(f, 1, 2);     // PCM
  putLe(f, 1, 2);     // mono
  putLe(f, 8000, 4);  // frames per second
  putLe(f, 8000, 4);  // bytes per second
  putLe(f, 1, 2);     // block alignment
  putLe(f, 8, 2);     // bits
  std::fwrite("data", 1, 4, f);
  putLe(f, dataBytes, 4);
  for (int i = 0; i < frames; ++i) std::fputc((i % 16) < 8 ? 0x60 : 0xA0, f);
  std::fclose(f);
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
