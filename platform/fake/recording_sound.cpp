#include "platform/fake/recording_sound.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/sound/buffer_rules.h"
#include "platform/sound/software_buffer.h"

namespace platform::fake {

struct ScriptedFailure {
  SoundCallKind kind;
  int bufferId;
  HResult result;
  int timesLeft;
};

struct RecorderState {
  std::vector<SoundCall> log;
  std::vector<std::shared_ptr<RecordedBuffer>> buffers;
  std::vector<ScriptedFailure> failures;
  const HResult* cooperativeLevelResult = nullptr;

  // Logs the call; returns the scripted failure for it, or kOk.
  HResult enter(SoundCallKind kind, int bufferId, std::int64_t value) {
    HResult result = kOk;
    for (auto& f : failures) {
      if (f.timesLeft > 0 && f.kind == kind && (f.bufferId == -1 || f.bufferId == bufferId)) {
        --f.timesLeft;
        result = f.result;
        break;
      }
    }
    log.push_back({kind, bufferId, value, result});
    return result;
  }
  // Corrects the logged result once the call has decided it.
  HResult leave(HResult result) {
    log.back().result = result;
    return result;
  }

  std::shared_ptr<RecordedBuffer> newRecord() {
    auto record = std::make_shared<RecordedBuffer>();
    record->id = static_cast<int>(buffers.size());
    buffers.push_back(record);
    return record;
  }
};

namespace {

// Every call is logged and may be scripted to fail. Beyond that, a primary
// buffer answers as the software device's own primary buffer does, and a
// secondary one by the same buffer rules the software device applies.
class RecordingBuffer : public SoundBuffer {
 public:
  RecordingBuffer(std::shared_ptr<RecorderState> state, std::shared_ptr<RecordedBuffer> record)
      : state_(std::move(state)), record_(std::move(record)) {
    if (record_->primary) primary_ = std::make_unique<sound::PrimarySoundBuffer>(record_->flags);
  }

  ~RecordingBuffer() override {
    record_->released = true;
    record_->playing = false;
    state_->log.push_back({SoundCallKind::kRelease, record_->id, 0, kOk});
  }

  int id() const { return record_->id; }
  const std::shared_ptr<RecordedBuffer>& record() const { return record_; }

  HResult lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
               void** region2, std::uint32_t* bytes2, std::uint32_t flags) override {
    HResult r = state_->enter(SoundCallKind::kLock, id(), bytes);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->lock(offset, bytes, region1, bytes1, region2, bytes2, flags));
    if (record_->lost) return state_->leave(DSERR_BUFFERLOST);
    auto& data = *record_->data;
    const auto size = static_cast<std::uint32_t>(data.size());
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    const HResult rule = sound::lockRegions(data.data(), size, offset, bytes, flags, region1, bytes1, region2, bytes2);
    if (failed(rule)) return state_->leave(rule);
    state_->log.back().value = bytes;
    return kOk;
  }

