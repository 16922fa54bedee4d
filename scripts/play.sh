#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from its folder build/game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --play
scripts/build.sh build
exec build/game/tamtara "$@"
