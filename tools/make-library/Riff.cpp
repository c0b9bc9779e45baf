#include "Riff.h"

#include <cstring>

namespace makelib {

bool MemorySource::read(std::uint64_t offset, void* destination, std::size_t size) const {
    if (offset > size_ || size > size_ - offset) return false;
    if (size > 0) std::memcpy(destination, data_ + offset, size);
    return true;
}

FileSource::FileSource(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {
    if (file_ && std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
}

FileSource::~FileSource() {
    if (file_) std::fclose(file_);
}

bool FileSource::read(std::uint64_t offset, void* destination, std::size_t size) const {
    if (!file_ || offset > size_ || size > size_ - offset) return false;
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(destination, 1, size, file_) == size;
}

bool readChunks(const ByteSource& source, std::uint64_t from, std::uint64_t size,
                std::vector<Chunk>* chunks, std::string* error) {
    chunks->clear();
    const std::uint64_t end = from + size;
    std::uint64_t at = from;
    while (end - at >= 8) {
        std::uint8_t header[12];
        if (!source.read(at, header, 8)) {
            *error = "chunk header at byte " + std::to_string(at) + " lies beyond the file's end";
            return false;
        }
        Chunk chunk;
        chunk.id.assign(reinterpret_cast<const char*>(header), 4);
        chunk.size = header[4] | header[5] << 8 | header[6] << 16 |
                     static_cast<std::uint64_t>(header[7]) << 24;
        chunk.offset = at + 8;
        if (chunk.size > end - chunk.offset) {
            *error = "chunk \"" + chunk.id + "\" at byte " + std::to_string(at) + " claims " +
                     std::to_string(chunk.size) + " bytes, more than its container holds";
            return false;
        }
        if (chunk.id == "RIFF" || chunk.id == "LIST") {
            if (chunk.size < 4 || !source.read(chunk.offset, header + 8, 4)) {
                *error = "list chunk at byte " + std::to_string(at) + " has no type";
                return false;
            }
            chunk.listType.assign(reinterpret_cast<const char*>(header + 8), 4);
            chunk.offset += 4;
            chunk.size -= 4;
        }
        chunks->push_back(chunk);
        // Bodies of odd size are followed by a pad byte.
        const std::uint64_t padded =
            (chunk.listType.empty() ? 0 : 4) + chunk.size + (chunk.size & 1);
        at += 8 + padded;
        if (at > end) break;  // a missing pad byte at the very end is harmless
    }
    return true;
}

const Chunk* findChunk(const std::vector<Chunk>& chunks, const std::string& id,
                       const std::string& listType) {
    for (const Chunk& chunk : chunks) {
        if (chunk.id == id && (listType.empty() || chunk.listType == listType)) return &chunk;
    }
    return nullptr;
}

}  // namespace makelib
