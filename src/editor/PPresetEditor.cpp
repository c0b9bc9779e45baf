#include "editor/PPresetEditor.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "core/Orin.h"
#include "core/PProgram.h"
#include "editor/CAutoRemoveTextEdit.h"
#include "editor/EditorColours.h"
#include "editor/OrinEditor.h"
#include "editor/POrinMenuScheme.h"
#include "editor/PPresetMatrix.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/CKickButton.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/FontRenderer.h"

namespace {

constexpr long kFirstGroupBitmap = 201;
constexpr long kFirstCommandBitmap = 205;
constexpr long kHighlightBitmap = 210;

// Page layout.
const CRect kGroupNameRect(42, 44, 167, 56);
const CPoint kGroupButtonsAt(53, 63);
const CRect kListRect(CPoint(PPresetEditor::kListLeft, PPresetEditor::kListTop), 285, 242);
const CPoint kCommandButtonsAt(54, 342);
constexpr CCoord kCommandGap = 2;
const CRect kPaletteMenuRect(33, 370, 144, 383);
// Where each row's number starts, from the list's left edge, by row shape (PPresetMatrix).
constexpr CCoord kNumberIndent[PPresetMatrix::kRows / 2] = {14, 29, 40, 50, 56, 61, 65, 66};
constexpr CCoord kNameGap = 5;       // between the number column and the name
constexpr CCoord kNameEndGap = 10;   // kept free at the name cell's right

constexpr int kFont = kNormalFontVerySmall;
constexpr CColor kMarkInk{124, 240, 180, 255};  // the load marker: the neutral accent, lit
constexpr CColor kFieldFill{15, 17, 21, 255};
constexpr CColor kFieldEdge{111, 184, 148, 255};

constexpr const char* kPaletteCommands[] = {
    "Clean palette", "Center icons", "Load random", "Load category", "-", "Load similar",
    "Load most different", "Load same excitations", "-", "Concentrate", "Copy",
    "Paste into blank"};
constexpr const char* kPaletteMenuPrompt = "Choose a command";

// Buttons on consecutive images and tags side by side from `at`, `gap` pixels apart, each as
// wide as its image and half as high (the image stacks two states).
template <typename Button, std::size_t count>
void addButtonRow(PPresetEditor& page, Button* (&buttons)[count], long firstBitmap, long firstTag,
                  CPoint at, CCoord gap) {
    for (std::size_t i = 0; i < count; ++i) {
        CBitmap* image = new CBitmap(firstBitmap + long(i));
        const CRect rect(at, image->getWidth(), image->getHeight() / 2);
        buttons[i] = new Button(rect, &page, firstTag + long(i), image);
        image->forget();
        page.addView(buttons[i]);
        at.h = rect.right + gap;
    }
}

void styleTextField(CParamDisplay& field) {
    field.setFont(kFont);
    field.setFontColor(kEditorInk);
    field.setHoriAlign(kLeftText);
}

}  // namespace

PPresetEditor::PPresetEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                             CBitmap* background)
    : PEditor(size, frame, plugin, editor, background),
      highlight_(new CBitmap(kHighlightBitmap)),
      lastApplied_(editor.ticks() - kStepIntervalMs) {
    createControls();
}

PPresetEditor::~PPresetEditor() {
    highlight_->forget();
}

void PPresetEditor::createControls() {
    groupName_ = new CTextEdit(kGroupNameRect, this, kGroupNameTag, nullptr, nullptr, kNoFrame);
    styleTextField(*groupName_);
    groupName_->setTransparency(true);  // the field is painted on the background
    addView(groupName_);

    addButtonRow(*this, groupButtons_, kFirstGroupBitmap, kFirstGroupTag, kGroupButtonsAt, 0);
    list_ = new PPresetMatrix(kListRect, this);
    addView(list_);
    addButtonRow(*this, commandButtons_, kFirstCommandBitmap, kFirstCommandTag,
                 kCommandButtonsAt, kCommandGap);

    paletteMenu_ = new COptionMenu(kPaletteMenuRect, this, kPaletteMenuTag, nullptr, kNoFrame);
    POrinMenuScheme::applyTo(*paletteMenu_);
    styleTextField(*paletteMenu_);
    paletteMenu_->setTransparency(true);
    for (const char* entry : kPaletteCommands) paletteMenu_->addEntry(entry);
    addView(paletteMenu_);
}

std::string PPresetEditor::fitText(const char* text, int width) {
    FontRenderer& fonts = FontRenderer::instance();
    std::string fitted = text ? text : "";
    if (fonts.textWidth(kFont, fitted.c_str()) <= width) return fitted;
    while (!fitted.empty() && fonts.textWidth(kFont, (fitted + "...").c_str()) > width)
        fitted.pop_back();
    return fitted + "...";
}

// ---- Groups and selection ----------------------------------------------------------------------

