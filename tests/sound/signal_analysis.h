#pragma once
// Helpers for sound tests: test tones, a spectrum, WAV files on disk.
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/wav_image.h"

namespace sound_test {

inline std::vector<float> sine(double frequency, double rate, std::size_t frames, double amplitude) {
  std::vector<float> out(frames);
  for (std::size_t i = 0; i < frames; ++i)
    out[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / rate));
  return out;
}

// Magnitude spectrum of n (a power of two) values under a Blackman-Harris window.
inline std::vector<double> spectrum(const float* values, std::size_t n, std::size_t stride) {
  std::vector<std::complex<double>> a(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double x = 2.0 * M_PI * static_cast<double>(i) / static_cast<double>(n);
    const double w = 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
    a[i] = values[i * stride] * w;
  }
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> root = std::polar(1.0, -2.0 * M_PI / static_cast<double>(len));
    for (std::size_t i = 0; i < n; i += len) {
      std::complex<double> w(1.0);
      for (std::size_t k = 0; k < len / 2; ++k) {
        const auto u = a[i + k], v = a[i + k + len / 2] * w;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
        w *= root;
      }
    }
  }
  std::vector<double> mag(n / 2);
  for (std::size_t i = 0; i < n / 2; ++i) mag[i] = std::abs(a[i]);
  return mag;
}

struct Peak {
  double frequency = 0;
  double strongestOtherDb = 0;  // the largest component away from the peak, relative to it
};

inline Peak analyse(const float* values, std::size_t n, std::size_t stride, double rate) {
  const auto mag = spectrum(values, n, stride);
  std::size_t peak = 1;
  for (std::size_t i = 1; i < mag.size(); ++i)
    if (mag[i] > mag[peak]) peak = i;
  double other = 1e-30;
  for (std::size_t i = 1; i < mag.size(); ++i)
    if ((i + 6 < peak || i > peak + 6)) other = std::max(other, mag[i]);
  Peak result;
  result.frequency = static_cast<double>(peak) * rate / static_cast<double>(n);
  result.strongestOtherDb = 20.0 * std::log10(other / mag[peak]);
  return result;
}

inline double peakAbs(const float* values, std::size_t n, std::size_t stride) {
  double m = 0;
  for (std::size_t i = 0; i < n; ++i) m = std::max(m, std::fabs(static_cast<double>(values[i * stride])));
  return m;
}

inline double rms(const float* values, std::size_t n, std::size_t stride) {
  double s = 0;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<double>(values[i * stride]) * values[i * stride];
  return std::sqrt(s / static_cast<double>(n));
}

// A plain RIFF WAVE file on disk: fmt chunk body as given, data as given.
inline bool writeWave(const std::string& path, const std::vector<std::uint8_t>& fmt,
                      const std::vector<std::uint8_t>& data) {
  return testing_support::writeFile(path, testing_support::waveFile(fmt, data));
}

// A 16-byte PCM fmt chunk body.
inline std::vector<std::uint8_t> pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  return testing_support::formatBlock(1, channels, rate, bits);
}

// Samples as 8-bit unsigned, 16-, 24- or 32-bit signed integers or 32-bit floats.
inline std::vector<std::uint8_t> encode(const std::vector<float>& values, std::uint16_t bits, bool isFloat) {
  std::vector<std::uint8_t> out;
  for (float v : values) {
    if (isFloat) {
      std::uint8_t b[4];
      std::memcpy(b, &v, 4);
      out.insert(out.end(), b, b + 4);
    } else if (bits == 8) {
      out.push_back(static_cast<std::uint8_t>(std::lround(v * 127.0f) + 128));
    } else {
      const double full = std::ldexp(1.0, bits - 1) - 1.0;
      const auto s = static_cast<std::int32_t>(std::lround(v * full));
      for (int i = 0; i < bits / 8; ++i) out.push_back(static_cast<std::uint8_t>((s >> (8 * i)) & 0xFF));
    }
  }
  return out;
}

}  // namespace sound_test
