#include "engine/LfoShapes.h"

#include <cmath>

#include "engine/EngineRandom.h"
#include "engine/RelaxedFloat.h"

void lfoStepsFromShape(uint32_t shapeCode, uint8_t steps[kLfoSteps]) {
    for (int32_t i = 0; i < kLfoSteps; ++i) {
        int32_t level;
        switch (shapeCode) {
            case kShapeRand:
                level = static_cast<int32_t>(engineRand() / 32767.0 * 15.0);
                break;
            case kShapeRect:
                level = i < 8 ? 0 : kLfoStepMax;
                break;
            case kShapeSaw1:
                level = i;
                break;
            case kShapeSaw2:
                level = kLfoStepMax - i;
                break;
            case kShapeSine:
                level = static_cast<int32_t>(std::sin(i / 15.0f * 6.2831855f) * 8.0f) + 8;
                break;
            default:
                return;
        }
        steps[i] = static_cast<uint8_t>(level);
    }
}

bool buildShapeTable(uint32_t shapeCode, float* table) {
    for (int32_t i = 0; i < kLayerTableSize; ++i) {
        float value;
        switch (shapeCode) {
            case kShapeRect:
                value = i < kLayerTableSize / 2 ? -0.5f : 0.5f;
                break;
            case kShapeSaw1:
                value = (i / 4095.0f * 2.0f - 1.0f) * 0.5f;
                break;
            case kShapeSaw2:
                value = ((4095 - i) / 4095.0f * 2.0f - 1.0f) * 0.5f;
                break;
            case kShapeSine:
                value = std::sin(i / 4095.0f * 6.2831855f) * 0.5f;
                break;
            default:
                return false;
        }
        storeRelaxed(table[i], value);
    }
    return true;
}

void buildLayerTable(uint32_t shapeCode, float* table, const uint8_t steps[kLfoSteps]) {
    if (shapeCode != kShapePattern && shapeCode != kShapeRand && buildShapeTable(shapeCode, table))
        return;
    if (shapeCode != kShapePattern && shapeCode != kShapeRand) return;  // unknown code
    constexpr int32_t kSegment = kLayerTableSize / kLfoSteps;
    auto level = [&](int32_t s) {
        int32_t step = steps[s % kLfoSteps] > kLfoStepMax ? kLfoStepMax : steps[s % kLfoSteps];
        return 2.0f * (static_cast<float>(step) / 15.0f) - 1.0f;
    };
    for (int32_t s = 0; s < kLfoSteps; ++s) {
        float a = level(s);
        float b = level(s + 1);
        for (int32_t j = 0; j < kSegment; ++j)
            storeRelaxed(table[s * kSegment + j], 0.5f * (a + j / 255.0f * (b - a)));
    }
}