void PPresetEditor::showGroup(int group) {
    if (group < 0 || group >= kGroupCount) return;
    // A group name being typed belongs to the group it was typed over.
    if (groupName_->isEditing()) groupName_->looseFocus();
    const bool changed = group != displayedGroup_;
    if (changed && displayedGroup_ >= 0) {
        groupButtons_[displayedGroup_]->setValue(0.0f);
        groupButtons_[displayedGroup_]->invalid();
    }
    displayedGroup_ = group;
    groupButtons_[group]->setValue(1.0f);
    groupButtons_[group]->invalid();
    if (changed) groupName_->setText(currentProgram().groupName(group));
    list_->invalid();
}

void PPresetEditor::showGroupOf(int preset) {
    if (preset < 0 || preset >= PProgram::kPresetCount) return;
    if (preset / kGroupSize != displayedGroup_) showGroup(preset / kGroupSize);
}

void PPresetEditor::select(int preset, bool fromDefault) {
    currentProgram().selectPreset(preset, fromDefault);
    applyEditPreset();
}

void PPresetEditor::applyEditPreset() {
    plugin_.activatePreset(-1);
    editor_.paletteChanged();
    list_->invalid();
}

void PPresetEditor::choosePreset(int preset, bool fromDefault) {
    if (preset < 0 || preset >= PProgram::kPresetCount) return;
    // The latest choice wins over a step still waiting.
    pending_ = false;
    pendingIndex_ = preset;
    select(preset, fromDefault);
    showGroupOf(preset);
}

void PPresetEditor::step(int direction) {
    const int next = pendingIndex_ + direction;
    if (next < 0 || next >= PProgram::kPresetCount) return;
    pendingIndex_ = next;
    pending_ = true;
}

void PPresetEditor::pageIdle() {
    if (!pending_) {
        pendingIndex_ = currentProgram().currentPreset();
        return;
    }
    const std::uint32_t now = editor_.ticks();
    if (now - lastApplied_ < kStepIntervalMs) return;
    lastApplied_ = now;
    pending_ = false;
    select(pendingIndex_, false);
    showGroupOf(pendingIndex_);
}

// ---- The list ----------------------------------------------------------------------------------

void PPresetEditor::drawCell(long, int row, int column, CDrawContext* context, const CRect& cell) {
    if (displayedGroup_ < 0) return;
    context->setFont(kFont);
    if (column == PPresetMatrix::kNameColumn)
        drawName(row, context, cell);
    else
        drawMarker(row, context, cell);
}

void PPresetEditor::drawName(int row, CDrawContext* context, const CRect& cell) {
    const PProgram& program = currentProgram();
    const int preset = displayedGroup_ * kGroupSize + row;
    const bool current = preset == program.currentPreset();
    if (current) highlight_->draw(context, cell);
    // The edit preset's name for the current preset, so that a rename not yet stored shows.
    const char* name = current ? program.editPreset().name() : program.preset(preset)->name();
    FontRenderer& fonts = FontRenderer::instance();
    const CCoord numberLeft =
        list_->getViewSize().left + kNumberIndent[PPresetMatrix::shapeOf(row)];
    const CCoord numberRight = numberLeft + fonts.textWidth(kFont, "XX");
    char number[12];
    std::snprintf(number, sizeof number, "%d", row + 1);
    context->setFontColor(kEditorCaption);
    context->drawString(number, CRect(numberLeft, cell.top, numberRight, cell.bottom), false,
                        kRightText);
    const CRect nameRect(numberRight + kNameGap, cell.top, cell.right - kNameEndGap, cell.bottom);
    context->setFontColor(kEditorInk);
    context->drawString(fitText(name, nameRect.width()).c_str(), nameRect, false, kLeftText);
}

void PPresetEditor::drawMarker(int row, CDrawContext* context, const CRect& cell) {
    const int loaded = currentProgram().loadedPreset();
    if (loaded % kGroupSize != row) return;
    char mark[16];
    std::snprintf(mark, sizeof mark, "%c%d", 'A' + loaded / kGroupSize, loaded % kGroupSize + 1);
    context->setFontColor(kMarkInk);
    context->drawString(mark, cell, false, kCenterText);
}

bool PPresetEditor::clickCell(long, int row, int column, CDrawContext*, long, long buttons) {
    const int preset = displayedGroup_ * kGroupSize + row;
    if (row < 0 || row >= kGroupSize || preset < 0 || preset >= PProgram::kPresetCount)
        return false;
    if (column == PPresetMatrix::kMarkerColumn) {
        currentProgram().loadSound(preset);
        for (int layer = 0; layer < PPreset::kLfoCount; ++layer) plugin_.rebuildLfoTable(layer);
        list_->invalid();
    } else if ((buttons & kAlt) && !renameField_) {
        openRenameField(row, preset);
    } else {
        choosePreset(preset, (buttons & kControl) && (buttons & kShift));
    }
    return false;
}

// ---- Renaming ----------------------------------------------------------------------------------

