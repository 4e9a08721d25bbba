#pragma once
// A display in memory for engine tests: every creation step can be made to
// fail, the primary surface answers blits from a script, surfaces can be
// lost, and releases are written to a shared log in the order they happen.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/display.h"
#include "platform/api/memory_surface.h"

namespace platform {

struct FakeDisplayLog {
  std::vector<std::string> events;  // "release primary", "blt", "restore back"...
};

// An off-screen surface whose lock and restore can be made to fail.
class FakeSurface : public MemorySurface {
 public:
  FakeSurface(std::string name, int width, int height, std::shared_ptr<FakeDisplayLog> log);
  ~FakeSurface() override;
  HResult lock(std::uint32_t flags, SurfaceLock* out) override;
  HResult restore() override;

  HResult lockResult = kOk;
  HResult restoreResult = kOk;

 protected:
  std::string name_;
  std::shared_ptr<FakeDisplayLog> log_;
};

// The visible screen: each blit takes the next scripted answer (success when
// the script is empty) and, on success, keeps a copy of the source.
class FakePrimarySurface : public FakeSurface {
 public:
  FakePrimarySurface(int width, int height, std::shared_ptr<FakeDisplayLog> log);
  HResult blt(const Rect* destRect, DisplaySurface* source, const Rect* sourceRect,
              std::uint32_t flags) override;

  std::deque<HResult> bltScript;
  int bltCalls = 0;
  int presented = 0;
  std::vector<std::uint8_t> shown;  // the last source presented
};

class FakePalette : public MemoryPalette {
 public:
  FakePalette(const PaletteEntry* entries, std::shared_ptr<FakeDisplayLog> log);
  ~FakePalette() override;

 private:
  std::shared_ptr<FakeDisplayLog> log_;
};

class FakeDisplayDevice : public DisplayDevice {
 public:
  explicit FakeDisplayDevice(std::shared_ptr<FakeDisplayLog> log);
  ~FakeDisplayDevice() override;
  HResult setCooperativeLevel(WindowHandle window, std::uint32_t flags) override;
  HResult setDisplayMode(int width, int height, int bitsPerPixel) override;
  HResult createSurface(const SurfaceDesc& desc, DisplaySurfaceRef* out) override;
  HResult createPalette(std::uint32_t caps, const PaletteEntry* entries,
                        DisplayPaletteRef* out) override;
  std::unique_ptr<IndexedBitmap> loadBitmapFile(const char* path) override;
  HResult createMemoryContext() override;
  HResult getClientRect(WindowHandle window, Rect* out) override;

  // Scripted answers.
  HResult cooperativeLevelResult = kOk;
  HResult displayModeResult = kOk;
  HResult primaryResult = kOk;
  bool failBackBuffer = false;
  bool failFontSurface = false;
  HResult offscreenResult = kOk;  // what the off-screen creations answer
  HResult paletteResult = kOk;
  HResult memoryContextResult = kOk;
  std::map<std::string, IndexedBitmap> files;

  // What was asked.
  std::uint32_t cooperativeFlags = 0;
  int modeWidth = 0, modeHeight = 0, modeBits = 0;
  std::shared_ptr<FakePrimarySurface> primary;
  std::vector<std::shared_ptr<FakeSurface>> offscreen;

 private:
  std::shared_ptr<FakeDisplayLog> log_;
};

class FakeDisplaySystem : public DisplaySystem {
 public:
  HResult createDisplayDevice(DisplayDeviceRef* out) override;

  HResult createResult = kOk;
  std::shared_ptr<FakeDisplayLog> log = std::make_shared<FakeDisplayLog>();
  std::shared_ptr<FakeDisplayDevice> device;  // the last one created
  // Applied to every device as it is created.
  std::function<void(FakeDisplayDevice&)> configure;
};

}  // namespace platform
