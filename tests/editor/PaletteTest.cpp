// The excitation palette on a headless frame: ring geometry, icon layout, labels, sector images,
// and the mouse, wheel and menu gestures against a plug-in object with a small pool.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/Orin.h"
#include "data/PLibraryStartup.h"
#include "data/PPool.h"
#include "editor/CBitmapCollection.h"
#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"
#include "editor/POrinDiskControl.h"
#include "editor/POrinDiskDescriptor.h"
#include "editor/PaletteHost.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"
#include "gui/FontRenderer.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace {

std::intptr_t quietHost(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// Pool indices of the test library.
enum : int { kViolin, kViola, kCello, kFlute, kOboe, kGone, kInstruments };

const CRect kPaletteRect(10, 53, 466, 357);
constexpr CColor kNormalInk{10, 20, 30, 255};
constexpr CColor kLitInk{250, 0, 250, 255};

struct RecordingHost : PaletteHost {
    std::vector<int> layers;
    int changes = 0;
    void selectLayer(int layer) override { layers.push_back(layer); }
    void paletteChanged() override { ++changes; }
};

// Runs a hook on every turn of a tracking loop, then redraws.
struct LoopOwner : CFrameOwner {
    CFrame* frame = nullptr;
    std::function<void()> eachTurn;
    void beginEdit(long) override {}
    void endEdit(long) override {}
    void doIdleStuff() override {
        if (eachTurn) eachTurn();
        frame->idle();
    }
    int getKnobMode() const override { return kLinearMode; }
    void timerIdle() override {}
};

CBitmap* solidBitmap(const CColor& color) {
    auto* b = new CBitmap(459, 304);
    std::fill(b->pixels(), b->pixels() + 459 * 304, color.pixel());
    return b;
}

class Palette : public ::testing::Test, public CControlListener {
protected:
    void SetUp() override {
        setLibraryMessageHandlerForTests([](const char*, const char*) {});
        PPool& pool = PPool::shared();
        pool.resetForTests();
        for (const char* name : {"Violin", "Viola", "Cello"}) pool.addInstrument(name, "Strings");
        for (const char* name : {"Flute", "Oboe"}) pool.addInstrument(name, "Winds");
        pool.addMissing("Gone");
        plugin = std::make_unique<Orin>(quietHost);
        disk = std::make_unique<POrinDiskDescriptor>(*plugin, &host, kPaletteRings,
                                                     kPaletteRingCount, 3);
        disk->build();
        owner.frame = frame = new CFrame(CRect(0, 0, 735, 449), nullptr, &owner);
        window = frame->headless();
    }
    void TearDown() override {
        frame->forget();
        disk.reset();
        plugin.reset();
        setLibraryMessageHandlerForTests(nullptr);
    }

    PPreset& preset() { return plugin->currentProgram().editPreset(); }
    void putIcons(int b, int t, int f) {
        preset().setIcon(0, b);
        preset().setIcon(1, t);
        preset().setIcon(2, f);
        disk->placePointers(10);
    }
    void openControl(CBitmapCollection* normal = nullptr, CBitmapCollection* lit = nullptr) {
        control = new POrinDiskControl(kPaletteRect, this, 12222, disk.get(), nullptr, normal,
                                       lit, nullptr, CPoint());
        frame->addView(control);
    }
    // Frame point of a centre-coordinate point.
    static CPoint onFrame(const CPoint& centrePoint) {
        return {kPaletteRect.left + 228 + centrePoint.h, kPaletteRect.top + 152 - centrePoint.v};
    }
    static CPoint centreOf(const CRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    CPoint iconOnFrame(int icon) {
        CPoint c = centreOf(disk->pointer(icon)->rect());
        return c.offset(kPaletteRect.left, kPaletteRect.top);
    }
    // A point well inside a sector (centre coordinates): a fraction of the way across the
    // ring and along the arc.
    CPoint inside(int id, double across = 0.5, double along = 0.5) {
        PDiskSector* s = disk->sectorById(id);
        const double a = s->startAngle() + along * disk->sectorStep(s->ring());
        const PRing& outer = kPaletteRings[s->ring()];
        const double inner = s->ring() ? kPaletteRings[s->ring() - 1].horizontalRadius : 0;
        const double r = inner + across * (outer.horizontalRadius - inner);
        return {int(std::lround(r * std::sin(a))), int(std::lround(r * std::cos(a) / 1.5))};
    }

    // The editor's part of a drag: the reported position moves the icon.
    void valueChanged(CControl* c) override {
        int index = -1;
        CPoint at;
        ASSERT_TRUE(static_cast<PDiskControl*>(c)->dragPosition(index, at));
        reports.push_back(at);
        control->moveIcon(index, at);
    }
    // The drag is one gesture, bracketed while the dragged icon is known.
    void controlBeginEdit(CControl*) override { gestures.push_back(dragged()); }
    void controlEndEdit(CControl*) override { gestures.push_back(-dragged()); }
    int dragged() {
        int index = -1;
        CPoint at;
        return control->dragPosition(index, at) ? index + 1 : 0;
    }

    RecordingHost host;
    LoopOwner owner;
    std::unique_ptr<Orin> plugin;
    std::unique_ptr<POrinDiskDescriptor> disk;
    CFrame* frame = nullptr;
    HeadlessWindow* window = nullptr;
    POrinDiskControl* control = nullptr;
    std::vector<CPoint> reports;
    std::vector<int> gestures;  // icon + 1 at a begin, -(icon + 1) at an end
};

TEST_F(Palette, RingsHitTestsAndBoundingRectangles) {
    const struct {
        CPoint at;
        int sector;  // -1: none
        bool insideDisk;
    } points[] = {
        {{0, 40}, 0, true},   {{0, 60}, 3, true},     {{230, 0}, -1, false},
        {{0, -40}, 1, true},  {{-10, 40}, 2, true},   {{228, 0}, 19, true},
        {{0, 152}, 15, true}, {{0, 153}, -1, false},  {{200, 72}, 18, true},
        {{200, 73}, 18, false},  // the ring test truncates the scaled y: a pixel of slack
    };
    for (const auto& p : points) {
        PDiskSector* s = disk->sectorAt(p.at);
        EXPECT_EQ(s ? s->id() : -1, p.sector) << p.at.h << "," << p.at.v;
        EXPECT_EQ(disk->insideDisk(p.at), p.insideDisk) << p.at.h << "," << p.at.v;
    }
    // Ring 0's first two sectors (widened to the rightmost and bottom points) and the first
    // sector of the outer ring.
    EXPECT_EQ(disk->sectorById(0)->boundingRect(), CRect(228, 102, 303, 176));
    EXPECT_EQ(disk->sectorById(1)->boundingRect(), CRect(164, 152, 292, 202));
    EXPECT_EQ(disk->sectorById(15)->boundingRect(), CRect(228, 0, 305, 62));
}

TEST_F(Palette, IconsStackMirroredOnTheLeftAndSitBelowLabels) {
    // Two icons on one sector: B left of T (10 px) and 2 px higher on the right half (the
    // sectors starting exactly at the half are right-half ones), the other way round on the left.
    const struct {
        int sector;
        int direction;  // +1: T right of B
    } shared[] = {{5, 1}, {9, 1}, {24, 1}, {11, -1}, {2, -1}, {0, 1}};
    for (const auto& c : shared) {
        putIcons(c.sector, c.sector, 3);
        const CPoint b = disk->pointer(0)->position(), t = disk->pointer(1)->position();
        EXPECT_EQ(t.h - b.h, 10 * c.direction) << c.sector;
        EXPECT_EQ(t.v - b.v, 2) << c.sector;
        EXPECT_EQ(disk->sectorById(c.sector)->iconCount(), 2);
    }
    // Label boxes and an icon alone pushed down to 3 px above its label box's bottom.
    CRect box;
    ASSERT_TRUE(disk->labelBox(*disk->sectorById(3), box));
    EXPECT_EQ(box, CRect(235, 65, 280, 77));
    ASSERT_TRUE(disk->labelBox(*disk->sectorById(14), box));
    EXPECT_EQ(box, CRect(176, 65, 221, 77));
    putIcons(3, 20, 30);
    EXPECT_EQ(disk->pointer(0)->rect().top, 74);
    EXPECT_EQ(disk->pointer(0)->position(), CPoint(264, 86));
}

TEST_F(Palette, LabelsAreShortenedWithAFullStop) {
    FontRenderer& fonts = FontRenderer::instance();
    auto width = [&](const char* text) { return fonts.textWidth(kNormalFontVerySmall, text); };
    const struct {
        const char* text;
        int limit;
        const char* shown;
    } cases[] = {
        {"Cello", width("Cello"), "Cello"},
        {"AB CDEF", width("AB C"), "AB."},
        {"ABCDEFG", width("ABCD"), "ABC."},
        {"AB", width("A"), "."},
        {"Violin", 0, ""},
        {"Violin", -5, ""},
    };
    for (const auto& c : cases) {
        // A guard before the text: cutting to nothing must not write in front of it.
        char buffer[32] = "#";
        std::strcpy(buffer + 1, c.text);
        POrinDiskDescriptor::shortenLabel(buffer + 1, c.limit);
        EXPECT_STREQ(buffer + 1, c.shown) << c.text;
        EXPECT_EQ(buffer[0], '#') << c.text;
    }

    // An empty sector has no label; one naming an instrument the pool lacks says so in red.
    auto labelPixels = [&](std::int32_t slot) {
        preset().setSlot(5, slot);
        COffscreenContext context(frame, 459, 304, kBlackCColor);
        PDiskSector* sector = disk->sectorById(5);
        disk->drawSectorLabel(sector, &context, CRect(0, 0, 459, 304));
        int lit = 0, red = 0;
        for (CCoord y = 0; y < 304; ++y) {
            for (CCoord x = 0; x < 459; ++x) {
                const CColor c = context.getBitmap()->getPixel(x, y);
                lit += c.red > 60;
                red += c.red > c.green + 60;
            }
        }
        return std::make_pair(lit, red);
    };
    EXPECT_EQ(labelPixels(PPreset::kEmptySlot), std::make_pair(0, 0));
    const auto [lit, red] = labelPixels(PPool::kMaxInstruments - 1);
    EXPECT_GT(lit, 10);
    EXPECT_GT(red, 10);
}

TEST_F(Palette, SectorImagesAreCutAlongTheRings) {
    auto* source = new CBitmap(459, 304);
    for (int y = 0; y < 304; ++y)
        for (int x = 0; x < 459; ++x) source->pixels()[y * 459 + x] = 0xFF000000u | (y << 12) | x;
    CBitmapCollection* images = PDiskControl::buildSectorImages(*disk, source, CPoint(228, 152));
    ASSERT_EQ(images->count(), 33);
    for (int id = 0; id < 33; ++id) {
        PDiskSector* s = disk->sectorById(id);
        CBitmap* image = images->get(id);
        ASSERT_NE(image, nullptr);
        const CRect r = s->imageRect();
        // Each sector's middle shows its own source pixel; its neighbours' middles are masked.
        const int n = kPaletteRings[s->ring()].sectorCount, first = id - s->index();
        for (int other : {id, first + (s->index() + 1) % n, first + (s->index() + n - 1) % n}) {
            const CPoint p = disk->toControl(inside(other));
            if (!r.pointInside(p)) continue;
            const int x = p.h - r.left, y = p.v - r.top;
            EXPECT_EQ(image->isTransparentAt(x, y), other != id) << id << " at " << other;
            if (other == id) {
                EXPECT_EQ(image->getPixel(x, y), source->getPixel(p.h, p.v));
            }
        }
    }
    images->forget();
    // Without the artwork the slots stay empty.
    auto* missing = new CBitmap(131000);
    images = PDiskControl::buildSectorImages(*disk, missing, CPoint(228, 152));
    EXPECT_EQ(images->count(), 33);
    EXPECT_EQ(images->get(0), nullptr);
    images->forget();
    missing->forget();
    source->forget();
}

TEST_F(Palette, DragReportsClampedPositionsAndDropsOnTheSector) {
    putIcons(0, 20, 30);
    openControl();
    const CPoint start = iconOnFrame(0);
    const CPoint far(start.h + 400, onFrame(CPoint()).v);  // far right of the disk, on its axis
    window->queueMouse(CPoint(start.h + 5, start.v), kLButton);
    window->queueMouse(CPoint(start.h + 5, start.v), kLButton);  // no new position: no report
    window->queueMouse(far, kLButton);
    window->queueMouse(far, 0);
    frame->onMouseDown(start, kLButton);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], disk->toCentre(CPoint(start.h + 5 - 10, start.v - 53)));
    EXPECT_EQ(reports[1], CPoint(199, 0));  // clamped to the reachable ellipse
    int index;
    CPoint at;
    EXPECT_FALSE(control->dragPosition(index, at));
    EXPECT_EQ(gestures, (std::vector<int>{1, -1}));
    // Dropped on the outer ring's sector at 3 o'clock, snapped to it and selected there.
    EXPECT_EQ(disk->pointer(0)->sector()->id(), 19);
    EXPECT_EQ(preset().icon(0), 19);
    EXPECT_EQ(control->selected(), disk->pointer(0));
    EXPECT_EQ(disk->sectorById(0)->litCount(), 0);
    EXPECT_EQ(host.layers, std::vector<int>{0});
}

