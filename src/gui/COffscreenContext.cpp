#include "gui/COffscreenContext.h"

#include "gui/CBitmap.h"

namespace {
CBitmap* filledBitmap(CCoord width, CCoord height, const CColor& background) {
    CBitmap* bitmap = new CBitmap(width, height);
    if (bitmap->isLoaded()) {
        std::uint32_t* p = bitmap->pixels();
        std::fill(p, p + std::size_t(width) * std::size_t(height), background.pixel());
    }
    return bitmap;
}
}  // namespace

COffscreenContext::COffscreenContext(CFrame* frame, CCoord width, CCoord height,
                                     const CColor& background)
    : CDrawContext(frame, filledBitmap(width, height, background)) {
    getTarget()->forget();  // the context's own reference is the only one
}

COffscreenContext::COffscreenContext(CBitmap* bitmap, CFrame* frame)
    : CDrawContext(frame, bitmap) {}

COffscreenContext::~COffscreenContext() = default;

CCoord COffscreenContext::getWidth() const {
    return getTarget() ? getTarget()->getWidth() : 0;
}
CCoord COffscreenContext::getHeight() const {
    return getTarget() ? getTarget()->getHeight() : 0;
}

void COffscreenContext::copyFrom(CDrawContext* destination, const CRect& dest,
                                 const CPoint& sourceOffset) {
    if (destination && getTarget()) {
        destination->drawImage(*getTarget(), dest, sourceOffset, kCopy, 255);
    }
}

void COffscreenContext::copyTransparent(CDrawContext* destination, const CRect& dest,
                                        const CPoint& sourceOffset) {
    if (destination && getTarget()) {
        destination->drawImage(*getTarget(), dest, sourceOffset, kSkipTransparent, 255);
    }
}
