// A text field that shows a value: the value is written by a value-to-text function, typed text
// is read back by a text-to-value function, and a preparation function may offer something else
// to type over (the bare number of "150 ms"). A commit whose text cannot be read leaves the value
// alone and shows it again; a readable one sets the value and tells the listener, as one gesture.
#pragma once

#include "editor/CDependent.h"
#include "editor/ValueTexts.h"
#include "gui/CTextEdit.h"

class CDepTextEdit : public CTextEdit, public CDependent {
public:
    CDepTextEdit(const CRect& size, CControlListener* listener, long tag,
                 CBitmap* background = nullptr, long style = 0);

    // Without a value-to-text function the value shows as a percentage; without a text-to-value
    // function typed text is never read.
    void setTextFunctions(ValueToText toText, TextToValue fromText, void* userData = nullptr);
    // Fills the edit buffer when typing starts; null offers the text as shown.
    void setPrepareFunction(ValueToText prepare) { prepare_ = prepare; }

    // Also writes the value's text (not while a person types).
    void setValue(float value) override;
    void update(CValueObject* value) override;
    void valueChanged() override;

protected:
    void prepareEditText(std::string& edit) const override;

private:
    void showValue();

    ValueToText toText_ = percentText;
    TextToValue fromText_ = nullptr;
    ValueToText prepare_ = nullptr;
    void* userData_ = nullptr;
};
