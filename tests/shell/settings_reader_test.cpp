#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tidewell/common/random.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/sequencer/settings_reader.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;

class SettingsReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("settings_test_" + std::to_string(::getpid()));
    fs::create_directories(directory_ / "data");
    previous_ = fs::current_path();
    fs::current_path(directory_);
    randomGenerator().reset();
    sequencer_ = std::make_unique<Sequencer>(nullptr, SequencerServices{});
  }
  void TearDown() override {
    sequencer_.reset();
    fs::current_path(previous_);
    fs::remove_all(directory_);
  }

  Sequencer& read(const std::string& content) {
    std::ofstream(kSettingsPath, std::ios::binary) << content;
    readSettings(kSettingsPath, *sequencer_);
    return *sequencer_;
  }

  fs::path directory_;
  fs::path previous_;
  std::unique_ptr<Sequencer> sequencer_;
};

TEST_F(SettingsReaderTest, LauncherDefaultsGiveTheirFields) {
  Sequencer& s = read("1,0,0,0,0,0,0,2,2,demo1,currently disabled,");
  EXPECT_EQ(s.inputFormat, 1);
  EXPECT_EQ(s.beatsPerBar, 4);
  EXPECT_EQ(s.timeSignatureMutation, 0);
  EXPECT_EQ(s.behaviour, 1);
  EXPECT_EQ(s.behaviourMutation, 0);
  EXPECT_EQ(s.waveform, 1);
  EXPECT_EQ(s.waveformMutation, 0);
  EXPECT_EQ(s.activeTrackCount, 3);
  EXPECT_FLOAT_EQ(s.tempo, 600.0f);
  EXPECT_FLOAT_EQ(s.beatInterval, 100.0f);
  EXPECT_STREQ(s.folder, "demo1/");
}

TEST_F(SettingsReaderTest, DemoPresetsReadAsTheirTablesSay) {
  Sequencer& percussive = read("1,7,0,2,0,0,0,3,3,demo1,none,");
  EXPECT_EQ(percussive.beatsPerBar, 8);  // "7" is outside the table
  EXPECT_EQ(percussive.behaviour, 3);
  EXPECT_EQ(percussive.activeTrackCount, 4);
  EXPECT_FLOAT_EQ(percussive.tempo, 700.0f);
  EXPECT_EQ(percussive.beatInterval, 1000.0f / (700.0f / 60.0f));

  sequencer_ = std::make_unique<Sequencer>(nullptr, SequencerServices{});
  Sequencer& ambient = read("1,0,1,0,0,0,0,2,0,demo2,none,");
  EXPECT_EQ(ambient.beatsPerBar, 4);
  EXPECT_EQ(ambient.timeSignatureMutation, 15);
  EXPECT_EQ(ambient.behaviour, 1);
  EXPECT_EQ(ambient.activeTrackCount, 3);
  EXPECT_FLOAT_EQ(ambient.beatInterval, 1000.0f);
  EXPECT_STREQ(ambient.folder, "demo2/");

  sequencer_ = std::make_unique<Sequencer>(nullptr, SequencerServices{});
  Sequencer& piano = read("1,5,0,2,0,0,0,5,3,demo3,none,");
  EXPECT_EQ(piano.beatsPerBar, 8);
  EXPECT_EQ(piano.activeTrackCount, 6);
  EXPECT_STREQ(piano.folder, "demo3/");

  sequencer_ = std::make_unique<Sequencer>(nullptr, SequencerServices{});
  Sequencer& instagib = read("1,5,1,0,1,0,0,3,3,demo4,none,");
  EXPECT_EQ(instagib.beatsPerBar, 8);
  EXPECT_EQ(instagib.timeSignatureMutation, 15);
  EXPECT_EQ(instagib.behaviourMutation, 15);
  EXPECT_EQ(instagib.behaviour, 1);
  EXPECT_STREQ(instagib.folder, "demo4/");
}

