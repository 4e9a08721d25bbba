// The reader over well-formed files written on the fly.
#include "tidewell/audio/riff_wave_reader.h"

#include <gtest/gtest.h>

#include "riff/result_codes.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wav_image.h"

namespace {

using namespace testing_support;
using tidewell::RiffWaveReader;

const std::uint8_t* extraBytes(const RiffWaveReader& reader) {
  return reinterpret_cast<const std::uint8_t*>(reader.format) + sizeof(platform::WaveFormatEx);
}

class WaveReaderTest : public ::testing::Test {
 protected:
  std::string write(const Bytes& bytes, const std::string& name = "sample.wav") {
    const std::string path = folder_.file(name);
    writeAll(path, bytes);
    return path;
  }
  ScratchFolder folder_;
};

TEST_F(WaveReaderTest, PcmFormatRecordIsEighteenBytesWithNoExtra) {
  const Bytes data = sampleBytes(100);
  // A 16-byte body, and an 18-byte body whose extra-size field is left unread.
  Bytes eighteen = formatBlock(1, 2, 22050, 16);
  appendU16(eighteen, 0x1234);
  for (const Bytes& fmt : {pcmFmt(2, 22050, 16), chunk("fmt ", eighteen)}) {
    RiffWaveReader reader;
    ASSERT_TRUE(reader.open(write(riffFile({fmt, chunk("data", data)})).c_str()));
    EXPECT_EQ(reader.lastError, 0u);
    ASSERT_NE(reader.format, nullptr);
    EXPECT_EQ(Bytes(reinterpret_cast<const std::uint8_t*>(reader.format), extraBytes(reader)),
              concat({formatBlock(1, 2, 22050, 16), {0, 0}}));
    EXPECT_EQ(reader.dataSize, 100u);
    Bytes back(100);
    EXPECT_EQ(reader.read(back.data(), 100), 100u);
    EXPECT_EQ(back, data) << "the position after the fmt chunk is its end, whatever was read";
  }
}

TEST_F(WaveReaderTest, NonPcmFormatRecordHoldsTheExtraBytes) {
  RiffWaveReader reader;
  const Bytes fmt = chunk("fmt ", extendedFmtBody(platform::WAVE_FORMAT_EXTENSIBLE, 22));
  ASSERT_TRUE(reader.open(write(riffFile({fmt, chunk("data", sampleBytes(8))})).c_str()));
  EXPECT_EQ(reader.format->formatTag, platform::WAVE_FORMAT_EXTENSIBLE);
  ASSERT_EQ(reader.format->extraSize, 22u);
  for (int i = 0; i < 22; ++i) EXPECT_EQ(extraBytes(reader)[i], 0x40 + i);
  EXPECT_EQ(reader.dataSize, 8u);
}

TEST_F(WaveReaderTest, OtherChunksAndOrderAreSkipped) {
  const Bytes data = sampleBytes(33);
  const Bytes fact = chunk("fact", {1, 0, 0, 0});
  Bytes listBody = {'I', 'N', 'F', 'O'};
  listBody.push_back('x');
  const Bytes list = chunk("LIST", listBody);
  struct Layout {
    const char* name;
    Bytes file;
  } layouts[] = {
      {"fact before data", riffFile({pcmFmt(), fact, chunk("data", data)})},
      {"LIST before data", riffFile({pcmFmt(), list, chunk("data", data)})},
      {"data before fmt", riffFile({list, chunk("data", data), fact, pcmFmt()})},
  };
  for (const Layout& layout : layouts) {
    RiffWaveReader reader;
    ASSERT_TRUE(reader.open(write(layout.file).c_str())) << layout.name;
    EXPECT_EQ(reader.dataSize, 33u) << layout.name;
    EXPECT_EQ(reader.format->samplesPerSec, 8000u) << layout.name;
    Bytes back(40, 0xCC);
    EXPECT_EQ(reader.read(back.data(), 40), 33u) << layout.name;
    EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin())) << layout.name;
    EXPECT_EQ(back[33], 0xCC) << layout.name;
  }
}

