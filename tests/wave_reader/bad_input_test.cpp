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
  // Opens the file and reads all its data as the track voice would.
  std::uint32_t openAndDrain(const Bytes& bytes, RiffWaveReader& reader) {
    if (!reader.open(write(bytes).c_str())) return 0;
    Bytes into(4096);
    std::uint32_t total = 0;
    while (const std::uint32_t got = reader.read(into.data(), 4096)) total += got;
    return total;
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

TEST_F(BadInputTest, LargestSizesNeitherWrapNorAllocate) {
  {
    // A RIFF size beyond the file is no obstacle to what the file holds.
    RiffWaveReader reader;
    EXPECT_EQ(openAndDrain(riffFile({pcmFmt(), chunk("data", sampleBytes(64))}, "WAVE", 0xFFFFFFFFu), reader), 64u);
  }
  {
    // The caller allocates dataSize; the reader only reports it.
    RiffWaveReader reader;
    EXPECT_EQ(openAndDrain(riffFile({pcmFmt(), chunk("data", sampleBytes(64), 0xFFFFFFFFu)}), reader), 0u);
    EXPECT_EQ(reader.dataSize, 0xFFFFFFFFu);
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CANNOTREAD);
  }
  {
    // Skipping this chunk would wrap a 32-bit offset back to the file's start.
    RiffWaveReader reader;
    const Bytes file = riffFile({chunk("junk", {}, 0xFFFFFFECu), pcmFmt(), chunk("data", sampleBytes(4))});
    EXPECT_FALSE(reader.open(write(file).c_str()));
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CHUNKNOTFOUND);
  }
  {
    // An fmt chunk claiming the largest size: leaving it goes past the file.
    RiffWaveReader reader;
    const Bytes file = riffFile({chunk("data", sampleBytes(6)), chunk("fmt ", formatBlock(1, 1, 8000, 8), 0xFFFFFFFFu)});
    EXPECT_EQ(openAndDrain(file, reader), 6u);
  }
}

TEST_F(BadInputTest, FormatBlocksThatDoNotFitTheirChunk) {
  {
    // A 12-byte fmt body: the block takes 4 bytes of what follows, the data
    // is still found from the chunk sizes.
    RiffWaveReader reader;
    const Bytes block = formatBlock(1, 1, 8000, 8);
    const Bytes file = riffFile({chunk("fmt ", Bytes(block.begin(), block.begin() + 12)), chunk("data", sampleBytes(20))});
    EXPECT_EQ(openAndDrain(file, reader), 20u);
    EXPECT_EQ(reader.lastError, 0u);
  }
  {
    // extraSize beyond its chunk and beyond the file.
    RiffWaveReader reader;
    Bytes body = formatBlock(2, 1, 8000, 4);
    appendU16(body, 1000);
    EXPECT_EQ(openAndDrain(riffFile({chunk("fmt ", body), chunk("data", sampleBytes(100))}), reader), 0u);
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CANNOTREAD);
    EXPECT_EQ(reader.format, nullptr);
  }
  {
    // extraSize beyond its chunk but within the file: the record takes the
    // following bytes and the data is found all the same.
    RiffWaveReader reader;
    Bytes body = formatBlock(2, 1, 8000, 4);
    appendU16(body, 0xFFFF);
    EXPECT_EQ(openAndDrain(riffFile({chunk("fmt ", body), chunk("data", sampleBytes(70000))}), reader), 70000u);
    EXPECT_EQ(reader.format->extraSize, 0xFFFFu);
  }
}

TEST_F(BadInputTest, ZeroFieldsAreTheSoundLayersToRefuse) {
  RiffWaveReader reader;
  Bytes zeros(16, 0);
  zeros[0] = 1;  // PCM with no channels, rate, alignment or bits
  const Bytes file = riffFile({chunk("fmt ", zeros), chunk("data", sampleBytes(9))});
  EXPECT_EQ(openAndDrain(file, reader), 9u);
  EXPECT_EQ(reader.format->formatTag, 1u);
  EXPECT_EQ(reader.format->channels, 0u);
  EXPECT_EQ(reader.format->samplesPerSec, 0u);
  EXPECT_EQ(reader.format->blockAlign, 0u);
  EXPECT_EQ(reader.format->bitsPerSample, 0u);
}

// A non-PCM fmt chunk of only 16 bytes has no extra-size field: the reader
// does not take the next chunk's header ("da" of "data") for one.
TEST_F(BadInputTest, ANonPcmFormatOfSixteenBytesHasNoExtraSize) {
  for (std::uint16_t tag : {std::uint16_t{0}, std::uint16_t{3}}) {
    SCOPED_TRACE(tag);
    RiffWaveReader reader;
    const Bytes file = riffFile({chunk("fmt ", formatBlock(tag, 1, 8000, 32)), chunk("data", sampleBytes(8))});
    ASSERT_TRUE(reader.open(write(file).c_str()));
    EXPECT_EQ(reader.format->formatTag, tag);
    EXPECT_EQ(reader.format->extraSize, 0u);
    EXPECT_EQ(reader.dataSize, 8u);
  }
}

TEST_F(BadInputTest, OddChunkSizesWithAndWithoutThePadByte) {
  const Bytes odd = {1, 2, 3};
  {
    RiffWaveReader reader;
    EXPECT_EQ(openAndDrain(riffFile({pcmFmt(), chunk("junk", odd), chunk("data", sampleBytes(5))}), reader), 5u);
  }
  {
    // Without its pad byte the next header is read one byte late.
    RiffWaveReader reader;
    const Bytes file = riffFile({pcmFmt(), chunk("junk", odd, std::nullopt, false), chunk("data", sampleBytes(5))});
    EXPECT_FALSE(reader.open(write(file).c_str()));
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(reader.file, nullptr);
  }
}

TEST_F(BadInputTest, ChunksBeyondTheRiffChunkAreNotSearched) {
  // A RIFF size that ends before "data": the search stops at the parent's end.
  RiffWaveReader reader;
  const Bytes file = riffFile({pcmFmt(), chunk("data", sampleBytes(4))}, "WAVE", 4 + 24);
  EXPECT_FALSE(reader.open(write(file).c_str()));
  EXPECT_EQ(reader.lastError, riff::MMIOERR_CHUNKNOTFOUND);
}

TEST_F(BadInputTest, ThousandsOfTinyChunks) {
  Bytes many;
  for (int i = 0; i < 50000; ++i) {
    const Bytes tiny = chunk("junk", i % 2 ? Bytes{static_cast<std::uint8_t>(i)} : Bytes{});
    many.insert(many.end(), tiny.begin(), tiny.end());
  }
  RiffWaveReader reader;
  EXPECT_EQ(openAndDrain(riffFile({many, pcmFmt(), many, chunk("data", sampleBytes(3))}), reader), 3u);
}

TEST_F(BadInputTest, NotARegularFile) {
  RiffWaveReader reader;
  EXPECT_FALSE(reader.open(folder_.file("").c_str())) << "a folder";
  EXPECT_EQ(reader.lastError, riff::MMIOERR_CANNOTOPEN);
  const std::string fifo = folder_.file("pipe.wav");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  RiffWaveReader fromFifo;
  EXPECT_FALSE(fromFifo.open(fifo.c_str())) << "must not wait for a writer";
  EXPECT_EQ(fromFifo.lastError, riff::MMIOERR_CANNOTOPEN);
}

}  // namespace
