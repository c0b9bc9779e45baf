// The lane lattice and the layers' stepping in AVX2, eight voices per register. This file alone is
// compiled for AVX2 (see src/CMakeLists.txt); it holds nothing but the kernel, which runs only
// where the processor reports AVX2.
#include <immintrin.h>

#include "engine/LaneKernel.h"

namespace {
struct Vec {
    using T = __m256;
    static T load(const float* p) { return _mm256_load_ps(p); }
    static T loadInts(const std::int32_t* p) {
        return _mm256_cvtepi32_ps(_mm256_load_si256(reinterpret_cast<const __m256i*>(p)));
    }
    static void store(float* p, T v) { _mm256_store_ps(p, v); }
    static T set1(float v) { return _mm256_set1_ps(v); }
    static T add(T a, T b) { return _mm256_add_ps(a, b); }
    static T sub(T a, T b) { return _mm256_sub_ps(a, b); }
    static T mul(T a, T b) { return _mm256_mul_ps(a, b); }
    static T min(T a, T b) { return _mm256_min_ps(a, b); }
    static T max(T a, T b) { return _mm256_max_ps(a, b); }
};
struct IVec {
    using T = __m256i;
    static constexpr int kWidth = 8;
    static T load(const std::int32_t* p) {
        return _mm256_load_si256(reinterpret_cast<const T*>(p));
    }
    static void store(std::int32_t* p, T v) { _mm256_store_si256(reinterpret_cast<T*>(p), v); }
    static T add(T a, T b) { return _mm256_add_epi32(a, b); }
    static T sub(T a, T b) { return _mm256_sub_epi32(a, b); }
    static T shiftRight8(T a) { return _mm256_srli_epi32(a, 8); }
    static T shiftRightSigned16(T a) { return _mm256_srai_epi32(a, 16); }
    static T bitAnd(T a, T b) { return _mm256_and_si256(a, b); }
    static T bitOr(T a, T b) { return _mm256_or_si256(a, b); }
    static T andNot(T a, T b) { return _mm256_andnot_si256(a, b); }
    static T greater(T a, T b) { return _mm256_cmpgt_epi32(a, b); }
};
}  // namespace

#include "engine/LaneKernelBody.h"

void laneLatticeAvx2(LaneState& group, const LaneScratch& scratch, float* mix, int n) {
    runLaneLattice(group, scratch, mix, n);
}

void laneStepAvx2(LaneState& group, LaneScratch& scratch, int n) {
    stepLayers<8>(group, scratch, n);
}
