// The x-major map goes into a row-major back buffer, so the copy is a
// transpose. It is done in 16 x 16 blocks: sixteen column runs are narrowed
// to bytes and turned into sixteen row runs in registers, so every load and
// store is a whole run instead of a byte at a stride.
#include "platform/api/display.h"
#include "tidewell/picture/picture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tidewell {
namespace {

#if defined(__SSE2__)
constexpr int kBlock = 16;

inline __m128i columnRunAsBytes(const std::int32_t* run) {
  const __m128i* p = reinterpret_cast<const __m128i*>(run);
  const __m128i low = _mm_packs_epi32(_mm_loadu_si128(p), _mm_loadu_si128(p + 1));
  const __m128i high = _mm_packs_epi32(_mm_loadu_si128(p + 2), _mm_loadu_si128(p + 3));
  return _mm_packus_epi16(low, high);
}

void copyBlock(const IntensityMap& map, int x0, int y0, std::uint8_t* pixels, int pitch) {
  __m128i a[kBlock], b[kBlock];
  for (int i = 0; i < kBlock; ++i) a[i] = columnRunAsBytes(&map.cells[x0 + i][y0]);
  for (int k = 0; k < 8; ++k) {
    b[k] = _mm_unpacklo_epi8(a[2 * k], a[2 * k + 1]);
    b[k + 8] = _mm_unpackhi_epi8(a[2 * k], a[2 * k + 1]);
  }
  for (int base = 0; base < kBlock; base += 8) {
    for (int k = 0; k < 4; ++k) {
      a[base + k] = _mm_unpacklo_epi16(b[base + 2 * k], b[base + 2 * k + 1]);
      a[base + k + 4] = _mm_unpackhi_epi16(b[base + 2 * k], b[base + 2 * k + 1]);
    }
  }
  for (int base = 0; base < kBlock; base += 4) {
    for (int k = 0; k < 2; ++k) {
      b[base + k] = _mm_unpacklo_epi32(a[base + 2 * k], a[base + 2 * k + 1]);
      b[base + k + 2] = _mm_unpackhi_epi32(a[base + 2 * k], a[base + 2 * k + 1]);
    }
  }
  for (int q = 0; q < 8; ++q) {
    std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y0 + 2 * q) * pitch + x0;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row), _mm_unpacklo_epi64(b[2 * q], b[2 * q + 1]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + pitch),
                     _mm_unpackhi_epi64(b[2 * q], b[2 * q + 1]));
  }
}
#endif

}  // namespace

void copyMapToPixels(const IntensityMap& map, std::uint8_t* pixels, int pitch) {
#if defined(__SSE2__)
  static_assert(kPictureWidth % kBlock == 0 && kPictureHeight >= kBlock);
  for (int x0 = 0; x0 < kPictureWidth; x0 += kBlock) {
    for (int y0 = 0;; y0 += kBlock) {
      // The last band overlaps the one before; it writes the same bytes again.
      if (y0 > kPictureHeight - kBlock) y0 = kPictureHeight - kBlock;
      copyBlock(map, x0, y0, pixels, pitch);
      if (y0 == kPictureHeight - kBlock) break;
    }
  }
#else
  for (int x = 0; x < kPictureWidth; ++x) {
    for (int y = 0; y < kPictureHeight; ++y) {
      pixels[static_cast<std::ptrdiff_t>(y) * pitch + x] = static_cast<std::uint8_t>(map.at(x, y));
    }
  }
#endif
}

void Picture::drawIntensityMap() {
  if (!backBuffer) return;
  platform::SurfaceLock lock;
  if (platform::failed(backBuffer->lock(platform::DDLOCK_WAIT, &lock)) || lock.bits == nullptr) {
    return;
  }
  // A surface smaller than the picture is never written past its end.
  if (lock.pitch >= kPictureWidth && backBuffer->width() >= kPictureWidth &&
      backBuffer->height() >= kPictureHeight) {
    copyMapToPixels(sourceMap(), lock.bits, lock.pitch);
  }
  backBuffer->unlock();
}

void Picture::renderPicture() {
  if (rippleEnabled != 0) rippleStep();
  drawIntensityMap();
}

}  // namespace tidewell
