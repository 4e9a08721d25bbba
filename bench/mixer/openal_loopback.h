#pragma once
// OpenAL Soft as the reference renderer: a loopback device at 48 kHz float
// stereo, rendered on demand, with any of the resamplers it offers.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace mixer_bench {

class OpenAlLoopback {
 public:
  OpenAlLoopback();
  ~OpenAlLoopback();
  OpenAlLoopback(const OpenAlLoopback&) = delete;
  OpenAlLoopback& operator=(const OpenAlLoopback&) = delete;

  bool ready() const { return context_ != nullptr; }
  // The resamplers' names, by index.
  std::vector<std::string> resamplers() const;

  // Plays a 44.1 kHz 16-bit mono sample at each of the rates (gain 0.25),
  // rendering one second per iteration of the benchmark.
  void timeOneSecond(benchmark::State& state, int resampler, const std::vector<std::uint32_t>& rates,
                     const std::vector<std::int16_t>& sample);

  // Plays a 44.1 kHz float mono sample once at `rate` Hz from its start;
  // returns the left channel of the first `frames` output frames.
  std::vector<float> renderLeft(int resampler, const std::vector<float>& sample, std::uint32_t rate,
                                std::size_t frames);

 private:
  void* device_ = nullptr;  // ALCdevice, kept out of this header
  void* context_ = nullptr;
  void* render_ = nullptr;  // alcRenderSamplesSOFT
};

}  // namespace mixer_bench
