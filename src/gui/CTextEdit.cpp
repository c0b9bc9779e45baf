#include "gui/CTextEdit.h"

#include <cstring>

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/FontRenderer.h"

namespace {
constexpr CColor kSelectionColor{51, 102, 204, 255};
constexpr CCoord kTextInset = 2;
}  // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, long tag, const char* text,
                     CBitmap* background, long style)
    : CParamDisplay(size, background, style) {
    setListener(listener);
    setTag(tag);
    setText(text);
}

void CTextEdit::setText(const char* text) {
    text_ = text ? text : "";
    if (text_.size() > std::size_t(kTextCapacity - 1)) text_.resize(kTextCapacity - 1);
    setDirty(true);
}

void CTextEdit::getText(char* text) const {
    if (text) std::memcpy(text, text_.c_str(), text_.size() + 1);
}

int CTextEdit::textLeft(const std::string& text) const {
    int width = FontRenderer::instance().textWidth(getFont(), text.c_str());
    return FontRenderer::alignedLeft(width, size.left + kTextInset, size.right - kTextInset,
                                     getHoriAlign());
}

int CTextEdit::caretAt(CCoord x) const {
    FontRenderer& fonts = FontRenderer::instance();
    int left = textLeft(edit_);
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i <= int(edit_.size()); ++i) {
        int distance = std::abs(left + fonts.textWidth(getFont(), edit_.c_str(), i) - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void CTextEdit::draw(CDrawContext* context) {
    if (!editing_) {
        drawText(context, text_.c_str());
        setDirty(false);
        return;
    }
    drawBack(context);
    FontRenderer& fonts = FontRenderer::instance();
    const int font = getFont();
    int left = textLeft(edit_);
    CRect textRect = size;
    textRect.inset(kTextInset, 0);
    if (getSelectionStart() != getSelectionEnd()) {
        CRect selection(
            left + fonts.textWidth(font, edit_.c_str(), getSelectionStart()), size.top + 2,
            left + fonts.textWidth(font, edit_.c_str(), getSelectionEnd()), size.bottom - 2);
        context->setFillColor(kSelectionColor);
        context->fillRect(selection);
    }
    context->setFont(font);
    context->setFontColor(getFontColor());
    context->drawString(edit_.c_str(), textRect, false, getHoriAlign());
    int caretX = left + fonts.textWidth(font, edit_.c_str(), caret_);
    context->setFrameColor(getFontColor());
    context->drawLine(CPoint(caretX, size.top + 2), CPoint(caretX, size.bottom - 3));
    setDirty(false);
}

void CTextEdit::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    if (!editing_) {
        if (getFrame()) getFrame()->setFocusView(this);
        if (!editing_) takeFocus();  // a view outside a frame edits on its own
        return;
    }
    moveCaret(caretAt(where.h), (buttons & kShift) != 0);
    // Dragging selects.
    while (getFrame() && (context->getMouseButtons() & kLButton)) {
        CPoint p;
        context->getMouseLocation(p);
        moveCaret(caretAt(p.h), true);
        getFrame()->doIdleStuff();
    }
}

void CTextEdit::replaceSelection(const std::string& with) {
    int start = getSelectionStart();
    edit_.erase(std::size_t(start), std::size_t(getSelectionEnd() - start));
    std::string inserted = with.substr(0, std::size_t(kTextCapacity - 1) - edit_.size());
    edit_.insert(std::size_t(start), inserted);
    caret_ = anchor_ = start + int(inserted.size());
    setDirty(true);
}

void CTextEdit::moveCaret(int to, bool extend) {
    caret_ = std::clamp(to, 0, int(edit_.size()));
    if (!extend) anchor_ = caret_;
    setDirty(true);
}

long CTextEdit::onKeyDown(VstKeyCode& key) {
    if (!editing_) return -1;
    const bool shift = (key.modifier & MODIFIER_SHIFT) != 0;
    switch (key.virt) {
        case VKEY_RETURN:
        case VKEY_ENTER:
            endEditing(true);
            return 1;
        case VKEY_ESCAPE:
            endEditing(false);
            return 1;
        case VKEY_LEFT:
            moveCaret(caret_ - 1, shift);
            return 1;
        case VKEY_RIGHT:
            moveCaret(caret_ + 1, shift);
            return 1;
        case VKEY_HOME:
            moveCaret(0, shift);
            return 1;
        case VKEY_END:
            moveCaret(int(edit_.size()), shift);
            return 1;
        case VKEY_BACK:
            if (getSelectionStart() == getSelectionEnd()) moveCaret(caret_ - 1, true);
            replaceSelection("");
            return 1;
        case VKEY_DELETE:
            if (getSelectionStart() == getSelectionEnd()) moveCaret(caret_ + 1, true);
            replaceSelection("");
            return 1;
        case VKEY_SPACE:
            replaceSelection(" ");
            return 1;
        default:
            break;
    }
    if (key.virt != 0) return -1;
    if ((key.modifier & MODIFIER_CONTROL) && (key.character == 'a' || key.character == 'A')) {
        anchor_ = 0;
        moveCaret(int(edit_.size()), true);
        return 1;
    }
    if (key.character >= 32 && key.character < 256 && key.character != 127 &&
        !(key.modifier & (MODIFIER_CONTROL | MODIFIER_COMMAND))) {
        replaceSelection(std::string(1, char(key.character)));
        return 1;
    }
    return -1;
}

void CTextEdit::takeFocus() {
    if (editing_) return;
    editing_ = true;
    prepareEditText(edit_);
    if (edit_.size() > std::size_t(kTextCapacity - 1)) edit_.resize(kTextCapacity - 1);
    anchor_ = 0;
    caret_ = int(edit_.size());
    setDirty(true);
    if (getFrame()) getFrame()->setKeyboardFocus(true);
}

void CTextEdit::looseFocus() {
    endEditing(true);
}

void CTextEdit::endEditing(bool commit) {
    if (!editing_) return;
    editing_ = false;
    if (commit) {
        setText(edit_.c_str());
        valueChanged();
    }
    setDirty(true);
    if (getFrame()) getFrame()->setKeyboardFocus(false);
    // Giving the focus away comes last: a field that removes itself when it loses the focus may
    // be gone when this returns.
    if (getFrame() && getFrame()->getFocusView() == this) getFrame()->setFocusView(nullptr);
}

bool CTextEdit::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CTextEdit") == 0) || CParamDisplay::isTypeOf(type);
}
