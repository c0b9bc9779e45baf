#include "editor/PEditor.h"

#include <cstring>

#include "core/Orin.h"
#include "editor/CDependent.h"
#include "editor/CValueObject.h"
#include "editor/EditorColours.h"
#include "editor/OrinEditor.h"
#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"

namespace {
// Where page titles go (page coordinates: right of the palette, left of the page buttons).
const CRect kTitleBox(122, 27, 212, 41);

// The value object a control stands for, null for none.
CValueObject* boundValueOf(CControl* control) {
    auto* dependent = dynamic_cast<CDependent*>(control);
    return dependent ? dependent->boundValue() : nullptr;
}
}  // namespace

PEditor::PEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                 CBitmap* background)
    : CEditor(size, frame, &editor, background), plugin_(plugin), editor_(editor) {}

PEditor::~PEditor() {
    if (pageImage_) pageImage_->forget();
}

PProgram& PEditor::currentProgram() const {
    return plugin_.currentProgram();
}

PPreset& PEditor::currentEditPreset() const {
    return plugin_.currentProgram().editPreset();
}

void PEditor::setParameterNotified(int index, float value) {
    editor_.setParameterNotified(index, value);
}

int PEditor::parameterOf(CControl* control) const {
    CValueObject* value = boundValueOf(control);
    return value ? value->parameterIndex() : -1;
}

void PEditor::valueChanged(CControl* control) {
    if (CValueObject* value = boundValueOf(control))
        value->setValue(control->getValue(), dynamic_cast<CDependent*>(control));
    else
        CEditor::valueChanged(control);
}

void PEditor::controlBeginEdit(CControl* control) {
    const int parameter = parameterOf(control);
    if (parameter >= 0)
        plugin_.beginEdit(parameter);
    else
        CEditor::controlBeginEdit(control);
}

void PEditor::controlEndEdit(CControl* control) {
    const int parameter = parameterOf(control);
    if (parameter >= 0)
        plugin_.endEdit(parameter);
    else
        CEditor::controlEndEdit(control);
}

bool PEditor::attached(CView* parent) {
    if (!pageImage_) {
        pageImage_ = new CBitmap(getWidth(), getHeight());
        COffscreenContext context(pageImage_, getFrame());
        CViewContainer::drawBackgroundRect(&context, CRect(0, 0, getWidth(), getHeight()));
        drawPageImage(&context);
    }
    return CEditor::attached(parent);
}

bool PEditor::removed(CView* parent) {
    if (pageImage_) {
        pageImage_->forget();
        pageImage_ = nullptr;
    }
    return CEditor::removed(parent);
}

void PEditor::drawBackgroundRect(CDrawContext* context, const CRect& updateRect) {
    if (pageImage_)
        pageImage_->draw(context, updateRect, updateRect.topLeft());
    else
        CViewContainer::drawBackgroundRect(context, updateRect);
}

void PEditor::drawPageTitle(CDrawContext* context, const char* title) const {
    context->setFont(kNormalFontSmall);
    context->setFontColor(kEditorCaption);
    context->drawString(title, kTitleBox, false, kLeftText);
}

bool PEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PEditor") == 0) || CEditor::isTypeOf(type);
}
