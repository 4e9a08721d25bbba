#include "tidewell/midi/standard_midi_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace tidewell::midi {
namespace {

constexpr double kMaxTicksPerQuarter = 32766.0;  // 15 bits, a multiple of 6
// The tempo event holds 24 bits of microseconds: 805306 frames at most.
constexpr double kMaxFramesPerQuarter = 805306.0;

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putVariable(std::vector<std::uint8_t>& out, std::uint64_t v) {
  std::uint8_t groups[10];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0 && n < 10);
  while (n > 1) out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

void putChunk(std::vector<std::uint8_t>& out, const char* id, const std::vector<std::uint8_t>& body) {
  out.insert(out.end(), id, id + 4);
  put32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
}

void putTrackName(std::vector<std::uint8_t>& track, const std::string& name) {
  track.insert(track.end(), {0x00, 0xFF, 0x03, static_cast<std::uint8_t>(name.size())});
  track.insert(track.end(), name.begin(), name.end());
}

void putEndOfTrack(std::vector<std::uint8_t>& track, std::uint64_t delta) {
  putVariable(track, delta);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
}

}  // namespace

FileTiming fileTimingFor(float tempo) {
  // A session beat in output frames; a tempo of 0 or less has no beats and
  // takes 120 a minute.
  const double sessionTempo = tempo > 0.0f ? tempo / 2.0 : 120.0;
  const double framesPerQuarter = std::min(kMaxFramesPerQuarter, 60.0 * kFramesPerSecond / sessionTempo);
  FileTiming timing;
  timing.framesPerTick = static_cast<std::uint32_t>(std::ceil(framesPerQuarter / kMaxTicksPerQuarter));
  // A multiple of 6 ticks makes the quarter's microseconds (ticks x frames
  // per tick x 125 / 6) whole.
  const double sixes = std::max(1.0, std::round(framesPerQuarter / timing.framesPerTick / 6.0));
  timing.ticksPerQuarter = static_cast<std::uint16_t>(6 * sixes);
  timing.microsPerQuarter = timing.ticksPerQuarter / 6u * timing.framesPerTick * 125u;
  return timing;
}

std::vector<std::uint8_t> buildStandardMidiFile(const FileTiming& timing, int trackCount,
                                                const std::vector<TimedMessage>& messages) {
  trackCount = std::clamp(trackCount, 1, kChannels);
  for (const TimedMessage& m : messages) trackCount = std::max(trackCount, std::min(m.channel + 1, kChannels));

  std::vector<std::uint8_t> file;
  std::vector<std::uint8_t> header;
  header.insert(header.end(), {0x00, 0x01});  // format 1
  header.push_back(static_cast<std::uint8_t>((trackCount + 1) >> 8));
  header.push_back(static_cast<std::uint8_t>(trackCount + 1));
  header.push_back(static_cast<std::uint8_t>(timing.ticksPerQuarter >> 8));
  header.push_back(static_cast<std::uint8_t>(timing.ticksPerQuarter));
  putChunk(file, "MThd", header);

  std::vector<std::uint8_t> tempoTrack;
  putTrackName(tempoTrack, "Tidewell");
  const std::uint32_t micros = timing.microsPerQuarter;
  tempoTrack.insert(tempoTrack.end(), {0x00, 0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16),
                                       static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
  putEndOfTrack(tempoTrack, 0);
  putChunk(file, "MTrk", tempoTrack);

  const std::uint64_t half = timing.framesPerTick / 2;
  for (int channel = 0; channel < trackCount; ++channel) {
    std::vector<TimedMessage> own;
    for (const TimedMessage& m : messages)
      if (m.channel == channel) own.push_back(m);
    std::stable_sort(own.begin(), own.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.frame < b.frame; });
    std::vector<std::uint8_t> track;
    putTrackName(track, "Track " + std::to_string(channel + 1));
    std::uint64_t lastTick = 0;
    for (const TimedMessage& m : own) {
      const std::uint64_t tick = (m.frame + half) / timing.framesPerTick;
      putVariable(track, tick - lastTick);
      track.insert(track.end(), m.bytes, m.bytes + m.size);
      lastTick = tick;
    }
    putEndOfTrack(track, 0);
    putChunk(file, "MTrk", track);
  }
  return file;
}

bool WholeFile::open(const std::string& path, std::string* error) {
  discard();
  path_ = path;
  partPath_ = path + ".part-" + std::to_string(::getpid());
  file_ = std::fopen(partPath_.c_str(), "wb");
  if (file_ == nullptr) {
    *error = "cannot write " + path + ": " + std::strerror(errno);
    partPath_.clear();
    return false;
  }
  return true;
}

bool WholeFile::commit(const std::vector<std::uint8_t>& bytes, std::string* error) {
  if (file_ == nullptr) {
    *error = "cannot write " + path_ + ": not open";
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed || std::rename(partPath_.c_str(), path_.c_str()) != 0) {
    *error = "cannot write " + path_ + ": " + std::strerror(errno);
    discard();
    return false;
  }
  partPath_.clear();
  return true;
}

void WholeFile::discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!partPath_.empty()) ::unlink(partPath_.c_str());
  partPath_.clear();
}

}  // namespace tidewell::midi
