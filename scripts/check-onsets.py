#!/usr/bin/env python3
"""Checks a recording of the built-in synth against a song: every drum note should start a sound
at its own time.

    scripts/check-onsets.py RECORDING.raw SONG.mid [--rate 48000] [--smfdump build/bin/smfdump]

RECORDING.raw is what SDL's disk audio driver wrote (signed 16-bit stereo at --rate). The onsets
are found in the high-passed signal (a first difference: drum attacks stand out of held notes),
each to the sample where it first rises above the noise before it. The song's drum notes (channel
10 note-ons, those within 25 ms of each other counted as one stroke) are matched to the nearest
onset after fitting one straight line from song time to recording time (the disk driver keeps its
own pace, so the scale is fitted too). Prints the strokes, the matched ones and the worst and 99th
percentile distance, in milliseconds.
"""
import argparse
import array
import bisect
import subprocess
import sys


def drum_times(song, smfdump):
    """Seconds of every channel-10 note-on from the start of the song, through smfdump."""
    lines = subprocess.run([smfdump, song], check=True, capture_output=True, text=True).stdout.splitlines()
    division = 480
    tempos = []
    ticks = []
    for line in lines:
        parts = line.split()
        if parts[0] == "division":
            division = int(parts[1])
        elif parts[0] == "tempo":
            tempos.append((int(parts[1]), float(parts[2])))
        elif len(parts) >= 5 and parts[2].upper() == "99" and int(parts[4], 16) > 0:
            ticks.append(int(parts[1]))
    tempos = sorted(tempos) or [(0, 120.0)]
    if tempos[0][0] > 0:
        tempos.insert(0, (0, 120.0))

    def seconds(tick):
        total, at, bpm = 0.0, 0, tempos[0][1]
        for start, value in tempos[1:]:
            if start >= tick:
                break
            total += (start - at) * 60.0 / (bpm * division)
            at, bpm = start, value
        return total + (tick - at) * 60.0 / (bpm * division)

    return sorted(seconds(t) for t in ticks)


def strokes(times, merge=0.025):
    out = []
    for t in times:
        if not out or t - out[-1] > merge:
            out.append(t)
    return out


def onsets(path, rate):
    data = array.array("h")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    if sys.byteorder != "little":
        data.byteswap()
    mono = [data[i] + data[i + 1] for i in range(0, len(data) - 1, 2)]
    diff = [abs(mono[i] - mono[i - 1]) for i in range(1, len(mono))]
    hop = rate // 1000
    energy = [sum(diff[i:i + hop]) / hop for i in range(0, len(diff) - hop, hop)]
    found = []
    history = 20
    for k in range(history, len(energy)):
        before = sum(energy[k - history:k]) / history
        if energy[k] > 2.5 * before + 30.0 and energy[k] > energy[k - 1] * 1.5:
            if found and k * hop - found[-1] < 0.030 * rate:
                continue
            # The first sample of this hop or the one before that rises clearly above the noise.
            level = 3.0 * before + 20.0
            start = max((k - 1) * hop, 0)
            sample = next((i for i in range(start, (k + 1) * hop) if diff[i] > level), k * hop)
            found.append(sample)
    return [sample / rate for sample in found]


def nearest(sorted_values, value):
    i = bisect.bisect_left(sorted_values, value)
    candidates = [sorted_values[j] for j in (i - 1, i) if 0 <= j < len(sorted_values)]
    return min(candidates, key=lambda c: abs(c - value)) if candidates else None


