#include "LibraryBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Features.h"
#include "FilterTable.h"
#include "Kit.h"
#include "Loudness.h"
#include "PoolDescription.h"
#include "PropertyTable.h"
#include "RawFiles.h"
#include "RecordingAnalysis.h"
#include "RecordingsLicence.h"
#include "SoundFontZones.h"

namespace makelib {
namespace {

constexpr double kBandLimitHz = 19000.0;  // leaves room for a little pitch bend

struct Writer {
    std::filesystem::path folder;
    LibraryReport* report;
    std::string* error;

    bool write(const std::filesystem::path& relative, const void* data, std::size_t size) {
        std::ofstream file(folder / relative, std::ios::binary | std::ios::trunc);
        file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file) {
            *error = "cannot write " + (folder / relative).string();
            return false;
        }
        report->files += 1;
        report->bytes += size;
        return true;
    }
    bool write(const std::filesystem::path& relative, const std::vector<std::uint8_t>& bytes) {
        return write(relative, bytes.data(), bytes.size());
    }
    bool write(const std::filesystem::path& relative, const std::string& text) {
        return write(relative, text.data(), text.size());
    }
};

std::string rawName(char kind, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%05d.raw", kind, number);
    return name;
}

}  // namespace

std::vector<RecordedZone> loopedZones(const SoundFont& font, const RecordingSource& source) {
    const SoundFontPreset* preset = font.findPreset(source.bank, source.program);
    if (!preset) return {};
    std::vector<RecordedZone> looped;
    for (const RecordedZone& zone : recordedZones(font, *preset, 100)) {
        if (zone.looped) looped.push_back(zone);
    }
    return pickZones(looped, kMaxZones);
}

namespace {

std::vector<BuiltZone> recordedInstrument(const InstrumentRecipe& recipe, const SoundFont& font) {
    std::vector<BuiltZone> out;
    for (const RecordedZone& zone : loopedZones(font, recipe.recording)) {
        BuiltZone z;
        z.recorded = true;
        z.plan.limit = zone.keyHigh;
        z.plan.rootKey = static_cast<int>(std::lround(zone.pitchKey));
        // Up to an octave above the root nothing folds back; the top zone's highest keys may.
        const int span = std::clamp(zone.keyHigh - z.plan.rootKey, 0, 12);
        z.plan.bandLimitHz = kBandLimitHz / std::pow(2.0, span / 12.0);
        const Recording recording =
            loadRecording(font, zone, kMaxHeadSeconds, z.plan.bandLimitHz);
        RecordingAnalysis analysis = analyseRecording(recording, kFilterFrames, kExcitationRms);
        // A quiet zone whose gain byte would run out is stored louder, as far as its peaks allow.
        if (gainByteForRms(analysis.latticeRms, recipe.recording.levelDb) == 255)
            analysis = analyseRecording(recording, kFilterFrames, 4.0 * kExcitationRms);
        z.plan.rootKey = recording.rootKey;
        z.files.base = std::move(analysis.base);
        z.files.frames = std::move(analysis.frames);
        z.files.top = synthesizeExcitation(recipe.top, z.plan, kExcitationRms);
        z.gain = gainByteForRms(analysis.latticeRms, recipe.recording.levelDb);
        out.push_back(std::move(z));
    }
    return out;
}

}  // namespace

std::vector<BuiltZone> makeInstrument(const InstrumentRecipe& recipe, const SoundFont* font) {
    if (recipe.recorded() && font) {
        std::vector<BuiltZone> zones = recordedInstrument(recipe, *font);
        if (!zones.empty()) return zones;
    }
    std::vector<BuiltZone> out;
    for (const ZonePlan& plan : recipe.kit ? std::vector<ZonePlan>{kitZonePlan()} : zonePlans()) {
        BuiltZone z;
        z.plan = plan;
        z.files = makeZone(recipe, plan);
        z.gain = gainByteFor(z.files.base, z.files.top, z.files.frames, recipe.levelDb);
        out.push_back(std::move(z));
    }
    return out;
}

