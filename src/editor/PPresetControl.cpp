#include "editor/PPresetControl.h"

#include <cstring>
#include <utility>

#include "core/PProgram.h"
#include "editor/EditorColours.h"
#include "editor/POrinMenuScheme.h"
#include "editor/PPresetEditor.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"

namespace {
constexpr int kFont = kNormalFontVerySmall;
constexpr CColor kPlate{17, 19, 23, 255};
constexpr CColor kPlateLight{36, 39, 45, 255};  // the lit lower edge of the plate
constexpr CCoord kTextInset = 8;
}  // namespace

PPresetControl::PPresetControl(const CRect& size, PPresetEditor& presets, CBitmap* background)
    : CView(size), presets_(presets), fontColor_(kEditorInk) {
    setBackground(background);
}

const char* PPresetControl::currentName() const {
    return presets_.currentProgram().editPreset().name();
}

std::string PPresetControl::shownText() const {
    return PPresetEditor::fitText(currentName(), getWidth() - 2 * kTextInset);
}

bool PPresetControl::isDirty() const {
    return CView::isDirty() || drawn_ != currentName();
}

void PPresetControl::draw(CDrawContext* context) {
    if (CBitmap* image = getBackground()) {
        image->draw(context, size);
    } else {
        // A plate with round ends, like the loading indicator beside it.
        const CCoord radius = getHeight() / 2;
        const CDrawMode mode = context->getDrawMode();
        context->setDrawMode(kAntialias);
        for (const auto& [colour, dy] : {std::pair{kPlateLight, 1}, std::pair{kPlate, 0}}) {
            CRect plate = size;
            plate.offset(0, dy);
            plate.bottom -= 1;
            context->setFillColor(colour);
            context->fillEllipse(CRect(plate.left, plate.top, plate.left + 2 * radius, plate.bottom));
            context->fillEllipse(
                CRect(plate.right - 2 * radius, plate.top, plate.right, plate.bottom));
            context->fillRect(CRect(plate.left + radius, plate.top, plate.right - radius,
                                    plate.bottom));
        }
        context->setDrawMode(mode);
    }
    drawn_ = currentName();
    context->setFont(kFont);
    context->setFontColor(fontColor_);
    CRect text = size;
    text.inset(kTextInset, 0);
    context->drawString(shownText().c_str(), text, false, kCenterText);
    setDirty(false);
}

COptionMenu* PPresetControl::makeMenu(COptionMenu* (&groups)[4]) const {
    const PProgram& program = presets_.currentProgram();
    auto* menu = new COptionMenu(size, nullptr, 0);
    POrinMenuScheme::applyTo(*menu);
    for (int g = 0; g < PProgram::kGroupCount; ++g) {
        groups[g] = new COptionMenu(CRect(), nullptr, 0);
        POrinMenuScheme::applyTo(*groups[g]);
        for (int i = 0; i < PPresetEditor::kGroupSize; ++i) {
            const int preset = g * PPresetEditor::kGroupSize + i;
            const bool current = preset == program.currentPreset();
            // The current preset by the name it has now, as the list shows it.
            const char* name =
                current ? program.editPreset().name() : program.preset(preset)->name();
            groups[g]->addEntry(name, -1, current ? long(COptionMenu::kChecked) : 0L);
        }
        menu->addEntry(groups[g], program.groupName(g));
        if (program.currentPreset() / PPresetEditor::kGroupSize == g)
            menu->checkEntry(g, true);
        groups[g]->forget();
    }
    return menu;
}

void PPresetControl::mouse(CDrawContext* context, CPoint&, long buttons) {
    if (!getMouseEnabled()) return;
    if (buttons == -1 && context) buttons = context->getMouseButtons();
    auto* container = static_cast<CViewContainer*>(getParentView());
    if (!(buttons & kLButton) || !container || !container->isContainer()) return;
    COptionMenu* groups[PProgram::kGroupCount];
    COptionMenu* menu = makeMenu(groups);
    // The container holds the menu while it is open; only its popup shows (at least as wide
    // as this control).
    menu->setVisible(false);
    container->addView(menu);
    CRect below = size;
    localToFrame(below);
    if (menu->popup(CPoint(below.left, below.bottom))) {
        long index = -1;
        const COptionMenu* chosen = menu->getLastItemMenu(index);
        for (int g = 0; g < PProgram::kGroupCount; ++g) {
            if (chosen == groups[g]) presets_.choosePreset(g * PPresetEditor::kGroupSize + index);
        }
    }
    container->removeView(menu);
}

bool PPresetControl::hitTest(const CPoint& where, long buttons) const {
    const bool contextClick = buttons != -1 && (isSecondaryClick(buttons) || (buttons & kControl));
    return !contextClick && CView::hitTest(where, buttons);
}

bool PPresetControl::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PPresetControl") == 0) || CView::isTypeOf(type);
}
