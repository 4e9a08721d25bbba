#pragma once
// The chunk record of the buffered RIFF file layer and the four-character
// identifiers, compared as little-endian 32-bit numbers.
#include <cstdint>

namespace riff {

constexpr std::uint32_t makeFourCC(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}

constexpr std::uint32_t kRiffId = makeFourCC('R', 'I', 'F', 'F');
constexpr std::uint32_t kWaveId = makeFourCC('W', 'A', 'V', 'E');
constexpr std::uint32_t kFmtId = makeFourCC('f', 'm', 't', ' ');
constexpr std::uint32_t kFactId = makeFourCC('f', 'a', 'c', 't');
constexpr std::uint32_t kDataId = makeFourCC('d', 'a', 't', 'a');
constexpr std::uint32_t kListId = makeFourCC('L', 'I', 'S', 'T');
static_assert(kRiffId == 0x46464952 && kWaveId == 0x45564157);
static_assert(kFmtId == 0x20746D66 && kDataId == 0x61746164);

struct ChunkRecord {
  std::uint32_t id = 0;
  std::uint32_t size = 0;        // body size, pad byte not counted
  std::uint32_t formType = 0;    // RIFF and LIST chunks only
  std::uint32_t dataOffset = 0;  // file offset of the body (of the form type for RIFF)
  std::uint32_t flags = 0;
};

}  // namespace riff
