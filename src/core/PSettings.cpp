#include "core/PSettings.h"

#include <cstring>
#include <string_view>

#include "engine/KernelChoice.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kDataFolderName = "Quor-Data";

bool concat(char* out, std::size_t capacity, std::string_view a, std::string_view b) {
    if (a.size() + b.size() + 1 > capacity) return false;
    if (!a.empty()) std::memmove(out, a.data(), a.size());
    if (!b.empty()) std::memmove(out + a.size(), b.data(), b.size());
    out[a.size() + b.size()] = 0;
    return true;
}

// The path up to and including its last separator; empty when there is none.
std::string_view folderOf(std::string_view path, char separator) {
    std::size_t cut = path.rfind(separator);
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':';
}

}  // namespace

bool PSettings::combinePluginPath(const char* modulePath, const char* value, char separator,
                                  char* out, std::size_t capacity) {
    std::string_view module(modulePath ? modulePath : "");
    std::string_view v(value ? value : "");
    if (separator == '\\') {
        bool absolute = hasDrive(v) || v.substr(0, 2) == "\\\\";
        if (absolute) return concat(out, capacity, v, {});
        if (v.substr(0, 1) == "\\" && hasDrive(module)) {
            return concat(out, capacity, module.substr(0, 2), v);
        }
    } else if (v.substr(0, 1) == std::string_view(&separator, 1)) {
        return concat(out, capacity, v, {});
    }
    return concat(out, capacity, folderOf(module, separator), v);
}

PSettings::PSettings(const char* modulePath) {
    std::string_view module(modulePath ? modulePath : "");
    // The settings file: the module path with its extension ("dll", "so") replaced by "ini".
    std::size_t nameStart = folderOf(module, platform::kPathSeparator).size();
    std::size_t dot = module.rfind('.');
    if (dot != std::string_view::npos && dot >= nameStart) {
        concat(settingsFile_, sizeof settingsFile_, module.substr(0, dot + 1), "ini");
    } else {
        concat(settingsFile_, sizeof settingsFile_, module, ".ini");
    }

    char value[kPathCapacity];
    std::size_t got = platform::readProfileString(
        settingsFile_, kSection, "PluginPath", modulePath ? modulePath : "", value, sizeof value);
    // An empty entry counts as no entry.
    const char* chosen = got > 0 ? value : (modulePath ? modulePath : "");
    char combined[kPathCapacity];
    if (!combinePluginPath(modulePath, chosen, platform::kPathSeparator, combined,
                           sizeof combined) ||
        !platform::fullPath(combined, pluginPath_, sizeof pluginPath_)) {
        concat(pluginPath_, sizeof pluginPath_, module, {});
    }

    std::string_view folder = folderOf(pluginPath_, platform::kPathSeparator);
    char data[kPathCapacity];
    if (concat(data, sizeof data, folder, kDataFolderName)) {
        concat(dataFolder_, sizeof dataFolder_, data,
               std::string_view(&platform::kPathSeparator, 1));
    }

    platform::CpuFeatures cpu = platform::cpuFeatures();
    int defaultNoMmx = (cpu.fpu || cpu.sse2) ? 0 : 1;
    noMmx_ = platform::readProfileInt(settingsFile_, kSection, "NoMMX", defaultNoMmx) != 0;
    voiceLanes_ = supportedVoiceLanes(
        platform::readProfileInt(settingsFile_, kSection, "VoiceLanes", -1), cpu.avx2);
}

const PSettings& PSettings::shared() {
    static const PSettings settings = [] {
        char module[kPathCapacity] = {};
        platform::modulePath(module, sizeof module);
        return PSettings(module);
    }();
    return settings;
}
