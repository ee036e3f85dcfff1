#!/usr/bin/env bash
# Installs the Debian packages the build, the run and the tests need.
# Quick and silent when everything is present.
set -euo pipefail
pkgs=(g++-mingw-w64-i686 mingw-w64-tools cmake make wine wine32:i386 wine64 xvfb xauth
      fonts-wqy-microhei fonts-wine googletest libwine-dev fuse3 libfuse3-dev pkg-config g++ x11-apps imagemagick)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
fi
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
