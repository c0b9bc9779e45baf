#!/usr/bin/env bash
# The whole test suite: native build with unit, host and GUI tests (under Xvfb); ASan+UBSan and
# TSan builds; libFuzzer targets for a bounded time; the Windows DLL and its tests under Wine.
# Usage: scripts/test.sh            (everything)
#        QUOR_FUZZ_SECONDS=60 scripts/test.sh   (longer fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${QUOR_FUZZ_SECONDS:-15}
export CTEST_OUTPUT_ON_FAILURE=1
# Let ccache reuse objects across checkouts in different folders (CI clones afresh).
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
summary=()

run_ctest() {  # name build-dir ctest-args...
  local name=$1 dir=$2; shift 2
  echo "=== $name ==="
  local log; log=$(mktemp)
  if xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir "$dir" -j"$jobs" --timeout 900 "$@" 2>&1 | tee "$log"; then
    :
  else
    summary+=("$name: FAILED")
  fi
  local line; line=$(grep -E 'tests passed|No tests were found' "$log" | tail -1 || true)
  summary+=("$name: ${line:-no result}")
  rm -f "$log"
}

configure_build() {  # dir cmake-args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" > /dev/null
  cmake --build "$dir" -j"$jobs"
}

configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_ctest "native" build

configure_build build-asan -DCMAKE_BUILD_TYPE=Debug -DQUOR_SANITIZE=address
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "asan+ubsan" build-asan -LE "slow|x11"

configure_build build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOR_SANITIZE=thread
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_ctest "tsan" build-tsan -L threads

configure_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUOR_TESTS=OFF -DQUOR_FUZZ=ON -DQUOR_FUZZ_SECONDS="$fuzz_seconds"
run_ctest "fuzz" build-fuzz -L fuzz

configure_build build-win -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
run_ctest "windows (wine)" build-win -j1

echo
echo "=== Summary ==="
failed=0
for s in "${summary[@]}"; do
  echo "$s"
  case "$s" in *FAILED*) failed=1 ;; esac
done
exit $failed
