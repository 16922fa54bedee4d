#!/bin/bash
# Plays one song in the real game under Xvfb with only its drums sounding (a practice play with
# every part automatic and the accompaniment at volume 0), records the built-in synth through
# SDL's disk audio driver, and checks that every drum note of the song sounded at its time.
#
#     [PART=hh|sd|bd|ht|mt|lt|cy] scripts/record-onsets.sh GAME_FOLDER SONG.mid [OUT_DIR]
#
# With PART only that part is automatic, so only its notes sound (nobody strikes the others, and
# a practice goes on through misses), and only its notes are checked: a soft note is no longer
# hidden under a louder one. The part screen hands the three toms over together, so with ht, mt
# or lt all three sound; check the other two on the same recording with check-onsets.py --lane.
# GAME_FOLDER is a built game folder (build/game); it is copied, never changed. OUT_DIR (default
# /tmp/onsets) receives the copy, rec.raw, rec.wav, play.png (the play, 8 s in), trace.txt,
# game.log and start.txt (where the game said the song started in rec.raw, for running
# scripts/check-onsets.py again with --after-s). The figures go to stdout; the exit status is the
# check's (1 when a stroke found no onset).
# Environment: PART (none: every part), DISPLAY_NUMBER (83), PERIOD (192 frames: 4 ms, which the
# disk driver keeps close to real time), SMFDUMP (build/bin/smfdump beside this script's tree).
set -euo pipefail

if [ $# -lt 2 ]; then
    sed -n '2,18p' "$0" >&2
    exit 2
fi
game_folder=$(realpath "$1")
song=$(realpath "$2")
out=$(realpath -m "${3:-/tmp/onsets}")
display_number=${DISPLAY_NUMBER:-83}
period=${PERIOD:-192}
here=$(dirname "$(realpath "$0")")
smfdump=${SMFDUMP:-$here/../build/bin/smfdump}
rate=48000
part=${PART:-}
# The part screen's keys (the defaults) that leave only that part automatic: the title leaves only
# the hi-hat automatic, and each key toggles its part (the tom keys all three toms).
case "$part" in
"") part_keys=(f space j semicolon) ;;
hh) part_keys=() ;;
sd) part_keys=(a f) ;;
bd) part_keys=(a space) ;;
ht | mt | lt) part_keys=(a j) ;;
cy) part_keys=(a semicolon) ;;
*) echo "PART is one of hh sd bd ht mt lt cy" >&2; exit 2 ;;
esac

[ -x "$game_folder/tamtara" ] || { echo "no game in $game_folder" >&2; exit 2; }
[ -x "$smfdump" ] || { echo "no smfdump at $smfdump (set SMFDUMP)" >&2; exit 2; }
for tool in Xvfb xdpyinfo evilwm xdotool import sox python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

pids=()
cleanup() {
    rm -f "${recording:-}"
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT

# A fresh portable copy that knows only this song.
rm -rf "$out/game" "$out/songs"
mkdir -p "$out/songs"
cp -a "$game_folder" "$out/game"
rm -f "$out/game/tamtara.ini" "$out/game/"*.db "$out/game/"*.db-*
touch "$out/game/portable"
cp "$song" "$out/songs/"
cat >"$out/game/tamtara.ini" <<EOF
[Config]
FullScreen=0
[GameConfig]
Demo=0
[Library]
Folders=$out/songs
[Synth]
Period=$period
[Practice]
Tempo=100
CountIn=0
Metronome=0
DrumVolume=127
AccompanimentVolume=0
EOF
rm -f "$out/rec.raw" "$out/rec.wav" "$out/play.png" "$out/trace.txt" "$out/game.log" "$out/start.txt"
# The disk driver's pace is the recording's clock: a write that waits for a busy disk would hold
# up its thread and shift everything after it, so it writes to memory.
recording=$(mktemp /dev/shm/tamtara-onsets.XXXXXX)

export DISPLAY=:$display_number
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
evilwm -fn fixed >/dev/null 2>&1 &
pids+=($!)

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$recording" "$out/game/tamtara" --trace \
    >"$out/trace.txt" 2>"$out/game.log" &
game=$!
pids+=($game)

# Waits until the trace has $3 (default 1) lines matching $1, at most $2 seconds.
wait_for() {
    for _ in $(seq $(($2 * 50))); do
        [ "$(grep -c "$1" "$out/trace.txt")" -ge "${3:-1}" ] && return 0
        kill -0 "$game" 2>/dev/null || { echo "the game ended early" >&2; exit 1; }
        sleep 0.02
    done
    echo "timed out waiting for '$1'" >&2
    exit 1
}
# Presses each key long enough for the game's frame poll (33 ms) to see it.
press() {
    for key in "$@"; do
        xdotool keydown "$key"
        sleep 0.12
        xdotool keyup "$key"
        sleep 0.25
    done
}
# Waits for the screen's trace line ($1; its $2th visit) and lets it settle before keys are sent.
screen() {
    wait_for "^screen $1" 30 "${2:-1}"
    sleep 0.6
}

# The launcher: Return is Start.
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Tamtara$' >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Tamtara$' windowactivate --sync >/dev/null 2>&1 || true
press Return
screen ssOpening
xdotool search --onlyvisible --name '^Tamtara ' windowactivate --sync >/dev/null 2>&1 || true
press Return
screen ssTitle
press Return
screen ssFolderSelect
press Return
screen ssDiscSelect
press Return
screen ssModeSelect
# Play length, speed, special mode: the first option of each.
press Return Return Return
screen ssPartSelect
# The title left only the hi-hat automatic: snare, kick, toms and cymbal (the default keys), or
# only PART's.
[ ${#part_keys[@]} -eq 0 ] || press "${part_keys[@]}"
press BackSpace
screen ssDiscSelect 2
press Return
screen ssModeSelect 2
press Tab
screen ssPracticeSetup
press Return
wait_for "^song start" 20
# Where the song started in the recording (its tick 0 follows after the pre-roll).
start_bytes=$(stat -c %s "$recording")
sleep 8
import -window root "$out/play.png"
# A practice ends on its result screen.
wait_for "^screen ssResult" 900
sleep 1
mv "$recording" "$out/rec.raw"
cleanup
pids=()

start_s=$(awk -v b="$start_bytes" -v r="$rate" 'BEGIN { printf "%.3f", b / (4 * r) }')
echo "$start_s" >"$out/start.txt"
sox -t raw -r "$rate" -e signed -b 16 -c 2 "$out/rec.raw" "$out/rec.wav"
echo "period_frames: $period"
echo "recording_s: $(awk -v b="$(stat -c %s "$out/rec.raw")" -v r="$rate" 'BEGIN { printf "%.1f", b / (4 * r) }')"
echo "song_start_reported_s: $start_s"
sox "$out/rec.wav" -n stat 2>&1 | awk -F': *' '/^(Maximum|Minimum|RMS +) amplitude/ {
    name = tolower($1); gsub(/ +/, "_", name); print name ": " $2 }'
python3 "$here/check-onsets.py" "$out/rec.raw" "$song" --rate "$rate" --smfdump "$smfdump" --after-s "$start_s" \
    ${part:+--lane "$part"}
