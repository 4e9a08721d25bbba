#pragma once
// A 48 kHz stereo WAV file of 32-bit float samples written over the buffered
// RIFF file layer. The samples are exactly what the mixer hands to the sound
// card (after the limiter, so within -1..1), kept without rounding.
//
// Layout: "RIFF" size "WAVE", "fmt " (18 bytes, format 3), "fact" (frame
// count), "data" size samples. refreshHeader() brings the sizes up to what
// has been appended, after the data itself has reached the file, so a file
// cut off at any moment after a refresh is a valid WAV of what it declares.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "riff/chunk_record.h"
#include "riff/riff_file.h"

namespace tidewell::recording {

constexpr int kWaveRate = 48000;
constexpr int kWaveChannels = 2;
constexpr std::uint32_t kBytesPerFrame = kWaveChannels * sizeof(float);

class FloatWaveFile {
 public:
  // The most frames one file holds: every RIFF size is a 32-bit number.
  static constexpr std::uint64_t kMaxFrames = (0xFFFFFFFFull - 50) / kBytesPerFrame;

  FloatWaveFile() = default;
  ~FloatWaveFile();  // finishes an open file
  FloatWaveFile(const FloatWaveFile&) = delete;
  FloatWaveFile& operator=(const FloatWaveFile&) = delete;

  // Creates or empties path and writes the header; false and nothing left
  // on disk when that fails.
  bool open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }

  // Appends interleaved stereo frames; false when the file layer failed (a
  // full disk) or the file would pass kMaxFrames. After a failure every
  // later append fails too; finish() still closes what was written.
  bool append(const float* stereo, std::uint64_t frames);
  // Writes the buffered samples out, then the sizes and the frame count.
  bool refreshHeader();
  // refreshHeader() and close; false when anything failed on the way, and
  // then the sizes declare the whole frames that reached the disk.
  bool finish();

  std::uint64_t frames() const { return frames_; }

 private:
  bool writeSizeAt(std::int64_t offset, std::uint32_t value);
  bool flushBuffer();
  void declareWhatReachedTheDisk();

  std::unique_ptr<riff::RiffFile> file_;
  std::string path_;
  riff::ChunkRecord riffChunk_;
  riff::ChunkRecord factChunk_;
  riff::ChunkRecord dataChunk_;
  std::uint64_t frames_ = 0;
  bool failed_ = false;
};

// The interleaved samples of a float WAV file as this writer lays it out
// (for tests and measuring tools); false when it cannot be read as one.
bool readFloatWave(const std::string& path, std::vector<float>* samples);

}  // namespace tidewell::recording
