// The about screen: a configured splash screen showing a CAboutView (version text, label,
// ticker) over its bitmap. The editor sets the texts through aboutView().
#pragma once

#include "editor/CSplashScreenCfg.h"

class CAboutView;

class CAboutScreen : public CSplashScreenCfg {
public:
    CAboutScreen(CControlListener* listener, long tag, CBitmap* background, const CRect& display,
                 const CRect& clickArea);

    CAboutView& aboutView() const;

    bool isTypeOf(const char* type) const override;

protected:
    // For screens that show a view derived from CAboutView, made by `makeView` for the
    // rectangle where the screen shows.
    using ViewMaker = CAboutView* (*)(const CRect& shown);
    CAboutScreen(CControlListener* listener, long tag, CBitmap* background, const CRect& display,
                 const CRect& clickArea, ViewMaker makeView);
};
