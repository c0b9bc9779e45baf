#!/usr/bin/env bash
# Installs the Debian packages Quor's build, tools and tests need and generates the German locale
# (a decimal comma) that the number-parsing tests switch to; does nothing when all is there.
# Prints one line per thing it does; the package manager's output goes to the log named by
# QUOR_LOG (appended to), else to a temporary file kept only when something fails.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  clang libclang-rt-14-dev                      # libFuzzer and the sanitizer runtimes
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64            # the Windows DLL and its tests
  libx11-dev libxext-dev xvfb xdotool x11-apps imagemagick
  libstb-dev fonts-dejavu-core                  # PNG decoding, font rasterising, the font
  sox                                           # audio checks and spectrograms
  fluid-soundfont-gm                            # the recordings of the acoustic instruments
  librsvg2-bin python3                          # the artwork: SVG generated and rendered to PNG
  pandoc weasyprint                             # the manual in HTML and PDF
  ardour                                        # a real host for the plug-in test
  locales                                       # the locale definitions
)
locale=de_DE.UTF-8

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
has_locale() { locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; }
[ ${#missing[@]} -eq 0 ] && has_locale && exit 0

own_log=false
if [ -z "${QUOR_LOG:-}" ]; then
  QUOR_LOG=$(mktemp "${TMPDIR:-/tmp}/quor-install-deps.XXXXXX")
  own_log=true
fi
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive

# Runs a command with its output in the log. On failure says so and exits; with its own log it
# also shows the log's end and keeps it (a caller that gave the log reports from it).
run() {
  if ! "$@" >>"$QUOR_LOG" 2>&1; then
    echo "install-deps: '$*' failed" >&2
    if $own_log; then
      tail -n 20 "$QUOR_LOG" | sed 's/^/  /' >&2
      echo "install-deps: the whole output is in $QUOR_LOG" >&2
    fi
    exit 1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing ${missing[*]}"
  run $sudo apt-get update
  run $sudo apt-get install -y "${missing[@]}"
fi
if ! has_locale; then
  echo "Generating the $locale locale"
  run $sudo localedef -i de_DE -f UTF-8 "$locale"
fi
if $own_log; then rm -f "$QUOR_LOG"; fi
