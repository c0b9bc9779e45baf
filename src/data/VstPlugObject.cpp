#include "data/VstPlugObject.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<std::int64_t> liveCount{0};
std::atomic<std::int64_t> blockCount{0};
std::atomic<std::int64_t> byteCount{0};
std::atomic<bool> failedFlag{false};

// The 24 bytes just before every object the allocator hands out.
struct BlockHeader {
    std::uint64_t size;
    std::uint32_t zero;
    std::uint32_t padding;
    void* raw;
};
static_assert(sizeof(BlockHeader) == 24);

BlockHeader* headerOf(void* object) {
    return static_cast<BlockHeader*>(object) - 1;
}

}  // namespace

VstPlugObject::VstPlugObject() {
    liveCount.fetch_add(1, std::memory_order_relaxed);
}

VstPlugObject::VstPlugObject(const VstPlugObject&) : VstPlugObject() {}

VstPlugObject::~VstPlugObject() {
    liveCount.fetch_sub(1, std::memory_order_relaxed);
}

void* VstPlugObject::operator new(std::size_t size) noexcept {
    if (size > SIZE_MAX - kBlockOverhead) {
        failedFlag.store(true);
        return nullptr;
    }
    const std::size_t total = size + kBlockOverhead;
    void* raw = std::malloc(total);
    if (!raw) {
        failedFlag.store(true);
        return nullptr;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(raw) + sizeof(BlockHeader);
    const auto aligned = (start + kAlignment - 1) & ~static_cast<std::uintptr_t>(kAlignment - 1);
    void* object = reinterpret_cast<void*>(aligned);
    *headerOf(object) = BlockHeader{size, 0, 0, raw};
    blockCount.fetch_add(1, std::memory_order_relaxed);
    byteCount.fetch_add(static_cast<std::int64_t>(total), std::memory_order_relaxed);
    return object;
}

void VstPlugObject::operator delete(void* object) noexcept {
    if (!object) return;
    const BlockHeader* header = headerOf(object);
    blockCount.fetch_sub(1, std::memory_order_relaxed);
    byteCount.fetch_sub(static_cast<std::int64_t>(header->size + kBlockOverhead),
                        std::memory_order_relaxed);
    std::free(header->raw);
}

void* VstPlugObject::operator new(std::size_t size, std::align_val_t alignment) noexcept {
    if (static_cast<std::size_t>(alignment) > kAlignment) {
        failedFlag.store(true);
        return nullptr;
    }
    return operator new(size);
}

void VstPlugObject::operator delete(void* object, std::align_val_t) noexcept {
    operator delete(object);
}

std::int64_t VstPlugObject::liveObjects() {
    return liveCount.load(std::memory_order_relaxed);
}

std::int64_t VstPlugObject::allocatedBlocks() {
    return blockCount.load(std::memory_order_relaxed);
}

std::int64_t VstPlugObject::allocatedBytes() {
    return byteCount.load(std::memory_order_relaxed);
}

bool VstPlugObject::allocationFailed() {
    return failedFlag.exchange(false);
}
