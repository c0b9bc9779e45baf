// A splash screen configured the way the editor shows its screens: a click area that opens it,
// its bitmap centred in the display rectangle, and a CSplashScreenCfgView laid over the bitmap.
// While the bitmap is missing the screen shows a plain dark backdrop instead, so that the view's
// texts stay readable.
#pragma once

#include "gui/CSplashScreen.h"

class CSplashScreenCfgView;

class CSplashScreenCfg : public CSplashScreen {
public:
    // `display` is where the screen may show (the bitmap is centred in it and cut to it);
    // `clickArea` is the control's own rectangle, which opens the screen when clicked.
    CSplashScreenCfg(CControlListener* listener, long tag, CBitmap* background,
                     const CRect& display, const CRect& clickArea);

    // The view over the bitmap; the screen takes over the caller's reference.
    void setCfgView(CSplashScreenCfgView* view);
    CSplashScreenCfgView* getCfgView() const;
    // Where the bitmap, and the view, show while the screen is open.
    const CRect& getShownRect() const { return shown_; }

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;

private:
    struct Placement {
        CRect rect;
        CPoint offset;
    };
    static Placement centre(CBitmap* background, const CRect& display);
    CSplashScreenCfg(CControlListener* listener, long tag, CBitmap* background,
                     const Placement& placement, const CRect& clickArea);

    CRect shown_;
};
