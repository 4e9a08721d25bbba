#pragma once
// Writes one RIFF WAVE file: the header for a format when opened, sample
// bytes in any number of writes straight into the file's buffer, and the
// real sizes and fact value when finished. Deleting the writer finishes it.
#include <cstdint>
#include <memory>

#include "platform/api/result_codes.h"
#include "platform/api/wave_format.h"
#include "riff/chunk_record.h"
#include "riff/io_state.h"
#include "riff/riff_file.h"

namespace launcher {

class RiffWaveWriter {
 public:
  RiffWaveWriter() = default;
  ~RiffWaveWriter();
  RiffWaveWriter(const RiffWaveWriter&) = delete;
  RiffWaveWriter& operator=(const RiffWaveWriter&) = delete;

  // Creates or empties fileName and writes the header up to the first data
  // byte. The format is copied, not kept. On failure nothing is left on disk.
  platform::HResult open(const char* fileName, const platform::WaveFormatEx* format);
  // Appends count bytes; *written tells how many were stored.
  platform::HResult write(std::uint32_t count, const std::uint8_t* bytes, std::uint32_t* written);
  // Fixes the sizes, stores factValue in the fact chunk and closes the file.
  platform::HResult finish(std::uint32_t factValue);

  std::unique_ptr<riff::RiffFile> file;
  riff::ChunkRecord dataChunk;  // "fmt " while the header is written, then "data"
  riff::ChunkRecord riffChunk;
  riff::IoState ioState;  // the file's buffer while data is written

 private:
  platform::HResult writeHeader(riff::RiffFile& target, const platform::WaveFormatEx& format);
  platform::HResult beginData();
  platform::HResult abandon();
};

}  // namespace launcher
