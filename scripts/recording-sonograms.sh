#!/usr/bin/env bash
# Draws, for a few instruments made from recordings, the spectrogram of the source recording
# (three seconds of its middle zone held) beside that of the instrument's plain preset holding
# the same key for three seconds, so that the two can be compared by eye.
#   scripts/recording-sonograms.sh [output folder]      (default: out/recording-sonograms)
# Needs the built plug-in, renderer and library generator (out/linux, as scripts/main.sh builds
# them, or the folder named by QUOR_BUILD), the library beside the plug-in (the bundle installed
# in ~/.vst/Quor, or the plug-in named by QUOR_PLUGIN) and the sound bank the library was made
# from (make-library's default, or QUOR_SOUNDFONT).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUOR_BUILD:-out/linux}
plugin=${QUOR_PLUGIN:-$HOME/.vst/Quor/Quor.so}
output=${1:-out/recording-sonograms}
font=()
[ -z "${QUOR_SOUNDFONT:-}" ] || font=(--soundfont "$QUOR_SOUNDFONT")
for tool in quor-render make-library; do
  [ -x "$build/$tool" ] || { echo "recording-sonograms: no $build/$tool; run scripts/main.sh" >&2; exit 1; }
done
[ -d "$(dirname "$plugin")/Quor-Data" ] || { echo "recording-sonograms: no library beside $plugin" >&2; exit 1; }

instruments=("Choir Aah" "Cello" "Oboe" "Trumpet" "Nylon Guitar")
mkdir -p "$output"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Both drawings peak-normalised, three seconds from the note's start, on the same scales.
draw() {
  sox -V1 "$1" -n remix - trim "$2" 3 rate 22050 norm spectrogram -x 600 -y 513 -z 90 -t "$3" -o "$4"
}
for name in "${instruments[@]}"; do
  file=$(echo "$name" | tr 'A-Z ' 'a-z-')
  # make-library says at which key the recording sounds and where the plain preset lies.
  line=$("$build/make-library" --recording "$name" "$work/$file-source.wav" "${font[@]}")
  [[ $line =~ key\ ([0-9]+).*program\ ([0-9]+)\ preset\ ([0-9]+) ]] ||
    { echo "recording-sonograms: unexpected answer: $line" >&2; exit 1; }
  key=${BASH_REMATCH[1]} program=${BASH_REMATCH[2]} preset=${BASH_REMATCH[3]}
  # One note of velocity 100, held for three seconds from 0.1 s (480 ticks a beat at 120 bpm).
  python3 - "$work/$file.mid" "$key" <<'PY'
import struct, sys
key = int(sys.argv[2])
events = bytes([96, 0x90, key, 100, 0x96, 0x40, 0x80, key, 0, 0, 0xFF, 0x2F, 0])
track = b"MTrk" + struct.pack(">I", len(events)) + events
open(sys.argv[1], "wb").write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + track)
PY
  "$build/quor-render" --quiet --program "$program" --preset "$preset" "$plugin" \
    "$work/$file.mid" "$work/$file-played.wav"
  draw "$work/$file-source.wav" 0 "$name key $key: recording (peak-normalised)" \
    "$work/$file-source.png"
  draw "$work/$file-played.wav" 0.1 "$name key $key: plain preset $program/$preset (peak-normalised)" \
    "$work/$file-played.png"
  convert "$work/$file-source.png" "$work/$file-played.png" +append "$output/$file.png"
  echo "$output/$file.png"
done
