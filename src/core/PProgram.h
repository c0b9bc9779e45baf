// One host program: a bank of 64 presets under four group names, the selected (current) preset,
// the edit preset that holds the live parameter values, and a backup of the selected preset.
// All operations run on the user-interface thread; the audio thread only reads (and, through
// MIDI controllers, writes) the edit preset's values.
#pragma once

#include <cstdint>

#include "core/PPreset.h"

class PPropertyMatrix;

class PProgram {
public:
    static constexpr int kNameCapacity = 48;
    static constexpr int kPresetCount = 64;
    static constexpr int kGroupCount = 4;
    static constexpr int kGroupNameCapacity = 128;

    // Named "Init", presets "Preset 1".."Preset 64", groups "Group A".."Group D", preset 0
    // selected.
    PProgram();

    const char* name() const { return name_; }
    void setName(const char* text);          // at most kNameCapacity - 1 characters
    const char* groupName(int group) const;  // null outside 0..3
    void setGroupName(int group, const char* text);

    int currentPreset() const { return currentPreset_; }
    int loadedPreset() const { return loadedPreset_; }

    // Null outside 0..63.
    PPreset* preset(int index);
    const PPreset* preset(int index) const;
    PPreset& editPreset() { return edit_; }
    const PPreset& editPreset() const { return edit_; }
    const PPreset& backupPreset() const { return backup_; }

    // The preset becomes current and loaded; the edit preset becomes a copy of it (or of the
    // built-in default preset without its name), the backup a copy of it. Ignored outside 0..63.
    void selectPreset(int index, bool fromDefault);
    // The current preset takes the edit preset.
    void store();
    // The edit preset and the current preset take the backup.
    void revert();
    // Copies a stored preset's sound (envelopes, LFOs, layer settings) into the edit preset; its
    // name, slots, icons, global settings, effects and icon positions stay.
    void loadSound(int index);

    // The process-wide preset clipboard.
    void copyToClipboard() const;
    bool pasteFromClipboard();  // false (and nothing changes) while the clipboard is empty

    // Palette slot commands 0..9 on the edit preset; 3..6 search the property matrix. False for an
    // unknown command, or for 3..6 without a matrix.
    bool slotCommand(int command, PPropertyMatrix* matrix);

    // Writes one value into every preset, edit and backup preset of the given programs and into
    // the built-in default preset.
    static void setInEveryPreset(PProgram* programs, int count, int index, float value);

private:
    char name_[kNameCapacity] = {};
    std::int32_t currentPreset_ = 0;
    PPreset presets_[kPresetCount];
    char groupNames_[kGroupCount][kGroupNameCapacity] = {};
    std::int32_t loadedPreset_ = 0;
    PPreset edit_;
    PPreset backup_;
};
