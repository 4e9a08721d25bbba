// Creating, finding and leaving chunks.
#include <gtest/gtest.h>

#include <cstdio>

#include "riff/riff_file.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wav_image.h"

namespace {

using riff::ChunkRecord;
using riff::RiffFile;
using namespace testing_support;

TEST(RiffChunks, CreatedChunksGetTheirSizeAndPadOnAscend) {
  ScratchFolder folder;
  const std::string path = folder.file("made");
  auto file = RiffFile::open(path.c_str(), riff::kReadWrite | riff::kCreate, nullptr, 16);
  ASSERT_NE(file, nullptr);
  ChunkRecord outer;
  outer.formType = riff::makeFourCC('T', 'E', 'S', 'T');
  ASSERT_EQ(file->createChunk(&outer, riff::kCreateRiff), 0u);
  EXPECT_EQ(outer.id, riff::kRiffId);
  EXPECT_EQ(outer.dataOffset, 8u);
  ChunkRecord inner;
  inner.id = riff::makeFourCC('a', 'b', 'c', 'd');
  inner.size = 1000;  // a guess that ascend corrects
  ASSERT_EQ(file->createChunk(&inner, 0), 0u);
  const std::uint8_t body[37] = {9};
  ASSERT_EQ(file->write(body, 37), 37);
  ASSERT_EQ(file->ascend(&inner), 0u);
  EXPECT_EQ(inner.size, 37u);
  EXPECT_EQ(file->position(), 12 + 8 + 38);
  ASSERT_EQ(file->ascend(&outer), 0u);
  EXPECT_EQ(outer.size, 4u + 8u + 38u);
  ASSERT_EQ(file->close(), 0u);

  const Bytes expected = riffFile({chunk("abcd", Bytes(body, body + 37))}, "TEST");
  EXPECT_EQ(readAll(path), expected);
}

TEST(RiffChunks, DescendReadsHeadersAndSearchesWithinTheParent) {
  ScratchFolder folder;
  const std::string path = folder.file("search");
  const Bytes list = chunk("LIST", {'I', 'N', 'F', 'O', 1, 2, 3});
  writeAll(path, concat({riffFile({chunk("one ", {1}), list, chunk("two ", {2, 2})}), chunk("outs", {})}));
  auto file = RiffFile::open(path.c_str(), riff::kRead, nullptr, 8);
  ASSERT_NE(file, nullptr);

  ChunkRecord riffChunk;
  ASSERT_EQ(file->descend(&riffChunk, nullptr, 0), 0u);
  EXPECT_EQ(riffChunk.formType, riff::kWaveId);
  EXPECT_EQ(file->position(), 12);

  ChunkRecord found;
  found.id = riff::makeFourCC('t', 'w', 'o', ' ');
  ASSERT_EQ(file->descend(&found, &riffChunk, riff::kFindChunk), 0u);
  EXPECT_EQ(found.size, 2u);
  EXPECT_EQ(found.dataOffset, 12u + 10u + 16u + 8u);

  ASSERT_EQ(file->seek(12, SEEK_SET), 12);
  ChunkRecord info;
  info.formType = riff::makeFourCC('I', 'N', 'F', 'O');
  ASSERT_EQ(file->descend(&info, &riffChunk, riff::kFindList), 0u);
  EXPECT_EQ(info.size, 7u);
  EXPECT_EQ(file->position(), info.dataOffset + 4) << "past the form type";
  ASSERT_EQ(file->ascend(&info), 0u);
  EXPECT_EQ(file->position(), 12 + 10 + 16) << "past the odd body and its pad";

  // "outs" follows the RIFF chunk: outside the parent, found without one.
  ASSERT_EQ(file->seek(12, SEEK_SET), 12);
  ChunkRecord outside;
  outside.id = riff::makeFourCC('o', 'u', 't', 's');
  EXPECT_EQ(file->descend(&outside, &riffChunk, riff::kFindChunk), riff::MMIOERR_CHUNKNOTFOUND);
  ASSERT_EQ(file->seek(12, SEEK_SET), 12);
  EXPECT_EQ(file->descend(&outside, nullptr, riff::kFindChunk), 0u);
  ChunkRecord beyond;
  EXPECT_EQ(file->descend(&beyond, nullptr, 0), riff::MMIOERR_CHUNKNOTFOUND) << "end of file";
}

}  // namespace
