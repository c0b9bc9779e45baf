// A throw-away instrument library in a temporary folder, laid out like the one installed beside
// the plug-in: <root>/Quor.so (never written), <root>/Quor-Data/OIP and <root>/Quor-Data/Raw.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/PLibraryStartup.h"
#include "data/PPool.h"
#include "data/PResourceTable.h"
#include "platform/TempFolder.h"
#include "support/RawFiles.h"

namespace testlib {

// A base/top file: `samples` 16-bit samples (sample i has the value i).
inline std::string sampleFile(int samples, std::int32_t loopStart, std::int32_t loopEnd,
                              std::int16_t startFrame = 0, std::uint8_t version = 10) {
    std::vector<std::int16_t> ramp(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i)
        ramp[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
    return rawfiles::sampleFile(ramp, loopStart, loopEnd)
        .set(rawfiles::kStartFrame, 2, startFrame)
        .set(rawfiles::kVersion, 1, version)
        .bytes(rawfiles::kSampleHeader);
}

// A filter file claiming `claimedFrames` frames of order `order`, followed by `frames` real
// frames whose first value is the frame's number.
inline std::string filterFile(int frames, std::int32_t claimedFrames, std::int16_t order = 10) {
    std::vector<std::int16_t> values(64 * static_cast<std::size_t>(frames));
    for (int f = 0; f < frames; ++f)
        values[64 * static_cast<std::size_t>(f)] = static_cast<std::int16_t>(f);
    return rawfiles::filterFile(values, claimedFrames, order).bytes(rawfiles::kFilterHeader);
}

class TestLibrary {
public:
    TestLibrary() : root_(folder_.path()) {
        std::filesystem::create_directories(root_ / "Quor-Data" / "OIP");
        std::filesystem::create_directories(root_ / "Quor-Data" / "Raw");
    }

    std::string pluginPath() const { return (root_ / "Quor.so").string(); }
    std::string dataFolder() const { return (root_ / "Quor-Data").string(); }
    std::string rawFolder() const { return (root_ / "Quor-Data" / "Raw").string(); }
    std::string rawPath(const std::string& name) const {
        return (root_ / "Quor-Data" / "Raw" / name).string();
    }

    void write(const std::filesystem::path& path, const std::string& bytes) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void writeDescription(const std::string& file, const std::string& xml) const {
        write(root_ / "Quor-Data" / "OIP" / file, xml);
    }
    void writeRaw(const std::string& name, const std::string& bytes) const {
        write(root_ / "Quor-Data" / "Raw" / name, bytes);
    }
    void writeData(const std::string& name, const std::string& bytes) const {
        write(root_ / "Quor-Data" / name, bytes);
    }
    // Writes the three files of numbered zone n: base and top of `samples` samples looping over
    // the second half, and a filter of 4 frames.
    void writeNumbered(int n, int samples = 1000) const {
        char name[32];
        std::snprintf(name, sizeof name, "B%05d.raw", n);
        writeRaw(name, sampleFile(samples, samples / 2, samples - 20));
        std::snprintf(name, sizeof name, "T%05d.raw", n);
        writeRaw(name, sampleFile(samples, samples / 2, samples - 20));
        std::snprintf(name, sizeof name, "L%05d.raw", n);
        writeRaw(name, filterFile(4, 4));
    }

private:
    TempFolder folder_;  // removed with everything in it when the library goes
    std::filesystem::path root_;
};

// The messages the library showed since the last reset, as "title: text".
inline std::vector<std::string>& messages() {
    static std::vector<std::string> shown;
    return shown;
}

inline void recordMessage(const char* text, const char* title) {
    messages().push_back(std::string(title) + ": " + text);
}

// Empties the process-wide pool and resource table before and after each test, and catches the
// messages meant for the user.
inline void resetLibrary() {
    PPool::shared().resetForTests();
    PResourceTable::shared().resetForTests();
    messages().clear();
    setLibraryMessageHandlerForTests(&recordMessage);
}

}  // namespace testlib
