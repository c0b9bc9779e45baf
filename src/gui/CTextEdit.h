// A text field edited in place. A press (or setFocusView) starts editing with the whole text
// selected; typing replaces the selection, the arrows, Home and End move the caret (extending
// the selection with Shift), Backspace and Delete erase. Enter, or the focus moving elsewhere,
// commits the text and tells the listener; Escape restores the text as it was. While it edits,
// the frame's window holds the keyboard.
#pragma once

#include <string>

#include "gui/CParamDisplay.h"

class CTextEdit : public CParamDisplay {
public:
    CTextEdit(const CRect& size, CControlListener* listener, long tag, const char* text = nullptr,
              CBitmap* background = nullptr, long style = 0);

    // The text is kept to kTextCapacity − 1 characters.
    virtual void setText(const char* text);
    void getText(char* text) const;  // at most kTextCapacity bytes are written
    const char* getText() const { return text_.c_str(); }

    bool isEditing() const { return editing_; }
    const std::string& getEditText() const { return edit_; }
    int getCaret() const { return caret_; }
    // The selected range [start, end) of the edit text.
    int getSelectionStart() const { return std::min(anchor_, caret_); }
    int getSelectionEnd() const { return std::max(anchor_, caret_); }

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    void takeFocus() override;
    void looseFocus() override;
    bool isTypeOf(const char* type) const override;

protected:
    // Fills the edit buffer when editing starts; the text as shown unless overridden (a field
    // showing "150 ms" may offer "150" for typing).
    virtual void prepareEditText(std::string& edit) const { edit = text_; }

private:
    int textLeft(const std::string& text) const;
    // Index of the character boundary nearest to x.
    int caretAt(CCoord x) const;
    void replaceSelection(const std::string& with);
    void moveCaret(int to, bool extend);
    void endEditing(bool commit);

    std::string text_;
    std::string edit_;
    bool editing_ = false;
    int caret_ = 0;
    int anchor_ = 0;
};
