#!/usr/bin/env bash
# Installs every Debian package the project needs, and the decimal-comma locale one test switches
# to. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build ccache pkg-config g++ clang libclang-rt-14-dev lld
  libsdl2-dev libepoxy-dev glslang-dev glslang-tools libspirv-cross-c-shared-dev spirv-cross
  libvorbis-dev libdevil-dev libtinyxml2-dev libutfcpp-dev zlib1g-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libegl-mesa0 libgl1-mesa-dri libegl1 xvfb xdotool xauth x11-xkb-utils x11-apps python3
  libfreetype-dev fonts-dejavu-core
  locales
)

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tokenizer's test checks that numbers ignore a process locale with a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  "${sudo_cmd[@]}" localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
