#pragma once
// A buffered RIFF file over a plain POSIX file: byte reads, writes and seeks
// through a buffer of its own, the chunk operations (descend, ascend, create)
// and direct access to the buffer through the I/O state record.
//
// Positions are 64-bit inside; chunk offsets and sizes are the 32-bit values
// of the RIFF format, and a chunk that would need more is refused.
#include <cstdint>
#include <memory>

#include "riff/chunk_record.h"
#include "riff/io_state.h"
#include "riff/result_codes.h"

namespace riff {

class RiffFile {
 public:
  // Opens fileName for reading (kRead) or reading and writing (kReadWrite,
  // with kCreate to create or empty it). Null on failure, with the reason in
  // *error when error is given.
  static std::unique_ptr<RiffFile> open(const char* fileName, std::uint32_t flags,
                                        std::uint32_t* error = nullptr,
                                        std::uint32_t bufferSize = kDefaultBufferSize);
  ~RiffFile();  // closes without reporting; call close() to learn the result
  RiffFile(const RiffFile&) = delete;
  RiffFile& operator=(const RiffFile&) = delete;

  // Flushes the buffer and closes the file; 0, MMIOERR_CANNOTWRITE or
  // MMIOERR_CANNOTCLOSE. Every later operation fails.
  std::uint32_t close();

  // Bytes read or written, -1 on failure. A read stops early at the end of the file.
  std::int32_t read(void* destination, std::int32_t length);
  std::int32_t write(const void* source, std::int32_t length);
  // Reads up to length bytes at the current position straight into
  // destination: what the buffer holds first, the rest from the file without
  // passing through the buffer. Bytes read (fewer at the end of the file) or
  // -1 on failure. For large reads, where a copy through the buffer costs.
  std::int64_t readThrough(void* destination, std::int64_t length);
  // origin is SEEK_SET, SEEK_CUR or SEEK_END; the new position or -1.
  std::int64_t seek(std::int64_t offset, int origin);
  std::int64_t position() const;
  // The file's length in bytes, counting what is buffered but not yet written; -1 on failure.
  std::int64_t length() const { return fileEnd(); }

  // Reads the chunk header at the current position into chunk. With a
  // kFind* flag, searches from the current position for a chunk of chunk->id
  // (and chunk->formType for kFindRiff / kFindList) within parent, or up to
  // the end of the file without a parent. Leaves the position at the body
  // (after the form type for RIFF and LIST chunks).
  std::uint32_t descend(ChunkRecord* chunk, const ChunkRecord* parent, std::uint32_t flags);
  // Leaves chunk: a chunk made by createChunk gets its real size and a pad
  // byte after an odd body; the position moves past the body and its pad.
  std::uint32_t ascend(ChunkRecord* chunk);
  // Writes a chunk header at the current position with chunk->size as the
  // size (kCreateRiff / kCreateList: that identifier and chunk->formType).
  std::uint32_t createChunk(ChunkRecord* chunk, std::uint32_t flags);

  std::uint32_t getInfo(IoState* state) const;
  std::uint32_t setInfo(const IoState* state);
  // Hands the buffer on to the bytes at state->next: flushes it first when
  // state is dirty, then refills it from the file. flags is kRead or kWrite.
  std::uint32_t advance(IoState* state, std::uint32_t flags);

 private:
  RiffFile(int descriptor, bool writable, std::uint32_t bufferSize);
  std::uint32_t adopt(const IoState* state);
  std::uint32_t flush();
  std::uint32_t fill();
  std::int64_t fileEnd() const;
  bool readHeader(ChunkRecord* chunk);

  int descriptor_;
  bool writable_;
  std::uint32_t bufferSize_;
  std::unique_ptr<std::uint8_t[]> storage_;
  IoState state_;
};

}  // namespace riff