TEST_F(Palette, ClicksMoveTheSelectedIconAndPickIcons) {
    putIcons(0, 20, 30);
    openControl();
    // The first plain click selects B and sends it there.
    frame->onMouseDown(onFrame(inside(25)), kLButton);
    EXPECT_EQ(preset().icon(0), 25);
    // A press on T selects it without moving anything; the next click moves T.
    frame->onMouseDown(iconOnFrame(1), kLButton);
    EXPECT_EQ(control->selected(), disk->pointer(1));
    EXPECT_EQ(preset().icon(1), 20);
    frame->onMouseDown(onFrame(inside(7)), kLButton);
    EXPECT_EQ(preset().icon(1), 7);
    EXPECT_EQ(preset().icon(0), 25);
    EXPECT_EQ(host.layers, (std::vector<int>{0, 1, 1, 1}));
    // An icon's right and bottom edges are outside it: a press there is a plain click.
    const CRect f = disk->pointer(2)->rect();
    const CPoint c = centreOf(f);
    EXPECT_EQ(disk->pointerAt(CPoint(f.right - 1, c.v)), disk->pointer(2));
    EXPECT_EQ(disk->pointerAt(CPoint(f.right, c.v)), nullptr);
    EXPECT_EQ(disk->pointerAt(CPoint(c.h, f.bottom)), nullptr);
    frame->onMouseDown(CPoint(f.right + kPaletteRect.left, c.v + kPaletteRect.top), kLButton);
    EXPECT_EQ(control->selected(), disk->pointer(1));
    // Presses outside the ellipse do not reach the palette.
    frame->onMouseDown(onFrame(CPoint(225, 140)), kLButton);
    EXPECT_EQ(host.layers.size(), 5u);
}

