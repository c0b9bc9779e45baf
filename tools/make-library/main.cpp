// make-library: writes the bundled instrument library.
//   make-library <output folder> [--instruments N] [--soundfont PATH]
// creates <output folder>/Quor-Data with everything the plug-in reads from it. The acoustic
// instruments are analysed from the General MIDI sound bank at PATH (by default where Debian's
// fluid-soundfont-gm package puts it); without it they are designed like the others. With
// --instruments (the first N of the catalogue, for quick tests) the factory bank, which uses the
// whole catalogue, is left out.
//   make-library --recording <instrument> <file.wav> [--soundfont PATH]
// writes instead three seconds of the recording an instrument is made from, held (see
// SourceRecording.h).
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "Catalogue.h"
#include "FactoryBank.h"
#include "LibraryBuilder.h"
#include "SoundFont.h"
#include "SourceRecording.h"

namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

int usage() {
    std::fprintf(stderr,
                 "usage: make-library <output folder> [--instruments N] [--soundfont PATH]\n"
                 "       make-library --recording <instrument> <file.wav> [--soundfont PATH]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--recording") == 0) {
        const bool withFont = argc == 6 && std::strcmp(argv[4], "--soundfont") == 0;
        if (argc != 4 && !withFont) return usage();
        return makelib::writeSourceRecording(argv[2], argv[3],
                                             withFont ? argv[5] : kDefaultSoundFont, 3.0);
    }
    if (argc < 2 || argc % 2 != 0) return usage();
    const std::vector<makelib::InstrumentRecipe> catalogue = makelib::catalogue();
    std::vector<makelib::InstrumentRecipe> instruments = catalogue;
    std::string soundFontPath = kDefaultSoundFont;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--soundfont") == 0) {
            soundFontPath = argv[i + 1];
        } else if (std::strcmp(argv[i], "--instruments") == 0) {
            int count = 0;
            const char* end = argv[i + 1] + std::strlen(argv[i + 1]);
            const auto result = std::from_chars(argv[i + 1], end, count);
            if (result.ec != std::errc() || result.ptr != end || count < 1) {
                std::fprintf(stderr, "make-library: --instruments needs a positive number\n");
                return 2;
            }
            if (static_cast<std::size_t>(count) < instruments.size()) instruments.resize(count);
        } else {
            return usage();
        }
    }
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    makelib::SoundFont font;
    bool haveFont = false;
    if (!std::filesystem::exists(soundFontPath)) {
        std::fprintf(stderr,
                     "make-library: no sound bank at %s (Debian's fluid-soundfont-gm package "
                     "installs it); building the designed instruments alone\n",
                     soundFontPath.c_str());
    } else if (!makelib::readSoundFontFile(soundFontPath, &font, &error)) {
        std::fprintf(stderr, "make-library: %s\n", error.c_str());
        return 1;
    } else {
        haveFont = true;
    }
    const std::string folder = std::string(argv[1]) + "/Quor-Data";
    makelib::LibraryReport report;
    if (!makelib::buildLibrary(instruments, haveFont ? &font : nullptr, folder, &report, &error)) {
        std::fprintf(stderr, "make-library: %s\n", error.c_str());
        return 1;
    }
    const bool complete = instruments.size() == catalogue.size();
    if (complete && !makelib::writeFactoryBank(catalogue, report.recorded > 0,
                                               folder + "/quor2def.fxb", &error)) {
        std::fprintf(stderr, "make-library: %s\n", error.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("make-library: %d instruments (%d from recordings), %d files, %.1f MB%s in %s "
                "(%.1f s)\n",
                report.instruments, report.recorded, report.files, report.bytes / 1e6,
                complete ? " and the factory bank" : "", folder.c_str(), seconds);
    return 0;
}
