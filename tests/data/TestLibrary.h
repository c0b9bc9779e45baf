// A throw-away instrument library in a temporary folder, laid out like the one installed beside
// the plug-in: <root>/Quor.so (never written), <root>/Quor-Data/OIP and <root>/Quor-Data/Raw.
// Raw files are built here byte by byte in the documented layouts.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/PLibraryStartup.h"
#include "data/PPool.h"
#include "data/PResourceTable.h"
#include "platform/TempFolder.h"

namespace testlib {

inline void put16(std::string& bytes, std::size_t offset, std::int16_t value) {
    std::memcpy(&bytes[offset], &value, sizeof value);
}
inline void put32(std::string& bytes, std::size_t offset, std::int32_t value) {
    std::memcpy(&bytes[offset], &value, sizeof value);
}

// A base/top file: 16-byte header, then `samples` 16-bit samples (sample i has the value i).
inline std::string sampleFile(int samples, std::int32_t loopStart, std::int32_t loopEnd,
                              std::int16_t startFrame = 0, std::uint8_t version = 10) {
    std::string bytes(16 + 2 * static_cast<std::size_t>(samples), '\0');
    bytes[0] = static_cast<char>(version);
    bytes[2] = 60;  // root key
    bytes[3] = 50;  // no fine tuning
    put16(bytes, 4, startFrame);
    put32(bytes, 8, loopStart);
    put32(bytes, 12, loopEnd);
    for (int i = 0; i < samples; ++i)
        put16(bytes, 16 + 2 * static_cast<std::size_t>(i), static_cast<std::int16_t>(i));
    return bytes;
}

// A filter file: 64-byte header claiming `claimedFrames` frames of order `order`, followed by
// `frames` real frames of 128 bytes.
inline std::string filterFile(int frames, std::int32_t claimedFrames, std::int16_t order = 10) {
    std::string bytes(64 + 128 * static_cast<std::size_t>(frames), '\0');
    bytes[1] = 25;  // gain byte
    put32(bytes, 12, claimedFrames);
    put16(bytes, 38, order);
    for (int f = 0; f < frames; ++f)
        put16(bytes, 64 + 128 * static_cast<std::size_t>(f), static_cast<std::int16_t>(f));
    return bytes;
}

class TestLibrary {
public:
    TestLibrary() : root_(folder_.path()) {
        std::filesystem::create_directories(root_ / "Quor-Data" / "OIP");
        std::filesystem::create_directories(root_ / "Quor-Data" / "Raw");
    }

    std::string pluginPath() const { return (root_ / "Quor.so").string(); }
    std::string dataFolder() const { return (root_ / "Quor-Data").string(); }
    std::string oipFolder() const { return (root_ / "Quor-Data" / "OIP").string(); }
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
    void removeRawFolder() const { std::filesystem::remove_all(root_ / "Quor-Data" / "Raw"); }

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
