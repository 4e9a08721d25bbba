// The track voice reads a whole sample in one read into its sound buffer.
// The reference reads the same data bytes with one fread of a plain FILE.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tidewell/audio/riff_wave_reader.h"

namespace {

constexpr std::uint32_t kDataBytes = 50u * 1024 * 1024;
constexpr long kDataOffset = 44;  // RIFF header, 16-byte fmt chunk, data header

void putU32(std::FILE* file, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

// A 16-bit stereo PCM file at 44100 Hz, written once per run.
const std::string& samplePath() {
  static const std::string path = [] {
    const std::string name = "/tmp/tidewell-bench-" + std::to_string(::getpid()) + ".wav";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fputs("RIFF", file);
    putU32(file, 36 + kDataBytes);
    std::fputs("WAVEfmt ", file);
    putU32(file, 16);
    const std::uint8_t format[16] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    std::fwrite(format, 1, sizeof format, file);
    std::fputs("data", file);
    putU32(file, kDataBytes);
    std::vector<std::uint8_t> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 13);
    for (std::uint32_t done = 0; done < kDataBytes; done += block.size()) std::fwrite(block.data(), 1, block.size(), file);
    std::fclose(file);
    std::atexit([] { ::unlink(samplePath().c_str()); });
    return name;
  }();
  return path;
}

void BM_RiffWaveReader(benchmark::State& state) {
  std::vector<std::uint8_t> destination(kDataBytes);
  for (auto _ : state) {
    tidewell::RiffWaveReader reader;
    if (!reader.open(samplePath().c_str()) || reader.dataSize != kDataBytes) {
      state.SkipWithError("open failed");
      break;
    }
    if (reader.read(destination.data(), reader.dataSize) != kDataBytes) {
      state.SkipWithError("short read");
      break;
    }
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDataBytes);
}

void BM_PlainFread(benchmark::State& state) {
  std::vector<std::uint8_t> destination(kDataBytes);
  for (auto _ : state) {
    std::FILE* file = std::fopen(samplePath().c_str(), "rb");
    if (file == nullptr || std::fseek(file, kDataOffset, SEEK_SET) != 0 ||
        std::fread(destination.data(), 1, kDataBytes, file) != kDataBytes) {
      state.SkipWithError("fread failed");
      if (file) std::fclose(file);
      break;
    }
    std::fclose(file);
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDataBytes);
}

BENCHMARK(BM_PlainFread)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RiffWaveReader)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
