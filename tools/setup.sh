#!/usr/bin/env bash
# Installs the Debian packages the build, the run and the tests need.
# Quick and silent when everything is present.
set -euo pipefail
pkgs=(g++-mingw-w64-i686 mingw-w64-tools cmake make wine wine32:i386 wine64 xvfb xauth
      fonts-wqy-microhei fonts-wine googletest libwine-dev fuse3 libfuse3-dev pkg-config g++ x11-apps imagemagick
      ffmpeg zip clang libclang-rt-14-dev
      # The media preview: Wine's filter graph plays through 32-bit GStreamer.
      gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-plugins-bad:i386
      gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Installs the packages in `missing`.
install_missing() {
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
# A mirror caught mid-sync fails one index; what the other indexes list still installs,
# so an update is tried a few times and a partial one is not fatal.
update() {
  for i in 1 2 3; do
    $SUDO apt-get update -qq && return 0
    sleep $((i * 5))
  done
  return 0
}
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  update
fi
export DEBIAN_FRONTEND=noninteractive
# Other runs of this script may hold the package lock for a while: wait for it.
apt_install() { $SUDO apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "$@" "${missing[@]}" >/dev/null; }
if ! apt_install; then
  update
  if ! apt_install; then
    # A security index missing for one architecture makes the 32-bit Wine libraries
    # unresolvable against newer 64-bit ones: install from the release suites alone.
    src=$(mktemp -d)
    printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm bookworm-updates' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' > "$src/main.sources"
    apt_install -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$src"
    rm -rf "$src"
  fi
fi
}
[ ${#missing[@]} -eq 0 ] || install_missing
# The Unix locale Wine runs the program and the tests under.
bash "$(dirname "$0")/setup-locale.sh"
# Once the packages are in: do 32-bit programs start, else run them under qemu-user.
exec bash "$(dirname "$0")/i386-check.sh"
