// Field-by-field comparison of presets and programs for the core tests.
#pragma once

#include <cstring>
#include <string>

#include "core/PProgram.h"

// Empty when equal, else the first difference in words.
inline std::string presetDifference(const PPreset& a, const PPreset& b) {
    if (std::strcmp(a.name(), b.name()) != 0) return "name";
    for (int i = 0; i < kNumParams; ++i) {
        if (a.value(i) != b.value(i)) return "value " + std::to_string(i);
    }
    for (int i = 0; i < PPreset::kSlotCount; ++i) {
        if (a.slot(i) != b.slot(i)) return "slot " + std::to_string(i);
    }
    for (int i = 0; i < PPreset::kIconCount; ++i) {
        if (a.icon(i) != b.icon(i)) return "icon " + std::to_string(i);
    }
    for (int l = 0; l < PPreset::kLfoCount; ++l) {
        if (a.lfoShape(l) != b.lfoShape(l)) return "shape " + std::to_string(l);
        for (int s = 0; s < PPreset::kLfoStepCount; ++s) {
            if (a.lfoStep(l, s) != b.lfoStep(l, s)) return "step " + std::to_string(l);
        }
    }
    return "";
}

// Compares what a chunk stores of a program (not the loaded-preset bookkeeping).
inline std::string programDifference(const PProgram& a, const PProgram& b) {
    if (std::strcmp(a.name(), b.name()) != 0) return "program name";
    if (a.currentPreset() != b.currentPreset()) return "current preset";
    for (int g = 0; g < PProgram::kGroupCount; ++g) {
        if (std::strcmp(a.groupName(g), b.groupName(g)) != 0) return "group " + std::to_string(g);
    }
    for (int p = 0; p < PProgram::kPresetCount; ++p) {
        std::string d = presetDifference(*a.preset(p), *b.preset(p));
        if (!d.empty()) return "preset " + std::to_string(p) + ": " + d;
    }
    return "";
}
