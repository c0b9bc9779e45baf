// Private-profile settings on POSIX systems, through the common ini text reader.
#include <cstring>
#include <new>
#include <string>

#include "platform/Platform.h"
#include "platform/ProfileText.h"

namespace platform {
namespace {

// The whole file, or false when it can't be read. Settings files are small; a larger file is
// not one of ours and is read as absent.
bool readWholeFile(const char* path, std::string* text) {
    constexpr std::int64_t kLargest = 16 << 20;
    FileHandle file = openFile(path, kOpenRead, nullptr);
    if (!file.valid()) return false;
    const std::int64_t size = fileSize(file);
    bool done = false;
    if (size >= 0 && size <= kLargest) {
        text->resize(static_cast<std::size_t>(size));
        done = readFile(file, text->data(), text->size(), nullptr) == size;
    }
    closeFile(file);
    return done;
}

bool lookUp(const char* file, const char* section, const char* key, std::string* text,
            std::string_view* value) {
    try {
        return file && section && key && readWholeFile(file, text) &&
               profile::findValue(*text, section, key, value);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

std::size_t readProfileString(const char* file, const char* section, const char* key,
                              const char* defaultValue, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return 0;
    std::string text;
    std::string_view value = defaultValue ? defaultValue : "";
    lookUp(file, section, key, &text, &value);
    const std::size_t length = value.size() < capacity ? value.size() : capacity - 1;
    std::memcpy(out, value.data(), length);
    out[length] = '\0';
    return length;
}

int readProfileInt(const char* file, const char* section, const char* key, int defaultValue) {
    std::string text;
    std::string_view value;
    if (!lookUp(file, section, key, &text, &value) || value.empty()) return defaultValue;
    return profile::parseInt(value);
}

bool writeProfileString(const char* file, const char* section, const char* key, const char* value) {
    if (!file || !section || !key || !value) return false;
    try {
        std::string text;
        if (pathExists(file) && !readWholeFile(file, &text)) return false;
        const std::string updated = profile::withValue(text, section, key, value);
        FileHandle handle = openFile(file, kOpenWrite, nullptr);
        if (!handle.valid()) return false;
        bool done = writeFile(handle, updated.data(), updated.size(), nullptr) ==
                        static_cast<std::int64_t>(updated.size()) &&
                    truncateFile(handle, nullptr);
        closeFile(handle);
        return done;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace platform
