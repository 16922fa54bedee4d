#!/usr/bin/env python3
"""Checks a recording of the built-in synth against a song: every drum note should start a sound
at its own time.

    scripts/check-onsets.py RECORDING.raw SONG.mid [--after-s S | --start-s S] [--smfdump PATH] [--lane L]

RECORDING.raw is what SDL's disk audio driver wrote (signed 16-bit stereo at --rate); --after-s
is where the game said the song started (scripts/record-onsets.sh passes it). The onsets are found
in the high-passed signal, each to the sample where it first rises above what rang before it. The
song's drum strokes (channel 10 note-ons; those closer than the detector can split count as one)
are lined up with them: the disk driver's pace is the recording's clock and it wanders (a period
takes its sleep plus the rendering, which grows with the voices, and a held-up write shifts
everything after it), so each stroke is looked for where the strokes just before it put it, and
measured from its neighbours before and, separately, after it, the nearer counting. A drum sample
may start softly (a tambourine's jingles come about 10 ms before its hit) and in a busy bar only
its loud part stands out: each kind of stroke (the same set of notes) is measured from its own
typical onset, printed when more than a millisecond off. A stroke without an onset gets a second
look: does the level rise where its neighbours put it more than at 99 % of the moments between
strokes? Prints the strokes, the matched ones, the 99th percentile and the worst distance in
milliseconds; exits 1 when a stroke found no onset. With --lane (hh, sd, bd, ht, mt, lt or cy) only
that lane's notes count: a recording where only that part sounded, so that no louder drum hides it.
The drum notes outside the lanes (a tambourine, a clap) sound in every play; they are lined up too,
and the lane's strokes that fall together with one of them are counted as "shared".
"""
import argparse
import array
import bisect
import statistics
import subprocess
import sys

# The detector's shortest gap between two onsets; strokes closer than that are one.
MIN_GAP_S = 0.030

# The game's lanes and the notes of each in its standard map (hi-hat, snare, bass drum, high,
# mid and low tom, cymbal).
LANE_NOTES = {
    "hh": (42, 44, 46),
    "sd": (38, 40),
    "bd": (35, 36),
    "ht": (48, 50),
    "mt": (45, 47),
    "lt": (41, 43),
    "cy": (49, 55, 57),
}
# The part screen hands the three toms over together: in a recording of one the others sound too.
TOMS = ("ht", "mt", "lt")


def drum_notes(song, smfdump):
    """(seconds, note) of every channel-10 note-on from the start of the song, through smfdump
    (its tempo map is in whole beats per minute, as the sequencer plays it)."""
    lines = subprocess.run([smfdump, song], check=True, capture_output=True, text=True).stdout.splitlines()
    division = 480
    tempos = []
    events = []
    for line in lines:
        parts = line.split()
        if parts[0] == "division":
            division = int(parts[1])
        elif parts[0] == "tempo":
            tempos.append((int(parts[1]), float(parts[2])))
        elif len(parts) >= 5 and parts[2].upper() == "99" and int(parts[4]) > 0:
            events.append((int(parts[1]), int(parts[3])))
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

    return sorted((seconds(tick), note) for tick, note in events)


def strokes(notes, merge=MIN_GAP_S):
    """[time, kind]: kind is the sorted notes of the stroke."""
    out = []
    for t, note in notes:
        if out and t - out[-1][0] <= merge:
            out[-1][1] = tuple(sorted(set(out[-1][1]) | {note}))
        else:
            out.append([t, (note,)])
    return out


def onsets_in(diff, rate):
    """Sample numbers of the onsets in one high-passed signal, and its level of every millisecond."""
    hop = rate // 1000
    energy = [sum(diff[i : i + hop]) / hop for i in range(0, len(diff) - hop, hop)]
    found = []
    history = 20
    running = sum(energy[:history])
    for k in range(history, len(energy)):
        before = running / history
        running += energy[k] - energy[k - history]
        if energy[k] > 2.5 * before + 30.0 and energy[k] > energy[k - 1] * 1.5:
            if found and k * hop - found[-1] < MIN_GAP_S * rate:
                continue
            # A sound may start softly before its loud part (a tambourine's jingles, a hi-hat a
            # louder drum covers): its start is where the rise began, up to 12 ms before, as long
            # as every hop since stood clearly above what rang before it.
            base = sum(energy[max(k - 40, 0) : max(k - 15, 1)]) / max(min(25, k - 15), 1)
            first = k
            while first > k - 12 and energy[first - 1] > 1.5 * base + 10.0:
                first -= 1
            if found and first * hop - found[-1] < MIN_GAP_S * rate:
                first = k
            # The first sample of that hop or the one before that rises clearly above the noise.
            level = 3.0 * (base if first < k else before) + 20.0
            start = max((first - 1) * hop, 0)
            found.append(next((i for i in range(start, (first + 1) * hop) if diff[i] > level), first * hop))
    return found, energy