  HResult unlock(void* region1, std::uint32_t bytes1, void* region2, std::uint32_t bytes2) override {
    HResult r = state_->enter(SoundCallKind::kUnlock, id(), static_cast<std::int64_t>(bytes1) + bytes2);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->unlock(region1, bytes1, region2, bytes2));
    return state_->leave(sound::checkUnlock(record_->data->data(), static_cast<std::uint32_t>(record_->data->size()), region1));
  }

  HResult play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) override {
    HResult r = state_->enter(SoundCallKind::kPlay, id(), flags);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->play(reserved, priority, flags));
    if (record_->lost) return state_->leave(DSERR_BUFFERLOST);
    if (failed(sound::checkPlayFlags(flags))) return state_->leave(sound::checkPlayFlags(flags));
    record_->playing = true;
    record_->playFlags = flags;
    record_->startDelayMs = 0.0;
    return kOk;
  }

  // Logged as a play; the buffer keeps the delay it was given.
  HResult playAfter(double delayMs) override {
    const HResult r = play(0, 0, 0);
    if (r == kOk) record_->startDelayMs = delayMs;
    return r;
  }

  HResult stop() override {
    HResult r = state_->enter(SoundCallKind::kStop, id(), 0);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->stop());
    record_->playing = false;
    return kOk;
  }

  HResult getStatus(std::uint32_t* status) override {
    HResult r = state_->enter(SoundCallKind::kGetStatus, id(), 0);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->getStatus(status));
    if (status == nullptr) return state_->leave(DSERR_INVALIDPARAM);
    *status = (record_->playing ? DSBSTATUS_PLAYING : 0u) | (record_->lost ? DSBSTATUS_BUFFERLOST : 0u);
    state_->log.back().value = *status;
    return kOk;
  }

  HResult restore() override {
    HResult r = state_->enter(SoundCallKind::kRestore, id(), 0);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->restore());
    record_->lost = false;
    return kOk;
  }

  HResult setVolume(std::int32_t volume) override {
    HResult r = state_->enter(SoundCallKind::kSetVolume, id(), volume);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->setVolume(volume));
    if (const HResult rule = sound::checkVolume(record_->flags, volume); failed(rule)) return state_->leave(rule);
    record_->volume = volume;
    return kOk;
  }

  HResult setPan(std::int32_t pan) override {
    HResult r = state_->enter(SoundCallKind::kSetPan, id(), pan);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->setPan(pan));
    if (const HResult rule = sound::checkPan(record_->flags, pan); failed(rule)) return state_->leave(rule);
    record_->pan = pan;
    return kOk;
  }

  HResult setFrequency(std::uint32_t frequency) override {
    HResult r = state_->enter(SoundCallKind::kSetFrequency, id(), frequency);
    if (failed(r)) return r;
    if (primary_) return state_->leave(primary_->setFrequency(frequency));
    if (const HResult rule = sound::checkFrequency(record_->flags, frequency); failed(rule))
      return state_->leave(rule);
    record_->frequency = frequency;
    return kOk;
  }

  HResult queryListener(std::shared_ptr<SoundListener3D>* listener) override {
    HResult r = state_->enter(SoundCallKind::kQueryListener, id(), 0);
    if (failed(r)) return r;
    return state_->leave(primary_ ? primary_->queryListener(listener) : E_NOINTERFACE);
  }

 private:
  std::shared_ptr<RecorderState> state_;
  std::shared_ptr<RecordedBuffer> record_;
  std::unique_ptr<SoundBuffer> primary_;
};

class RecordingDevice : public SoundDevice {
 public:
  explicit RecordingDevice(std::shared_ptr<RecorderState> state) : state_(std::move(state)) {}

  HResult setCooperativeLevel(WindowHandle, std::uint32_t level) override {
    HResult r = state_->enter(SoundCallKind::kSetCooperativeLevel, -1, level);
    if (failed(r)) return r;
    if (const HResult rule = sound::checkCooperativeLevel(level); failed(rule)) return state_->leave(rule);
    if (state_->cooperativeLevelResult != nullptr)
      return state_->leave(*state_->cooperativeLevelResult);
    return kOk;
  }

  HResult createSoundBuffer(const SoundBufferDesc& desc, SoundBufferRef* buffer) override {
    HResult r = state_->enter(SoundCallKind::kCreateSoundBuffer, -1, desc.bufferBytes);
    if (failed(r)) return r;
    if (buffer == nullptr) return state_->leave(DSERR_INVALIDPARAM);
    const bool primary = (desc.flags & DSBCAPS_PRIMARYBUFFER) != 0;
    if (const HResult rule = sound::checkBufferDesc(desc, nullptr); failed(rule)) return state_->leave(rule);
    auto record = state_->newRecord();
    record->primary = primary;
    record->flags = desc.flags;
    if (!primary) {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(desc.format);
      record->format.assign(bytes, bytes + sizeof(WaveFormatEx) + desc.format->extraSize);
      record->frequency = desc.format->samplesPerSec;
      record->data = std::make_shared<std::vector<std::uint8_t>>(desc.bufferBytes, 0);
    }
    state_->log.back().buffer = record->id;
    *buffer = std::make_shared<RecordingBuffer>(state_, record);
    return kOk;
  }

  HResult duplicateSoundBuffer(const SoundBufferRef& original, SoundBufferRef* duplicate) override {
    const int sourceId = RecordingSoundSystem::idOf(original);
    HResult r = state_->enter(SoundCallKind::kDuplicateSoundBuffer, -1, sourceId);
    if (failed(r)) return r;
    const HResult rule = sound::checkDuplicate(sourceId >= 0, sourceId >= 0 && state_->buffers[static_cast<std::size_t>(sourceId)]->primary,
                                               duplicate != nullptr);
    if (failed(rule)) return state_->leave(rule);
    const auto& source = *static_cast<RecordingBuffer*>(original.get())->record();
    auto record = state_->newRecord();
    record->duplicateOf = source.id;
    record->flags = source.flags;
    record->volume = source.volume;
    record->pan = source.pan;
    record->frequency = source.frequency;
    record->format = source.format;
    record->data = source.data;
    state_->log.back().buffer = record->id;
    *duplicate = std::make_shared<RecordingBuffer>(state_, record);
    return kOk;
  }

