#include "bench/mixer/openal_loopback.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cctype>

namespace mixer_bench {
namespace {

constexpr int kBlock = 512;

// Sources, a buffer holding the sample, and the chosen resampler on each.
class SourceSet {
 public:
  SourceSet(std::size_t count, ALenum format, const void* data, ALsizei bytes, int resampler) : sources_(count) {
    alGenBuffers(1, &buffer_);
    alBufferData(buffer_, format, data, bytes, 44100);
    alGenSources(static_cast<ALsizei>(count), sources_.data());
    for (ALuint s : sources_) {
      alSourcei(s, AL_BUFFER, static_cast<ALint>(buffer_));
      alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
      alSourcei(s, AL_SOURCE_RESAMPLER_SOFT, resampler);
    }
  }
  ~SourceSet() {
    alSourceStopv(static_cast<ALsizei>(sources_.size()), sources_.data());
    alDeleteSources(static_cast<ALsizei>(sources_.size()), sources_.data());
    alDeleteBuffers(1, &buffer_);
  }
  SourceSet(const SourceSet&) = delete;
  SourceSet& operator=(const SourceSet&) = delete;

  ALuint operator[](std::size_t i) const { return sources_[i]; }
  void restart() {
    alSourceRewindv(static_cast<ALsizei>(sources_.size()), sources_.data());
    alSourcePlayv(static_cast<ALsizei>(sources_.size()), sources_.data());
  }

 private:
  ALuint buffer_ = 0;
  std::vector<ALuint> sources_;
};

}  // namespace

OpenAlLoopback::OpenAlLoopback() {
  auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  render_ = reinterpret_cast<void*>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  if (open == nullptr || render_ == nullptr) return;
  auto* device = open(nullptr);
  if (device == nullptr) return;
  device_ = device;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                               ALC_FREQUENCY, 48000, ALC_MONO_SOURCES, 32, 0};
  auto* context = alcCreateContext(device, attributes);
  if (context == nullptr || !alcMakeContextCurrent(context)) return;
  context_ = context;
}

OpenAlLoopback::~OpenAlLoopback() {
  alcMakeContextCurrent(nullptr);
  if (context_ != nullptr) alcDestroyContext(static_cast<ALCcontext*>(context_));
  if (device_ != nullptr) alcCloseDevice(static_cast<ALCdevice*>(device_));
}

std::vector<std::string> OpenAlLoopback::resamplers() const {
  std::vector<std::string> names;
  if (!ready()) return names;
  auto getStringi = reinterpret_cast<LPALGETSTRINGISOFT>(alGetProcAddress("alGetStringiSOFT"));
  if (getStringi == nullptr) return names;
  const ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
  for (ALint i = 0; i < count; ++i) names.emplace_back(getStringi(AL_RESAMPLER_NAME_SOFT, i));
  return names;
}

void OpenAlLoopback::timeOneSecond(benchmark::State& state, int resampler, const std::vector<std::uint32_t>& rates,
                                   const std::vector<std::int16_t>& sample) {
  auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(render_);
  SourceSet sources(rates.size(), AL_FORMAT_MONO16, sample.data(), static_cast<ALsizei>(sample.size() * 2),
                    resampler);
  for (std::size_t i = 0; i < rates.size(); ++i) {
    alSourcef(sources[i], AL_PITCH, static_cast<float>(rates[i]) / 44100.0f);
    alSourcef(sources[i], AL_GAIN, 0.25f);
  }
  std::vector<float> out(2 * kBlock);
  for (auto _ : state) {
    sources.restart();
    for (int done = 0; done < 48000; done += kBlock) render(static_cast<ALCdevice*>(device_), out.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
  }
}

std::vector<float> OpenAlLoopback::renderLeft(int resampler, const std::vector<float>& sample, std::uint32_t rate,
                                              std::size_t frames) {
  auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(render_);
  SourceSet sources(1, AL_FORMAT_MONO_FLOAT32, sample.data(), static_cast<ALsizei>(sample.size() * sizeof(float)),
                    resampler);
  alSourcef(sources[0], AL_PITCH, static_cast<float>(rate) / 44100.0f);
  sources.restart();
  std::vector<float> stereo(2 * frames);
  render(static_cast<ALCdevice*>(device_), stereo.data(), static_cast<ALCsizei>(frames));
  std::vector<float> left(frames);
  for (std::size_t i = 0; i < frames; ++i) left[i] = stereo[2 * i];
  return left;
}

}  // namespace mixer_bench
