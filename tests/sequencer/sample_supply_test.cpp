// Which sample each pick yields: capture names, the shared folder listing and
// its restart, the fallback, and the listing that failed to start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "tests/sequencer/sequencer_rig.h"

namespace tidewell::testing {
namespace {

std::vector<std::string> pickNames(Sequencer& s, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    s.pickSample(i % kTrackCount);
    names.emplace_back(s.tracks[i % kTrackCount].sampleName);
  }
  return names;
}

TEST(SampleSupply, ThreeFilesForFourTracksStartAgainInsideTheFourthPick) {
  SequencerRig rig;
  rig.provideFolder("demo1/", {"c.wav", "a.wav", "b.wav"});
  rig.seq().loadAllSamples();  // four active tracks by default
  const auto& t = rig.seq().tracks;
  EXPECT_STREQ(t[0].sampleName, "demo1/a.wav");
  EXPECT_STREQ(t[1].sampleName, "demo1/b.wav");
  EXPECT_STREQ(t[2].sampleName, "demo1/c.wav");
  EXPECT_STREQ(t[3].sampleName, "demo1/a.wav");
  EXPECT_EQ(rig.files.patterns(), (std::vector<std::string>{"demo1/*.wav", "demo1/*.wav"}));
  EXPECT_EQ(rig.files.openListings(), 1);  // the exhausted one was closed
  // Each active track was loaded with three buffers; the rest were not.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(t[i].buffers.size(), 3u) << i;
  EXPECT_TRUE(t[4].buffers.empty());
  // The listing goes on across tracks and replacements.
  EXPECT_EQ(pickNames(rig.seq(), 1), std::vector<std::string>{"demo1/b.wav"});
}

// A folder without wave files, or none at all: the fallback for the whole
// run, the listing never started again even when files arrive. (The fake and
// the POSIX finder share one listing, whose rules on real folders, case and
// order among them, are the finder's tests.)
TEST(SampleSupply, AFolderWithoutWaveFilesGivesTheFallbackForTheWholeRun) {
  SequencerRig rig;
  rig.files.setFolder("demo1/", {"readme.txt"});
  std::snprintf(rig.seq().folder, kFolderSize, "demo1/");
  EXPECT_EQ(pickNames(rig.seq(), 3), (std::vector<std::string>(3, "C.wav")));
  rig.files.setFolder("demo1/", {"readme.txt", "late.wav"});
  EXPECT_EQ(pickNames(rig.seq(), 3), (std::vector<std::string>(3, "C.wav")));
  EXPECT_EQ(rig.files.patterns().size(), 1u);
  EXPECT_EQ(rig.seq().searchHandle, platform::kInvalidSearch);

  SequencerRig missing;
  std::snprintf(missing.seq().folder, kFolderSize, "nowhere/");
  EXPECT_EQ(pickNames(missing.seq(), 2), (std::vector<std::string>(2, "C.wav")));
  EXPECT_EQ(missing.files.patterns().size(), 1u);
}

TEST(SampleSupply, CaptureRunsNameTheFileTheClockShows) {
  SequencerRig rig;
  rig.seq().inputFormat = 2;
  rig.seq().captureFileIndex = 0;
  rig.seq().pickSample(0);
  EXPECT_STREQ(rig.seq().tracks[0].sampleName, "autoaudio/0.wav");
  rig.seq().captureFileIndex = 10;
  rig.seq().pickSample(1);
  EXPECT_STREQ(rig.seq().tracks[1].sampleName, "autoaudio/10.wav");
  EXPECT_TRUE(rig.files.patterns().empty());
}

// Sources 0, 3 and 4 give the fallback and keep the name a track had; 5 and
// above list the folder as 1 does.
TEST(SampleSupply, OnlyFolderSourcesListTheFolder) {
  for (int source : {0, 3, 4, 5, 9}) {
    SCOPED_TRACE(source);
    const bool lists = source >= 5;
    SequencerRig rig;
    rig.provideFolder("demo1/", {"a.wav"});
    rig.seq().inputFormat = source;
    rig.seq().pickSample(0);
    EXPECT_STREQ(rig.seq().tracks[0].sampleName, lists ? "demo1/a.wav" : "C.wav");
    if (lists) continue;
    std::snprintf(rig.seq().tracks[1].sampleName, kSampleNameSize, "kept.wav");
    rig.seq().pickSample(1);
    EXPECT_STREQ(rig.seq().tracks[1].sampleName, "kept.wav");
    EXPECT_TRUE(rig.files.patterns().empty());
  }
}

TEST(SampleSupply, EmptyFolderAndRootFolderMakeTheirPatterns) {
  for (const auto& [folder, pattern, name] : {std::tuple{"", "*.wav", "here.wav"}, std::tuple{"/", "/*.wav", "/here.wav"}}) {
    SequencerRig rig;
    rig.files.setFolder(folder, {"here.wav"});
    std::snprintf(rig.seq().folder, kFolderSize, "%s", folder);
    rig.seq().pickSample(0);
    EXPECT_STREQ(rig.seq().tracks[0].sampleName, name);
    EXPECT_EQ(rig.files.patterns().back(), pattern);
  }
}

// The longest folder (127 characters, the most the field holds) with a name
// of 255 fits whole; one of 259 (the most a listing entry holds) is cut, not
// overrun.
TEST(SampleSupply, LongNamesFitOrAreCutNeverOverrun) {
  const std::string folder = std::string(126, 'f') + "/";
  for (std::size_t length : {251u, 255u}) {
    SCOPED_TRACE(length);
    SequencerRig rig;
    const std::string file = std::string(length, 'n') + ".wav";
    rig.files.setFolder(folder, {file});
    std::snprintf(rig.seq().folder, kFolderSize, "%s", folder.c_str());
    rig.seq().pickSample(0);
    const std::string whole = folder + file;
    EXPECT_EQ(std::string(rig.seq().tracks[0].sampleName), length == 251 ? whole : whole.substr(0, kSampleNameSize - 1));
  }
}

TEST(SampleSupply, AFolderFieldWithoutTerminatorIsReadOnlyWithinItsSize) {
  SequencerRig rig;
  std::memset(rig.seq().folder, 'x', kFolderSize);  // no terminating zero anywhere
  rig.seq().pickSample(0);
  ASSERT_EQ(rig.files.patterns().size(), 1u);
  EXPECT_EQ(rig.files.patterns()[0], std::string(kFolderSize - 1, 'x') + "*.wav");
  EXPECT_STREQ(rig.seq().tracks[0].sampleName, "C.wav");
}

}  // namespace
}  // namespace tidewell::testing
