#!/usr/bin/env bash
# Draws spectrograms of a few factory presets playing the same study (a held A minor chord, then
# a phrase; examples/make-demo.py writes it), so that the sounds can be compared by eye.
#   scripts/sonograms.sh [output folder]      (default: out/spectrograms)
# Needs the built plug-in and renderer (out/linux, as scripts/main.sh builds them, or the folder
# named by QUOR_BUILD) and the library beside the plug-in: the bundle installed in ~/.vst/Quor, or
# the plug-in named by QUOR_PLUGIN.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUOR_BUILD:-out/linux}
plugin=${QUOR_PLUGIN:-$HOME/.vst/Quor/Quor.so}
output=${1:-out/spectrograms}
[ -x "$build/quor-render" ] || { echo "spectrograms: no $build/quor-render; run scripts/main.sh" >&2; exit 1; }
[ -d "$(dirname "$plugin")/Quor-Data" ] || { echo "spectrograms: no library beside $plugin" >&2; exit 1; }

# Factory presets (1-based, program 1): one or two of each group.
presets=("1:Warm Strings" "2:Choir of Ahs" "21:Saw Lead" "25:Electric Piano" "33:Nylon Guitar"
         "42:Vibraphone" "47:Drum Kit" "50:Ocean Surf" "60:Talking Saw")
mkdir -p "$output"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 examples/make-demo.py "$work"
for entry in "${presets[@]}"; do
  number=${entry%%:*} name=${entry#*:}
  file=$(printf '%02d-%s' "$number" "$(echo "$name" | tr 'A-Z ' 'a-z-')")
  "$build/quor-render" --quiet --preset "$number" --tail 10 "$plugin" "$work/phrase.mid" \
    "$work/$file.wav"
  sox "$work/$file.wav" -n remix - rate 22050 \
    spectrogram -x 1000 -y 513 -z 90 -t "Quor factory preset $number: $name" -o "$output/$file.png"
  echo "$output/$file.png"
done
