// The built module's editor in a real Win32 window (under Wine in the suite), parented like a
// host parents an editor and driven by xdotool, which Wine starts as a Linux program; screenshots
// are left in <build>/gui-screenshots/editor-wine-*.png.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "EditorDriver.h"
#include "gui/Win32TestHost.h"

namespace {

class Win32Host : public EditorDriver {
public:
    Win32Host() : EditorDriver("editor-wine") {
        host_ = openHostWindow("EditorHost", OrinEditor::kWidth, OrinEditor::kHeight);
    }
    ~Win32Host() override { DestroyWindow(host_); }

private:
    void* parent() override { return host_; }
    std::string at(const CPoint& p) override {
        POINT s{p.h, p.v};
        ClientToScreen(host_, &s);
        return std::to_string(s.x) + " " + std::to_string(s.y);
    }
    void startShell(const std::string& command) override {
        ASSERT_TRUE(startLinuxShell(command));
    }
    void pumpMessages() override { pumpWindowMessages(); }
    std::string hostPath(const std::string& path) override { return "Z:" + path; }
    bool altHeld() override { return (GetAsyncKeyState(VK_MENU) & 0x8000) != 0; }

    HWND host_ = nullptr;
};

class Win32Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!runningUnderWine())
            GTEST_SKIP() << "drives the window with xdotool, so needs Wine on X11";
        if (!std::filesystem::exists("Z:/usr/bin/xdotool") ||
            !std::filesystem::exists("Z:/usr/bin/import"))
            GTEST_SKIP() << "xdotool or ImageMagick's import is not installed";
    }
};

TEST_F(Win32Editor, PageButtonsAboutScreenAndIconDrag) {
    Win32Host().useTheWindow();
}

TEST_F(Win32Editor, EachPageDrivenByHandTellsTheHostAndChangesTheSound) {
    Win32Host().useThePages();
}

TEST_F(Win32Editor, AnEnvelopePointDraggedTellsTheHostAndSlowsTheAttack) {
    Win32Host().useTheEnvelopePage();
}

TEST_F(Win32Editor, AGlissandoOnTheKeyboardSoundsEveryKeyAndLetsThemGo) {
    Win32Host().playTheKeyboard();
}

TEST_F(Win32Editor, OpensAndClosesManyTimesWhileNotesPlay) {
    Win32Host().soak(QUOR_EDITOR_SOAK_ROUNDS / 10);
}

// A missing library is reported in a message box, which would wait for a person; a damaged one
// is not reported.
TEST_F(Win32Editor, OpensOverADamagedLibrary) {
    Win32Host().openOver(hosted::Library::kDamaged, "damaged-library");
}

}  // namespace
