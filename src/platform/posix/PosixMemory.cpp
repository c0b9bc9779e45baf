// Page memory and the memory status on POSIX systems.
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>

#include "platform/Platform.h"

namespace platform {

std::uint64_t availableMemory() {
    struct sysinfo info;
    if (::sysinfo(&info) != 0) return 0;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    std::uint64_t available =
        (static_cast<std::uint64_t>(info.freeram) + info.bufferram + info.freeswap) * unit;
    // An address-space limit, when the process has one, caps what an allocation can get.
    struct rlimit limit;
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < available) {
        available = limit.rlim_cur;
    }
    return available;
}

void* allocatePages(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

void freePages(void* block, std::size_t bytes) {
    if (block && bytes) ::munmap(block, bytes);
}

}  // namespace platform
