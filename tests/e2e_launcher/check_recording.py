#!/usr/bin/env python3
"""Checks a recorded sample: header fields, whole blocks, and the 1000 Hz tone."""
import struct
import sys

path = sys.argv[1]
data = open(path, "rb").read()
riff, riff_size, wave = struct.unpack_from("<4sI4s", data, 0)
fmt, fmt_size, tag, channels, rate, avg, align, bits = struct.unpack_from("<4sIHHIIHH", data, 12)
fact, fact_size, fact_value = struct.unpack_from("<4sII", data, 36)
chunk, data_size = struct.unpack_from("<4sI", data, 48)
assert (riff, wave, fmt, fact, chunk) == (b"RIFF", b"WAVE", b"fmt ", b"fact", b"data"), path
assert riff_size == len(data) - 8 and data_size == len(data) - 56, path
assert (fmt_size, tag, channels, rate, avg, align, bits) == (16, 1, 1, 8000, 8000, 1, 8), path
assert (fact_size, fact_value) == (4, 0), path
assert data_size > 0 and data_size % 1024 == 0, (path, data_size)
samples = data[56:]
crossings = sum(1 for a, b in zip(samples, samples[1:]) if a < 128 <= b)
seconds = len(samples) / 8000.0
pitch = crossings / seconds
peak = max(abs(s - 128) for s in samples)
print(f"{path}: {data_size} bytes, {seconds:.3f} s, {pitch:.1f} Hz, peak {peak}")
assert 950 <= pitch <= 1050, pitch
assert peak > 40, peak
