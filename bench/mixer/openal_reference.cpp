// OpenAL Soft as the reference: a loopback device at 48 kHz float stereo,
// the same sources at the same pitches, with a chosen resampler.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

void runOpenAlSecond(benchmark::State& state, const char* resampler, const std::vector<std::uint32_t>& rates,
                     const std::vector<std::int16_t>& data) {
  auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  auto renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  if (openLoopback == nullptr || renderSamples == nullptr) {
    state.SkipWithError("no loopback device");
    return;
  }
  ALCdevice* device = openLoopback(nullptr);
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                               ALC_FREQUENCY, 48000, ALC_MONO_SOURCES, 32, 0};
  ALCcontext* context = alcCreateContext(device, attributes);
  alcMakeContextCurrent(context);

  ALint resamplerIndex = -1;
  if (*resampler != 0) {
    auto getStringi = reinterpret_cast<LPALGETSTRINGISOFT>(alGetProcAddress("alGetStringiSOFT"));
    const ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
    for (ALint i = 0; getStringi != nullptr && i < count; ++i) {
      std::string name = getStringi(AL_RESAMPLER_NAME_SOFT, i);
      for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (name.find(resampler) != std::string::npos) resamplerIndex = i;
    }
    if (resamplerIndex < 0) {
      state.SkipWithError("resampler not offered");
      return;
    }
  }

  ALuint buffer;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, AL_FORMAT_MONO16, data.data(), static_cast<ALsizei>(data.size() * 2), 44100);
  std::vector<ALuint> sources(rates.size());
  alGenSources(static_cast<ALsizei>(sources.size()), sources.data());
  for (std::size_t i = 0; i < sources.size(); ++i) {
    alSourcei(sources[i], AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(sources[i], AL_PITCH, static_cast<float>(rates[i]) / 44100.0f);  // OpenAL caps pitch itself
    alSourcef(sources[i], AL_GAIN, 0.25f);
    alSourcei(sources[i], AL_SOURCE_RELATIVE, AL_TRUE);
    if (resamplerIndex >= 0) alSourcei(sources[i], AL_SOURCE_RESAMPLER_SOFT, resamplerIndex);
  }
  std::vector<float> out(2 * 512);
  for (auto _ : state) {
    alSourceRewindv(static_cast<ALsizei>(sources.size()), sources.data());
    alSourcePlayv(static_cast<ALsizei>(sources.size()), sources.data());
    for (int done = 0; done < 48000; done += 512) renderSamples(device, out.data(), 512);
    benchmark::DoNotOptimize(out.data());
  }
  alDeleteSources(static_cast<ALsizei>(sources.size()), sources.data());
  alDeleteBuffers(1, &buffer);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  alcCloseDevice(device);
}
