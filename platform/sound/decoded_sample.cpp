#include "platform/sound/decoded_sample.h"

#include <cstring>
#include <new>

#include "platform/sound/sinc_kernel.h"

namespace platform::sound {
namespace {

float decodeOne(const std::uint8_t* p, SampleEncoding encoding) {
  switch (encoding) {
    case SampleEncoding::kUnsigned8:
      return (static_cast<int>(p[0]) - 128) / 128.0f;
    case SampleEncoding::kSigned16:
      return static_cast<std::int16_t>(p[0] | (p[1] << 8)) / 32768.0f;
    case SampleEncoding::kSigned24: {
      const std::int32_t v = static_cast<std::int32_t>(
          static_cast<std::uint32_t>(p[0] << 8) | (static_cast<std::uint32_t>(p[1]) << 16) |
          (static_cast<std::uint32_t>(p[2]) << 24));
      return static_cast<float>(v / 2147483648.0);
    }
    case SampleEncoding::kSigned32: {
      std::int32_t v;
      std::memcpy(&v, p, 4);
      return static_cast<float>(v / 2147483648.0);
    }
    case SampleEncoding::kFloat32: {
      float v;
      std::memcpy(&v, p, 4);
      // A file's NaN or infinity would poison the whole mix: silence it.
      if (!(v > -4.0f && v < 4.0f)) return 0.0f;
      return v;
    }
  }
  return 0.0f;
}

int bytesPerSample(SampleEncoding encoding) {
  switch (encoding) {
    case SampleEncoding::kUnsigned8: return 1;
    case SampleEncoding::kSigned16: return 2;
    case SampleEncoding::kSigned24: return 3;
    default: return 4;
  }
}

}  // namespace

std::shared_ptr<const DecodedSample> decodeSample(const std::uint8_t* bytes, std::uint32_t size,
                                                  const SampleLayout& layout) try {
  auto sample = std::make_shared<DecodedSample>();
  sample->channels = layout.channels;
  sample->frames = size / layout.bytesPerFrame;
  sample->padding = KernelBank::padding();
  sample->samples.assign(static_cast<std::size_t>(sample->frames + 2 * sample->padding) * layout.channels, 0.0f);
  float* out = sample->samples.data() + static_cast<std::size_t>(sample->padding) * layout.channels;
  const int step = bytesPerSample(layout.encoding);
  const std::size_t count = static_cast<std::size_t>(sample->frames) * layout.channels;
  for (std::size_t i = 0; i < count; ++i) out[i] = decodeOne(bytes + i * step, layout.encoding);
  return sample;
} catch (const std::bad_alloc&) {
  return nullptr;
}

}  // namespace platform::sound
