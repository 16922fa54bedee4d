#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
scripts/build.sh build
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/tamtara-runtime-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd build && ctest --output-on-failure -j2 --timeout 300
