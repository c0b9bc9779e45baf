// Writes a complete instrument library folder ("Quor-Data"): the description file in "OIP", the
// raw Base, Top and Filter files in "Raw", and the property matrix. The same catalogue always
// gives the same bytes.
//
// All instruments go into one description file: the plug-in numbers instruments in the order the
// file system lists the description files, and the rows of the property matrix must follow that
// numbering, which only a single file makes certain.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Excitation.h"
#include "FilterTable.h"
#include "SoundFont.h"
#include "SoundFontZones.h"

namespace makelib {

inline constexpr int kMaxInstruments = 97;
inline constexpr int kFilterFrames = 12;
inline constexpr int kZoneTranspose = 24;  // samples hold their root key at four times the
                                           // voice's reference reading rate
inline constexpr double kExcitationRms = 3000.0;
inline constexpr int kMaxZones = 7;
inline constexpr double kMaxHeadSeconds = 2.0;  // longer attacks are shortened into the loop

struct LibraryReport {
    int instruments = 0;
    int recorded = 0;  // of them made from recordings
    int files = 0;
    std::uint64_t bytes = 0;
};

// The key zones every pitched instrument uses.
std::vector<ZonePlan> zonePlans();
// The single zone of a kit.
ZonePlan kitZonePlan();

// The raw material of one zone of an instrument.
struct ZoneFiles {
    SampleData base;
    SampleData top;
    std::vector<FilterFrame> frames;
};
ZoneFiles makeZone(const InstrumentRecipe& recipe, const ZonePlan& plan);

// The loud recordings (velocity 100) of a bank preset that hold a sustain loop, at most kMaxZones
// of them: the zones of an instrument made from that preset.
std::vector<RecordedZone> loopedZones(const SoundFont& font, const RecordingSource& source);

struct BuiltZone {
    ZonePlan plan;
    ZoneFiles files;
    std::uint8_t gain = 0;
    bool recorded = false;
};
// Every zone of an instrument: analysed from its recording when it has one and `font` (which may
// be null) holds it with a sustain loop, designed otherwise.
std::vector<BuiltZone> makeInstrument(const InstrumentRecipe& recipe, const SoundFont* font);

// Writes `folder`/OIP/Quor.xml, `folder`/Raw/*.raw and `folder`/quor_prop1.prn, and with
// recorded instruments the recordings' licence. False (with a reason in *error) when a file
// can't be written or the catalogue is too large.
bool buildLibrary(const std::vector<InstrumentRecipe>& instruments, const SoundFont* font,
                  const std::string& folder, LibraryReport* report, std::string* error);

}  // namespace makelib
