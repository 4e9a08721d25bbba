#include "platform/sdl/sdl_sound.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/sdl/audio_identity.h"
#include "platform/sdl/audio_thread_priority.h"
#include "platform/sound/software_sound.h"

namespace platform::sdl {
namespace {

constexpr auto kWatchInterval = std::chrono::milliseconds(250);
// Enough to ride through a machine that holds the sound thread back for tens
// of milliseconds (at 20 ms the server ran dry about one run in three on a
// virtual machine). The server then asks for sound in bursts, which the output
// clock's smooth line sees through; much more (100 ms) and its bursts bend
// the line by a millisecond or more.
constexpr const char* kServerBufferMs = "60";

}  // namespace

SdlSoundSystem::SdlSoundSystem() : mixer_(std::make_shared<sound::Mixer>()) {
  // The limiter already holds the frames just past the rendered ones, so the
  // first frame a hit can still start on lies that far on.
  mixer_->setFrameClock([this] {
    return outputClock_.frameAt(sound::outputClockNowMs(), framesRendered()) + sound::Mixer::kLatencyFrames;
  });
}

SdlSoundSystem::~SdlSoundSystem() {
  mixer_->setFrameClock(nullptr);
  if (watcher_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(wakeMutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    watcher_.join();
    SDL_DelEventWatch(&SdlSoundSystem::watchEvents, this);
  }
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  // Asked for by tests that measure a whole run: how often the limiter acted.
  if (std::getenv("TIDEWELL_MIXER_REPORT") != nullptr) {
    std::fprintf(stderr, "mixer: frames=%llu limited=%llu late_starts=%llu real_time=%d\n",
                 static_cast<unsigned long long>(mixer_->framesRendered()),
                 static_cast<unsigned long long>(mixer_->limitedFrames()),
                 static_cast<unsigned long long>(mixer_->lateStarts()), realTime() ? 1 : 0);
  }
}

bool SdlSoundSystem::openDevice() {
  SDL_AudioSpec want{};
  want.freq = sound::Mixer::kOutputRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = kFramesPerCallback;
  want.callback = &SdlSoundSystem::callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // SDL 2.26 asks PulseAudio (and PipeWire's stand-in for it) to hold just
  // one callback of sound, which runs dry whenever the machine is busy for
  // a moment; its client library takes a larger target from this variable
  // (a user's own setting wins). Hits are placed by the device's clock, so
  // the added latency moves every beat alike.
  setenv("PULSE_LATENCY_MSEC", kServerBufferMs, 0);
  // SDL converts if the card wants something else; we always render 48 kHz float stereo.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) return false;
  openedDevice_.store(device_);
  outputOpen_.store(true);
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

HResult SdlSoundSystem::directSoundCreate(SoundDeviceRef* device) {
  if (device == nullptr) return DSERR_INVALIDPARAM;
  if (!watcher_.joinable()) {
    announceAudioIdentity(kPlaybackIdentity);
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return DSERR_NODRIVER;
    if (!openDevice()) return DSERR_NODRIVER;
    SDL_AddEventWatch(&SdlSoundSystem::watchEvents, this);
    watcher_ = std::thread([this] { watch(); });
  }
  *device = std::make_shared<sound::SoftwareSoundDevice>(mixer_);
  return kOk;
}

void SdlSoundSystem::setFocused(bool focused) { mixer_->setMuted(!focused); }

void SDLCALL SdlSoundSystem::callback(void* self, Uint8* stream, int bytes) {
  auto* system = static_cast<SdlSoundSystem*>(self);
  const int frames = bytes / static_cast<int>(2 * sizeof(float));
  // Once for each thread SDL starts for a device (a reopened one gets anew).
  if (system->raisedThread_ != std::this_thread::get_id()) {
    system->raisedThread_ = std::this_thread::get_id();
    system->realTime_.store(raiseToRealTime());
  }
  system->outputClock_.blockStarted(system->framesRendered(), frames, sound::outputClockNowMs());
  system->mixer_->render(frames, reinterpret_cast<float*>(stream));
}

// Runs on whichever thread posts the event: it only wakes the watcher.
int SDLCALL SdlSoundSystem::watchEvents(void* self, SDL_Event* event) {
  auto* system = static_cast<SdlSoundSystem*>(self);
  if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture &&
      event->adevice.which == system->openedDevice_.load()) {
    {
      std::lock_guard<std::mutex> lock(system->wakeMutex_);
      system->removed_ = true;
    }
    system->wake_.notify_all();
  }
  return 1;
}

bool SdlSoundSystem::deviceGone() {
  std::lock_guard<std::mutex> lock(wakeMutex_);
  const bool removed = removed_;
  removed_ = false;
  return removed || device_ == 0 || SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

void SdlSoundSystem::watch() {
  std::vector<float> nowhere(2 * static_cast<std::size_t>(kFramesPerCallback));
  auto silentSince = std::chrono::steady_clock::now();
  auto lastTry = silentSince;
  std::uint64_t silentFrames = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(wakeMutex_);
      // Without an output the mixer is rendered here, a block at a time.
      const auto interval = device_ == 0 ? std::chrono::milliseconds(10) : kWatchInterval;
      wake_.wait_for(lock, interval, [this] { return stopping_ || removed_; });
      if (stopping_) return;
    }
    if (device_ != 0) {
      if (!deviceGone()) continue;
      // Once closed, SDL calls the callback no more: the mixer is ours.
      SDL_CloseAudioDevice(device_);
      device_ = 0;
      openedDevice_.store(0);
      outputOpen_.store(false);
      silentSince = std::chrono::steady_clock::now();
      silentFrames = 0;
      lastTry = silentSince - kWatchInterval;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastTry >= kWatchInterval) {
      lastTry = now;
      if (openDevice()) {
        reopens_.fetch_add(1);
        continue;
      }
    }
    // Silent: the voices move on at the output's pace.
    const auto due = static_cast<std::uint64_t>(
        std::chrono::duration<double>(now - silentSince).count() * sound::Mixer::kOutputRate);
    while (silentFrames + kFramesPerCallback <= due) {
      outputClock_.blockStarted(framesRendered(), kFramesPerCallback, sound::outputClockNowMs());
      mixer_->render(kFramesPerCallback, nowhere.data());
      silentFrames += kFramesPerCallback;
    }
  }
}

}  // namespace platform::sdl
