#include "platform/sound/mixer.h"

#include <algorithm>
#include <cstring>

namespace platform::sound {
namespace {

using Float4 = float __attribute__((vector_size(16)));

Float4 load4(const float* p) {
  Float4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// One mono output value: the kernel's taps over the frames around x.
float convolveMono(const float* x, const float* coef, const float* delta, int taps, float fraction) {
  Float4 acc = {0, 0, 0, 0};
  for (int k = 0; k < taps; k += 4) acc += load4(x + k) * (load4(coef + k) + fraction * load4(delta + k));
  return acc[0] + acc[1] + acc[2] + acc[3];
}

void convolveStereo(const float* x, const float* coef, const float* delta, int taps, float fraction,
                    float* left, float* right) {
  float l = 0.0f, r = 0.0f;
  for (int k = 0; k < taps; ++k) {
    const float w = coef[k] + fraction * delta[k];
    l += x[2 * k] * w;
    r += x[2 * k + 1] * w;
  }
  *left = l;
  *right = r;
}

}  // namespace

Mixer::Mixer() : voices_(kMaxVoices), bank_(kernelBank()) {}

std::uint64_t Mixer::stepFor(std::uint32_t frequency) {
  return (static_cast<std::uint64_t>(frequency) << 32) / kOutputRate;
}

int Mixer::acquireVoice(SampleStore* store, std::uint32_t frequency) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int i = 0; i < kMaxVoices; ++i) {
    Voice& v = voices_[static_cast<std::size_t>(i)];
    if (v.inUse) continue;
    v = Voice{};
    v.inUse = true;
    v.store = store;
    v.step = stepFor(frequency);
    v.kernel = &bank_.forRatio(static_cast<double>(frequency) / kOutputRate);
    highWater_ = std::max(highWater_, i + 1);
    return i;
  }
  return -1;
}

void Mixer::releaseVoice(int voice) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[static_cast<std::size_t>(voice)] = Voice{};
}

void Mixer::setGains(int voice, float left, float right) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[static_cast<std::size_t>(voice)].gainLeft = left;
  voices_[static_cast<std::size_t>(voice)].gainRight = right;
}

void Mixer::setFrequency(int voice, std::uint32_t frequency) {
  const KernelTable* kernel = &bank_.forRatio(static_cast<double>(frequency) / kOutputRate);
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[static_cast<std::size_t>(voice)].step = stepFor(frequency);
  voices_[static_cast<std::size_t>(voice)].kernel = kernel;
}

void Mixer::play(int voice) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[static_cast<std::size_t>(voice)].playing = true;
}

void Mixer::stop(int voice) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[static_cast<std::size_t>(voice)].playing = false;
}

bool Mixer::isPlaying(int voice) {
  std::lock_guard<std::mutex> lock(mutex_);
  return voices_[static_cast<std::size_t>(voice)].playing;
}

std::shared_ptr<const DecodedSample> Mixer::replaceSample(SampleStore* store,
                                                          std::shared_ptr<const DecodedSample> next) {
  std::lock_guard<std::mutex> lock(mutex_);
  store->decoded.swap(next);
  return next;
}

void Mixer::render(int frames, float* out) {
  std::fill(out, out + 2 * static_cast<std::size_t>(frames), 0.0f);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < highWater_; ++i) {
      Voice& v = voices_[static_cast<std::size_t>(i)];
      if (v.inUse && v.playing) mixVoice(v, frames, out);
    }
  }
  // The sum never wraps: clip it at full scale.
  const bool silent = muted_.load();
  for (std::size_t i = 0; i < 2 * static_cast<std::size_t>(frames); ++i)
    out[i] = silent ? 0.0f : std::clamp(out[i], -1.0f, 1.0f);
}

void Mixer::mixVoice(Voice& voice, int frames, float* out) {
  const DecodedSample* sample = voice.store->decoded.get();
  if (sample == nullptr || sample->frames == 0) {
    voice.playing = false;
    voice.position = 0;
    return;
  }
  const KernelTable& kernel = *voice.kernel;
  const int channels = sample->channels;
  const float* data = sample->start();
  const float phases = static_cast<float>(kernel.phases);
  for (int n = 0; n < frames; ++n) {
    const auto frame = static_cast<std::int64_t>(voice.position >> 32);
    const float phase = static_cast<float>(voice.position & 0xFFFFFFFFu) * (1.0f / 4294967296.0f) * phases;
    const int p = static_cast<int>(phase);
    const float fraction = phase - static_cast<float>(p);
    const float* coef = kernel.phase(p);
    const float* delta = coef + kernel.taps;
    const float* x = data + (frame - kernel.lead) * channels;
    float left, right;
    if (channels == 1) {
      left = right = convolveMono(x, coef, delta, kernel.taps, fraction);
    } else {
      convolveStereo(x, coef, delta, kernel.taps, fraction, &left, &right);
    }
    out[2 * n] += left * voice.gainLeft;
    out[2 * n + 1] += right * voice.gainRight;
    voice.position += voice.step;
    if (static_cast<std::int64_t>(voice.position >> 32) >= sample->frames) {
      // Played once: it stops after its last frame and returns to the start.
      voice.playing = false;
      voice.position = 0;
      return;
    }
  }
}

}  // namespace platform::sound
