#include <gtest/gtest.h>

#include "platform/posix/steady_clock.h"

namespace {

TEST(SteadyClock, NeverRunsBackwardsOverAShortSpan) {
  platform::posix::SteadyClock clock;
  const std::uint32_t first = clock.timeGetTime();
  const std::uint32_t second = clock.timeGetTime();
  EXPECT_LT(static_cast<std::uint32_t>(second - first), 1000u);
}

}  // namespace
