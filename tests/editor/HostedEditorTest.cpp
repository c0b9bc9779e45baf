// The built module's editor without a screen, as a host drives it: opened and closed many times
// while another thread plays and automates (the sanitizer builds run this with a smaller count),
// and opened over a damaged library.
#include <gtest/gtest.h>

#include "core/PPreset.h"
#include "editor/HostedEditor.h"
#include "editor/PDiskSector.h"
#include "editor/POrinDiskDescriptor.h"
#include "engine/LfoShapes.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace {

TEST(HostedEditor, OpensAndClosesWhileTheAudioThreadPlaysAndAutomates) {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_TRUE(hosted.loaded());
    hosted::soak(hosted, QUOR_EDITOR_SOAK_ROUNDS, nullptr, nullptr);
}

TEST(HostedEditor, ADamagedLibraryStillOpensAndDrawsTheWindow) {
    hosted::HostedEditor hosted(hosted::Library::kDamaged);
    ASSERT_TRUE(hosted.loaded());
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(hosted.open(nullptr));
        const HeadlessWindow* window = hosted.editor().getFrame()->headless();
        ASSERT_NE(window, nullptr);
        hosted.idle();
        EXPECT_GT(window->presentCount(), 0);
        hosted.close();
    }
}

// The editor's rows of the operation table, as a host sends them: knob mode, the wheel over a
// palette sector (the vendor call), and keys reaching the page that shows.
TEST(HostedEditor, TheHostsEditorCallsReachTheWindow) {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_TRUE(hosted.loaded());
    ASSERT_TRUE(hosted.open(nullptr));
    VstHost& host = hosted.host();
    OrinEditor& editor = hosted.editor();
    EXPECT_EQ(host.dispatch(effSetEditKnobMode, 0, kCircularMode), 1);
    EXPECT_EQ(editor.getKnobMode(), kCircularMode);
    EXPECT_EQ(host.dispatch(effSetEditKnobMode, 0, 7), 0);

    // The wheel over sector 0 (centre point (0, 30) of the palette) steps its instrument on.
    PPreset& edit = hosted.plugin().currentProgram().editPreset();
    const PDiskSector* sector = editor.paletteModel().sectorAt({0, 30});
    ASSERT_NE(sector, nullptr);
    const std::int32_t before = edit.slot(sector->id());
    editor.getFrame()->headless()->queueMouse({10 + 228, 53 + 152 - 30}, 0);
    EXPECT_EQ(host.dispatch(effVendorSpecific, vstFourCC("stCA"), vstFourCC("Whee"), nullptr, 1.0f),
              1);
    EXPECT_NE(edit.slot(sector->id()), before);

    // Control-C on the Base layer's LFO and Control-V on the Top layer's copy the steps.
    editor.showPage(OrinEditor::kLfoPage);
    hosted.idle();
    edit.setLfoShape(0, kShapeRand);
    edit.setLfoShape(1, kShapeSine);
    constexpr float kControl = 8;
    EXPECT_EQ(host.dispatch(effEditKeyDown, 'c', 0, nullptr, kControl), 1);
    editor.selectLayer(1);
    hosted.idle();
    EXPECT_EQ(host.dispatch(effEditKeyDown, 'v', 0, nullptr, kControl), 1);
    for (int step = 0; step < 16; ++step)
        EXPECT_EQ(edit.lfoStep(1, step), edit.lfoStep(0, step)) << step;
    hosted.close();
}

// The keys the voices light carry the velocity they were played with.
TEST(HostedEditor, LitKeysCarryTheirVelocity) {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_TRUE(hosted.loaded());
    std::vector<float> left(hosted::HostedEditor::kBlock), right(hosted::HostedEditor::kBlock);
    for (int velocity : {1, 64, 127}) {
        hosted.host().noteOn(0, 60, velocity);
        hosted.host().process(left.data(), right.data(), hosted::HostedEditor::kBlock);
        EXPECT_EQ(hosted.plugin().keyboardDisplay().velocity(60), velocity);
    }
}

}  // namespace
