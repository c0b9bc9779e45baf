// Common base of Quor's long-lived data objects (paths, streams, pools, tables, LFOs).
//
// It keeps a process-wide count of live objects, and heap objects of its subclasses come from a
// 64-byte aligned counting allocator: the object sits at the first 64-byte boundary at least 24
// bytes into a block of its size + 128 bytes, preceded by the requested size (64-bit), a 32-bit
// zero word and the address of the raw block. A failed request answers null (the new-expression
// then yields null) and raises a process-wide flag that allocationFailed() reports once.
// All counters are atomic: objects are made and destroyed on several threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

class VstPlugObject {
public:
    static constexpr std::size_t kAlignment = 64;
    static constexpr std::size_t kBlockOverhead = 128;

    VstPlugObject();
    VstPlugObject(const VstPlugObject&);
    VstPlugObject& operator=(const VstPlugObject&) = default;
    virtual ~VstPlugObject();

    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* object) noexcept;
    // Subclasses declared with an alignment of up to 64 bytes use the same allocator; a larger
    // alignment is refused like a failed request.
    static void* operator new(std::size_t size, std::align_val_t alignment) noexcept;
    static void operator delete(void* object, std::align_val_t alignment) noexcept;

    // Objects of any subclass alive now (on the heap or not).
    static std::int64_t liveObjects();
    // Blocks handed out by the allocator and not yet returned, and their bytes (size + 128 each).
    static std::int64_t allocatedBlocks();
    static std::int64_t allocatedBytes();
    // True when a request failed since the last call; the flag is cleared by asking.
    static bool allocationFailed();
};
