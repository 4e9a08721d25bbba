#include "tidewell/recording/float_wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace tidewell::recording {
namespace {

using testing_support::FileSizeLimit;
using testing_support::idAt;
using testing_support::readAll;
using testing_support::ScratchFolder;
using testing_support::u16At;
using testing_support::u32At;

constexpr std::size_t kHeaderBytes = 58;

std::vector<float> ramp(std::size_t frames, float from = 0.0f) {
  std::vector<float> samples(2 * frames);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = from + static_cast<float>(i) * 1e-6f;
  return samples;
}

std::vector<float> dataOf(const std::vector<std::uint8_t>& bytes) {
  std::vector<float> samples((bytes.size() - kHeaderBytes) / sizeof(float));
  std::memcpy(samples.data(), bytes.data() + kHeaderBytes, samples.size() * sizeof(float));
  return samples;
}

// The sizes the header claims, checked against the bytes really there.
void expectConsistent(const std::vector<std::uint8_t>& bytes, std::uint32_t frames) {
  ASSERT_GE(bytes.size(), kHeaderBytes);
  EXPECT_EQ(idAt(bytes, 0), "RIFF");
  EXPECT_EQ(u32At(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(idAt(bytes, 8), "WAVE");
  EXPECT_EQ(u32At(bytes, 46), frames);  // fact: frames per channel
  EXPECT_EQ(idAt(bytes, 50), "data");
  EXPECT_EQ(u32At(bytes, 54), frames * 8u);
  EXPECT_EQ(bytes.size(), kHeaderBytes + frames * 8u);
}

TEST(FloatWaveFileTest, WritesA48kHzStereoFloatHeaderAndTheSamplesUnchanged) {
  ScratchFolder folder;
  const std::vector<float> samples = ramp(1000, -0.5f);
  {
    FloatWaveFile file;
    ASSERT_TRUE(file.open(folder.file("a.wav")));
    ASSERT_TRUE(file.append(samples.data(), 600));
    ASSERT_TRUE(file.append(samples.data() + 1200, 400));
    ASSERT_TRUE(file.finish());
  }
  const std::vector<std::uint8_t> bytes = readAll(folder.file("a.wav"));
  EXPECT_EQ(idAt(bytes, 12), "fmt ");
  EXPECT_EQ(u32At(bytes, 16), 18u);
  EXPECT_EQ(u16At(bytes, 20), 3u);       // IEEE float
  EXPECT_EQ(u16At(bytes, 22), 2u);       // channels
  EXPECT_EQ(u32At(bytes, 24), 48000u);   // rate
  EXPECT_EQ(u32At(bytes, 28), 384000u);  // bytes a second
  EXPECT_EQ(u16At(bytes, 32), 8u);       // block alignment
  EXPECT_EQ(u16At(bytes, 34), 32u);      // bits
  EXPECT_EQ(u16At(bytes, 36), 0u);       // no extra bytes
  EXPECT_EQ(idAt(bytes, 38), "fact");
  expectConsistent(bytes, 1000);
  EXPECT_EQ(dataOf(bytes), samples);
}

// Read while the file is still open, as a crash would leave it: after each
// refresh the header declares exactly the samples on disk.
TEST(FloatWaveFileTest, ARefreshLeavesAValidFileOfEverythingAppended) {
  ScratchFolder folder;
  const std::string path = folder.file("live.wav");
  FloatWaveFile file;
  ASSERT_TRUE(file.open(path));
  expectConsistent(readAll(path), 0);
  std::size_t frames = 0;
  for (std::size_t block : {3u, 5000u, 20000u, 1u}) {
    const std::vector<float> samples = ramp(block, static_cast<float>(frames));
    ASSERT_TRUE(file.append(samples.data(), block));
    frames += block;
    ASSERT_TRUE(file.refreshHeader());
    const std::vector<std::uint8_t> bytes = readAll(path);
    expectConsistent(bytes, static_cast<std::uint32_t>(frames));
    const std::vector<float> data = dataOf(bytes);
    EXPECT_EQ(std::vector<float>(data.end() - 2 * static_cast<long>(block), data.end()), samples);
  }
  EXPECT_TRUE(file.finish());
}

TEST(FloatWaveFileTest, AFileInAMissingFolderFailsAndLeavesNothing) {
  ScratchFolder folder;
  FloatWaveFile file;
  EXPECT_FALSE(file.open(folder.file("missing/a.wav")));
  EXPECT_FALSE(file.isOpen());
  const float sample[2] = {0, 0};
  EXPECT_FALSE(file.append(sample, 1));
  EXPECT_FALSE(file.finish());
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

// A full disk fails the append that meets it and every later one; what was
// declared at the last refresh stays a valid file.
TEST(FloatWaveFileTest, AFullDiskFailsTheWriteAndKeepsTheLastRefreshedFile) {
  ScratchFolder folder;
  const std::string path = folder.file("full.wav");
  FloatWaveFile file;
  ASSERT_TRUE(file.open(path));
  const std::vector<float> samples = ramp(8192);
  ASSERT_TRUE(file.append(samples.data(), 8192));
  ASSERT_TRUE(file.refreshHeader());
  {
    FileSizeLimit limit(200 * 1024);
    bool failed = false;
    for (int i = 0; i < 10 && !failed; ++i) failed = !file.append(samples.data(), 8192);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(file.append(samples.data(), 1));
    EXPECT_FALSE(file.finish());
  }
  const std::vector<std::uint8_t> bytes = readAll(path);
  ASSERT_GE(bytes.size(), kHeaderBytes);
  const std::uint32_t declared = u32At(bytes, 54);
  EXPECT_GE(declared, 8192u * 8u);
  EXPECT_LE(kHeaderBytes + declared, bytes.size());
}

}  // namespace
}  // namespace tidewell::recording
