// The editor window on a headless frame: pages, the volume knob, icon automation, refreshes and
// the loading indicator, driven as a host and a person drive them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MenuGeometry.h"
#include "OpenEditor.h"
#include "data/PResourceTable.h"
#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"
#include "editor/PEditor.h"
#include "editor/POrinDiskControl.h"
#include "editor/POrinDiskDescriptor.h"
#include "platform/TempFolder.h"

namespace {

class EditorWindow : public OpenEditor {
protected:
    // A left press at `at` that drags along `path` and lets go at its end.
    void drag(const CPoint& at, const std::vector<CPoint>& path) {
        for (const CPoint& p : path) window->queueMouse(p, kLButton);
        window->queueMouse(path.back(), 0);
        frame->onMouseDown(at, kLButton);
    }
    void click(const CPoint& at) {
        window->queueMouse(at, 0);
        frame->onMouseDown(at, kLButton);
    }
    // The frame coordinates of an icon's centre.
    CPoint iconInFrame(int icon) const {
        CPoint p = editor->paletteModel().pointer(icon)->position();
        const CRect area = editor->paletteControl()->getViewSize();
        return {p.h + area.left, p.v + area.top};
    }
};

TEST_F(EditorWindow, HostSeesTheEditorAndItsSize) {
    AEffect* effect = plugin->getAeffect();
    EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0), 1);
    EXPECT_EQ(rect->right - rect->left, 735);
    EXPECT_EQ(rect->bottom - rect->top, 449);
}

TEST_F(EditorWindow, PageButtonsSwitchOnIdleAndReopeningShowsTheLastPage) {
    EXPECT_EQ(editor->currentPage(), OrinEditor::kPresetPage);
    click({636 + 4, 42 + 4});  // the envelope page's button
    EXPECT_EQ(editor->currentPage(), OrinEditor::kPresetPage);  // switched by the next idle
    editor->idle();
    EXPECT_EQ(editor->currentPage(), OrinEditor::kEnvelopePage);
    EXPECT_TRUE(editor->page(OrinEditor::kEnvelopePage)->isVisible());

    editor->close();
    EXPECT_EQ(editor->currentPage(), -1);
    EXPECT_EQ(editor->getFrame(), nullptr);
    ASSERT_TRUE(editor->open(nullptr));
    EXPECT_EQ(editor->currentPage(), OrinEditor::kEnvelopePage);
}

TEST_F(EditorWindow, VolumeKnobIsOneMasterVolumeGestureWithoutEcho) {
    editor->idle();
    hostCalls.clear();
    const CPoint knob(682, 396);
    drag(knob, {{682, 390}, {682, 370}, {682, 350}});
    ASSERT_GE(hostCalls.size(), 3u);
    EXPECT_EQ(hostCalls.front(), (HostCall{audioMasterBeginEdit, 57, 0.0f}));
    EXPECT_EQ(hostCalls.back(), (HostCall{audioMasterEndEdit, 57, 0.0f}));
    for (std::size_t i = 1; i + 1 < hostCalls.size(); ++i) {
        EXPECT_EQ(hostCalls[i].opcode, audioMasterAutomate);
        EXPECT_EQ(hostCalls[i].index, 57);  // the knob's tag is 4; the host must see 57
    }
    EXPECT_EQ(plugin->getParameter(57), hostCalls[hostCalls.size() - 2].value);
    const std::uint32_t before = editor->refreshCount();
    editor->idle();
    EXPECT_EQ(editor->refreshCount(), before);  // its own change is not echoed back
}

TEST_F(EditorWindow, ABurstOfHostChangesCostsOneRefresh) {
    editor->idle();
    const std::uint32_t before = editor->refreshCount();
    for (int i = 0; i < 10000; ++i) plugin->setParameter(i % 90, float(i % 7) / 7.0f);
    editor->idle();
    EXPECT_EQ(editor->refreshCount(), before + 1);
    editor->idle();
    EXPECT_EQ(editor->refreshCount(), before + 1);
}

// Parameter values that put an icon at centre point (x, y) of the palette.
float iconX(int x) {
    return float(x + 200) / 400.0f;
}
float iconY(int y) {
    return float(y + 134) / 268.0f;
}

TEST_F(EditorWindow, IconAutomationMovesTheIconWhenItsYArrives) {
    editor->idle();
    const CPoint start = editor->paletteModel().pointer(0)->position();
    plugin->setParameter(95, iconX(-100));
    editor->idle();
    EXPECT_EQ(editor->paletteModel().pointer(0)->position(), start);  // X alone: no move
    plugin->setParameter(96, iconY(-20));
    editor->idle();
    const CPoint moved = editor->paletteModel().pointer(0)->position();
    EXPECT_NEAR(moved.h, 228 - 100, 1);
    EXPECT_NEAR(moved.v, 152 + 20, 1);
    const PDiskSector* under = editor->paletteModel().sectorAt({-100, -20});
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(plugin->currentProgram().editPreset().icon(0), under->id());
}