void PPresetEditor::openRenameField(int row, int preset) {
    PProgram& program = currentProgram();
    CRect rect = list_->cellRect(row, PPresetMatrix::kNameColumn);
    rect.offset(list_->getViewSize().left, list_->getViewSize().top);
    const char* name =
        preset == program.currentPreset() ? program.editPreset().name() : program.preset(preset)->name();
    renameField_ = new CAutoRemoveTextEdit(rect, this, kFirstRenameTag + row, name);
    styleTextField(*renameField_);
    renameField_->setBackColor(kFieldFill);
    renameField_->setFrameColor(kFieldEdge);
    // The field renames what it was opened over, whatever the list shows when it commits.
    renameProgram_ = &program;
    renamePreset_ = preset;
    addView(renameField_);
    renameField_->takeFocus();
}

void PPresetEditor::commitRename(const char* text) {
    if (!renameProgram_) return;
    if (PPreset* preset = renameProgram_->preset(renamePreset_)) preset->setName(text);
    if (renameProgram_->currentPreset() == renamePreset_) renameProgram_->editPreset().setName(text);
    list_->invalid();
}

// ---- Controls ----------------------------------------------------------------------------------

void PPresetEditor::valueChanged(CControl* control) {
    if (control == groupName_) {
        currentProgram().setGroupName(displayedGroup_, groupName_->getText());
        return;
    }
    if (control == renameField_) {
        commitRename(renameField_->getText());
        return;
    }
    if (control == paletteMenu_) {
        runPaletteCommand();
        return;
    }
    for (int g = 0; g < kGroupCount; ++g) {
        if (control == groupButtons_[g]) {
            showGroup(g);
            return;
        }
    }
    for (int k = 0; k < kCommandCount; ++k) {
        // Kick buttons report their press and their release; the press acts.
        if (control == commandButtons_[k] && control->getValue() == control->getMax()) {
            runCommand(Command(k));
            return;
        }
    }
}

void PPresetEditor::runCommand(Command command) {
    PProgram& program = currentProgram();
    switch (command) {
        case kCopy:
            program.copyToClipboard();
            break;
        case kPaste:
            if (program.pasteFromClipboard()) applyEditPreset();
            break;
        case kStore:
            program.store();
            list_->invalid();
            break;
        case kRevert:
            program.revert();
            applyEditPreset();
            break;
        default:
            break;
    }
}

void PPresetEditor::runPaletteCommand() {
    const long chosen = paletteMenu_->getCurrent();
    if (chosen < 0 || paletteMenu_->isSeparator(chosen)) return;
    // Commands are numbered without the separators.
    int command = 0;
    for (long i = 0; i < chosen; ++i) command += paletteMenu_->isSeparator(i) ? 0 : 1;
    // The field keeps showing its prompt: a command is an action, not a setting.
    paletteMenu_->setCurrent(-1);
    currentProgram().slotCommand(command, plugin_.propertyMatrix());
    applyEditPreset();
}

long PPresetEditor::notify(CView* sender, const char* message) {
    if (!message) return PEditor::notify(sender, message);
    if (sender == renameField_ && std::strcmp(message, CAutoRemoveTextEdit::kRemoveEdit) == 0) {
        renameField_ = nullptr;
        renameProgram_ = nullptr;
        renamePreset_ = -1;
        return kMessageNotified;
    }
    if (sender == list_ && std::strcmp(message, PPresetMatrix::kScrollUp) == 0) {
        step(1);
        return kMessageNotified;
    }
    if (sender == list_ && std::strcmp(message, PPresetMatrix::kScrollDown) == 0) {
        step(-1);
        return kMessageNotified;
    }
    return PEditor::notify(sender, message);
}

long PPresetEditor::onKeyDown(VstKeyCode& key) {
    if (key.virt == VKEY_UP) {
        step(-1);
        return 1;
    }
    if (key.virt == VKEY_DOWN) {
        step(1);
        return 1;
    }
    return PEditor::onKeyDown(key);
}

// ---- Page life ---------------------------------------------------------------------------------

bool PPresetEditor::attached(CView* parent) {
    const bool result = PEditor::attached(parent);
    showGroupOf(currentProgram().currentPreset());
    return result;
}

void PPresetEditor::updateControls() {
    if (displayedGroup_ >= 0 && !groupName_->isEditing())
        groupName_->setText(currentProgram().groupName(displayedGroup_));
    list_->invalid();
}

void PPresetEditor::pageHidden() {
    // Text being typed is committed (as when the focus goes elsewhere); the field goes.
    if (renameField_) renameField_->looseFocus();
    if (groupName_->isEditing()) groupName_->looseFocus();
    pending_ = false;
}

void PPresetEditor::drawPageImage(CDrawContext* context) {
    context->setFont(kFont);
    context->setFontColor(kEditorCaption);
    CRect prompt = kPaletteMenuRect;
    prompt.inset(2, 0);
    context->drawString(kPaletteMenuPrompt, prompt, false, kLeftText);
}

bool PPresetEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PPresetEditor") == 0) || PEditor::isTypeOf(type);
}
