// Pixels drawn by the software renderer: exact where the rule is exact (aliased shapes, bitmap
// copies), tolerant where anti-aliasing decides (smoothed edges, text).
#include <gtest/gtest.h>

#include <vector>

#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"
#include "gui/EmbeddedResources.h"
#include "gui/FontRenderer.h"
#include "gui/ImageDecoder.h"

namespace {

constexpr CColor kInk{200, 40, 30, 255};

int countColor(const COffscreenContext& c, const CColor& color, const CRect& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) n += c.getPoint({x, y}) == color;
    }
    return n;
}

CRect whole(const COffscreenContext& c) {
    return CRect(0, 0, c.getWidth(), c.getHeight());
}

// Columns that hold any pixel differing from `background`, as [first, last]; {-1, -1} if none.
std::pair<int, int> inkedColumns(const COffscreenContext& c, const CColor& background) {
    std::pair<int, int> span{-1, -1};
    for (int x = 0; x < c.getWidth(); ++x) {
        for (int y = 0; y < c.getHeight(); ++y) {
            if (c.getPoint({x, y}) != background) {
                if (span.first < 0) span.first = x;
                span.second = x;
                break;
            }
        }
    }
    return span;
}

TEST(Drawing, RectanglesAreExactAndClipped) {
    COffscreenContext c(nullptr, 20, 20, kBlackCColor);
    c.setFillColor(kInk);
    c.fillRect(CRect(2, 3, 6, 8));
    EXPECT_EQ(countColor(c, kInk, whole(c)), 4 * 5);
    EXPECT_EQ(c.getPoint({2, 3}), kInk);
    EXPECT_EQ(c.getPoint({6, 3}), kBlackCColor);  // right and bottom are exclusive

    // Outline inside the rectangle, two pixels thick; the inside stays untouched.
    COffscreenContext o(nullptr, 20, 20, kBlackCColor);
    o.setFrameColor(kInk);
    o.setLineWidth(2);
    o.drawRect(CRect(2, 2, 12, 10));
    EXPECT_EQ(countColor(o, kInk, whole(o)), 10 * 8 - 6 * 4);
    EXPECT_EQ(o.getPoint({5, 5}), kBlackCColor);

    // Shapes far outside the buffer or across its edges never write outside it.
    c.fillRect(CRect(-100, -100, 1000, 3));
    EXPECT_EQ(countColor(c, kInk, CRect(0, 0, 20, 3)), 20 * 3);
    c.setClipRect(CRect(10, 10, 12, 12));
    c.setFillColor(kWhiteCColor);
    c.fillRect(CRect(0, 0, 20, 20));
    EXPECT_EQ(countColor(c, kWhiteCColor, whole(c)), 4);
}

TEST(Drawing, ThinLinesSetExactlyTheWalkedPixels) {
    COffscreenContext c(nullptr, 16, 16, kBlackCColor);
    c.setFrameColor(kInk);
    c.drawLine(CPoint(1, 1), CPoint(10, 1));  // both ends included
    EXPECT_EQ(countColor(c, kInk, whole(c)), 10);
    c.drawLine(CPoint(3, 3), CPoint(9, 9));
    for (int i = 3; i <= 9; ++i) EXPECT_EQ(c.getPoint({i, i}), kInk);
    EXPECT_EQ(countColor(c, kInk, whole(c)), 17);
    // moveTo/lineTo continues from the pen; a polyline shares its corner pixels.
    COffscreenContext p(nullptr, 16, 16, kBlackCColor);
    p.setFrameColor(kInk);
    p.moveTo(CPoint(0, 0));
    p.lineTo(CPoint(0, 5));
    p.lineTo(CPoint(5, 5));
    EXPECT_EQ(countColor(p, kInk, whole(p)), 11);
}

