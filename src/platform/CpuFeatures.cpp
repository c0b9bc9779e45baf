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
        // AVX2 needs the system to save the vector registers (OSXSAVE, then XCR0 bits 1 and 2).
        const bool osSavesVectors = (ecx & (1u << 27)) != 0 && (ecx & (1u << 28)) != 0;
        unsigned xcr0 = 0, xcr0High = 0;
        if (osSavesVectors) asm volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
        unsigned a7 = 0, b7 = 0, c7 = 0, d7 = 0;  // one output each: the asm writes all four
        if (osSavesVectors && (xcr0 & 6u) == 6u && __get_cpuid_count(7, 0, &a7, &b7, &c7, &d7))
            features.avx2 = (b7 & (1u << 5)) != 0;
    }
#endif
    return features;
}

}  // namespace platform
