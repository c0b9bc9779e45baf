// The LFO page in the editor window on a headless frame: drawing steps, shapes, layers, the
// master and bypass buttons, copy and paste with the keys, and host automation, driven as a
// person and a host drive them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "OpenEditor.h"
#include "core/PPreset.h"
#include "editor/CDepButton.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/PLfoEditor.h"
#include "editor/PLfoMatrix.h"
#include "engine/LfoShapes.h"
#include "gui/CBitmap.h"
#include "gui/COnOffButton.h"
#include "gui/VstKeys.h"

namespace {

using Steps = std::array<int, 16>;
const CRect kGrid(145, 98, 275, 208);

class LfoPage : public OpenEditor {
protected:
    void SetUp() override {
        OpenEditor::SetUp();
        showPage(OrinEditor::kLfoPage);
        page = static_cast<PLfoEditor*>(editor->page(OrinEditor::kLfoPage));
    }

    PPreset& preset() const { return plugin->currentProgram().editPreset(); }
    Steps steps(int layer) const {
        Steps s{};
        for (int c = 0; c < 16; ++c) s[c] = preset().lfoStep(layer, c);
        return s;
    }
    // The window point in the middle of grid cell (row, column), and of a view of the page.
    static CPoint cell(int row, int column) {
        return {kPageLeft + kGrid.left + (2 * column + 1) * kGrid.width() / 32,
                kGrid.top + (2 * row + 1) * kGrid.height() / 32};
    }
    static CPoint centreOf(const CView* view) { return onPage(view->getViewSize()); }
    // A press at `at` held through `path`; the button reads as released once the path is
    // used up, so that nothing is left over for the next gesture.
    void drag(const CPoint& at, const std::vector<CPoint>& path) {
        for (const CPoint& p : path) window->queueMouse(p, kLButton);
        frame->onMouseDown(at, kLButton);
        ASSERT_EQ(window->pendingSteps(), 0u);
    }
    void click(const CView* view) { drag(centreOf(view), {}); }
    bool key(char character, int modifier = MODIFIER_CONTROL) {
        VstKeyCode code{character, 0, std::uint8_t(modifier)};
        return editor->onKeyDown(code);
    }
    // Bit k set for each lit shape button k.
    int litShapes() const {
        int lit = 0;
        for (int k = 0; k < PLfoEditor::kShapeCount; ++k)
            if (page->shapeButton(k)->isOn()) lit |= 1 << k;
        return lit;
    }
    // The layer's wave table is the one its shape and steps make.
    void expectTableBuilt(int layer) const {
        std::vector<float> expected(kLayerTableSize);
        std::uint8_t raw[16];
        for (int c = 0; c < 16; ++c) raw[c] = preset().lfoStep(layer, c);
        buildLayerTable(preset().lfoShape(layer), expected.data(), raw);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), plugin->lfoTable(layer)));
    }
    // Every host report since the last clear names `parameter`, bracketed by begin and end.
    void expectGestureOn(int parameter) {
        ASSERT_GE(hostCalls.size(), 3u);
        EXPECT_EQ(hostCalls.front(), beginEditCall(parameter));
        EXPECT_EQ(hostCalls.back(), endEditCall(parameter));
        for (const HostCall& call : hostCalls) EXPECT_EQ(call.index, parameter);
        hostCalls.clear();
    }

    PLfoEditor* page = nullptr;
};

TEST_F(LfoPage, ADragPaintsTheStepsItCrossesAndMakesTheShapeHandDrawn) {
    ASSERT_EQ(preset().lfoShape(0), kShapeSine);
    ASSERT_NE(page->grid()->wave(), nullptr);  // a formula shape shows as its wave
    Steps expected = steps(0);
    // Down from column 2 row 3 to column 4 row 9, then a jump to column 10 row 0: the columns
    // between the reported ones get the levels on the line.
    drag(cell(3, 2), {cell(6, 3), cell(9, 4), cell(9, 4), cell(0, 10)});
    const int painted[] = {12, 9, 6, 8, 9, 11, 12, 14, 15};
    std::copy(std::begin(painted), std::end(painted), expected.begin() + 2);
    EXPECT_EQ(steps(0), expected);
    EXPECT_EQ(preset().lfoShape(0), kShapePattern);
    EXPECT_EQ(litShapes(), 0);
    EXPECT_EQ(page->grid()->wave(), nullptr);
    expectTableBuilt(0);
    EXPECT_TRUE(hostCalls.empty());  // steps are not parameters

    // Drawn in the Base colour on the dark grid.
    editor->idle();
    const CPoint lit = cell(15 - expected[5], 5), above = cell(0, 5);
    EXPECT_EQ(frame->getBackBuffer()->getPixel(lit.h, lit.v), (CColor{255, 181, 69, 255}));
    EXPECT_EQ(frame->getBackBuffer()->getPixel(above.h, above.v), (CColor{15, 17, 21, 255}));
}

