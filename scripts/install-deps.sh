#!/usr/bin/env bash
# Installs every Debian package Kestrel needs to build, test and benchmark,
# and the packages named as arguments (scripts that need more pass them).
set -euo pipefail
packages=("$@"
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev ccache
  libdxflib-dev nlohmann-json3-dev libsimdjson-dev libcli11-dev
  libfreetype-dev libfontconfig-dev fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-ezdxf gdal-bin
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
