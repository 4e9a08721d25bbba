#include "tidewell/recording/sample_ring.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tidewell::recording {
namespace {

TEST(SampleRingTest, CapacityIsAPowerOfTwoAtLeastTheRequest) {
  EXPECT_EQ(SampleRing(192000).capacity(), 262144u);  // 2 s of 48 kHz stereo fits
  EXPECT_EQ(SampleRing(8).capacity(), 8u);
  EXPECT_EQ(SampleRing(9).capacity(), 16u);
}

// Blocks of changing sizes travel through many wraps in order, unchanged.
TEST(SampleRingTest, BlocksKeepTheirOrderAcrossWraps) {
  SampleRing ring(128);
  float next = 0, expected = 0;
  std::vector<float> block, out(128);
  for (int round = 0; round < 500; ++round) {
    block.clear();
    for (int i = 0; i < round % 23 + 1; ++i) block.push_back(next++);
    ASSERT_TRUE(ring.push(block.data(), block.size()));
    const std::size_t got = ring.pop(out.data(), static_cast<std::size_t>(round % 17 + 1) * 3);
    for (std::size_t i = 0; i < got; ++i) ASSERT_EQ(out[i], expected++);
  }
  const std::size_t rest = ring.pop(out.data(), out.size());
  for (std::size_t i = 0; i < rest; ++i) ASSERT_EQ(out[i], expected++);
  EXPECT_EQ(expected, next);
  EXPECT_EQ(ring.droppedSamples(), 0u);
}

// A block that does not fit is refused whole and counted; nothing stored is lost.
TEST(SampleRingTest, AFullRingDropsWholeBlocksAndCountsThem) {
  SampleRing ring(16);
  const std::vector<float> block(6, 1.0f);
  EXPECT_TRUE(ring.push(block.data(), 6));
  EXPECT_TRUE(ring.push(block.data(), 6));
  EXPECT_FALSE(ring.push(block.data(), 6));  // 4 free
  EXPECT_TRUE(ring.push(block.data(), 4));
  EXPECT_EQ(ring.size(), 16u);
  EXPECT_EQ(ring.droppedSamples(), 6u);
  std::vector<float> out(32);
  EXPECT_EQ(ring.pop(out.data(), 32), 16u);
}

TEST(SampleRingTest, DiscardForgetsWhatIsStored) {
  SampleRing ring(16);
  const float values[3] = {1, 2, 3};
  ring.push(values, 3);
  ring.discard();
  EXPECT_EQ(ring.size(), 0u);
  ring.push(values + 2, 1);
  float out[4] = {};
  ASSERT_EQ(ring.pop(out, 4), 1u);
  EXPECT_EQ(out[0], 3);
}

// One producer and one consumer on their own threads: every sample arrives
// once, in order, or is counted as dropped with its whole block.
TEST(SampleRingTest, ProducerAndConsumerThreadsLoseNothingUncounted) {
  SampleRing ring(1024);
  constexpr int kBlocks = 20000;
  constexpr int kBlock = 96;
  std::thread producer([&ring] {
    std::vector<float> block(kBlock);
    for (int b = 0; b < kBlocks; ++b) {
      for (int i = 0; i < kBlock; ++i) block[static_cast<std::size_t>(i)] = static_cast<float>(b);
      ring.push(block.data(), kBlock);
    }
  });
  std::vector<float> out(300);
  std::uint64_t received = 0;
  float last = -1;
  int sameInRow = 0;
  bool ordered = true;
  auto take = [&] {
    const std::size_t got = ring.pop(out.data(), out.size());
    for (std::size_t i = 0; i < got; ++i) {
      // Values never go back; a block arrives whole.
      if (out[i] < last || (out[i] > last && sameInRow % kBlock != 0)) ordered = false;
      sameInRow = out[i] == last ? sameInRow + 1 : 1;
      last = out[i];
    }
    received += got;
    return got;
  };
  while (ring.size() > 0 || received + ring.droppedSamples() < std::uint64_t{kBlocks} * kBlock) {
    if (take() == 0) std::this_thread::yield();
  }
  producer.join();
  take();
  EXPECT_TRUE(ordered);
  EXPECT_EQ(received + ring.droppedSamples(), std::uint64_t{kBlocks} * kBlock);
}

}  // namespace
}  // namespace tidewell::recording
