#include "platform/sound/mixer.h"

#include <algorithm>

#include "platform/sound/output_limiter.h"
#include "platform/sound/voice_render.h"

namespace platform::sound {

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

void Mixer::play(int voice, std::uint64_t startFrame) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[static_cast<std::size_t>(voice)].playing = true;
  voices_[static_cast<std::size_t>(voice)].startFrame = startFrame;
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
    const std::uint64_t blockStart = framesRendered_.load(std::memory_order_relaxed);
    const std::uint64_t blockEnd = blockStart + static_cast<std::uint64_t>(frames);
    for (int i = 0; i < highWater_; ++i) {
      Voice& v = voices_[static_cast<std::size_t>(i)];
      if (!v.inUse || !v.playing || v.startFrame >= blockEnd) continue;
      // A hit scheduled inside this block starts at its own frame.
      const int offset = v.startFrame > blockStart ? static_cast<int>(v.startFrame - blockStart) : 0;
      mixVoice(v, frames - offset, out + 2 * static_cast<std::size_t>(offset));
    }
    framesRendered_.fetch_add(static_cast<std::uint64_t>(frames), std::memory_order_release);
  }
  if (muted_.load()) {
    std::fill(out, out + 2 * static_cast<std::size_t>(frames), 0.0f);
  } else {
    // The sum never wraps: loud peaks are bent under full scale.
    limitBlock(out, 2 * static_cast<std::size_t>(frames));
  }
  if (OutputTap* tap = tap_.load(std::memory_order_acquire)) tap->onOutput(out, frames);
}

void Mixer::mixVoice(Voice& voice, int frames, float* out) {
  const DecodedSample* sample = voice.store->decoded.get();
  const std::uint64_t end = sample == nullptr ? 0 : static_cast<std::uint64_t>(sample->frames) << 32;
  if (voice.position >= end) {
    voice.playing = false;
    voice.position = 0;
    return;
  }
  // Played once: it stops after the output frame whose next position passes
  // its last frame, and returns to the start.
  const std::uint64_t framesLeft = (end - voice.position + voice.step - 1) / voice.step;
  const int count = framesLeft < static_cast<std::uint64_t>(frames) ? static_cast<int>(framesLeft) : frames;
  const VoiceSpan span{sample->start(), voice.position, voice.step, voice.gainLeft, voice.gainRight};
  if (sample->channels == 1) {
    addMonoVoice(*voice.kernel, span, count, out);
  } else {
    addStereoVoice(*voice.kernel, span, count, out);
  }
  if (static_cast<std::uint64_t>(count) == framesLeft) {
    voice.playing = false;
    voice.position = 0;
  } else {
    voice.position += static_cast<std::uint64_t>(count) * voice.step;
  }
}

}  // namespace platform::sound
