#pragma once
// An 8-bit surface held in plain memory: the off-screen surfaces of every
// display layer and of the test doubles. Copies between memory surfaces are
// clipped by refusal: a rectangle not wholly inside a surface draws nothing.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/api/display.h"

namespace platform {

class MemorySurface : public DisplaySurface {
 public:
  MemorySurface(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

  int width() const override { return width_; }
  int height() const override { return height_; }
  int pitch() const { return width_; }
  // Anything handed out for writing counts as a change.
  std::uint8_t* pixels() {
    ++revision_;
    return pixels_.data();
  }
  const std::uint8_t* pixels() const { return pixels_.data(); }
  std::uint8_t pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

  HResult lock(std::uint32_t /*flags*/, SurfaceLock* out) override {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->pitch = pitch();
    out->bits = pixels_.data();
    ++revision_;
    return kOk;
  }
  HResult unlock() override { return kOk; }
  // Memory is never taken away: a memory surface is never lost.
  bool isLost() const override { return false; }
  HResult restore() override { return kOk; }
  HResult setPalette(std::shared_ptr<DisplayPalette> palette) override {
    palette_ = std::move(palette);
    return kOk;
  }
  const std::shared_ptr<DisplayPalette>& palette() const { return palette_; }

  HResult blt(const Rect* destRect, DisplaySurface* source, const Rect* sourceRect,
              std::uint32_t /*flags*/) override {
    ++revision_;
    auto* from = dynamic_cast<MemorySurface*>(source);
    if (from == nullptr) return DDERR_GENERIC;
    const Rect s = sourceRect ? *sourceRect : Rect{0, 0, from->width_, from->height_};
    const Rect d = destRect ? *destRect : Rect{0, 0, width_, height_};
    if (!from->contains(s) || !contains(d) || s.right <= s.left || s.bottom <= s.top) {
      return DSERR_INVALIDPARAM;
    }
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    for (int y = 0; y < dh; ++y) {
      const int sy = s.top + y * sh / dh;
      for (int x = 0; x < dw; ++x) {
        at(d.left + x, d.top + y) = from->at(s.left + x * sw / dw, sy);
      }
    }
    return kOk;
  }

  HResult bltFast(int x, int y, DisplaySurface* source, const Rect* sourceRect,
                  std::uint32_t /*flags*/) override {
    ++revision_;
    auto* from = dynamic_cast<MemorySurface*>(source);
    if (from == nullptr) return DDERR_GENERIC;
    const Rect s = sourceRect ? *sourceRect : Rect{0, 0, from->width_, from->height_};
    const Rect d{x, y, x + s.right - s.left, y + s.bottom - s.top};
    if (!from->contains(s) || !contains(d)) return DSERR_INVALIDPARAM;
    for (int row = 0; row < s.bottom - s.top; ++row) {
      std::copy_n(&from->at(s.left, s.top + row), s.right - s.left, &at(d.left, d.top + row));
    }
    return kOk;
  }

  HResult copyFromBitmap(const IndexedBitmap& bitmap, int width, int height) override {
    ++revision_;
    const int w = std::min({width, width_, bitmap.width});
    const int h = std::min({height, height_, bitmap.height});
    if (w <= 0 || h <= 0 ||
        bitmap.indices.size() < static_cast<std::size_t>(bitmap.width) * bitmap.height) {
      return DSERR_INVALIDPARAM;
    }
    for (int row = 0; row < h; ++row) {
      std::copy_n(&bitmap.indices[static_cast<std::size_t>(row) * bitmap.width], w, &at(0, row));
    }
    return kOk;
  }

  // Changes whenever the pixels may have changed.
  std::uint32_t pixelRevision() const { return revision_; }

 private:
  bool contains(const Rect& r) const {
    return r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_ &&
           r.left <= r.right && r.top <= r.bottom;
  }
  std::uint8_t& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
  std::shared_ptr<DisplayPalette> palette_;
  std::uint32_t revision_ = 0;
};

// A palette of 256 entries kept in memory.
class MemoryPalette : public DisplayPalette {
 public:
  explicit MemoryPalette(const PaletteEntry* entries) { std::copy_n(entries, 256, entries_); }
  HResult setEntries(std::uint32_t, int first, int count, const PaletteEntry* entries) override {
    if (entries == nullptr || first < 0 || count < 0 || first + count > 256) return DSERR_INVALIDPARAM;
    std::copy_n(entries, count, entries_ + first);
    ++revision_;
    return kOk;
  }
  HResult getEntries(std::uint32_t, int first, int count, PaletteEntry* entries) const override {
    if (entries == nullptr || first < 0 || count < 0 || first + count > 256) return DSERR_INVALIDPARAM;
    std::copy_n(entries_ + first, count, entries);
    return kOk;
  }
  const PaletteEntry* entries() const { return entries_; }
  std::uint32_t revision() const { return revision_; }  // changes on every write

 private:
  PaletteEntry entries_[256];
  std::uint32_t revision_ = 0;
};

}  // namespace platform
