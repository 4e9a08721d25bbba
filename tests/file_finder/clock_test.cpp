#include <gtest/gtest.h>

#include "platform/fake/fake_clock.h"
#include "platform/posix/steady_clock.h"

namespace {

TEST(SteadyClock, NeverRunsBackwardsOverAShortSpan) {
  platform::posix::SteadyClock clock;
  const std::uint32_t first = clock.timeGetTime();
  const std::uint32_t second = clock.timeGetTime();
  EXPECT_LT(static_cast<std::uint32_t>(second - first), 1000u);
}

TEST(FakeClock, MovesOnlyWhenTold_AndWraps) {
  platform::fake::FakeClock clock;
  EXPECT_EQ(clock.timeGetTime(), 0u);
  clock.set(0xFFFFFFF0u);
  clock.advance(0x20);
  EXPECT_EQ(clock.timeGetTime(), 0x10u);
  EXPECT_EQ(clock.reads(), 2);
}

}  // namespace
