#include "platform/fake/fake_clock.h"

namespace platform::fake {

std::uint32_t FakeClock::timeGetTime() {
  ++reads_;
  return now_;
}

}  // namespace platform::fake
