// The base of the views laid over a splash screen's bitmap (about screen, controller list). It
// draws one optional label with its own rectangle, colour, font and alignment; the rectangle is
// relative to the view's top-left corner, so a screen keeps its texts wherever it is shown.
#pragma once

#include <string>

#include "gui/CView.h"

class CSplashScreenCfgView : public CView {
public:
    explicit CSplashScreenCfgView(const CRect& size) : CView(size) {}

    // An empty text shows no label.
    void setLabel(const char* text, const CRect& rect, const CColor& color = kWhiteCColor,
                  CHoriTxtAlign align = kCenterText, int font = kNormalFontSmaller);
    const std::string& getLabel() const { return label_; }

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;

protected:
    // A rectangle given relative to the view's top-left corner, in the view's coordinates.
    CRect fromTopLeft(const CRect& relative) const;

private:
    std::string label_;
    CRect labelRect_;
    CColor labelColor_ = kWhiteCColor;
    CHoriTxtAlign labelAlign_ = kCenterText;
    int labelFont_ = kNormalFontSmaller;
};
