// Opening, closing and the buffered byte I/O of RiffFile. The buffer is a
// window on the file at state_.bufferOffset; bytes up to endRead are valid,
// and a dirty window is written back whole before it moves.
#include "riff/riff_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace riff {
namespace {

std::uint32_t openErrorFor(int error) {
  switch (error) {
    case ENOENT:
      return MMIOERR_FILENOTFOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return MMIOERR_ACCESSDENIED;
    case EMFILE:
    case ENFILE:
      return MMIOERR_TOOMANYOPENFILES;
    default:
      return MMIOERR_CANNOTOPEN;
  }
}

void report(std::uint32_t* error, std::uint32_t code) {
  if (error != nullptr) *error = code;
}

}  // namespace

std::unique_ptr<RiffFile> RiffFile::open(const char* fileName, std::uint32_t flags,
                                         std::uint32_t* error, std::uint32_t bufferSize) {
  if (fileName == nullptr || bufferSize == 0) {
    report(error, MMIOERR_CANNOTOPEN);
    return nullptr;
  }
  const bool writable = (flags & kReadWrite) != 0;
  int mode = writable ? O_RDWR : O_RDONLY;
  if (writable && (flags & kCreate)) mode |= O_CREAT | O_TRUNC;
  // Non-blocking so that a FIFO or device named like a sample cannot stall
  // the open; anything but a regular file is refused below.
  const int descriptor = ::open(fileName, mode | O_CLOEXEC | O_NONBLOCK, 0644);
  if (descriptor < 0) {
    report(error, openErrorFor(errno));
    return nullptr;
  }
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    report(error, MMIOERR_CANNOTOPEN);
    return nullptr;
  }
  std::unique_ptr<RiffFile> file(new (std::nothrow) RiffFile(descriptor, writable, bufferSize));
  if (!file || !file->storage_) {
    if (!file) ::close(descriptor);
    report(error, MMIOERR_OUTOFMEMORY);
    return nullptr;
  }
  report(error, MMSYSERR_NOERROR);
  return file;
}

RiffFile::RiffFile(int descriptor, bool writable, std::uint32_t bufferSize)
    : descriptor_(descriptor),
      writable_(writable),
      bufferSize_(bufferSize),
      storage_(new (std::nothrow) std::uint8_t[bufferSize]) {
  state_.buffer = storage_.get();
  state_.next = state_.buffer;
  state_.endRead = state_.buffer;
  state_.endWrite = writable_ && state_.buffer ? state_.buffer + bufferSize_ : state_.buffer;
}

RiffFile::~RiffFile() { close(); }

std::uint32_t RiffFile::close() {
  if (descriptor_ < 0) return MMSYSERR_INVALHANDLE;
  const std::uint32_t flushed = storage_ ? flush() : MMSYSERR_NOERROR;
  const int closed = ::close(descriptor_);
  descriptor_ = -1;
  if (flushed != MMSYSERR_NOERROR) return flushed;
  return closed == 0 ? MMSYSERR_NOERROR : MMIOERR_CANNOTCLOSE;
}

std::int64_t RiffFile::position() const {
  return state_.bufferOffset + (state_.next - state_.buffer);
}

