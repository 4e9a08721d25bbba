#pragma once
// The display shaped like an 8-bit full-screen device: a display system that
// creates the device, a cooperative level and a display mode, surfaces that
// are 8-bit pixel arrays with lock / unlock / restore / blt / bltFast and a
// lost state, a 256-entry palette, and the loading of a bitmap file into a
// surface as palette indices.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/api/result_codes.h"
#include "platform/api/window_handle.h"

namespace platform {

constexpr std::uint32_t DDSCL_FULLSCREEN = 0x01;
constexpr std::uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr std::uint32_t DDPCAPS_8BIT = 0x04;
constexpr std::uint32_t DDLOCK_WAIT = 0x01;
constexpr std::uint32_t DDBLTFAST_NOCOLORKEY = 0x00;

// Four bytes in the platform's order: red, green, blue, flags.
struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
};

// Right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

enum class SurfaceKind { primary, offscreenPlain };

struct SurfaceDesc {
  SurfaceKind kind = SurfaceKind::offscreenPlain;
  int width = 0;  // ignored for the primary surface: the display mode decides
  int height = 0;
};

// What a lock hands out: the row pitch in bytes and the first pixel.
struct SurfaceLock {
  int pitch = 0;
  std::uint8_t* bits = nullptr;
};

// A picture file decoded to palette indices, rows top-down.
struct IndexedBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;
};

class DisplayPalette {
 public:
  virtual ~DisplayPalette() = default;
  virtual HResult setEntries(std::uint32_t flags, int first, int count,
                             const PaletteEntry* entries) = 0;
  virtual HResult getEntries(std::uint32_t flags, int first, int count,
                             PaletteEntry* entries) const = 0;
};

class DisplaySurface {
 public:
  virtual ~DisplaySurface() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;

  // The whole surface; DDLOCK_WAIT waits while the surface is busy.
  virtual HResult lock(std::uint32_t flags, SurfaceLock* out) = 0;
  virtual HResult unlock() = 0;
  virtual bool isLost() const = 0;
  virtual HResult restore() = 0;
  virtual HResult setPalette(std::shared_ptr<DisplayPalette> palette) = 0;

  // Copies source (or the part sourceRect of it) to destRect of this surface,
  // stretching when the sizes differ; a null rectangle means the whole.
  virtual HResult blt(const Rect* destRect, DisplaySurface* source, const Rect* sourceRect,
                      std::uint32_t flags) = 0;
  // Copies sourceRect unscaled to (x, y). A rectangle not wholly inside
  // either surface is refused and nothing is drawn.
  virtual HResult bltFast(int x, int y, DisplaySurface* source, const Rect* sourceRect,
                          std::uint32_t flags) = 0;
  // Copies the top-left width x height of a bitmap into the surface.
  virtual HResult copyFromBitmap(const IndexedBitmap& bitmap, int width, int height) = 0;
};

using DisplaySurfaceRef = std::shared_ptr<DisplaySurface>;
using DisplayPaletteRef = std::shared_ptr<DisplayPalette>;

class DisplayDevice {
 public:
  virtual ~DisplayDevice() = default;
  virtual HResult setCooperativeLevel(WindowHandle window, std::uint32_t flags) = 0;
  virtual HResult setDisplayMode(int width, int height, int bitsPerPixel) = 0;
  // On failure *out stays null.
  virtual HResult createSurface(const SurfaceDesc& desc, DisplaySurfaceRef* out) = 0;
  virtual HResult createPalette(std::uint32_t caps, const PaletteEntry* entries,
                                DisplayPaletteRef* out) = 0;
  // Null when the file is missing or not a picture the loader understands.
  virtual std::unique_ptr<IndexedBitmap> loadBitmapFile(const char* path) = 0;
  // The scratch drawing context a bitmap is copied through; can run out.
  virtual HResult createMemoryContext() = 0;
  // The window's client area in screen coordinates.
  virtual HResult getClientRect(WindowHandle window, Rect* out) = 0;
};

using DisplayDeviceRef = std::shared_ptr<DisplayDevice>;

class DisplaySystem {
 public:
  virtual ~DisplaySystem() = default;
  // The device of the default display driver; on failure *out stays null.
  virtual HResult createDisplayDevice(DisplayDeviceRef* out) = 0;
};

}  // namespace platform
