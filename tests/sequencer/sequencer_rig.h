#pragma once
// A Sequencer on fakes: a stepped clock, an in-memory listing and the
// recording sound layer, in a temporary working directory of its own so that
// sample files written by a test can be loaded for real.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_file_finder.h"
#include "platform/fake/recording_sound.h"
#include "tidewell/engine/engine.h"
#include "tidewell/common/random.h"
#include "tidewell/sequencer/sequencer.h"

namespace tidewell::testing {

// Makes a fresh directory under /tmp the working directory for its lifetime.
class TempWorkingDir {
 public:
  TempWorkingDir();
  ~TempWorkingDir();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// Writes a small mono 8-bit PCM wave file of `frames` frames at 8000 Hz.
void writeWaveFile(const std::string& path, int frames = 400);

// Draws from the process-wide generator until `wanted` holds for a copy of
// it (the draws the code is about to take); false if never within the limit.
bool skipDrawsUntil(const std::function<bool(RandomGenerator)>& wanted, int limit = 200000);

class SequencerRig {
 public:
  // Resets the generator first: the tracks take the first draws of the run.
  SequencerRig();

  Sequencer& seq() { return *sequencer; }

  // Writes the files under `folder` (which ends in "/"), lists them in the
  // fake listing and makes it the sequencer's sample folder.
  void provideFolder(const std::string& folder, const std::vector<std::string>& names);

  // One frame of the clock: advance (by more than 0), then tick. Reports
  // whether a beat came.
  bool tickAfter(std::uint32_t ms);

  // Indices of the tracks that started a buffer since the log was last
  // cleared, in order; clears the log and lets every hit end.
  std::vector<int> takePlayedTracks();

  // The recording fake's id of each buffer of track i.
  std::vector<int> bufferIds(int trackIndex);

  TempWorkingDir dir;
  platform::fake::FakeClock clock;
  platform::fake::FakeFileFinder files;
  platform::fake::RecordingSoundSystem sound;
  std::unique_ptr<Picture> picture = std::make_unique<Picture>();
  VoiceAndCross heardAndSeen{*picture};
  std::unique_ptr<Sequencer> sequencer;
};

}  // namespace tidewell::testing