TEST_F(WaveReaderTest, FailedOpensLeaveNothingOpen) {
  struct Case {
    const char* name;
    Bytes file;
    std::uint32_t error;
  } cases[] = {
      {"no data chunk", riffFile({pcmFmt(), chunk("fact", {0, 0, 0, 0})}), riff::MMIOERR_CHUNKNOTFOUND},
      {"no fmt chunk", riffFile({chunk("data", sampleBytes(4))}), riff::MMIOERR_CHUNKNOTFOUND},
      {"not RIFF", chunk("RIFX", concat({{'W', 'A', 'V', 'E'}, pcmFmt()})), riff::MMIOERR_INVALIDFILE},
      {"not WAVE", riffFile({pcmFmt(), chunk("data", {1, 2})}, "AVI "), riff::MMIOERR_INVALIDFILE},
      {"no extra-size field",
       concat({riffFile({}, "WAVE", 0x1000), Bytes{'f', 'm', 't', ' ', 18, 0, 0, 0}, formatBlock(3, 1, 8000, 32)}),
       riff::MMIOERR_CANNOTREAD},
      {"extra bytes cut short",
       concat({riffFile({}, "WAVE", 0x1000), Bytes{'f', 'm', 't', ' ', 40, 0, 0, 0}, formatBlock(2, 1, 8000, 4), Bytes{22, 0, 1, 2}}),
       riff::MMIOERR_CANNOTREAD},
  };
  for (const Case& c : cases) {
    RiffWaveReader reader;
    EXPECT_FALSE(reader.open(write(c.file).c_str())) << c.name;
    EXPECT_EQ(reader.lastError, c.error) << c.name;
    EXPECT_EQ(reader.format, nullptr) << c.name;
    EXPECT_EQ(reader.file, nullptr) << c.name;
    EXPECT_EQ(reader.dataSize, 0u) << c.name;
    std::uint8_t byte = 0;
    EXPECT_EQ(reader.read(&byte, 1), 0u) << c.name;
  }
}

// Whatever the mix of small reads (through the buffer, across its refills)
// and large ones (straight into the destination), the bytes come in order,
// the last read stops at the data's end, and then nothing comes.
TEST_F(WaveReaderTest, ReadsInAnyPiecesGiveTheDataInOrderThenNothing) {
  const Bytes data = sampleBytes(300000);
  std::vector<std::uint32_t> growing;
  for (std::uint32_t piece = 1; piece < 2 * data.size(); piece = piece * 2 + 3) growing.push_back(piece);
  for (const auto& pieces : {growing, std::vector<std::uint32_t>{10, 200000, 5, 99985}}) {
    RiffWaveReader reader;
    EXPECT_EQ(reader.bytesPresent(), 0u);
    ASSERT_TRUE(reader.open(write(riffFile({pcmFmt(), chunk("data", data), chunk("tail", {7})})).c_str()));
    EXPECT_EQ(reader.bytesPresent(), data.size());
    Bytes back;
    for (std::uint32_t piece : pieces) {
      Bytes part(piece);
      back.insert(back.end(), part.begin(), part.begin() + reader.read(part.data(), piece));
    }
    EXPECT_EQ(back, data);
    EXPECT_EQ(reader.read(back.data(), 1000), 0u);
    EXPECT_EQ(reader.lastError, 0u);
    EXPECT_EQ(reader.dataSize, data.size()) << "dataSize does not count down";
  }
}

// A data chunk claiming more than the file holds: a small read through the
// buffer and a large one straight into the destination fail alike.
TEST_F(WaveReaderTest, DataClaimingMoreThanTheFileFailsTheRead) {
  for (const auto& [present, claimed] : {std::pair{300u, 1000u}, std::pair{300000u, 400000u}}) {
    SCOPED_TRACE(present);
    RiffWaveReader reader;
    const Bytes data = sampleBytes(present);
    ASSERT_TRUE(reader.open(write(riffFile({pcmFmt(), chunk("data", data, claimed)})).c_str()));
    EXPECT_EQ(reader.dataSize, claimed);
    EXPECT_EQ(reader.bytesPresent(), present) << "what the file really holds";
    Bytes back(claimed, 0xCC);
    EXPECT_EQ(reader.read(back.data(), claimed), 0u);
    EXPECT_EQ(reader.lastError, riff::MMIOERR_CANNOTREAD);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin())) << "bytes copied before the end stay";
    EXPECT_EQ(reader.dataChunk.size, 0u) << "the whole count was taken from the bytes left";
    EXPECT_EQ(reader.read(back.data(), claimed), 0u);
  }
}

TEST_F(WaveReaderTest, OpeningAgainReleasesTheFirstFile) {
  RiffWaveReader reader;
  ASSERT_TRUE(reader.open(write(riffFile({chunk("fmt ", extendedFmtBody(2, 30)), chunk("data", sampleBytes(9))}), "a.wav").c_str()));
  ASSERT_TRUE(reader.open(write(riffFile({pcmFmt(), chunk("data", sampleBytes(5))}), "b.wav").c_str()));
  EXPECT_EQ(reader.format->extraSize, 0u);
  EXPECT_EQ(reader.dataSize, 5u);
  EXPECT_FALSE(reader.open(folder_.file("absent.wav").c_str()));
  EXPECT_EQ(reader.format, nullptr);
  EXPECT_EQ(reader.dataSize, 0u);
}

}  // namespace
