#include "launcher/settings_line.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

TEST(SettingsLine, EachDemoIgnoresTheOtherChoices) {
  const char* expected[kDemoCount] = {
      "1,7,0,2,0,0,0,3,3,demo1,none,", "1,0,1,0,0,0,0,2,0,demo2,none,",
      "1,5,0,2,0,0,0,5,3,demo3,none,", "1,5,1,0,1,0,0,3,3,demo4,none,"};
  SetupChoices odd;
  odd.timeSignature = 3;
  odd.tempo = 4;
  odd.channels = 0;
  odd.folder = "elsewhere";
  odd.keyword = "words";
  for (int demo = 0; demo < kDemoCount; ++demo) {
    odd.demo = demo;
    EXPECT_EQ(composeSettingsLine(kRequestDemo, odd), expected[demo]) << demo;
  }
}

TEST(SettingsLine, LongTextsAreCutAt127Characters) {
  SetupChoices c;
  c.folder = std::string(73, 'a') + std::string(127, 'b');
  c.keyword = std::string(300, 'k');
  const std::string line = composeSettingsLine(kRequestLocalFolder, c);
  const std::string expected = "1,0,0,0,0,0,0,2,2," + c.folder.substr(0, 127) + "," +
                               std::string(127, 'k') + ",";
  EXPECT_EQ(line, expected);
}

TEST(SettingsLine, SeparatorInAFolderIsWrittenAsTyped) {
  SetupChoices c;
  c.folder = "a,b";
  EXPECT_EQ(composeSettingsLine(kRequestLocalFolder, c), "1,0,0,0,0,0,0,2,2,a,b,currently disabled,");
}

// The file is replaced whole and has no line end; a folder that is not
// there is reported with the reason.
TEST(SettingsFile, IsReplacedAndAMissingFolderIsReported) {
  testing_support::ScratchFolder dir{testing_support::kWorkInside, {"data"}};
  std::string error;
  EXPECT_TRUE(writeSettingsFile("data/settings.txt", std::string(500, 'x'), &error));
  EXPECT_TRUE(writeSettingsFile("data/settings.txt", "1,2,", &error));
  EXPECT_EQ(testing_support::readText("data/settings.txt"), "1,2,");
  EXPECT_EQ(error, "");
  EXPECT_FALSE(writeSettingsFile("nowhere/settings.txt", "1,", &error));
  EXPECT_EQ(error, "Can not write nowhere/settings.txt: No such file or directory");
  EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

}  // namespace
}  // namespace launcher
