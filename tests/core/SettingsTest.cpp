#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/PSettings.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

std::string combine(const char* module, const char* value, char separator) {
    char out[PSettings::kPathCapacity];
    if (!PSettings::combinePluginPath(module, value, separator, out, sizeof out)) return "<none>";
    return out;
}

}  // namespace

TEST(Settings, PluginPathRulesWithBackslashes) {
    const char* module = "C:\\Hosts\\Plugins\\Quor.dll";
    EXPECT_EQ(combine(module, "..\\Other\\x.dll", '\\'), "C:\\Hosts\\Plugins\\..\\Other\\x.dll");
    EXPECT_EQ(combine(module, "Sub\\x.dll", '\\'), "C:\\Hosts\\Plugins\\Sub\\x.dll");
    EXPECT_EQ(combine(module, "\\Shared\\x.dll", '\\'), "C:\\Shared\\x.dll");
    EXPECT_EQ(combine(module, "D:\\Lib\\x.dll", '\\'), "D:\\Lib\\x.dll");
    EXPECT_EQ(combine(module, "\\\\server\\x.dll", '\\'), "\\\\server\\x.dll");
    // Without a drive in the module path a leading backslash also counts as relative.
    EXPECT_EQ(combine("\\\\srv\\p\\Quor.dll", "\\x.dll", '\\'), "\\\\srv\\p\\\\x.dll");
}

TEST(Settings, PluginPathRulesWithSlashes) {
    const char* module = "/opt/hosts/plugins/Quor.so";
    EXPECT_EQ(combine(module, "../other/x.so", '/'), "/opt/hosts/plugins/../other/x.so");
    EXPECT_EQ(combine(module, "/srv/lib/x.so", '/'), "/srv/lib/x.so");
    EXPECT_EQ(combine(module, "C:x.so", '/'), "/opt/hosts/plugins/C:x.so");
    char small[8];
    EXPECT_FALSE(PSettings::combinePluginPath(module, "x.so", '/', small, sizeof small));
}

TEST(Settings, MissingFileGivesDefaults) {
    TempFolder folder;
    const std::string module = folder.file("Quor.so");
    const PSettings settings(module.c_str());
    EXPECT_EQ(std::string(settings.settingsFile()), folder.file("Quor.ini"));
    EXPECT_EQ(std::string(settings.pluginPath()), module);
    EXPECT_EQ(std::string(settings.dataFolder()),
              folder.file(std::string("Quor-Data") + platform::kPathSeparator));
    platform::CpuFeatures cpu = platform::cpuFeatures();
    EXPECT_EQ(settings.noMmx(), !(cpu.fpu || cpu.sse2));
    EXPECT_EQ(settings.voiceLanes(), cpu.avx2 ? 8 : 4);

    // An empty entry counts as none.
    folder.write("Quor.ini", "[Settings]\r\nPluginPath=\r\n");
    EXPECT_EQ(std::string(PSettings(module.c_str()).pluginPath()), module);
}

TEST(Settings, FileChoosesPathAndKernels) {
    TempFolder folder;
    const char sep = platform::kPathSeparator;
    const std::string module = folder.file(std::string("Plugins") + sep + "Quor.dll");
    std::string relative = std::string("..") + sep + "Other" + sep + "x.dll";
    const std::string ini =
        "[Settings]\r\nPluginPath=" + relative + "\r\nNoMMX=1\r\nVoiceLanes=0\r\n";
    std::filesystem::create_directories(folder.file("Plugins"));
    folder.write(std::string("Plugins") + sep + "Quor.ini", ini);

    const PSettings settings(module.c_str());
    EXPECT_EQ(std::string(settings.pluginPath()),
              folder.file(std::string("Other") + sep + "x.dll"));
    EXPECT_EQ(std::string(settings.dataFolder()),
              folder.file(std::string("Other") + sep + "Quor-Data" + sep));
    EXPECT_TRUE(settings.noMmx());
    EXPECT_EQ(settings.voiceLanes(), 0);
}

TEST(Settings, SettingsFileTakesTheModuleName) {
    const char sep = platform::kPathSeparator;
    const std::string folder = std::string(1, sep) + "a.b" + sep;
    EXPECT_EQ(std::string(PSettings((folder + "Quor.dll").c_str()).settingsFile()),
              folder + "Quor.ini");
    EXPECT_EQ(std::string(PSettings((folder + "Quor").c_str()).settingsFile()),
              folder + "Quor.ini");

    const PSettings& shared = PSettings::shared();
    char module[PSettings::kPathCapacity];
    ASSERT_TRUE(platform::modulePath(module, sizeof module));
    const std::string settings = shared.settingsFile();
    EXPECT_EQ(settings.substr(settings.size() - 4), ".ini");
    EXPECT_EQ(settings.substr(0, settings.rfind(sep)),
              std::string(module).substr(0, std::string(module).rfind(sep)));
}
