#include "platform/fake/fake_file_finder.h"

#include <gtest/gtest.h>

namespace {

using platform::FindData;
using platform::kInvalidSearch;

TEST(FakeFileFinder, ListsMatchingNamesSortedAndSnapshotsAtStart) {
  platform::fake::FakeFileFinder files;
  files.setFolder("demo1/", {"b.wav", "x.txt", "A.WAV"});
  FindData data{};
  const auto handle = files.findFirstFile("demo1/*.wav", &data);
  ASSERT_NE(handle, kInvalidSearch);
  EXPECT_STREQ(data.fileName, "A.WAV");
  files.setFolder("demo1/", {"z.wav"});  // not seen by the open listing
  ASSERT_TRUE(files.findNextFile(handle, &data));
  EXPECT_STREQ(data.fileName, "b.wav");
  EXPECT_FALSE(files.findNextFile(handle, &data));
  EXPECT_EQ(files.getLastError(), platform::ERROR_NO_MORE_FILES);
  EXPECT_TRUE(files.findClose(handle));
  EXPECT_EQ(files.openListings(), 0);
}

TEST(FakeFileFinder, FailuresSayWhy) {
  platform::fake::FakeFileFinder files;
  files.setFolder("", {"notes.txt"});
  FindData data{};
  EXPECT_EQ(files.findFirstFile("*.wav", &data), kInvalidSearch);
  EXPECT_EQ(files.getLastError(), platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.findFirstFile("gone/*.wav", &data), kInvalidSearch);
  EXPECT_EQ(files.getLastError(), platform::ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(files.findNextFile(kInvalidSearch, &data));
  EXPECT_EQ(files.getLastError(), platform::ERROR_INVALID_HANDLE);
  EXPECT_EQ(files.patterns(), (std::vector<std::string>{"*.wav", "gone/*.wav"}));
}

}  // namespace
