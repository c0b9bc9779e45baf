// The plug-in installed in folders whose names lie outside every 8-bit code page (Cyrillic,
// Japanese, Greek and a Latin letter with a blank): the host loads it through such a path, and
// it finds its settings and its library there and plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "host/SineLibrary.h"
#include "hostlib/VstHost.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

const std::string S(1, platform::kPathSeparator);

// Writes the one-instrument library as the data folder `data`. The library writer takes paths
// the C library's way (8-bit code page on Windows), so it writes into a plain folder first.
void copySineLibrary(const std::string& data) {
    TempFolder plain;
    plain.folder("Quor-Data" + S + "OIP");
    plain.folder("Quor-Data" + S + "Raw");
    ASSERT_TRUE(playing::writeSineLibrary(plain.file("Quor-Data")));
    std::filesystem::copy(TempFolder::native(plain.file("Quor-Data")), TempFolder::native(data),
                          std::filesystem::copy_options::recursive);
}

// Loads the module, plays middle C for a quarter second and answers the loudest sample.
float playedPeak(const std::string& module) {
    VstHost host;
    EXPECT_TRUE(host.load(module.c_str())) << host.error();
    if (!host.effect()) return 0.0f;
    host.open();
    host.setSampleRate(44100.0f);
    host.setBlockSize(512);
    host.resume();
    host.noteOn(0, 60, 100);
    std::vector<float> left(512), right(512);
    float peak = 0.0f;
    for (int block = 0; block < 22; ++block) {
        host.process(left.data(), right.data(), 512);
        for (float v : left) peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

TEST(NonLatinFolder, ThePlugInFindsItsLibraryAndPlays) {
    // The data folder beside the module, or (through "PluginPath" in the settings file) in
    // another folder.
    struct Layout {
        const char* moduleFolder;
        const char* dataFolder;
    };
    for (const Layout layout :
         {Layout{"Тест 日本 Ü", "Тест 日本 Ü"}, Layout{"Тест 日本 Ü", "Данные ΑΒΓ"}}) {
        TempFolder temp;
        const std::string folder = temp.folder(layout.moduleFolder);
        copySineLibrary(temp.folder(layout.dataFolder) + "Quor-Data");
        const std::filesystem::path built(QUOR_MODULE_PATH);
        const std::string module = folder + TempFolder::text(built.filename());
        std::filesystem::copy_file(built, TempFolder::native(module));
        if (std::string(layout.dataFolder) != layout.moduleFolder) {
            const std::string value = ".." + S + layout.dataFolder + S + "Quor.dll";
            ASSERT_TRUE(platform::writeProfileString((folder + "Quor.ini").c_str(), "Settings",
                                                     "PluginPath", value.c_str()));
        }
        EXPECT_GT(playedPeak(module), 0.01f) << layout.dataFolder;
    }
}

}  // namespace