TEST_F(LfoPage, TheTopAndBottomRowsAndStrokesBeyondTheGridReachTheExtremes) {
    const struct {
        std::vector<CPoint> press;  // the press, then the points it is dragged through
        int column, level;
    } cases[] = {
        {{cell(0, 5)}, 5, 15},
        {{cell(15, 5)}, 5, 0},
        {{cell(8, 6), {cell(8, 6).h, kGrid.top - 30}}, 6, 15},
        {{cell(8, 7), {cell(8, 7).h, kGrid.bottom + 30}}, 7, 0},
        {{cell(4, 14), {kPageLeft + kGrid.right + 40, cell(4, 0).v}}, 15, 11},
    };
    for (const auto& c : cases) {
        preset().setLfoStep(0, c.column, 7);
        preset().setLfoShapeCode(0, kShapeSine);
        drag(c.press[0], {c.press.begin() + 1, c.press.end()});
        EXPECT_EQ(preset().lfoStep(0, c.column), c.level) << c.column;
        EXPECT_EQ(preset().lfoShape(0), kShapePattern);
    }
    // A press on the level a step has already changes nothing, not even the shape.
    preset().setLfoShape(0, kShapeSaw1);
    drag(cell(15 - preset().lfoStep(0, 9), 9), {});
    EXPECT_EQ(preset().lfoShape(0), kShapeSaw1);
}

TEST_F(LfoPage, ShapeButtons) {
    click(page->shapeButton(4));  // Rand: steps drawn at random, shown as steps
    EXPECT_EQ(preset().lfoShape(0), kShapeRand);
    EXPECT_EQ(litShapes(), 1 << 4);
    EXPECT_EQ(page->grid()->wave(), nullptr);
    const Steps first = steps(0);
    click(page->shapeButton(4));  // again: new random steps, still lit
    EXPECT_NE(steps(0), first);
    EXPECT_EQ(litShapes(), 1 << 4);
    expectTableBuilt(0);

    click(page->shapeButton(1));  // Rect
    EXPECT_EQ(preset().lfoShape(0), kShapeRect);
    EXPECT_EQ(litShapes(), 1 << 1);
    EXPECT_EQ(page->grid()->wave(), plugin->lfoTable(0));
    expectTableBuilt(0);
    // The same shape again changes nothing: a step edited behind its back stays.
    preset().setLfoStep(0, 0, 7);
    click(page->shapeButton(1));
    EXPECT_EQ(preset().lfoStep(0, 0), 7);
    EXPECT_EQ(litShapes(), 1 << 1);
    EXPECT_TRUE(hostCalls.empty());
}

TEST_F(LfoPage, LayerButtonsAndThePaletteRebindTheControls) {
    click(page->layerButton(1));  // Top, taken on the next idle
    EXPECT_EQ(page->selectedLayer(), 0);
    editor->idle();
    EXPECT_EQ(page->selectedLayer(), 1);
    EXPECT_EQ(page->layerButton(0)->isOn(), false);
    EXPECT_EQ(page->layerButton(1)->isOn(), true);

    const struct {
        PLfoEditor::Value value;
        int top, filter;
    } cases[] = {{PLfoEditor::kSpeed, 37, 42},
                 {PLfoEditor::kDelay, 38, 43},
                 {PLfoEditor::kAmount, 39, 44},
                 {PLfoEditor::kSmooth, 73, 74}};
    for (int layer : {1, 2}) {
        if (layer == 2) editor->selectLayer(2);  // the palette's icon pick
        for (const auto& c : cases) {
            const int parameter = layer == 1 ? c.top : c.filter;
            plugin->setParameter(parameter, 0.5f);
            editor->idle();
            hostCalls.clear();
            const CPoint knob = page->knob(c.value)->getKnobArea().topLeft();
            const CCoord x = kPageLeft + knob.h + 12;
            drag({x, knob.v + 12}, {{x, knob.v + 2}, {x, knob.v - 20}});  // 32 pixels up
            expectGestureOn(parameter);
            EXPECT_NEAR(plugin->getParameter(parameter), 0.66f, 0.01f) << parameter;
        }
        click(page->syncButton());
        expectGestureOn(layer == 1 ? 41 : 46);
        EXPECT_TRUE(page->speedKnob()->isSynced());
    }
    EXPECT_EQ(plugin->getParameter(36), 0.0f);  // Base's sync untouched
}

