#include "launcher/riff_wave_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tidewell/audio/riff_wave_reader.h"

namespace {

using launcher::RiffWaveWriter;
using testing_support::idAt;
using testing_support::readAll;
using testing_support::ScratchFolder;
using testing_support::u16At;
using testing_support::u32At;

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

std::vector<std::uint8_t> ramp(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

// Writes count bytes in pieces of varying length, as the capture drains them.
void writeInPieces(RiffWaveWriter& writer, const std::vector<std::uint8_t>& data) {
  std::size_t done = 0;
  std::uint32_t piece = 1;
  while (done < data.size()) {
    const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::size_t>(piece, data.size() - done));
    std::uint32_t written = 0;
    ASSERT_EQ(writer.write(count, data.data() + done, &written), platform::kOk);
    ASSERT_EQ(written, count);
    done += count;
    piece = piece * 3 + 1;
  }
}

TEST(RiffWaveWriter, TwoSecondsOfEightBitMonoGiveTheLauncherLayout) {
  ScratchFolder folder;
  const std::string path = folder.file("0.wav");
  const auto format = pcmFormat(8000, 8, 1);
  const auto data = ramp(16384);
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
    writeInPieces(writer, data);
  }
  const auto bytes = readAll(path);
  ASSERT_EQ(bytes.size(), 56u + 16384u);
  EXPECT_EQ(idAt(bytes, 0), "RIFF");
  EXPECT_EQ(u32At(bytes, 4), 16432u);
  EXPECT_EQ(idAt(bytes, 8), "WAVE");
  EXPECT_EQ(idAt(bytes, 12), "fmt ");
  EXPECT_EQ(u32At(bytes, 16), 16u);
  EXPECT_EQ(u16At(bytes, 20), 1u);
  EXPECT_EQ(u16At(bytes, 22), 1u);
  EXPECT_EQ(u32At(bytes, 24), 8000u);
  EXPECT_EQ(u32At(bytes, 28), 8000u);
  EXPECT_EQ(u16At(bytes, 32), 1u);
  EXPECT_EQ(u16At(bytes, 34), 8u);
  EXPECT_EQ(idAt(bytes, 36), "fact");
  EXPECT_EQ(u32At(bytes, 40), 4u);
  EXPECT_EQ(u32At(bytes, 44), 0u);
  EXPECT_EQ(idAt(bytes, 48), "data");
  EXPECT_EQ(u32At(bytes, 52), 16384u);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), bytes.begin() + 56));
}

TEST(RiffWaveWriter, HeaderHoldsPlaceholdersUntilFinished) {
  ScratchFolder folder;
  const std::string path = folder.file("open.wav");
  const auto format = pcmFormat(22050, 16, 2);
  RiffWaveWriter writer;
  ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
  const auto data = ramp(2 * riff::kDefaultBufferSize + 5);  // the header reaches the disk
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

TEST(RiffWaveWriter, NoDataAndOddDataSizes) {
  ScratchFolder folder;
  const auto format = pcmFormat(8000, 8, 1);
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(folder.file("empty.wav").c_str(), &format), platform::kOk);
  }
  const auto empty = readAll(folder.file("empty.wav"));
  ASSERT_EQ(empty.size(), 56u);
  EXPECT_EQ(u32At(empty, 4), 48u);
  EXPECT_EQ(u32At(empty, 52), 0u);

  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(folder.file("odd.wav").c_str(), &format), platform::kOk);
    std::vector<std::uint8_t> data(1377, 0xFF);
    std::uint32_t written = 0;
    ASSERT_EQ(writer.write(1377, data.data(), &written), platform::kOk);
    EXPECT_EQ(written, 1377u);
  }
  const auto odd = readAll(folder.file("odd.wav"));
  ASSERT_EQ(odd.size(), 56u + 1377u + 1u);
  EXPECT_EQ(u32At(odd, 52), 1377u);
  EXPECT_EQ(odd.back(), 0u) << "pad byte";
  EXPECT_EQ(odd[odd.size() - 2], 0xFFu);
  EXPECT_EQ(u32At(odd, 4), odd.size() - 8) << "the RIFF size counts the pad byte";
}

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
  record.extra[0] = 0xA1;
  record.extra[1] = 0xB2;
  record.extra[2] = 0xC3;
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(path.c_str(), &record.head), platform::kOk);
    record.head.channels = 9;  // the record is copied, not kept
    const std::uint8_t sample[4] = {1, 2, 3, 4};
    std::uint32_t written = 0;
    ASSERT_EQ(writer.write(4, sample, &written), platform::kOk);
  }
  const auto bytes = readAll(path);
  EXPECT_EQ(u32At(bytes, 16), 21u);
  EXPECT_EQ(u16At(bytes, 20), platform::WAVE_FORMAT_IEEE_FLOAT);
  EXPECT_EQ(u16At(bytes, 22), 1u);
  EXPECT_EQ(u16At(bytes, 36), 3u);
  EXPECT_EQ(bytes[38], 0xA1);
  EXPECT_EQ(bytes[40], 0xC3);
  EXPECT_EQ(bytes[41], 0u) << "pad byte after the odd fmt body";
  EXPECT_EQ(idAt(bytes, 42), "fact");
  EXPECT_EQ(idAt(bytes, 54), "data");
  EXPECT_EQ(u32At(bytes, 58), 4u);
  EXPECT_EQ(bytes.size(), 66u);

  tidewell::RiffWaveReader reader;
  ASSERT_TRUE(reader.open(path.c_str()));
  EXPECT_EQ(reader.format->extraSize, 3u);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(reader.format)[20], 0xC3);
  EXPECT_EQ(reader.dataSize, 4u);
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
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));

  RiffWaveWriter withoutFormat;
  EXPECT_EQ(withoutFormat.open(folder.file("none.wav").c_str(), nullptr), platform::E_FAIL);
  EXPECT_FALSE(std::filesystem::exists(folder.file("none.wav")));
}

