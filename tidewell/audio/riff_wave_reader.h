#pragma once
// Opens one RIFF WAVE file, keeps its format record, positions itself at the
// first data byte and hands the sample bytes out in one or more reads. Any
// "fmt " chunk is accepted and unknown chunks are skipped; whether the format
// can be played is for the sound layer to judge.
#include <cstdint>
#include <memory>

#include "platform/api/wave_format.h"
#include "riff/chunk_record.h"
#include "riff/riff_file.h"

namespace tidewell {

class RiffWaveReader {
 public:
  RiffWaveReader() = default;
  ~RiffWaveReader();
  RiffWaveReader(const RiffWaveReader&) = delete;
  RiffWaveReader& operator=(const RiffWaveReader&) = delete;

  // True: the file is open at the first data byte, format and dataSize are
  // valid. False: nothing stays open or allocated and lastError says why.
  bool open(const char* fileName);
  // Searches the RIFF chunk's subchunks from the first one for "data".
  bool findDataChunk();
  // Copies up to length of the data bytes not yet handed out; 0 on failure
  // or once the data is used up.
  std::uint32_t read(void* destination, std::uint32_t length);
  // The data bytes the file really holds: dataSize, or fewer when the file
  // ends before the data chunk does. 0 when nothing is open.
  std::uint32_t bytesPresent() const;

  // 18 + extraSize bytes, allocated with std::malloc; null until an open succeeds.
  platform::WaveFormatEx* format = nullptr;
  std::unique_ptr<riff::RiffFile> file;
  std::uint32_t lastError = 0;
  riff::ChunkRecord riffChunk;
  riff::ChunkRecord fmtChunk;
  riff::ChunkRecord dataChunk;  // its size counts the data bytes not yet read
  std::uint32_t dataSize = 0;

 private:
  void release();
  bool fail(std::uint32_t error);
  bool readFormat();
};

}  // namespace tidewell
