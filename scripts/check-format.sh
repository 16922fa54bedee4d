#!/usr/bin/env bash
# Fails, naming the files, when a C++ source differs from what the project's .clang-format makes
# of it. With --fix it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted (scripts/check-format.sh --fix formats them):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
