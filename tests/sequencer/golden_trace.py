#!/usr/bin/env python3
"""Works out the hits of each stored golden run on its own, from the
generator (state x 214013 + 2531011, bits 16-30, state 1 at start) and the
order in which the tracks and behaviours draw, and checks them against the
record: beat count, beat of the bar, track, sample, volume, pan, frequency.
A record written anew that changes any decision fails here.

  golden_trace.py GOLDEN_DIR [HITS]     all the hits of each record unless HITS
"""
import itertools
import struct
import sys

TRACKS = 20
FLOOR = -2500


class Rand:
    def __init__(self):
        self.state = 1

    def __call__(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


class Track:
    def __init__(self, rand):
        self.name = "C.wav"
        self.rhythm = self.roll_rhythm(rand)
        self.pan, self.frequency = 0, 50000
        self.volume = -(rand() % 4000)
        self.fade = rand() % 25 + 25

    @staticmethod
    def roll_rhythm(rand):
        rhythm = []
        for _ in range(4):
            rhythm.append(rand() % 7 + 1 if rand() % 100 > 30 else 0)
        return rhythm

    def renew(self, rand):
        self.frequency = 50000
        self.fade = rand() % 50 + 5
        self.rhythm = self.roll_rhythm(rand)


def clamp(value, low, high):
    return max(low, min(high, value))


def run(case, hits_wanted):
    """The first hits of a run, as (beats, beat of the bar, track, sample,
    volume, pan, frequency) strings."""
    rand = Rand()
    tracks = [Track(rand) for _ in range(TRACKS)]
    active = case["tracks"]
    # One listing of the folder, sorted by name, dealt out round and round.
    listing = itertools.cycle(sorted(["kick.wav", "hat.wav", "tone.wav", "pad.wav", "click.wav"]))
    for t in tracks[:active]:
        t.name = "demo1/" + next(listing)
    behaviour = case["behaviour"]
    for t in tracks[:active]:
        if behaviour == 2:
            t.pan, t.frequency = 0, 10000
        elif behaviour == 3:
            t.pan, t.frequency = rand() % 20000 - 10000, 20000
    bar, beat_of_bar = case["beats_per_bar"], 1
    interval = f32(1000.0 / f32(case["tempo"] / 60.0))
    elapsed, now, beats, frame = 0.0, 0, 0, 0
    hits = []
    while len(hits) < hits_wanted:
        step = case["frame_ms"][frame % len(case["frame_ms"])]
        frame += 1
        now += step
        elapsed += step
        if elapsed > interval:
            # The time beyond the interval carries into the next beat.
            elapsed = elapsed - interval if elapsed - interval < interval else 0.0
            beats += 1
            beat_of_bar = beat_of_bar + 1 if beat_of_bar + 1 <= bar else 1
            for i, t in enumerate(tracks[:active]):
                fires = beat_of_bar in t.rhythm
                if behaviour == 1 and fires:
                    t.pan = rand() % 20000 - 10000
                    t.frequency = rand() % 99000 + 1000
                elif behaviour == 2:
                    if rand() % 100 > 50:
                        t.frequency = clamp(t.frequency + rand() % 2000 - 1000, 100, 100000)
                    else:
                        t.pan = clamp(t.pan + rand() % 1000 - 500, -10000, 10000)
                elif behaviour == 3 and fires and rand() % 100 > 90:
                    scaled = f32(t.frequency) * f32(1.5) if rand() % 100 > 50 else f32(f32(t.frequency) / f32(1.5))
                    t.frequency = clamp(abs(int(f32(scaled))), 100, 100000)
                if fires and behaviour in (1, 2, 3):
                    hits.append("%d %d %d %s %d %d %d" % (beats, beat_of_bar, i, t.name, t.volume, t.pan, t.frequency))
            for t in tracks[:active]:
                t.volume = max(FLOOR, t.volume - t.fade)  # the falling arc
                if t.volume == FLOOR:
                    t.name = "demo1/" + next(listing)
                    t.volume = 0
                    t.renew(rand)
        if rand() % 1000 < case["behaviour_mutation"]:
            behaviour = rand() % 3 + 1
        if rand() % 1000 < case["bar_mutation"]:
            bar = rand() % 8 + 1
    return hits[:hits_wanted]


CASES = {
    "default_settings_run.txt": dict(behaviour=1, behaviour_mutation=0, beats_per_bar=4, bar_mutation=0,
                                     tracks=3, tempo=600.0, frame_ms=[16]),
    "sliding_mutating_run.txt": dict(behaviour=2, behaviour_mutation=15, beats_per_bar=7, bar_mutation=15,
                                     tracks=8, tempo=700.0, frame_ms=[17, 16, 17]),
    "tonal_mutating_run.txt": dict(behaviour=3, behaviour_mutation=50, beats_per_bar=8, bar_mutation=50,
                                   tracks=5, tempo=1000.0, frame_ms=[17, 16, 17]),
}


def main():
    folder = sys.argv[1]
    wanted = int(sys.argv[2]) if len(sys.argv) > 2 else None
    failed = False
    for name, case in CASES.items():
        stored = [" ".join(line.split()[:7]) for line in open("%s/%s" % (folder, name))][:wanted]
        if not stored:
            print("%s: no hits recorded" % name)
            failed = True
        worked_out = run(case, len(stored))
        for n, (want, got) in enumerate(zip(worked_out, stored), 1):
            if want != got:
                print("%s line %d: the record has '%s', worked out '%s'" % (name, n, got, want))
                failed = True
                break
        else:
            print("%s: the first %d hits agree" % (name, len(stored)))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
