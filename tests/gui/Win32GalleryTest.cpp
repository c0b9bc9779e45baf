// The gallery in a real Win32 window (under Wine in the suite), parented like a host parents an
// editor and driven by xdotool, which Wine starts as a Linux program; the screenshot is left in
// <build>/gui-screenshots/wine-gallery.png.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "GalleryDriver.h"
#include "Win32TestHost.h"

namespace {

class Win32Host : public GalleryDriver {
public:
    Win32Host() {
        host_ = openHostWindow("GalleryHost", 735, 449);
    }
    ~Win32Host() override { DestroyWindow(host_); }

private:
    void* parent() override { return host_; }
    std::string at(const CPoint& p) override {
        POINT s{p.h, p.v};
        ClientToScreen(static_cast<HWND>(frameWindow()), &s);
        return std::to_string(s.x) + " " + std::to_string(s.y);
    }
    void startShell(const std::string& command) override {
        ASSERT_TRUE(startLinuxShell(command));
    }
    void hostTurn() override {
        pumpWindowMessages();
        editor.idle();
    }
    std::string hostPath(const std::string& path) override { return "Z:" + path; }

    HWND host_ = nullptr;
};

TEST(Win32Gallery, EveryControlWorksInARealWindow) {
    if (!runningUnderWine()) GTEST_SKIP() << "drives the window with xdotool, so needs Wine on X11";
    if (!std::filesystem::exists("Z:/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is not installed";
    Win32Host().exercise(QUOR_SCREENSHOTS "/wine-gallery.png");
}

}  // namespace
