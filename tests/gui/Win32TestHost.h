// What the Win32 window tests (run under Wine) need of a host: a visible window to parent an
// editor in, Linux shell commands (xdotool and the like) started without waiting, and a turn of
// the message loop.
#pragma once

#include <windows.h>

#include <string>

// A visible popup window of `width` x `height` at (40, 30) of its own class.
inline HWND openHostWindow(const char* className, int width, int height) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = className;
    RegisterClassA(&cls);
    return CreateWindowExA(0, className, className, WS_POPUP | WS_VISIBLE, 40, 30, width, height,
                           nullptr, nullptr, cls.hInstance, nullptr);
}

// Wine runs Linux programs named by their path; the command goes to /bin/sh whole.
inline bool startLinuxShell(const std::string& command) {
    std::string line = "/bin/sh -c \"" + command + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

inline void pumpWindowMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
