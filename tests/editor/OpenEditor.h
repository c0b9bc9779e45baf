// The fixture of the editor's headless tests: the plug-in as a host makes it, with a host
// callback that records the automation it is told of, and its editor open on a headless frame
// whose clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "RecordingHost.h"
#include "data/PLibraryStartup.h"
#include "editor/OrinEdit.h"
#include "editor/OrinEditor.h"
#include "gui/CFrame.h"
#include "gui/platform/headless/HeadlessWindow.h"

// Page x + kPageLeft = window x.
inline constexpr CCoord kPageLeft = 369;

// The window point in the middle of a rectangle given in page coordinates.
inline CPoint onPage(const CRect& r) {
    return {kPageLeft + (r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class OpenEditor : public ::testing::Test {
protected:

    void SetUp() override {
        // The test executable has no instrument library beside it: no report to show.
        setLibraryMessageHandlerForTests([](const char*, const char*) {});
        hostCalls.clear();
        plugin = std::make_unique<OrinEdit>(recordingHost);
        plugin->open();
        editor = plugin->editor();
        editor->setTickSource(testTicks);
        ASSERT_TRUE(editor->open(nullptr));
        frame = editor->getFrame();
        window = frame->headless();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        plugin.reset();
        setLibraryMessageHandlerForTests(nullptr);
    }
    // Shows `page`, takes in what is pending and forgets what the host was told so far.
    void showPage(int page) {
        editor->showPage(page);
        editor->idle();
        hostCalls.clear();
    }
    static inline std::uint32_t ticksNow = 0;
    static std::uint32_t testTicks() { return ticksNow; }

    std::unique_ptr<OrinEdit> plugin;
    OrinEditor* editor = nullptr;
    CFrame* frame = nullptr;
    HeadlessWindow* window = nullptr;
};
