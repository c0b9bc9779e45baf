// The editor's artwork as embedded in the library: every bitmap the window uses is there with the
// size and image count the editor cuts it by; images that meet in the window show the same pixels
// where they meet; sector labels stay readable on the palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "editor/PaletteRings.h"
#include "gui/CBitmap.h"

namespace {

struct Expected {
    long id;
    int width;
    int height;
    int images;       // stacked vertically
    bool alphaEdges;  // drawn over other images: its corners are transparent
};

constexpr Expected kArtwork[] = {
    {129, 735, 449, 1, false},  // window background
    {130, 735, 449, 1, false},  // about screen
    {131, 459, 304, 1, false},  // palette
    {132, 459, 304, 1, false},  // palette, every sector lit
    {133, 366, 449, 1, false},  // page background
    {134, 735, 449, 1, false},  // controller list
    {150, 147, 32, 2, true},    // page buttons, off above on
    {151, 45, 32, 2, true},
    {152, 75, 32, 2, true},
    {153, 48, 32, 2, true},
    {160, 400, 20, 1, false},  // menu item
    {161, 38, 25, 1, true},    // palette icons B, T, F
    {162, 38, 25, 1, true},
    {163, 38, 25, 1, true},
    {190, 84, 38, 2, true},    // loading indicator, dark above lit
    {351, 24, 792, 33, true},  // volume knob
};

constexpr int kPaletteLeft = 10, kPaletteTop = 53, kPaletteWidth = 456, kPaletteHeight = 304;
constexpr int kPageLeft = 369;
// The light colour the editor writes sector labels in.
constexpr CColor kLabelInk{228, 231, 236, 255};

double channel(std::uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const CColor& c) {
    return 0.2126 * channel(c.red) + 0.7152 * channel(c.green) + 0.0722 * channel(c.blue);
}

double contrast(const CColor& a, const CColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Pixels that differ between two images over a window area; `pick` says, per window pixel,
// whether it is compared at all.
template <class Pick>
int differingPixels(const CBitmap& a, CPoint aAt, const CBitmap& b, CPoint bAt, const CRect& area,
                    Pick pick) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (pick(x, y) && a.getPixel(x - aAt.h, y - aAt.v) != b.getPixel(x - bAt.h, y - bAt.v))
                ++n;
        }
    }
    return n;
}

TEST(Artwork, EveryBitmapIsEmbeddedWithItsSizeAndStates) {
    for (const Expected& e : kArtwork) {
        SCOPED_TRACE(e.id);
        CBitmap b(e.id);
        ASSERT_TRUE(b.isLoaded());
        EXPECT_EQ(b.getWidth(), e.width);
        EXPECT_EQ(b.getHeight(), e.height);
        const int h = e.height / e.images;
        if (e.alphaEdges) {
            EXPECT_EQ(b.getPixel(0, 0).alpha, 0);
            EXPECT_EQ(b.getPixel(e.width - 1, h - 1).alpha, 0);
        } else {
            EXPECT_EQ(b.getPixel(0, 0).alpha, 255);
            EXPECT_EQ(b.getPixel(e.width - 1, e.height - 1).alpha, 255);
        }
        // Stacked states must look different from their neighbours: a strip whose images repeat
        // would show a control that does not move.
        for (int i = 1; i < e.images; ++i) {
            int changed = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < e.width; ++x)
                    changed += b.getPixel(x, i * h + y) != b.getPixel(x, (i - 1) * h + y);
            }
            EXPECT_GT(changed, 4) << "image " << i;
        }
    }
}

TEST(Artwork, PaletteCornersMatchTheBackgroundsBeneath) {
    const CBitmap window(129), page(133), matte(131), lit(132);
    const PRing& outer = kPaletteRings[kPaletteRingCount - 1];
    // Outside the outer ellipse grown by 3 pixels (the sector masks reach 1 pixel beyond it, and
    // the disk's smoothed edge half a pixel more).
    auto corner = [&](int x, int y) {
        const double dx = (x - kPaletteLeft - kPaletteCentreX) / (outer.horizontalRadius + 3.0);
        const double dy = (y - kPaletteTop - kPaletteCentreY) / (outer.verticalRadius + 3.0);
        return dx * dx + dy * dy > 1.0;
    };
    const CRect control(kPaletteLeft, kPaletteTop, kPaletteLeft + kPaletteWidth,
                        kPaletteTop + kPaletteHeight);
    CRect overWindow = control, overPage = control;
    overWindow.right = kPageLeft;
    overPage.left = kPageLeft;
    const CPoint at(kPaletteLeft, kPaletteTop), pageAt(kPageLeft, 0);
    for (const CBitmap* palette : {&matte, &lit}) {
        SCOPED_TRACE(palette->getResourceId());
        EXPECT_EQ(differingPixels(*palette, at, window, {}, overWindow, corner), 0);
        EXPECT_EQ(differingPixels(*palette, at, page, pageAt, overPage, corner), 0);
        // The disk itself is drawn: most of it differs from the background.
        auto disk = [&](int x, int y) { return !corner(x, y); };
        EXPECT_GT(differingPixels(*palette, at, window, {}, overWindow, disk), 20000);
    }
    // The page background and the window background agree wherever the page covers the window,
    // for the volume knob draws the window background behind itself.
    EXPECT_EQ(differingPixels(window, {}, page, pageAt, CRect(kPageLeft, 0, 735, 449),
                              [](int, int) { return true; }),
              0);
}

TEST(Artwork, SectorLabelsStayReadableMatteAndLit) {
    const CBitmap matte(131), lit(132);
    int sector = 0;
    for (int r = 0; r < kPaletteRingCount; ++r) {
        const PRing& ring = kPaletteRings[r];
        const double innerX = r ? kPaletteRings[r - 1].horizontalRadius : 0;
        const double innerY = r ? kPaletteRings[r - 1].verticalRadius : 0;
        for (int i = 0; i < ring.sectorCount; ++i, ++sector) {
            // A 15 x 7 area round the middle of the sector, where a label sits.
            const double a = (i + 0.5) * 2 * std::numbers::pi / ring.sectorCount;
            const int mx = kPaletteCentreX + int((ring.horizontalRadius + innerX) / 2 * std::sin(a));
            const int my = kPaletteCentreY - int((ring.verticalRadius + innerY) / 2 * std::cos(a));
            for (const CBitmap* palette : {&matte, &lit}) {
                double worst = 100;
                for (int y = my - 3; y <= my + 3; ++y) {
                    for (int x = mx - 7; x <= mx + 7; ++x)
                        worst = std::min(worst, contrast(kLabelInk, palette->getPixel(x, y)));
                }
                EXPECT_GE(worst, 4.5) << "sector " << sector << " of " << palette->getResourceId();
            }
            // A lit sector must be obvious at a glance.
            const double lift = luminance(lit.getPixel(mx, my)) - luminance(matte.getPixel(mx, my));
            EXPECT_GT(lift, 0.03) << "sector " << sector;
        }
    }
    EXPECT_EQ(sector, 33);
}

}  // namespace
