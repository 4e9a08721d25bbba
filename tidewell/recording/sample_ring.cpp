#include "tidewell/recording/sample_ring.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tidewell::recording {

SampleRing::SampleRing(std::size_t minimumSamples)
    : capacity_(std::bit_ceil(std::max<std::size_t>(minimumSamples, 2))),
      mask_(capacity_ - 1),
      samples_(new float[capacity_]()) {}

bool SampleRing::push(const float* samples, std::size_t count) {
  const std::uint64_t written = written_.load(std::memory_order_relaxed);
  const std::uint64_t read = read_.load(std::memory_order_acquire);
  if (count > capacity_ - static_cast<std::size_t>(written - read)) {
    dropped_.fetch_add(count, std::memory_order_relaxed);
    return false;
  }
  const std::size_t at = static_cast<std::size_t>(written) & mask_;
  const std::size_t first = std::min(count, capacity_ - at);
  std::memcpy(&samples_[at], samples, first * sizeof(float));
  std::memcpy(&samples_[0], samples + first, (count - first) * sizeof(float));
  written_.store(written + count, std::memory_order_release);
  return true;
}

std::size_t SampleRing::pop(float* destination, std::size_t maxCount) {
  const std::uint64_t read = read_.load(std::memory_order_relaxed);
  const std::uint64_t written = written_.load(std::memory_order_acquire);
  const std::size_t count = std::min(maxCount, static_cast<std::size_t>(written - read));
  const std::size_t at = static_cast<std::size_t>(read) & mask_;
  const std::size_t first = std::min(count, capacity_ - at);
  std::memcpy(destination, &samples_[at], first * sizeof(float));
  std::memcpy(destination + first, &samples_[0], (count - first) * sizeof(float));
  read_.store(read + count, std::memory_order_release);
  return count;
}

void SampleRing::discard() { read_.store(written_.load(std::memory_order_acquire), std::memory_order_release); }

std::size_t SampleRing::size() const {
  return static_cast<std::size_t>(written_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire));
}

}  // namespace tidewell::recording
