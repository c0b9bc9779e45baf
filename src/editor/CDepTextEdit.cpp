#include "editor/CDepTextEdit.h"

#include "editor/CValueObject.h"

CDepTextEdit::CDepTextEdit(const CRect& size, CControlListener* listener, long tag,
                           CBitmap* background, long style)
    : CTextEdit(size, listener, tag, nullptr, background, style) {
    showValue();
}

void CDepTextEdit::setTextFunctions(ValueToText toText, TextToValue fromText, void* userData) {
    toText_ = toText ? toText : percentText;
    fromText_ = fromText;
    userData_ = userData;
    showValue();
}

void CDepTextEdit::setValue(float value) {
    CTextEdit::setValue(value);
    if (!isEditing()) showValue();
}

void CDepTextEdit::update(CValueObject* value) {
    setValue(value->getValue());
    invalid();
}

void CDepTextEdit::showValue() {
    char text[kValueTextCapacity] = {};
    toText_(getValue(), text, userData_);
    setText(text);
}

void CDepTextEdit::prepareEditText(std::string& edit) const {
    if (!prepare_) return CTextEdit::prepareEditText(edit);
    char text[kValueTextCapacity] = {};
    prepare_(getValue(), text, userData_);
    edit = text;
}

void CDepTextEdit::valueChanged() {
    float value = getValue();
    if (!fromText_ || !fromText_(getText(), value, userData_)) {
        showValue();  // unreadable: the value as it was
        return;
    }
    beginEdit();
    setValue(value);
    CTextEdit::valueChanged();
    endEdit();
}
