#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need; installs nothing that is
# already there, so a second run does no work.
set -euo pipefail

packages=(
  cmake g++ make pkg-config libgtest-dev
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libfreetype-dev libx11-dev libxi-dev
  fonts-ipafont-gothic fonts-liberation
  libfluidsynth-dev timgm6mb-soundfont librtmidi-dev libasound2-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  qt6-base-dev qt6-translations-l10n
  libsqlite3-dev nettle-dev
)
if [ "${1:-}" = "--test" ]; then
  packages+=(clang clang-format libclang-rt-14-dev sox xvfb xauth xdotool imagemagick evilwm x11-xserver-utils
             desktop-file-utils appstream dpkg-dev file sqlite3 ccache)
fi
# A player hears the drums through the full General MIDI set; the tests keep the small one.
if [ "${1:-}" = "--play" ]; then
  packages+=(fluid-soundfont-gm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
