#include "LibraryBuilder.h"

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

bool buildLibrary(const std::vector<InstrumentRecipe>& instruments, const std::string& folder,
                  LibraryReport* report, std::string* error) {
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
    const std::vector<ZonePlan> plans = zonePlans();
    for (const InstrumentRecipe& recipe : instruments) {
        InstrumentEntry entry{recipe.name, categoryNames().at(recipe.category), {}};
        const std::vector<ZonePlan> zones =
            recipe.kit ? std::vector<ZonePlan>{kitZonePlan()} : plans;
        for (std::size_t z = 0; z < zones.size(); ++z) {
            const ZoneFiles files = makeZone(recipe, zones[z]);
            const std::uint8_t gain =
                gainByteFor(files.base, files.top, files.frames, recipe.levelDb);
            if (!writer.write("Raw/" + rawName('B', rawNumber), sampleFileBytes(files.base)) ||
                !writer.write("Raw/" + rawName('T', rawNumber), sampleFileBytes(files.top)) ||
                !writer.write("Raw/" + rawName('L', rawNumber),
                              filterFileBytes(gain, files.frames))) {
                return false;
            }
            entry.zones.push_back({zones[z].limit, recipe.kit ? 0 : kZoneTranspose, rawNumber});
            ++rawNumber;
            // The features describe the instrument's middle register.
            if (z == zones.size() / 2) {
                const bool pitched = !recipe.kit && recipe.base.tonal > 0.0;
                features.push_back(measureFeatures(files.base, files.top, files.frames,
                                                   pitched ? keyFrequency(zones[z].rootKey) : 0.0,
                                                   recipe.category));
            }
        }
        entries.push_back(std::move(entry));
        report->instruments += 1;
    }
    return writer.write("OIP/Quor.xml", poolDescriptionXml(entries)) &&
           writer.write("quor_prop1.prn", propertyTableText(features));
}

}  // namespace makelib
