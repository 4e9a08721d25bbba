// Which sample each pick yields: capture names, the shared folder listing and
// its restart, the fallback, and the listing that failed to start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/posix/posix_file_finder.h"
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

TEST(SampleSupply, AFolderWithoutWaveFilesGivesTheFallbackForTheWholeRun) {
  SequencerRig rig;
  rig.files.setFolder("demo1/", {"readme.txt"});
  std::snprintf(rig.seq().folder, kFolderSize, "demo1/");
  EXPECT_EQ(pickNames(rig.seq(), 3), (std::vector<std::string>(3, "C.wav")));
  rig.files.setFolder("demo1/", {"readme.txt", "late.wav"});
  EXPECT_EQ(pickNames(rig.seq(), 3), (std::vector<std::string>(3, "C.wav")));
  EXPECT_EQ(rig.files.patterns().size(), 1u);  // never started again
  EXPECT_EQ(rig.seq().searchHandle, platform::kInvalidSearch);
}

TEST(SampleSupply, AMissingFolderFailsTheSameWay) {
  SequencerRig rig;
  std::snprintf(rig.seq().folder, kFolderSize, "nowhere/");
  EXPECT_EQ(pickNames(rig.seq(), 2), (std::vector<std::string>(2, "C.wav")));
  EXPECT_EQ(rig.files.patterns().size(), 1u);
}

TEST(SampleSupply, RealFolderWithoutWaveFilesStaysOnTheFallbackAfterFilesArrive) {
  testing_support::ScratchFolder dir{testing_support::kWorkInside};
  randomGenerator().reset();
  platform::fake::RecordingSoundSystem sound;
  platform::fake::FakeClock clock;
  platform::posix::PosixFileFinder finder;
  Sequencer s(nullptr, SequencerServices{&sound, &clock, &finder});
  std::FILE* f = std::fopen("notes.txt", "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  std::snprintf(s.folder, kFolderSize, "%s/", dir.path().c_str());
  s.pickSample(0);
  EXPECT_STREQ(s.tracks[0].sampleName, "C.wav");
  writeWaveFile(dir.path() + "/arrived.wav");
  s.pickSample(1);
  EXPECT_STREQ(s.tracks[1].sampleName, "C.wav");
}

TEST(SampleSupply, RealFolderDealsMixedCaseNamesInByteOrder) {
  testing_support::ScratchFolder dir{testing_support::kWorkInside};
  randomGenerator().reset();
  platform::fake::RecordingSoundSystem sound;
  platform::fake::FakeClock clock;
  platform::posix::PosixFileFinder finder;
  Sequencer s(nullptr, SequencerServices{&sound, &clock, &finder});
  writeWaveFile("set/b.wav");
  writeWaveFile("set/A.WAV");
  writeWaveFile("set/c.Wav");
  writeWaveFile("set/skip.txt");
  std::snprintf(s.folder, kFolderSize, "set/");
  EXPECT_EQ(pickNames(s, 4),
            (std::vector<std::string>{"set/A.WAV", "set/b.wav", "set/c.Wav", "set/A.WAV"}));
  // An empty folder lists the working directory itself.
  Sequencer here(nullptr, SequencerServices{&sound, &clock, &finder});
  writeWaveFile("top.wav");
  here.pickSample(0);
  EXPECT_STREQ(here.tracks[0].sampleName, "top.wav");
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

TEST(SampleSupply, SourcesZeroThreeAndFourKeepTheNameTheTrackHad) {
  for (int source : {0, 3, 4}) {
    SequencerRig rig;
    rig.provideFolder("demo1/", {"a.wav"});
    rig.seq().inputFormat = source;
    rig.seq().pickSample(0);
    EXPECT_STREQ(rig.seq().tracks[0].sampleName, "C.wav") << source;
    std::snprintf(rig.seq().tracks[1].sampleName, kSampleNameSize, "kept.wav");
    rig.seq().pickSample(1);
    EXPECT_STREQ(rig.seq().tracks[1].sampleName, "kept.wav") << source;
    EXPECT_TRUE(rig.files.patterns().empty()) << source;
  }
}

TEST(SampleSupply, SourcesFiveAndAboveListTheFolder) {
  for (int source : {5, 9}) {
    SequencerRig rig;
    rig.provideFolder("demo1/", {"a.wav"});
    rig.seq().inputFormat = source;
    rig.seq().pickSample(0);
    EXPECT_STREQ(rig.seq().tracks[0].sampleName, "demo1/a.wav") << source;
  }
}

TEST(SampleSupply, EmptyFolderAndRootFolderMakeTheirPatterns) {
  SequencerRig rig;
  rig.files.setFolder("", {"here.wav"});
  rig.seq().pickSample(0);
  EXPECT_STREQ(rig.seq().tracks[0].sampleName, "here.wav");
  EXPECT_EQ(rig.files.patterns().back(), "*.wav");

  SequencerRig root;
  root.files.setFolder("/", {"r.wav"});
  std::snprintf(root.seq().folder, kFolderSize, "/");
  root.seq().pickSample(0);
  EXPECT_STREQ(root.seq().tracks[0].sampleName, "/r.wav");
  EXPECT_EQ(root.files.patterns().back(), "/*.wav");
}

TEST(SampleSupply, TheLongestFolderWithALongFileNameFitsWhole) {
  SequencerRig rig;
  const std::string folder = std::string(126, 'f') + "/";  // 127 characters, the most the field holds
  const std::string file = std::string(251, 'n') + ".wav";  // 255, the longest name a folder can hold
  rig.files.setFolder(folder, {file});
  std::snprintf(rig.seq().folder, kFolderSize, "%s", folder.c_str());
  rig.seq().pickSample(0);
  EXPECT_EQ(std::string(rig.seq().tracks[0].sampleName), folder + file);
}

TEST(SampleSupply, ANameBeyondTheFieldIsCutNotOverrun) {
  SequencerRig rig;
  const std::string folder = std::string(126, 'f') + "/";
  const std::string file = std::string(255, 'n') + ".wav";  // 259, the most a listing entry holds
  rig.files.setFolder(folder, {file});
  std::snprintf(rig.seq().folder, kFolderSize, "%s", folder.c_str());
  rig.seq().pickSample(0);
  EXPECT_EQ(std::string(rig.seq().tracks[0].sampleName), (folder + file).substr(0, kSampleNameSize - 1));
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
