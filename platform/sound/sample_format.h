#pragma once
// Which wave formats the mixer can play, and how their samples are laid out.
#include <cstdint>

#include "platform/api/wave_format.h"

namespace platform::sound {

enum class SampleEncoding : std::uint8_t {
  kUnsigned8,
  kSigned16,
  kSigned24,
  kSigned32,
  kFloat32,
};

struct SampleLayout {
  SampleEncoding encoding = SampleEncoding::kSigned16;
  std::uint16_t channels = 1;       // 1 or 2
  std::uint16_t bytesPerFrame = 2;  // the block alignment
  std::uint32_t rate = 44100;       // the frames' own rate in Hz
};

// Reads a format record (with its extraSize bytes behind it) into a layout.
// False for anything the mixer cannot play: other tags, more than two
// channels, a block alignment that is not channels x bytes per sample, an
// EXTENSIBLE record whose sub-format is neither PCM nor float.
bool describeFormat(const WaveFormatEx* format, SampleLayout* layout);

}  // namespace platform::sound
