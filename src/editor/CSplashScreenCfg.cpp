#include "editor/CSplashScreenCfg.h"

#include <algorithm>
#include <cstring>

#include "editor/CSplashScreenCfgView.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

namespace {
// The editor's body colour, for a screen whose bitmap is missing.
constexpr CColor kBackdrop{24, 27, 33, 255};
}  // namespace

CSplashScreenCfg::Placement CSplashScreenCfg::centre(CBitmap* background, const CRect& display) {
    if (!background || !background->isLoaded()) return {display, {}};
    const CCoord w = std::min(background->getWidth(), display.width());
    const CCoord h = std::min(background->getHeight(), display.height());
    const CCoord left = display.left + (display.width() - w) / 2;
    const CCoord top = display.top + (display.height() - h) / 2;
    return {CRect(left, top, left + w, top + h),
            CPoint((background->getWidth() - w) / 2, (background->getHeight() - h) / 2)};
}

CSplashScreenCfg::CSplashScreenCfg(CControlListener* listener, long tag, CBitmap* background,
                                   const CRect& display, const CRect& clickArea)
    : CSplashScreenCfg(listener, tag, background, centre(background, display), clickArea) {}

CSplashScreenCfg::CSplashScreenCfg(CControlListener* listener, long tag, CBitmap* background,
                                   const Placement& placement, const CRect& clickArea)
    : CSplashScreen(clickArea, listener, tag, background, placement.rect, placement.offset),
      shown_(placement.rect) {}

void CSplashScreenCfg::setCfgView(CSplashScreenCfgView* view) {
    setSplashView(view);
    if (view) view->forget();
}

CSplashScreenCfgView* CSplashScreenCfg::getCfgView() const {
    return static_cast<CSplashScreenCfgView*>(getSplashView());
}

void CSplashScreenCfg::draw(CDrawContext* context) {
    CBitmap* background = getBackground();
    if (isOpen() && (!background || !background->isLoaded())) {
        context->setFillColor(kBackdrop);
        context->fillRect(shown_);
    }
    CSplashScreen::draw(context);
}

bool CSplashScreenCfg::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CSplashScreenCfg") == 0) || CSplashScreen::isTypeOf(type);
}
