#include "platform/posix/working_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/posix/user_folders.h"

namespace platform::posix {
namespace {

namespace fs = std::filesystem;

class Scratch {
 public:
  Scratch() {
    char pattern[] = "/tmp/workdir-test-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~Scratch() { fs::remove_all(root_); }
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }
  void write(const std::string& relative, const std::string& text) const {
    fs::create_directories(fs::path(path(relative)).parent_path());
    std::ofstream(path(relative)) << text;
  }
  std::string read(const std::string& relative) const {
    std::ifstream in(path(relative));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string root_;
};

EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> const char* {
    auto it = values.find(name);
    return it == values.end() ? nullptr : it->second.c_str();
  };
}

TEST(WorkingDirectory, ChoiceFollowsWhereTheProgramLivesAndTheEnvironment) {
  Scratch s;
  fs::create_directories(s.path("prefix/bin"));
  fs::create_directories(s.path("prefix/share/tidewell/data"));
  fs::create_directories(s.path("build/run/data"));
  fs::create_directories(s.path("loose"));
  const std::string installed = s.path("prefix/bin/tidewell-launcher");
  const std::string inRun = s.path("build/run/tidewell");
  const std::string loose = s.path("loose/tidewell");
  const std::string share = s.path("prefix/share/tidewell");
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
      {"run folder stays as it is", inRun, {{"HOME", "/home/u"}}, {s.path("build/run"), "", false}},
      {"run folder under TIDEWELL_HOME is filled from the run folder", inRun,
       {{"TIDEWELL_HOME", "/th"}}, {"/th", s.path("build/run"), true}},
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
  Scratch s;
  s.write("share/data/text", "font");
  s.write("share/demo1/kick.wav", "kick");
  s.write("share/demo1/snare.wav", "snare");
  s.write("share/demo4/zap.wav", "zap");
  s.write("share/C.wav", "tone");
  s.write("share/unrelated.txt", "not sample data");
  // The user's folder from an earlier start, with a file of their own and
  // an edited sample.
  s.write("home/demo1/kick.wav", "my kick");
  s.write("home/demo1/mine.wav", "mine");
  s.write("home/data/settings.txt", "1,2,");

  std::string error;
  ASSERT_TRUE(fillWorkingDirectory(s.path("home"), s.path("share"), &error)) << error;
  EXPECT_EQ(s.read("home/data/text"), "font");
  EXPECT_EQ(s.read("home/demo1/kick.wav"), "my kick");
  EXPECT_EQ(s.read("home/demo1/snare.wav"), "snare");
  EXPECT_EQ(s.read("home/demo1/mine.wav"), "mine");
  EXPECT_EQ(s.read("home/demo4/zap.wav"), "zap");
  EXPECT_EQ(s.read("home/C.wav"), "tone");
  EXPECT_EQ(s.read("home/data/settings.txt"), "1,2,");
  EXPECT_TRUE(fs::is_directory(s.path("home/autoaudio")));
  EXPECT_FALSE(fs::exists(s.path("home/unrelated.txt")));
  EXPECT_FALSE(fs::exists(s.path("home/demo1/snare.wav.part")));

  // A later start restores a deleted file and leaves everything else.
  fs::remove(s.path("home/C.wav"));
  s.write("home/demo1/snare.wav", "my snare");
  ASSERT_TRUE(fillWorkingDirectory(s.path("home"), s.path("share"), &error)) << error;
  EXPECT_EQ(s.read("home/C.wav"), "tone");
  EXPECT_EQ(s.read("home/demo1/snare.wav"), "my snare");
}

TEST(WorkingDirectory, FolderThatCannotBeMadeIsReported) {
  Scratch s;
  s.write("file", "x");
  std::string error;
  EXPECT_FALSE(fillWorkingDirectory(s.path("file/below"), "", &error));
  EXPECT_NE(error.find(s.path("file/below")), std::string::npos) << error;
}

TEST(UserFolders, MusicFolderFromUserDirsOrHome) {
  Scratch s;
  fs::create_directories(s.path("home/Musik"));
  const auto env = environmentOf({{"HOME", s.path("home")}});
  EXPECT_EQ(musicFolder(env), s.path("home"));  // no user-dirs.dirs yet
  s.write("home/.config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                          "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                          "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  EXPECT_EQ(musicFolder(env), s.path("home/Musik"));
  s.write("home/.config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Gone\"\n");
  EXPECT_EQ(musicFolder(env), s.path("home"));  // named but missing
  fs::create_directories(s.path("cfg"));
  s.write("cfg/user-dirs.dirs", "XDG_MUSIC_DIR=\"" + s.path("home/Musik") + "\"\n");
  EXPECT_EQ(musicFolder(environmentOf({{"HOME", s.path("home")}, {"XDG_CONFIG_HOME", s.path("cfg")}})),
            s.path("home/Musik"));
}

}  // namespace
}  // namespace platform::posix
