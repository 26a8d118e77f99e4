#!/bin/sh
# Installs the Debian packages that building, running and testing the game need.
# Quick when everything is present: only missing packages are fetched.
set -e
PACKAGES="g++ cmake make pkg-config libsdl2-dev libsdl2-mixer-dev libassimp-dev libglm-dev
libepoxy-dev libstb-dev libgl1-mesa-dri libegl-mesa0 libgl1-mesa-dev timgm6mb-soundfont
libfontconfig-dev fonts-droid-fallback libenet-dev
libgtest-dev libbenchmark-dev fonts-dejavu-core xvfb xauth sox
dpkg-dev desktop-file-utils appstream lintian"
# `setup.sh fuzz`: also the compiler and the libFuzzer runtime of `make fuzz`.
[ "${1:-}" = fuzz ] && PACKAGES="$PACKAGES clang libclang-rt-dev"
missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
