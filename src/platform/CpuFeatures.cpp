// Processor features from the CPUID instruction (the same on every x86 platform).
#include "platform/Platform.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace platform {

CpuFeatures cpuFeatures() {
    CpuFeatures features;
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        features.fpu = (edx & (1u << 0)) != 0;
        features.sse2 = (edx & (1u << 26)) != 0;
    }
#endif
    return features;
}

}  // namespace platform
