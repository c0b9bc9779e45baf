// An image: either a bitmap resource (a PNG embedded by identifier, decoded once per process and
// shared) or a bitmap made at run time to draw into. Drawing honours, in this order of choice, a
// transparency mask, a transparency colour, or the image's own alpha channel.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/CReferenceCounter.h"
#include "gui/GuiTypes.h"

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    // The resource `resourceId`; not loaded (0 × 0) when there is no such resource.
    explicit CBitmap(long resourceId);
    // A run-time bitmap, filled with opaque black.
    CBitmap(CCoord width, CCoord height);
    ~CBitmap() override;

    long getResourceId() const { return resourceId_; }
    CCoord getWidth() const { return width_; }
    CCoord getHeight() const { return height_; }
    bool isLoaded() const { return width_ > 0 && height_ > 0; }
    bool hasAlpha() const { return hasAlpha_; }

    const std::uint32_t* pixels() const;
    // Writable pixels; a bitmap that shares its decoded image takes its own copy first.
    std::uint32_t* pixels();
    CColor getPixel(CCoord x, CCoord y) const;

    // Pixels of exactly this colour are not drawn by drawTransparent.
    void setTransparentColor(const CColor& color);
    CColor getTransparentColor() const { return transparentColor_; }
    bool hasTransparentColor() const { return hasTransparentColor_; }
    // A mask bitmap: where its pixel at (x + offset) is white the image is transparent. The mask
    // is remembered; null removes it.
    void setTransparencyMask(CBitmap* mask, const CPoint& offset = {});
    CBitmap* getTransparencyMask() const { return mask_; }

    // Draws the part of the image starting at `offset` into `dest` (clipped to both).
    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = {});
    void drawTransparent(CDrawContext* context, const CRect& dest, const CPoint& offset = {});
    // Like draw, with the whole image's opacity scaled by alpha (0..255).
    void drawAlphaBlend(CDrawContext* context, const CRect& dest, const CPoint& offset,
                        std::uint8_t alpha);

    // Whether image pixel (x, y) is hidden by the mask or the transparency colour.
    bool isTransparentAt(CCoord x, CCoord y) const;

private:
    long resourceId_ = -1;
    CCoord width_ = 0;
    CCoord height_ = 0;
    bool hasAlpha_ = false;
    std::shared_ptr<const std::vector<std::uint32_t>> shared_;  // decoded resource pixels
    std::vector<std::uint32_t> own_;                            // run-time or copied pixels
    bool hasTransparentColor_ = false;
    CColor transparentColor_ = kTransparentCColor;
    CBitmap* mask_ = nullptr;
    CPoint maskOffset_;
};
