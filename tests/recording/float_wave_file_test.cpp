#include "tidewell/recording/float_wave_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wav_image.h"

namespace tidewell::recording {
namespace {

using testing_support::FileSizeLimit;
using testing_support::readAll;
using testing_support::ScratchFolder;
using testing_support::u32At;

constexpr std::size_t kHeaderBytes = 58;

std::vector<float> ramp(std::size_t frames, float from = 0.0f) {
  std::vector<float> samples(2 * frames);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = from + static_cast<float>(i) * 1e-6f;
  return samples;
}

// The file a float WAVE reader expects for these stereo samples: IEEE float,
// two channels, 48 kHz, 32 bits, no extra bytes, a fact chunk with the frames
// per channel, then the samples unchanged.
testing_support::Bytes floatWave(const std::vector<float>& samples) {
  using namespace testing_support;
  Bytes format = formatBlock(3, 2, 48000, 32), frames;
  appendU16(format, 0);
  appendU32(frames, static_cast<std::uint32_t>(samples.size() / 2));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
  const Bytes data(bytes, bytes + samples.size() * sizeof(float));
  return riffFile({chunk("fmt ", format), chunk("fact", frames), chunk("data", data)});
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
  EXPECT_EQ(readAll(folder.file("a.wav")), floatWave(samples));
}

// Read while the file is still open, as a crash would leave it: after each
// refresh the header declares exactly the samples on disk.
TEST(FloatWaveFileTest, ARefreshLeavesAValidFileOfEverythingAppended) {
  ScratchFolder folder;
  const std::string path = folder.file("live.wav");
  FloatWaveFile file;
  ASSERT_TRUE(file.open(path));
  EXPECT_EQ(readAll(path), floatWave({}));
  std::vector<float> all;
  for (std::size_t block : {3u, 5000u, 20000u, 1u}) {
    const std::vector<float> samples = ramp(block, static_cast<float>(all.size() / 2));
    ASSERT_TRUE(file.append(samples.data(), block));
    all.insert(all.end(), samples.begin(), samples.end());
    ASSERT_TRUE(file.refreshHeader());
    EXPECT_EQ(readAll(path), floatWave(all)) << all.size() / 2 << " frames";
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
TEST(FloatWaveFileTest, AFullDiskFailsTheWriteAndDeclaresTheWholeFramesOnDisk) {
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
  EXPECT_GT(bytes.size(), 8192u * 8u + kHeaderBytes);  // more than the last refresh declared
  EXPECT_EQ(u32At(bytes, 54), (bytes.size() - kHeaderBytes) / 8 * 8);
}

}  // namespace
}  // namespace tidewell::recording
