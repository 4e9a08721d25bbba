#include "tidewell/common/random.h"

namespace tidewell {

RandomGenerator& randomGenerator() {
  static RandomGenerator generator;
  return generator;
}

}  // namespace tidewell