TEST_F(SettingsReaderTest, CaptureRunSetsTheInputSourceOnly) {
  Sequencer& s = read("2,4,4,2,3,1,2,7,4,demo1,currently disabled,");
  EXPECT_EQ(s.inputFormat, 2);
  EXPECT_EQ(s.beatsPerBar, 8);
  EXPECT_EQ(s.timeSignatureMutation, 100);
  EXPECT_EQ(s.behaviour, 3);
  EXPECT_EQ(s.behaviourMutation, 50);
  EXPECT_EQ(s.waveform, 2);
  EXPECT_EQ(s.waveformMutation, 25);
  EXPECT_EQ(s.activeTrackCount, 8);
  EXPECT_FLOAT_EQ(s.beatInterval, 60.0f);
}

TEST_F(SettingsReaderTest, WhiteSpaceIsInvisibleAndAnySeparatorServes) {
  Sequencer& s = read(" 1;\t0 |0\r\n,0,0 ,0\n,0,2x2 , my demo folder ,ignored,");
  EXPECT_EQ(s.beatsPerBar, 4);
  EXPECT_EQ(s.activeTrackCount, 3);
  EXPECT_FLOAT_EQ(s.tempo, 600.0f);
  EXPECT_STREQ(s.folder, "mydemofolder/");
}

TEST_F(SettingsReaderTest, EmptyFolderFieldGivesTheRoot) {
  EXPECT_STREQ(read("1,0,0,0,0,0,0,2,2,,none,").folder, "/");
}

TEST_F(SettingsReaderTest, UnknownTempoKeepsTheTempoButRecomputesTheInterval) {
  sequencer_->beatInterval = 1.0f;  // out of step, so the recomputation shows
  Sequencer& s = read("1,0,0,0,0,0,0,2,7,demo1,none,");
  EXPECT_FLOAT_EQ(s.tempo, 900.0f);
  EXPECT_EQ(s.beatInterval, 1000.0f / (900.0f / 60.0f));
  EXPECT_NEAR(s.beatInterval, 66.666664f, 1e-5);
}

TEST_F(SettingsReaderTest, TwoDigitFieldShiftsEveryLaterField) {
  Sequencer& s = read("1,0,0,0,0,0,0,12,2,demo1,none,");
  EXPECT_EQ(s.activeTrackCount, 2);   // "1"
  EXPECT_FLOAT_EQ(s.tempo, 900.0f);   // "," is no tempo
  EXPECT_STREQ(s.folder, "/");        // the folder ends at the next ","
}

TEST_F(SettingsReaderTest, LongFolderIsCutToFitWithTheSlash) {
  const std::string name(300, 'f');
  Sequencer& s = read("1,0,0,0,0,0,0,2,2," + name + ",none,");
  EXPECT_EQ(std::string(s.folder), std::string(126, 'f') + "/");
}

TEST_F(SettingsReaderTest, MissingFileChangesNothing) {
  fs::remove(kSettingsPath);
  readSettings(kSettingsPath, *sequencer_);
  EXPECT_EQ(sequencer_->activeTrackCount, 4);
  EXPECT_EQ(sequencer_->behaviour, 3);
  EXPECT_STREQ(sequencer_->folder, "");
}

// A file cut short anywhere reads the fields it holds and leaves the rest.
TEST_F(SettingsReaderTest, FileCutShortAtEveryLength) {
  const std::string full = "2,1,1,1,1,1,1,6,0,somewhere,none,";
  for (std::size_t length = 0; length <= full.size(); ++length) {
    sequencer_ = std::make_unique<Sequencer>(nullptr, SequencerServices{});
    Sequencer& s = read(full.substr(0, length));
    SCOPED_TRACE(length);
    EXPECT_EQ(s.inputFormat, length >= 1 ? 2 : 1);
    EXPECT_EQ(s.beatsPerBar, length >= 3 ? 5 : 8);
    EXPECT_EQ(s.activeTrackCount, length >= 15 ? 7 : 4);
    EXPECT_FLOAT_EQ(s.tempo, length >= 17 ? 60.0f : 900.0f);
    EXPECT_EQ(s.beatInterval, beatIntervalFor(s.tempo));
    const std::string folder = s.folder;
    if (length <= 17) {
      EXPECT_EQ(folder, "");
    } else {
      const std::string typed = full.substr(18, std::min<std::size_t>(length - 18, 9));
      EXPECT_EQ(folder, typed + "/");
    }
  }
}

}  // namespace
}  // namespace tidewell
