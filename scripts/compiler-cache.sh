# Sourced by the build scripts (from the project's root): when ccache is installed, every build
# folder compiles through it. The cache is keyed on paths relative to the checkout, so a fresh
# clone in another folder reuses what an earlier checkout compiled; values that name the
# checkout's folder (the tests' data paths) still miss, as they must.
compiler_cache_args=()
if command -v ccache >/dev/null 2>&1 && [ "${TAMTARA_NO_CCACHE:-}" != 1 ]; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
  compiler_cache_args=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
