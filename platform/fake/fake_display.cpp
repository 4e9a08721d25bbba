#include "platform/fake/fake_display.h"

#include <algorithm>

namespace platform {

FakeSurface::FakeSurface(std::string name, int width, int height,
                         std::shared_ptr<FakeDisplayLog> log)
    : MemorySurface(width, height), name_(std::move(name)), log_(std::move(log)) {}

FakeSurface::~FakeSurface() { log_->events.push_back("release " + name_); }

HResult FakeSurface::lock(std::uint32_t flags, SurfaceLock* out) {
  if (lockResult != kOk) return lockResult;
  return MemorySurface::lock(flags, out);
}

HResult FakeSurface::restore() {
  log_->events.push_back("restore " + name_);
  if (restoreResult != kOk) return restoreResult;
  return MemorySurface::restore();
}

FakePrimarySurface::FakePrimarySurface(int width, int height, std::shared_ptr<FakeDisplayLog> log)
    : FakeSurface("primary", width, height, std::move(log)) {}

HResult FakePrimarySurface::blt(const Rect*, DisplaySurface* source, const Rect*, std::uint32_t) {
  ++bltCalls;
  log_->events.push_back("blt");
  HResult result = kOk;
  if (!bltScript.empty()) {
    result = bltScript.front();
    bltScript.pop_front();
  }
  if (result != kOk) return result;
  auto* from = dynamic_cast<MemorySurface*>(source);
  if (from == nullptr) return DDERR_GENERIC;
  shown.assign(from->pixels(), from->pixels() + from->pitch() * from->height());
  ++presented;
  return kOk;
}

FakePalette::FakePalette(const PaletteEntry* entries, std::shared_ptr<FakeDisplayLog> log)
    : MemoryPalette(entries), log_(std::move(log)) {}

FakePalette::~FakePalette() { log_->events.push_back("release palette"); }

FakeDisplayDevice::FakeDisplayDevice(std::shared_ptr<FakeDisplayLog> log) : log_(std::move(log)) {}

FakeDisplayDevice::~FakeDisplayDevice() { log_->events.push_back("release device"); }

HResult FakeDisplayDevice::setCooperativeLevel(WindowHandle, std::uint32_t flags) {
  cooperativeFlags = flags;
  return cooperativeLevelResult;
}

HResult FakeDisplayDevice::setDisplayMode(int width, int height, int bitsPerPixel) {
  modeWidth = width;
  modeHeight = height;
  modeBits = bitsPerPixel;
  return displayModeResult;
}

HResult FakeDisplayDevice::createSurface(const SurfaceDesc& desc, DisplaySurfaceRef* out) {
  if (desc.kind == SurfaceKind::primary) {
    if (primaryResult != kOk) return primaryResult;
    primary = std::make_shared<FakePrimarySurface>(modeWidth, modeHeight, log_);
    *out = primary;
    return kOk;
  }
  const bool isFirst = offscreen.empty();
  if ((isFirst && failBackBuffer) || (!isFirst && failFontSurface)) return offscreenResult;
  auto surface = std::make_shared<FakeSurface>(isFirst ? "back" : "font", desc.width,
                                               desc.height, log_);
  offscreen.push_back(surface);
  *out = surface;
  return offscreenResult;
}

HResult FakeDisplayDevice::createPalette(std::uint32_t, const PaletteEntry* entries,
                                         DisplayPaletteRef* out) {
  if (paletteResult != kOk) return paletteResult;
  *out = std::make_shared<FakePalette>(entries, log_);
  return kOk;
}

std::unique_ptr<IndexedBitmap> FakeDisplayDevice::loadBitmapFile(const char* path) {
  const auto found = files.find(path);
  if (found == files.end()) return nullptr;
  return std::make_unique<IndexedBitmap>(found->second);
}

HResult FakeDisplayDevice::createMemoryContext() { return memoryContextResult; }

HResult FakeDisplayDevice::getClientRect(WindowHandle, Rect* out) {
  *out = {0, 0, modeWidth, modeHeight};
  return kOk;
}

HResult FakeDisplaySystem::createDisplayDevice(DisplayDeviceRef* out) {
  if (createResult != kOk) return createResult;
  device = std::make_shared<FakeDisplayDevice>(log);
  if (configure) configure(*device);
  *out = device;
  return kOk;
}

}  // namespace platform
