#pragma once
// The wave format record as it lies in a WAV file's "fmt " chunk: 18 bytes,
// little-endian, followed by extraSize further bytes for non-PCM formats.
#include <cstdint>

namespace platform {

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;
constexpr std::uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;
constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

#pragma pack(push, 1)
struct WaveFormatEx {
  std::uint16_t formatTag;
  std::uint16_t channels;
  std::uint32_t samplesPerSec;
  std::uint32_t avgBytesPerSec;
  std::uint16_t blockAlign;
  std::uint16_t bitsPerSample;
  std::uint16_t extraSize;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormatEx) == 18);

}  // namespace platform