TEST(Drawing, WideAndSmoothLines) {
    COffscreenContext c(nullptr, 30, 20, kBlackCColor);
    c.setFrameColor(kInk);
    c.setLineWidth(3);
    c.drawLine(CPoint(5, 10), CPoint(20, 10));
    // Three rows thick, square caps reaching one pixel beyond each end.
    EXPECT_EQ(countColor(c, kInk, whole(c)), 3 * 18);
    EXPECT_EQ(c.getPoint({4, 9}), kInk);
    EXPECT_EQ(c.getPoint({12, 12}), kBlackCColor);

    COffscreenContext s(nullptr, 30, 30, kBlackCColor);
    s.setFrameColor(kWhiteCColor);
    s.setDrawMode(kAntialias);
    s.drawLine(CPoint(2, 3), CPoint(27, 20));
    int partial = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            CColor p = s.getPoint({x, y});
            partial += p.red > 0 && p.red < 255;
        }
    }
    EXPECT_GT(partial, 10);  // smoothed edges have intermediate shades
}

TEST(Drawing, EllipsesAreSymmetricAndClosed) {
    COffscreenContext c(nullptr, 40, 30, kBlackCColor);
    c.setFillColor(kInk);
    CRect r(4, 4, 36, 26);
    c.drawEllipse(r, kDrawFilled);
    EXPECT_EQ(c.getPoint({20, 15}), kInk);
    EXPECT_EQ(c.getPoint({4, 4}), kBlackCColor);
    EXPECT_EQ(c.getPoint({35, 25}), kBlackCColor);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            ASSERT_EQ(c.getPoint({x, y}), c.getPoint({r.left + r.right - 1 - x, y}))
                << x << "," << y;
            ASSERT_EQ(c.getPoint({x, y}), c.getPoint({x, r.top + r.bottom - 1 - y}))
                << x << "," << y;
        }
    }
    // Area close to pi * a * b.
    EXPECT_NEAR(countColor(c, kInk, whole(c)), 3.14159 * 16 * 11, 16);

    // An outline keeps a flood fill inside it.
    COffscreenContext o(nullptr, 40, 30, kBlackCColor);
    o.setFrameColor(kWhiteCColor);
    o.drawEllipse(r);
    o.setFillColor(kInk);
    o.floodFill(CPoint(20, 15));
    EXPECT_EQ(o.getPoint({1, 1}), kBlackCColor);
    EXPECT_EQ(o.getPoint({20, 15}), kInk);
    EXPECT_EQ(countColor(o, kInk, CRect(0, 0, 40, 4)), 0);
    EXPECT_EQ(o.getPoint({20, r.top}), kWhiteCColor);
}

TEST(Drawing, PolygonsAndFloodFill) {
    COffscreenContext c(nullptr, 20, 20, kBlackCColor);
    c.setFillColor(kInk);
    CPoint square[4] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    c.drawPolygon(square, 4, kDrawFilled);
    // Through the vertex pixels' centres: columns and rows 2..11.
    EXPECT_EQ(countColor(c, kInk, whole(c)), 100);

    // A diagonal splits a square; filling one side leaves the other.
    COffscreenContext f(nullptr, 12, 12, kBlackCColor);
    f.setFrameColor(kWhiteCColor);
    f.drawLine(CPoint(0, 0), CPoint(11, 11));
    f.setFillColor(kInk);
    f.floodFill(CPoint(8, 2));
    EXPECT_EQ(countColor(f, kInk, whole(f)), 66);  // above the diagonal: 11 + 10 + ... + 1
    EXPECT_EQ(f.getPoint({2, 8}), kBlackCColor);
    // Filling with the colour already there, or outside the buffer, changes nothing.
    f.floodFill(CPoint(8, 2));
    f.floodFill(CPoint(-1, 50));
    EXPECT_EQ(countColor(f, kInk, whole(f)), 66);
}

