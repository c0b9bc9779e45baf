#include "gui/PopupSurface.h"

#include <algorithm>

#include "gui/CBitmap.h"

PopupSurface::~PopupSurface() {
    if (kept_) kept_->forget();
}

CBitmap& PopupSurface::keep(const CBitmap& pixels) {
    if (!kept_ || kept_->getWidth() != pixels.getWidth() ||
        kept_->getHeight() != pixels.getHeight()) {
        if (kept_) kept_->forget();
        kept_ = new CBitmap(pixels.getWidth(), pixels.getHeight());
    }
    if (kept_->isLoaded()) {
        std::copy(
            pixels.pixels(),
            pixels.pixels() + std::size_t(pixels.getWidth()) * std::size_t(pixels.getHeight()),
            kept_->pixels());
    }
    return *kept_;
}
