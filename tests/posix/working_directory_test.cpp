#include "platform/posix/working_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/posix/user_folders.h"
#include "tests/support/scratch_folder.h"

namespace platform::posix {
namespace {

namespace fs = std::filesystem;

using testing_support::readText;
using testing_support::ScratchFolder;

void writeText(const ScratchFolder& s, const std::string& relative, const std::string& text) {
  fs::create_directories(fs::path(s.file(relative)).parent_path());
  std::ofstream(s.file(relative)) << text;
}

EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> const char* {
    auto it = values.find(name);
    return it == values.end() ? nullptr : it->second.c_str();
  };
}

TEST(WorkingDirectory, ChoiceFollowsWhereTheProgramLivesAndTheEnvironment) {
  ScratchFolder s;
  fs::create_directories(s.file("prefix/bin"));
  fs::create_directories(s.file("prefix/share/tidewell/data"));
  fs::create_directories(s.file("build/run/data"));
  fs::create_directories(s.file("loose"));
  const std::string installed = s.file("prefix/bin/tidewell-launcher");
  const std::string inRun = s.file("build/run/tidewell");
  const std::string loose = s.file("loose/tidewell");
  const std::string share = s.file("prefix/share/tidewell");
  struct Row {
    const char* what;
    std::string program;
    std::map<std::string, std::string> environment;
    WorkingDirectoryChoice expected;
  };
  const Row rows[] = {
      {"installed, default", installed, {{"HOME", "/home/u"}},
       {"/home/u/.local/share/tidewell", share, true}},
      {"installed, XDG_DATA_HOME", installed, {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/data/u"}},
       {"/data/u/tidewell", share, true}},
      {"installed, relative XDG_DATA_HOME is ignored", installed,
       {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "rel"}}, {"/home/u/.local/share/tidewell", share, true}},
      {"installed, TIDEWELL_HOME wins", installed,
       {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/data/u"}, {"TIDEWELL_HOME", "/elsewhere"}},
       {"/elsewhere", share, true}},
      {"installed, no home at all", installed, {}, {"", share, true}},
      {"a relative TIDEWELL_HOME is taken from where the program starts", loose,
       {{"TIDEWELL_HOME", "mine/../tw"}}, {"/current/tw", "", true}},
      {"run folder stays as it is", inRun, {{"HOME", "/home/u"}}, {s.file("build/run"), "", false}},
      {"run folder under TIDEWELL_HOME is filled from the run folder", inRun,
       {{"TIDEWELL_HOME", "/th"}}, {"/th", s.file("build/run"), true}},
      {"anything else works in the current directory", loose, {{"HOME", "/home/u"}},
       {"/current", "", false}},
  };
  for (const Row& row : rows) {
    const WorkingDirectoryChoice got =
        chooseWorkingDirectory(row.program, environmentOf(row.environment), "/current");
    EXPECT_EQ(got.directory, row.expected.directory) << row.what;
    EXPECT_EQ(got.dataSource, row.expected.dataSource) << row.what;
    EXPECT_EQ(got.prepare, row.expected.prepare) << row.what;
  }
}

TEST(WorkingDirectory, FillingAddsWhatIsMissingAndNeverOverwrites) {
  ScratchFolder s;
  writeText(s, "share/data/text", "font");
  writeText(s, "share/demo1/kick.wav", "kick");
  writeText(s, "share/demo1/snare.wav", "snare");
  writeText(s, "share/demo4/zap.wav", "zap");
  writeText(s, "share/C.wav", "tone");
  writeText(s, "share/unrelated.txt", "not sample data");
  // The user's folder from an earlier start, with a file of their own and
  // an edited sample.
  writeText(s, "home/demo1/kick.wav", "my kick");
  writeText(s, "home/demo1/mine.wav", "mine");
  writeText(s, "home/data/settings.txt", "1,2,");

  std::string error;
  ASSERT_TRUE(fillWorkingDirectory(s.file("home"), s.file("share"), &error)) << error;
  EXPECT_EQ(readText(s.file("home/data/text")), "font");
  EXPECT_EQ(readText(s.file("home/demo1/kick.wav")), "my kick");
  EXPECT_EQ(readText(s.file("home/demo1/snare.wav")), "snare");
  EXPECT_EQ(readText(s.file("home/demo1/mine.wav")), "mine");
  EXPECT_EQ(readText(s.file("home/demo4/zap.wav")), "zap");
  EXPECT_EQ(readText(s.file("home/C.wav")), "tone");
  EXPECT_EQ(readText(s.file("home/data/settings.txt")), "1,2,");
  EXPECT_TRUE(fs::is_directory(s.file("home/autoaudio")));
  EXPECT_FALSE(fs::exists(s.file("home/unrelated.txt")));
  EXPECT_FALSE(fs::exists(s.file("home/demo1/snare.wav.part")));

  // A later start restores a deleted file and leaves everything else.
  fs::remove(s.file("home/C.wav"));
  writeText(s, "home/demo1/snare.wav", "my snare");
  ASSERT_TRUE(fillWorkingDirectory(s.file("home"), s.file("share"), &error)) << error;
  EXPECT_EQ(readText(s.file("home/C.wav")), "tone");
  EXPECT_EQ(readText(s.file("home/demo1/snare.wav")), "my snare");
}

TEST(WorkingDirectory, FolderThatCannotBeMadeIsReported) {
  ScratchFolder s;
  writeText(s, "file", "x");
  std::string error;
  EXPECT_FALSE(fillWorkingDirectory(s.file("file/below"), "", &error));
  EXPECT_NE(error.find(s.file("file/below")), std::string::npos) << error;
}

TEST(UserFolders, MusicFolderFromUserDirsOrHome) {
  ScratchFolder s;
  fs::create_directories(s.file("home/Musik"));
  const auto env = environmentOf({{"HOME", s.file("home")}});
  EXPECT_EQ(musicFolder(env), s.file("home"));  // no user-dirs.dirs yet
  writeText(s, "home/.config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                          "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                          "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  EXPECT_EQ(musicFolder(env), s.file("home/Musik"));
  writeText(s, "home/.config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Gone\"\n");
  EXPECT_EQ(musicFolder(env), s.file("home"));  // named but missing
  fs::create_directories(s.file("cfg"));
  writeText(s, "cfg/user-dirs.dirs", "XDG_MUSIC_DIR=\"" + s.file("home/Musik") + "\"\n");
  EXPECT_EQ(musicFolder(environmentOf({{"HOME", s.file("home")}, {"XDG_CONFIG_HOME", s.file("cfg")}})),
            s.file("home/Musik"));
}

}  // namespace
}  // namespace platform::posix
