#pragma once
// A lock-free ring of interleaved float samples between exactly one producer
// (the audio thread) and one consumer (the recording's writer thread). Both
// sides only copy and publish an index: no lock, no allocation, no system
// call, so the audio thread can never wait on the writer.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tidewell::recording {

class SampleRing {
 public:
  // Room for at least minimumSamples; the capacity is rounded up to a power
  // of two. Allocates here, never later.
  explicit SampleRing(std::size_t minimumSamples);

  std::size_t capacity() const { return capacity_; }

  // Producer: stores all `count` samples, or none when they do not fit; a
  // block that does not fit is counted as dropped.
  bool push(const float* samples, std::size_t count);
  // Consumer: moves up to maxCount samples into destination; how many.
  std::size_t pop(float* destination, std::size_t maxCount);
  // Consumer: forgets everything stored so far.
  void discard();

  std::size_t size() const;
  // Samples refused by push since the ring was made.
  std::uint64_t droppedSamples() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  const std::size_t capacity_;
  const std::size_t mask_;
  std::unique_ptr<float[]> samples_;
  // Running counts of samples written and read; their difference is the fill.
  alignas(64) std::atomic<std::uint64_t> written_{0};
  alignas(64) std::atomic<std::uint64_t> read_{0};
  alignas(64) std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace tidewell::recording
