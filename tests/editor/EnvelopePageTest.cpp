// The envelope page in the editor window on a headless frame: layers and the values they bind,
// each kind of control as one host gesture, the Filter arrangement, the slope displays' drags,
// the value fields, the level slider's refresh; and a release rendered by the built module
// against the time the page shows for it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "HostedEditor.h"
#include "OpenEditor.h"
#include "editor/CDepTextEdit.h"
#include "editor/CGuidedMultiSlider.h"
#include "editor/CKnobEdit.h"
#include "editor/CSlopeDisplay.h"
#include "editor/OrinMpeEditor.h"
#include "editor/PAdsrEditor.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/COnOffButton.h"

namespace {

constexpr int kAttackBaseLo = 8, kAttackBaseHi = 76, kAttackTopLo = 12, kAttackTopHi = 79;
constexpr int kSustainBaseLo = 10, kReleaseBaseLo = 11, kReleaseBaseHi = 78;
constexpr int kLevelBaseLo = 5, kLevelBaseHi = 4;

class EnvelopePage : public OpenEditor {
protected:
    void SetUp() override {
        OpenEditor::SetUp();
        showPage(OrinEditor::kEnvelopePage);
        page = static_cast<PAdsrEditor*>(editor->page(OrinEditor::kEnvelopePage));
    }

    // A press at `at` held through `path` with `buttons`, released once the path is used up.
    void drag(const CPoint& at, const std::vector<CPoint>& path, long buttons = kLButton) {
        for (const CPoint& p : path) window->queueMouse(p, buttons);
        frame->onMouseDown(at, buttons);
        ASSERT_EQ(window->pendingSteps(), 0u);
    }
    static CPoint inWindow(const CPoint& onPageAt) {
        return {kPageLeft + onPageAt.h, onPageAt.v};
    }
    static CPoint centreOf(const CRect& pageRect) { return onPage(pageRect); }
    static CPoint moved(CPoint p, CCoord dx, CCoord dy) { return p.offset(dx, dy); }
    // A host change, taken in on the next idle.
    void hostSets(int parameter, float value) {
        plugin->setParameter(parameter, value);
        editor->idle();
        hostCalls.clear();
    }
    // The host was told of exactly `parameters` since the last clear, each written at least
    // once between its begin and end edit.
    void expectGestureOn(const std::set<int>& parameters) {
        std::map<int, std::vector<std::int32_t>> byParameter;
        for (const HostCall& call : hostCalls) byParameter[call.index].push_back(call.opcode);
        std::set<int> seen;
        for (const auto& [index, opcodes] : byParameter) {
            seen.insert(index);
            ASSERT_GE(opcodes.size(), 3u) << index;
            EXPECT_EQ(opcodes.front(), audioMasterBeginEdit) << index;
            EXPECT_EQ(opcodes.back(), audioMasterEndEdit) << index;
            for (std::size_t i = 1; i + 1 < opcodes.size(); ++i)
                EXPECT_EQ(opcodes[i], audioMasterAutomate) << index;
        }
        EXPECT_EQ(seen, parameters);
        hostCalls.clear();
    }
    CPoint handleCentre(CMultiSlider* slider, int handle) const {
        return onPage(slider->handleRect(handle));
    }
    CColor pixel(const CPoint& windowAt) const {
        return frame->getBackBuffer()->getPixel(windowAt.h, windowAt.v);
    }

