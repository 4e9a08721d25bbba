"""check_midi_onsets.py OUT.wav OUT.mid

Every onset in the WAV (the first frame louder than -80 dBFS after 20 ms of
quiet) has a note-on within 1 ms in the MIDI file, at least 95 % of the
distinct note-on times have an onset within 1 ms, and every note is on
channels 1 to 8 with its note-off after it.
"""
import struct
import sys

import mido

RATE = 48000
TOLERANCE_S = 0.001


def fail(reason):
    print("FAIL:", reason)
    sys.exit(1)


def read_float_wave(path):
    data = open(path, "rb").read()
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        fail(f"{path} is not a WAV file")
    pos = 12
    channels = 2
    while pos + 8 <= len(data):
        ident, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if ident == b"fmt ":
            channels = struct.unpack_from("<H", body, 2)[0]
        if ident == b"data":
            count = len(body) // 4
            return struct.unpack(f"<{count}f", body[:count * 4]), channels
        pos += 8 + size + (size & 1)
    fail(f"{path} has no data")


def onsets(path):
    samples, channels = read_float_wave(path)
    quiet_needed = int(0.020 * RATE)
    quiet = quiet_needed
    found = []
    for frame in range(len(samples) // channels):
        loud = any(abs(samples[frame * channels + c]) > 1e-4 for c in range(channels))
        if loud and quiet >= quiet_needed:
            found.append(frame / RATE)
        quiet = 0 if loud else quiet + 1
    return found


def notes(path):
    midi = mido.MidiFile(path)
    if midi.type != 1:
        fail(f"the MIDI file is of format {midi.type}, not 1")
    ons, sounding, now = [], {}, 0.0
    for message in midi:  # merged tracks, times in seconds
        now += message.time
        if message.type not in ("note_on", "note_off"):
            continue
        if not 0 <= message.channel <= 7:
            fail(f"a note on channel {message.channel + 1}")
        key = (message.channel, message.note)
        if message.type == "note_on" and message.velocity > 0:
            if sounding.get(key):
                fail(f"a second note-on of {key} at {now:.4f} s before its note-off")
            sounding[key] = True
            ons.append(now)
        else:
            if not sounding.get(key):
                fail(f"a note-off of {key} at {now:.4f} s with no note sounding")
            sounding[key] = False
    if any(sounding.values()):
        fail("notes left sounding at the end of the file")
    return sorted(set(round(t, 6) for t in ons))


def nearest(times, t):
    return min((abs(x - t) for x in times), default=float("inf"))


def main():
    wav_onsets = onsets(sys.argv[1])
    note_times = notes(sys.argv[2])
    if len(wav_onsets) < 20:
        fail(f"only {len(wav_onsets)} onsets in the sound")
    missing = [t for t in wav_onsets if nearest(note_times, t) > TOLERANCE_S]
    if missing:
        fail(f"{len(missing)} of {len(wav_onsets)} onsets have no note-on within 1 ms, first at {missing[0]:.4f} s")
    share = sum(1 for t in note_times if nearest(wav_onsets, t) <= TOLERANCE_S) / len(note_times)
    if share < 0.95:
        fail(f"only {share:.1%} of the {len(note_times)} note-on times have an onset")


main()
