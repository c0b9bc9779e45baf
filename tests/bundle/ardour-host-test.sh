#!/usr/bin/env bash
# Quor in a real third-party host: Ardour's headless Lua session tool indexes the plug-in with its
# VST scanner, builds a session with a MIDI track holding Quor, plays a chord and a note into it
# and exports the result faster than real time; the exported file must hold that music.
#   ardour-host-test.sh <Quor.so> <Quor-Data folder>
# Exits 77 (a skip) only when Ardour is not installed.
set -uo pipefail
module=$1 library=$2
here=$(cd "$(dirname "$0")" && pwd)
scanner=/usr/lib/ardour7/ardour-vst-scanner
if ! command -v ardour7-lua > /dev/null || [ ! -x "$scanner" ]; then
  echo "SKIP: Ardour 7 (Debian package ardour) is not installed"
  exit 77
fi
fail() { echo "FAIL: $*"; exit 1; }

work=$(mktemp -d)
trap '[ -n "${QUOR_KEEP:-}" ] || rm -rf "$work"' EXIT
# Ardour's configuration, cache and plug-in index stay inside the work folder.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache \
  XDG_DATA_HOME=$work/data VST_PATH=$work/vst LXVST_PATH=$work/vst QUOR_SESSION=$work/session
mkdir -p "$HOME" "$work/vst/Quor" "$XDG_CONFIG_HOME/ardour7/scripts"
cp "$module" "$work/vst/Quor/Quor.so"
# Ardour takes an index entry older than its module as stale, and the index keeps whole seconds:
# a module copied in the same second as the scan would look newer than its entry.
touch -d '-1 minute' "$work/vst/Quor/Quor.so"
ln -s "$library" "$work/vst/Quor/Quor-Data"
cp "$here/ardour/quor_phrase.lua" "$XDG_CONFIG_HOME/ardour7/scripts/"

LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 "$scanner" -f "$work/vst/Quor/Quor.so" \
  > "$work/scan.log" 2>&1
grep -q "Found Plugin: .* Quor" "$work/scan.log" || { cat "$work/scan.log"; fail "the scanner did not index Quor"; }

# The tool may abort while tearing down after the export is written; the file is what counts.
timeout 300 ardour7-lua "$here/ardour/export-session.lua" > "$work/session.log" 2>&1
status=$?
wav=$work/session/export/quor.wav
if [ ! -s "$wav" ]; then
  cat "$work/session.log"
  fail "no exported file (ardour7-lua exited with $status)"
fi
[ $status -eq 0 ] || echo "note: ardour7-lua exited with $status after writing the export"

level() {  # peak of the stretch [from, from+length) in dBFS
  sox "$wav" -n trim "$1" "$2" stat 2>&1 |
    awk '/Maximum amplitude/ {m = $3} /Minimum amplitude/ {n = -$3}
         END {p = (m > n ? m : n); print (p > 0 ? 20 * log(p) / log(10) : -999)}'
}
length=$(soxi -D "$wav")
before=$(level 0 0.45) chord=$(level 0.6 1.3) note=$(level 2.6 0.5)
echo "exported $length s: before the chord $before dBFS, chord $chord dBFS, note $note dBFS"
awk -v l="$length" 'BEGIN {exit !(l > 4.9 && l < 5.1)}' || fail "the export lasts $length s, not 5 s"
# Before the chord only the export's dither (about -85 dBFS) may be heard.
awk -v b="$before" -v c="$chord" -v n="$note" \
  'BEGIN {exit !(b < -70 && c > -40 && c < 0 && n > -40 && n < 0)}' ||
  fail "the export does not hold the chord and the note where they were played"
echo "PASS"
