// The chunk operations of RiffFile: reading and searching chunk headers,
// leaving a chunk, and writing a new one whose size is fixed on leaving.
// Sizes and offsets in the file are 32-bit; sums of them are taken in 64 bits
// so that a hostile size cannot wrap a position back into the file.
#include <cstdio>

#include "riff/riff_file.h"

namespace riff {
namespace {

constexpr std::int64_t kLargestOffset = 0xFFFFFFFFll;

std::uint32_t littleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void putLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool hasFormType(std::uint32_t id) { return id == kRiffId || id == kListId; }

// The offset just past a chunk's body and its pad byte.
std::int64_t endOfChunk(const ChunkRecord& chunk) {
  return static_cast<std::int64_t>(chunk.dataOffset) + chunk.size + (chunk.size & 1u);
}

}  // namespace

bool RiffFile::readHeader(ChunkRecord* chunk) {
  const std::int64_t start = position();
  if (start + 8 > kLargestOffset) return false;
  std::uint8_t header[8];
  if (read(header, 8) != 8) return false;
  ChunkRecord found;
  found.id = littleEndian32(header);
  found.size = littleEndian32(header + 4);
  found.dataOffset = static_cast<std::uint32_t>(start + 8);
  if (hasFormType(found.id)) {
    std::uint8_t formType[4];
    if (read(formType, 4) != 4) return false;
    found.formType = littleEndian32(formType);
  }
  *chunk = found;
  return true;
}

std::uint32_t RiffFile::descend(ChunkRecord* chunk, const ChunkRecord* parent, std::uint32_t flags) {
  if (descriptor_ < 0 || chunk == nullptr) return MMSYSERR_INVALHANDLE;
  const std::int64_t parentEnd =
      parent ? static_cast<std::int64_t>(parent->dataOffset) + parent->size : INT64_MAX;
  const bool search = (flags & (kFindChunk | kFindRiff | kFindList)) != 0;
  if (!search) {
    if (position() + 8 > parentEnd) return MMIOERR_CHUNKNOTFOUND;
    return readHeader(chunk) ? MMSYSERR_NOERROR : MMIOERR_CHUNKNOTFOUND;
  }
  const bool matchForm = (flags & (kFindRiff | kFindList)) != 0;
  const std::uint32_t wanted = (flags & kFindRiff) ? kRiffId : (flags & kFindList) ? kListId : chunk->id;
  // Every step moves at least one header forward, and a header that does not
  // fit before the parent's end or the file's end ends the search.
  for (;;) {
    if (position() + 8 > parentEnd) return MMIOERR_CHUNKNOTFOUND;
    ChunkRecord found;
    if (!readHeader(&found)) return MMIOERR_CHUNKNOTFOUND;
    if (found.id == wanted && (!matchForm || found.formType == chunk->formType)) {
      *chunk = found;
      return MMSYSERR_NOERROR;
    }
    if (seek(endOfChunk(found), SEEK_SET) < 0) return MMIOERR_CANNOTSEEK;
  }
}

std::uint32_t RiffFile::ascend(ChunkRecord* chunk) {
  if (descriptor_ < 0 || chunk == nullptr) return MMSYSERR_INVALHANDLE;
  if (chunk->flags & kDirty) {
    const std::int64_t size = position() - chunk->dataOffset;
    if (size < 0) return MMIOERR_CANNOTSEEK;
    if (size > kLargestOffset) return MMIOERR_CANNOTEXPAND;
    if (size & 1) {
      const std::uint8_t pad = 0;
      if (write(&pad, 1) != 1) return MMIOERR_CANNOTWRITE;
    }
    if (static_cast<std::uint32_t>(size) != chunk->size) {
      std::uint8_t field[4];
      putLittleEndian32(field, static_cast<std::uint32_t>(size));
      if (seek(static_cast<std::int64_t>(chunk->dataOffset) - 4, SEEK_SET) < 0) return MMIOERR_CANNOTSEEK;
      if (write(field, 4) != 4) return MMIOERR_CANNOTWRITE;
      chunk->size = static_cast<std::uint32_t>(size);
    }
    chunk->flags &= ~kDirty;
  }
  if (seek(endOfChunk(*chunk), SEEK_SET) < 0) return MMIOERR_CANNOTSEEK;
  return MMSYSERR_NOERROR;
}

std::uint32_t RiffFile::createChunk(ChunkRecord* chunk, std::uint32_t flags) {
  if (descriptor_ < 0 || chunk == nullptr) return MMSYSERR_INVALHANDLE;
  const std::int64_t start = position();
  if (start + 8 > kLargestOffset) return MMIOERR_CANNOTEXPAND;
  if (flags & kCreateRiff) chunk->id = kRiffId;
  if (flags & kCreateList) chunk->id = kListId;
  const bool withForm = (flags & (kCreateRiff | kCreateList)) != 0;
  std::uint8_t header[12];
  putLittleEndian32(header, chunk->id);
  putLittleEndian32(header + 4, chunk->size);
  putLittleEndian32(header + 8, chunk->formType);
  const std::int32_t length = withForm ? 12 : 8;
  if (write(header, length) != length) return MMIOERR_CANNOTWRITE;
  chunk->dataOffset = static_cast<std::uint32_t>(start + 8);
  chunk->flags = kDirty;
  return MMSYSERR_NOERROR;
}

}  // namespace riff
