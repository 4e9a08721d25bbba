#pragma once
// A capture system for tests: of the formats any capture device takes, it
// accepts those the test names, makes real capture rings, and lets the test feed bytes into the newest ring as if
// the device had heard them.
//
//   platform::fake::ScriptedCaptureSystem capture;
//   capture.acceptOnly([](const WaveFormatEx& f) { return f.samplesPerSec == 22050; });
//   ... engine.createCaptureBuffer(format); engine.startCapture(); ...
//   capture.feed(bytes);            // into the newest ring, signalling its events
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/api/capture.h"
#include "platform/capture/capture_ring.h"

namespace platform::fake {

class ScriptedCaptureSystem : public CaptureSystem {
 public:
  ScriptedCaptureSystem();
  ~ScriptedCaptureSystem() override;

  HResult directSoundCaptureCreate(std::shared_ptr<CaptureDevice>* device) override;

  // Device creation fails with this code (0 = succeeds).
  void failDeviceCreation(HResult code) { deviceFailure_ = code; }
  void acceptOnly(std::function<bool(const WaveFormatEx&)> accepts) { accepts_ = std::move(accepts); }
  // The next `count` buffer creations that would succeed fail with `code`.
  void failNextBuffers(int count, HResult code) { failCount_ = count; failCode_ = code; }

  void feed(const std::vector<std::uint8_t>& bytes);
  void feedSilence(std::uint32_t count, std::uint8_t value = 0x80);

  int buffersCreated() const { return buffersCreated_; }

 private:
  class Device;
  HResult createRing(const CaptureBufferDesc& desc, CaptureBufferRef* buffer);

  HResult deviceFailure_ = 0;
  std::function<bool(const WaveFormatEx&)> accepts_;
  int failCount_ = 0;
  HResult failCode_ = 0;
  int buffersCreated_ = 0;
  std::weak_ptr<CaptureRing> newest_;
};

}  // namespace platform::fake
