#!/usr/bin/env bash
# The main job: builds Quor for Linux (Quor.so) and Windows (Quor.dll) with its tools, generates
# the bundled instrument library, installs the Linux bundle into the user's VST folder, assembles
# the Windows bundle, renders the demo piece into demo.wav and shows what a host sees of both
# plug-ins.
#   Linux bundle (installed):  ~/.vst/Quor/Quor.so, ~/.vst/Quor/Quor-Data, ~/.vst/Quor/documentation
#   Windows bundle:            out/windows/bundle/Quor.dll, Quor-Data and documentation
#   Demo:                      demo.wav in the repository's top folder
# Each step prints one line; what its commands print goes to out/main.log.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
jobs=$(nproc)
mkdir -p out
export QUOR_LOG="$top/out/main.log"
: > "$QUOR_LOG"

# Runs one step with its output in the log; on failure shows the log's end and where it is.
# A step's commands are joined with && (errexit does not act inside a tested command).
step() {  # description command...
  local what=$1 started=$SECONDS
  shift
  printf '%s ... ' "$what"
  if "$@" >>"$QUOR_LOG" 2>&1; then
    echo "done ($((SECONDS - started)) s)"
    return
  fi
  echo "failed"
  echo "The end of the output:" >&2
  tail -n 20 "$QUOR_LOG" | sed 's/^/  /' >&2
  echo "The whole output is in $QUOR_LOG" >&2
  exit 1
}

build() {  # build-folder cmake-args...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_TESTS=OFF "$@" &&
    cmake --build "$dir" -j"$jobs"
}

library=out/library/Quor-Data
make_library() {
  rm -rf out/library && out/linux/make-library out/library
}

# A bundle is the module with the library folder beside it, which is where the plug-in looks,
# and the manual (built by the Linux build) in documentation/.
assemble() {  # module destination-folder
  rm -rf "$2/Quor-Data" "$2/documentation" && mkdir -p "$2" && cp "$1" "$2/" &&
    cp -r "$library" "$2/Quor-Data" && cp -r out/linux/documentation "$2/documentation"
}
vst_dir="$HOME/.vst/Quor"
assemble_bundles() {
  assemble out/linux/Quor.so "$vst_dir" && assemble out/windows/Quor.dll out/windows/bundle
}

step "Installing the packages the build needs" bash scripts/install-deps.sh
step "Building for Linux" build out/linux
step "Building for Windows" build out/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
step "Generating the instrument library" make_library
step "Assembling the bundles" assemble_bundles
step "Rendering the demo piece" \
  bash scripts/render-demo.sh out/linux/quor-render "$vst_dir/Quor.so" demo.wav
step "Drawing five recordings beside their plain presets" \
  bash scripts/recording-sonograms.sh out/recording-sonograms

echo
echo "== Linux: $vst_dir/Quor.so =="
out/linux/tools/quor-info "$vst_dir/Quor.so"
echo
echo "== Windows (under Wine): out/windows/bundle/Quor.dll =="
cmake/wine-run.sh out/windows/tools/quor-info.exe out/windows/bundle/Quor.dll

echo
echo "Linux bundle installed:  $vst_dir (Quor.so, Quor-Data) - hosts that scan ~/.vst find it"
echo "Windows bundle:          $top/out/windows/bundle (Quor.dll, Quor-Data) - copy the folder"
echo "                         into the host's VST folder"
echo "Library:                 $top/$library ($(du -sh "$library" | cut -f1))"
echo "Recordings and presets:  $top/out/recording-sonograms (spectrograms side by side)"
echo "Demo:                    $top/demo.wav ($(soxi -D demo.wav) s; the MIDI files: python3 examples/make-demo.py DIR)"
echo "Log of every step:       $QUOR_LOG"
