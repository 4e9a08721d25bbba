#include "platform/capture/capture_ring.h"

#include <gtest/gtest.h>

#include "platform/capture/auto_reset_event.h"

namespace platform {
namespace {

WaveFormatEx mono8() { return {WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0}; }

TEST(CaptureRing, LockPastTheEndGivesTwoRegions) {
  auto ring = std::make_shared<CaptureRing>(32000, mono8());
  void* r1 = nullptr;
  void* r2 = nullptr;
  std::uint32_t b1 = 0, b2 = 0;
  ASSERT_EQ(ring->lock(30000, 4000, &r1, &b1, &r2, &b2, 0), kOk);
  EXPECT_EQ(b1, 2000u);
  EXPECT_EQ(b2, 2000u);
  std::uint32_t unused = 0;
  void* base = nullptr;
  ring->lock(0, 1, &base, &unused, nullptr, nullptr, 0);
  EXPECT_EQ(static_cast<std::uint8_t*>(r1) - static_cast<std::uint8_t*>(base), 30000);
  EXPECT_EQ(r2, base);
  ASSERT_EQ(ring->lock(100, 50, &r1, &b1, &r2, &b2, 0), kOk);
  EXPECT_EQ(r2, nullptr);
  EXPECT_EQ(b2, 0u);
}

TEST(CaptureRing, NotificationsFireAsPositionsArePassedAndStopSignalsOnce) {
  auto ring = std::make_shared<CaptureRing>(100, mono8());
  AutoResetEvent notify;
  AutoResetEvent stopped;
  NotifyPosition positions[3] = {{49, &notify}, {99, &notify}, {DSBPN_OFFSETSTOP, &stopped}};
  ASSERT_EQ(ring->setNotificationPositions(3, positions), kOk);
  std::vector<std::uint8_t> bytes(49, 7);
  ring->feed(bytes.data(), bytes.size());
  EXPECT_FALSE(notify.take());  // nothing fed before start
  ring->start(DSCBSTART_LOOPING);
  ring->feed(bytes.data(), 49);
  EXPECT_FALSE(notify.take());  // byte 49 not yet written
  ring->feed(bytes.data(), 1);
  EXPECT_TRUE(notify.take());
  EXPECT_FALSE(notify.take());  // auto-reset
  ring->feed(bytes.data(), 49);
  ring->feed(bytes.data(), 10);  // wraps past 99
  EXPECT_TRUE(notify.take());
  std::uint32_t capture = 0, read = 0;
  ring->getCurrentPosition(&capture, &read);
  EXPECT_EQ(read, 9u);
  ring->stop();
  EXPECT_TRUE(stopped.take());
  ring->stop();
  EXPECT_FALSE(stopped.take());
}

TEST(CaptureRing, RefusesPositionsOutsideTheRing) {
  auto ring = std::make_shared<CaptureRing>(100, mono8());
  NotifyPosition outside{100, nullptr};
  EXPECT_EQ(ring->setNotificationPositions(1, &outside), DSERR_INVALIDPARAM);
}

}  // namespace
}  // namespace platform