TEST(Drawing, ResourceBitmapsDecodeOnceAndDrawExactly) {
    CBitmap* a = new CBitmap(9002);
    CBitmap* b = new CBitmap(9002);
    ASSERT_TRUE(a->isLoaded());
    EXPECT_EQ(a->getWidth(), 48);
    EXPECT_EQ(a->getHeight(), 40);
    const CBitmap& ca = *a;
    const CBitmap& cb = *b;
    EXPECT_EQ(ca.pixels(), cb.pixels());  // one decoded image, shared
    CBitmap missing(123456);
    EXPECT_FALSE(missing.isLoaded());

    // Drawing from an offset copies the image's pixels exactly.
    COffscreenContext c(nullptr, 60, 30, kBlackCColor);
    a->draw(&c, CRect(5, 5, 53, 25), CPoint(0, 20));
    EXPECT_EQ(c.getPoint({5, 5}), a->getPixel(0, 20));
    EXPECT_EQ(c.getPoint({52, 24}), a->getPixel(47, 39));
    EXPECT_EQ(c.getPoint({4, 5}), kBlackCColor);
    // Writing into one bitmap leaves the shared image alone.
    b->pixels()[0] = 0xFF123456u;
    EXPECT_NE(ca.pixels()[0], 0xFF123456u);
    a->forget();
    b->forget();
}

TEST(Drawing, TransparencyColourMaskAndAlpha) {
    CBitmap* image = new CBitmap(4, 1);
    std::uint32_t* p = image->pixels();
    p[0] = kInk.pixel();
    p[1] = CColor{255, 0, 255, 255}.pixel();
    p[2] = kInk.pixel();
    p[3] = kInk.pixel();
    image->setTransparentColor({255, 0, 255, 255});
    COffscreenContext c(nullptr, 4, 1, kBlackCColor);
    image->drawTransparent(&c, CRect(0, 0, 4, 1));
    EXPECT_EQ(c.getPoint({0, 0}), kInk);
    EXPECT_EQ(c.getPoint({1, 0}), kBlackCColor);

    // A mask (white = transparent) takes precedence, read at its offset.
    CBitmap* mask = new CBitmap(6, 1);
    std::uint32_t* m = mask->pixels();
    for (int i = 0; i < 6; ++i) m[i] = (i == 4 ? kWhiteCColor : kBlackCColor).pixel();
    image->setTransparencyMask(mask, CPoint(2, 0));
    mask->forget();  // the image keeps it
    COffscreenContext d(nullptr, 4, 1, kBlackCColor);
    image->drawTransparent(&d, CRect(0, 0, 4, 1));
    EXPECT_EQ(d.getPoint({1, 0}), CColor(255, 0, 255, 255));
    EXPECT_EQ(d.getPoint({2, 0}), kBlackCColor);
    EXPECT_EQ(d.getPoint({3, 0}), kInk);

    // Half opacity lands halfway between the colours.
    COffscreenContext e(nullptr, 4, 1, kBlackCColor);
    image->drawAlphaBlend(&e, CRect(0, 0, 4, 1), CPoint(), 128);
    CColor mid = e.getPoint({0, 0});
    EXPECT_NEAR(mid.red, 100, 2);
    EXPECT_NEAR(mid.green, 20, 2);
    image->forget();
}

TEST(Drawing, OffscreenCopyLandsAtTheDestination) {
    COffscreenContext src(nullptr, 8, 8, kBlackCColor);
    src.setFillColor(kInk);
    src.fillRect(CRect(2, 2, 4, 4));
    COffscreenContext dst(nullptr, 20, 20, kWhiteCColor);
    src.copyFrom(&dst, CRect(10, 10, 14, 14), CPoint(1, 1));
    EXPECT_EQ(dst.getPoint({11, 11}), kInk);
    EXPECT_EQ(dst.getPoint({10, 10}), kBlackCColor);
    EXPECT_EQ(dst.getPoint({14, 14}), kWhiteCColor);
    EXPECT_EQ(countColor(dst, kInk, whole(dst)), 4);
}

