#!/usr/bin/env bash
# The main job: builds Quor for Linux (Quor.so) and Windows (Quor.dll) with its tools, generates
# the bundled instrument library, installs the Linux bundle into the user's VST folder, assembles
# the Windows bundle, renders the demo piece into demo.wav and shows what a host sees of both
# plug-ins.
#   Linux bundle (installed):  ~/.vst/Quor/Quor.so and ~/.vst/Quor/Quor-Data
#   Windows bundle:            out/windows/bundle/Quor.dll and out/windows/bundle/Quor-Data
#   Demo:                      demo.wav in the repository's top folder
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B out/linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_TESTS=OFF > /dev/null
cmake --build out/linux -j"$jobs"
cmake -S . -B out/windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake > /dev/null
cmake --build out/windows -j"$jobs"

echo
echo "== Instrument library =="
rm -rf out/library
out/linux/make-library out/library
library=out/library/Quor-Data

# A bundle is the module with the library folder beside it, which is where the plug-in looks.
assemble() {  # module destination-folder
  rm -rf "$2/Quor-Data"
  mkdir -p "$2"
  cp "$1" "$2/"
  cp -r "$library" "$2/Quor-Data"
}
vst_dir="$HOME/.vst/Quor"
assemble out/linux/Quor.so "$vst_dir"
assemble out/windows/Quor.dll out/windows/bundle

echo
echo "== Demo piece =="
bash scripts/render-demo.sh out/linux/quor-render "$vst_dir/Quor.so" demo.wav
echo "demo.wav: $(soxi -D demo.wav) s"

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
echo "Demo:                    $top/demo.wav (the MIDI files: python3 examples/make-demo.py DIR)"
