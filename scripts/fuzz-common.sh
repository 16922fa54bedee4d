# Shared by .ci/run and scripts/fuzz-explore.sh (sourced, from the project's root): the fuzz
# build and the inputs each fuzz target starts from.

fuzz_targets="smf_reader settings bmp_decoder jpeg_picture package_reader"

# Only the fuzz targets and the libraries they read with, all instrumented for libFuzzer.
fuzz_build() {
  . scripts/compiler-cache.sh
  cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMTARA_FUZZ=ON -DTAMTARA_TESTS=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${compiler_cache_args[@]}" >/dev/null
  cmake --build build-fuzz -j2 --target fuzz_targets
}

# Copies under $1, one folder per target: the committed seeds and findings
# (tools/fuzz/seeds/<target>), the game's own files from build/ (the sheets inside Graphics.pb,
# the song pictures, the packages, the jingles and songs) and, when present, the shared
# real-world corpus. The copies are numbered in the byte order of their source paths, so the
# same files give the same inputs whatever order a file system lists them in.
fuzz_inputs() {
  local out=$1 game=build/game extracted target
  extracted=$(mktemp -d)
  local sources="$extracted/sources"
  {
    for target in $fuzz_targets; do
      [ -d "tools/fuzz/seeds/$target" ] && find "tools/fuzz/seeds/$target" -type f ! -name '.*' | sed "s|^|$target\t|"
    done
    if [ -d ../shared/corpus ]; then
      find ../shared/corpus -type f \( -iname '*.mid' -o -iname '*.rmi' \) | sed "s|^|smf_reader\t|"
    fi
    if [ -d "$game" ]; then
      find "$game" -type f \( -iname '*.mid' -o -iname '*.rmi' \) | sed "s|^|smf_reader\t|"
      mkdir -p "$extracted/sheets"
      local entry
      for entry in $(build/bin/pbpack list "$game/Graphics.pb" | awk '{print $1}'); do
        build/bin/pbpack extract "$game/Graphics.pb" "$entry" "$extracted/sheets/$entry"
        printf 'bmp_decoder\t%s\n' "$extracted/sheets/$entry"
      done
      find "$game" -type f -iname '*.bmp' | sed "s|^|bmp_decoder\t|"
      find "$game" -type f -iname '*.jpg' | sed "s|^|jpeg_picture\t|"
      find "$game" -maxdepth 1 -type f -name '*.pb' | sed "s|^|package_reader\t|"
    fi
  } >"$sources"
  for target in $fuzz_targets; do
    mkdir -p "$out/$target"
    local n=0 file
    while IFS= read -r file; do
      n=$((n + 1))
      cp "$file" "$out/$target/$(printf '%05d' "$n")"
    done < <(awk -F'\t' -v t="$target" '$1 == t { print $2 }' "$sources" | LC_ALL=C sort)
  done
  rm -rf "$extracted"
}
