#!/usr/bin/env bash
# The main job: builds the Linux plug-in (Quor.so) and the Windows plug-in (Quor.dll), then loads
# each through its entry point the way a host does and prints what a host sees.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B out/linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_TESTS=OFF > /dev/null
cmake --build out/linux -j"$jobs"
cmake -S . -B out/windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake > /dev/null
cmake --build out/windows -j"$jobs"

echo
echo "== Linux: out/linux/Quor.so =="
out/linux/tools/quor-info out/linux/Quor.so
echo
echo "== Windows (under Wine): out/windows/Quor.dll =="
cmake/wine-run.sh out/windows/tools/quor-info.exe out/windows/Quor.dll
