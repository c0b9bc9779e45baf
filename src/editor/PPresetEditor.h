// The preset page: the 64 presets of the current program in four groups of 16 on a curved list.
// A click on a name selects that preset (with Control and Shift: its slot filled from the
// built-in default sound); a click on the marker beside it loads only its sound into the edit
// preset; Alt and a click renames it in place. The group buttons switch the group shown, the
// field above them renames it, the buttons below copy, paste, store and revert, and a menu runs
// the palette's slot commands. The wheel over the list and the up and down keys step through
// the presets; a step is applied on idle at most once a second, always to the preset reached
// last, so that quick steps do not load sample material for every preset passed.
//
// The page lives as long as the window; pageHidden() ends what only makes sense while it shows.
#pragma once

#include <cstdint>
#include <string>

#include "editor/IMatrixDef.h"
#include "editor/PEditor.h"

class CAutoRemoveTextEdit;
class CKickButton;
class COnOffButton;
class COptionMenu;
class CTextEdit;
class PPresetMatrix;

class PPresetEditor : public PEditor, public IMatrixDef {
public:
    // Control tags.
    static constexpr long kGroupNameTag = 0;
    static constexpr long kFirstGroupTag = 1;    // 1..4: groups A..D
    static constexpr long kFirstRenameTag = 5;   // 5..20: the rename field over row 0..15
    static constexpr long kFirstCommandTag = 21;  // 21..24: copy, paste, store, revert
    static constexpr long kPaletteMenuTag = 25;
    enum Command { kCopy = 0, kPaste = 1, kStore = 2, kRevert = 3, kCommandCount = 4 };
    static constexpr int kGroupCount = 4;
    static constexpr int kGroupSize = 16;
    // Where the list lies on the page.
    static constexpr CCoord kListLeft = 55;
    static constexpr CCoord kListTop = 90;
    // The shortest time between two applied steps.
    static constexpr std::uint32_t kStepIntervalMs = 1000;

    PPresetEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                  CBitmap* background);
    ~PPresetEditor() override;

    // `text` cut at its end so that it fits in `width` pixels of the 9-pixel font, with "..."
    // appended when anything was cut.
    static std::string fitText(const char* text, int width);

    int displayedGroup() const { return displayedGroup_; }
    void showGroup(int group);
    void showGroupOf(int preset);
    // Selects preset 0..63 as a click on its name does (from the built-in default sound with
    // `fromDefault`), showing its group.
    void choosePreset(int preset, bool fromDefault = false);
    bool isStepPending() const { return pending_; }
    int pendingPreset() const { return pendingIndex_; }
    CAutoRemoveTextEdit* renameField() const { return renameField_; }
    CTextEdit* groupNameField() const { return groupName_; }
    PPresetMatrix* list() const { return list_; }
    COnOffButton* groupButton(int group) const { return groupButtons_[group]; }
    CKickButton* commandButton(Command command) const { return commandButtons_[command]; }
    COptionMenu* paletteMenu() const { return paletteMenu_; }

    // IMatrixDef
    int rowCount(long) override { return kGroupSize; }
    int columnCount(long) override { return 2; }
    void drawCell(long id, int row, int column, CDrawContext* context, const CRect& cell) override;
    bool clickCell(long id, int row, int column, CDrawContext* context, long mode,
                   long buttons) override;

    // PEditor
    void pageIdle() override;
    void updateControls() override;
    void pageHidden() override;

    void valueChanged(CControl* control) override;
    long notify(CView* sender, const char* message) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    bool attached(CView* parent) override;
    bool isTypeOf(const char* type) const override;

protected:
    void drawPageImage(CDrawContext* context) override;

private:
    void createControls();
    // Makes `preset` current (and loaded), applies it and refreshes the window.
    void select(int preset, bool fromDefault);
    // Applies the edit preset again and refreshes the palette and the page.
    void applyEditPreset();
    void openRenameField(int row, int preset);
    void commitRename(const char* text);
    void runCommand(Command command);
    void runPaletteCommand();
    // A step of the wheel or the keys: -1 or +1 from the pending preset.
    void step(int direction);
    void drawName(int row, CDrawContext* context, const CRect& cell);
    void drawMarker(int row, CDrawContext* context, const CRect& cell);

    int displayedGroup_ = -1;
    CTextEdit* groupName_ = nullptr;
    COnOffButton* groupButtons_[kGroupCount] = {};
    PPresetMatrix* list_ = nullptr;
    CKickButton* commandButtons_[kCommandCount] = {};
    COptionMenu* paletteMenu_ = nullptr;
    CBitmap* highlight_ = nullptr;

    // The open rename field and what it renames: the preset shown under it when it opened.
    CAutoRemoveTextEdit* renameField_ = nullptr;
    PProgram* renameProgram_ = nullptr;
    int renamePreset_ = -1;

    // Steps from the wheel and the keys, applied by pageIdle.
    int pendingIndex_ = 0;
    bool pending_ = false;
    std::uint32_t lastApplied_ = 0;
};
