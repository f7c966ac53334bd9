#!/usr/bin/env bash
# Installs every Debian package the project needs: build, game, tools, tests
# and fuzzing. Safe to run again; runs as root or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git ca-certificates util-linux
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev libfluidsynth-dev
  timgm6mb-soundfont fonts-ipafont-gothic fonts-motoya-l-maruberi
  qt6-base-dev qt6-translations-l10n qt6-tools-dev qt6-l10n-tools
  zlib1g-dev dpkg-dev desktop-file-utils appstream lintian
  libgtest-dev libgmock-dev xvfb xauth
  clang clang-format libclang-rt-14-dev ccache
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
