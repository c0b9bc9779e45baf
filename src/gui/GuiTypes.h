// The small value types every view and drawing call uses: coordinates, points, rectangles,
// colours, the mouse-button mask, the numbered standard fonts and text alignment.
#pragma once

#include <algorithm>
#include <cstdint>

using CCoord = int;

struct CPoint {
    CCoord h = 0;
    CCoord v = 0;

    CPoint() = default;
    CPoint(CCoord x, CCoord y) : h(x), v(y) {}
    CPoint& offset(CCoord dx, CCoord dy) {
        h += dx;
        v += dy;
        return *this;
    }
    bool operator==(const CPoint&) const = default;
};

// A rectangle from (left, top) inclusive to (right, bottom) exclusive.
struct CRect {
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    CRect() = default;
    CRect(CCoord l, CCoord t, CCoord r, CCoord b) : left(l), top(t), right(r), bottom(b) {}
    CRect(const CPoint& origin, CCoord w, CCoord h)
        : left(origin.h), top(origin.v), right(origin.h + w), bottom(origin.v + h) {}

    CCoord width() const { return right - left; }
    CCoord height() const { return bottom - top; }
    CCoord getWidth() const { return width(); }
    CCoord getHeight() const { return height(); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    CPoint topLeft() const { return {left, top}; }

    CRect& offset(CCoord dx, CCoord dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
    CRect& inset(CCoord dx, CCoord dy) {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
        return *this;
    }
    // Shrinks this rectangle to its intersection with `r` (empty when they do not meet).
    CRect& bound(const CRect& r) {
        left = std::max(left, r.left);
        top = std::max(top, r.top);
        right = std::max(left, std::min(right, r.right));
        bottom = std::max(top, std::min(bottom, r.bottom));
        return *this;
    }
    // Grows this rectangle to cover `r` as well; an empty operand adds nothing.
    CRect& unite(const CRect& r) {
        if (r.isEmpty()) return *this;
        if (isEmpty()) return *this = r;
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
        return *this;
    }
    bool pointInside(const CPoint& p) const {
        return p.h >= left && p.h < right && p.v >= top && p.v < bottom;
    }
    bool rectOverlap(const CRect& r) const {
        return left < r.right && r.left < right && top < r.bottom && r.top < bottom;
    }
    bool operator==(const CRect&) const = default;
};

struct CColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    bool operator==(const CColor&) const = default;
    // The pixel layout of every buffer: 0xAARRGGBB in a 32-bit word.
    std::uint32_t pixel() const {
        return (std::uint32_t(alpha) << 24) | (std::uint32_t(red) << 16) |
               (std::uint32_t(green) << 8) | blue;
    }
    static CColor fromPixel(std::uint32_t p) {
        return {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p),
                std::uint8_t(p >> 24)};
    }
};

inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};
inline constexpr CColor kGreenCColor{0, 255, 0, 255};
inline constexpr CColor kBlueCColor{0, 0, 255, 255};
inline constexpr CColor kYellowCColor{255, 255, 0, 255};
// "No fill": views treat this colour as "leave the background as it is".
inline constexpr CColor kTransparentCColor{255, 255, 255, 0};

// Mouse buttons and modifier keys as one mask. kApple is the secondary-click modifier: a left
// press with it counts as a right click. On Windows and Linux it is given by the Windows
// ("Super") key, so that Control keeps its own meaning.
enum CButton : long {
    kLButton = 1,
    kMButton = 2,
    kRButton = 4,
    kShift = 8,
    kControl = 16,
    kAlt = 32,
    kApple = 64,
};
inline constexpr long kMouseButtons = kLButton | kMButton | kRButton;

// True for a right press, or a left press whose only modifier is the secondary-click key.
inline bool isSecondaryClick(long buttons) {
    return (buttons & kRButton) || buttons == (kLButton | kApple);
}

// The numbered standard fonts; their pixel sizes are in FontRenderer.
enum CFont : int {
    kSystemFont = 0,
    kNormalFontVeryBig = 1,
    kNormalFontBig = 2,
    kNormalFont = 3,
    kNormalFontSmall = 4,
    kNormalFontSmaller = 5,
    kNormalFontVerySmall = 6,
    kSymbolFont = 7,
};
inline constexpr int kFontCount = 8;

// Text faces (the style of CDrawContext::setFont). The embedded face has no italic cut; italic
// text is the upright glyphs slanted.
enum CTxtFace : int { kNormalFace = 0, kItalicFace = 2 };

enum CHoriTxtAlign : int { kLeftText = 0, kCenterText = 1, kRightText = 2 };

enum CDrawStyle : int { kDrawStroked = 0, kDrawFilled = 1, kDrawFilledAndStroked = 2 };

// How knobs follow the mouse (the host's knob-mode setting).
enum CKnobMode : int { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };
