#include "editor/CSplashScreenCfgView.h"

#include <cstring>

#include "gui/CDrawContext.h"

void CSplashScreenCfgView::setLabel(const char* text, const CRect& rect, const CColor& color,
                                    CHoriTxtAlign align, int font) {
    label_ = text ? text : "";
    labelRect_ = rect;
    labelColor_ = color;
    labelAlign_ = align;
    labelFont_ = font;
    invalid();
}

CRect CSplashScreenCfgView::fromTopLeft(const CRect& relative) const {
    return CRect(relative).offset(size.left, size.top);
}

void CSplashScreenCfgView::draw(CDrawContext* context) {
    if (!label_.empty()) {
        context->setFont(labelFont_);
        context->setFontColor(labelColor_);
        context->drawString(label_.c_str(), fromTopLeft(labelRect_), false, labelAlign_);
    }
    setDirty(false);
}

bool CSplashScreenCfgView::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CSplashScreenCfgView") == 0) || CView::isTypeOf(type);
}
