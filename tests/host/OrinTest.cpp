// The plug-in object driven directly (no module): editor notices, LFO table rebuilds and the
// keyboard queue, which a host cannot observe.
#include "core/Orin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/PLibraryStartup.h"

namespace {

std::intptr_t quietHost(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::vector<std::string> messages;

// The plug-in's millisecond ticks, set by the tests.
std::uint32_t ticksNow = 0;

struct NoticeEditor : EditorLink {
    std::vector<std::pair<std::int32_t, float>> notices;
    std::vector<std::pair<float, float>> iconMoves[3];
    int waitCursors = 0;  // shown minus hidden
    bool cursorShownDuringWork = false;
    void parameterChanged(std::int32_t index, float value) override {
        notices.push_back({index, value});
    }
    void moveIcon(int icon, float x, float y) override { iconMoves[icon].push_back({x, y}); }
    void setWaitCursor(bool on) override {
        waitCursors += on ? 1 : -1;
        cursorShownDuringWork |= waitCursors > 0;
    }
};

class OrinObject : public ::testing::Test {
protected:
    void SetUp() override {
        // The test executable has no instrument library beside it: collect the report instead
        // of showing it.
        setLibraryMessageHandlerForTests(
            [](const char* text, const char*) { messages.push_back(text); });
        plugin = std::make_unique<Orin>(quietHost);
        plugin->open();
    }
    void TearDown() override {
        plugin.reset();
        setLibraryMessageHandlerForTests(nullptr);
    }
    std::vector<float> table(int layer) {
        const float* t = plugin->lfoTable(layer);
        return std::vector<float>(t, t + kLayerTableSize);
    }
    std::unique_ptr<Orin> plugin;
};

TEST_F(OrinObject, EditorIsToldOfChangesItDidNotMake) {
    auto editor = std::make_unique<NoticeEditor>();
    plugin->setEditorLink(editor.get());
    plugin->setParameter(12, 0.5f);
    ASSERT_EQ(editor->notices.size(), 1u);
    EXPECT_EQ(editor->notices[0].first, 12);
    EXPECT_EQ(editor->notices[0].second, 0.5f);
    plugin->setEditorIsSource(true);
    plugin->setParameter(12, 0.25f);
    EXPECT_EQ(editor->notices.size(), 1u);  // no echo of the editor's own change
    plugin->setEditorIsSource(false);

    editor->notices.clear();
    plugin->takeEditorFlags();
    plugin->activatePreset(3);
    ASSERT_FALSE(editor->notices.empty());
    EXPECT_EQ(editor->notices.back().first, -1);  // redraw everything
    EXPECT_EQ(plugin->takeEditorFlags(), Orin::kEditorRedrawAll);
    EXPECT_EQ(plugin->takeEditorFlags(), 0u);
    EXPECT_EQ(plugin->currentProgram().currentPreset(), 3);
    EXPECT_TRUE(editor->cursorShownDuringWork);
    EXPECT_EQ(editor->waitCursors, 0);

    // An icon moves when its Y arrives (hosts write X, then Y), with the X already stored.
    plugin->setParameter(97, 0.25f);  // "T Icon X"
    EXPECT_TRUE(editor->iconMoves[1].empty());
    plugin->setParameter(98, 0.75f);  // "T Icon Y"
    ASSERT_EQ(editor->iconMoves[1].size(), 1u);
    EXPECT_EQ(editor->iconMoves[1][0], std::make_pair(0.25f, 0.75f));
    EXPECT_TRUE(editor->iconMoves[0].empty());
    EXPECT_TRUE(editor->iconMoves[2].empty());
    plugin->setEditorLink(nullptr);
}

TEST_F(OrinObject, LfoTablesFollowTheShapes) {
    std::vector<float> sine(kLayerTableSize), rect(kLayerTableSize);
    buildShapeTable(kShapeSine, sine.data());
    buildShapeTable(kShapeRect, rect.data());
    EXPECT_EQ(table(0), sine);

    PPreset& edit = plugin->currentProgram().editPreset();
    edit.setLfoShape(1, kShapeRect);
    plugin->rebuildLfoTable(1);
    EXPECT_EQ(table(1), rect);
    EXPECT_EQ(table(0), sine);

    // A drawn pattern (shape 0) is rebuilt every time its steps may have changed.
    edit.setLfoShapeCode(2, kShapePattern);
    for (int s = 0; s < 16; ++s) edit.setLfoStep(2, s, 0);
    plugin->rebuildLfoTable(2);
    const std::vector<float> flat = table(2);
    edit.setLfoStep(2, 5, 15);
    plugin->rebuildLfoTable(2);
    EXPECT_NE(table(2), flat);

    // A named shape already built is left alone, whatever the steps say.
    for (int s = 0; s < 16; ++s) edit.setLfoStep(1, s, 3);
    plugin->rebuildLfoTable(1);
    EXPECT_EQ(table(1), rect);
}

// Host and MIDI program changes are applied from idle, the first at once and then at most once a
// second whatever the tick counter reads; resume applies a pending change at once.
TEST_F(OrinObject, ProgramChangesAreAppliedFromIdleAtMostOncePerSecond) {
    plugin->setTickSource([] { return ticksNow; });
    ticksNow = 0xFFFFFE00u;  // the tick counter wraps around on the way
    plugin->fxIdle();        // applies what open() selected
    plugin->setProgram(2);
    plugin->setParameter(4, 0.125f);
    ticksNow += 999;
    plugin->fxIdle();
    EXPECT_EQ(plugin->getParameter(4), 0.125f);  // held back
    ticksNow += 1;
    plugin->fxIdle();
    EXPECT_EQ(plugin->getParameter(4), 0.8f);  // the program's preset is back

    VstMidiEvent change{};
    change.type = kVstMidiType;
    change.byteSize = sizeof change;
    change.midiData[0] = char(0xC0);
    change.midiData[1] = 5;
    VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&change), nullptr}};
    plugin->processEvents(&list);
    ticksNow += 999;
    plugin->fxIdle();
    EXPECT_EQ(plugin->currentProgram().currentPreset(), 0);
    ticksNow += 1;
    plugin->fxIdle();
    EXPECT_EQ(plugin->currentProgram().currentPreset(), 5);

    // Over 2^31 ms later the tick difference turns negative: long enough too.
    plugin->setProgram(1);
    plugin->setParameter(4, 0.5f);
    ticksNow += 0x80000000u;
    plugin->fxIdle();
    EXPECT_EQ(plugin->getParameter(4), 0.8f);

    plugin->setProgram(3);
    plugin->setParameter(4, 0.25f);
    plugin->resume();
    EXPECT_EQ(plugin->getParameter(4), 0.8f);
}

