// The orderly end: tracks from the last to the first, each stopping and
// letting go of its buffers, and the sound device after all of them.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sequencer/sequencer_rig.h"

namespace tidewell::testing {
namespace {

using platform::fake::SoundCallKind;

TEST(SequencerLifetime, TracksEndInReverseBeforeTheDevice) {
  SequencerRig rig;
  rig.seq().activeTrackCount = 3;
  rig.provideFolder("demo1/", {"a.wav", "b.wav"});
  rig.seq().loadAllSamples();
  std::vector<std::vector<int>> ids;
  for (int t = 0; t < 3; ++t) ids.push_back(rig.bufferIds(t));
  for (int t = 0; t < 3; ++t) ASSERT_EQ(ids[t].size(), 3u);
  const int primary = platform::fake::RecordingSoundSystem::idOf(rig.seq().audioDevice->primaryBuffer);
  ASSERT_GE(primary, 0);
  rig.seq().tracks[1].play(0);  // one buffer still sounding at the end
  rig.sound.clearLog();

  rig.sequencer.reset();

  // Position of each buffer's stop and release in the log.
  const auto& log = rig.sound.log();
  auto position = [&](SoundCallKind kind, int id) {
    for (std::size_t i = 0; i < log.size(); ++i) {
      if (log[i].kind == kind && log[i].buffer == id) return static_cast<int>(i);
    }
    return -1;
  };
  int previousTrackEnd = -1;
  for (int t = 2; t >= 0; --t) {
    int lastRelease = -1;
    for (int id : ids[t]) {
      const int stop = position(SoundCallKind::kStop, id);
      const int release = position(SoundCallKind::kRelease, id);
      ASSERT_GE(stop, 0) << "track " << t << " buffer " << id << "\n" << rig.sound.describeLog();
      ASSERT_GT(release, stop) << rig.sound.describeLog();
      EXPECT_GT(stop, previousTrackEnd) << "track " << t << " ends after the one above it";
      lastRelease = std::max(lastRelease, release);
      EXPECT_TRUE(rig.sound.buffer(id)->released);
      EXPECT_FALSE(rig.sound.buffer(id)->playing);
    }
    previousTrackEnd = lastRelease;
  }
  EXPECT_GT(position(SoundCallKind::kRelease, primary), previousTrackEnd) << rig.sound.describeLog();
}

TEST(SequencerLifetime, UnloadedTracksEndQuietly) {
  SequencerRig rig;
  rig.sound.clearLog();
  rig.sequencer.reset();
  for (const auto& call : rig.sound.log()) {
    EXPECT_NE(call.kind, SoundCallKind::kStop) << rig.sound.describeLog();
  }
}

}  // namespace
}  // namespace tidewell::testing