TEST_F(LfoPage, MasterMakesTheShownLayerDriveAllAndBypassSwitchesThemOff) {
    editor->selectLayer(1);
    click(page->masterButton());
    expectGestureOn(75);
    EXPECT_EQ(int(plugin->getParameter(75) * 3.0f), 2);  // Top, as the engine reads it
    click(page->masterButton());
    expectGestureOn(75);
    EXPECT_EQ(plugin->getParameter(75), 0.0f);
    // The button shows whether the shown layer is the master.
    plugin->setParameter(75, 1.0f);
    editor->idle();
    EXPECT_FALSE(page->masterButton()->isOn());
    editor->selectLayer(2);
    EXPECT_TRUE(page->masterButton()->isOn());

    click(page->bypassButton());
    expectGestureOn(92);
    EXPECT_EQ(plugin->getParameter(92), 1.0f);
}

TEST_F(LfoPage, ControlCAndControlVCopyAndPasteBetweenLayers) {
    const Steps drawn = {0, 3, 6, 9, 12, 15, 12, 9, 6, 3, 0, 5, 10, 15, 10, 5};
    for (int c = 0; c < 16; ++c) preset().setLfoStep(0, c, std::uint8_t(drawn[c]));
    preset().setLfoShapeCode(0, kShapePattern);
    EXPECT_TRUE(key('c'));
    editor->selectLayer(1);
    EXPECT_FALSE(key('v', 0));  // without Control the key is not the page's
    EXPECT_EQ(preset().lfoShape(1), kShapeSine);
    EXPECT_TRUE(key('V'));
    EXPECT_EQ(steps(1), drawn);
    EXPECT_EQ(preset().lfoShape(1), kShapePattern);
    EXPECT_EQ(litShapes(), 0);
    expectTableBuilt(1);

    // A random shape is pasted with its steps, not with new random ones.
    editor->selectLayer(2);
    click(page->shapeButton(4));
    const Steps random = steps(2);
    EXPECT_TRUE(key('C'));
    editor->selectLayer(0);
    EXPECT_TRUE(key('v'));
    EXPECT_EQ(preset().lfoShape(0), kShapeRand);
    EXPECT_EQ(steps(0), random);
    EXPECT_EQ(litShapes(), 1 << 4);
    expectTableBuilt(0);

    // Keys the window receives itself (it has the keyboard once clicked) reach the page too;
    // an X11 window reports Control-C as its control character.
    VstKeyCode copy{3, 0, MODIFIER_CONTROL}, paste{'v', 0, MODIFIER_CONTROL};
    EXPECT_EQ(frame->onKeyDown(copy), 1);
    editor->selectLayer(1);
    EXPECT_EQ(frame->onKeyDown(paste), 1);
    EXPECT_EQ(steps(1), random);
    EXPECT_TRUE(hostCalls.empty());
}

TEST_F(LfoPage, HostAutomationReachesTheShownLayersControlsOnTheNextIdle) {
    editor->selectLayer(1);
    CLfoSpeedKnob* speed = page->speedKnob();
    plugin->setParameter(37, 0.0f);  // Top's speed and sync
    plugin->setParameter(41, 1.0f);
    plugin->setParameter(32, 0.75f);  // Base's speed: not shown
    EXPECT_FALSE(speed->isSynced());
    editor->idle();
    EXPECT_EQ(speed->getValue(), 0.0f);
    EXPECT_TRUE(page->syncButton()->isOn());
    char text[64] = {};
    speed->valueText(text);
    EXPECT_STREQ(text, "2/1");       // the slowest note the layer LFO plays
    EXPECT_TRUE(hostCalls.empty());  // the host's own changes are not reported back

    // The wheel steps through each of the 19 note values in turn.
    std::set<std::string> notes{text};
    for (int step = 0; step < 18; ++step) {
        frame->onMouseWheel(centreOf(speed), 1.0f);
        speed->valueText(text);
        notes.insert(text);
    }
    EXPECT_EQ(notes.size(), 19u);
    EXPECT_STREQ(text, "1/32D");
}

}  // namespace
