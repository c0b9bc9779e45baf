// A knob with its value written under it. The knob is one image of a strip, centred on a given
// point; the control covers the knob and the text rectangle. A press in the text opens a field
// over it for typing a value (Enter or a press elsewhere commits, Escape cancels; text that
// cannot be read leaves the value as it was); a press elsewhere turns the knob. Values are shown
// and read by functions a page gives, or as an integer over a display range with a unit. A page
// can show a replacement image in place of the knob (a control that has no meaning at the moment).
// Without its strip (not loaded) the knob is drawn as a disc with a pointer.
#pragma once

#include <string>

#include "editor/CDependent.h"
#include "editor/ValueTexts.h"
#include "gui/CKnob.h"

class CAutoRemoveTextEdit;

class CKnobEdit : public CKnob, public CDependent {
public:
    // `strip` holds `imageCount` knob images stacked; `background` (the page's) is drawn behind
    // the control at its own position. The text rectangle may be empty (a knob without text).
    CKnobEdit(const CPoint& centre, const CRect& textRect, CControlListener* listener, long tag,
              CBitmap* strip, int imageCount, CBitmap* background);
    ~CKnobEdit() override;

    // The integer text n = trunc(v (max - min) + 0.5) + min, 0..100 unless set.
    void setDisplayRange(int min, int max);
    void setUnit(const char* unit);
    // Functions that write and read the value's text (null: the integer text).
    void setTextFunctions(ValueToText toText, TextToValue fromText, void* userData = nullptr);
    void setFont(int font);
    void setFontColor(const CColor& color);
    void setBackColor(const CColor& color);
    // Shown in place of the knob image while set (remembered); null shows the knob again.
    void setReplacement(CBitmap* image);

    const CRect& getTextRect() const { return textRect_; }
    // The value's text as the control shows it.
    virtual void valueText(char* text) const;
    // Reads typed text; false (value untouched) when it cannot be read.
    virtual bool readText(const char* text, float& value) const;
    // The field open for typing, null when none is.
    CAutoRemoveTextEdit* typingField() const;

    void update(CValueObject* value) override;
    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool isTypeOf(const char* type) const override;

private:
    // Listens to the typing field.
    class FieldListener : public CControlListener {
    public:
        explicit FieldListener(CKnobEdit& knob) : knob_(knob) {}
        void valueChanged(CControl* field) override;

    private:
        CKnobEdit& knob_;
    };

    void openField();
    void releaseField();
    void commitTyped(const char* text);

    CRect textRect_;
    CBitmap* pageBackground_ = nullptr;
    CBitmap* replacement_ = nullptr;
    int font_ = kNormalFontVerySmall;
    CColor fontColor_;
    CColor backColor_;
    int displayMin_ = 0;
    int displayMax_ = 100;
    std::string unit_;
    ValueToText toText_ = nullptr;
    TextToValue fromText_ = nullptr;
    void* userData_ = nullptr;
    CAutoRemoveTextEdit* field_ = nullptr;  // remembered while it exists
    FieldListener fieldListener_{*this};
};