ZoneFiles makeZone(const InstrumentRecipe& recipe, const ZonePlan& plan) {
    ZoneFiles z;
    if (recipe.kit) {
        z.base = makeKit(kBaseKitMarkers, kExcitationRms);
        z.top = makeKit(kTopKitMarkers, kExcitationRms);
    } else {
        z.base = synthesizeExcitation(recipe.base, plan, kExcitationRms);
        z.top = synthesizeExcitation(recipe.top, plan, kExcitationRms);
    }
    const double scale =
        std::pow(keyFrequency(plan.rootKey) / keyFrequency(60), recipe.bodyTracking);
    z.frames = makeFilterFrames(scaleFrequencies(recipe.opened, scale),
                                scaleFrequencies(recipe.settled, scale), kFilterFrames);
    return z;
}

ZonePlan kitZonePlan() {
    return {127, 60, kBandLimitHz};
}

std::vector<ZonePlan> zonePlans() {
    std::vector<ZonePlan> plans;
    for (int limit : {40, 52, 64, 76, 88, 100, 127}) {
        const int root = limit == 127 ? 110 : limit - 4;
        plans.push_back({limit, root, kBandLimitHz / std::pow(2.0, (limit - root) / 12.0)});
    }
    return plans;
}

bool buildLibrary(const std::vector<InstrumentRecipe>& instruments, const SoundFont* font,
                  const std::string& folder, LibraryReport* report, std::string* error) {
    *report = LibraryReport{};
    if (instruments.size() > static_cast<std::size_t>(kMaxInstruments)) {
        *error = "too many instruments";
        return false;
    }
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::path(folder) / "OIP", code);
    std::filesystem::create_directories(std::filesystem::path(folder) / "Raw", code);
    if (code) {
        *error = "cannot create " + folder + ": " + code.message();
        return false;
    }
    Writer writer{folder, report, error};
    std::vector<InstrumentEntry> entries;
    std::vector<Features> features;
    int rawNumber = 1;
    for (const InstrumentRecipe& recipe : instruments) {
        InstrumentEntry entry{recipe.name, categoryNames().at(recipe.category), {}};
        const std::vector<BuiltZone> zones = makeInstrument(recipe, font);
        for (std::size_t z = 0; z < zones.size(); ++z) {
            const ZoneFiles& files = zones[z].files;
            if (!writer.write("Raw/" + rawName('B', rawNumber), sampleFileBytes(files.base)) ||
                !writer.write("Raw/" + rawName('T', rawNumber), sampleFileBytes(files.top)) ||
                !writer.write("Raw/" + rawName('L', rawNumber),
                              filterFileBytes(zones[z].gain, files.frames))) {
                return false;
            }
            const int limit = z + 1 == zones.size() ? 127 : zones[z].plan.limit;
            entry.zones.push_back({limit, recipe.kit ? 0 : kZoneTranspose, rawNumber});
            ++rawNumber;
            // The features describe the instrument's middle register.
            if (z == zones.size() / 2) {
                const bool pitched = !recipe.kit && (zones[z].recorded || recipe.base.tonal > 0.0);
                features.push_back(measureFeatures(
                    files.base, files.top, files.frames,
                    pitched ? keyFrequency(zones[z].plan.rootKey) : 0.0, recipe.category));
            }
        }
        entries.push_back(std::move(entry));
        report->instruments += 1;
        report->recorded += !zones.empty() && zones.front().recorded ? 1 : 0;
    }
    return writer.write("OIP/Quor.xml", poolDescriptionXml(entries)) &&
           writer.write("quor_prop1.prn", propertyTableText(features)) &&
           (report->recorded == 0 || writer.write(kRecordingsLicenceFile, recordingsLicence()));
}

}  // namespace makelib
