#pragma once
// The I/O state record of a buffered RIFF file. A caller that takes it with
// getInfo may move `next` through the buffer itself (reading up to `endRead`,
// writing up to `endWrite`), refill or flush with advance, and hands it back
// with setInfo. Bytes stored through it reach the file only if the caller
// sets kDirty.
#include <cstdint>

namespace riff {

// Open modes and operation flags of the layer.
constexpr std::uint32_t kRead = 0x0000;
constexpr std::uint32_t kWrite = 0x0001;
constexpr std::uint32_t kReadWrite = 0x0002;
constexpr std::uint32_t kCreate = 0x1000;       // create, or cut an existing file to empty
constexpr std::uint32_t kDirty = 0x10000000;    // the buffer holds bytes not yet on disk

// descend: search the parent's subchunks for the given identifier.
constexpr std::uint32_t kFindChunk = 0x0010;
constexpr std::uint32_t kFindRiff = 0x0020;
constexpr std::uint32_t kFindList = 0x0040;
// createChunk: write a RIFF or LIST header with its form type.
constexpr std::uint32_t kCreateRiff = 0x0020;
constexpr std::uint32_t kCreateList = 0x0040;

// The default size of the buffer a file allocates for itself: large enough
// that a whole sample is read with few refills, small enough to stay in cache.
constexpr std::uint32_t kDefaultBufferSize = 65536;

struct IoState {
  std::uint32_t flags = 0;  // kDirty
  std::uint8_t* buffer = nullptr;
  std::uint8_t* next = nullptr;      // next byte to read or write
  std::uint8_t* endRead = nullptr;   // end of the bytes that hold file contents
  std::uint8_t* endWrite = nullptr;  // end of the part that may be written
  std::int64_t bufferOffset = 0;     // file offset of buffer[0]
};

}  // namespace riff
