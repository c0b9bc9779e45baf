// Flush-to-zero and denormals-are-zero for the duration of a scope (the SSE control register on
// x86; nothing elsewhere).
#include "platform/Platform.h"

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#define QUOR_HAS_MXCSR 1
#endif

namespace platform {

#if defined(QUOR_HAS_MXCSR)
namespace {
constexpr unsigned kFlushToZero = 0x8000;       // MXCSR bit 15
constexpr unsigned kDenormalsAreZero = 0x0040;  // MXCSR bit 6
}  // namespace

ScopedFlushDenormals::ScopedFlushDenormals() : saved_(_mm_getcsr()) {
    _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero);
}

ScopedFlushDenormals::~ScopedFlushDenormals() {
    _mm_setcsr(saved_);
}
#else
ScopedFlushDenormals::ScopedFlushDenormals() = default;
ScopedFlushDenormals::~ScopedFlushDenormals() = default;
#endif

}  // namespace platform
