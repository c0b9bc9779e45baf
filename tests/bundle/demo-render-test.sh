#!/usr/bin/env bash
# The main job's demo stage on the test bundle: the piece's generator writes the same MIDI bytes
# every run, and scripts/render-demo.sh turns it into a file of about 45 s in which every section
# sounds, normalised to -1 dBFS.
#   demo-render-test.sh <quor-render> <Quor.so> <Quor-Data folder>
set -uo pipefail
render=$1 module=$2 library=$3
top=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$top/examples/make-demo.py" "$work/a" && python3 "$top/examples/make-demo.py" "$work/b" ||
  fail "the generator failed"
diff -r "$work/a" "$work/b" > /dev/null || fail "the generator wrote different files in two runs"

mkdir -p "$work/bundle"
cp "$module" "$work/bundle/"
ln -s "$library" "$work/bundle/Quor-Data"
bash "$top/scripts/render-demo.sh" "$render" "$work/bundle/$(basename "$module")" "$work/demo.wav" ||
  fail "render-demo.sh failed"

length=$(soxi -D "$work/demo.wav")
# The peak is the larger of the highest and the lowest sample: normalising may reach either.
peak=$(sox "$work/demo.wav" -n stat 2>&1 |
  awk '/(Maximum|Minimum) amplitude/ {v = $3 < 0 ? -$3 : $3; if (v > p) p = v} END {print p}')
echo "demo: $length s, peak $peak"
awk -v l="$length" -v p="$peak" 'BEGIN {exit !(l > 40 && l < 50 && p > 0.85 && p < 0.9)}' ||
  fail "expected about 45 s peaking at -1 dBFS"
for start in 0 9.6 19.2 28.8; do  # the four sections
  rms=$(sox "$work/demo.wav" -n trim "$start" 9.6 stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  echo "section from $start s: RMS $rms"
  awk -v r="$rms" 'BEGIN {exit !(r > 0.005)}' || fail "the section from $start s is (nearly) silent"
done
echo "PASS"