TEST_F(Palette, WheelStepsThroughThePoolAndTheEmptySlot) {
    openControl();
    const CPoint over = onFrame(inside(20));
    const struct {
        std::int32_t from;
        float distance;
        std::int32_t to;
    } steps[] = {
        {PPreset::kEmptySlot, 1.f, kViolin}, {kViolin, -1.f, PPreset::kEmptySlot},
        {PPreset::kEmptySlot, -1.f, kGone},  {kGone, 1.f, PPreset::kEmptySlot},
        {kOboe, 3.f, kViolin},               {kViola, 2.7f, kFlute},
        {kCello, -3.f, PPreset::kEmptySlot}, {96, 1.f, kViolin},
    };
    int changes = 0;
    for (const auto& s : steps) {
        preset().setSlot(20, s.from);
        EXPECT_TRUE(frame->onMouseWheel(over, s.distance));
        EXPECT_EQ(preset().slot(20), s.to) << s.from << " by " << s.distance;
        EXPECT_EQ(host.changes, ++changes);
    }
    // The new slot is applied: the resource holder follows the edit preset.
    EXPECT_EQ(plugin->resourceHolder().get(20), PPool::shared().get(kViolin));
    // Outside every ring nothing happens.
    EXPECT_FALSE(frame->onMouseWheel(onFrame(CPoint(225, 140)), 1.f));
    EXPECT_EQ(host.changes, changes);
}

