// Shows a control's value as text: over its background bitmap or a fill colour, framed unless
// told not to, in one of the standard fonts. A conversion function may format the value; the
// default writes it with two decimals, the same in every locale.
#pragma once

#include "gui/CControl.h"

// Style bits.
enum CParamDisplayStyle : long {
    kNoFrame = 1 << 0,
    kNoTextStyle = 1 << 1,
    kNoDrawStyle = 1 << 2,
    kShadowText = 1 << 3,
};

class CParamDisplay : public CControl {
public:
    using StringConvert = void (*)(float value, char* text);
    using StringConvertWithData = void (*)(float value, char* text, void* userData);
    static constexpr int kTextCapacity = 256;

    CParamDisplay(const CRect& size, CBitmap* background = nullptr, long style = 0);

    void setFont(int font) { font_ = font; }
    int getFont() const { return font_; }
    void setFontColor(const CColor& color) { fontColor_ = color; }
    CColor getFontColor() const { return fontColor_; }
    void setBackColor(const CColor& color) { backColor_ = color; }
    CColor getBackColor() const { return backColor_; }
    void setFrameColor(const CColor& color) { frameColor_ = color; }
    CColor getFrameColor() const { return frameColor_; }
    void setHoriAlign(CHoriTxtAlign align) { align_ = align; }
    CHoriTxtAlign getHoriAlign() const { return align_; }
    // The face of the text (CTxtFace).
    void setTxtFace(int face) {
        face_ = face;
        setDirty(true);
    }
    int getTxtFace() const { return face_; }
    void setStyle(long style) { style_ = style; }
    long getStyle() const { return style_; }
    // The conversion writes at most kTextCapacity characters including the NUL.
    void setStringConvert(StringConvert convert);
    void setStringConvert(StringConvertWithData convert, void* userData);

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;

    // The value as this display writes it.
    void formatValue(char (&text)[kTextCapacity]) const;

protected:
    // Background, frame and `text` as the display draws them.
    void drawText(CDrawContext* context, const char* text);
    // Fills the rectangle (or draws the bitmap) and the frame.
    void drawBack(CDrawContext* context);

private:
    int font_ = kNormalFont;
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CColor frameColor_ = kBlackCColor;
    CHoriTxtAlign align_ = kCenterText;
    int face_ = kNormalFace;
    long style_;
    StringConvert convert_ = nullptr;
    StringConvertWithData convertWithData_ = nullptr;
    void* userData_ = nullptr;
};
