#!/usr/bin/env python3
"""check_recording.py [--take] FILE...: recorded samples of the first format
(8000 Hz, 8-bit mono): header fields, and RIFF and data sizes that match the
length; without --take also whole blocks and the 1000 Hz tone."""
import struct
import sys

take = sys.argv[1] == "--take"
for path in sys.argv[2 if take else 1:]:
    data = open(path, "rb").read()
    riff, riff_size, wave = struct.unpack_from("<4sI4s", data, 0)
    fmt, fmt_size, tag, channels, rate, avg, align, bits = struct.unpack_from("<4sIHHIIHH", data, 12)
    fact, fact_size, fact_value = struct.unpack_from("<4sII", data, 36)
    chunk, data_size = struct.unpack_from("<4sI", data, 48)
    assert (riff, wave, fmt, fact, chunk) == (b"RIFF", b"WAVE", b"fmt ", b"fact", b"data"), path
    assert riff_size == len(data) - 8 and data_size == len(data) - 56 and data_size > 0, (path, riff_size, data_size)
    assert (fmt_size, tag, channels, rate, avg, align, bits) == (16, 1, 1, 8000, 8000, 1, 8), path
    assert (fact_size, fact_value) == (4, 0), path
    if take:
        continue
    assert data_size % 1024 == 0, (path, data_size)
    samples = data[56:]
    crossings = sum(1 for a, b in zip(samples, samples[1:]) if a < 128 <= b)
    pitch = crossings / (len(samples) / 8000.0)
    peak = max(abs(s - 128) for s in samples)
    assert 950 <= pitch <= 1050 and peak > 40, (path, pitch, peak)
