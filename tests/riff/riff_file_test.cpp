// Buffered byte I/O and the I/O state record, with buffers small enough that
// every operation crosses window boundaries.
#include "riff/riff_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/support/scratch_folder.h"

namespace {

using riff::RiffFile;
using testing_support::readAll;
using testing_support::ScratchFolder;

std::vector<std::uint8_t> pattern(std::size_t count, int seed) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
  return bytes;
}

TEST(RiffFile, OpenReportsWhy) {
  ScratchFolder folder;
  std::uint32_t error = 0;
  EXPECT_EQ(RiffFile::open(folder.file("absent").c_str(), riff::kRead, &error), nullptr);
  EXPECT_EQ(error, riff::MMIOERR_FILENOTFOUND);
  EXPECT_EQ(RiffFile::open(folder.file("").c_str(), riff::kRead, &error), nullptr);
  EXPECT_EQ(error, riff::MMIOERR_CANNOTOPEN);
  EXPECT_EQ(RiffFile::open(folder.file("absent").c_str(), riff::kReadWrite, &error), nullptr)
      << "without kCreate nothing is created";
  auto created = RiffFile::open(folder.file("new").c_str(), riff::kReadWrite | riff::kCreate, &error);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(error, 0u);
  EXPECT_EQ(created->close(), 0u);
  EXPECT_EQ(created->close(), riff::MMSYSERR_INVALHANDLE);
  std::uint8_t byte;
  EXPECT_EQ(created->read(&byte, 1), -1);
}

TEST(RiffFile, RandomWritesAndReadsAgreeWithAModel) {
  ScratchFolder folder;
  const std::string path = folder.file("model");
  auto file = RiffFile::open(path.c_str(), riff::kReadWrite | riff::kCreate, nullptr, 16);
  ASSERT_NE(file, nullptr);
  std::vector<std::uint8_t> model;
  // Overlapping writes at scattered offsets, some past the end.
  const std::size_t offsets[] = {0, 5, 40, 3, 100, 17, 64, 99, 0};
  int seed = 1;
  for (std::size_t offset : offsets) {
    const auto bytes = pattern(23 + offset % 7, seed++);
    ASSERT_EQ(file->seek(static_cast<std::int64_t>(offset), SEEK_SET), static_cast<std::int64_t>(offset));
    ASSERT_EQ(file->write(bytes.data(), static_cast<std::int32_t>(bytes.size())), static_cast<std::int32_t>(bytes.size()));
    if (model.size() < offset + bytes.size()) model.resize(offset + bytes.size(), 0);
    std::copy(bytes.begin(), bytes.end(), model.begin() + offset);
    EXPECT_EQ(file->position(), static_cast<std::int64_t>(offset + bytes.size()));
  }
  EXPECT_EQ(file->seek(0, SEEK_END), static_cast<std::int64_t>(model.size()));
  // Read back in pieces through the same buffer before anything is closed.
  ASSERT_EQ(file->seek(0, SEEK_SET), 0);
  std::vector<std::uint8_t> back(model.size() + 10);
  std::size_t done = 0;
  for (std::int32_t piece = 1; done < back.size(); ++piece) {
    const std::int32_t got = file->read(back.data() + done, piece);
    ASSERT_GE(got, 0);
    if (got == 0) break;
    done += got;
  }
  back.resize(done);
  EXPECT_EQ(back, model);
  EXPECT_EQ(file->close(), 0u);
  EXPECT_EQ(readAll(path), model);
}

TEST(RiffFile, SeekRefusesPositionsBeforeTheStartAndOverflow) {
  ScratchFolder folder;
  auto file = RiffFile::open(folder.file("f").c_str(), riff::kReadWrite | riff::kCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->seek(-1, SEEK_SET), -1);
  EXPECT_EQ(file->seek(10, SEEK_SET), 10);
  EXPECT_EQ(file->seek(-11, SEEK_CUR), -1);
  EXPECT_EQ(file->seek(INT64_MAX, SEEK_CUR), -1);
  EXPECT_EQ(file->seek(0, 42), -1);
  EXPECT_EQ(file->position(), 10);
}

TEST(RiffFile, InfoRecordReadsAndWritesTheBufferDirectly) {
  ScratchFolder folder;
  const std::string path = folder.file("direct");
  const auto content = pattern(100, 7);
  testing_support::writeAll(path, content);
  {
    auto file = RiffFile::open(path.c_str(), riff::kRead, nullptr, 32);
    ASSERT_NE(file, nullptr);
    riff::IoState state;
    ASSERT_EQ(file->getInfo(&state), 0u);
    std::vector<std::uint8_t> seen;
    for (;;) {
      if (state.next == state.endRead) {
        ASSERT_EQ(file->advance(&state, riff::kRead), 0u);
        if (state.next == state.endRead) break;
        EXPECT_LE(state.endRead - state.buffer, 32);
      }
      seen.push_back(*state.next++);
    }
    EXPECT_EQ(seen, content);
    EXPECT_EQ(file->advance(&state, riff::kWrite), riff::MMIOERR_CANNOTWRITE) << "opened for reading";
    riff::IoState foreign;
    EXPECT_NE(file->setInfo(&foreign), 0u) << "a record of no buffer";
  }
  {
    // Overwrite bytes 10.. through the record, past the buffer's end.
    auto file = RiffFile::open(path.c_str(), riff::kReadWrite, nullptr, 32);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->seek(10, SEEK_SET), 10);
    riff::IoState state;
    ASSERT_EQ(file->getInfo(&state), 0u);
    for (int i = 0; i < 120; ++i) {
      if (state.next == state.endWrite) {
        state.flags |= riff::kDirty;
        ASSERT_EQ(file->advance(&state, riff::kWrite), 0u);
      }
      *state.next++ = 0xAB;
    }
    state.flags |= riff::kDirty;
    ASSERT_EQ(file->setInfo(&state), 0u);
    EXPECT_EQ(file->position(), 130);
    EXPECT_EQ(file->close(), 0u);
  }
  std::vector<std::uint8_t> expected(130, 0xAB);
  std::copy(content.begin(), content.begin() + 10, expected.begin());
  EXPECT_EQ(readAll(path), expected);
}

}  // namespace
