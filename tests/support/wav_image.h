#pragma once
// The one builder of WAV files for the tests, the fuzzer's seeds and the
// tools: the bytes of RIFF files, well formed or not, and writing them out.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

inline void appendU16(Bytes& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(Bytes& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void appendId(Bytes& bytes, const char* id) { bytes.insert(bytes.end(), id, id + 4); }

// A chunk: identifier, size (the body's unless given) and body, with a pad
// byte after an odd body unless withPad is false.
inline Bytes chunk(const char* id, const Bytes& body, std::optional<std::uint32_t> size = std::nullopt,
                   bool withPad = true) {
  // Sized once and filled in place: growing it piece by piece trips a false
  // out-of-bounds warning of g++ 12 at -O3.
  const std::uint32_t sizeField = size.value_or(static_cast<std::uint32_t>(body.size()));
  Bytes bytes(8 + body.size() + (withPad && (body.size() & 1) ? 1 : 0), 0);
  std::memcpy(bytes.data(), id, 4);
  for (int i = 0; i < 4; ++i) bytes[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sizeField >> (8 * i));
  if (!body.empty()) std::memcpy(bytes.data() + 8, body.data(), body.size());
  return bytes;
}

// "RIFF", size, form type and the subchunks; the size counts everything
// after the size field unless given.
inline Bytes riffFile(std::initializer_list<Bytes> subchunks, const char* formType = "WAVE",
                      std::optional<std::uint32_t> size = std::nullopt) {
  std::size_t total = 4;
  for (const Bytes& sub : subchunks) total += sub.size();
  Bytes body(total, 0);
  std::memcpy(body.data(), formType, 4);
  std::size_t at = 4;
  for (const Bytes& sub : subchunks) {
    if (!sub.empty()) std::memcpy(body.data() + at, sub.data(), sub.size());
    at += sub.size();
  }
  return chunk("RIFF", body, size, false);
}

// The 16-byte format block.
inline Bytes formatBlock(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  Bytes bytes;
  const std::uint16_t align = static_cast<std::uint16_t>(channels * (bits / 8));
  appendU16(bytes, tag);
  appendU16(bytes, channels);
  appendU32(bytes, rate);
  appendU32(bytes, rate * align);
  appendU16(bytes, align);
  appendU16(bytes, bits);
  return bytes;
}

inline Bytes pcmFmt(std::uint16_t channels = 1, std::uint32_t rate = 8000, std::uint16_t bits = 8) {
  return chunk("fmt ", formatBlock(1, channels, rate, bits));
}

// A format block, the extra-size field and the extra bytes (i, i+1, ...).
inline Bytes extendedFmtBody(std::uint16_t tag, std::uint16_t extraSize, std::uint16_t channels = 2,
                             std::uint32_t rate = 44100, std::uint16_t bits = 32) {
  Bytes body = formatBlock(tag, channels, rate, bits);
  appendU16(body, extraSize);
  for (std::uint16_t i = 0; i < extraSize; ++i) body.push_back(static_cast<std::uint8_t>(0x40 + i));
  return body;
}

inline Bytes sampleBytes(std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
  return bytes;
}

// A plain WAVE file: the fmt chunk body as given (extra bytes included), then the data.
inline Bytes waveFile(const Bytes& fmtBody, const Bytes& data) {
  return riffFile({chunk("fmt ", fmtBody), chunk("data", data)});
}

inline bool writeFile(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace testing_support