TEST(RiffWaveWriter, ExistingFileIsReplaced) {
  ScratchFolder folder;
  const std::string path = folder.file("old.wav");
  testing_support::writeAll(path, std::vector<std::uint8_t>(100000, 0xEE));
  const auto format = pcmFormat(8000, 8, 1);
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
    const std::uint8_t bytes[3] = {10, 20, 30};
    std::uint32_t written = 0;
    ASSERT_EQ(writer.write(3, bytes, &written), platform::kOk);
  }
  const auto bytes = readAll(path);
  ASSERT_EQ(bytes.size(), 56u + 4u);
  EXPECT_EQ(bytes[56], 10);
  EXPECT_EQ(bytes[58], 30);
  EXPECT_EQ(bytes[59], 0);
}

TEST(RiffWaveWriter, ReadsBackThroughTheReader) {
  ScratchFolder folder;
  const std::string path = folder.file("back.wav");
  const auto format = pcmFormat(11025, 16, 2);
  const auto data = ramp(50001);
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
    writeInPieces(writer, data);
  }
  tidewell::RiffWaveReader reader;
  ASSERT_TRUE(reader.open(path.c_str()));
  EXPECT_EQ(reader.format->formatTag, 1u);
  EXPECT_EQ(reader.format->channels, 2u);
  EXPECT_EQ(reader.format->samplesPerSec, 11025u);
  EXPECT_EQ(reader.format->bitsPerSample, 16u);
  EXPECT_EQ(reader.format->extraSize, 0u);
  ASSERT_EQ(reader.dataSize, data.size());
  std::vector<std::uint8_t> back(data.size());
  EXPECT_EQ(reader.read(back.data(), static_cast<std::uint32_t>(back.size())), data.size());
  EXPECT_EQ(back, data);
}

TEST(RiffWaveWriter, SoxReadsTheFile) {
  if (std::system("command -v soxi >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
  ScratchFolder folder;
  const std::string path = folder.file("sox.wav");
  const auto format = pcmFormat(8000, 8, 1);
  {
    RiffWaveWriter writer;
    ASSERT_EQ(writer.open(path.c_str(), &format), platform::kOk);
    writeInPieces(writer, ramp(16384));
  }
  const std::string report = folder.file("soxi.txt");
  const std::string query = "for o in -r -c -b -s -e; do soxi $o '" + path + "'; done > '" + report + "' 2>&1";
  ASSERT_EQ(std::system(query.c_str()), 0);
  const auto text = readAll(report);
  EXPECT_EQ(std::string(text.begin(), text.end()), "8000\n1\n8\n16384\nUnsigned Integer PCM\n");

  // sox decodes the same sample bytes.
  const std::string raw = folder.file("sox.raw");
  ASSERT_EQ(std::system(("sox '" + path + "' -t raw '" + raw + "' 2>/dev/null").c_str()), 0);
  EXPECT_EQ(readAll(raw), ramp(16384));
}

}  // namespace
