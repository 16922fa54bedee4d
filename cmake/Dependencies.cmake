# Third-party libraries, all from Debian packages (scripts/install-deps.sh installs them).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)
# Key strikes on a thread of their own: raw key events of the X Input extension.
pkg_check_modules(XINPUT REQUIRED IMPORTED_TARGET x11 xi)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(RTMIDI REQUIRED IMPORTED_TARGET rtmidi)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
# SHA-256 for the drum-part key: plain hash state on the stack, nothing to allocate or fail.
pkg_check_modules(NETTLE REQUIRED IMPORTED_TARGET nettle)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(JPEG REQUIRED)
if(TAMTARA_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
