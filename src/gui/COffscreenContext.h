// A drawing context with its own bitmap (or drawing into a given one), whose pixels can then be
// copied into another context.
#pragma once

#include "gui/CDrawContext.h"

class COffscreenContext : public CDrawContext {
public:
    // A new bitmap of the given size, filled with `background`.
    COffscreenContext(CFrame* frame, CCoord width, CCoord height,
                      const CColor& background = kBlackCColor);
    // Draws into `bitmap` itself.
    explicit COffscreenContext(CBitmap* bitmap, CFrame* frame = nullptr);
    ~COffscreenContext() override;

    CBitmap* getBitmap() const { return getTarget(); }
    CCoord getWidth() const;
    CCoord getHeight() const;

    // Copies this context's pixels from `sourceOffset` into `dest` of `destination`.
    void copyFrom(CDrawContext* destination, const CRect& dest, const CPoint& sourceOffset = {});
    // Same, skipping pixels that are transparent in this context's bitmap.
    void copyTransparent(CDrawContext* destination, const CRect& dest,
                         const CPoint& sourceOffset = {});
};
