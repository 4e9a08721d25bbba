#include "platform/sound/mixer.h"

#include <algorithm>

#include "platform/sound/voice_render.h"

namespace platform::sound {

Mixer::Mixer()
    : views_(kMaxVoices),
      endedSerial_(new std::atomic<std::uint32_t>[kMaxVoices]),
      voices_(kMaxVoices),
      tails_(kMaxTails),
      scratch_(2 * static_cast<std::size_t>(std::max(kRampFrames, kFadeFrames))),
      limiter_(kOutputRate),
      bank_(kernelBank()) {
  for (int i = 0; i < kMaxVoices; ++i) endedSerial_[static_cast<std::size_t>(i)].store(0);
}

Mixer::~Mixer() = default;

std::uint64_t Mixer::stepFor(std::uint32_t frequency) {
  return (static_cast<std::uint64_t>(frequency) << 32) / kOutputRate;
}

// ---- the main thread's side ----

void Mixer::send(const Command& command) {
  ++commandsSent_;
  flushOverflow();
  if (!overflow_.empty() || !ring_.push(command)) overflow_.push_back(command);
  freeRetired();
}

// Commands that found the ring full go in order once there is room again.
void Mixer::flushOverflow() {
  while (!overflow_.empty() && ring_.push(overflow_.front())) overflow_.pop_front();
}

void Mixer::freeRetired() {
  const std::uint64_t safe = safeCommand_.load(std::memory_order_acquire);
  while (!retired_.empty() && retired_.front().first <= safe) retired_.pop_front();
}

// Kept until the audio thread has applied every command sent so far and no
// fading tail made before then still plays.
void Mixer::retire(std::shared_ptr<const DecodedSample> sample) {
  if (sample) retired_.emplace_back(commandsSent_, std::move(sample));
}

int Mixer::acquireVoice(SampleStore* store, std::uint32_t frequency) {
  for (int i = 0; i < kMaxVoices; ++i) {
    VoiceView& view = views_[static_cast<std::size_t>(i)];
    if (view.inUse) continue;
    view.inUse = true;
    view.playing = false;
    view.store = store;
    Command c;
    c.kind = CommandKind::kAcquire;
    c.voice = i;
    c.sample = store->decoded.get();
    c.value = stepFor(frequency);
    c.kernel = &bank_.forRatio(static_cast<double>(frequency) / kOutputRate);
    send(c);
    return i;
  }
  return -1;
}

void Mixer::releaseVoice(int voice) {
  VoiceView& view = views_[static_cast<std::size_t>(voice)];
  Command c;
  c.kind = CommandKind::kRelease;
  c.voice = voice;
  send(c);
  // The store may go with this buffer; its data waits for the audio thread.
  if (view.store != nullptr) retire(view.store->decoded);
  view = VoiceView{.serial = view.serial};
}

void Mixer::setGains(int voice, float left, float right) {
  Command c;
  c.kind = CommandKind::kGains;
  c.voice = voice;
  c.left = left;
  c.right = right;
  send(c);
}

void Mixer::setFrequency(int voice, std::uint32_t frequency) {
  Command c;
  c.kind = CommandKind::kFrequency;
  c.voice = voice;
  c.value = stepFor(frequency);
  c.kernel = &bank_.forRatio(static_cast<double>(frequency) / kOutputRate);
  send(c);
}

void Mixer::play(int voice, std::uint64_t startFrame) {
  VoiceView& view = views_[static_cast<std::size_t>(voice)];
  view.playing = true;
  ++view.serial;
  Command c;
  c.kind = CommandKind::kPlay;
  c.voice = voice;
  c.value = startFrame;
  c.serial = view.serial;
  send(c);
}

void Mixer::stop(int voice) {
  views_[static_cast<std::size_t>(voice)].playing = false;
  Command c;
  c.kind = CommandKind::kStop;
  c.voice = voice;
  send(c);
}

bool Mixer::isPlaying(int voice) {
  flushOverflow();
  freeRetired();
  VoiceView& view = views_[static_cast<std::size_t>(voice)];
  if (view.playing && endedSerial_[static_cast<std::size_t>(voice)].load(std::memory_order_acquire) == view.serial)
    view.playing = false;
  return view.playing;
}

void Mixer::replaceSample(SampleStore* store, std::shared_ptr<const DecodedSample> next) {
  store->decoded.swap(next);
  for (int i = 0; i < kMaxVoices; ++i) {
    if (!views_[static_cast<std::size_t>(i)].inUse || views_[static_cast<std::size_t>(i)].store != store) continue;
    Command c;
    c.kind = CommandKind::kSample;
    c.voice = i;
    c.sample = store->decoded.get();
    send(c);
  }
  retire(std::move(next));
}

// ---- the audio thread's side ----

void Mixer::applyCommands(std::uint64_t mixStart) {
  Command c;
  while (ring_.pop(&c)) {
    ++commandsApplied_;
    apply(c, mixStart);
  }
}

void Mixer::apply(const Command& c, std::uint64_t mixStart) {
  Voice& v = voices_[static_cast<std::size_t>(c.voice)];
  switch (c.kind) {
    case CommandKind::kAcquire:
      v = Voice{};
      v.inUse = true;
      v.sample = c.sample;
      v.step = c.value;
      v.kernel = c.kernel;
      highWater_ = std::max(highWater_, c.voice + 1);
      break;
    case CommandKind::kRelease:
      fadeOut(v, mixStart);
      v = Voice{};
      break;
    case CommandKind::kGains: {
      // A sounding voice glides to its new gains; a silent one takes them at once.
      const bool sounding = v.playing && v.startFrame <= mixStart;
      v.targetLeft = c.left;
      v.targetRight = c.right;
      if (sounding && (c.left != v.gainLeft || c.right != v.gainRight)) {
        v.rampLeft = kRampFrames;
      } else if (!sounding) {
        v.gainLeft = c.left;
        v.gainRight = c.right;
        v.rampLeft = 0;
      }
      break;
    }
    case CommandKind::kFrequency:
      v.step = c.value;
      v.kernel = c.kernel;
      break;
    case CommandKind::kPlay:
      // A hit whose frame is gone plays at once; counted so a run can tell.
      if (c.value != 0 && c.value < mixStart) lateStarts_.fetch_add(1, std::memory_order_relaxed);
      v.playing = true;
      v.startFrame = c.value;
      v.serial = c.serial;
      break;
    case CommandKind::kStop:
      fadeOut(v, mixStart);
      v.playing = false;
      break;
    case CommandKind::kSample:
      v.sample = c.sample;
      break;
  }
}

// A voice cut while it sounds goes on as a tail whose gain falls to 0 over
// kFadeFrames; the voice itself stops where it was.
void Mixer::fadeOut(Voice& voice, std::uint64_t mixStart) {
  if (!voice.inUse || !voice.playing || voice.startFrame > mixStart || voice.sample == nullptr) return;
  for (Voice& tail : tails_) {
    if (tail.inUse) continue;
    tail = voice;
    tail.targetLeft = 0.0f;
    tail.targetRight = 0.0f;
    tail.rampLeft = kFadeFrames;
    tail.heldSince = commandsApplied_;
    return;
  }
  // With every tail busy the voice is cut.
}

// Mixes up to `frames` frames of a voice into out; true once it has run out.
bool Mixer::mixVoice(Voice& voice, int frames, float* out) {
  const DecodedSample* sample = voice.sample;
  const std::uint64_t end = sample == nullptr ? 0 : static_cast<std::uint64_t>(sample->frames) << 32;
  if (voice.position >= end || voice.step == 0) return true;
  // Played once: it stops after the output frame whose next position passes
  // its last frame.
  const std::uint64_t framesLeft = (end - voice.position + voice.step - 1) / voice.step;
  const int count = framesLeft < static_cast<std::uint64_t>(frames) ? static_cast<int>(framesLeft) : frames;
  const auto addFrames = [&](float left, float right, int n, float* to) {
    const VoiceSpan span{sample->start(), voice.position, voice.step, left, right};
    if (sample->channels == 1) {
      addMonoVoice(*voice.kernel, span, n, to);
    } else {
      addStereoVoice(*voice.kernel, span, n, to);
    }
    voice.position += static_cast<std::uint64_t>(n) * voice.step;
  };

  int done = 0;
  while (done < count && voice.rampLeft > 0) {
    // Through the scratch at unit gain, then each frame at its own gain.
    const int n = std::min({count - done, voice.rampLeft, static_cast<int>(scratch_.size() / 2)});
    std::fill(scratch_.begin(), scratch_.begin() + 2 * n, 0.0f);
    addFrames(1.0f, 1.0f, n, scratch_.data());
    const float stepLeft = (voice.targetLeft - voice.gainLeft) / static_cast<float>(voice.rampLeft);
    const float stepRight = (voice.targetRight - voice.gainRight) / static_cast<float>(voice.rampLeft);
    float* to = out + 2 * static_cast<std::ptrdiff_t>(done);
    for (int k = 0; k < n; ++k) {
      to[2 * k] += scratch_[2 * static_cast<std::size_t>(k)] * (voice.gainLeft + stepLeft * static_cast<float>(k + 1));
      to[2 * k + 1] +=
          scratch_[2 * static_cast<std::size_t>(k) + 1] * (voice.gainRight + stepRight * static_cast<float>(k + 1));
    }
    voice.rampLeft -= n;
    voice.gainLeft = voice.rampLeft == 0 ? voice.targetLeft : voice.gainLeft + stepLeft * static_cast<float>(n);
    voice.gainRight = voice.rampLeft == 0 ? voice.targetRight : voice.gainRight + stepRight * static_cast<float>(n);
    done += n;
  }
  if (done < count) {
    if (voice.gainLeft == 0.0f && voice.gainRight == 0.0f) {
      voice.position += static_cast<std::uint64_t>(count - done) * voice.step;  // silent: only time passes
    } else {
      addFrames(voice.gainLeft, voice.gainRight, count - done, out + 2 * static_cast<std::ptrdiff_t>(done));
    }
  }
  return static_cast<std::uint64_t>(count) == framesLeft;
}

void Mixer::applyMasterGain(float* out, int frames) {
  const float target = muted_.load(std::memory_order_relaxed) ? 0.0f : 1.0f;
  if (masterGain_ == target) {
    if (target == 0.0f) std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(frames), 0.0f);
    return;
  }
  const float step = (target > masterGain_ ? 1.0f : -1.0f) / kFadeFrames;
  for (int i = 0; i < frames; ++i) {
    if (masterGain_ != target) {
      masterGain_ += step;
      if ((step > 0.0f && masterGain_ >= target) || (step < 0.0f && masterGain_ <= target)) masterGain_ = target;
    }
    out[2 * i] *= masterGain_;
    out[2 * i + 1] *= masterGain_;
  }
}

