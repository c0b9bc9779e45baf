#!/usr/bin/env python3
"""Writes "Night Ferry", Quor's demo piece, as Standard MIDI Files.

    make-demo.py <output folder>

writes into the folder:
  demo.mid          the whole piece (format 1): a tempo track and three parts (chords on
                    channel 1, melody on channel 2, bass on channel 3), each part choosing its
                    factory preset by program change at the start of every section;
  parts/*.mid       every part of every section on its own (format 0, starting at time 0), so a
                    renderer can play each through its own preset and mix the results;
  parts.txt         one line per part file: "<file> <preset 1..64> <start seconds> <gain dB>";
  phrase.mid        a short study for comparing presets: a held A minor chord, then a phrase.

The output depends on nothing but this script: the same bytes every run. Standard library only.
"""
import os
import struct
import sys

TEMPO_BPM = 100
PPQ = 480
BAR = 4 * PPQ
SECONDS_PER_TICK = 60.0 / TEMPO_BPM / PPQ

# Note names to MIDI numbers (octave 4 holds middle C, 60).
_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note(name):
    step = _STEPS[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        step += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + step


# The harmony, one chord a bar: (voicing for the chord part, bass root).
CHORDS = {
    "Am": (["A3", "C4", "E4"], "A1"),
    "F": (["A3", "C4", "F4"], "F1"),
    "C": (["G3", "C4", "E4"], "C2"),
    "G": (["G3", "B3", "D4"], "G1"),
    "E": (["G#3", "B3", "E4"], "E1"),
    "Dm": (["A3", "D4", "F4"], "D2"),
    "Em": (["G3", "B3", "E4"], "E2"),
    "Fmaj7": (["A3", "C4", "E4"], "F1"),
}

# Four sections of four bars: chords, the melody as (note or None for a rest, beats), and the
# factory preset of each part (chords, melody, bass), 1-based within the factory program.
SECTIONS = [
    {
        "chords": ["Am", "F", "C", "G"],
        "melody": [],
        "presets": {"chords": 1, "melody": 23, "bass": 40},  # Warm Strings, Acoustic Bass
        "bass": "whole",
    },
    {
        "chords": ["Am", "F", "C", "E"],
        "melody": [("E5", 1.5), ("D5", 0.5), ("C5", 1), ("B4", 1),
                   ("A4", 2), ("C5", 1), ("F5", 1),
                   ("E5", 1.5), ("D5", 0.5), ("C5", 1), ("G4", 1),
                   ("G#4", 3), (None, 1)],
        "presets": {"chords": 25, "melody": 23, "bass": 40},  # Electric Piano, Oboe Song
        "bass": "pulse",
    },
    {
        "chords": ["Dm", "G", "Em", "Am"],
        "melody": [("F5", 1), ("E5", 0.5), ("D5", 0.5), ("A5", 2),
                   ("G5", 1), ("F5", 0.5), ("E5", 0.5), ("D5", 1), ("B4", 1),
                   ("E5", 1), ("G5", 1), ("B5", 1), ("G5", 1),
                   ("A5", 3), (None, 1)],
        "presets": {"chords": 2, "melody": 42, "bass": 40},  # Choir of Ahs, Vibraphone
        "bass": "pulse",
    },
    {
        "chords": ["F", "G", "Fmaj7", "Am"],
        "melody": [("C6", 1), ("A5", 1), ("F5", 1), ("C5", 1),
                   ("D6", 1), ("B5", 1), ("G5", 1), ("D5", 1),
                   ("E5", 1), ("C5", 1), ("A4", 1), ("E4", 1),
                   ("A4", 4)],
        "presets": {"chords": 3, "melody": 44, "bass": 40},  # Glass Cathedral, Glockenspiel
        "bass": "whole",
    },
]

GAIN_DB = {"chords": -3.0, "melody": 0.0, "bass": -2.0}
CHANNEL = {"chords": 0, "melody": 1, "bass": 2}
PARTS = ("chords", "melody", "bass")


def part_notes(section, part):
    """The notes of one part of one section as (start tick, length ticks, note, velocity),
    with ticks counted from the section's start."""
    notes = []
    if part == "chords":
        for bar, name in enumerate(section["chords"]):
            for i, n in enumerate(CHORDS[name][0]):
                notes.append((bar * BAR, BAR - PPQ // 8, note(n), 70 + 4 * i))
    elif part == "bass":
        for bar, name in enumerate(section["chords"]):
            root = note(CHORDS[name][1])
            if section["bass"] == "whole":
                notes.append((bar * BAR, BAR - PPQ // 4, root, 90))
            else:  # root on one and three, the fifth or octave pushing into the next beat
                pattern = [(0, 1.5, root, 100), (1.5, 0.5, root + 12, 80),
                           (2, 1.5, root + 7, 90), (3.5, 0.5, root + 12, 80)]
                for beat, length, n, velocity in pattern:
                    notes.append((bar * BAR + int(beat * PPQ), int(length * PPQ) - PPQ // 16,
                                  n, velocity))
    else:
        tick = 0
        for name, beats in section["melody"]:
            length = int(beats * PPQ)
            if name is not None:
                accent = 100 if tick % PPQ == 0 else 84
                notes.append((tick, length - PPQ // 16, note(name), accent))
            tick += length
    return notes


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track_chunk(events):
    """events: (tick, order, bytes); order keeps note-offs before note-ons at the same tick."""
    data = bytearray()
    last = 0
    for tick, _, message in sorted(events, key=lambda e: (e[0], e[1])):
        data += variable_length(tick - last) + message
        last = tick
    data += b"\x00\xff\x2f\x00"  # end of track
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def tempo_events():
    microseconds = 60_000_000 // TEMPO_BPM
    return [(0, 0, b"\xff\x51\x03" + microseconds.to_bytes(3, "big")),
            (0, 0, b"\xff\x58\x04\x04\x02\x18\x08")]  # 4/4


def note_events(notes, channel, offset=0):
    events = []
    for start, length, n, velocity in notes:
        events.append((offset + start, 2, bytes([0x90 | channel, n, velocity])))
        events.append((offset + start + length, 1, bytes([0x80 | channel, n, 0])))
    return events


def write_midi(path, fmt, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), PPQ)
    with open(path, "wb") as f:
        f.write(header + b"".join(tracks))


def phrase_notes():
    chord = [(0, 2 * BAR - PPQ, note(n), 90) for n in ("A3", "C4", "E4", "A4")]
    line = ["A4", "C5", "E5", "D5", "C5", "B4", "G#4", "A4"]
    start = 2 * BAR
    melody = [(start + i * PPQ // 2, PPQ // 2 - PPQ // 16, note(n), 100)
              for i, n in enumerate(line)]
    melody[-1] = (melody[-1][0], PPQ * 2, melody[-1][2], 100)
    return chord + melody


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make-demo.py <output folder>\n")
        return 2
    folder = sys.argv[1]
    os.makedirs(os.path.join(folder, "parts"), exist_ok=True)
    manifest = []
    whole = {part: [] for part in PARTS}
    for index, section in enumerate(SECTIONS):
        offset = index * 4 * BAR
        for part in PARTS:
            notes = part_notes(section, part)
            if not notes:
                continue
            channel = CHANNEL[part]
            preset = section["presets"][part]
            whole[part].append((offset, 0, bytes([0xC0 | channel, preset - 1])))
            whole[part] += note_events(notes, channel, offset)
            name = "section%d-%s.mid" % (index + 1, part)
            single = tempo_events() + note_events(notes, channel)
            write_midi(os.path.join(folder, "parts", name), 0, [track_chunk(single)])
            manifest.append("parts/%s %d %.3f %.1f" %
                            (name, preset, offset * SECONDS_PER_TICK, GAIN_DB[part]))
    tracks = [track_chunk(tempo_events())] + [track_chunk(whole[p]) for p in PARTS]
    write_midi(os.path.join(folder, "demo.mid"), 1, tracks)
    write_midi(os.path.join(folder, "phrase.mid"), 0,
               [track_chunk(tempo_events() + note_events(phrase_notes(), 0))])
    with open(os.path.join(folder, "parts.txt"), "w", newline="\n") as f:
        f.write("\n".join(manifest) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
