#include "platform/sound/sample_format.h"

#include <cstring>

namespace platform::sound {
namespace {

// An EXTENSIBLE record carries 22 extra bytes: valid bits (2), channel mask
// (4) and the sub-format GUID (16), whose first two bytes are the plain tag.
constexpr std::uint16_t kExtensibleExtraSize = 22;
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool subFormatTag(const WaveFormatEx* format, std::uint16_t* tag) {
  if (format->extraSize < kExtensibleExtraSize) return false;
  const auto* extra = reinterpret_cast<const std::uint8_t*>(format) + sizeof(WaveFormatEx);
  const std::uint8_t* guid = extra + 6;
  if (std::memcmp(guid + 2, kGuidTail, sizeof kGuidTail) != 0) return false;
  *tag = static_cast<std::uint16_t>(guid[0] | (guid[1] << 8));
  return true;
}

bool encodingFor(std::uint16_t tag, std::uint16_t bits, SampleEncoding* encoding) {
  if (tag == WAVE_FORMAT_IEEE_FLOAT) {
    if (bits != 32) return false;
    *encoding = SampleEncoding::kFloat32;
    return true;
  }
  if (tag != WAVE_FORMAT_PCM) return false;
  switch (bits) {
    case 8: *encoding = SampleEncoding::kUnsigned8; return true;
    case 16: *encoding = SampleEncoding::kSigned16; return true;
    case 24: *encoding = SampleEncoding::kSigned24; return true;
    case 32: *encoding = SampleEncoding::kSigned32; return true;
    default: return false;
  }
}

}  // namespace

bool describeFormat(const WaveFormatEx* format, SampleLayout* layout) {
  if (format == nullptr) return false;
  std::uint16_t tag = format->formatTag;
  if (tag == WAVE_FORMAT_EXTENSIBLE && !subFormatTag(format, &tag)) return false;

  SampleEncoding encoding;
  if (!encodingFor(tag, format->bitsPerSample, &encoding)) return false;
  if (format->channels != 1 && format->channels != 2) return false;
  if (format->samplesPerSec == 0) return false;
  const unsigned bytesPerSample = format->bitsPerSample / 8u;
  if (format->blockAlign != format->channels * bytesPerSample) return false;

  layout->encoding = encoding;
  layout->channels = format->channels;
  layout->bytesPerFrame = format->blockAlign;
  layout->rate = format->samplesPerSec;
  return true;
}

}  // namespace platform::sound
