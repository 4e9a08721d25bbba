// The wave step is the hot path of every frame. Columns are contiguous in the
// x-major maps, so a column is computed four cells at a time from its two
// neighbour columns; only the top and bottom cells need the wrapped rows.
#include <algorithm>

#include "tidewell/picture/picture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tidewell {
namespace {

inline std::int32_t waveValue(std::int32_t left, std::int32_t right, std::int32_t below,
                              std::int32_t above, std::int32_t old) {
  const std::int32_t v = (left + right + below + above) / 2 - old;
  if (v > 255) return 255;
  if (v < 1) return 0;
  return v;
}

void stepColumn(const std::int32_t* left, const std::int32_t* centre, const std::int32_t* right,
                std::int32_t* target) {
  constexpr int last = kPictureHeight - 1;
  target[0] = waveValue(left[0], right[0], centre[1], centre[last], target[0]);
  int y = 1;
#if defined(__SSE2__)
  // Every source value lies in 0..255, so the sum is never negative and the
  // halving is a shift; the clamp is done in 16 bits with saturating packs.
  const __m128i zero = _mm_setzero_si128();
  const __m128i top = _mm_set1_epi16(255);
  for (; y + 4 <= last; y += 4) {
    const __m128i sum = _mm_add_epi32(
        _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(left + y)),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(right + y))),
        _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(centre + y + 1)),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(centre + y - 1))));
    const __m128i v = _mm_sub_epi32(_mm_srai_epi32(sum, 1),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + y)));
    // v lies in -255..510: fits 16 bits. Below 1 becomes 0, above 255 is 255.
    __m128i narrow = _mm_packs_epi32(v, v);
    narrow = _mm_min_epi16(_mm_max_epi16(narrow, zero), top);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + y), _mm_unpacklo_epi16(narrow, zero));
  }
#endif
  for (; y < last; ++y) {
    target[y] = waveValue(left[y], right[y], centre[y + 1], centre[y - 1], target[y]);
  }
  target[last] = waveValue(left[last], right[last], centre[0], centre[last - 1], target[last]);
}

}  // namespace

void rippleStepMaps(const IntensityMap& source, IntensityMap& target) {
  for (int x = 0; x < kPictureWidth; ++x) {
    const int leftX = x == 0 ? kPictureWidth - 1 : x - 1;
    const int rightX = x == kPictureWidth - 1 ? 0 : x + 1;
    stepColumn(source.cells[leftX], source.cells[x], source.cells[rightX], target.cells[x]);
  }
}

void Picture::rippleStep() {
  rippleStepMaps(sourceMap(), targetMap());
  mapSelector = mapSelector != 0 ? 0 : 1;
}

}  // namespace tidewell
