#include "launcher/riff_wave_writer.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace launcher {
namespace {

constexpr std::uint32_t kFactPlaceholder = 0xFFFFFFFFu;
constexpr std::uint32_t kPcmFormatBytes = 16;  // the format record without its extra-size field

void putLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

RiffWaveWriter::~RiffWaveWriter() { finish(0); }

platform::HResult RiffWaveWriter::open(const char* fileName, const platform::WaveFormatEx* format) {
  if (file || fileName == nullptr || format == nullptr) return platform::E_FAIL;
  std::unique_ptr<riff::RiffFile> opened = riff::RiffFile::open(fileName, riff::kReadWrite | riff::kCreate);
  if (!opened) return platform::E_FAIL;
  const platform::HResult header = writeHeader(*opened, *format);
  if (platform::failed(header)) {
    // A file that never got its header is no wave file: leave nothing behind.
    opened->close();
    ::unlink(fileName);
    return header;
  }
  file = std::move(opened);
  return beginData();
}

platform::HResult RiffWaveWriter::writeHeader(riff::RiffFile& target, const platform::WaveFormatEx& format) {
  riffChunk = riff::ChunkRecord{};
  riffChunk.formType = riff::kWaveId;
  if (target.createChunk(&riffChunk, riff::kCreateRiff) != 0) return platform::E_FAIL;

  dataChunk = riff::ChunkRecord{};
  dataChunk.id = riff::kFmtId;
  dataChunk.size = kPcmFormatBytes;
  if (target.createChunk(&dataChunk, 0) != 0) return platform::E_FAIL;
  const std::int32_t formatBytes = format.formatTag == platform::WAVE_FORMAT_PCM
                                       ? kPcmFormatBytes
                                       : sizeof(platform::WaveFormatEx) + format.extraSize;
  if (target.write(&format, formatBytes) != formatBytes) return platform::E_FAIL;
  if (target.ascend(&dataChunk) != 0) return platform::E_FAIL;

  riff::ChunkRecord factChunk;
  factChunk.id = riff::kFactId;
  if (target.createChunk(&factChunk, 0) != 0) return platform::E_FAIL;
  std::uint8_t placeholder[4];
  putLittleEndian32(placeholder, kFactPlaceholder);
  if (target.write(placeholder, 4) != 4) return platform::E_FAIL;
  if (target.ascend(&factChunk) != 0) return platform::E_FAIL;
  return platform::kOk;
}

platform::HResult RiffWaveWriter::beginData() {
  dataChunk = riff::ChunkRecord{};
  dataChunk.id = riff::kDataId;
  if (file->createChunk(&dataChunk, 0) != 0) return platform::E_FAIL;
  if (file->getInfo(&ioState) != 0) return platform::E_FAIL;
  return platform::kOk;
}

platform::HResult RiffWaveWriter::write(std::uint32_t count, const std::uint8_t* bytes, std::uint32_t* written) {
  std::uint32_t stored = 0;
  if (written != nullptr) *written = 0;
  if (!file || (bytes == nullptr && count > 0)) return platform::E_FAIL;
  while (stored < count) {
    if (ioState.next == ioState.endWrite) {
      ioState.flags |= riff::kDirty;
      if (file->advance(&ioState, riff::kWrite) != 0) return platform::E_FAIL;
    }
    // Straight into the file's buffer, as much as fits before the next advance.
    const std::uint32_t run =
        static_cast<std::uint32_t>(std::min<std::int64_t>(count - stored, ioState.endWrite - ioState.next));
    std::memcpy(ioState.next, bytes + stored, run);
    ioState.next += run;
    stored += run;
    if (written != nullptr) *written = stored;
  }
  return platform::kOk;
}

platform::HResult RiffWaveWriter::abandon() {
  // Whatever reached the buffer goes to disk with the sizes fixed so far.
  file->close();
  file.reset();
  return platform::E_FAIL;
}

platform::HResult RiffWaveWriter::finish(std::uint32_t factValue) {
  if (!file) return platform::E_FAIL;
  ioState.flags |= riff::kDirty;
  if (file->setInfo(&ioState) != 0) return abandon();
  if (file->ascend(&dataChunk) != 0) return abandon();
  if (file->ascend(&riffChunk) != 0) return abandon();
  file->seek(0, SEEK_SET);
  if (file->descend(&riffChunk, nullptr, 0) != 0) return abandon();

  dataChunk.id = riff::kFactId;
  if (file->descend(&dataChunk, &riffChunk, riff::kFindChunk) == 0) {
    std::uint8_t value[4];
    putLittleEndian32(value, factValue);
    file->write(value, 4);
    file->ascend(&dataChunk);
  }
  if (file->ascend(&riffChunk) != 0) return abandon();
  const std::uint32_t closed = file->close();
  file.reset();
  return closed == 0 ? platform::kOk : platform::E_FAIL;
}

}  // namespace launcher