TEST_F(Palette, SectorMenuStoresOnlyAnInstrumentOfThePool) {
    openControl();
    const long views = frame->getNbViews();
    auto chooseSecondWind = [&] {
        // Down twice to "Winds", Right opens it on "Flute", Down to "Oboe", Return.
        for (unsigned char key : {VKEY_DOWN, VKEY_DOWN, VKEY_RIGHT, VKEY_DOWN, VKEY_RETURN}) {
            window->queueKey(VstKeyCode{0, key, 0});
        }
    };
    preset().setSlot(20, kViolin);
    int litWhileOpen = -1;
    owner.eachTurn = [&] { litWhileOpen = disk->sectorById(20)->litCount(); };
    chooseSecondWind();
    frame->onMouseDown(onFrame(inside(20)), kRButton);
    EXPECT_EQ(preset().slot(20), kOboe);
    EXPECT_EQ(plugin->resourceHolder().get(20), PPool::shared().get(kOboe));
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(litWhileOpen, 1);
    EXPECT_EQ(disk->sectorById(20)->litCount(), 0);
    EXPECT_EQ(frame->getNbViews(), views);

    // The left button with the secondary-click key opens it too. The categories change while it
    // is open (a chunk read while the menu waits may drop one): an entry that no longer leads to
    // an instrument, or leads to another one than it showed, stores nothing.
    preset().setSlot(21, kViolin);
    owner.eachTurn = [] { PPool::shared().removeCategory("Strings"); };
    chooseSecondWind();
    frame->onMouseDown(onFrame(inside(21)), kLButton | kApple);
    EXPECT_EQ(preset().slot(21), kViolin);
    owner.eachTurn = [] { PPool::shared().removeCategory("Winds"); };
    for (unsigned char key : {VKEY_DOWN, VKEY_RIGHT, VKEY_RETURN}) {  // "Flute", now "Gone"
        window->queueKey(VstKeyCode{0, key, 0});
    }
    frame->onMouseDown(onFrame(inside(21)), kRButton);
    EXPECT_EQ(preset().slot(21), kViolin);
    EXPECT_EQ(host.changes, 1);
}

