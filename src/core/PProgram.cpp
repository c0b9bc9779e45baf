#include "core/PProgram.h"

#include <cstdio>
#include <mutex>

#include "core/CopyText.h"
#include "core/PSlotCommands.h"

namespace {

// The preset clipboard, shared by every program of every plug-in instance in the process.
struct PresetClipboard {
    std::mutex lock;
    PPreset preset;
    bool filled = false;
};

PresetClipboard& clipboard() {
    static PresetClipboard instance;
    return instance;
}

// Value ranges that make up a preset's sound, as opposed to its global and effect settings.
struct IndexRange {
    int first, last;
};
constexpr IndexRange kSoundRanges[] = {{0, 55}, {59, 64}, {72, 84}, {87, 90}, {92, 92}};

bool isPresetIndex(int index) {
    return index >= 0 && index < PProgram::kPresetCount;
}

}  // namespace

PProgram::PProgram() {
    setName("Init");
    for (int i = 0; i < kPresetCount; ++i) {
        char text[PPreset::kNameCapacity];
        std::snprintf(text, sizeof text, "Preset %d", i + 1);
        presets_[i].setName(text);
    }
    for (int g = 0; g < kGroupCount; ++g) {
        char text[kGroupNameCapacity];
        std::snprintf(text, sizeof text, "Group %c", 'A' + g);
        setGroupName(g, text);
    }
    selectPreset(0, false);
}

void PProgram::setName(const char* text) {
    copyText(name_, sizeof name_, text);
}

const char* PProgram::groupName(int group) const {
    return (group >= 0 && group < kGroupCount) ? groupNames_[group] : nullptr;
}

void PProgram::setGroupName(int group, const char* text) {
    if (group >= 0 && group < kGroupCount) copyText(groupNames_[group], kGroupNameCapacity, text);
}

PPreset* PProgram::preset(int index) {
    return isPresetIndex(index) ? &presets_[index] : nullptr;
}

const PPreset* PProgram::preset(int index) const {
    return isPresetIndex(index) ? &presets_[index] : nullptr;
}

void PProgram::selectPreset(int index, bool fromDefault) {
    if (!isPresetIndex(index)) return;
    currentPreset_ = loadedPreset_ = index;
    if (fromDefault) {
        edit_.copyFrom(PPreset::defaultPreset(), false);
    } else {
        edit_ = presets_[index];
    }
    backup_ = presets_[index];
}

void PProgram::store() {
    presets_[currentPreset_] = edit_;
    loadedPreset_ = currentPreset_;
}

void PProgram::revert() {
    edit_ = backup_;
    presets_[currentPreset_] = backup_;
    loadedPreset_ = currentPreset_;
}

void PProgram::loadSound(int index) {
    if (!isPresetIndex(index)) return;
    loadedPreset_ = index;
    const PPreset& source = presets_[index];
    for (const IndexRange& range : kSoundRanges) {
        for (int i = range.first; i <= range.last; ++i) edit_.setValue(i, source.value(i));
    }
    for (int layer = 0; layer < PPreset::kLfoCount; ++layer) {
        edit_.setLfoShapeCode(layer, source.lfoShape(layer));
        for (int s = 0; s < PPreset::kLfoStepCount; ++s) {
            edit_.setLfoStep(layer, s, source.lfoStep(layer, s));
        }
    }
}

void PProgram::copyToClipboard() const {
    PresetClipboard& board = clipboard();
    std::lock_guard<std::mutex> guard(board.lock);
    board.preset = edit_;
    board.filled = true;
}

bool PProgram::pasteFromClipboard() {
    PresetClipboard& board = clipboard();
    std::lock_guard<std::mutex> guard(board.lock);
    if (!board.filled) return false;
    edit_ = board.preset;
    return true;
}

bool PProgram::slotCommand(int command, PPropertyMatrix* matrix) {
    return runSlotCommand(edit_, command, matrix);
}

void PProgram::setInEveryPreset(PProgram* programs, int count, int index, float value) {
    for (int p = 0; p < count; ++p) {
        PProgram& program = programs[p];
        for (PPreset& preset : program.presets_) preset.setValue(index, value);
        program.edit_.setValue(index, value);
        program.backup_.setValue(index, value);
    }
    PPreset::defaultPreset().setValue(index, value);
}
