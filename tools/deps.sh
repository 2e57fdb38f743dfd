#!/usr/bin/env bash
# Installs the Debian packages this project needs that the machine lacks.
# Runs apt-get update once, and only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  libegl-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation2
  libsdl2-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The number-formatting tests check that a decimal-comma locale of the user
# does not change what we write; they need one such locale to exist.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "could not generate de_DE.UTF-8; locale tests will skip"
fi
