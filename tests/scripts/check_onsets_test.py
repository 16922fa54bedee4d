#!/usr/bin/env python3
"""scripts/check-onsets.py on a made-up recording whose every onset is known: the disk driver's
wandering pace and a held-up write, a sound that starts softly before its hit, a stroke that
sounded late and one that never sounded, and one lane's strokes seconds apart."""
import importlib.util
import math
import os
import random
import struct
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "scripts", "check-onsets.py")
spec = importlib.util.spec_from_file_location("check_onsets", SCRIPT)
check_onsets = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check_onsets)

RATE = 48000
KICK, SNARE, HAT, TAMBOURINE = 36, 38, 42, 54


def song():
    """(seconds, note): 12 bars at 120 bpm of eighth hi-hats, kick and snare on the beats, and a
    tambourine a sixteenth after every other off-beat."""
    notes = []
    for eighth in range(12 * 8):
        t = 1.0 + eighth * 0.25
        notes.append((t, HAT))
        if eighth % 2 == 0:
            notes.append((t, KICK if eighth % 4 == 0 else SNARE))
        elif eighth % 4 == 3:
            notes.append((t + 0.125, TAMBOURINE))
    return sorted(notes)


def file_time(t):
    """Where the recording holds song time t: a slower pace that wanders, and 12 ms lost when the
    driver's thread was held up after 13 s."""
    return 0.7 + 0.975 * t + 0.004 * math.sin(2 * math.pi * t / 7.0) - (0.012 if t > 13.0 else 0.0)


def add_sound(samples, start, note, noise):
    def burst(at, amplitude, decay_s, length_s, tone_hz=0.0):
        for k in range(int(length_s * RATE)):
            i = at + k
            if i >= len(samples):
                break
            level = amplitude * math.exp(-k / (decay_s * RATE))
            wave = math.sin(2 * math.pi * tone_hz * k / RATE) if tone_hz else noise.uniform(-1.0, 1.0)
            samples[i] += level * wave

    if note == KICK:
        burst(start, 9000, 0.06, 0.25, 60.0)
        burst(start, 2500, 0.004, 0.02)
    elif note == SNARE:
        burst(start, 5000, 0.05, 0.2)
    elif note == HAT:
        burst(start, 2500, 0.1, 0.2)
    else:
        # Jingles first, the hit 10 ms later.
        burst(start, 250, 1.0, 0.010)
        burst(start + RATE // 100, 4000, 0.04, 0.15)


class CheckOnsets(unittest.TestCase):
    def test_finds_every_stroke_at_its_time_despite_the_drivers_pace(self):
        notes = song()
        noise = random.Random(7)
        samples = [0.0] * int((file_time(notes[-1][0]) + 1.0) * RATE)
        for t, note in notes:
            # Everything of one stroke 11 ms late.
            start = int(round((file_time(t) + (0.011 if t == 10.5 else 0.0)) * RATE))
            add_sound(samples, start, note, noise)
        for i in range(len(samples)):
            samples[i] += noise.uniform(-3.0, 3.0)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "rec.raw")
            with open(path, "wb") as f:
                # The same signal on both channels, as the synth's drums mostly are.
                f.write(b"".join(struct.pack("<hh", int(v), int(v)) for v in samples))
            result = check_onsets.check(notes, path, RATE, 0.015, 2.0, 0.6, 4.0)

        # Not a beat off (the song repeats itself).
        self.assertAlmostEqual(result.offset, file_time(0.0), delta=0.01)
        stroke_at = {round(t, 3): i for i, t in enumerate(result.times)}
        self.assertEqual(len(result.times), 12 * 8 + 24)
        self.assertEqual(result.missing, [])
        # The late one stands out of the others, which the model of the driver's pace leaves a
        # few milliseconds off at most.
        self.assertAlmostEqual(result.measured[stroke_at[10.5]] * 1000.0, 11.0, delta=2.5)
        others = [abs(d) * 1000.0 for i, d in result.measured.items() if i != stroke_at[10.5]]
        self.assertLess(max(others), 5.0)
        # Under the hi-hat's ring only the tambourine's hit stands out: its strokes are measured
        # from there, and the check says so.
        self.assertAlmostEqual(result.typical[(TAMBOURINE,)] * 1000.0, 10.0, delta=2.5)

    def test_a_stroke_without_a_sound_is_unmatched(self):
        notes = [(1.0 + 0.5 * k, SNARE) for k in range(24)]
        noise = random.Random(3)
        samples = [0.0] * int((file_time(notes[-1][0]) + 1.0) * RATE)
        for n, (t, note) in enumerate(notes):
            if n != 9:
                add_sound(samples, int(round(file_time(t) * RATE)), note, noise)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "rec.raw")
            with open(path, "wb") as f:
                f.write(b"".join(struct.pack("<hh", int(v), int(v)) for v in samples))
            result = check_onsets.check(notes, path, RATE, 0.015, 2.0, 0.6, 4.0)
        self.assertEqual(result.missing, [9])
        self.assertEqual(len(result.measured), 23)

    def test_one_lanes_strokes_seconds_apart_are_each_measured(self):
        """A recording with one part: its strokes lie up to 9 s apart, among tambourine notes
        (which always sound) that end in a 6 s rest; the figures are the lane's strokes only."""
        snares = [2.0, 5.5, 9.0, 11.0, 14.5, 23.5, 26.0, 29.0, 31.5, 36.0, 41.0, 44.5, 46.0]
        tambourines = [1.0 + 0.5 * k for k in range(34)]
        notes = sorted([(t, SNARE) for t in snares] + [(t, TAMBOURINE) for t in tambourines])
        silent = 31.5
        noise = random.Random(5)
        samples = [0.0] * int((file_time(notes[-1][0]) + 1.0) * RATE)
        for t, note in notes:
            if t != silent or note != SNARE:
                add_sound(samples, int(round(file_time(t) * RATE)), note, noise)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "rec.raw")
            with open(path, "wb") as f:
                f.write(b"".join(struct.pack("<hh", int(v), int(v)) for v in samples))
            result = check_onsets.check(notes, path, RATE, 0.015, 2.0, 0.6, 4.0, counted={SNARE})

        self.assertEqual(result.counted, len(snares))
        # Those before the rest fall on a tambourine's beat.
        self.assertEqual(result.shared, 5)
        self.assertEqual([result.times[i] for i in result.missing], [silent])
        self.assertEqual(sorted(round(result.times[i], 3) for i in result.measured), [t for t in snares if t != silent])
        # Measured from neighbours seconds away, the pace's wander (4 ms either way) shows.
        self.assertLess(max(abs(d) for d in result.measured.values()) * 1000.0, 7.0)


if __name__ == "__main__":
    unittest.main()
