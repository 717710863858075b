#!/usr/bin/env bash
# Installs every Debian package Kelpra needs to build, run and test (run as root or with sudo).
# Usage: scripts/setup.sh [--bench] [--fuzz] [--i386] [--package]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev libgl-dev libxcb1-dev qt6-wayland librsvg2-bin
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick openbox weston
  dbus dbus-x11 libglib2.0-bin gsettings-desktop-schemas
  fonts-ipafont-gothic
)
extra_arch=()
for arg in "$@"; do
  case "$arg" in
    # bench/key_to_pixels.sh sends keys with XTest and sees new frames with XDamage.
    --bench) packages+=(libvips-tools graphicsmagick libjpeg-turbo-progs hyperfine
                        libxtst-dev libxdamage-dev) ;;
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    --i386) extra_arch+=(i386) ;;
    # Building the Debian package (dpkg-shlibdeps) and scripts/package_check.sh's checks.
    --package) packages+=(dpkg-dev desktop-file-utils appstream xdg-utils file man-db) ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The 32-bit x86 build (cmake/i386-linux-gnu.cmake): gcc -m32 against Debian's :i386 libraries,
# installed beside the amd64 ones through multiarch. Qt's moc/uic/rcc stay the amd64 ones.
if [ ${#extra_arch[@]} -gt 0 ]; then
  for arch in "${extra_arch[@]}"; do
    if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
      $SUDO dpkg --add-architecture "$arch"
    fi
  done
  packages+=(g++-multilib qt6-base-dev:i386 qt6-qpa-plugins:i386 qt6-wayland:i386
             libgl-dev:i386 libxcb1-dev:i386
             libjpeg62-turbo-dev:i386 libpng-dev:i386 zlib1g-dev:i386 libgif-dev:i386
             libgtest-dev:i386 libgmock-dev:i386 libbenchmark-dev:i386)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  # --no-remove: never take away a package to make room (e.g. an amd64 one for its i386 twin).
  $SUDO apt-get install -y -qq --no-install-recommends --no-remove "${missing[@]}"
fi
