// The preset page on a headless frame: the curved list's hit areas, selection by the mouse, the
// wheel and the keys, the load marker, renaming, the command buttons, the palette commands and
// the preset name on the window's top bar, driven as a person drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "OpenEditor.h"
#include "core/PProgram.h"
#include "editor/CAutoRemoveTextEdit.h"
#include "editor/CMatrix.h"
#include "editor/IMatrixDef.h"
#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"
#include "editor/POrinDiskDescriptor.h"
#include "editor/PPresetControl.h"
#include "editor/PPresetEditor.h"
#include "editor/PPresetMatrix.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CKickButton.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/FontRenderer.h"

namespace {

VstKeyCode key(unsigned char virt, int character = 0) {
    return VstKeyCode{character, virt, 0};
}

CPoint centre(CRect r) {
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class PresetPage : public OpenEditor {
protected:
    void SetUp() override {
        ticksNow = 5000;
        OpenEditor::SetUp();
        page = static_cast<PPresetEditor*>(editor->page(OrinEditor::kPresetPage));
        ASSERT_EQ(editor->currentPage(), OrinEditor::kPresetPage);
        editor->idle();
    }
    PProgram& program() const { return plugin->currentProgram(); }
    // Window coordinates of a view of the page.
    static CPoint onPage(const CView* view) { return ::onPage(view->getViewSize()); }
    CPoint cell(int row, int column) const {
        CRect r = page->list()->cellRect(row, column);
        r.offset(PPresetEditor::kListLeft + kPageLeft, PPresetEditor::kListTop);
        return centre(r);
    }
    // A press and release too quick for any tracking loop to see the button down.
    void click(const CPoint& at, long buttons = kLButton) { frame->onMouseDown(at, buttons); }
    void press(const VstKeyCode& k) {
        VstKeyCode copy = k;
        editor->onKeyDown(copy);
    }
    void type(const char* text) {
        for (const char* c = text; *c; ++c) press(key(0, *c));
    }
    // Chooses a menu entry with the keys once the press on `at` has opened the menu.
    void chooseFromMenu(const CPoint& at, const std::vector<unsigned char>& keys) {
        for (unsigned char k : keys) window->queueKey(key(k));
        frame->onMouseDown(at, kLButton);
    }
    PPresetEditor* page = nullptr;
};

TEST_F(PresetPage, NameCellsBulgeToTheRightInTheMiddleRows) {
    struct Case {
        int row;
        CCoord x;  // list coordinates
        int column;
    } cases[] = {
        {0, 10, 0},   {0, 185, -1}, {0, 195, 1},  {0, 240, -1},  // the top row is narrow
        {7, 10, -1},  {7, 240, 0},  {7, 252, -1}, {7, 270, 1},   // the middle one bulges
        {8, 240, 0},  {15, 10, 0},  {15, 240, -1},               // the lower half mirrors it
    };
    for (const Case& c : cases)
        EXPECT_EQ(PPresetMatrix::columnAt(c.row, c.x), c.column) << c.row << " " << c.x;
    // Through the window: the same point selects in row 7 and nothing in row 0.
    const CCoord x = PPresetEditor::kListLeft + kPageLeft + 240;
    click(CPoint(x, PPresetEditor::kListTop + 0 * 15 + 7));
    EXPECT_EQ(program().currentPreset(), 0);
    click(CPoint(x, PPresetEditor::kListTop + 7 * 15 + 7));
    EXPECT_EQ(program().currentPreset(), 7);
}

TEST_F(PresetPage, ClicksRightPressesDoubleClicksAndDragsSelect) {
    click(cell(3, 0));
    EXPECT_EQ(program().currentPreset(), 3);
    EXPECT_STREQ(program().editPreset().name(), "Preset 4");
    click(cell(5, 0), kRButton);
    EXPECT_EQ(program().currentPreset(), 5);
    click(cell(9, 0));
    click(cell(9, 0));
    EXPECT_EQ(program().currentPreset(), 9);
    // A drag from row 2 down to row 6 selects each row it enters; the last one stays.
    for (int row = 3; row <= 6; ++row) window->queueMouse(cell(row, 0), kLButton);
    window->queueMouse(cell(6, 0), 0);
    frame->onMouseDown(cell(2, 0), kLButton);
    EXPECT_EQ(program().currentPreset(), 6);
    EXPECT_EQ(program().loadedPreset(), 6);
    EXPECT_TRUE(hostCalls.empty());  // nothing of this is a parameter gesture
}

TEST_F(PresetPage, MarkerLoadsOnlyTheSoundAndShowsWhereItCameFrom) {
    PPreset& source = *program().preset(19);
    source.setValue(3, 0.123f);   // a layer setting: comes along
    source.setValue(57, 0.321f);  // master volume: stays
    source.setSlot(4, 60);
    PPreset& edit = program().editPreset();
    const float volume = edit.value(57);
    const std::int32_t slot = edit.slot(4);
    click(onPage(page->groupButton(1)));
    EXPECT_EQ(page->displayedGroup(), 1);
    click(cell(3, 1));
    EXPECT_EQ(program().loadedPreset(), 19);
    EXPECT_EQ(program().currentPreset(), 0);
    EXPECT_FLOAT_EQ(edit.value(3), 0.123f);
    EXPECT_FLOAT_EQ(edit.value(57), volume);
    EXPECT_EQ(edit.slot(4), slot);
    EXPECT_STREQ(edit.name(), "Preset 1");

    // The marker of row 3 reads "B4" (and row 2's is empty), drawn as the font draws that text.
    auto drawn = [&](int row, const char* expected) {
        const CRect r(0, 0, 40, 15);
        auto* actual = new CBitmap(40, 15);
        auto* wanted = new CBitmap(40, 15);
        page->drawCell(-1, row, 1, std::make_unique<CDrawContext>(nullptr, actual).get(), r);
        auto w = std::make_unique<CDrawContext>(nullptr, wanted);
        w->setFont(kNormalFontVerySmall);
        w->setFontColor(CColor{124, 240, 180, 255});
        w->drawString(expected, r, false, kCenterText);
        const bool same = std::equal(actual->pixels(), actual->pixels() + 40 * 15,
                                     static_cast<const CBitmap*>(wanted)->pixels());
        actual->forget();
        wanted->forget();
        return same;
    };
    EXPECT_TRUE(drawn(3, "B4"));
    EXPECT_TRUE(drawn(2, ""));
}

TEST_F(PresetPage, ControlShiftClickFillsTheSelectionFromTheDefaultSound) {
    program().preset(6)->setValue(10, 0.9f);
    const float builtIn = PPreset::defaultPreset().value(10);
    ASSERT_NE(builtIn, 0.9f);
    click(cell(6, 0), kLButton | kControl | kShift);
    EXPECT_EQ(program().currentPreset(), 6);
    EXPECT_FLOAT_EQ(program().editPreset().value(10), builtIn);
    click(cell(6, 0));
    EXPECT_FLOAT_EQ(program().editPreset().value(10), 0.9f);
}

TEST_F(PresetPage, AltClickRenamesInPlaceCommittingOnEnterAndFocusLoss) {
    struct Case {
        const char* how;
        int row;
        std::function<void()> end;
        const char* name;  // afterwards
    } cases[] = {
        {"enter", 2, [this] { press(key(VKEY_RETURN)); }, "Bass"},
        {"escape", 3, [this] { press(key(VKEY_ESCAPE)); }, "Preset 4"},
        {"a click elsewhere", 4, [this] { click(cell(8, 0)); }, "Bass"},
        // The current preset (8, after the click) is renamed in the edit preset too.
        {"the current preset", 8, [this] { press(key(VKEY_RETURN)); }, "Bass"},
    };
    for (const Case& c : cases) {
        click(cell(c.row, 0), kLButton | kAlt);
        CAutoRemoveTextEdit* field = page->renameField();
        ASSERT_NE(field, nullptr) << c.how;
        EXPECT_TRUE(field->isEditing());
        EXPECT_EQ(frame->getFocusView(), field);
        EXPECT_EQ(field->getText(), "Preset " + std::to_string(c.row + 1));
        type("Bass");  // replaces the whole name, which starts selected
        c.end();
        EXPECT_EQ(page->renameField(), nullptr) << c.how;
        EXPECT_EQ(page->getNbViews(), 11) << c.how;  // the field has gone
        EXPECT_STREQ(program().preset(c.row)->name(), c.name) << c.how;
    }
    EXPECT_EQ(program().currentPreset(), 8);
    EXPECT_STREQ(program().editPreset().name(), "Bass");
}

TEST_F(PresetPage, RenameCommitsToThePresetAndGroupItWasOpenedOver) {
    click(cell(2, 0), kLButton | kAlt);
    type("Keep");
    // Steps to preset 18 (group B) while the field is open; idle applies them.
    for (int i = 0; i < 18; ++i) press(key(VKEY_DOWN));
    ticksNow += PPresetEditor::kStepIntervalMs;
    editor->idle();
    ASSERT_EQ(program().currentPreset(), 18);
    ASSERT_EQ(page->displayedGroup(), 1);
    press(key(VKEY_RETURN));
    EXPECT_STREQ(program().preset(2)->name(), "Keep");
    EXPECT_STREQ(program().preset(18)->name(), "Preset 19");
    EXPECT_STREQ(program().editPreset().name(), "Preset 19");

    // The group name field likewise names the group it was typed over.
    click(onPage(page->groupNameField()));
    ASSERT_TRUE(page->groupNameField()->isEditing());
    type("Strings");
    for (int i = 0; i < 16; ++i) press(key(VKEY_DOWN));
    ticksNow += PPresetEditor::kStepIntervalMs;
    editor->idle();
    ASSERT_EQ(page->displayedGroup(), 2);
    EXPECT_STREQ(program().groupName(1), "Strings");
    EXPECT_STREQ(program().groupName(2), "Group C");
    EXPECT_STREQ(page->groupNameField()->getText(), "Group C");
}

TEST_F(PresetPage, HidingThePageEndsTheRenameAndDropsThePendingStep) {
    click(cell(5, 0), kLButton | kAlt);
    type("Pad");
    editor->showPage(OrinEditor::kLfoPage);
    EXPECT_EQ(page->renameField(), nullptr);
    EXPECT_EQ(page->getNbViews(), 11);
    EXPECT_STREQ(program().preset(5)->name(), "Pad");

    editor->showPage(OrinEditor::kPresetPage);
    frame->onMouseWheel(cell(4, 0), -1.0f);
    EXPECT_TRUE(page->isStepPending());
    editor->showPage(OrinEditor::kGlobalPage);
    ticksNow += PPresetEditor::kStepIntervalMs;
    editor->idle();
    editor->showPage(OrinEditor::kPresetPage);
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 0);  // the step did not survive the page being away
    click(cell(6, 0), kLButton | kAlt);  // and renaming works again
    EXPECT_NE(page->renameField(), nullptr);
}

TEST_F(PresetPage, CopyPasteStoreAndRevert) {
    PPreset& edit = program().editPreset();
    edit.setValue(7, 0.77f);
    click(onPage(page->commandButton(PPresetEditor::kCopy)));
    click(cell(5, 0));
    ASSERT_NE(edit.value(7), 0.77f);
    click(onPage(page->commandButton(PPresetEditor::kPaste)));
    EXPECT_FLOAT_EQ(edit.value(7), 0.77f);
    EXPECT_STREQ(edit.name(), "Preset 1");
    EXPECT_FLOAT_EQ(program().preset(5)->value(7), program().backupPreset().value(7));

    click(onPage(page->commandButton(PPresetEditor::kStore)));
    EXPECT_FLOAT_EQ(program().preset(5)->value(7), 0.77f);
    EXPECT_STREQ(program().preset(5)->name(), "Preset 1");

    click(cell(6, 0));
    const float stored = edit.value(7);
    edit.setValue(7, 0.11f);
    click(onPage(page->commandButton(PPresetEditor::kRevert)));
    EXPECT_FLOAT_EQ(edit.value(7), stored);
    EXPECT_FLOAT_EQ(program().preset(6)->value(7), stored);
    EXPECT_TRUE(hostCalls.empty());  // the buttons' gestures carry no parameter
}

TEST_F(PresetPage, PaletteCommandFromTheMenuReachesTheEditPresetAndThePalette) {
    PPreset& edit = program().editPreset();
    for (int i = 0; i < PPreset::kSlotCount; ++i) edit.setSlot(i, 40 + i);
    edit.setIcon(0, 5);
    edit.setIcon(1, 7);
    edit.setIcon(2, 9);
    plugin->activatePreset(-1);
    editor->idle();
    // "Center icons" is the second entry.
    chooseFromMenu(onPage(page->paletteMenu()), {VKEY_DOWN, VKEY_DOWN, VKEY_RETURN});
    EXPECT_EQ(edit.icon(0), 0);
    EXPECT_EQ(edit.icon(1), 1);
    EXPECT_EQ(edit.icon(2), 2);
    EXPECT_EQ(edit.slot(0), 45);
    EXPECT_EQ(edit.slot(1), 47);
    EXPECT_EQ(edit.slot(2), 49);
    // The palette's icons went to their new sectors at once.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(editor->paletteModel().pointer(i)->sector()->id(), i);
    EXPECT_EQ(page->paletteMenu()->getCurrent(), -1);  // the field keeps its prompt

    // Counted past the separators, "Copy" is command 8 and "Paste into blank" command 9, which
    // fills empty slots from the slot clipboard.
    chooseFromMenu(onPage(page->paletteMenu()),
                   {VKEY_UP, VKEY_UP, VKEY_RETURN});  // "Copy"
    edit.setSlot(20, PPreset::kEmptySlot);
    chooseFromMenu(onPage(page->paletteMenu()), {VKEY_UP, VKEY_RETURN});
    EXPECT_EQ(edit.slot(20), 60);
}

TEST_F(PresetPage, QuickStepsApplyOncePerSecondAndEndOnTheLastOneReached) {
    const CPoint list = cell(4, 0);
    frame->onMouseWheel(list, 1.0f);  // up from the first preset: nothing to step to
    EXPECT_FALSE(page->isStepPending());
    frame->onMouseWheel(list, -1.0f);
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 1);  // the first step after a quiet second: at once
    const std::uint32_t applied = ticksNow;
    // Ten steps within the next second (wheel and keys), each followed by idle passes.
    for (int i = 0; i < 10; ++i) {
        ticksNow = applied + 90 * std::uint32_t(i);
        if (i % 2)
            press(key(VKEY_DOWN));
        else
            frame->onMouseWheel(list, -1.0f);
        editor->idle();
        EXPECT_EQ(program().currentPreset(), 1) << i;
    }
    ticksNow = applied + PPresetEditor::kStepIntervalMs - 1;
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 1);
    ticksNow = applied + PPresetEditor::kStepIntervalMs;
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 11);
    ticksNow += 5000;
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 11);
    frame->onMouseWheel(list, 1.0f);  // wheel up: back one
    press(key(VKEY_UP));
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 9);
    // A click after a step wins; the step is not applied over it later.
    frame->onMouseWheel(list, -1.0f);
    click(cell(2, 0));
    program().editPreset().setValue(7, 0.42f);
    ticksNow += 5000;
    editor->idle();
    EXPECT_EQ(program().currentPreset(), 2);
    EXPECT_FLOAT_EQ(program().editPreset().value(7), 0.42f);
}

