// 24 voices at random rates 100..100000 Hz mixed into one second of 48 kHz
// stereo, beside OpenAL Soft rendering the same sources through its loopback
// device. The time per iteration is the CPU cost of one second of sound.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/sound/software_sound.h"

namespace {

constexpr int kVoices = 24;
constexpr int kBlock = 512;

std::vector<std::uint32_t> voiceRates() {
  std::mt19937 random(7);
  std::uniform_int_distribution<std::uint32_t> rate(100, 100000);
  std::vector<std::uint32_t> rates;
  for (int i = 0; i < kVoices; ++i) rates.push_back(rate(random));
  return rates;
}

// Ten seconds of noise at 44.1 kHz, so no voice runs out within a second.
std::vector<std::int16_t> noiseSample() {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> value(-8000, 8000);
  std::vector<std::int16_t> s(441000);
  for (auto& v : s) v = static_cast<std::int16_t>(value(random));
  return s;
}

void BM_TidewellMixer(benchmark::State& state) {
  using namespace platform;
  auto mixer = std::make_shared<sound::Mixer>();
  sound::SoftwareSoundDevice device(mixer);
  const auto data = noiseSample();
  WaveFormatEx format{WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
  std::vector<SoundBufferRef> buffers;
  for (std::uint32_t rate : voiceRates()) {
    SoundBufferDesc desc;
    desc.flags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = static_cast<std::uint32_t>(data.size() * 2);
    desc.format = &format;
    SoundBufferRef buffer;
    device.createSoundBuffer(desc, &buffer);
    void* region;
    std::uint32_t bytes;
    buffer->lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    std::memcpy(region, data.data(), bytes);
    buffer->unlock(region, bytes, nullptr, 0);
    buffer->setFrequency(rate);
    buffer->setVolume(-1200);
    buffers.push_back(buffer);
  }
  std::vector<float> out(2 * kBlock);
  for (auto _ : state) {
    for (auto& b : buffers) {
      b->stop();
      b->play(0, 0, 0);
    }
    for (int done = 0; done < 48000; done += kBlock) mixer->render(kBlock, out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_TidewellMixer)->Unit(benchmark::kMillisecond);

}  // namespace

#ifdef TIDEWELL_HAVE_OPENAL
void runOpenAlSecond(benchmark::State& state, const char* resampler, const std::vector<std::uint32_t>& rates,
                     const std::vector<std::int16_t>& data);
namespace {
void BM_OpenAlSoft(benchmark::State& state, const char* resampler) {
  runOpenAlSecond(state, resampler, voiceRates(), noiseSample());
}
BENCHMARK_CAPTURE(BM_OpenAlSoft, sinc23rd, "23rd order sinc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAlSoft, sinc11th, "11th order sinc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAlSoft, default, "")->Unit(benchmark::kMillisecond);
}  // namespace
#endif
