#pragma once
// Result codes of the buffered RIFF file layer: 0 is success, failures are
// the layer's published codes 256 + n, so that a code can be looked up.
#include <cstdint>

namespace riff {

constexpr std::uint32_t MMSYSERR_NOERROR = 0;
constexpr std::uint32_t MMSYSERR_INVALHANDLE = 5;  // an operation on no file

constexpr std::uint32_t MMIOERR_BASE = 256;
constexpr std::uint32_t MMIOERR_FILENOTFOUND = MMIOERR_BASE + 1;   // 257
constexpr std::uint32_t MMIOERR_OUTOFMEMORY = MMIOERR_BASE + 2;    // 258
constexpr std::uint32_t MMIOERR_CANNOTOPEN = MMIOERR_BASE + 3;     // 259
constexpr std::uint32_t MMIOERR_CANNOTCLOSE = MMIOERR_BASE + 4;    // 260
constexpr std::uint32_t MMIOERR_CANNOTREAD = MMIOERR_BASE + 5;     // 261
constexpr std::uint32_t MMIOERR_CANNOTWRITE = MMIOERR_BASE + 6;    // 262
constexpr std::uint32_t MMIOERR_CANNOTSEEK = MMIOERR_BASE + 7;     // 263
constexpr std::uint32_t MMIOERR_CANNOTEXPAND = MMIOERR_BASE + 8;   // 264
constexpr std::uint32_t MMIOERR_CHUNKNOTFOUND = MMIOERR_BASE + 9;  // 265
constexpr std::uint32_t MMIOERR_UNBUFFERED = MMIOERR_BASE + 10;    // 266
constexpr std::uint32_t MMIOERR_PATHNOTFOUND = MMIOERR_BASE + 11;  // 267
constexpr std::uint32_t MMIOERR_ACCESSDENIED = MMIOERR_BASE + 12;  // 268
constexpr std::uint32_t MMIOERR_SHARINGVIOLATION = MMIOERR_BASE + 13;  // 269
constexpr std::uint32_t MMIOERR_NETWORKERROR = MMIOERR_BASE + 14;  // 270
constexpr std::uint32_t MMIOERR_TOOMANYOPENFILES = MMIOERR_BASE + 15;  // 271
constexpr std::uint32_t MMIOERR_INVALIDFILE = MMIOERR_BASE + 16;   // 272

}  // namespace riff
