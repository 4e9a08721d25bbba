#include "tidewell/recording/float_wave_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "platform/api/wave_format.h"

namespace tidewell::recording {
namespace {

void putLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

platform::WaveFormatEx floatFormat() {
  platform::WaveFormatEx format{};
  format.formatTag = platform::WAVE_FORMAT_IEEE_FLOAT;
  format.channels = kWaveChannels;
  format.samplesPerSec = kWaveRate;
  format.avgBytesPerSec = kWaveRate * kBytesPerFrame;
  format.blockAlign = kBytesPerFrame;
  format.bitsPerSample = 32;
  format.extraSize = 0;
  return format;
}

// One chunk with a body written in one piece.
bool writeChunk(riff::RiffFile& file, riff::ChunkRecord* chunk, const void* body, std::int32_t bytes) {
  return file.createChunk(chunk, 0) == 0 && file.write(body, bytes) == bytes && file.ascend(chunk) == 0;
}

}  // namespace

FloatWaveFile::~FloatWaveFile() {
  if (file_) finish();
}

bool FloatWaveFile::open(const std::string& path) {
  if (file_) return false;
  std::unique_ptr<riff::RiffFile> file = riff::RiffFile::open(path.c_str(), riff::kReadWrite | riff::kCreate);
  if (!file) return false;

  riffChunk_ = riff::ChunkRecord{};
  riffChunk_.formType = riff::kWaveId;
  factChunk_ = riff::ChunkRecord{};
  factChunk_.id = riff::kFactId;
  riff::ChunkRecord formatChunk;
  formatChunk.id = riff::kFmtId;
  dataChunk_ = riff::ChunkRecord{};
  dataChunk_.id = riff::kDataId;
  const platform::WaveFormatEx format = floatFormat();
  const std::uint8_t noFrames[4] = {0, 0, 0, 0};
  const bool written = file->createChunk(&riffChunk_, riff::kCreateRiff) == 0 &&
                       writeChunk(*file, &formatChunk, &format, sizeof format) &&
                       writeChunk(*file, &factChunk_, noFrames, 4) &&
                       file->createChunk(&dataChunk_, 0) == 0;
  if (!written) {
    file->close();
    ::unlink(path.c_str());  // a file without its header is no wave file
    return false;
  }
  file_ = std::move(file);
  path_ = path;
  frames_ = 0;
  failed_ = false;
  // On disk at once: a file cut off before its first refresh is an empty WAV.
  if (refreshHeader()) return true;
  finish();
  ::unlink(path.c_str());
  return false;
}

bool FloatWaveFile::append(const float* stereo, std::uint64_t frames) {
  if (!file_ || failed_) return false;
  if (frames > kMaxFrames - frames_) {
    failed_ = true;
    return false;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(stereo);
  std::uint64_t left = frames * kBytesPerFrame;
  while (left > 0) {
    const std::int32_t piece = static_cast<std::int32_t>(std::min<std::uint64_t>(left, 1u << 20));
    if (file_->write(bytes, piece) != piece) {
      failed_ = true;
      return false;
    }
    bytes += piece;
    left -= static_cast<std::uint64_t>(piece);
  }
  frames_ += frames;
  return true;
}

bool FloatWaveFile::writeSizeAt(std::int64_t offset, std::uint32_t value) {
  std::uint8_t bytes[4];
  putLittleEndian32(bytes, value);
  return file_->seek(offset, SEEK_SET) == offset && file_->write(bytes, 4) == 4;
}

bool FloatWaveFile::flushBuffer() {
  riff::IoState state;
  return file_->getInfo(&state) == 0 && file_->advance(&state, riff::kWrite) == 0;
}

bool FloatWaveFile::refreshHeader() {
  if (!file_) return false;
  const std::int64_t end = file_->position();
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(frames_ * kBytesPerFrame);
  const std::uint32_t riffBytes = dataChunk_.dataOffset + dataBytes - riffChunk_.dataOffset;
  // The samples reach the file before any size grows; each later seek
  // writes out the size written before it.
  const bool ok = flushBuffer() && writeSizeAt(dataChunk_.dataOffset - 4, dataBytes) &&
                  writeSizeAt(factChunk_.dataOffset, static_cast<std::uint32_t>(frames_)) &&
                  writeSizeAt(riffChunk_.dataOffset - 4, riffBytes) && file_->seek(end, SEEK_SET) == end;
  if (!ok) failed_ = true;
  return ok && !failed_;
}

bool FloatWaveFile::finish() {
  if (!file_) return false;
  const bool refreshed = refreshHeader();
  const bool closed = file_->close() == 0;
  file_.reset();
  const bool whole = refreshed && closed && !failed_;
  if (!whole) declareWhatReachedTheDisk();
  return whole;
}

// After a failed write (a full disk) the sizes name the whole frames that
// did reach the file, which may be more or fewer than the last refresh
// declared; rewriting them takes no new room on the disk.
void FloatWaveFile::declareWhatReachedTheDisk() {
  file_ = riff::RiffFile::open(path_.c_str(), riff::kReadWrite);
  if (!file_) return;
  const std::int64_t size = file_->seek(0, SEEK_END);
  if (size >= dataChunk_.dataOffset) {
    frames_ = static_cast<std::uint64_t>(size - dataChunk_.dataOffset) / kBytesPerFrame;
    failed_ = false;
    refreshHeader();
  }
  file_->close();
  file_.reset();
  failed_ = true;
}

bool readFloatWave(const std::string& path, std::vector<float>* samples) {
  std::unique_ptr<riff::RiffFile> file = riff::RiffFile::open(path.c_str(), riff::kRead);
  if (!file) return false;
  riff::ChunkRecord wave;
  wave.formType = riff::kWaveId;
  riff::ChunkRecord data;
  data.id = riff::kDataId;
  if (file->descend(&wave, nullptr, riff::kFindRiff) != 0 || file->descend(&data, &wave, riff::kFindChunk) != 0)
    return false;
  if (data.size > 0x7FFFFFFFu) return false;  // more than one read can take
  samples->assign(data.size / sizeof(float), 0.0f);
  const std::int32_t bytes = static_cast<std::int32_t>(samples->size() * sizeof(float));
  return file->read(samples->data(), bytes) == bytes;
}

}  // namespace tidewell::recording
