// Opens every sample the build wrote into the working directory with the
// program's own wave reader and checks what a listener would notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tidewell/audio/riff_wave_reader.h"

namespace {

namespace fs = std::filesystem;

struct FolderExpectation {
  const char* folder;
  std::uint32_t sampleRate;
  std::size_t minimumFiles;
  double minimumSeconds;
  double maximumSeconds;
};

const FolderExpectation kFolders[] = {
    {"demo1", 48000, 8, 0.05, 1.0},  // drum one-shots
    {"demo2", 16000, 8, 2.0, 6.0},   // ambient textures
    {"demo3", 48000, 8, 1.5, 3.1},   // piano notes
    {"demo4", 22050, 8, 0.05, 2.0},  // arena sounds
};

struct LoadedWave {
  platform::WaveFormatEx format{};
  std::vector<std::int16_t> samples;
};

::testing::AssertionResult load(const fs::path& path, LoadedWave& out) {
  tidewell::RiffWaveReader reader;
  if (!reader.open(path.string().c_str())) return ::testing::AssertionFailure() << "cannot open " << path;
  out.format = *reader.format;
  std::vector<std::uint8_t> bytes(reader.dataSize);
  const std::uint32_t got = reader.read(bytes.data(), reader.dataSize);
  if (got != bytes.size()) return ::testing::AssertionFailure() << path << ": read " << got << " of " << bytes.size();
  out.samples.resize(bytes.size() / 2);
  for (std::size_t i = 0; i < out.samples.size(); ++i)
    out.samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return ::testing::AssertionSuccess();
}

// What every sample must be: mono 16-bit PCM, peak about -6 dBFS, no DC
// offset, quiet edges, under 300 KB.
void checkSample(const fs::path& path, std::uint32_t sampleRate, double minSeconds, double maxSeconds) {
  SCOPED_TRACE(path.string());
  EXPECT_LT(fs::file_size(path), 300u * 1000u);
  LoadedWave wave;
  ASSERT_TRUE(load(path, wave));
  EXPECT_EQ(wave.format.formatTag, platform::WAVE_FORMAT_PCM);
  EXPECT_EQ(wave.format.channels, 1);
  EXPECT_EQ(wave.format.bitsPerSample, 16);
  EXPECT_EQ(wave.format.blockAlign, 2);
  EXPECT_EQ(wave.format.samplesPerSec, sampleRate);
  EXPECT_EQ(wave.format.avgBytesPerSec, sampleRate * 2);

  const auto& s = wave.samples;
  const double seconds = double(s.size()) / sampleRate;
  EXPECT_GE(seconds, minSeconds);
  EXPECT_LE(seconds, maxSeconds);
  ASSERT_GT(s.size(), 64u);

  int peak = 0;
  double sum = 0.0;
  for (std::int16_t x : s) {
    peak = std::max(peak, std::abs(int(x)));
    sum += x;
  }
  const double peakDb = 20.0 * std::log10(peak / 32768.0);
  EXPECT_NEAR(peakDb, -6.0, 0.5);
  EXPECT_LT(std::fabs(sum / s.size()) / 32768.0, 0.001) << "DC offset";

  // Edges: the very first and last sample at (almost) zero and no jump in
  // the first and last few samples.
  EXPECT_LE(std::abs(int(s.front())), 2);
  EXPECT_LE(std::abs(int(s.back())), 2);
  const auto edgePeak = [&](std::size_t begin, std::size_t end) {
    int m = 0;
    for (std::size_t i = begin; i < end; ++i) m = std::max(m, std::abs(int(s[i])));
    return m;
  };
  EXPECT_LT(edgePeak(0, 4), peak / 8);
  EXPECT_LT(edgePeak(s.size() - 4, s.size()), peak / 8);
}

std::vector<fs::path> wavesIn(const fs::path& folder) {
  std::vector<fs::path> found;
  if (!fs::is_directory(folder)) return found;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".wav") found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  return found;
}

TEST(GeneratedSamples, EveryDemoFolderHoldsEnoughGoodSamples) {
  for (const FolderExpectation& e : kFolders) {
    const std::vector<fs::path> files = wavesIn(fs::path(TIDEWELL_RUN_DIR) / e.folder);
    EXPECT_GE(files.size(), e.minimumFiles) << e.folder;
    for (const fs::path& file : files) checkSample(file, e.sampleRate, e.minimumSeconds, e.maximumSeconds);
  }
}

TEST(GeneratedSamples, FallbackToneIsShortAndSoft) {
  const fs::path path = fs::path(TIDEWELL_RUN_DIR) / "C.wav";
  ASSERT_TRUE(fs::exists(path));
  checkSample(path, 32000, 0.2, 1.5);
}

TEST(GeneratedSamples, PianoNotesAreAllDifferentPitches) {
  // Distinct notes differ in length of their period; compare the positive
  // zero-crossing counts over the first half second as a cheap pitch proxy.
  std::vector<int> crossings;
  for (const fs::path& file : wavesIn(fs::path(TIDEWELL_RUN_DIR) / "demo3")) {
    LoadedWave wave;
    ASSERT_TRUE(load(file, wave));
    int count = 0;
    for (std::size_t i = 1; i < 24000 && i < wave.samples.size(); ++i)
      count += wave.samples[i - 1] < 0 && wave.samples[i] >= 0;
    crossings.push_back(count);
  }
  std::sort(crossings.begin(), crossings.end());
  EXPECT_EQ(std::adjacent_find(crossings.begin(), crossings.end()), crossings.end());
}

}  // namespace