void Mixer::render(int frames, float* out) {
  std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(frames), 0.0f);
  // The count moves on before the commands are read: a play() that misses
  // this block reads the new count afterwards, and its hit starts with the
  // next block, right at that count.
  const std::uint64_t blockStart = framesRendered_.load(std::memory_order_relaxed);
  framesRendered_.store(blockStart + static_cast<std::uint64_t>(frames), std::memory_order_seq_cst);
  // What is mixed now leaves kLatencyFrames later.
  const std::uint64_t mixStart = blockStart + kLatencyFrames;
  const std::uint64_t mixEnd = mixStart + static_cast<std::uint64_t>(frames);
  applyCommands(mixStart);

  for (int i = 0; i < highWater_; ++i) {
    Voice& v = voices_[static_cast<std::size_t>(i)];
    if (!v.inUse || !v.playing || v.startFrame >= mixEnd) continue;
    // A hit scheduled inside this block starts at its own frame.
    const int offset = v.startFrame > mixStart ? static_cast<int>(v.startFrame - mixStart) : 0;
    if (mixVoice(v, frames - offset, out + 2 * static_cast<std::ptrdiff_t>(offset))) {
      v.playing = false;
      v.position = 0;
      endedSerial_[static_cast<std::size_t>(i)].store(v.serial, std::memory_order_release);
    }
  }
  std::uint64_t oldestTail = commandsApplied_;
  for (Voice& tail : tails_) {
    if (!tail.inUse) continue;
    if (mixVoice(tail, frames, out) || tail.rampLeft == 0) {
      tail = Voice{};
    } else {
      oldestTail = std::min(oldestTail, tail.heldSince - 1);
    }
  }
  // Data let go by the commands up to here is read by nothing any more.
  safeCommand_.store(oldestTail, std::memory_order_release);

  limiter_.process(out, frames);
  limitedFrames_.store(limiter_.engagedFrames(), std::memory_order_relaxed);
  applyMasterGain(out, frames);
  // The finished block, as it leaves: an output tap reads it here.
  if (OutputTap* tap = tap_.load(std::memory_order_acquire)) tap->onOutput(out, frames);
}

}  // namespace platform::sound
