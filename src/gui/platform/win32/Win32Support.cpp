#include "gui/platform/win32/Win32Support.h"

#include <cstdio>
#include <map>
#include <string>

#include "gui/CBitmap.h"

namespace win32 {

HINSTANCE moduleHandle() {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&moduleHandle), &module);
    return module;
}

// One class per loaded module and prefix, so that two plug-in libraries never share a window
// procedure.
const char* windowClass(const char* prefix, WNDPROC procedure) {
    static std::map<std::string, std::string> registered;
    auto found = registered.find(prefix);
    if (found != registered.end()) return found->second.c_str();
    char name[64];
    std::snprintf(name, sizeof name, "%s%p", prefix, static_cast<void*>(moduleHandle()));
    WNDCLASSA cls{};
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = procedure;
    cls.hInstance = moduleHandle();
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.lpszClassName = name;
    if (!RegisterClassA(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return registered.emplace(prefix, name).first->second.c_str();
}

void* windowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool keyDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

bool keyDownAtMessage(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

long modifierButtons(bool live) {
    auto down = live ? keyDown : keyDownAtMessage;
    long buttons = 0;
    if (down(VK_SHIFT)) buttons |= kShift;
    if (down(VK_CONTROL)) buttons |= kControl;
    if (down(VK_MENU)) buttons |= kAlt;
    // The Windows key is the secondary-click modifier.
    if (down(VK_LWIN) || down(VK_RWIN)) buttons |= kApple;
    return buttons;
}

long pressButtons(WPARAM wParam) {
    long buttons = modifierButtons(false);
    if (wParam & MK_LBUTTON) buttons |= kLButton;
    if (wParam & MK_RBUTTON) buttons |= kRButton;
    if (wParam & MK_MBUTTON) buttons |= kMButton;
    return buttons;
}

void blit(HDC dc, const CBitmap& pixels, const CRect& rect) {
    CRect r = rect;
    r.bound(CRect(0, 0, pixels.getWidth(), pixels.getHeight()));
    if (r.isEmpty()) return;
    // The image handed over is just the rows of the rectangle, top-down, so its source rectangle
    // spans its whole height: systems that count a top-down image's source rows from the bottom
    // and those that count them from the top then copy the same rows.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.getWidth();
    info.bmiHeader.biHeight = -r.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint32_t* rows = pixels.pixels() + std::size_t(r.top) * std::size_t(pixels.getWidth());
    StretchDIBits(dc, r.left, r.top, r.width(), r.height(), r.left, 0, r.width(), r.height(), rows,
                  &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace win32
