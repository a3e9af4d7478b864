#!/usr/bin/env bash
# Installs what building, testing and the demo need on Debian 12.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6serialport6
  libgtest-dev libgmock-dev
  libcli11-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-apps imagemagick
  edid-decode
)
if [ "$(id -u)" -eq 0 ]; then sudo_cmd=(); else sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
