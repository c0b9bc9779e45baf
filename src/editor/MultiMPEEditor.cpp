#include "editor/MultiMPEEditor.h"

#include <algorithm>
#include <cstring>

#include "editor/EditorColours.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

namespace {
// Names are cut to what the original record held.
constexpr std::size_t kNameLength = 49;

// `c` two fifths of the way from the dark field towards it.
std::uint8_t dim(std::uint8_t c, std::uint8_t field) {
    return std::uint8_t(field + (c - field) * 2 / 5);
}
}  // namespace

MultiMPEEditor::MultiMPEEditor(const CRect& size, CControlListener* listener, long tag, int count,
                               CBitmap* background)
    : MPEEditor(size, listener, tag, background, nullptr),
      count_(std::clamp(count, 1, kMaxEnvelopes)) {
    colours().lineWidth = 2;
    colours().handleShape = 2;
    colours().hasShadow = false;
    others_ = colours();
    others_.handleShape = 0;
    setLayerColour(colours().handleFill, colours().curve);
}

void MultiMPEEditor::setLayerColour(const CColor& colour, const CColor& lit) {
    MPEEditor::setLayerColour(colour, lit);
    others_.curve = {dim(colour.red, kEditorField.red), dim(colour.green, kEditorField.green),
                     dim(colour.blue, kEditorField.blue), 255};
}

void MultiMPEEditor::setEnvelopeAt(int index, MultiPointEnvelope* envelope) {
    if (index < 0 || index >= count_) return;
    envelopes_[index] = envelope;
    if (index == selected_) setEnvelope(envelope);
    invalid();
}

MultiPointEnvelope* MultiMPEEditor::envelopeAt(int index) const {
    return index >= 0 && index < count_ ? envelopes_[index] : nullptr;
}

void MultiMPEEditor::selectEnvelope(int index) {
    if (index < 0 || index >= count_ || index == selected_) return;
    selected_ = index;
    setEnvelope(envelopes_[index]);
    if (CView* parent = getParentView()) parent->notify(this, kSelectMessage);
}

void MultiMPEEditor::setName(int index, const char* name) {
    if (index < 0 || index >= count_) return;
    names_[index] = std::string(name ? name : "").substr(0, kNameLength);
    invalid();
}

void MultiMPEEditor::drawContents(CDrawContext* context) {
    drawBackground(context);
    for (int i = count_ - 1; i >= 0; --i) {
        if (i != selected_ && envelopes_[i] && envelopes_[i]->count() > 0)
            drawCurve(context, *envelopes_[i], false, others_);
    }
    MultiPointEnvelope* edited = getEnvelope();
    if (edited && edited->count() > 0) {
        const bool focused = getFrame() && getFrame()->getFocusView() == this;
        drawCurve(context, *edited, focused, colours());
    }
    if (draggedPoint() >= 0) drawValues(context);
    if (!names_[selected_].empty()) {
        context->setFont(kNormalFontVerySmall);
        context->setFontColor(colours().curve);
        const CRect top(0, 0, getWidth() - 2, 12);
        context->drawString(names_[selected_].c_str(), top, false, kRightText);
    }
}

void MultiMPEEditor::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getEnvelope() || !getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    ensurePoints();
    if (getFrame()) getFrame()->setFocusView(this);
    if (isSecondaryClick(buttons)) {
        selectEnvelope((selected_ + 1) % count_);
        changed();
        return;
    }
    editAt(context, CPoint(where.h - size.left, where.v - size.top), buttons);
}

long MultiMPEEditor::onKeyDown(VstKeyCode& key) {
    const int index = key.character - '1';
    if (key.character >= '1' && key.character <= '9') {
        if (index >= count_ || !envelopes_[index]) return -1;
        selectEnvelope(index);
        return 1;
    }
    return MPEEditor::onKeyDown(key);
}

bool MultiMPEEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "MultiMPEEditor") == 0) || MPEEditor::isTypeOf(type);
}
