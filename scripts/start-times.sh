#!/usr/bin/env bash
# Measures the game's start: from the launcher's Start to the game window's first frame, as the
# game itself reports it with --start-times, under a private Xvfb. Starts the game RUNS times
# (default 5), presses Start each time, closes it once the first frame is out and prints every
# step's time, then one line per run: "first_frame_ms: N".
#
#   scripts/start-times.sh PROGRAM [RUNS]
#
# PROGRAM is build/game/tamtara (the portable copy) or an installed tamtara. The game uses
# whatever settings and song folders it finds (HOME, XDG_* decide them for an installed copy);
# the launcher's progress page and the window must not wait on a question.
set -euo pipefail

program=${1:?usage: start-times.sh PROGRAM [RUNS]}
runs=${2:-5}
for tool in Xvfb xdpyinfo xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

out=$(mktemp -d /tmp/tamtara-start.XXXXXX)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$out"
}
trap cleanup EXIT

display_number=$((90 + RANDOM % 400))
export DISPLAY=:$display_number
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

for run in $(seq "$runs"); do
    log=$out/run$run.log
    "$program" --start-times >/dev/null 2>"$log" &
    game=$!
    # The launcher: Return is Start.
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name '^Tamtara$' >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool search --onlyvisible --name '^Tamtara$' windowactivate --sync >/dev/null 2>&1 || true
    sleep 0.3
    xdotool key Return
    for _ in $(seq 300); do
        grep -q "first frame" "$log" && break
        kill -0 "$game" 2>/dev/null || break
        sleep 0.05
    done
    kill "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
    grep "^start +" "$log" | sed "s/^/run $run: /" >&2
    ms=$(sed -n 's/^start +\([0-9]*\) ms: first frame$/\1/p' "$log")
    echo "first_frame_ms: ${ms:-none}"
done
