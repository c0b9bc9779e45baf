#include <gtest/gtest.h>

#include "PresetCompare.h"
#include "core/PParamDesc.h"
#include "core/PProgram.h"
#include "engine/LfoShapes.h"

namespace {

// Gives every field of a preset a value derived from `seed`, different for every seed.
void fillPreset(PPreset& preset, int seed) {
    for (int i = 0; i < kNumParams; ++i) preset.setValue(i, float((i * 7 + seed) % 100) / 100.0f);
    for (int s = 0; s < PPreset::kSlotCount; ++s) preset.setSlot(s, (s + seed) % 97);
    for (int l = 0; l < PPreset::kIconCount; ++l) preset.setIcon(l, (l + seed) % 33);
    for (int l = 0; l < PPreset::kLfoCount; ++l) {
        preset.setLfoShapeCode(l, 0);
        for (int s = 0; s < PPreset::kLfoStepCount; ++s) preset.setLfoStep(l, s, (s + seed) % 16);
    }
}

}  // namespace

TEST(Program, SelectStoreAndRevert) {
    PProgram program;
    fillPreset(*program.preset(5), 3);
    program.editPreset().setName("Edited");

    program.selectPreset(5, true);
    EXPECT_EQ(program.currentPreset(), 5);
    EXPECT_EQ(program.loadedPreset(), 5);
    EXPECT_STREQ(program.editPreset().name(), "Edited");  // the default preset has no name to give
    PPreset expectedEdit = PPreset::defaultPreset();
    expectedEdit.setName("Edited");
    EXPECT_EQ(presetDifference(program.editPreset(), expectedEdit), "");
    EXPECT_EQ(presetDifference(program.backupPreset(), *program.preset(5)), "");

    program.selectPreset(5, false);
    EXPECT_EQ(presetDifference(program.editPreset(), *program.preset(5)), "");

    const PPreset original = *program.preset(5);
    program.editPreset().setValue(10, 0.123f);
    program.store();
    EXPECT_FLOAT_EQ(program.preset(5)->value(10), 0.123f);

    program.revert();
    EXPECT_EQ(presetDifference(program.editPreset(), original), "");
    EXPECT_EQ(presetDifference(*program.preset(5), original), "");

    program.selectPreset(64, false);
    program.selectPreset(-1, false);
    EXPECT_EQ(program.currentPreset(), 5);
}

TEST(Program, LoadSoundCopiesOnlyTheSound) {
    PProgram program;
    fillPreset(*program.preset(9), 11);
    fillPreset(program.editPreset(), 40);
    program.editPreset().setName("Mine");
    const PPreset before = program.editPreset();
    const PPreset& source = *program.preset(9);

    program.loadSound(9);
    EXPECT_EQ(program.loadedPreset(), 9);
    EXPECT_EQ(program.currentPreset(), 0);

    // Tuning, volume, pan spread, effects, voices, pan, wheel target and icon positions stay.
    auto kept = [](int i) {
        return (i >= 56 && i <= 58) || (i >= 65 && i <= 71) || i == 85 || i == 86 || i == 91 ||
               i >= 93;
    };
    const PPreset& edit = program.editPreset();
    for (int i = 0; i < kNumParams; ++i) {
        EXPECT_EQ(edit.value(i), kept(i) ? before.value(i) : source.value(i)) << i;
    }
    EXPECT_STREQ(edit.name(), "Mine");
    for (int s = 0; s < PPreset::kSlotCount; ++s) EXPECT_EQ(edit.slot(s), before.slot(s));
    for (int l = 0; l < PPreset::kLfoCount; ++l) {
        EXPECT_EQ(edit.icon(l), before.icon(l));
        EXPECT_EQ(edit.lfoShape(l), source.lfoShape(l));
        for (int s = 0; s < 16; ++s) EXPECT_EQ(edit.lfoStep(l, s), source.lfoStep(l, s));
    }

    program.loadSound(64);
    EXPECT_EQ(program.loadedPreset(), 9);
}

TEST(Program, ClipboardIsSharedAndStartsEmpty) {
    PProgram first, second;
    fillPreset(first.editPreset(), 21);
    first.editPreset().setName("Copied");
    const PPreset untouched = second.editPreset();
    EXPECT_FALSE(second.pasteFromClipboard());
    EXPECT_EQ(presetDifference(second.editPreset(), untouched), "");

    first.copyToClipboard();
    first.editPreset().setValue(3, 0.99f);  // later edits do not reach the clipboard
    EXPECT_TRUE(second.pasteFromClipboard());
    EXPECT_STREQ(second.editPreset().name(), "Copied");
    EXPECT_NE(second.editPreset().value(3), 0.99f);
    first.editPreset().setValue(3, second.editPreset().value(3));
    EXPECT_EQ(presetDifference(second.editPreset(), first.editPreset()), "");
}

TEST(Program, LfoShapeRegeneratesStepsUnlessDrawn) {
    PPreset preset;
    preset.setLfoShape(1, kShapeRect);
    for (int s = 0; s < 16; ++s) EXPECT_EQ(preset.lfoStep(1, s), s < 8 ? 0 : 15);
    preset.setLfoStep(1, 3, 9);
    preset.setLfoShape(1, 0);  // a drawn pattern keeps its steps
    EXPECT_EQ(preset.lfoShape(1), 0u);
    EXPECT_EQ(preset.lfoStep(1, 3), 9);
    EXPECT_EQ(preset.lfoStep(1, 8), 15);
    // Other layers are untouched.
    EXPECT_EQ(preset.lfoShape(0), kShapeSine);
}

TEST(Program, SetInEveryPresetReachesAllCopies) {
    PProgram programs[2];
    programs[1].selectPreset(4, false);
    PProgram::setInEveryPreset(programs, 2, kParamMasterTune, 0.3f);
    for (PProgram& program : programs) {
        for (int p = 0; p < PProgram::kPresetCount; ++p) {
            EXPECT_FLOAT_EQ(program.preset(p)->value(kParamMasterTune), 0.3f);
        }
        EXPECT_FLOAT_EQ(program.editPreset().value(kParamMasterTune), 0.3f);
        EXPECT_FLOAT_EQ(program.backupPreset().value(kParamMasterTune), 0.3f);
    }
    EXPECT_FLOAT_EQ(PPreset::defaultPreset().value(kParamMasterTune), 0.3f);
    PPreset::defaultPreset().setValue(kParamMasterTune, paramDesc(kParamMasterTune)->defaultValue);
    EXPECT_FLOAT_EQ(programs[0].preset(0)->value(kParamMasterVolume), 0.8f);
}
