// Malformed files from a sample folder: the reader reports, never crashes,
// hangs or reads beyond what it holds.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "riff/result_codes.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wav_image.h"
#include "tidewell/audio/riff_wave_reader.h"

namespace {

using namespace testing_support;
using tidewell::RiffWaveReader;

class BadInputTest : public ::testing::Test {
 protected:
  std::string write(const Bytes& bytes) {
    const std::string path = folder_.file("bad.wav");
    writeAll(path, bytes);
    return path;
  }
  ScratchFolder folder_;
};

TEST_F(BadInputTest, EveryTruncationOfTheHeaderIsReported) {
  const Bytes whole = riffFile({pcmFmt(), chunk("data", sampleBytes(10))});
  ASSERT_EQ(whole.size(), 54u);
  for (std::size_t length = 0; length < 44; ++length) {
    RiffWaveReader reader;
    EXPECT_FALSE(reader.open(write(Bytes(whole.begin(), whole.begin() + length)).c_str())) << length;
    // Before the fmt block the search runs out; inside it the block is short.
    const bool insideFmtBlock = length >= 20 && length < 36;
    EXPECT_EQ(reader.lastError, insideFmtBlock ? riff::MMIOERR_CANNOTREAD : riff::MMIOERR_CHUNKNOTFOUND) << length;
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.file, nullptr);
  }
  for (std::size_t length = 44; length < whole.size(); ++length) {
    RiffWaveReader reader;
    ASSERT_TRUE(reader.open(write(Bytes(whole.begin(), whole.begin() + length)).c_str())) << length;
    Bytes into(10);
    EXPECT_EQ(reader.read(into.data(), 10), 0u);
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CANNOTREAD);
  }
}

// Sizes that run past the file or wrap, format blocks that do not fit their
// chunk, odd chunks, tens of thousands of chunks: the reader opens what it can
// find and reads only the bytes the file holds.
TEST_F(BadInputTest, MalformedFilesGiveOnlyWhatTheyHold) {
  Bytes twelve = formatBlock(1, 1, 8000, 8);
  twelve.resize(12);
  Bytes extraPastFile = formatBlock(2, 1, 8000, 4), extraPastChunk = extraPastFile;
  appendU16(extraPastFile, 1000);
  appendU16(extraPastChunk, 0xFFFF);
  Bytes zeros(16, 0);
  zeros[0] = 1;  // PCM with no channels, rate, alignment or bits: the sound layer's to refuse
  Bytes many;
  for (int i = 0; i < 50000; ++i) {
    const Bytes tiny = chunk("junk", i % 2 ? Bytes{static_cast<std::uint8_t>(i)} : Bytes{});
    many.insert(many.end(), tiny.begin(), tiny.end());
  }
  const Bytes odd = {1, 2, 3};
  constexpr std::uint32_t kNotFound = riff::MMIOERR_CHUNKNOTFOUND, kCannotRead = riff::MMIOERR_CANNOTREAD;
  const struct {
    const char* name;
    Bytes file;
    bool opens;
    std::uint32_t drained, error;
    std::uint16_t extraSize;
  } cases[] = {
      {"RIFF size beyond the file", riffFile({pcmFmt(), chunk("data", sampleBytes(64))}, "WAVE", 0xFFFFFFFFu), true, 64, 0, 0},
      {"data size of 4 GB", riffFile({pcmFmt(), chunk("data", sampleBytes(64), 0xFFFFFFFFu)}), true, 0, kCannotRead, 0},
      {"a skip that wraps the offset", riffFile({chunk("junk", {}, 0xFFFFFFECu), pcmFmt(), chunk("data", sampleBytes(4))}),
       false, 0, kNotFound, 0},
      {"largest fmt size, after data", riffFile({chunk("data", sampleBytes(6)), chunk("fmt ", formatBlock(1, 1, 8000, 8), 0xFFFFFFFFu)}),
       true, 6, 0, 0},
      {"12-byte fmt body", riffFile({chunk("fmt ", twelve), chunk("data", sampleBytes(20))}), true, 20, 0, 0},
      {"extra size beyond the file", riffFile({chunk("fmt ", extraPastFile), chunk("data", sampleBytes(100))}), false, 0, kCannotRead, 0},
      {"extra size beyond its chunk", riffFile({chunk("fmt ", extraPastChunk), chunk("data", sampleBytes(70000))}), true, 70000, 0, 0xFFFF},
      // A 16-byte non-PCM body has no extra-size field: "da" of "data" is none.
      {"float fmt of 16 bytes", riffFile({chunk("fmt ", formatBlock(3, 1, 8000, 32)), chunk("data", sampleBytes(8))}), true, 8, 0, 0},
      {"tag 0 fmt of 16 bytes", riffFile({chunk("fmt ", formatBlock(0, 1, 8000, 32)), chunk("data", sampleBytes(8))}), true, 8, 0, 0},
      {"fields all zero", riffFile({chunk("fmt ", zeros), chunk("data", sampleBytes(9))}), true, 9, 0, 0},
      {"odd chunk with its pad", riffFile({pcmFmt(), chunk("junk", odd), chunk("data", sampleBytes(5))}), true, 5, 0, 0},
      {"odd chunk without its pad", riffFile({pcmFmt(), chunk("junk", odd, std::nullopt, false), chunk("data", sampleBytes(5))}),
       false, 0, kNotFound, 0},
      {"data beyond the RIFF chunk", riffFile({pcmFmt(), chunk("data", sampleBytes(4))}, "WAVE", 4 + 24), false, 0, kNotFound, 0},
      {"100000 tiny chunks", riffFile({many, pcmFmt(), many, chunk("data", sampleBytes(3))}), true, 3, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RiffWaveReader reader;
    const bool opened = reader.open(write(c.file).c_str());
    ASSERT_EQ(opened, c.opens);
    EXPECT_EQ(reader.file != nullptr, opened);
    std::uint32_t drained = 0;
    Bytes into(4096);
    for (std::uint32_t got; opened && (got = reader.read(into.data(), 4096)) > 0;) drained += got;
    EXPECT_EQ(drained, c.drained);
    EXPECT_EQ(reader.lastError, c.error);
    if (opened) {
      EXPECT_EQ(reader.format->extraSize, c.extraSize);
    }
  }
}

// A missing file, a folder, a FIFO with no writer (which must not be waited for).
TEST_F(BadInputTest, WhatIsNoRegularFileCannotBeOpened) {
  const std::string fifo = folder_.file("pipe.wav");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {folder_.file("absent.wav"), folder_.file(""), fifo}) {
    RiffWaveReader reader;
    EXPECT_FALSE(reader.open(path.c_str())) << path;
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CANNOTOPEN) << path;
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.dataSize, 0u);
  }
}

}  // namespace
