#pragma once
// A fixed ring for one producer thread and one consumer thread. Neither side
// ever waits or allocates: a push into a full ring and a pop from an empty
// one simply fail. The index updates are sequentially consistent, so a
// producer that pushes and then reads a counter the consumer stores before
// popping can reason about which of its items the consumer has seen.
#include <array>
#include <atomic>
#include <cstddef>

namespace platform::sound {

template <typename T, std::size_t Capacity>
class SpscRing {
  static_assert((Capacity & (Capacity - 1)) == 0, "the capacity is a power of two");

 public:
  bool push(const T& item) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
    items_[tail & (Capacity - 1)] = item;
    tail_.store(tail + 1, std::memory_order_seq_cst);
    return true;
  }

  bool pop(T* item) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_seq_cst)) return false;
    *item = items_[head & (Capacity - 1)];
    head_.store(head + 1, std::memory_order_release);
    return true;
  }

 private:
  std::array<T, Capacity> items_{};
  alignas(64) std::atomic<std::size_t> head_{0};
  alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace platform::sound
