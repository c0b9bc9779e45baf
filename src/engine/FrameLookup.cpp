#include "engine/FrameLookup.h"

#include <emmintrin.h>

#include "engine/KernelChoice.h"

namespace {

constexpr float kScale = 3.0517e-05f;  // about 1/32768
constexpr int kEmphasisOrder = 10;     // the only order whose emphasis sets are read

// Which frames to read and how to blend them.
struct FrameChoice {
    const std::int16_t* first;
    const std::int16_t* second;  // equals first when a single frame is read
    float u;                     // weight of the second frame
};

FrameChoice chooseFrames(const std::int16_t* frames, int frameCount, float position) {
    const float f = (0.99f - position) * static_cast<float>(frameCount);
    if (!(f > 0.0f)) return {frames, frames, 0.0f};  // also catches a NaN position
    if (f >= static_cast<float>(frameCount - 1)) {
        const std::int16_t* last = frames + (frameCount - 1) * kFrameValues;
        return {last, last, 0.0f};
    }
    const int i = static_cast<int>(f);
    const std::int16_t* first = frames + i * kFrameValues;
    return {first, first + kFrameValues, f - static_cast<float>(i)};
}

// Emphasis amount e (0..1) and the offset of the emphasis set in a frame, or e = 0.
struct Emphasis {
    float amount;
    int set;
};

Emphasis emphasisFor(float parameter, int order) {
    float e = parameter * 2.0f - 1.0f;
    if (order != kEmphasisOrder || e == 0.0f || e != e) return {0.0f, 0};
    if (e > 0.0f) return {e, 16};
    return {-e, 32};
}

void applyFloor(float* destination, int count) {
    for (int j = 0; j < count; ++j) {
        const float v = destination[j];
        if (v < kCoefficientFloor && v > -kCoefficientFloor) destination[j] = kCoefficientFloor;
    }
}

// The portable blend of one coefficient.
float blendPortable(const FrameChoice& c, const Emphasis& e, int j) {
    const bool single = c.first == c.second;
    if (e.amount != 0.0f) {
        const float a = c.first[j] * (1.0f - e.amount) + c.first[e.set + j] * e.amount;
        if (single) return a;
        const float b = c.second[e.set + j] * e.amount + c.second[j] * (1.0f - e.amount);
        return a + (b - a) * c.u;
    }
    if (single) return c.first[j];
    return c.first[j] + (c.second[j] - c.first[j]) * c.u;
}

// Four int16 values widened to floats.
inline __m128 loadFour(const std::int16_t* p) {
    const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    return _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16));
}

}  // namespace

void frameLookupPortable(float* destination, const std::int16_t* frames, int frameCount, int order,
                         float position, float emphasis) {
    const FrameChoice choice = chooseFrames(frames, frameCount, position);
    const Emphasis e = emphasisFor(emphasis, order);
    for (int j = 0; j <= order; ++j) destination[j] = blendPortable(choice, e, j) * kScale;
    applyFloor(destination, order + 1);
}

void frameLookupSse2(float* destination, const std::int16_t* frames, int frameCount, int order,
                     float position, float emphasis) {
    const Emphasis e = emphasisFor(emphasis, order);
    if (e.amount == 0.0f) {
        // Without emphasis both versions read the plain sets the same way.
        frameLookupPortable(destination, frames, frameCount, order, position, emphasis);
        return;
    }
    const FrameChoice c = chooseFrames(frames, frameCount, position);
    const __m128 amount = _mm_set1_ps(e.amount);
    const __m128 rest = _mm_set1_ps(1.0f - e.amount);
    const __m128 u = _mm_set1_ps(c.u);
    const __m128 scale = _mm_set1_ps(kScale);
    const bool single = c.first == c.second;
    for (int j = 0; j < 12; j += 4) {
        const __m128 a = _mm_add_ps(_mm_mul_ps(loadFour(c.first + j), rest),
                                    _mm_mul_ps(loadFour(c.first + e.set + j), amount));
        __m128 value = a;
        if (!single) {
            const __m128 b = _mm_add_ps(_mm_mul_ps(loadFour(c.second + e.set + j), amount),
                                        _mm_mul_ps(loadFour(c.second + j), rest));
            value = _mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), u));
        }
        _mm_storeu_ps(destination + j, _mm_mul_ps(value, scale));
    }
    applyFloor(destination, 12);
}

void frameLookup(float* destination, const std::int16_t* frames, int frameCount, int order,
                 float position, float emphasis) {
    if (noMMX() != 0) {
        frameLookupPortable(destination, frames, frameCount, order, position, emphasis);
    } else {
        frameLookupSse2(destination, frames, frameCount, order, position, emphasis);
    }
}
