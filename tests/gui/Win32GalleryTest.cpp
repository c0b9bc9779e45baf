// The gallery in a real Win32 window (under Wine in the suite), parented like a host parents an
// editor and driven by xdotool, which Wine starts as a Linux program; the screenshot is left in
// <build>/gui-screenshots/wine-gallery.png.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "GalleryDriver.h"

namespace {

class Win32Host : public GalleryDriver {
public:
    Win32Host() {
        WNDCLASSA cls{};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "GalleryHost";
        RegisterClassA(&cls);
        host_ = CreateWindowExA(0, "GalleryHost", "Gallery", WS_POPUP | WS_VISIBLE, 40, 30, 735,
                                449, nullptr, nullptr, cls.hInstance, nullptr);
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
        // Wine runs Linux programs named by their path; the command goes to /bin/sh whole.
        std::string line = "/bin/sh -c \"" + command + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    void hostTurn() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        editor.idle();
    }
    std::string hostPath(const std::string& path) override { return "Z:" + path; }

    HWND host_ = nullptr;
};

bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(Win32Gallery, EveryControlWorksInARealWindow) {
    if (!runningUnderWine()) GTEST_SKIP() << "drives the window with xdotool, so needs Wine on X11";
    if (!std::filesystem::exists("Z:/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is not installed";
    Win32Host().exercise(QUOR_SCREENSHOTS "/wine-gallery.png");
}

}  // namespace