def onsets(path, rate):
    """The onsets in seconds, and the high-passed level of every millisecond. Two high passes: a
    difference over 8 samples keeps enough of a bass drum's thump, one over a single sample finds
    a hi-hat's soft start under the tail of a bass drum; the earlier of two close onsets counts."""
    data = array.array("h")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    if sys.byteorder != "little":
        data.byteswap()
    mono = [a + b for a, b in zip(data[0::2], data[1::2])]
    broad, energy = onsets_in([abs(b - a) for a, b in zip(mono, mono[8:])], rate)
    high, _ = onsets_in([abs(b - a) for a, b in zip(mono, mono[1:])], rate)
    found = []
    for sample in sorted(broad + high):
        if found and sample - found[-1] < MIN_GAP_S * rate:
            continue
        found.append(sample)
    return [sample / rate for sample in found], energy


def rise(energy, at_s, early_ms=10, late_ms=15):
    """How far the level rises around at_s: the largest ratio of a 5 ms stretch to the 13 ms
    ending 2 ms before it, for stretches starting from early_ms before at_s to late_ms after."""
    centre = int(at_s * 1000)
    best = 0.0
    for j in range(max(centre - early_ms, 15), min(centre + late_ms, len(energy) - 5)):
        after = sum(energy[j : j + 5]) / 5
        before = sum(energy[j - 15 : j - 2]) / 13
        best = max(best, after / (before + 1.0))
    return best


def nearest(sorted_values, value):
    i = bisect.bisect_left(sorted_values, value)
    candidates = [sorted_values[j] for j in (i - 1, i) if 0 <= j < len(sorted_values)]
    return min(candidates, key=lambda c: abs(c - value)) if candidates else None


def count_matched(times, found, offset, scale, window):
    count = 0
    for t in times:
        f = nearest(found, offset + scale * t)
        if f is not None and abs(f - (offset + scale * t)) < window:
            count += 1
    return count


