#include "editor/CAboutScreen.h"

#include <cstring>

#include "editor/CAboutView.h"

CAboutScreen::CAboutScreen(CControlListener* listener, long tag, CBitmap* background,
                           const CRect& display, const CRect& clickArea)
    : CAboutScreen(listener, tag, background, display, clickArea,
                   [](const CRect& shown) { return new CAboutView(shown); }) {}

CAboutScreen::CAboutScreen(CControlListener* listener, long tag, CBitmap* background,
                           const CRect& display, const CRect& clickArea, ViewMaker makeView)
    : CSplashScreenCfg(listener, tag, background, display, clickArea) {
    setCfgView(makeView(getShownRect()));
}

CAboutView& CAboutScreen::aboutView() const {
    return *static_cast<CAboutView*>(getCfgView());
}

bool CAboutScreen::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CAboutScreen") == 0) || CSplashScreenCfg::isTypeOf(type);
}
