#pragma once
// Helpers for sound tests: test tones, a spectrum, WAV files on disk.
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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

// Writes a plain RIFF WAVE file: fmt chunk as given (extra bytes included), data as given.
inline bool writeWave(const std::string& path, const std::vector<std::uint8_t>& fmt,
                      const std::vector<std::uint8_t>& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 0xFF, f); };
  std::fwrite("RIFF", 1, 4, f);
  put32(static_cast<std::uint32_t>(4 + 8 + fmt.size() + 8 + data.size() + (data.size() & 1)));
  std::fwrite("WAVEfmt ", 1, 8, f);
  put32(static_cast<std::uint32_t>(fmt.size()));
  std::fwrite(fmt.data(), 1, fmt.size(), f);
  std::fwrite("data", 1, 4, f);
  put32(static_cast<std::uint32_t>(data.size()));
  std::fwrite(data.data(), 1, data.size(), f);
  if (data.size() & 1) std::fputc(0, f);
  return std::fclose(f) == 0;
}

// A 16-byte PCM fmt chunk body.
inline std::vector<std::uint8_t> pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  std::vector<std::uint8_t> f;
  auto put16 = [&](std::uint32_t v) { f.push_back(v & 0xFF); f.push_back((v >> 8) & 0xFF); };
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  put16(1); put16(channels); put16(rate & 0xFFFF); put16(rate >> 16);
  const std::uint32_t bytesPerSec = rate * align;
  put16(bytesPerSec & 0xFFFF); put16(bytesPerSec >> 16); put16(align); put16(bits);
  return f;
}

inline std::vector<std::uint8_t> pcm16(const std::vector<float>& values) {
  std::vector<std::uint8_t> out;
  for (float v : values) {
    const auto s = static_cast<std::int16_t>(std::lround(v * 32767.0f));
    out.push_back(static_cast<std::uint8_t>(s & 0xFF));
    out.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
  }
  return out;
}

}  // namespace sound_test
