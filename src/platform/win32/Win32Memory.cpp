// Page memory and the memory status on Windows.
#include <windows.h>

#include "platform/Platform.h"

namespace platform {

std::uint64_t availableMemory() {
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullAvailVirtual : 0;
}

void* allocatePages(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    return VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void freePages(void* block, std::size_t) {
    if (block) VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace platform