    PAdsrEditor* page = nullptr;
};

TEST_F(EnvelopePage, EachControlIsOneGestureOnTheParametersItWrites) {
    for (int p : {kAttackBaseLo, kAttackBaseHi, kLevelBaseLo, kReleaseBaseLo, 59})
        hostSets(p, 0.5f);
    struct Case {
        const char* what;
        std::function<void()> act;
        std::set<int> parameters;
    };
    const Case cases[] = {
        {"column slider, Low handle",
         [&] {
             const CPoint at = handleCentre(page->columnSlider(0), 0);
             drag(at, {moved(at, 0, -10)});
         },
         {kAttackBaseLo}},
        {"column slope, both ends",
         [&] {
             const CPoint at = centreOf(page->columnSlope(0)->getViewSize());
             drag(at, {moved(at, 0, -6)});
         },
         {kAttackBaseLo, kAttackBaseHi}},
        {"level slider, Low handle",
         [&] {
             const CPoint at = handleCentre(page->levelSlider(), 0);
             drag(at, {moved(at, 0, 12)});
         },
         {kLevelBaseLo}},
        {"velocity knob",
         [&] {
             const CPoint knob = page->knob(PAdsrEditor::kVelocity)->getKnobArea().topLeft();
             const CPoint at = inWindow({knob.h + 12, knob.v + 12});
             drag(at, {moved(at, 0, -10), moved(at, 0, -30)});
         },
         {59}},
        {"envelope editor, release end of Low",
         [&] {
             OrinMpeEditor* mpe = page->envelopeEditor();
             mpe->selectEnvelope(OrinMpeEditor::kLow);  // the slope's drag chose High
             mpe->layoutHandles();
             const CPoint c = mpe->handleCentre(3);
             const CPoint at = inWindow({mpe->getViewSize().left + c.h, mpe->getViewSize().top + c.v});
             drag(at, {moved(at, -10, 0)});
         },
         {kReleaseBaseLo}},
        {"release field, typed",
         [&] {
             page->field(3)->setText("500");
             page->field(3)->valueChanged();
         },
         {kReleaseBaseLo}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::map<int, float> before;
        for (int p : c.parameters) before[p] = plugin->getParameter(p);
        c.act();
        for (int p : c.parameters) EXPECT_NE(plugin->getParameter(p), before[p]) << p;
        expectGestureOn(c.parameters);
    }
}

TEST_F(EnvelopePage, LayerButtonsAndThePaletteRebindEveryValue) {
    drag(centreOf(page->layerButton(1)->getViewSize()), {});
    EXPECT_EQ(page->selectedLayer(), 0);  // taken on the next idle
    editor->idle();
    EXPECT_EQ(page->selectedLayer(), 1);
    EXPECT_TRUE(page->layerButton(1)->isOn());
    EXPECT_FALSE(page->layerButton(0)->isOn());

    // A drag on the attack column's High handle now writes Top's attack, Base's stays.
    const float baseHi = plugin->getParameter(kAttackBaseHi);
    hostCalls.clear();
    const CPoint at = handleCentre(page->columnSlider(0), 1);
    drag(at, {moved(at, 0, -8)});
    expectGestureOn({kAttackTopHi});
    EXPECT_EQ(plugin->getParameter(kAttackBaseHi), baseHi);
    EXPECT_EQ(page->envelopeEditor()->selectedEnvelope(), OrinMpeEditor::kHigh);

    // The palette's pick: the Filter's levels are its envelope amounts, its octave has none.
    editor->selectLayer(2);
    editor->idle();
    EXPECT_EQ(page->value(PAdsrEditor::kLevelLo).parameterIndex(), 1);
    EXPECT_EQ(page->value(PAdsrEditor::kLevelHi).parameterIndex(), 0);
    EXPECT_EQ(page->value(PAdsrEditor::kOctave).parameterIndex(), -1);
    EXPECT_EQ(page->envelopeValue(OrinMpeEditor::kLow, OrinMpeEditor::kReleaseBend).parameterIndex(),
              31);
    hostSets(kAttackTopLo, 0.9f);  // not shown: nothing on the page follows it
    hostSets(16, 0.25f);           // Filter's Low attack
    EXPECT_FLOAT_EQ(float(page->envelopeEditor()->quantity(OrinMpeEditor::kLow,
                                                           OrinMpeEditor::kAttack)),
                    0.25f);
    EXPECT_FLOAT_EQ(page->columnSlider(0)->handleValue(0), 0.25f);
}

TEST_F(EnvelopePage, TheFilterArrangementSwapsTheCornerAndItsControls) {
    const PAdsrEditor::Value baseTop[] = {PAdsrEditor::kOctave, PAdsrEditor::kStartOffset,
                                          PAdsrEditor::kVelocityStart};
    const PAdsrEditor::Value filter[] = {PAdsrEditor::kOffsetHi, PAdsrEditor::kOffsetLo,
                                         PAdsrEditor::kEmphasis};
    const CBitmap page300(300), corner(308);
    ASSERT_TRUE(page300.isLoaded() && corner.isLoaded());
    // Pixels of the corner's strip above the knobs where the two arrangements differ and no
    // control lies.
    std::vector<CPoint> differing;
    for (CCoord y = 282; y < 292; ++y)
        for (CCoord x = 137; x < 360; x += 3)
            if (page300.getPixel(x, y) != corner.getPixel(x - 136, y - 281))
                differing.push_back({x, y});
    ASSERT_GT(differing.size(), 10u);

    for (int layer : {2, 1, 2, 0}) {
        SCOPED_TRACE(layer);
        editor->selectLayer(layer);
        editor->idle();
        const bool isFilter = layer == 2;
        EXPECT_EQ(page->filterArrangement(), isFilter);
        for (auto v : baseTop) EXPECT_EQ(page->isChild(page->knob(v)), !isFilter) << v;
        for (auto v : filter) EXPECT_EQ(page->isChild(page->knob(v)), isFilter) << v;
        EXPECT_EQ(page->isChild(page->offsetSlope()), isFilter);
        for (const CPoint& p : differing) {
            const CColor expected =
                isFilter ? corner.getPixel(p.h - 136, p.v - 281) : page300.getPixel(p.h, p.v);
            ASSERT_EQ(pixel(inWindow(p)), expected) << p.h << "," << p.v;
        }
    }
    // On the Filter corner, the offset knobs and slope write the Filter's offsets.
    editor->selectLayer(2);
    editor->idle();
    hostSets(2, 0.5f);
    hostSets(3, 0.5f);
    const CPoint at = centreOf(page->offsetSlope()->getViewSize());
    drag(at, {moved(at, 0, -5)});
    expectGestureOn({2, 3});
    EXPECT_FLOAT_EQ(page->knob(PAdsrEditor::kOffsetLo)->getValue(), plugin->getParameter(3));
}

TEST_F(EnvelopePage, SlopeDragsMoveOneEndWithAltAndFinerWithShiftAndFurtherRight) {
    CSlopeDisplay* slope = page->levelSlope();
    const CRect r = slope->getViewSize();
    const float h = float(r.height());
    struct Case {
        CCoord x;  // from the slope's left edge
        long modifiers;
        bool leftMoves, rightMoves;
        float factor;
    } cases[] = {
        {4, 0, true, true, 1.0f},
        {4, kAlt, true, false, 1.0f},
        {28, kAlt, false, true, 1.0f},
        {28, 0, true, true, 1.0f},
        {4, kShift, true, true, CSlopeDisplay::kShiftFactor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + c.modifiers);
        hostSets(kLevelBaseLo, 0.5f);
        hostSets(kLevelBaseHi, 0.5f);
        const CPoint at = inWindow({r.left + c.x, r.top + 8});
        drag(at, {moved(at, 0, -4)}, kLButton | c.modifiers);
        const float x = 0.05f * float(c.x);
        const float delta = 4.0f / (h * (1.0f + x * x)) * c.factor;
        EXPECT_NEAR(plugin->getParameter(kLevelBaseLo), c.leftMoves ? 0.5f + delta : 0.5f, 1e-5f);
        EXPECT_NEAR(plugin->getParameter(kLevelBaseHi), c.rightMoves ? 0.5f + delta : 0.5f, 1e-5f);
    }
}

TEST_F(EnvelopePage, FieldsShowTheSelectedEnvelopeInTheEnginesTimesAndDecibels) {
    // Times are 7.59 ms / 0.93^(100 v): 0.30 -> 67.0 ms, 0.68 -> 1.056 s, 0 -> 7.59 ms.
    const struct {
        int parameter;
        float value;
        int column;
        const char* text;
    } cases[] = {
        {kReleaseBaseLo, 0.30f, 3, "67.0ms"}, {kReleaseBaseLo, 0.68f, 3, "1.06s"},
        {kAttackBaseLo, 0.0f, 0, "7.59ms"},   {kSustainBaseLo, 0.0f, 2, "-oo"},
        {kSustainBaseLo, 0.5f, 2, "-6.0dB"},  {kSustainBaseLo, 1.0f, 2, "0.0dB"},
    };
    for (const auto& c : cases) {
        hostSets(c.parameter, c.value);
        EXPECT_STREQ(page->field(c.column)->getText(), c.text);
    }
    // The High envelope selected: its values show, and typed text goes to it.
    hostSets(kReleaseBaseHi, 0.30f);
    hostSets(kReleaseBaseLo, 0.68f);
    page->envelopeEditor()->selectEnvelope(OrinMpeEditor::kHigh);
    EXPECT_STREQ(page->field(3)->getText(), "67.0ms");
    page->field(3)->setText("1.05 s");
    page->field(3)->valueChanged();
    EXPECT_FLOAT_EQ(plugin->getParameter(kReleaseBaseHi), 0.68f);
    EXPECT_FLOAT_EQ(plugin->getParameter(kReleaseBaseLo), 0.68f);
    expectGestureOn({kReleaseBaseHi});
    page->field(2)->setText("-oo");  // the sustain, silent
    page->field(2)->valueChanged();
    EXPECT_EQ(plugin->getParameter(77), 0.0f);

    // Whatever a field shows fits inside it, in the font it is drawn with.
    CDrawContext context(frame, nullptr);
    for (int column = 0; column < PAdsrEditor::kColumnCount; ++column) {
        CDepTextEdit* field = page->field(column);
        context.setFont(field->getFont());
        const int room = int(field->getViewSize().width()) - 2;
        const int parameter = kAttackBaseLo + column;  // attack, decay, sustain, release
        for (int step = 0; step <= 100; ++step) {
            page->envelopeEditor()->selectEnvelope(OrinMpeEditor::kLow);
            hostSets(parameter, 0.01f * float(step));
            EXPECT_LE(context.getStringWidth(field->getText()), room) << field->getText();
        }
    }
}

TEST_F(EnvelopePage, TheLevelSliderKeepsHostLevelsThroughRefreshesAndOtherHandlesDrags) {
    // The slider shows the cube root of a level: refreshes place the handle there and leave the
    // level as it is; a drag of the High handle leaves the Low level alone, and the reverse.
    for (float level : {0.3f, 0.008f, 0.9f}) {
        SCOPED_TRACE(level);
        hostSets(kLevelBaseLo, level);
        hostSets(kLevelBaseHi, level);
        for (int refresh = 0; refresh < 50; ++refresh) page->updateControls();
        EXPECT_NEAR(page->levelSlider()->handlePosition(0), std::cbrt(level), 1e-6f);
        EXPECT_EQ(plugin->getParameter(kLevelBaseLo), level);
        for (int handle : {1, 0}) {
            const CPoint at = handleCentre(page->levelSlider(), handle);
            drag(at, {moved(at, 0, level > 0.5f ? 6 : -6)});
            expectGestureOn({handle == 1 ? kLevelBaseHi : kLevelBaseLo});
        }
    }
}

// ---- A rendered release -------------------------------------------------------------------------

// The time shown for the release and the time a note takes to die away after its key is let go,
// played by the built module with the Sine library.
TEST(EnvelopePageRendered, TheReleaseShownIsTheReleaseTheVoicePlays) {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_TRUE(hosted.loaded());
    ASSERT_TRUE(hosted.open(nullptr));
    hosted.editor().showPage(OrinEditor::kEnvelopePage);
    auto* page = static_cast<PAdsrEditor*>(hosted.editor().page(OrinEditor::kEnvelopePage));
    VstHost& host = hosted.host();
    constexpr double kRate = hosted::HostedEditor::kRate;
    constexpr int kBlock = hosted::HostedEditor::kBlock;
    // Both layers: no attack, full sustain, a straight release (bend 0.5) of the same rate at
    // both ends of the keyboard.
    for (int p : {8, 76, 12, 79}) host.setParameter(p, 0.0f);
    for (int p : {10, 77, 14, 80}) host.setParameter(p, 1.0f);
    for (int p : {25, 28}) host.setParameter(p, 0.5f);
    for (float release : {0.40f, 0.62f, 0.75f}) {
        SCOPED_TRACE(release);
        for (int p : {kReleaseBaseLo, kReleaseBaseHi, 15, 81}) host.setParameter(p, release);
        hosted.idle();
        const std::string shown = page->field(3)->getText();
        char* unit = nullptr;
        double shownMs = std::strtod(shown.c_str(), &unit);
        if (std::string(unit) == "s") shownMs *= 1000.0;

        std::vector<float> left(kBlock), right(kBlock);
        host.noteOn(0, 60, 100);
        for (int b = 0; b < 40; ++b) host.process(left.data(), right.data(), kBlock);
        float held = 0;
        for (float v : left) held = std::max(held, std::fabs(v));
        ASSERT_GT(held, 0.01f);
        host.noteOff(0, 60);
        // The last frame above -80 dB of the held level.
        long lastLoud = -1, frame = 0;
        for (int b = 0; b < int(12.0 * kRate / kBlock); ++b, frame += kBlock) {
            host.process(left.data(), right.data(), kBlock);
            for (int i = 0; i < kBlock; ++i)
                if (std::fabs(left[i]) > held * 1e-4f) lastLoud = frame + i;
        }
        const double renderedMs = double(lastLoud + 1) / kRate * 1000.0;
        std::printf("release %.2f: shown %s, rendered %.1f ms\n", release, shown.c_str(), renderedMs);
        // The voice takes a key's release in at its next control block (512 frames) and ramps
        // to each block's level over the following block: up to two blocks late. The text is
        // rounded to three digits (0.5 %) and the engine's segment (256 / (33600 d) s) is 0.4 %
        // longer than the time the editor names (7.59 ms / d).
        const double tolerance = 2.0 * 512.0 / kRate * 1000.0 + 0.01 * shownMs;
        EXPECT_NEAR(renderedMs, shownMs, tolerance) << shown;
        EXPECT_GT(renderedMs, shownMs * 0.99) << shown;  // never shorter than shown
    }
    hosted.close();
}

}  // namespace
