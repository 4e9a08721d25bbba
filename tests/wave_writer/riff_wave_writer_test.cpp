// The capture's WAV files, byte for byte against the layout the launcher
// writes, and read by sox.
#include "launcher/riff_wave_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/support/wav_image.h"

namespace {

using launcher::RiffWaveWriter;
using namespace testing_support;

platform::WaveFormatEx pcmFormat(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels) {
  platform::WaveFormatEx format{};
  format.formatTag = platform::WAVE_FORMAT_PCM;
  format.channels = channels;
  format.samplesPerSec = rate;
  format.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  format.avgBytesPerSec = rate * format.blockAlign;
  format.bitsPerSample = bits;
  format.extraSize = 0x5A5A;  // not written for PCM
  return format;
}

// Writes the data in pieces of growing length, as the capture drains it.
void writeInPieces(RiffWaveWriter& writer, const Bytes& data) {
  std::size_t done = 0;
  for (std::uint32_t piece = 1; done < data.size(); piece = piece * 3 + 1) {
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(piece, data.size() - done));
    std::uint32_t written = 0;
    ASSERT_EQ(writer.write(count, data.data() + done, &written), platform::kOk);
    ASSERT_EQ(written, count);
    done += count;
  }
}

// What the launcher does: open, write, delete the writer.
void writeFile(const std::string& path, const platform::WaveFormatEx& format, const Bytes& data) {
  RiffWaveWriter writer;
  ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
  writeInPieces(writer, data);
}

// RIFF, a 16-byte PCM format block, a fact chunk holding 0, the data and its
// pad byte; an older, longer file at the path is replaced.
TEST(RiffWaveWriter, FilesHoldTheLayoutByteForByte) {
  const struct {
    std::uint32_t rate;
    std::uint16_t bits, channels;
    std::size_t bytes;
  } cases[] = {{8000, 8, 1, 16384},    // two seconds of the capture: 56 + 16384 bytes
               {8000, 8, 1, 0},        // nothing written: 56 bytes, RIFF size 48
               {8000, 8, 1, 1377},     // odd: a pad byte the RIFF size counts
               {11025, 16, 2, 50001}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    ScratchFolder folder;
    const std::string path = folder.file("0.wav");
    writeAll(path, Bytes(100000, 0xEE));
    const Bytes data = sampleBytes(c.bytes);
    writeFile(path, pcmFormat(c.rate, c.bits, c.channels), data);
    const Bytes bytes = readAll(path);
    EXPECT_EQ(bytes, riffFile({pcmFmt(c.channels, c.rate, c.bits), chunk("fact", {0, 0, 0, 0}), chunk("data", data)}));
    EXPECT_EQ(bytes.size(), 56 + c.bytes + c.bytes % 2);
    EXPECT_EQ(u32At(bytes, 4), bytes.size() - 8);
  }
}

TEST(RiffWaveWriter, HeaderHoldsPlaceholdersUntilFinished) {
  ScratchFolder folder;
  const std::string path = folder.file("open.wav");
  const auto format = pcmFormat(22050, 16, 2);
  RiffWaveWriter writer;
  ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
  const auto data = sampleBytes(2 * riff::kDefaultBufferSize + 5);  // the header reaches the disk
  writeInPieces(writer, data);
  const auto during = readAll(path);
  ASSERT_GE(during.size(), 56u);
  EXPECT_EQ(u32At(during, 4), 0u);
  EXPECT_EQ(u32At(during, 44), 0xFFFFFFFFu);
  EXPECT_EQ(u32At(during, 52), 0u);

  EXPECT_EQ(writer.finish(0x01020304u), platform::kOk);
  EXPECT_EQ(writer.file, nullptr);
  const auto after = readAll(path);
  EXPECT_EQ(u32At(after, 44), 0x01020304u);
  EXPECT_EQ(u32At(after, 52), data.size());
  EXPECT_EQ(u32At(after, 4), after.size() - 8);
  EXPECT_EQ(writer.finish(0), platform::E_FAIL) << "a finished writer has no file";
}

// Another format tag writes the whole record, extra bytes and pad included,
// copied at open.
TEST(RiffWaveWriter, NonPcmFormatWritesTheWholeRecord) {
  ScratchFolder folder;
  const std::string path = folder.file("float.wav");
  struct {
    platform::WaveFormatEx head;
    std::uint8_t extra[3];
  } record{};
  record.head = pcmFormat(44100, 32, 1);
  record.head.formatTag = platform::WAVE_FORMAT_IEEE_FLOAT;
  record.head.extraSize = 3;
  record.extra[0] = 0x40;
  record.extra[1] = 0x41;
  record.extra[2] = 0x42;
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(path.c_str(), &record.head), platform::kOk);
    record.head.channels = 9;
    writeInPieces(writer, {1, 2, 3, 4});
  }
  const Bytes fmt = extendedFmtBody(platform::WAVE_FORMAT_IEEE_FLOAT, 3, 1, 44100, 32);
  EXPECT_EQ(readAll(path), riffFile({chunk("fmt ", fmt), chunk("fact", {0, 0, 0, 0}), chunk("data", {1, 2, 3, 4})}));
}

TEST(RiffWaveWriter, FailedOpenCreatesNothingAndRefusesWrites) {
  ScratchFolder folder;
  const std::string path = folder.file("missing/0.wav");
  const auto format = pcmFormat(8000, 8, 1);
  {
    RiffWaveWriter writer;
    EXPECT_EQ(writer.open(path.c_str(), &format), platform::E_FAIL);
    EXPECT_EQ(writer.file, nullptr);
    const std::uint8_t byte = 1;
    std::uint32_t written = 99;
    EXPECT_EQ(writer.write(1, &byte, &written), platform::E_FAIL);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(writer.finish(0), platform::E_FAIL);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));

  RiffWaveWriter withoutFormat;
  EXPECT_EQ(withoutFormat.open(folder.file("none.wav").c_str(), nullptr), platform::E_FAIL);
  EXPECT_FALSE(std::filesystem::exists(folder.file("none.wav")));
}

TEST(RiffWaveWriter, SoxReadsTheFile) {
  if (std::system("command -v soxi >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
  ScratchFolder folder;
  const std::string path = folder.file("sox.wav");
  writeFile(path, pcmFormat(8000, 8, 1), sampleBytes(16384));
  const std::string report = folder.file("soxi.txt");
  const std::string query = "for o in -r -c -b -s -e; do soxi $o '" + path + "'; done > '" + report + "' 2>&1";
  ASSERT_EQ(std::system(query.c_str()), 0);
  EXPECT_EQ(readText(report), "8000\n1\n8\n16384\nUnsigned Integer PCM\n");
  // sox decodes the same sample bytes.
  const std::string raw = folder.file("sox.raw");
  ASSERT_EQ(std::system(("sox '" + path + "' -t raw '" + raw + "' 2>/dev/null").c_str()), 0);
  EXPECT_EQ(readAll(raw), sampleBytes(16384));
}

}  // namespace