std::uint32_t RiffFile::flush() {
  if (!(state_.flags & kDirty)) return MMSYSERR_NOERROR;
  const std::uint8_t* from = state_.buffer;
  std::int64_t offset = state_.bufferOffset;
  while (from < state_.endRead) {
    const ssize_t n = ::pwrite(descriptor_, from, state_.endRead - from, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return MMIOERR_CANNOTWRITE;
    from += n;
    offset += n;
  }
  state_.flags &= ~kDirty;
  return MMSYSERR_NOERROR;
}

std::uint32_t RiffFile::fill() {
  ssize_t n;
  do {
    n = ::pread(descriptor_, state_.buffer, bufferSize_, state_.bufferOffset);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return MMIOERR_CANNOTREAD;
  state_.next = state_.buffer;
  state_.endRead = state_.buffer + n;
  state_.endWrite = writable_ ? state_.buffer + bufferSize_ : state_.buffer;
  return MMSYSERR_NOERROR;
}

std::int64_t RiffFile::fileEnd() const {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) return -1;
  const std::int64_t buffered = state_.bufferOffset + (state_.endRead - state_.buffer);
  return std::max<std::int64_t>(info.st_size, buffered);
}

std::uint32_t RiffFile::adopt(const IoState* state) {
  if (descriptor_ < 0 || state == nullptr) return MMSYSERR_INVALHANDLE;
  // Only a record taken from this file may be handed back.
  if (state->buffer != state_.buffer || state->next < state_.buffer ||
      state->next > state_.buffer + bufferSize_) {
    return MMIOERR_CANNOTSEEK;
  }
  state_.next = state->next;
  if (writable_ && (state->flags & kDirty)) {
    state_.flags |= kDirty;
    state_.endRead = std::max(state_.endRead, state_.next);
  }
  return MMSYSERR_NOERROR;
}

std::uint32_t RiffFile::getInfo(IoState* state) const {
  if (descriptor_ < 0 || state == nullptr) return MMSYSERR_INVALHANDLE;
  *state = state_;
  return MMSYSERR_NOERROR;
}

std::uint32_t RiffFile::setInfo(const IoState* state) { return adopt(state); }

std::uint32_t RiffFile::advance(IoState* state, std::uint32_t flags) {
  if ((flags & kWrite) && !writable_) return MMIOERR_CANNOTWRITE;
  if (const std::uint32_t r = adopt(state)) return r;
  if (const std::uint32_t r = flush()) return r;
  state_.bufferOffset = position();
  state_.next = state_.endRead = state_.buffer;
  if (const std::uint32_t r = fill()) return r;
  *state = state_;
  return MMSYSERR_NOERROR;
}

std::int32_t RiffFile::read(void* destination, std::int32_t length) {
  if (descriptor_ < 0 || length < 0 || (destination == nullptr && length > 0)) return -1;
  auto* to = static_cast<std::uint8_t*>(destination);
  std::int32_t done = 0;
  while (done < length) {
    if (state_.next == state_.endRead) {
      IoState state = state_;
      if (advance(&state, kRead) != MMSYSERR_NOERROR) return -1;
      if (state_.next == state_.endRead) break;  // end of file
    }
    const std::int32_t n =
        static_cast<std::int32_t>(std::min<std::int64_t>(length - done, state_.endRead - state_.next));
    std::memcpy(to + done, state_.next, n);
    state_.next += n;
    done += n;
  }
  return done;
}

std::int64_t RiffFile::readThrough(void* destination, std::int64_t length) {
  if (descriptor_ < 0 || length < 0 || (destination == nullptr && length > 0)) return -1;
  auto* to = static_cast<std::uint8_t*>(destination);
  std::int64_t done = std::min<std::int64_t>(length, state_.endRead - state_.next);
  std::memcpy(to, state_.next, static_cast<std::size_t>(done));
  state_.next += done;
  if (done == length) return done;
  // The window moves past what is read here, empty: a dirty one is written first.
  if (flush() != MMSYSERR_NOERROR) return -1;
  std::int64_t offset = position();
  while (done < length) {
    const ssize_t n = ::pread(descriptor_, to + done, static_cast<std::size_t>(length - done), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
    offset += n;
  }
  state_.bufferOffset = offset;
  state_.next = state_.endRead = state_.buffer;
  return done;
}

std::int32_t RiffFile::write(const void* source, std::int32_t length) {
  if (descriptor_ < 0 || !writable_ || length < 0 || (source == nullptr && length > 0)) return -1;
  const auto* from = static_cast<const std::uint8_t*>(source);
  std::int32_t done = 0;
  while (done < length) {
    if (state_.next == state_.endWrite) {
      IoState state = state_;
      if (advance(&state, kWrite) != MMSYSERR_NOERROR) return -1;
    }
    const std::int32_t n =
        static_cast<std::int32_t>(std::min<std::int64_t>(length - done, state_.endWrite - state_.next));
    std::memcpy(state_.next, from + done, n);
    state_.next += n;
    state_.endRead = std::max(state_.endRead, state_.next);
    state_.flags |= kDirty;
    done += n;
  }
  return done;
}

std::int64_t RiffFile::seek(std::int64_t offset, int origin) {
  if (descriptor_ < 0) return -1;
  std::int64_t base = 0;
  if (origin == SEEK_CUR) {
    base = position();
  } else if (origin == SEEK_END) {
    base = fileEnd();
    if (base < 0) return -1;
  } else if (origin != SEEK_SET) {
    return -1;
  }
  // Offsets come from file contents: refuse what would overflow.
  if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) return -1;
  const std::int64_t target = base + offset;
  const std::int64_t windowEnd = state_.bufferOffset + (state_.endRead - state_.buffer);
  if (target >= state_.bufferOffset && target <= windowEnd) {
    state_.next = state_.buffer + (target - state_.bufferOffset);
    return target;
  }
  if (flush() != MMSYSERR_NOERROR) return -1;
  state_.bufferOffset = target;
  state_.next = state_.endRead = state_.buffer;
  return target;
}

}  // namespace riff
