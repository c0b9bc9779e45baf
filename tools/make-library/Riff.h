// RIFF chunk walking over a byte source that may be a file of a hundred megabytes or a buffer
// in memory. Every chunk's extent is checked against its parent before anything is read, so a
// damaged size can neither send a read outside the source nor ask for a giant allocation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace makelib {

// Random-access bytes: a read either delivers all `size` bytes or fails.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    virtual bool read(std::uint64_t offset, void* destination, std::size_t size) const = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* destination, std::size_t size) const override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool isOpen() const { return file_ != nullptr; }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* destination, std::size_t size) const override;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

struct Chunk {
    std::string id;            // four characters
    std::string listType;      // for "RIFF" and "LIST" chunks, the four characters after the size
    std::uint64_t offset = 0;  // of the body (after the list type for lists)
    std::uint64_t size = 0;    // of the body
};

// The chunks that follow each other in [from, from + size) of the source. False (with a reason)
// when a chunk header or body does not fit there.
bool readChunks(const ByteSource& source, std::uint64_t from, std::uint64_t size,
                std::vector<Chunk>* chunks, std::string* error);

// The first chunk with this id (and list type, when given); nullptr when there is none.
const Chunk* findChunk(const std::vector<Chunk>& chunks, const std::string& id,
                       const std::string& listType = "");

}  // namespace makelib
