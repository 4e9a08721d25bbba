#pragma once
// Sound output shaped like a device with static secondary buffers. Units:
// volume in hundredths of a decibel (0 .. -10000, gain 10^(volume/2000)),
// pan -10000 .. 10000 as a balance, frequency 100 .. 100000 Hz as the rate at
// which the buffer's own frames are played.
#include <cstdint>
#include <memory>

#include "platform/api/result_codes.h"
#include "platform/api/wave_format.h"
#include "platform/api/window_handle.h"

namespace platform {

constexpr std::uint32_t DSSCL_NORMAL = 1;
constexpr std::uint32_t DSSCL_PRIORITY = 2;
constexpr std::uint32_t DSSCL_EXCLUSIVE = 3;

constexpr std::uint32_t DSBCAPS_PRIMARYBUFFER = 0x01;
constexpr std::uint32_t DSBCAPS_STATIC = 0x02;
constexpr std::uint32_t DSBCAPS_CTRL3D = 0x10;
constexpr std::uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr std::uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr std::uint32_t DSBCAPS_CTRLVOLUME = 0x80;

constexpr std::uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr std::uint32_t DSBSTATUS_BUFFERLOST = 0x2;

constexpr std::uint32_t DSBLOCK_ENTIREBUFFER = 0x2;
constexpr std::uint32_t DSBPLAY_LOOPING = 0x1;

constexpr std::int32_t DSBVOLUME_MIN = -10000;
constexpr std::int32_t DSBVOLUME_MAX = 0;
constexpr std::int32_t DSBPAN_LEFT = -10000;
constexpr std::int32_t DSBPAN_RIGHT = 10000;
constexpr std::uint32_t DSBFREQUENCY_MIN = 100;
constexpr std::uint32_t DSBFREQUENCY_MAX = 100000;
constexpr std::uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

struct SoundBufferDesc {
  std::uint32_t size = 36;  // the description record's size, kept for fidelity
  std::uint32_t flags = 0;
  std::uint32_t bufferBytes = 0;
  std::uint32_t reserved = 0;
  const WaveFormatEx* format = nullptr;  // followed in memory by extraSize bytes
};

// Held only; nothing positions it.
class SoundListener3D {
 public:
  virtual ~SoundListener3D() = default;
};

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  virtual HResult lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                       std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                       std::uint32_t flags) = 0;
  virtual HResult unlock(void* region1, std::uint32_t bytes1, void* region2,
                         std::uint32_t bytes2) = 0;
  virtual HResult play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) = 0;
  // Plays once, starting `delayMs` after now at that exact frame of the
  // output, so hits keep their spacing whatever the output's block size. A
  // delay of 0 or less plays at once; a layer that cannot schedule plays at once.
  virtual HResult playAfter(double delayMs) {
    (void)delayMs;
    return play(0, 0, 0);
  }
  virtual HResult stop() = 0;
  virtual HResult getStatus(std::uint32_t* status) = 0;
  virtual HResult restore() = 0;
  virtual HResult setVolume(std::int32_t volume) = 0;
  virtual HResult setPan(std::int32_t pan) = 0;
  virtual HResult setFrequency(std::uint32_t frequency) = 0;
  // Only the primary buffer hands out a listener.
  virtual HResult queryListener(std::shared_ptr<SoundListener3D>* listener) = 0;
};

using SoundBufferRef = std::shared_ptr<SoundBuffer>;

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  virtual HResult setCooperativeLevel(WindowHandle window, std::uint32_t level) = 0;
  virtual HResult createSoundBuffer(const SoundBufferDesc& desc, SoundBufferRef* buffer) = 0;
  virtual HResult duplicateSoundBuffer(const SoundBufferRef& original,
                                       SoundBufferRef* duplicate) = 0;
};

using SoundDeviceRef = std::shared_ptr<SoundDevice>;

// Opens the default output device.
class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  virtual HResult directSoundCreate(SoundDeviceRef* device) = 0;
};

}  // namespace platform