 private:
  std::shared_ptr<RecorderState> state_;
};

}  // namespace

const char* soundCallName(SoundCallKind kind) {
  switch (kind) {
    case SoundCallKind::kDirectSoundCreate: return "directSoundCreate";
    case SoundCallKind::kSetCooperativeLevel: return "setCooperativeLevel";
    case SoundCallKind::kCreateSoundBuffer: return "createSoundBuffer";
    case SoundCallKind::kDuplicateSoundBuffer: return "duplicateSoundBuffer";
    case SoundCallKind::kQueryListener: return "queryListener";
    case SoundCallKind::kLock: return "lock";
    case SoundCallKind::kUnlock: return "unlock";
    case SoundCallKind::kPlay: return "play";
    case SoundCallKind::kStop: return "stop";
    case SoundCallKind::kGetStatus: return "getStatus";
    case SoundCallKind::kRestore: return "restore";
    case SoundCallKind::kSetVolume: return "setVolume";
    case SoundCallKind::kSetPan: return "setPan";
    case SoundCallKind::kSetFrequency: return "setFrequency";
    case SoundCallKind::kRelease: return "release";
  }
  return "?";
}

RecordingSoundSystem::RecordingSoundSystem() : state_(std::make_shared<RecorderState>()) {
  state_->cooperativeLevelResult = &cooperativeLevelResult;
}

RecordingSoundSystem::~RecordingSoundSystem() { state_->cooperativeLevelResult = nullptr; }

HResult RecordingSoundSystem::directSoundCreate(SoundDeviceRef* device) {
  HResult r = state_->enter(SoundCallKind::kDirectSoundCreate, -1, 0);
  if (failed(r)) return r;
  if (failed(createDeviceResult)) return state_->leave(createDeviceResult);
  if (device == nullptr) return state_->leave(DSERR_INVALIDPARAM);
  *device = std::make_shared<RecordingDevice>(state_);
  return kOk;
}

void RecordingSoundSystem::failCall(SoundCallKind kind, int bufferId, HResult result, int times) {
  state_->failures.push_back({kind, bufferId, result, times});
}

void RecordingSoundSystem::finish(int bufferId) {
  if (bufferId >= 0 && bufferId < bufferCount()) state_->buffers[bufferId]->playing = false;
}

void RecordingSoundSystem::finishAll() {
  for (auto& b : state_->buffers) b->playing = false;
}

void RecordingSoundSystem::setLost(int bufferId, bool lost) {
  if (bufferId >= 0 && bufferId < bufferCount()) state_->buffers[bufferId]->lost = lost;
}

const std::vector<SoundCall>& RecordingSoundSystem::log() const { return state_->log; }

std::vector<SoundCall> RecordingSoundSystem::calls(SoundCallKind kind) const {
  std::vector<SoundCall> found;
  for (const auto& c : state_->log)
    if (c.kind == kind) found.push_back(c);
  return found;
}

int RecordingSoundSystem::countCalls(SoundCallKind kind, int bufferId) const {
  return static_cast<int>(std::count_if(state_->log.begin(), state_->log.end(), [&](const SoundCall& c) {
    return c.kind == kind && (bufferId == -1 || c.buffer == bufferId);
  }));
}

void RecordingSoundSystem::clearLog() { state_->log.clear(); }

int RecordingSoundSystem::bufferCount() const { return static_cast<int>(state_->buffers.size()); }

const RecordedBuffer* RecordingSoundSystem::buffer(int id) const {
  if (id < 0 || id >= bufferCount()) return nullptr;
  return state_->buffers[id].get();
}

int RecordingSoundSystem::idOf(const SoundBufferRef& buffer) {
  const auto* recording = dynamic_cast<const RecordingBuffer*>(buffer.get());
  return recording != nullptr ? recording->id() : -1;
}

std::string RecordingSoundSystem::describeLog() const {
  std::ostringstream out;
  for (const auto& c : state_->log)
    out << soundCallName(c.kind) << " buffer=" << c.buffer << " value=" << c.value
        << " result=" << c.result << "\n";
  return out.str();
}

}  // namespace platform::fake
