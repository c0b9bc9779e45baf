#include "editor/PAboutScreen.h"

#include <cstring>

#include "editor/PAboutView.h"

PAboutScreen::PAboutScreen(CControlListener* listener, long tag, CBitmap* background,
                           const CRect& display, const CRect& clickArea)
    : CAboutScreen(listener, tag, background, display, clickArea,
                   [](const CRect& shown) -> CAboutView* { return new PAboutView(shown); }) {}

bool PAboutScreen::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PAboutScreen") == 0) || CAboutScreen::isTypeOf(type);
}