TEST_F(Palette, ProgrammaticMovesAndTheClosedEditorMapping) {
    openControl();
    control->moveIcon(1, CPoint(0, 40));
    EXPECT_EQ(disk->pointer(1)->position(), CPoint(228, 112));
    EXPECT_EQ(preset().icon(1), 0);
    control->moveIcon(1, CPoint(230, 0));  // outside every ring: stays
    EXPECT_EQ(disk->pointer(1)->position(), CPoint(228, 112));

    const struct {
        CPoint at;
        int selection;
    } mapped[] = {{{0, 40}, 0}, {{0, 60}, 3}, {{-200, 0}, 28}, {{230, 0}, 28}};
    for (const auto& m : mapped) {
        disk->selectIconAt(2, m.at);
        EXPECT_EQ(preset().icon(2), m.selection) << m.at.h << "," << m.at.v;
    }
    // The model outlives the window and forgets the control with it.
    EXPECT_EQ(disk->control(), control);
    frame->removeView(control);
    EXPECT_EQ(disk->control(), nullptr);
    EXPECT_FALSE(disk->sectorMenu(disk->sectorById(0), nullptr, CPoint()));
}

TEST_F(Palette, LitSectorsShowTheirImagesAfterARefresh) {
    CBitmap* normalSource = solidBitmap(kNormalInk);
    CBitmap* litSource = solidBitmap(kLitInk);
    CBitmapCollection* normal = PDiskControl::buildSectorImages(*disk, normalSource, {228, 152});
    CBitmapCollection* lit = PDiskControl::buildSectorImages(*disk, litSource, {228, 152});
    putIcons(0, 0, 0);
    openControl(normal, lit);
    normal->forget();
    lit->forget();
    frame->setBackgroundColor(kWhiteCColor);
    frame->idle();
    const CPoint probe = onFrame(inside(22, 0.2, 0.2));
    EXPECT_EQ(frame->getBackBuffer()->getPixel(probe.h, probe.v), kNormalInk);
    // The control's corners outside the disk leave what lies beneath it showing.
    const CPoint corner = onFrame({-226, 150});
    EXPECT_EQ(frame->getBackBuffer()->getPixel(corner.h, corner.v), kWhiteCColor);
    // Lit for the sweep and refreshed through the frame, then un-lit and refreshed into a
    // context of the parent's coordinates.
    PDiskSector* s = disk->sectorById(22);
    s->addLit(nullptr);
    s->setNeedsRedraw();
    control->refreshDirtySectors(nullptr);
    EXPECT_FALSE(s->hasFlag(PDiskSector::kNeedsRedraw));
    frame->idle();
    EXPECT_EQ(frame->getBackBuffer()->getPixel(probe.h, probe.v), kLitInk);
    s->removeLit(nullptr);
    s->setNeedsRedraw();
    COffscreenContext parent(frame, 735, 449, kWhiteCColor);
    control->refreshDirtySectors(&parent);
    EXPECT_EQ(parent.getBitmap()->getPixel(probe.h, probe.v), kNormalInk);
    EXPECT_EQ(parent.getBitmap()->getPixel(5, 5), kWhiteCColor);  // nothing outside the sector
    normalSource->forget();
    litSource->forget();
}

}  // namespace
