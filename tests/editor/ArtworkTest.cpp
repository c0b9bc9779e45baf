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

// How an image meets what lies under it.
enum class Edges {
    kOpaque,        // covers its whole rectangle
    kClearCorners,  // drawn over other images: its corners are transparent
    kBlended,       // has alpha, but may touch its rectangle's corners (segments of one bar)
};

struct Expected {
    long id;
    int width;
    int height;
    int images;  // stacked vertically
    Edges edges;
};

constexpr Edges kOpaque = Edges::kOpaque, kClear = Edges::kClearCorners,
                kBlended = Edges::kBlended;

constexpr Expected kArtwork[] = {
    {129, 735, 449, 1, kOpaque},  // window background
    {130, 735, 449, 1, kOpaque},  // about screen
    {131, 459, 304, 1, kOpaque},  // palette
    {132, 459, 304, 1, kOpaque},  // palette, every sector lit
    {133, 366, 449, 1, kOpaque},  // page background
    {134, 735, 449, 1, kOpaque},  // controller list
    {150, 147, 32, 2, kClear},    // page buttons, off above on
    {151, 45, 32, 2, kClear},
    {152, 75, 32, 2, kClear},
    {153, 48, 32, 2, kClear},
    {160, 400, 20, 1, kOpaque},  // menu item
    {161, 38, 25, 1, kClear},    // palette icons B, T, F
    {162, 38, 25, 1, kClear},
    {163, 38, 25, 1, kClear},
    {180, 478, 455, 7, kOpaque},  // keyboard: the keys, the lid closing in five steps, closed
    {190, 84, 38, 2, kClear},    // loading indicator, dark above lit
    {200, 366, 449, 1, kOpaque},  // preset page
    {201, 46, 36, 2, kBlended},   // groups A to D: one segmented bar
    {202, 46, 36, 2, kBlended},
    {203, 46, 36, 2, kBlended},
    {204, 46, 36, 2, kBlended},
    {205, 52, 36, 2, kClear},     // copy, paste, store, revert: normal above pressed
    {206, 52, 36, 2, kClear},
    {207, 52, 36, 2, kClear},
    {208, 52, 36, 2, kClear},
    {210, 192, 15, 1, kBlended},  // the current preset's highlight
    {300, 366, 449, 1, kOpaque},  // envelope page
    {301, 46, 32, 2, kClear},     // layers Base, Top, Filter
    {302, 46, 32, 2, kClear},
    {303, 46, 32, 2, kClear},
    {304, 13, 11, 1, kClear},     // slider handles High and Low
    {305, 13, 11, 1, kClear},
    {306, 20, 28, 2, kClear},     // sync
    {308, 230, 168, 1, kOpaque},  // the envelope page's corner for the Filter layer
    {350, 24, 792, 33, kClear},   // page knobs
    {351, 24, 792, 33, kClear},   // volume knob
    {400, 366, 449, 1, kOpaque},  // global page
    {401, 46, 28, 2, kClear},     // bypass
    {402, 72, 28, 2, kClear},     // effect type, delay above modulation
    {403, 24, 24, 1, kClear},     // the depth knob while the delay has no use for it
    {600, 366, 449, 1, kOpaque},  // LFO page
    {610, 23, 32, 2, kClear},     // shapes sine, rectangle, saw up, saw down, random
    {611, 23, 32, 2, kClear},
    {612, 23, 32, 2, kClear},
    {613, 23, 32, 2, kClear},
    {614, 23, 32, 2, kClear},
    {615, 50, 28, 2, kClear},     // master LFO
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
        switch (e.edges) {
            case Edges::kOpaque:
                EXPECT_EQ(b.getPixel(0, 0).alpha, 255);
                EXPECT_EQ(b.getPixel(e.width - 1, e.height - 1).alpha, 255);
                break;
            case Edges::kClearCorners:
                EXPECT_EQ(b.getPixel(0, 0).alpha, 0);
                EXPECT_EQ(b.getPixel(e.width - 1, h - 1).alpha, 0);
                break;
            case Edges::kBlended:
                EXPECT_TRUE(b.hasAlpha());
                break;
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

// The page backgrounds. Pages write their values in 9-pixel light text into dark fields, and
// caption their controls on the page panel; outside the panel they show the window itself.
constexpr long kPresetPage = 200, kEnvelopePage = 300, kGlobalPage = 400, kLfoPage = 600;
constexpr long kPages[] = {kPresetPage, kEnvelopePage, kGlobalPage, kLfoPage};
// The envelope page's lower right corner in the Filter layer's arrangement, painted over the page
// from this page point to the page's lower right corner.
constexpr long kFilterCorner = 308;
const CPoint kFilterCornerAt(136, 281);

struct PageRect {
    long page;
    CRect rect;  // page coordinates
};

// A page pixel of a page background, or of the Filter corner laid over the envelope page.
CColor pagePixel(const CBitmap& page, int x, int y) {
    if (page.getResourceId() == kFilterCorner)
        return page.getPixel(x - kFilterCornerAt.h, y - kFilterCornerAt.v);
    return page.getPixel(x, y);
}

// Where the editor writes text: value fields under knobs, the group name, the palette menu and the
// modulation-wheel menu.
const PageRect kTextFields[] = {
    {kPresetPage, {42, 44, 167, 56}},    {kPresetPage, {33, 370, 144, 383}},
    {kLfoPage, {297, 187, 323, 197}},    {kLfoPage, {103, 317, 145, 329}},
    {kLfoPage, {151, 317, 177, 329}},    {kLfoPage, {188, 317, 214, 329}},
    {kGlobalPage, {95, 120, 121, 132}},  {kGlobalPage, {145, 120, 171, 132}},
    {kGlobalPage, {180, 120, 206, 132}}, {kGlobalPage, {143, 195, 171, 207}},
    {kGlobalPage, {178, 195, 206, 207}}, {kGlobalPage, {227, 175, 338, 188}},
    {kGlobalPage, {124, 269, 170, 281}}, {kGlobalPage, {181, 269, 209, 281}},
    {kGlobalPage, {236, 269, 264, 281}}, {kGlobalPage, {125, 318, 153, 330}},
    {kGlobalPage, {181, 318, 209, 330}}, {kGlobalPage, {236, 318, 264, 330}},
    {kGlobalPage, {62, 359, 90, 371}},   {kGlobalPage, {138, 359, 166, 371}},
    {kEnvelopePage, {147, 177, 180, 187}}, {kEnvelopePage, {194, 177, 227, 187}},
    {kEnvelopePage, {241, 177, 274, 187}}, {kEnvelopePage, {288, 177, 321, 187}},
    {kEnvelopePage, {68, 348, 94, 360}},   {kEnvelopePage, {103, 348, 129, 360}},
    {kEnvelopePage, {138, 348, 164, 360}}, {kEnvelopePage, {181, 335, 207, 347}},
    {kEnvelopePage, {215, 335, 241, 347}}, {kFilterCorner, {154, 336, 180, 348}},
};

// Captions and section titles the artwork writes itself.
const PageRect kCaptions[] = {
    {kPresetPage, {42, 32, 80, 41}},     {kPresetPage, {150, 372, 200, 381}},
    {kLfoPage, {290, 152, 330, 161}},    {kLfoPage, {100, 279, 132, 288}},
    {kLfoPage, {150, 279, 182, 288}},    {kLfoPage, {185, 279, 217, 288}},
    {kGlobalPage, {88, 72, 150, 81}},    {kGlobalPage, {227, 147, 300, 156}},
    {kGlobalPage, {116, 221, 165, 230}}, {kGlobalPage, {115, 232, 165, 241}},
    {kGlobalPage, {180, 281, 212, 290}}, {kGlobalPage, {33, 340, 80, 349}},
    {kEnvelopePage, {98, 92, 126, 101}},   {kEnvelopePage, {145, 164, 182, 173}},
    {kEnvelopePage, {283, 164, 326, 173}}, {kEnvelopePage, {70, 295, 128, 304}},
    {kEnvelopePage, {140, 309, 160, 318}}, {kEnvelopePage, {178, 296, 210, 305}},
    {kFilterCorner, {143, 297, 189, 306}}, {kFilterCorner, {222, 321, 258, 330}},
};

// The preset list: row r of 15 pixels from (55, 90) uses entry min(r, 15 - r) of the name cells'
// left and right edges (list coordinates).
const CPoint kListAt(55, 90);
constexpr int kListRowHeight = 15;
constexpr int kNameCells[8][2] = {{0, 181},  {18, 203}, {30, 218}, {41, 232},
                                  {50, 239}, {57, 245}, {61, 248}, {64, 250}};

CRect nameCell(int row) {
    const int* cell = kNameCells[std::min(row, 15 - row)];
    const int top = kListAt.v + row * kListRowHeight;
    return CRect(kListAt.h + cell[0], top, kListAt.h + cell[1], top + kListRowHeight);
}

// A pixel of `over` (with its alpha) over an opaque pixel.
CColor blend(const CColor& over, const CColor& under) {
    auto mix = [&](std::uint8_t a, std::uint8_t b) {
        return std::uint8_t((a * over.alpha + b * (255 - over.alpha) + 127) / 255);
    };
    return {mix(over.red, under.red), mix(over.green, under.green), mix(over.blue, under.blue), 255};
}

TEST(Artwork, PageBackgroundsShowTheWindowOutsideTheirPanel) {
    const CBitmap window(129), plain(133);
    const PRing& outer = kPaletteRings[kPaletteRingCount - 1];
    // The page buttons' T-shaped tray (with its lit lower edge) and the volume knob.
    const CRect trayTop(584, 21, 716, 59), trayStem(621, 58, 679, 80), volume(670, 384, 694, 408);
    // Outside the panel: the strip along the page's left edge, the body below it (where the
    // volume knob draws the plain page background behind itself), the page buttons' tray, and
    // everything within 10 pixels of the palette's disk, whose control draws only the disk.
    auto outsidePanel = [&](int x, int y) {
        const double dx = (x - kPaletteLeft - kPaletteCentreX) / (outer.horizontalRadius + 10.0);
        const double dy = (y - kPaletteTop - kPaletteCentreY) / (outer.verticalRadius + 10.0);
        const CPoint p(x, y);
        return x < kPageLeft + 5 || y > 385 || dx * dx + dy * dy <= 1.0 ||
               trayTop.pointInside(p) || trayStem.pointInside(p) || volume.pointInside(p);
    };
    auto insidePanel = [&](int x, int y) { return !outsidePanel(x, y); };
    const CRect area(kPageLeft, 0, 735, 449);
    const CPoint at(kPageLeft, 0);
    for (long id : kPages) {
        SCOPED_TRACE(id);
        const CBitmap page(id);
        EXPECT_EQ(differingPixels(page, at, window, {}, area, outsidePanel), 0);
        // The page's own fields, captions and frames are on it.
        EXPECT_GT(differingPixels(page, at, plain, at, area, insidePanel), 2000);
    }
}

TEST(Artwork, PageTextsStayReadable) {
    for (const PageRect& field : kTextFields) {
        const CBitmap page(field.page);
        double worst = 100;
        // The field's edge pixels may carry its bevel; text is written inside it.
        for (int y = field.rect.top + 1; y < field.rect.bottom - 1; ++y) {
            for (int x = field.rect.left + 1; x < field.rect.right - 1; ++x)
                worst = std::min(worst, contrast(kLabelInk, pagePixel(page, x, y)));
        }
        EXPECT_GE(worst, 4.5) << field.page << " field at " << field.rect.left << ","
                              << field.rect.top;
    }
    // Preset names on every row of the list, plain and under the current preset's highlight
    // (which is cut to the cell's width), right of the cell's rounded left end and the
    // highlight's lit mark.
    const CBitmap presets(kPresetPage), highlight(210);
    for (int row = 0; row < 16; ++row) {
        const CRect cell = nameCell(row);
        ASSERT_LE(cell.width(), highlight.getWidth());
        double plain = 100, lit = 100;
        for (int y = cell.top + 1; y < cell.bottom - 2; ++y) {
            for (int x = cell.left + 3; x < cell.right - 2; ++x) {
                const CColor under = presets.getPixel(x, y);
                plain = std::min(plain, contrast(kLabelInk, under));
                const CColor over = highlight.getPixel(x - cell.left, y - cell.top);
                lit = std::min(lit, contrast(kLabelInk, blend(over, under)));
            }
        }
        EXPECT_GE(plain, 4.5) << "row " << row;
        EXPECT_GE(lit, 4.5) << "row " << row << " highlighted";
    }
    // The highlight shows: it lifts the cell it lies on.
    const CRect first = nameCell(0);
    const CPoint middle(first.left + 90, first.top + 7);
    EXPECT_GT(luminance(blend(highlight.getPixel(90, 7), presets.getPixel(middle.h, middle.v))),
              luminance(presets.getPixel(middle.h, middle.v)) + 0.01);
}

TEST(Artwork, PageCaptionsStandOutFromThePanel) {
    const CBitmap plain(133);
    for (const PageRect& caption : kCaptions) {
        const CBitmap page(caption.page);
        double best = 1;
        for (int y = caption.rect.top; y < caption.rect.bottom; ++y) {
            for (int x = caption.rect.left; x < caption.rect.right; ++x)
                best = std::max(best, contrast(pagePixel(page, x, y), plain.getPixel(x, y)));
        }
        EXPECT_GE(best, 4.5) << caption.page << " caption at " << caption.rect.left << ","
                             << caption.rect.top;
    }
}

// The Filter corner is cut from the envelope page's own backdrop: along its edges it shows the
// page's pixels, so that laying it over the page leaves no seam, and inside it the arrangement
// changes.
TEST(Artwork, FilterCornerJoinsTheEnvelopePageWithoutASeam) {
    const CBitmap page(kEnvelopePage), corner(kFilterCorner);
    ASSERT_EQ(kFilterCornerAt.h + int(corner.getWidth()), 366);
    ASSERT_EQ(kFilterCornerAt.v + int(corner.getHeight()), 449);
    const CRect area(kFilterCornerAt.h, kFilterCornerAt.v, 366, 449);
    auto edge = [&](int x, int y) {
        return x < area.left + 2 || y < area.top + 2 || x >= area.right - 2 || y >= area.bottom - 2;
    };
    auto inside = [&](int x, int y) { return !edge(x, y); };
    EXPECT_EQ(differingPixels(corner, kFilterCornerAt, page, {}, area, edge), 0);
    EXPECT_GT(differingPixels(corner, kFilterCornerAt, page, {}, area, inside), 800);
}

// The keyboard strip as the keyboard view reads it: 7 frames of 65 rows, frame 0 the keys and
// frame 6 the closed lid, frame k covering the lowest k octaves. Keys span x 38 .. 456; white key
// j of the 42 runs from 38 + round(j * 418 / 42) to one pixel before the next; black keys are 7
// pixels wide at 6, 16, 36, 46, 56 within each octave of 418 / 6 pixels, rows 6 to 33. The view
// paints lit keys over these places, so they must hold.
constexpr long kKeyboard = 180;
constexpr int kKeyboardFrameHeight = 65, kKeysLeft = 38, kKeysWidth = 418;
constexpr int kBlackOffsets[] = {6, 16, 36, 46, 56};

int whiteKeyLeft(int j) { return kKeysLeft + int(std::floor(j * kKeysWidth / 42.0 + 0.5)); }

int blackKeyLeft(int octave, int k) {
    return kKeysLeft + int(std::floor(octave * kKeysWidth / 6.0 + kBlackOffsets[k] + 0.5));
}

TEST(Artwork, KeyboardKeysLieWhereTheViewPaintsThem) {
    const CBitmap strip(kKeyboard);
    auto at = [&](int frame, int x, int y) {
        return luminance(strip.getPixel(x, frame * kKeyboardFrameHeight + y));
    };
    for (int j = 0; j < 42; ++j) {
        SCOPED_TRACE(j);
        const int left = whiteKeyLeft(j), right = whiteKeyLeft(j + 1);
        // Ivory, not a white surface: light across the key's front, dark at the gap after it.
        for (int x = left; x < right - 1; ++x) {
            EXPECT_GT(at(0, x, 40), 0.55) << x;
            EXPECT_LT(at(0, x, 40), 0.9) << x;
        }
        EXPECT_LT(at(0, right - 1, 40), 0.05);
    }
    for (int octave = 0; octave < 6; ++octave) {
        for (int k = 0; k < 5; ++k) {
            SCOPED_TRACE(octave * 5 + k);
            const int left = blackKeyLeft(octave, k);
            // Dark graphite over the rows lit keys use, the ivory beside it.
            for (int x = left; x < left + 7; ++x) {
                for (int y = 11; y < 33; y += 7)
                    EXPECT_LT(at(0, x, y), 0.05) << x << "," << y;
            }
            EXPECT_GT(at(0, left + 8, 30), 0.3);
            EXPECT_GT(at(0, left - 1, 30), 0.3);
        }
    }
    // The lid: frame k hides the lowest k octaves and no more, frame 6 every key.
    for (int frame = 1; frame < 7; ++frame) {
        SCOPED_TRACE(frame);
        for (int j = 0; j < 42; ++j) {
            const bool covered = j < 7 * frame;
            EXPECT_EQ(at(frame, (whiteKeyLeft(j) + whiteKeyLeft(j + 1)) / 2, 40) < 0.2, covered)
                << "white key " << j;
        }
    }
}

// The column and level sliders' handles: High reads lighter than Low, and both stand out from the
// panel they slide on.
TEST(Artwork, SliderHandlesTellHighFromLow) {
    const CBitmap high(304), low(305), page(kEnvelopePage);
    const int cx = high.getWidth() / 2, cy = high.getHeight() / 2 - 2;
    const CColor panel = page.getPixel(200, 225);  // between the first two column sliders
    EXPECT_GT(luminance(high.getPixel(cx, cy)), 2 * luminance(low.getPixel(cx, cy)));
    for (const CBitmap* handle : {&high, &low}) {
        EXPECT_EQ(handle->getPixel(cx, cy).alpha, 255);
        EXPECT_GE(contrast(handle->getPixel(cx, cy), panel), 3.0) << handle->getResourceId();
    }
}

}  // namespace
