#include "tidewell/shell/player_choices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/scratch_folder.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;

class PlayerChoicesTest : public ::testing::Test {
 protected:
  std::size_t filesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(scratch_.path()), fs::directory_iterator{}));
  }
  testing_support::ScratchFolder scratch_;
  const std::string path_ = scratch_.file("choices.txt");
};

TEST_F(PlayerChoicesTest, ChoicesComeBackAfterASaveAndOthersNamesAreKept) {
  std::ofstream(path_) << "midi_out=Synth A\n";
  PlayerChoices choices = PlayerChoices::load(path_);
  ASSERT_TRUE(choices.setFlag("link", true));
  ASSERT_TRUE(choices.save(path_));

  const PlayerChoices again = PlayerChoices::load(path_);
  EXPECT_TRUE(again.flag("link", false));
  EXPECT_EQ(again.text("midi_out").value_or(""), "Synth A");
  EXPECT_EQ(testing_support::readText(path_), "midi_out=Synth A\nlink=1\n");
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(filesInFolder(), 1u);
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
  EXPECT_FALSE(choices.save(scratch_.file("missing/choices.txt")));
  // A folder where the file should be: the save fails and leaves nothing behind.
  fs::create_directories(path_);
  EXPECT_FALSE(choices.save(path_));
  EXPECT_EQ(filesInFolder(), 1u);
}

}  // namespace
}  // namespace tidewell
