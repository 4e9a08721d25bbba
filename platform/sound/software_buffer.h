#pragma once
// The buffers of the software device: the primary buffer (held only) and the
// secondary buffers, each one voice slot of the mixer over shared data.
#include <memory>
#include <vector>

#include "platform/api/sound.h"
#include "platform/sound/mixer.h"

namespace platform::sound {

// The output frame a hit asked for `delayMs` after `frameNow` starts on. A
// delay already past names a frame gone by, which the mixer plays at once
// and counts as late (frame 1 at least: 0 is play()'s uncounted "at once").
std::uint64_t scheduledStartFrame(std::uint64_t frameNow, double delayMs);

class PrimarySoundBuffer : public SoundBuffer {
 public:
  explicit PrimarySoundBuffer(std::uint32_t flags) : flags_(flags) {}
  HResult lock(std::uint32_t, std::uint32_t, void**, std::uint32_t*, void**, std::uint32_t*,
               std::uint32_t) override { return DSERR_INVALIDCALL; }
  HResult unlock(void*, std::uint32_t, void*, std::uint32_t) override { return DSERR_INVALIDCALL; }
  HResult play(std::uint32_t, std::uint32_t, std::uint32_t) override { return kOk; }
  HResult stop() override { return kOk; }
  HResult getStatus(std::uint32_t* status) override;
  HResult restore() override { return kOk; }
  HResult setVolume(std::int32_t) override { return DSERR_CONTROLUNAVAIL; }
  HResult setPan(std::int32_t) override { return DSERR_CONTROLUNAVAIL; }
  HResult setFrequency(std::uint32_t) override { return DSERR_CONTROLUNAVAIL; }
  HResult queryListener(std::shared_ptr<SoundListener3D>* listener) override;

 private:
  std::uint32_t flags_;
};

class SecondarySoundBuffer : public SoundBuffer {
 public:
  // Takes a voice slot; valid() is false when the mixer has none left.
  SecondarySoundBuffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<SampleStore> store,
                       std::uint32_t flags, std::uint32_t frequency);
  ~SecondarySoundBuffer() override;

  bool valid() const { return voice_ >= 0; }
  // A duplicate: same data, same parameters, stopped at 0.
  std::shared_ptr<SecondarySoundBuffer> duplicate() const;

  HResult lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
               void** region2, std::uint32_t* bytes2, std::uint32_t flags) override;
  HResult unlock(void* region1, std::uint32_t bytes1, void* region2, std::uint32_t bytes2) override;
  HResult play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) override;
  HResult playAfter(double delayMs) override;
  HResult stop() override;
  HResult getStatus(std::uint32_t* status) override;
  HResult restore() override { return kOk; }  // memory buffers are never lost
  HResult setVolume(std::int32_t volume) override;
  HResult setPan(std::int32_t pan) override;
  HResult setFrequency(std::uint32_t frequency) override;
  HResult queryListener(std::shared_ptr<SoundListener3D>* listener) override;

 private:
  void applyGains();

  std::shared_ptr<Mixer> mixer_;
  std::shared_ptr<SampleStore> store_;
  std::uint32_t flags_;
  int voice_ = -1;
  std::int32_t volume_ = 0;
  std::int32_t pan_ = 0;
  std::uint32_t frequency_;
};

}  // namespace platform::sound
