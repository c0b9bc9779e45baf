#include "editor/CKnobEdit.h"

#include <cstring>

#include "editor/CAutoRemoveTextEdit.h"
#include "editor/CValueObject.h"
#include "editor/EditorColours.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CViewContainer.h"

namespace {
// Light text on a dark field, as everywhere in the window.
// The knob drawn while its strip is missing.
constexpr CColor kDiscColour{52, 57, 66, 255};
constexpr CColor kRimColour{96, 104, 116, 255};
constexpr CCoord kFallbackKnobSize = 25;

CCoord imageHeight(const CBitmap* strip, int imageCount) {
    if (strip && strip->isLoaded() && imageCount > 0) return strip->getHeight() / imageCount;
    return kFallbackKnobSize;
}

CRect knobRect(const CPoint& centre, const CBitmap* strip, int imageCount) {
    const bool loaded = strip && strip->isLoaded() && imageCount > 0;
    const CCoord width = loaded ? strip->getWidth() : kFallbackKnobSize;
    const CCoord height = imageHeight(strip, imageCount);
    return CRect(CPoint(centre.h - width / 2, centre.v - height / 2), width, height);
}

CRect controlRect(const CRect& knob, const CRect& text) {
    CRect r = knob;
    return r.unite(text);
}
}  // namespace

CKnobEdit::CKnobEdit(const CPoint& centre, const CRect& textRect, CControlListener* listener,
                     long tag, CBitmap* strip, int imageCount, CBitmap* background)
    : CKnob(controlRect(knobRect(centre, strip, imageCount), textRect), listener, tag, imageCount,
            imageHeight(strip, imageCount), strip),
      textRect_(textRect),
      pageBackground_(background),
      fontColor_(kEditorInk),
      backColor_(kEditorField) {
    setKnobArea(knobRect(centre, strip, imageCount));
    setColorHandle(kEditorInk);
    if (pageBackground_) pageBackground_->remember();
}

CKnobEdit::~CKnobEdit() {
    releaseField();
    if (pageBackground_) pageBackground_->forget();
    if (replacement_) replacement_->forget();
}

void CKnobEdit::setDisplayRange(int min, int max) {
    displayMin_ = min;
    displayMax_ = max;
    setDirty(true);
}

void CKnobEdit::setUnit(const char* unit) {
    unit_ = unit ? unit : "";
    setDirty(true);
}

void CKnobEdit::setTextFunctions(ValueToText toText, TextToValue fromText, void* userData) {
    toText_ = toText;
    fromText_ = fromText;
    userData_ = userData;
    setDirty(true);
}

void CKnobEdit::setFont(int font) {
    font_ = font;
    setDirty(true);
}

void CKnobEdit::setFontColor(const CColor& color) {
    fontColor_ = color;
    setDirty(true);
}

void CKnobEdit::setBackColor(const CColor& color) {
    backColor_ = color;
    setDirty(true);
}

void CKnobEdit::setReplacement(CBitmap* image) {
    if (image) image->remember();
    if (replacement_) replacement_->forget();
    replacement_ = image;
    invalid();
}

void CKnobEdit::valueText(char* text) const {
    if (toText_)
        toText_(getValue(), text, userData_);
    else
        integerText(getValue(), text, displayMin_, displayMax_, unit_.c_str());
}

bool CKnobEdit::readText(const char* text, float& value) const {
    if (fromText_) return fromText_(text, value, userData_);
    return integerFromText(text, value, displayMin_, displayMax_, unit_.c_str());
}

CAutoRemoveTextEdit* CKnobEdit::typingField() const {
    return field_ && field_->getParentView() ? field_ : nullptr;
}

void CKnobEdit::update(CValueObject* value) {
    setValue(value->getValue());
    invalid();
}

void CKnobEdit::draw(CDrawContext* context) {
    if (pageBackground_) pageBackground_->draw(context, size, size.topLeft());
    const CRect& knob = getKnobArea();
    CBitmap* strip = getBackground();
    if (replacement_) {
        replacement_->draw(context, knob);
    } else {
        if (!strip || !strip->isLoaded()) {
            CRect disc = knob;
            disc.inset(1, 1);
            context->setDrawMode(kAntialias);
            context->setFillColor(kDiscColour);
            context->setFrameColor(kRimColour);
            context->drawEllipse(disc, kDrawFilledAndStroked);
            context->setDrawMode(kAliasing);
        }
        CKnob::draw(context);
    }
    if (!textRect_.isEmpty()) {
        char text[kValueTextCapacity] = {};
        valueText(text);
        context->setFillColor(backColor_);
        context->fillRect(textRect_);
        context->setFont(font_);
        context->setFontColor(fontColor_);
        context->drawString(text, textRect_, false, kCenterText);
    }
    setDirty(false);
}

void CKnobEdit::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if ((buttons & kLButton) && textRect_.pointInside(where) && !typingField()) {
        openField();
        return;
    }
    CKnob::mouse(context, where, buttons);
}

void CKnobEdit::openField() {
    CView* parent = getParentView();
    if (!parent || !parent->isContainer()) return;
    releaseField();
    char text[kValueTextCapacity] = {};
    valueText(text);
    field_ = new CAutoRemoveTextEdit(textRect_, &fieldListener_, getTag(), text);
    field_->setFont(font_);
    field_->setFontColor(fontColor_);
    field_->setBackColor(backColor_);
    field_->setFrameColor(fontColor_);
    field_->remember();  // to see when it has gone; the container takes the first reference
    static_cast<CViewContainer*>(parent)->addView(field_);
    field_->takeFocus();
}

void CKnobEdit::releaseField() {
    if (!field_) return;
    field_->setListener(nullptr);  // a field still open outlives the knob and commits to no one
    field_->forget();
    field_ = nullptr;
}

void CKnobEdit::commitTyped(const char* text) {
    float value = getValue();
    if (readText(text, value)) {
        beginEdit();
        setValue(value);
        bounceValue();
        valueChanged();
        endEdit();
    }
    invalid();  // shows the value (the old one when the text could not be read)
}

void CKnobEdit::FieldListener::valueChanged(CControl* field) {
    knob_.commitTyped(static_cast<CAutoRemoveTextEdit*>(field)->getText());
}

bool CKnobEdit::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CKnobEdit") == 0) || CKnob::isTypeOf(type);
}
