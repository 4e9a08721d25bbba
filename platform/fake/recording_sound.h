#pragma once
// A sound system for engine tests. It plays nothing: it records every call
// made on the device and its buffers, in order, keeps the values the buffers
// were given and refuses what a real device refuses.
//
//   platform::fake::RecordingSoundSystem sound;
//   tidewell::AudioDevice device(&sound);           // buffer 0 is the primary
//   device.initialise(nullptr);
//   track.loadSample(&device, 3);                    // buffers 1, 2, 3
//   sound.failCall(SoundCallKind::kSetFrequency, 2, platform::E_FAIL);
//   ... track.applyFrequency() ...
//   sound.calls(SoundCallKind::kPlay);               // what was started, in order
//   sound.buffer(1)->volume;                         // the value it holds
//   sound.finishAll();                               // every hit has ended
//
// Buffers are numbered 0, 1, 2 ... in the order they were created or
// duplicated (the primary buffer counts). A played buffer reports "playing"
// until the test calls finish(id) or finishAll(); setLost(id) makes it report
// "lost" until it is restored.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/sound.h"

namespace platform::fake {

enum class SoundCallKind {
  kDirectSoundCreate,
  kSetCooperativeLevel,
  kCreateSoundBuffer,
  kDuplicateSoundBuffer,
  kQueryListener,
  kLock,
  kUnlock,
  kPlay,
  kStop,
  kGetStatus,
  kRestore,
  kSetVolume,
  kSetPan,
  kSetFrequency,
  kRelease,  // the last reference to a buffer went away
};

const char* soundCallName(SoundCallKind kind);

struct SoundCall {
  SoundCallKind kind;
  int buffer = -1;        // the buffer called, or the one created; -1 for the device
  std::int64_t value = 0; // volume, pan, frequency, play flags, bytes, level; source id of a duplicate
  HResult result = kOk;
};

// What the fake holds for one buffer; read it freely in tests.
struct RecordedBuffer {
  int id = 0;
  int duplicateOf = -1;  // the original's id for a duplicate
  bool primary = false;
  std::uint32_t flags = 0;
  std::int32_t volume = 0;
  std::int32_t pan = 0;
  std::uint32_t frequency = 0;  // the format's rate until set
  bool playing = false;
  bool lost = false;
  bool released = false;
  std::uint32_t playFlags = 0;
  double startDelayMs = 0.0;  // the delay of the last start (0 for play())
  std::vector<std::uint8_t> format;  // the format record with its extra bytes
  // Shared with every duplicate: one copy of the data.
  std::shared_ptr<std::vector<std::uint8_t>> data;
};

struct RecorderState;

class RecordingSoundSystem : public SoundSystem {
 public:
  RecordingSoundSystem();
  ~RecordingSoundSystem() override;

  HResult directSoundCreate(SoundDeviceRef* device) override;

  // --- set up by the test ---
  // directSoundCreate returns this and creates nothing when it is a failure.
  HResult createDeviceResult = kOk;
  // setCooperativeLevel returns this.
  HResult cooperativeLevelResult = kOk;
  // The next `times` calls of `kind` on buffer `bufferId` (-1: on any buffer,
  // or on the device for device calls) fail with `result` and change nothing.
  void failCall(SoundCallKind kind, int bufferId, HResult result, int times = 1);
  void finish(int bufferId);  // the buffer's hit has ended
  void finishAll();
  void setLost(int bufferId, bool lost = true);

  // --- inspected by the test ---
  const std::vector<SoundCall>& log() const;
  std::vector<SoundCall> calls(SoundCallKind kind) const;  // the calls of one kind, in order
  int countCalls(SoundCallKind kind, int bufferId = -1) const;
  void clearLog();
  int bufferCount() const;                 // buffers ever made, primary included
  const RecordedBuffer* buffer(int id) const;  // null for an unknown id
  // The id behind a buffer reference made by this fake; -1 for anything else.
  static int idOf(const SoundBufferRef& buffer);
  std::string describeLog() const;  // one call per line, for failure messages

 private:
  std::shared_ptr<RecorderState> state_;
};

}  // namespace platform::fake