def fit(times, found, window, low, high):
    """Offset and scale of the recording for the first strokes: every line through an onset for
    one of the first strokes and one for a later stroke (SDL's disk driver may run well off real
    time), scored by how many of the first strokes it lines up with an onset, less the onsets
    between the start and the last of them that it leaves without a stroke. A song repeats itself
    bar after bar: a start a beat late lines up as many strokes (more, when a soft one of the first
    raised no onset of its own) but leaves the first sounds unexplained; of equal scores the
    earliest start wins."""
    # A few seconds only: over longer the driver's pace wanders by more than the window.
    head = times[: max(8, sum(1 for t in times if t <= times[0] + 6.0))]
    near = window
    best = (-len(found), 0.0, 1.0)
    laters = head[len(head) // 2 :: max(1, len(head) // 6)]
    for ti in head[:3]:
        for tj in laters:
            if tj - ti < 1.0:
                continue
            for fa in [f for f in found if low + 0.5 * ti <= f <= high + 1.6 * ti]:
                lo = bisect.bisect_left(found, fa + 0.5 * (tj - ti))
                hi = bisect.bisect_right(found, fa + 1.6 * (tj - ti))
                for fb in found[lo:hi]:
                    scale = (fb - fa) / (tj - ti)
                    offset = fa - scale * ti
                    if not low <= offset <= high:
                        continue
                    mapped = [offset + scale * t for t in head]
                    count = count_matched(head, found, offset, scale, near)
                    first = bisect.bisect_left(found, max(low, found[0]))
                    last = bisect.bisect_right(found, mapped[-1] + near)
                    unexplained = sum(1 for f in found[first:last] if abs(nearest(mapped, f) - f) >= near)
                    score = count - unexplained
                    if score > best[0] or (score == best[0] and offset < best[1] - near):
                        best = (score, offset, scale)
    return best[1], best[2]


def line_at(pairs, t, fallback_scale):
    """Where the least-squares line through (song time, recording time) pairs puts song time t."""
    n = len(pairs)
    mt = sum(p[0] for p in pairs) / n
    mf = sum(p[1] for p in pairs) / n
    var = sum((p[0] - mt) ** 2 for p in pairs)
    b = sum((p[0] - mt) * (p[1] - mf) for p in pairs) / var if var > 0 else fallback_scale
    return mf + b * (t - mt)


def around(pairs, t, local_s, least=4):
    """The (song time, recording time) pairs within local_s of song time t or, where there are
    fewer than least of them (one lane's notes may lie many seconds apart), the least nearest."""
    near = [p for p in pairs if abs(p[0] - t) <= local_s]
    return near if len(near) >= least else sorted(pairs, key=lambda p: abs(p[0] - t))[:least]


def track(times, shifts, found, offset, scale, window, local_s):
    """{stroke index: onset}, stroke by stroke, each looked for where the line through the strokes
    matched in the seconds before it puts it (shifted by its kind's own onset), moved to where the
    last three lie from that line: under load the driver's pace may change by a few percent within
    a bar, and a line through two seconds would trail behind by more than the window. After
    local_s or three strokes without a match (a rest, or the track lost) the place is found again from the strokes
    of the next local_s: the shift, up to 3 % of the time since the last match, that lines up the
    most of them."""
    matched = {}
    pairs = []
    missed = 0
    for i, t in enumerate(times):
        if pairs and (t - pairs[-1][0] > local_s or missed >= 3):
            slope = line_at(around(pairs, pairs[-1][0], local_s), pairs[-1][0] + 1.0, scale) - line_at(
                around(pairs, pairs[-1][0], local_s), pairs[-1][0], scale)
            base = pairs[-1][1] + slope * (t - pairs[-1][0])
            reach = window + 0.03 * (t - pairs[-1][0])
            ahead = [(j, base + slope * (times[j] - t) + shifts[j]) for j in range(i, len(times))
                     if times[j] - t <= local_s]
            lo, hi = bisect.bisect_left(found, base + shifts[i] - reach), bisect.bisect_right(found, base + shifts[i] + reach)
            best = (0, 0.0)
            for f in found[lo:hi]:
                d = f - base - shifts[i]
                count = sum(1 for _, at in ahead if abs(nearest(found, at + d) - at - d) < window)
                if count > best[0] or (count == best[0] and abs(d) < abs(best[1])):
                    best = (count, d)
            # A single stroke, or one lined up with nothing after it, is no place to start again from.
            if best[0] >= min(2, len(ahead)):
                pairs.append((t - 1e-9, base + best[1]))
        recent = around(pairs[-64:], t, local_s)
        if len(recent) >= 4 and max(p[0] for p in recent) - min(p[0] for p in recent) > 0.5:
            predicted = line_at(recent, t, scale)
            predicted += statistics.median(p[1] - line_at(recent, p[0], scale) for p in pairs[-3:])
        elif pairs:
            predicted = pairs[-1][1] + scale * (t - pairs[-1][0])
        else:
            predicted = offset + scale * t
        f = nearest(found, predicted + shifts[i])
        if f is not None and abs(f - predicted - shifts[i]) < window:
            matched[i] = f
            pairs.append((t, f - shifts[i]))
            missed = 0
        else:
            missed += 1
    return matched


def distances(times, shifts, matched, scale, local_s, side=6):
    """{stroke index: seconds from where its neighbours put it}. The slope comes from the line
    through the matched strokes within local_s; the place from the strokes just before it and,
    separately, those just after it, and the nearer of the two counts: the disk driver's thread
    is sometimes held up (a write waits for the disk), and every stroke after that moment comes
    that much earlier in the file. A note out of time is off from both sides; a stroke next to
    such a jump agrees with the side it belongs to. Where the strokes lie further apart, the
    nearest few count however far they are."""
    order = sorted(matched)
    pairs = [(times[i], matched[i] - shifts[i]) for i in order]
    out = {}
    for k, i in enumerate(order):
        t, f = pairs[k]
        near = around([p for p in pairs if p[0] != t], t, local_s)
        if len(near) < 4:
            continue
        slope = (line_at(near, t + 1.0, scale) - line_at(near, t, scale)) / 1.0
        sides = [pairs[max(0, k - side) : k], pairs[k + 1 : k + 1 + side]]
        errors = []
        for points in sides:
            nearest_three = sorted(abs(p[0] - t) for p in points)[:3]
            points = [p for p in points if abs(p[0] - t) <= max([local_s] + nearest_three)]
            if len(points) >= 3:
                errors.append(f - statistics.median(p[1] + slope * (t - p[0]) for p in points))
        if errors:
            out[i] = min(errors, key=abs)
    return out


def kind_offsets(kinds, measured, minimum=5):
    """The median distance of each kind of stroke that was measured often enough."""
    by_kind = {}
    for i, d in measured.items():
        by_kind.setdefault(kinds[i], []).append(d)
    return {kind: statistics.median(ds) for kind, ds in by_kind.items() if len(ds) >= minimum}


class Result:
    """What check() found; times and kinds of the strokes the recording covers, {stroke index:
    seconds off} of the measured ones, the indexes of the others, and of those the ones where the
    level still rises."""

    def __init__(self, **fields):
        self.__dict__.update(fields)


def check(notes, recording, rate, window, local_s, low, high, counted=None):
    """The strokes of notes against the recording; with counted (a set of notes), the figures are
    those of the strokes holding one of them, the others only help to follow the recording."""
    song = strokes(notes)
    times = [s[0] for s in song]
    kinds = [s[1] for s in song]
    found, energy = onsets(recording, rate)
    offset, scale = fit(times, found, window, low, high)
    # Only the strokes the recording covers (a demonstration plays part of a song): where the line
    # through the last strokes matched puts them (the first line may be a second off by the end).
    end = found[-1] if found else 0.0
    shifts = [0.0] * len(times)
    matched = track(times, shifts, found, offset, scale, window, local_s)
    tail = [(times[i], matched[i]) for i in sorted(matched)[-16:]]
    if len(tail) >= 2 and tail[-1][0] > tail[0][0]:
        covered = sum(1 for t in times if line_at(tail, t, scale) <= end + window)
    else:
        covered = sum(1 for t in times if offset + scale * t <= end + window)
    times, kinds, shifts = times[:covered], kinds[:covered], shifts[:covered]
    matched = {i: f for i, f in matched.items() if i < covered}

    # Once as they come, then each kind of stroke from its typical onset.
    typical = kind_offsets(kinds, distances(times, shifts, matched, scale, local_s))
    shifts = [typical.get(kind, 0.0) for kind in kinds]
    matched = track(times, shifts, found, offset, scale, window, local_s)
    measured = distances(times, shifts, matched, scale, local_s)
    missing = [i for i in range(len(times)) if i not in measured]

    # A soft sound under a loud one that still rings raises no onset of its own. A second, closer
    # look where its neighbours put it: does the level rise there more than it does at 99 % of
    # the moments midway between two strokes (where nothing starts)?
    pairs = [(times[i], matched[i] - shifts[i]) for i in sorted(matched)]

    def neighbours(t):
        return around(pairs, t, local_s)

    quiet = sorted(
        rise(energy, line_at(neighbours(a), (a + b) / 2, scale))
        for a, b in zip(times, times[1:])
        if b - a >= 0.12 and len(neighbours(a)) >= 4
    )
    threshold = quiet[int(0.99 * (len(quiet) - 1))] if quiet else float("inf")
    rising = [
        i
        for i in missing
        if len(neighbours(times[i])) >= 4
        and rise(energy, line_at(neighbours(times[i]), times[i], scale) + shifts[i]) > threshold
    ]
    if counted is not None:
        kept = {i for i, kind in enumerate(kinds) if counted & set(kind)}
        measured = {i: d for i, d in measured.items() if i in kept}
        missing = [i for i in missing if i in kept]
        rising = [i for i in rising if i in kept]
    else:
        kept = set(range(len(times)))
    shared = sum(1 for i in kept if counted is not None and set(kinds[i]) - counted)
    return Result(times=times, kinds=kinds, found=found, offset=offset, scale=scale, typical=typical,
                  measured=measured, missing=missing, rising=rising, quiet=len(quiet), threshold=threshold,
                  counted=len(kept), shared=shared)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("recording")
    parser.add_argument("song")
    parser.add_argument("--rate", type=int, default=48000)
    parser.add_argument("--smfdump", default="build/bin/smfdump")
    # One lane's recording holds fewer sounds: a wider window finds the place again after a
    # rest, where the driver's pace may have changed.
    parser.add_argument("--window-ms", type=float, help="how far a stroke's onset may lie (15, 25 with --lane)")
    parser.add_argument("--local-s", type=float, default=2.0)
    # Music repeats itself: without a rough start a fit may line up whole bars off.
    parser.add_argument("--start-s", type=float, help="about where the song's tick 0 is in the recording")
    parser.add_argument("--after-s", type=float,
                        help="the song's tick 0 lies after this point of the recording (by up to --start-tolerance)")
    parser.add_argument("--start-tolerance", type=float, help="seconds (1 around --start-s, 5 after --after-s)")
    parser.add_argument("--lane", choices=sorted(LANE_NOTES), help="check only this lane's notes")
    args = parser.parse_args()

    if args.after_s is not None:
        # The moment the game reports the start reaches the caller a little late.
        low, high = args.after_s - 0.2, args.after_s + (args.start_tolerance or 5.0)
    elif args.start_s is not None:
        low, high = args.start_s - (args.start_tolerance or 1.0), args.start_s + (args.start_tolerance or 1.0)
    else:
        low, high = float("-inf"), float("inf")
    notes = drum_notes(args.song, args.smfdump)
    counted = None
    if args.lane:
        counted = set(LANE_NOTES[args.lane])
        silent = {n for lane, lane_notes in LANE_NOTES.items() if lane != args.lane and not (
            lane in TOMS and args.lane in TOMS) for n in lane_notes}
        notes = [(t, note) for t, note in notes if note not in silent]
        print(f"lane: {args.lane} ({' '.join(str(n) for n in sorted(counted))})")
    window_ms = args.window_ms or (25.0 if args.lane else 15.0)
    r = check(notes, args.recording, args.rate, window_ms / 1000.0,
              args.local_s, low, high, counted)

    print(f"drum_strokes_recorded: {r.counted}")
    if counted is not None:
        print(f"strokes_shared_with_other_notes: {r.shared}")
    print(f"onsets_found: {len(r.found)}")
    print(f"strokes_matched: {len(r.measured)}")
    print(f"recording_scale: {r.scale:.6f}")
    print(f"song_start_s: {r.offset:.4f}")
    if r.measured:
        errors = sorted(abs(d) * 1000.0 for d in r.measured.values())
        print(f"onset_error_ms_p99: {errors[min(len(errors) - 1, int(0.99 * (len(errors) - 1)))]:.2f}")
        print(f"onset_error_ms_max: {errors[-1]:.2f}")
        print(f"onset_error_ms_mean: {statistics.mean(r.measured.values()) * 1000.0:+.2f}")
    for kind, value in sorted(r.typical.items(), key=lambda item: -abs(item[1])):
        if abs(value) > 0.001:
            notes = "+".join(str(n) for n in kind)
            print(f"typical_onset_ms {notes}: {value * 1000:+.1f} ({r.kinds.count(kind)} strokes)")
    if r.missing:
        print(f"unmatched_strokes_rising: {len(r.rising)} of {len(r.missing)} (level rising more than at 99 % "
              f"of {r.quiet} moments between strokes, ratio {r.threshold:.2f})")
        by_kind = {}
        for i in r.missing:
            by_kind.setdefault(r.kinds[i], []).append(i)
        for kind, members in sorted(by_kind.items(), key=lambda item: -len(item[1])):
            notes = "+".join(str(n) for n in kind)
            seen = sum(1 for i in members if i in r.rising)
            print(f"unmatched {notes}: {len(members)} of {r.kinds.count(kind)} strokes, {seen} rising, first at "
                  f"{r.times[members[0]]:.3f} s")
    return 0 if not r.missing else 1


if __name__ == "__main__":
    sys.exit(main())
