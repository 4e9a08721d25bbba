#include "tidewell/shell/player_choices.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tidewell {
namespace {

namespace fs = std::filesystem;

class PlayerChoicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("choices_test_" + std::to_string(::getpid()));
    fs::create_directories(directory_);
    path_ = (directory_ / "choices.txt").string();
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string fileText() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path directory_;
  std::string path_;
};

TEST_F(PlayerChoicesTest, ChoicesComeBackAfterASaveAndOthersNamesAreKept) {
  std::ofstream(path_) << "midi_out=Synth A\n";
  PlayerChoices choices = PlayerChoices::load(path_);
  ASSERT_TRUE(choices.setFlag("link", true));
  ASSERT_TRUE(choices.save(path_));

  const PlayerChoices again = PlayerChoices::load(path_);
  EXPECT_TRUE(again.flag("link", false));
  EXPECT_EQ(again.text("midi_out").value_or(""), "Synth A");
  EXPECT_EQ(fileText(), "midi_out=Synth A\nlink=1\n");
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator{}), 1);
}

TEST_F(PlayerChoicesTest, OddLinesAreSkippedAndTheGoodOnesRead) {
  const std::string text = std::string("# a note\r\n\n   \njunk without equals\n=no name\n") +
                           "bad name=1\n  link = ON \r\nlink=off\nfast=maybe\n" +
                           std::string("bin\0ary=1\n", 10) + "x=" + std::string(2000, 'v') +
                           "\nlast=yes";
  const PlayerChoices choices = PlayerChoices::parse(text);
  EXPECT_FALSE(choices.flag("link", true));  // the later line wins
  EXPECT_TRUE(choices.flag("fast", true));   // not a yes or no: the fallback
  EXPECT_FALSE(choices.flag("fast", false));
  EXPECT_TRUE(choices.flag("last", false));  // no line break at the end
  EXPECT_FALSE(choices.text("x").has_value());
  EXPECT_EQ(choices.serialise(), "link=off\nfast=maybe\nlast=yes\n");
}

TEST_F(PlayerChoicesTest, AValueThatWouldBreakTheFileIsRefused) {
  PlayerChoices choices;
  EXPECT_FALSE(choices.setText("midi_out", "two\nlines"));
  EXPECT_FALSE(choices.setText("has space", "1"));
  EXPECT_FALSE(choices.setText("", "1"));
  EXPECT_EQ(choices.serialise(), "");
}

TEST_F(PlayerChoicesTest, AMissingFileReadsAsEmptyAndAFolderThatIsNotThereFailsTheSave) {
  EXPECT_TRUE(PlayerChoices::load(path_).flag("link", true));
  PlayerChoices choices;
  choices.setFlag("link", true);
  EXPECT_FALSE(choices.save((directory_ / "missing" / "choices.txt").string()));
  // A folder where the file should be: the save fails and leaves nothing behind.
  fs::create_directories(path_);
  EXPECT_FALSE(choices.save(path_));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator{}), 1);
}

}  // namespace
}  // namespace tidewell
