#!/usr/bin/env bash
# Renders the demo piece through Quor's factory presets into one WAV file:
#   scripts/render-demo.sh <quor-render> <plug-in> <output.wav>
# The piece's generator (examples/make-demo.py) writes every part of every section as its own
# MIDI file with the preset that plays it; each is rendered at 44100 Hz with its release tail,
# placed at its section's start, and the parts are mixed, normalised to -1 dBFS peak and faded out.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: render-demo.sh <quor-render> <plug-in> <output.wav>" >&2; exit 2; }
render=$(realpath "$1") plugin=$(realpath "$2") output=$(realpath -m "$3")
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/examples/make-demo.py" "$work"
# One render per part, two at a time; each line of parts.txt is "<file> <preset> <start> <gain>".
while read -r file preset start gain; do
  printf '%s\0%s\0' "$preset" "$file"
done < "$work/parts.txt" |
  (cd "$work" && xargs -0 -n2 -P"$(nproc)" sh -c \
    '"$0" --quiet --rate 44100 --format float --tail 10 --preset "$2" "$1" "$3" "$3.wav"' \
    "$render" "$plugin" 2>&1 | sed 's/^/  /' ) || true

inputs=()
while read -r file preset start gain; do
  [ -s "$work/$file.wav" ] || { echo "render-demo: $file did not render" >&2; exit 1; }
  sox "$work/$file.wav" "$work/$file.placed.wav" pad "$start" vol "$gain" dB
  inputs+=("$work/$file.placed.wav")
done < "$work/parts.txt"
sox -m "${inputs[@]}" -b 32 -e floating-point "$work/mix.wav"
sox -R "$work/mix.wav" -b 16 "$output" gain -n -1 fade 0 -0 2 dither  # -R: the same dither every run
