#include "gui/COptionMenuScheme.h"

#include "gui/CDrawContext.h"
#include "gui/FontRenderer.h"

namespace {
constexpr CCoord kCheckColumn = 16;  // room for the check mark at the left
constexpr CCoord kArrowColumn = 14;  // room for the submenu arrow at the right
constexpr CCoord kSeparatorHeight = 7;
}  // namespace

COptionMenuScheme::COptionMenuScheme() = default;

void COptionMenuScheme::setColors(const CColor& background, const CColor& selection,
                                  const CColor& text, const CColor& highlightText,
                                  const CColor& disabledText) {
    background_ = background;
    selection_ = selection;
    text_ = text;
    highlightText_ = highlightText;
    disabledText_ = disabledText;
}

void COptionMenuScheme::getItemSize(const char* text, long state, CDrawContext*, CPoint& size) {
    if (state & kSeparator) {
        size = {kCheckColumn + kArrowColumn, kSeparatorHeight};
        return;
    }
    FontRenderer& fonts = FontRenderer::instance();
    size.h = kCheckColumn + fonts.textWidth(font_, text) + kArrowColumn;
    size.v = fonts.ascent(font_) + fonts.descent(font_) + 4;
}

void COptionMenuScheme::drawItem(const char* text, long, long state, CDrawContext* context,
                                 const CRect& rect) {
    const bool selected = (state & kSelected) && !(state & (kDisabled | kTitle | kSeparator));
    context->setFillColor(selected ? selection_ : background_);
    context->fillRect(rect);
    if (state & kSeparator) {
        int y = (rect.top + rect.bottom) / 2;
        context->setFrameColor(disabledText_);
        context->drawLine(CPoint(rect.left + 4, y), CPoint(rect.right - 5, y));
        return;
    }
    CColor ink = (state & kDisabled) ? disabledText_ : selected ? highlightText_ : text_;
    if (state & kChecked) {
        // A tick drawn as two strokes.
        int cx = rect.left + kCheckColumn / 2, cy = (rect.top + rect.bottom) / 2;
        CPoint tick[3] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}};
        context->setFrameColor(ink);
        context->setLineWidth(2);
        context->drawPolyline(tick, 3);
        context->setLineWidth(1);
    }
    CRect textRect(rect.left + kCheckColumn, rect.top, rect.right - kArrowColumn, rect.bottom);
    context->setFont(font_);
    context->setFontColor(ink);
    context->drawString(text, textRect, false, (state & kTitle) ? kCenterText : kLeftText);
    if (state & kSubMenu) {
        int x = rect.right - kArrowColumn / 2 - 2, cy = (rect.top + rect.bottom) / 2;
        CPoint arrow[3] = {{x - 2, cy - 4}, {x + 2, cy}, {x - 2, cy + 4}};
        context->setFillColor(ink);
        context->setFrameColor(ink);
        context->drawPolygon(arrow, 3, kDrawFilledAndStroked);
    }
}
