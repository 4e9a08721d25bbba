// The POSIX listing on real folders made under a temporary directory.
#include "platform/posix/posix_file_finder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace {

using platform::FindData;
using platform::kInvalidSearch;
using platform::SearchHandle;

class PosixFileFinderTest : public ::testing::Test {
 protected:
  void touch(const std::string& relative) {
    FILE* f = std::fopen((root_ + "/" + relative).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  void makeDir(const std::string& relative) { ASSERT_EQ(mkdir((root_ + "/" + relative).c_str(), 0755), 0); }

  // Every name the listing gives for a pattern, in order; closes it.
  std::vector<std::string> listAll(const std::string& pattern) {
    std::vector<std::string> names;
    FindData data{};
    const SearchHandle handle = finder_.findFirstFile(pattern.c_str(), &data);
    if (handle == kInvalidSearch) return names;
    names.emplace_back(data.fileName);
    while (finder_.findNextFile(handle, &data)) names.emplace_back(data.fileName);
    EXPECT_EQ(finder_.getLastError(), platform::ERROR_NO_MORE_FILES);
    EXPECT_TRUE(finder_.findClose(handle));
    return names;
  }

  testing_support::ScratchFolder scratch_;
  const std::string root_ = scratch_.path();
  platform::posix::PosixFileFinder finder_;
};

TEST_F(PosixFileFinderTest, ListsWaveFilesOfAnyCaseSortedByName) {
  touch("b.wav");
  touch("A.WAV");
  touch("c.Wav");
  touch("notes.txt");
  touch("wav");       // no dot: not a .wav name
  makeDir("d.wav");   // a folder is not a sample
  EXPECT_EQ(listAll(root_ + "/*.wav"), (std::vector<std::string>{"A.WAV", "b.wav", "c.Wav"}));
  // A listing reads its folder when it starts: a file added meanwhile waits for the next one.
  FindData data{};
  const SearchHandle handle = finder_.findFirstFile((root_ + "/*.wav").c_str(), &data);
  touch("a.wav");
  std::vector<std::string> names{data.fileName};
  while (finder_.findNextFile(handle, &data)) names.emplace_back(data.fileName);
  finder_.findClose(handle);
  EXPECT_EQ(names, (std::vector<std::string>{"A.WAV", "b.wav", "c.Wav"}));
}

TEST_F(PosixFileFinderTest, FolderWithoutMatchesAndMissingFolderFail) {
  touch("readme.txt");
  FindData data{};
  EXPECT_EQ(finder_.findFirstFile((root_ + "/*.wav").c_str(), &data), kInvalidSearch);
  EXPECT_EQ(finder_.getLastError(), platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(finder_.findFirstFile((root_ + "/missing/*.wav").c_str(), &data), kInvalidSearch);
  EXPECT_EQ(finder_.getLastError(), platform::ERROR_PATH_NOT_FOUND);
}

TEST_F(PosixFileFinderTest, BadHandlesAreRefused) {
  FindData data{};
  EXPECT_FALSE(finder_.findNextFile(kInvalidSearch, &data));
  EXPECT_EQ(finder_.getLastError(), platform::ERROR_INVALID_HANDLE);
  touch("x.wav");
  const SearchHandle handle = finder_.findFirstFile((root_ + "/*.wav").c_str(), &data);
  ASSERT_NE(handle, kInvalidSearch);
  EXPECT_TRUE(finder_.findClose(handle));
  EXPECT_FALSE(finder_.findNextFile(handle, &data));
  EXPECT_EQ(finder_.getLastError(), platform::ERROR_INVALID_HANDLE);
  EXPECT_FALSE(finder_.findClose(handle));
}

TEST_F(PosixFileFinderTest, EmptyFolderPartListsTheWorkingDirectory) {
  touch("here.wav");
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(root_.c_str()), 0);
  const auto names = listAll("*.wav");
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(names, std::vector<std::string>{"here.wav"});
}

TEST(PosixFileFinderRoot, SlashAloneListsTheRootDirectory) {
  // The root holds no .wav files on a normal machine; what matters is that the
  // folder is found (a missing folder would say "path not found").
  platform::posix::PosixFileFinder finder;
  FindData data{};
  const SearchHandle handle = finder.findFirstFile("/*", &data);
  ASSERT_NE(handle, kInvalidSearch);
  EXPECT_TRUE(finder.findClose(handle));
  finder.findFirstFile("/*.wav", &data);
  EXPECT_NE(finder.getLastError(), platform::ERROR_PATH_NOT_FOUND);
}

}  // namespace