TEST_F(OrinObject, EngineRateAndRequestedRate) {
    plugin->setSampleRate(96000.0f);
    EXPECT_EQ(plugin->getSampleRate(), 44100.0f);
    EXPECT_EQ(plugin->requestedRate(), 96000.0f);
    EXPECT_DOUBLE_EQ(plugin->samplePeriod(), 1.0 / 44100.0);
    EXPECT_EQ(plugin->rateConverter().engineRate(), 44100.0);
    EXPECT_EQ(plugin->rateConverter().hostRate(), 96000.0);
    EXPECT_EQ(plugin->rateConverter().engineFramesFor(512), 236);  // ceil(512 x 44100 / 96000)
    plugin->setBlockSize(1 << 30);  // taken, but the converter works in pieces
    EXPECT_EQ(plugin->getBlockSize(), 1 << 30);
    plugin->setBlockSize(-5);
    EXPECT_EQ(plugin->getBlockSize(), 1 << 30);
    plugin->setSampleRate(48000.0f);
    EXPECT_EQ(plugin->getSampleRate(), 48000.0f);
    EXPECT_DOUBLE_EQ(plugin->samplePeriod(), 1.0 / 48000.0);
    plugin->setSampleRate(0.0f);  // no usable rate: the engine's own, nothing to convert
    EXPECT_EQ(plugin->getSampleRate(), 44100.0f);
    EXPECT_EQ(plugin->requestedRate(), 44100.0f);
    plugin->setBlockSizeAndSampleRate(256, 22050.0f);
    EXPECT_EQ(plugin->getBlockSize(), 256);
    EXPECT_EQ(plugin->getSampleRate(), 44100.0f);
    EXPECT_EQ(plugin->requestedRate(), 22050.0f);
    EXPECT_EQ(plugin->rateConverter().hostRate(), 22050.0);
}

}  // namespace
