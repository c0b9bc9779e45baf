#include "gui/CBitmap.h"

#include <map>
#include <mutex>

#include "gui/CDrawContext.h"
#include "gui/EmbeddedResources.h"
#include "gui/ImageDecoder.h"

namespace {

struct SharedImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::shared_ptr<const std::vector<std::uint32_t>> pixels;
};

// Every resource is decoded at most once per process; bitmaps share the decoded pixels.
SharedImage sharedResource(long id) {
    static std::mutex mutex;
    static std::map<long, SharedImage> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = cache.find(id);
    if (found != cache.end()) return found->second;
    SharedImage image;
    EmbeddedData data = embeddedBitmap(int(id));
    DecodedImage decoded;
    if (data.bytes && decodeImage(data.bytes, data.size, decoded)) {
        image.width = decoded.width;
        image.height = decoded.height;
        image.hasAlpha = decoded.hasAlpha;
        image.pixels =
            std::make_shared<const std::vector<std::uint32_t>>(std::move(decoded.pixels));
    }
    cache[id] = image;
    return image;
}

}  // namespace

CBitmap::CBitmap(long resourceId) : resourceId_(resourceId) {
    SharedImage image = sharedResource(resourceId);
    if (image.pixels) {
        width_ = image.width;
        height_ = image.height;
        hasAlpha_ = image.hasAlpha;
        shared_ = image.pixels;
    }
}

CBitmap::CBitmap(CCoord width, CCoord height) {
    if (width > 0 && height > 0) {
        width_ = width;
        height_ = height;
        own_.assign(std::size_t(width) * std::size_t(height), 0xFF000000u);
    }
}

CBitmap::~CBitmap() {
    if (mask_) mask_->forget();
}

const std::uint32_t* CBitmap::pixels() const {
    return shared_ ? shared_->data() : own_.data();
}

std::uint32_t* CBitmap::pixels() {
    if (shared_) {
        own_ = *shared_;
        shared_.reset();
    }
    return own_.data();
}

CColor CBitmap::getPixel(CCoord x, CCoord y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kTransparentCColor;
    return CColor::fromPixel(pixels()[std::size_t(y) * std::size_t(width_) + std::size_t(x)]);
}

void CBitmap::setTransparentColor(const CColor& color) {
    transparentColor_ = color;
    hasTransparentColor_ = true;
}

void CBitmap::setTransparencyMask(CBitmap* mask, const CPoint& offset) {
    if (mask) mask->remember();
    if (mask_) mask_->forget();
    mask_ = mask;
    maskOffset_ = offset;
}

bool CBitmap::isTransparentAt(CCoord x, CCoord y) const {
    if (mask_) {
        CColor m = mask_->getPixel(x + maskOffset_.h, y + maskOffset_.v);
        return m.red == 255 && m.green == 255 && m.blue == 255;
    }
    if (hasTransparentColor_) {
        std::uint32_t p = pixels()[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
        return (p & 0xFFFFFFu) == (transparentColor_.pixel() & 0xFFFFFFu);
    }
    return false;
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset) {
    if (context) {
        context->drawImage(*this, dest, offset,
                           hasAlpha_ ? CDrawContext::kBlendAlpha : CDrawContext::kCopy, 255);
    }
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& dest, const CPoint& offset) {
    if (context) context->drawImage(*this, dest, offset, CDrawContext::kSkipTransparent, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& dest, const CPoint& offset,
                             std::uint8_t alpha) {
    if (context) context->drawImage(*this, dest, offset, CDrawContext::kBlendAlpha, alpha);
}
