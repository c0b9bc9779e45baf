#include "data/FileReader.h"

#include <cstring>

#include "data/VstPlugObject.h"
#include "platform/Platform.h"

namespace {

constexpr std::size_t kPrefix = 16;  // holds the size; keeps the contents 16-byte aligned

}  // namespace

bool readFile(const char* path, std::uint8_t** data, std::uint32_t* size) {
    *data = nullptr;
    *size = 0;
    if (!path || !platform::pathExists(path)) return false;
    std::uint32_t error = 0;
    platform::FileHandle file = platform::openFile(path, platform::kOpenRead, &error);
    if (!file.valid()) return false;
    const std::int64_t length = platform::fileSize(file);
    bool ok = false;
    if (length > 0 && length <= static_cast<std::int64_t>(UINT32_MAX - kPrefix) &&
        static_cast<std::uint64_t>(length) + kPrefix < availableMemory()) {
        const auto bytes = static_cast<std::size_t>(length);
        auto* block = static_cast<std::uint8_t*>(VstPlugObject::operator new(bytes + kPrefix));
        if (block) {
            const auto recorded = static_cast<std::uint32_t>(length);
            std::memcpy(block, &recorded, sizeof recorded);
            if (platform::readFile(file, block + kPrefix, bytes, &error) == length) {
                *data = block + kPrefix;
                *size = recorded;
                ok = true;
            } else {
                VstPlugObject::operator delete(block);
            }
        }
    }
    platform::closeFile(file);
    return ok;
}

std::uint32_t fileDataSize(const std::uint8_t* data) {
    std::uint32_t size = 0;
    if (data) std::memcpy(&size, data - kPrefix, sizeof size);
    return size;
}

void freeFileData(std::uint8_t* data) {
    if (data) VstPlugObject::operator delete(data - kPrefix);
}

std::uint64_t availableMemory() {
    return platform::availableMemory();
}
