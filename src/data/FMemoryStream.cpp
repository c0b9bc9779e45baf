#include "data/FMemoryStream.h"

#include <cstring>
#include <limits>

#include "platform/Platform.h"

FMemoryStream::FMemoryStream(void* block, std::size_t length)
    : block_(static_cast<unsigned char*>(block)),
      capacity_(block ? length : 0),
      length_(block ? length : 0),
      ownsBlock_(false) {}

FMemoryStream::~FMemoryStream() {
    releaseBlock();
}

void FMemoryStream::releaseBlock() {
    if (ownsBlock_) platform::freePages(block_, capacity_);
    block_ = nullptr;
    capacity_ = length_ = position_ = 0;
}

std::int64_t FMemoryStream::seek(std::int64_t offset, int whence) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t base = 0;
    if (whence == 1) {
        base = static_cast<std::int64_t>(position_);
    } else if (whence == 2) {
        base = static_cast<std::int64_t>(length_);
    } else if (whence != 0) {
        return -1;
    }
    if ((offset > 0 && base > kMax - offset) || base + offset < 0) return -1;
    std::size_t target = static_cast<std::size_t>(base + offset);
    if (whence == 2 && target > length_) target = length_;
    position_ = target;
    return static_cast<std::int64_t>(position_);
}

std::size_t FMemoryStream::readRaw(void* buffer, std::size_t n) {
    if (!block_) return 0;
    const std::size_t available = position_ < length_ ? length_ - position_ : 0;
    if (n > available) n = available;
    if (n == 0) {
        position_ = length_;
        return 0;
    }
    if (!buffer) return 0;
    std::memcpy(buffer, block_ + position_, n);
    position_ += n;
    return n;
}

bool FMemoryStream::grow(std::size_t needed) {
    std::size_t capacity = capacity_ > growth_ ? capacity_ : growth_;
    if (capacity < needed) {
        const std::size_t steps = (needed - capacity + growth_ - 1) / growth_;
        if (steps > (std::numeric_limits<std::size_t>::max() - capacity) / growth_) {
            releaseBlock();
            return false;
        }
        capacity += steps * growth_;
    }
    auto* fresh = static_cast<unsigned char*>(platform::allocatePages(capacity));
    if (!fresh) {
        releaseBlock();
        return false;
    }
    if (block_) std::memcpy(fresh, block_, capacity_);
    platform::freePages(block_, capacity_);
    block_ = fresh;
    capacity_ = capacity;
    return true;
}

std::size_t FMemoryStream::writeRaw(const void* buffer, std::size_t n) {
    if (n == 0 || !buffer) return 0;
    if (n > std::numeric_limits<std::size_t>::max() - position_) return 0;
    const std::size_t end = position_ + n;
    if (end > capacity_ && (!ownsBlock_ || !grow(end))) return 0;
    std::memcpy(block_ + position_, buffer, n);
    position_ = end;
    if (length_ < end) length_ = end;
    return n;
}
