#!/usr/bin/env bash
# Installs every Debian 12 package the build, the program and the tests need.
# Skips what is already installed; runs as root without a terminal.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libepoxy-dev libgl1-mesa-dev libgl1-mesa-dri libegl1-mesa-dev
  libopenal-dev libopenal1
  libimgui-dev
  libassimp-dev assimp-testmodels
  libjpeg62-turbo-dev libpng-dev
  libserialport-dev
  nlohmann-json3-dev
  libinih-dev
  xvfb xauth x11-utils x11-apps xdotool fonts-dejavu-core openbox python3
  desktop-file-utils appstream man-db
  libasound2-dev
  x11-xkb-utils
  libxfixes-dev
  clang clang-format
  libfuzzer-14-dev
  fonts-wqy-microhei
  time
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