TEST_F(PresetPage, TopBarShowsTheEditPresetAndItsMenuSelects) {
    PPresetControl* control = editor->presetControl();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->shownText(), "Preset 1");
    editor->idle();
    EXPECT_FALSE(control->isDirty());
    program().editPreset().setName("A name far too long for the little field on the top bar");
    EXPECT_TRUE(control->isDirty());  // redrawn by the next idle
    const std::string shown = control->shownText();
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(FontRenderer::instance().textWidth(kNormalFontVerySmall, shown.c_str()),
              control->getWidth());
    editor->idle();
    EXPECT_FALSE(control->isDirty());

    // Group B, its third preset.
    chooseFromMenu(centre(control->getViewSize()),
                   {VKEY_DOWN, VKEY_DOWN, VKEY_RIGHT, VKEY_DOWN, VKEY_DOWN, VKEY_RETURN});
    EXPECT_EQ(program().currentPreset(), 18);
    EXPECT_EQ(page->displayedGroup(), 1);
    EXPECT_EQ(control->shownText(), "Preset 19");
    EXPECT_EQ(frame->getModalView(), nullptr);
}

// ---- The generic grid --------------------------------------------------------------------------

struct Report {
    int row, column;
    long mode;
    bool operator==(const Report&) const = default;
};

