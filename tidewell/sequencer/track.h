#pragma once
// One voice of the sequencer: a sample file played through a few sound
// buffers, with its own volume, pan, frequency, rhythm and fade step.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/api/sound.h"

namespace tidewell {

class AudioDevice;
class RiffWaveReader;

// Room for a folder (up to 127 characters) followed by a file name of up to
// 255 characters; a longer name from the listing is cut to fit.
constexpr int kSampleNameSize = 384;

class Track {
 public:
  Track();
  virtual ~Track();
  Track(const Track&) = delete;
  Track& operator=(const Track&) = delete;

  // Voice: builds or refills the buffers from sampleName.
  virtual platform::HResult loadSample(AudioDevice* device, int count);
  virtual platform::HResult reloadSample(AudioDevice* device);

  platform::SoundBufferRef findFreeBuffer();
  platform::HResult play(std::uint32_t flags);
  // Plays once, starting `delayMs` after the frame the output plays now (0 or
  // less: from that frame); -1 when no buffer is free, like play.
  platform::HResult playAfter(double delayMs);
  platform::HResult applyVolume();
  platform::HResult applyFrequency();
  platform::HResult applyPan();

  // New frequency, fade step and rhythm after the track got a new sample.
  void renewPattern();
  // The rate of the sample in the buffers; 0 when none is loaded.
  std::uint32_t sampleRate() const;

  bool firesOn(int beat) const;

  std::int32_t bufferCount = 1;
  std::unique_ptr<RiffWaveReader> waveReader;
  std::vector<platform::SoundBufferRef> buffers;  // entry 0 holds the data, the rest duplicate it
  // The format record the buffers were made for (with its extra bytes), so
  // a reload can tell whether a new file fits them.
  std::vector<std::uint8_t> bufferFormat;
  std::int32_t volume = 0;
  std::int32_t rhythm[4] = {0, 0, 0, 0};
  std::int32_t frequency = 50000;
  std::int32_t pan = 0;
  std::int32_t fadeStep = 0;
  char sampleName[kSampleNameSize] = "C.wav";
  std::int32_t plotX = 0;
  std::int32_t plotY = 0;

 private:
  void rollRhythm();
  platform::HResult createBuffers(AudioDevice* device);
};

}  // namespace tidewell
