#!/usr/bin/env bash
# Installs the Debian packages Quor's build, tools and tests need; does nothing when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  clang libclang-rt-14-dev                      # libFuzzer and the sanitizer runtimes
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64            # the Windows DLL and its tests
  libx11-dev libxext-dev xvfb xdotool x11-apps imagemagick
  libstb-dev fonts-dejavu-core                  # PNG decoding, font rasterising, the font
  sox                                           # audio checks and spectrograms
  ardour                                        # a real host for the plug-in test
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
