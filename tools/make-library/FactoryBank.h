// The factory bank "quor2def.fxb": eight programs of 64 presets, written with the plug-in's own
// program store and chunk writer.
//   Program 1 "Factory": 64 designed sounds in four groups (pads; leads and keys; plucks and
//     percussion; textures and effects), each combining palette instruments, envelopes, LFOs
//     and effects.
//   Programs 2 and 3: every instrument of the library as a plain playable sound, shaped to suit
//     its category; the rest of program 3 and programs 4 to 8 are clean starting points.
// Presets refer to instruments by category and name, so the instrument pool must hold the
// catalogue (in catalogue order) when the bank is written; writeFactoryBank registers it in the
// process's pool when the pool is still empty.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Catalogue.h"

class PProgram;

namespace makelib {

inline constexpr int kBankPrograms = 8;

// Fills programs[0..7]; `recordings` tells whether the library's recorded instruments were made
// from their recordings (else they stand in with their designed sources). False (with the unknown
// name in *error) when a designed preset names an instrument that is not in the catalogue.
bool buildFactoryPrograms(const std::vector<InstrumentRecipe>& catalogue, bool recordings,
                          PProgram* programs, std::string* error);

// Where the plain preset of the catalogue's instrument `index` lies in the bank, both from 0.
struct PresetPlace {
    int program = 0;
    int preset = 0;
};
PresetPlace plainPresetPlace(std::size_t index);

// Builds the programs and writes them to path as a bank file.
bool writeFactoryBank(const std::vector<InstrumentRecipe>& catalogue, bool recordings,
                      const std::string& path, std::string* error);

// The palette position (the "X"/"Y" icon parameters) of the middle of a sector, 0..32.
void sectorIconPosition(int sector, float* x, float* y);

}  // namespace makelib