class RecordingDef : public IMatrixDef {
public:
    int rowCount(long) override { return 6; }
    int columnCount(long) override { return 4; }
    void drawCell(long, int row, int column, CDrawContext* context, const CRect& cell) override {
        context->setFillColor(CColor{std::uint8_t(row * 40), std::uint8_t(column * 60), 200, 255});
        context->fillRect(cell);
    }
    bool clickCell(long, int row, int column, CDrawContext*, long mode, long) override {
        reports.push_back({row, column, mode});
        return false;
    }
    std::vector<Report> reports;
};

TEST(Matrix, ReportsClicksDoubleClicksRightPressesAndCellsEnteredWhileDragging) {
    RecordingDef def;
    CFrame* frame = new CFrame(CRect(0, 0, 200, 200), nullptr, nullptr);
    HeadlessWindow* window = frame->headless();
    // 4 columns of 20 and 3 visible rows of 10 at (10, 20), the second row first.
    auto* grid = new CMatrix(CRect(10, 20, 90, 50), &def, 7, 3,
                             CMatrix::kDoubleClicks | CMatrix::kWheelScrolls);
    grid->setFirstVisibleRow(1);
    frame->addView(grid);
    auto at = [](int row, int column) { return CPoint(10 + column * 20 + 5, 20 + row * 10 + 5); };

    window->queueMouse(at(0, 1), 0);
    window->queueMouse(at(0, 1), kLButton);  // the second press of a double click
    frame->onMouseDown(at(0, 1), kLButton);
    frame->onMouseDown(at(2, 3), kRButton);
    window->queueMouse(at(0, 2), kLButton);
    window->queueMouse(at(1, 2), kLButton);
    window->queueMouse(at(1, 2), kLButton);  // still in the same cell: not entered again
    window->queueMouse(CPoint(5, 5), kLButton);  // outside the grid
    window->queueMouse(at(1, 2), kLButton);  // back in
    window->queueMouse(at(1, 2), 0);
    frame->onMouseDown(at(0, 3), kLButton);
    const std::vector<Report> expected = {
        {1, 1, IMatrixDef::kClick},     {1, 1, IMatrixDef::kDoubleClick},
        {3, 3, IMatrixDef::kRightPress}, {1, 3, IMatrixDef::kClick},
        {1, 2, IMatrixDef::kDragEnter}, {2, 2, IMatrixDef::kDragEnter},
        {2, 2, IMatrixDef::kDragEnter}};
    EXPECT_EQ(def.reports, expected);

    // The wheel scrolls by a row within the rows there are; cells move with it.
    EXPECT_EQ(grid->cellRect(1, 2), CRect(40, 0, 60, 10));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(frame->onMouseWheel(at(0, 0), -1.0f));
    EXPECT_EQ(grid->firstVisibleRow(), 3);
    grid->setPadding(2);
    EXPECT_EQ(grid->cellRect(4, 2), CRect(42, 12, 58, 18));
    // Cells are drawn in their rectangles from the first visible row, in the view's place.
    frame->invalidRect(frame->getViewSize());
    frame->idle();
    const CColor row4column2 = frame->getBackBuffer()->getPixel(10 + 2 * 20 + 10, 20 + 15);
    EXPECT_EQ(row4column2, (CColor{160, 120, 200, 255}));
    frame->forget();
}

}  // namespace