def fit(expected, found, window, start=None, tolerance=1.0):
    # Scale and offset first, coarsely: the pair that lines up the most of the first strokes with
    # an onset in the same millisecond bin (SDL's disk driver may run well off real time).
    head = expected[:40]
    best = (0, 0.0, 1.0)
    for step in range(500, 1601, 2):
        scale = step / 1000.0
        votes = {}
        for t in head:
            for f in found:
                d = round((f - scale * t) * 1000)
                if start is None or abs(d / 1000.0 - start) <= tolerance:
                    votes[d] = votes.get(d, 0) + 1
        if not votes:
            continue
        d, count = max(votes.items(), key=lambda item: item[1])
        if count > best[0]:
            best = (count, d / 1000.0, scale)
    _, offset, scale = best
    for _ in range(5):
        pairs = []
        for t in expected:
            f = nearest(found, offset + scale * t)
            if f is not None and abs(f - (offset + scale * t)) < window:
                pairs.append((t, f))
        if len(pairs) < 2:
            break
        n = len(pairs)
        mt = sum(p[0] for p in pairs) / n
        mf = sum(p[1] for p in pairs) / n
        var = sum((p[0] - mt) ** 2 for p in pairs)
        scale = sum((p[0] - mt) * (p[1] - mf) for p in pairs) / var if var > 0 else 1.0
        offset = mf - scale * mt
    return offset, scale


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("recording")
    parser.add_argument("song")
    parser.add_argument("--rate", type=int, default=48000)
    parser.add_argument("--smfdump", default="build/bin/smfdump")
    parser.add_argument("--window-ms", type=float, default=15.0)
    parser.add_argument("--local-s", type=float, default=4.0)
    parser.add_argument("--match-ms", type=float, default=15.0)
    # Music repeats itself: without a rough start a fit may line up whole bars off.
    parser.add_argument("--start-s", type=float, help="about where the song's tick 0 is in the recording")
    parser.add_argument("--start-tolerance", type=float, default=1.0)
    args = parser.parse_args()

    expected = strokes(drum_times(args.song, args.smfdump))
    found = onsets(args.recording, args.rate)
    window = args.window_ms / 1000.0
    offset, scale = fit(expected, found, window, args.start_s, args.start_tolerance)
    # Only the strokes the recording covers (a demonstration plays part of a song).
    end = len(found) and found[-1]
    expected = [t for t in expected if offset + scale * t <= end + window]
    pairs = []
    for t in expected:
        f = nearest(found, offset + scale * t)
        if f is not None and abs(f - (offset + scale * t)) < window:
            pairs.append((t, f))
    # The disk driver's pace drifts slowly with its sleeps: each stroke is measured against the
    # line through the other matched strokes within a few seconds of it.
    distances = []
    matched = set()
    for t, f in pairs:
        near = [p for p in pairs if p[0] != t and abs(p[0] - t) <= args.local_s]
        if len(near) < 4:
            continue
        n = len(near)
        mt = sum(p[0] for p in near) / n
        mf = sum(p[1] for p in near) / n
        var = sum((p[0] - mt) ** 2 for p in near)
        b = sum((p[0] - mt) * (p[1] - mf) for p in near) / var if var > 0 else scale
        distance = (f - (mf + b * (t - mt))) * 1000.0
        # An onset an eighth away is another instrument's, not this stroke's.
        if abs(distance) < args.match_ms:
            distances.append(distance)
            matched.add(t)
    missing = [t for t in expected if t not in matched]
    print(f"drum_strokes_recorded: {len(expected)}")
    print(f"onsets_found: {len(found)}")
    print(f"strokes_matched: {len(matched)}")
    print(f"recording_scale: {scale:.6f}")
    print(f"song_start_s: {offset:.4f}")
    if distances:
        distances.sort(key=abs)
        p99 = abs(distances[min(len(distances) - 1, int(0.99 * (len(distances) - 1)))])
        print(f"onset_error_ms_p99: {p99:.2f}")
        print(f"onset_error_ms_max: {abs(distances[-1]):.2f}")
    for t in missing[:10]:
        f = nearest(found, offset + scale * t)
        gap = "none" if f is None else f"{(f - offset - scale * t) * 1000:.0f} ms"
        print(f"unmatched_stroke_s: {t:.3f} (nearest onset {gap})")
    return 0 if not missing else 1


if __name__ == "__main__":
    sys.exit(main())