TEST(Drawing, TextIsMeasuredAlignedAndClipped) {
    FontRenderer& fonts = FontRenderer::instance();
    ASSERT_TRUE(fonts.valid());
    EXPECT_LT(fonts.textWidth(kNormalFont, "ii"), fonts.textWidth(kNormalFont, "WW"));
    EXPECT_LT(fonts.textWidth(kNormalFontVerySmall, "Quor"),
              fonts.textWidth(kNormalFontVeryBig, "Quor"));
    EXPECT_EQ(fonts.textWidth(kNormalFont, ""), 0);
    EXPECT_EQ(fonts.textWidth(kNormalFont, "abc", 2), fonts.textWidth(kNormalFont, "ab"));

    const CRect box(10, 0, 110, 20);
    for (CHoriTxtAlign align : {kLeftText, kCenterText, kRightText}) {
        COffscreenContext c(nullptr, 120, 20, kBlackCColor);
        c.setFont(kNormalFont);
        c.setFontColor(kWhiteCColor);
        c.drawString("Hello", box, false, align);
        auto [first, last] = inkedColumns(c, kBlackCColor);
        ASSERT_GE(first, box.left) << align;
        ASSERT_LT(last, box.right) << align;
        int width = fonts.textWidth(kNormalFont, "Hello");
        if (align == kLeftText) {
            EXPECT_LE(first, box.left + 2);
        } else if (align == kRightText) {
            EXPECT_GE(last, box.right - 3);
        } else {
            EXPECT_NEAR((first + last) / 2.0, (box.left + box.right) / 2.0, 2.5);
        }
        EXPECT_NEAR(last - first + 1, width, 3);
    }

    // Text is clipped to its rectangle, and smoothed.
    COffscreenContext c(nullptr, 60, 20, kBlackCColor);
    c.setFont(kNormalFontVeryBig);
    c.setFontColor(kWhiteCColor);
    c.drawString("WWWWWWWW", CRect(5, 0, 30, 20), false, kLeftText);
    auto [first, last] = inkedColumns(c, kBlackCColor);
    EXPECT_GE(first, 5);
    EXPECT_EQ(last, 29);
    int shades = 0;
    for (int x = 5; x < 30; ++x) {
        for (int y = 0; y < 20; ++y) shades += c.getPoint({x, y}).red % 255 != 0;
    }
    EXPECT_GT(shades, 5);
    // Opaque text fills its rectangle with the fill colour first.
    c.setFillColor(kInk);
    c.drawString("", CRect(40, 0, 50, 10), true);
    EXPECT_EQ(countColor(c, kInk, whole(c)), 100);
}

TEST(Drawing, ItalicTextLeansRight) {
    // The foot and the top of an upright "l" start in the same column; in italics the top lies
    // further right.
    auto lean = [](int face) {
        COffscreenContext c(nullptr, 30, 30, kBlackCColor);
        c.setFont(kNormalFontVeryBig, 0, face);
        c.setFontColor(kWhiteCColor);
        c.drawString("l", CRect(5, 0, 30, 30), false, kLeftText);
        std::vector<int> left;  // first bright column of each inked row
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (c.getPoint({x, y}).red > 128) {
                    left.push_back(x);
                    break;
                }
            }
        }
        return left.size() < 4 ? -100 : left.front() - left.back();
    };
    EXPECT_EQ(lean(kNormalFace), 0);
    EXPECT_GE(lean(kItalicFace), 2);
}

TEST(Drawing, DecoderRejectsDamagedData) {
    DecodedImage image;
    const unsigned char junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(decodeImage(junk, sizeof junk, image));
    EXPECT_FALSE(decodeImage(nullptr, 0, image));
    EmbeddedData png = embeddedBitmap(9001);
    ASSERT_NE(png.bytes, nullptr);
    EXPECT_TRUE(decodeImage(png.bytes, png.size, image));
    EXPECT_EQ(image.width, 32);
    std::vector<unsigned char> cut(png.bytes, png.bytes + png.size / 2);
    EXPECT_FALSE(decodeImage(cut.data(), cut.size(), image));
    EXPECT_EQ(image.width, 0);
}

}  // namespace
