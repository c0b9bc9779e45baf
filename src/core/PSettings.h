// Where the plug-in finds its files, and the user's settings.
//
// The settings file sits beside the module: the module's path with its extension replaced by
// "ini" (Quor.dll -> Quor.ini, Quor.so -> Quor.ini, Quor -> Quor.ini). Its section "Settings" holds
//   PluginPath  the path from which the data folder is derived; absolute, or relative to the
//               module's folder (default: the module itself)
//   NoMMX       non-zero selects the portable voice kernels (default: 0 when the processor has
//               an FPU or SSE2, else 1)
//   VoiceLanes  with the vector kernels: 0 renders every voice on its own, 4 four voices side by
//               side in SSE2, 8 eight in AVX2 (4 where the processor lacks AVX2); default the
//               widest the processor runs
// The data folder is the folder "Quor-Data" beside the plug-in path.
#pragma once

#include <cstddef>

class PSettings {
public:
    static constexpr std::size_t kPathCapacity = 1024;

    // The settings of this process, resolved from the module's own path on first use (safe
    // from any thread).
    static const PSettings& shared();
    // Settings resolved for a given module path (tests inject one).
    explicit PSettings(const char* modulePath);

    const char* settingsFile() const { return settingsFile_; }
    const char* pluginPath() const { return pluginPath_; }
    // Ends with the path separator.
    const char* dataFolder() const { return dataFolder_; }
    bool noMmx() const { return noMmx_; }
    int voiceLanes() const { return voiceLanes_; }

    // Combines the module path with a PluginPath value by the rules of a platform whose path
    // separator is `separator`, without normalising. With '\\': a value with a drive ("X:") or
    // beginning with two backslashes is taken as is; one beginning with a single backslash keeps
    // the module's drive ("X:" + value) when the module path has one; any other value replaces
    // the module's file name. With '/': a value beginning with '/' is taken as is, any other
    // replaces the module's file name. False when the result does not fit.
    static bool combinePluginPath(const char* modulePath, const char* value, char separator,
                                  char* out, std::size_t capacity);

private:
    char settingsFile_[kPathCapacity] = {};
    char pluginPath_[kPathCapacity] = {};
    char dataFolder_[kPathCapacity] = {};
    bool noMmx_ = false;
    int voiceLanes_ = 4;
};
