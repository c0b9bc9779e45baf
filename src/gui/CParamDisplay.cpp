#include "gui/CParamDisplay.h"

#include <charconv>
#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, long style)
    : CControl(size, nullptr, -1, background), style_(style) {}

void CParamDisplay::setStringConvert(StringConvert convert) {
    convert_ = convert;
    convertWithData_ = nullptr;
    setDirty(true);
}

void CParamDisplay::setStringConvert(StringConvertWithData convert, void* userData) {
    convertWithData_ = convert;
    userData_ = userData;
    convert_ = nullptr;
    setDirty(true);
}

void CParamDisplay::formatValue(char (&text)[kTextCapacity]) const {
    text[0] = 0;
    if (convertWithData_) {
        convertWithData_(getValue(), text, userData_);
    } else if (convert_) {
        convert_(getValue(), text);
    } else {
        auto result =
            std::to_chars(text, text + kTextCapacity - 1, getValue(), std::chars_format::fixed, 2);
        *result.ptr = 0;
    }
    text[kTextCapacity - 1] = 0;
}

void CParamDisplay::drawBack(CDrawContext* context) {
    if (style_ & kNoDrawStyle) return;
    if (CBitmap* image = getBackground()) {
        image->draw(context, size);
    } else if (!getTransparency()) {
        context->setFillColor(backColor_);
        context->fillRect(size);
    }
    if (!(style_ & kNoFrame)) {
        context->setFrameColor(frameColor_);
        context->drawRect(size);
    }
}

void CParamDisplay::drawText(CDrawContext* context, const char* text) {
    drawBack(context);
    if (style_ & kNoTextStyle) return;
    CRect textRect = size;
    textRect.inset(2, 0);
    context->setFont(font_, 0, face_);
    if (style_ & kShadowText) {
        CRect shadow = textRect;
        context->setFontColor(kBlackCColor);
        context->drawString(text, shadow.offset(1, 1), false, align_);
    }
    context->setFontColor(fontColor_);
    context->drawString(text, textRect, false, align_);
}

void CParamDisplay::draw(CDrawContext* context) {
    char text[kTextCapacity];
    formatValue(text);
    drawText(context, text);
    setDirty(false);
}

bool CParamDisplay::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CParamDisplay") == 0) || CControl::isTypeOf(type);
}
