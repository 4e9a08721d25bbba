#include "platform/fake/scripted_capture.h"

namespace platform::fake {

class ScriptedCaptureSystem::Device : public CaptureDevice {
 public:
  explicit Device(ScriptedCaptureSystem* owner) : owner_(owner) {}
  HResult createCaptureBuffer(const CaptureBufferDesc& desc, CaptureBufferRef* buffer) override {
    return owner_->createRing(desc, buffer);
  }

 private:
  ScriptedCaptureSystem* owner_;
};

ScriptedCaptureSystem::ScriptedCaptureSystem()
    : accepts_([](const WaveFormatEx&) { return true; }) {}

ScriptedCaptureSystem::~ScriptedCaptureSystem() = default;

HResult ScriptedCaptureSystem::directSoundCaptureCreate(std::shared_ptr<CaptureDevice>* device) {
  if (failed(deviceFailure_)) return deviceFailure_;
  *device = std::make_shared<Device>(this);
  return kOk;
}

HResult ScriptedCaptureSystem::createRing(const CaptureBufferDesc& desc, CaptureBufferRef* buffer) {
  if (!buffer) return DSERR_INVALIDPARAM;
  if (const HResult rule = checkCaptureDesc(desc); failed(rule)) return rule;
  if (!accepts_(*desc.format)) return DSERR_BADFORMAT;  // a device that takes fewer formats
  if (failCount_ > 0) {
    --failCount_;
    return failCode_;
  }
  auto ring = std::make_shared<CaptureRing>(desc.bufferBytes, *desc.format);
  newest_ = ring;
  ++buffersCreated_;
  *buffer = ring;
  return kOk;
}

void ScriptedCaptureSystem::feed(const std::vector<std::uint8_t>& bytes) {
  if (auto ring = newest_.lock()) ring->feed(bytes.data(), bytes.size());
}

void ScriptedCaptureSystem::feedSilence(std::uint32_t count, std::uint8_t value) {
  feed(std::vector<std::uint8_t>(count, value));
}

}  // namespace platform::fake