TEST_F(EditorWindow, IconAutomationSelectsTheSectorWhileTheWindowIsClosed) {
    editor->close();
    PPreset& edit = plugin->currentProgram().editPreset();
    const int ring1First = editor->paletteModel().sectorAt({0, 60})->id();
    plugin->setParameter(99, iconX(0));
    plugin->setParameter(100, iconY(60));
    EXPECT_EQ(edit.icon(2), ring1First);
    // Outside every ring nothing is stored.
    plugin->setParameter(99, iconX(199));
    plugin->setParameter(100, iconY(133));
    EXPECT_EQ(edit.icon(2), ring1First);
}

TEST_F(EditorWindow, DraggingAnIconIsOneGestureOnItsTwoParameters) {
    editor->idle();
    const CPoint from = iconInFrame(2);  // Filter, drawn over the others on a shared sector
    const CPoint to(10 + 228 + 180, 53 + 152);  // the outer ring, right of the centre
    std::vector<CPoint> path;
    for (int step = 1; step <= 8; ++step)
        path.push_back({from.h + (to.h - from.h) * step / 8, from.v + (to.v - from.v) * step / 8});
    hostCalls.clear();
    drag(from, path);
    ASSERT_GE(hostCalls.size(), 6u);
    EXPECT_EQ(hostCalls[0], (HostCall{audioMasterBeginEdit, 99, 0.0f}));
    EXPECT_EQ(hostCalls[1], (HostCall{audioMasterBeginEdit, 100, 0.0f}));
    EXPECT_EQ(hostCalls.back().opcode, audioMasterEndEdit);
    for (const HostCall& call : hostCalls) EXPECT_TRUE(call.index == 99 || call.index == 100);
    EXPECT_NEAR(plugin->getParameter(99), iconX(180), 0.01f);
    EXPECT_NEAR(plugin->getParameter(100), iconY(0), 0.01f);
    const PDiskSector* dropped = editor->paletteModel().sectorAt({180, 0});
    ASSERT_NE(dropped, nullptr);
    editor->idle();
    EXPECT_EQ(plugin->currentProgram().editPreset().icon(2), dropped->id());
}

TEST_F(EditorWindow, LoadingIndicatorBlinksOnlyWhileFilesAreRead) {
    ticksNow += 600;
    editor->idle();
    EXPECT_FALSE(editor->isLoadingShown());  // nothing read: stays dark
    // A read (here of a file that is not there) changes the table's count; the indicator
    // toggles at each check that sees a change.
    TempFolder raw;
    PResourceTable& table = PResourceTable::shared();
    table.setRawFolder(raw.path().c_str());
    ASSERT_TRUE(table.load(table.findOrCreate("B99999.raw", true)));
    table.setRawFolder("");
    ticksNow += 499;
    editor->idle();
    EXPECT_FALSE(editor->isLoadingShown());  // checked every 500 ms only
    ticksNow += 1;
    editor->idle();
    EXPECT_TRUE(editor->isLoadingShown());
    ticksNow += 600;
    editor->idle();
    EXPECT_FALSE(editor->isLoadingShown());
}

TEST_F(EditorWindow, SectorSweepRunsOnceAndLeavesNoSectorLit) {
    auto litSectors = [&] {
        int lit = 0;
        for (int id = 0; id < 33; ++id) {
            const PDiskSector* s = editor->paletteModel().sectorById(id);
            lit += s->litCount() - s->iconCount();
        }
        return lit;
    };
    EXPECT_TRUE(editor->isSweeping());
    for (int step = 0; step < 40 && editor->isSweeping(); ++step) {
        ticksNow += 30;
        editor->idle();
        EXPECT_LE(litSectors(), 1);
    }
    EXPECT_FALSE(editor->isSweeping());
    EXPECT_EQ(litSectors(), 0);
    editor->close();
    ASSERT_TRUE(editor->open(nullptr));
    EXPECT_FALSE(editor->isSweeping());  // once per editor object
}

TEST_F(EditorWindow, PagesSurviveBeingReplacedAndTheWindowOwnsThem) {
    for (int page : {1, 2, 3, 0, 2}) {
        editor->showPage(page);
        editor->idle();
        EXPECT_EQ(editor->currentPage(), page);
        for (int other = 0; other < OrinEditor::kPageCount; ++other)
            EXPECT_NE(editor->page(other), nullptr) << other;
    }
    editor->close();
    for (int other = 0; other < OrinEditor::kPageCount; ++other)
        EXPECT_EQ(editor->page(other), nullptr);
}

TEST_F(EditorWindow, SecondaryClickOnTheBackgroundOpensTheMenuAndItsScreens) {
    editor->idle();
    const CPoint background(250, 20), menuTop(250, 22);
    for (long buttons : {long(kRButton), long(kLButton | kControl)}) {
        window->queueMouse(background, 0);
        window->queueMouse(menuEntry(menuTop, 3, 1), kLButton);  // "About Quor..."
        window->queueMouse(menuEntry(menuTop, 3, 1), 0);
        frame->onMouseDown(background, buttons);
        ASSERT_NE(frame->getModalView(), nullptr) << buttons;
        EXPECT_FALSE(editor->isSweeping());
        click({400, 200});  // anywhere: the screen goes away
        EXPECT_EQ(frame->getModalView(), nullptr);
    }
}

}  // namespace
