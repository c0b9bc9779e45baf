// The stream interface over a block of memory.
//
// Either the stream owns a block that grows in steps (16384 bytes by default) from the page
// allocator, or it works over a caller's block of fixed length, which it never grows, frees or
// writes past. Reads stop at the used length; positions and sizes are checked for overflow.
// size() and setSize() concern files and answer -1 and false here; length() is the used length.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/FStream.h"

class FMemoryStream : public FStream {
public:
    static constexpr std::size_t kDefaultGrowth = 16384;

    // An empty stream that owns and grows its block.
    FMemoryStream() = default;
    // A stream over `length` bytes at `block`, which stay the caller's.
    FMemoryStream(void* block, std::size_t length);
    ~FMemoryStream() override;

    std::int64_t tell() override { return static_cast<std::int64_t>(position_); }
    void rewind() override { position_ = 0; }
    // whence 0 from the start, 1 from the position, 2 from the used length (a position past the
    // used length is lowered to it). A negative target is refused (-1) and moves nothing.
    std::int64_t seek(std::int64_t offset, int whence) override;
    std::size_t readRaw(void* buffer, std::size_t n) override;
    // A write that the block can't take (a caller's block too short, or no memory to grow)
    // answers 0; a failed growth leaves the stream empty.
    std::size_t writeRaw(const void* buffer, std::size_t n) override;
    bool isOpen() const override { return true; }

    void* memory() const { return block_; }
    std::size_t capacity() const { return capacity_; }
    // The used length: the end of the furthest write (or the caller's block length).
    std::size_t length() const { return length_; }
    // Growth step of an owned block; a step of 0 counts as 1.
    void setGrowth(std::size_t step) { growth_ = step ? step : 1; }

private:
    // Makes the owned block hold at least `needed` bytes; false (and an empty stream) on failure.
    bool grow(std::size_t needed);
    void releaseBlock();

    unsigned char* block_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
    std::size_t position_ = 0;
    std::size_t growth_ = kDefaultGrowth;
    bool ownsBlock_ = true;
};
