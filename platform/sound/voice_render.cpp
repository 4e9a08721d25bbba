#include "platform/sound/voice_render.h"

#include <cstring>

namespace platform::sound {
namespace {

using Float4 = float __attribute__((vector_size(16)));
using Float8 = float __attribute__((vector_size(32)));

// Loads without alignment. A macro, not a function: a function passing
// eight-float vectors by value would have a different ABI in each clone.
#define TIDEWELL_LOAD(type, name, pointer) \
  type name;                               \
  std::memcpy(&name, pointer, sizeof name)

// Where in the kernel table a position falls: the phase row and the share
// of the way to the next row, both straight from the bits of the fraction.
constexpr int phaseBits() {
  int bits = 0;
  while ((1 << bits) < KernelBank::kPhases) ++bits;
  return bits;
}
static_assert(KernelBank::kPhases == 1 << phaseBits() && phaseBits() >= 1 && phaseBits() <= 16,
              "the phase row is read from the top bits of the fraction");
constexpr int kRestBits = 32 - phaseBits();
constexpr std::uint32_t kRestMask = (1u << kRestBits) - 1u;
constexpr float kRestScale = 1.0f / static_cast<float>(1u << kRestBits);

struct PhasePoint {
  const float* coef;
  float fraction;
};

inline PhasePoint phaseAt(const KernelTable& kernel, std::uint64_t position) {
  const auto fraction = static_cast<std::uint32_t>(position);
  return {kernel.phase(static_cast<int>(fraction >> kRestBits)), static_cast<float>(fraction & kRestMask) * kRestScale};
}

// Eight taps at a time, the last four (taps is a multiple of four) alone.
// The coefficients between two phase rows are interpolated on the fly.
inline float monoValue(const float* x, const float* coef, const float* delta, int taps, float fraction) {
  Float8 wide = {0, 0, 0, 0, 0, 0, 0, 0};
  int k = 0;
  for (; k + 8 <= taps; k += 8) {
    TIDEWELL_LOAD(Float8, value, x + k);
    TIDEWELL_LOAD(Float8, c, coef + k);
    TIDEWELL_LOAD(Float8, d, delta + k);
    wide += value * (c + fraction * d);
  }
  Float4 sum = __builtin_shufflevector(wide, wide, 0, 1, 2, 3) + __builtin_shufflevector(wide, wide, 4, 5, 6, 7);
  if (k < taps) {
    TIDEWELL_LOAD(Float4, value, x + k);
    TIDEWELL_LOAD(Float4, c, coef + k);
    TIDEWELL_LOAD(Float4, d, delta + k);
    sum += value * (c + fraction * d);
  }
  return (sum[0] + sum[2]) + (sum[1] + sum[3]);
}

// Interleaved frames: four taps of weights, each doubled to meet a left and
// a right value.
inline void stereoValue(const float* x, const float* coef, const float* delta, int taps, float fraction,
                        float* left, float* right) {
  Float8 wide = {0, 0, 0, 0, 0, 0, 0, 0};
  for (int k = 0; k < taps; k += 4) {
    TIDEWELL_LOAD(Float4, c, coef + k);
    TIDEWELL_LOAD(Float4, d, delta + k);
    TIDEWELL_LOAD(Float8, frames, x + 2 * k);
    const Float4 w = c + fraction * d;
    wide += frames * __builtin_shufflevector(w, w, 0, 0, 1, 1, 2, 2, 3, 3);
  }
  const Float4 sum = __builtin_shufflevector(wide, wide, 0, 1, 2, 3) + __builtin_shufflevector(wide, wide, 4, 5, 6, 7);
  *left = sum[0] + sum[2];
  *right = sum[1] + sum[3];
}

#undef TIDEWELL_LOAD

}  // namespace

// Built twice: for processors with AVX2 and FMA, and for any x86-64; the
// loader picks one once. Not under ThreadSanitizer, whose runtime is not up
// yet when the loader runs the picker.
#if defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define TIDEWELL_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define TIDEWELL_VECTOR_CLONES
#endif

TIDEWELL_VECTOR_CLONES
void addMonoVoice(const KernelTable& kernel, const VoiceSpan& span, int frames, float* out) {
  const int taps = kernel.taps;
  const float* base = span.data - kernel.lead;
  std::uint64_t position = span.position;
  for (int n = 0; n < frames; ++n, position += span.step) {
    const PhasePoint point = phaseAt(kernel, position);
    const float* x = base + static_cast<std::ptrdiff_t>(position >> 32);
    const float value = monoValue(x, point.coef, point.coef + taps, taps, point.fraction);
    out[2 * n] += value * span.gainLeft;
    out[2 * n + 1] += value * span.gainRight;
  }
}

TIDEWELL_VECTOR_CLONES
void addStereoVoice(const KernelTable& kernel, const VoiceSpan& span, int frames, float* out) {
  const int taps = kernel.taps;
  const float* base = span.data - 2 * kernel.lead;
  std::uint64_t position = span.position;
  for (int n = 0; n < frames; ++n, position += span.step) {
    const PhasePoint point = phaseAt(kernel, position);
    const float* x = base + 2 * static_cast<std::ptrdiff_t>(position >> 32);
    float left, right;
    stereoValue(x, point.coef, point.coef + taps, taps, point.fraction, &left, &right);
    out[2 * n] += left * span.gainLeft;
    out[2 * n + 1] += right * span.gainRight;
  }
}

}  // namespace platform::sound
