#pragma once
// Volume and pan in hundredths of a decibel, as linear gains per channel.
#include <cmath>
#include <cstdint>

namespace platform::sound {

// -10000 hundredths (-100 dB) is taken as silence.
inline float attenuationGain(std::int32_t hundredths) {
  if (hundredths <= -10000) return 0.0f;
  return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

// Pan is a balance: the far channel loses |pan| hundredths, the near one nothing.
inline void channelGains(std::int32_t volume, std::int32_t pan, float* left, float* right) {
  *left = attenuationGain(volume + (pan > 0 ? -pan : 0));
  *right = attenuationGain(volume + (pan < 0 ? pan : 0));
}

}  // namespace platform::sound
