#!/usr/bin/env bash
# Installs every Debian package the project needs. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build ccache pkg-config g++ clang libclang-rt-14-dev
  libsdl2-dev libepoxy-dev glslang-dev glslang-tools libspirv-cross-c-shared-dev spirv-cross
  libvorbis-dev libdevil-dev libtinyxml2-dev libutfcpp-dev zlib1g-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libegl-mesa0 libgl1-mesa-dri libegl1 xvfb xdotool xauth x11-xkb-utils
  libfreetype-dev fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
