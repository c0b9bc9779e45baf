// The built module's editor in a real Win32 window (under Wine in the suite), parented like a
// host parents an editor and driven by xdotool, which Wine starts as a Linux program; screenshots
// are left in <build>/gui-screenshots/editor-wine-*.png.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "EditorDriver.h"

namespace {

class Win32Host : public EditorDriver {
public:
    Win32Host() : EditorDriver("editor-wine") {
        WNDCLASSA cls{};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        cls.lpszClassName = "EditorHost";
        RegisterClassA(&cls);
        host_ = CreateWindowExA(0, "EditorHost", "Editor", WS_POPUP | WS_VISIBLE, 40, 30,
                                OrinEditor::kWidth, OrinEditor::kHeight, nullptr, nullptr,
                                cls.hInstance, nullptr);
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
    void pumpMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    std::string hostPath(const std::string& path) override { return "Z:" + path; }

    HWND host_ = nullptr;
};

bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

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

TEST_F(Win32Editor, OpensAndClosesManyTimesWhileNotesPlay) {
    Win32Host().soak(QUOR_EDITOR_SOAK_ROUNDS / 10);
}

// A missing library is reported in a message box, which would wait for a person; a damaged one
// is not reported.
TEST_F(Win32Editor, OpensOverADamagedLibrary) {
    Win32Host().openOver(hosted::Library::kDamaged, "damaged-library");
}

}  // namespace
