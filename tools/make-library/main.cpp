// make-library: writes the bundled instrument library.
//   make-library <output folder> [--instruments N]
// creates <output folder>/Quor-Data with everything the plug-in reads from it. With --instruments
// (the first N of the catalogue, for quick tests) the factory bank, which uses the whole
// catalogue, is left out.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "Catalogue.h"
#include "FactoryBank.h"
#include "LibraryBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--instruments") == 0)) {
        std::fprintf(stderr, "usage: make-library <output folder> [--instruments N]\n");
        return 2;
    }
    const std::vector<makelib::InstrumentRecipe> catalogue = makelib::catalogue();
    std::vector<makelib::InstrumentRecipe> instruments = catalogue;
    if (argc == 4) {
        int count = 0;
        const char* end = argv[3] + std::strlen(argv[3]);
        const auto result = std::from_chars(argv[3], end, count);
        if (result.ec != std::errc() || result.ptr != end || count < 1) {
            std::fprintf(stderr, "make-library: --instruments needs a positive number\n");
            return 2;
        }
        if (static_cast<std::size_t>(count) < instruments.size()) instruments.resize(count);
    }
    const std::string folder = std::string(argv[1]) + "/Quor-Data";
    const auto start = std::chrono::steady_clock::now();
    makelib::LibraryReport report;
    std::string error;
    if (!makelib::buildLibrary(instruments, folder, &report, &error)) {
        std::fprintf(stderr, "make-library: %s\n", error.c_str());
        return 1;
    }
    const bool complete = instruments.size() == catalogue.size();
    if (complete && !makelib::writeFactoryBank(catalogue, folder + "/quor2def.fxb", &error)) {
        std::fprintf(stderr, "make-library: %s\n", error.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("make-library: %d instruments, %d files, %.1f MB%s in %s (%.1f s)\n",
                report.instruments, report.files, report.bytes / 1e6,
                complete ? " and the factory bank" : "", folder.c_str(), seconds);
    return 0;
}
