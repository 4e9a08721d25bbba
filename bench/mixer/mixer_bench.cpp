// 24 voices at random rates 100..100000 Hz mixed into one second of 48 kHz
// stereo, beside OpenAL Soft rendering the same sources through its loopback
// device with each of its resamplers. The time per iteration is the CPU cost
// of one second of sound; the alias_dB and pass_dB counters are the
// renderer's worst alias or image product and its passband's flatness at
// several step ratios, measured the same way for every renderer
// (tests/sound/alias_probe.h). Like for like:
// every renderer starts its voices from the start of the sample each
// iteration, converts the sample outside the timed loop, and runs five
// repetitions reported by their median.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/sound/software_sound.h"
#include "tests/sound/alias_probe.h"

#ifdef TIDEWELL_HAVE_OPENAL
#include "bench/mixer/openal_loopback.h"
#endif

namespace {

using namespace platform;
using sound_test::AliasProbe;
using sound_test::AliasReport;

constexpr int kVoices = 24;
constexpr int kBlock = 512;
constexpr std::uint32_t kVoiceFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

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

SoundBufferRef makeBuffer(SoundDevice& device, const WaveFormatEx& format, const void* data, std::size_t bytes) {
  SoundBufferDesc desc;
  desc.flags = kVoiceFlags;
  desc.bufferBytes = static_cast<std::uint32_t>(bytes);
  desc.format = &format;
  SoundBufferRef buffer;
  if (device.createSoundBuffer(desc, &buffer) != kOk) return nullptr;
  void* region;
  std::uint32_t size;
  buffer->lock(0, 0, &region, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
  std::memcpy(region, data, size);
  buffer->unlock(region, size, nullptr, 0);
  return buffer;
}

// The step ratios (playback rate over the output's 48 kHz) at which each
// renderer's quality is reported one by one, and the sweep between the
// lowest and the highest of them whose worst is reported too.
constexpr double kRatios[] = {0.01, 0.05, 0.25, 0.5, 1.04, 2.08};
constexpr int kSweepSteps = 32;

std::vector<double> sweptRatios() {
  std::vector<double> ratios;
  for (int i = 0; i <= kSweepSteps; ++i)
    ratios.push_back(kRatios[0] * std::pow(kRatios[std::size(kRatios) - 1] / kRatios[0], double(i) / kSweepSteps));
  return ratios;
}

// Each probe renders about ninety sines per ratio: done once per renderer
// and kept. Counters: the worst alias or image product and the passband's
// largest deviation (to 16 kHz, where the source has it) at each ratio, and
// the worst of each over the sweep.
void qualityCounters(benchmark::State& state, const std::string& renderer, const AliasProbe::Renderer& render) {
  static std::map<std::string, std::map<std::string, double>> measured;
  auto found = measured.find(renderer);
  if (found == measured.end()) {
    std::map<std::string, double> counters;
    for (double ratio : kRatios) {
      const AliasReport report = AliasProbe::measure(render, ratio);
      // Appended rather than "@" + ..., which g++ 12 misreads as an overlapping copy.
      std::string suffix(1, '@');
      suffix += std::to_string(ratio).substr(0, 4);
      counters["alias_dB" + suffix] = report.worstDb;
      counters["pass_dB" + suffix] = report.passbandDb;
    }
    AliasReport worst;
    double worstRatio = 0.0;
    for (double ratio : sweptRatios()) {
      const AliasReport report = AliasProbe::measure(render, ratio);
      if (report.worstDb > worst.worstDb) {
        worst.worstDb = report.worstDb;
        worstRatio = ratio;
      }
      if (std::fabs(report.passbandDb) > std::fabs(worst.passbandDb)) worst.passbandDb = report.passbandDb;
    }
    counters["alias_dB@sweep"] = worst.worstDb;
    counters["alias_ratio@sweep"] = worstRatio;
    counters["pass_dB@sweep"] = worst.passbandDb;
    found = measured.emplace(renderer, counters).first;
  }
  for (const auto& [name, value] : found->second) state.counters[name] = value;
}

void tidewellQuality(benchmark::State& state) {
  qualityCounters(state, "tidewell", [](const std::vector<float>& sample, std::uint32_t playRate) {
    auto mixer = std::make_shared<sound::Mixer>();
    sound::SoftwareSoundDevice device(mixer);
    const WaveFormatEx format{WAVE_FORMAT_IEEE_FLOAT, 1, 44100, 44100 * 4, 4, 32, 0};
    auto buffer = makeBuffer(device, format, sample.data(), sample.size() * sizeof(float));
    buffer->setFrequency(playRate);
    buffer->play(0, 0, 0);
    std::vector<float> stereo(2 * AliasProbe::kOutputFrames);
    mixer->render(static_cast<int>(AliasProbe::kOutputFrames), stereo.data());
    std::vector<float> left(AliasProbe::kOutputFrames);
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = stereo[2 * i];
    return left;
  });
}

void BM_TidewellMixer(benchmark::State& state) {
  tidewellQuality(state);
  auto mixer = std::make_shared<sound::Mixer>();
  sound::SoftwareSoundDevice device(mixer);
  const auto data = noiseSample();
  const WaveFormatEx format{WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
  auto original = makeBuffer(device, format, data.data(), data.size() * 2);
  std::vector<SoundBufferRef> buffers(kVoices);
  std::vector<float> out(2 * kBlock);
  for (auto _ : state) {
    // Fresh duplicates start at the sample's first frame, as OpenAL's
    // rewound sources do; a stopped buffer would go on where it stopped.
    state.PauseTiming();
    const auto rates = voiceRates();
    for (int i = 0; i < kVoices; ++i) {
      buffers[static_cast<std::size_t>(i)].reset();
      device.duplicateSoundBuffer(original, &buffers[static_cast<std::size_t>(i)]);
      buffers[static_cast<std::size_t>(i)]->setFrequency(rates[static_cast<std::size_t>(i)]);
      buffers[static_cast<std::size_t>(i)]->setVolume(-1200);
      buffers[static_cast<std::size_t>(i)]->play(0, 0, 0);
    }
    mixer->render(sound::Mixer::kFadeFrames, out.data());  // the last iteration's voices fade out here
    state.ResumeTiming();
    for (int done = 0; done < 48000; done += kBlock) mixer->render(kBlock, out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_TidewellMixer)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

#ifdef TIDEWELL_HAVE_OPENAL
mixer_bench::OpenAlLoopback& loopback() {
  static mixer_bench::OpenAlLoopback device;
  return device;
}

void BM_OpenAlSoft(benchmark::State& state, int resampler, const std::string& name) {
  if (!loopback().ready()) {
    state.SkipWithError("no OpenAL Soft loopback device");
    return;
  }
  qualityCounters(state, "openal " + name, [resampler](const std::vector<float>& sample, std::uint32_t playRate) {
    return loopback().renderLeft(resampler, sample, playRate, AliasProbe::kOutputFrames);
  });
  loopback().timeOneSecond(state, resampler, voiceRates(), noiseSample());
}

// One benchmark per resampler the library offers, named after it.
const int registered = [] {
  const auto names = loopback().resamplers();
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string label;
    for (char c : names[i]) label += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    benchmark::RegisterBenchmark(("BM_OpenAlSoft/" + label).c_str(), BM_OpenAlSoft, static_cast<int>(i), names[i])
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
  }
  return 0;
}();
#endif

}  // namespace
