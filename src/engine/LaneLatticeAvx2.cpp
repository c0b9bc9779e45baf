// The lane lattice in AVX2, eight voices per register. This file alone is compiled for AVX2
// (see src/CMakeLists.txt); it holds nothing but the kernel, which runs only where the processor
// reports AVX2.
#include <immintrin.h>

#include "engine/LaneLattice.h"

namespace {
struct Vec {
    using T = __m256;
    static T load(const float* p) { return _mm256_load_ps(p); }
    static void store(float* p, T v) { _mm256_store_ps(p, v); }
    static T set1(float v) { return _mm256_set1_ps(v); }
    static T add(T a, T b) { return _mm256_add_ps(a, b); }
    static T sub(T a, T b) { return _mm256_sub_ps(a, b); }
    static T mul(T a, T b) { return _mm256_mul_ps(a, b); }
    static T min(T a, T b) { return _mm256_min_ps(a, b); }
    static T max(T a, T b) { return _mm256_max_ps(a, b); }
};
}  // namespace

#include "engine/LaneLatticeBody.h"

void laneLatticeAvx2(LaneState& state, const float* x, float* mix, int n) {
    runLaneLattice(state, x, mix, n);
}
