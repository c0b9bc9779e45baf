// The built module's editor without a screen, as a host drives it: opened and closed many times
// while another thread plays and automates (the sanitizer builds run this with a smaller count),
// and opened over a damaged library.
#include <gtest/gtest.h>

#include "editor/HostedEditor.h"
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

}  // namespace
