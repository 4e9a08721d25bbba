#include "tidewell/audio/riff_wave_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tidewell {
namespace {

constexpr std::int32_t kFormatBlockBytes = 16;  // tag, channels, rate, byte rate, align, bits

}  // namespace

RiffWaveReader::~RiffWaveReader() { release(); }

void RiffWaveReader::release() {
  if (file) {
    file->close();
    file.reset();
  }
  std::free(format);
  format = nullptr;
}

bool RiffWaveReader::fail(std::uint32_t error) {
  lastError = error;
  release();
  return false;
}

bool RiffWaveReader::open(const char* fileName) {
  // A reader is opened once; should it be opened again, the old file and
  // record go first rather than leak.
  release();
  dataSize = 0;
  file = riff::RiffFile::open(fileName, riff::kRead);
  if (!file) return fail(riff::MMIOERR_CANNOTOPEN);

  if (const std::uint32_t r = file->descend(&riffChunk, nullptr, 0)) return fail(r);
  if (riffChunk.id != riff::kRiffId || riffChunk.formType != riff::kWaveId) {
    return fail(riff::MMIOERR_INVALIDFILE);
  }

  fmtChunk.id = riff::kFmtId;
  if (const std::uint32_t r = file->descend(&fmtChunk, &riffChunk, riff::kFindChunk)) return fail(r);
  if (!readFormat()) return false;
  if (const std::uint32_t r = file->ascend(&fmtChunk)) return fail(r);

  if (!findDataChunk()) return fail(lastError);
  dataSize = dataChunk.size;
  return true;
}

// Reads the format block at the current position into a new format record.
bool RiffWaveReader::readFormat() {
  platform::WaveFormatEx block{};
  if (file->read(&block, kFormatBlockBytes) != kFormatBlockBytes) return fail(riff::MMIOERR_CANNOTREAD);
  std::uint16_t extraSize = 0;
  // A non-PCM format whose chunk ends after the 16-byte block has no
  // extra-size field: what follows belongs to the next chunk.
  if (block.formatTag != platform::WAVE_FORMAT_PCM && fmtChunk.size >= sizeof(platform::WaveFormatEx)) {
    if (file->read(&extraSize, sizeof extraSize) != sizeof extraSize) return fail(riff::MMIOERR_CANNOTREAD);
  }
  // At most 18 + 65535 bytes, whatever the file says.
  auto* record = static_cast<platform::WaveFormatEx*>(std::malloc(sizeof(platform::WaveFormatEx) + extraSize));
  if (record == nullptr) return fail(riff::MMIOERR_OUTOFMEMORY);
  format = record;
  std::memcpy(format, &block, kFormatBlockBytes);
  format->extraSize = extraSize;
  if (extraSize != 0) {
    auto* extra = reinterpret_cast<std::uint8_t*>(format) + sizeof(platform::WaveFormatEx);
    if (file->read(extra, extraSize) != extraSize) return fail(riff::MMIOERR_CANNOTREAD);
  }
  return true;
}

bool RiffWaveReader::findDataChunk() {
  if (!file) {
    lastError = riff::MMSYSERR_INVALHANDLE;
    return false;
  }
  const std::int64_t firstSubchunk = static_cast<std::int64_t>(riffChunk.dataOffset) + 4;
  if (file->seek(firstSubchunk, SEEK_SET) == -1) {
    lastError = riff::MMIOERR_CANNOTSEEK;
    return false;
  }
  dataChunk.id = riff::kDataId;
  lastError = file->descend(&dataChunk, &riffChunk, riff::kFindChunk);
  return lastError == 0;
}

std::uint32_t RiffWaveReader::bytesPresent() const {
  if (!file) return 0;
  const std::int64_t end = file->length();
  const std::int64_t present = end - static_cast<std::int64_t>(dataChunk.dataOffset);
  if (end < 0 || present <= 0) return 0;
  return present < dataSize ? static_cast<std::uint32_t>(present) : dataSize;
}

std::uint32_t RiffWaveReader::read(void* destination, std::uint32_t length) {
  riff::IoState state;
  if (!file) {
    lastError = riff::MMSYSERR_INVALHANDLE;
    return 0;
  }
  if (const std::uint32_t r = file->getInfo(&state)) {
    lastError = r;
    return 0;
  }
  const std::uint32_t count = std::min(length, dataChunk.size);
  dataChunk.size -= count;
  if (count >= riff::kDefaultBufferSize) {
    // A whole sample goes from the file straight into the caller's memory.
    const std::int64_t got = file->readThrough(destination, count);
    if (got != count) {
      lastError = riff::MMIOERR_CANNOTREAD;  // a failed read, or the file ends inside the data
      return 0;
    }
    return count;
  }

  auto* to = static_cast<std::uint8_t*>(destination);
  std::uint32_t copied = 0;
  while (copied < count) {
    if (state.next == state.endRead) {
      if (const std::uint32_t r = file->advance(&state, riff::kRead)) {
        lastError = r;
        return 0;
      }
      if (state.next == state.endRead) {  // the file ends inside the data
        lastError = riff::MMIOERR_CANNOTREAD;
        return 0;
      }
    }
    // Straight out of the file's buffer, as much as it holds at a time.
    const std::uint32_t run =
        static_cast<std::uint32_t>(std::min<std::int64_t>(count - copied, state.endRead - state.next));
    std::memcpy(to + copied, state.next, run);
    state.next += run;
    copied += run;
  }
  if (const std::uint32_t r = file->setInfo(&state)) {
    lastError = r;
    return 0;
  }
  return count;
}

}  // namespace tidewell
