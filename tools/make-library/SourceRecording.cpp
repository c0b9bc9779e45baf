#include "SourceRecording.h"

#include <cmath>
#include <cstdio>

#include "Catalogue.h"
#include "FactoryBank.h"
#include "HeldRecording.h"
#include "LibraryBuilder.h"
#include "WavWriter.h"

namespace makelib {
namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "make-library: %s\n", message.c_str());
    return 1;
}

}  // namespace

int writeSourceRecording(const std::string& instrument, const std::string& path,
                         const std::string& soundFontPath, double seconds) {
    const std::vector<InstrumentRecipe> recipes = catalogue();
    std::size_t index = 0;
    while (index < recipes.size() && recipes[index].name != instrument) ++index;
    if (index == recipes.size()) return fail("no instrument named '" + instrument + "'");
    const InstrumentRecipe& recipe = recipes[index];
    if (!recipe.recorded()) return fail(instrument + " is designed, not made from a recording");

    SoundFont font;
    std::string error;
    if (!readSoundFontFile(soundFontPath, &font, &error)) return fail(error);
    const std::vector<RecordedZone> zones = loopedZones(font, recipe.recording);
    if (zones.empty()) return fail(soundFontPath + " holds no looped recording of " + instrument);
    const RecordedZone& zone = zones[zones.size() / 2];

    const int rate = static_cast<int>(std::lround(zone.sampleRate));
    const std::vector<std::int16_t> held =
        heldRecording(font, zone, static_cast<std::size_t>(seconds * rate));
    std::vector<float> samples(held.size());
    for (std::size_t i = 0; i < held.size(); ++i) samples[i] = held[i] / 32768.0f;
    quorrender::WavWriter wav;
    if (!wav.open(path, rate, quorrender::WavFormat::Float32) ||
        !wav.write(samples.data(), samples.data(), samples.size()) || !wav.close()) {
        return fail(wav.error());
    }
    const PresetPlace place = plainPresetPlace(index);
    std::printf("make-library: %s recorded at key %ld, %d Hz, %.2f s; plain preset: program %d "
                "preset %d; in %s\n",
                instrument.c_str(), std::lround(zone.pitchKey), rate,
                static_cast<double>(samples.size()) / rate, place.program + 1, place.preset + 1,
                path.c_str());
    return 0;
}

}  // namespace makelib
