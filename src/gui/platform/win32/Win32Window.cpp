#include "gui/platform/win32/Win32Window.h"

#include <windowsx.h>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/platform/win32/Win32Popup.h"
#include "gui/platform/win32/Win32Support.h"

namespace {

constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdleIntervalMs = 30;
constexpr DWORD kWaitMs = 10;

unsigned char modifierKeys() {
    unsigned char m = 0;
    if (win32::keyDownAtMessage(VK_SHIFT)) m |= MODIFIER_SHIFT;
    if (win32::keyDownAtMessage(VK_MENU)) m |= MODIFIER_ALTERNATE;
    if (win32::keyDownAtMessage(VK_LWIN) || win32::keyDownAtMessage(VK_RWIN))
        m |= MODIFIER_COMMAND;
    if (win32::keyDownAtMessage(VK_CONTROL)) m |= MODIFIER_CONTROL;
    return m;
}

unsigned char virtualKey(WPARAM key) {
    switch (key) {
        case VK_BACK:
            return VKEY_BACK;
        case VK_TAB:
            return VKEY_TAB;
        case VK_RETURN:
            return VKEY_RETURN;
        case VK_ESCAPE:
            return VKEY_ESCAPE;
        case VK_SPACE:
            return VKEY_SPACE;
        case VK_END:
            return VKEY_END;
        case VK_HOME:
            return VKEY_HOME;
        case VK_LEFT:
            return VKEY_LEFT;
        case VK_UP:
            return VKEY_UP;
        case VK_RIGHT:
            return VKEY_RIGHT;
        case VK_DOWN:
            return VKEY_DOWN;
        case VK_PRIOR:
            return VKEY_PAGEUP;
        case VK_NEXT:
            return VKEY_PAGEDOWN;
        case VK_INSERT:
            return VKEY_INSERT;
        case VK_DELETE:
            return VKEY_DELETE;
        default:
            return 0;
    }
}

}  // namespace

std::unique_ptr<PlatformWindow> createNativeWindow(void* parent, CFrame& frame) {
    auto window = std::make_unique<Win32Window>(static_cast<HWND>(parent), frame);
    if (!window->valid()) return nullptr;
    return window;
}

Win32Window::Win32Window(HWND parent, CFrame& frame) : frame_(frame) {
    const char* cls = win32::windowClass("QuorFrame", &Win32Window::windowProc);
    if (!cls || !IsWindow(parent)) return;
    const CRect& r = frame.getViewSize();
    window_ = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, r.width(),
                              r.height(), parent, nullptr, win32::moduleHandle(), this);
    if (window_) SetTimer(window_, kIdleTimer, kIdleIntervalMs, nullptr);
}

Win32Window::~Win32Window() {
    if (window_) {
        KillTimer(window_, kIdleTimer);
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK Win32Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Win32Window*>(win32::windowObject(window, message, lParam));
    if (self && self->window_ == window) return self->handle(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void Win32Window::present(const CRect& rect) {
    if (!window_) return;
    HDC dc = GetDC(window_);
    win32::blit(dc, *frame_.getBackBuffer(), rect);
    ReleaseDC(window_, dc);
}

long Win32Window::mouseButtons() {
    long buttons = win32::modifierButtons(true);
    if (win32::keyDown(VK_LBUTTON)) buttons |= kLButton;
    if (win32::keyDown(VK_MBUTTON)) buttons |= kMButton;
    if (win32::keyDown(VK_RBUTTON)) buttons |= kRButton;
    return buttons;
}

CPoint Win32Window::mouseLocation() {
    POINT p{};
    GetCursorPos(&p);
    if (window_) ScreenToClient(window_, &p);
    return CPoint(p.x, p.y);
}

std::unique_ptr<PopupSurface> Win32Window::openPopup(const CRect& rect) {
    if (!window_) return nullptr;
    auto popup = std::make_unique<Win32Popup>(frame_, window_, rect);
    if (!popup->valid()) return nullptr;
    return popup;
}

void Win32Window::setWaitCursor(bool on) {
    SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

void Win32Window::setKeyboardFocus(bool take) {
    if (take) {
        HWND previous = SetFocus(window_);
        if (previous != window_) previousFocus_ = previous;
    } else {
        if (GetFocus() == window_ && previousFocus_ && IsWindow(previousFocus_))
            SetFocus(previousFocus_);
        previousFocus_ = nullptr;
    }
}

bool Win32Window::waitForEvents() {
    // Like a modal loop of the system's own: wait a little, then dispatch the thread's messages.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

bool Win32Window::key(WPARAM wParam, bool isDown) {
    VstKeyCode code{};
    code.virt = virtualKey(wParam);
    code.modifier = modifierKeys();
    if (code.virt == 0) {
        // Letters and digits with Control or Alt produce no character message; send them here.
        if (!(code.modifier & (MODIFIER_CONTROL | MODIFIER_ALTERNATE))) return false;
        UINT c = MapVirtualKeyA(UINT(wParam), MAPVK_VK_TO_CHAR) & 0x7FFF;
        if (c == 0) return false;
        code.character = int(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    long used = isDown ? frame_.onKeyDown(code) : frame_.onKeyUp(code);
    frame_.idle();
    return used != -1;
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            win32::blit(dc, *frame_.getBackBuffer(),
                        CRect(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                              paint.rcPaint.bottom));
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            long buttons = win32::pressButtons(wParam);
            SetFocus(window_);
            SetCapture(window_);
            // When the press ends with the frame closed, this object is gone too.
            if (!frame_.onMouseDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), buttons)) {
                return 0;
            }
            if (GetCapture() == window_) ReleaseCapture();
            return 0;
        }
        case WM_MOUSEWHEEL: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window_, &p);
            float distance = float(GET_WHEEL_DELTA_WPARAM(wParam)) / float(WHEEL_DELTA);
            frame_.onMouseWheel(CPoint(p.x, p.y), distance);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (key(wParam, true)) return 0;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (key(wParam, false)) return 0;
            break;
        case WM_CHAR: {
            // Control characters and the space bar arrive as virtual keys.
            if (wParam <= 32 || wParam == 127) return 0;
            VstKeyCode code{};
            code.character = int(wParam & 0xFF);
            code.modifier = modifierKeys();
            frame_.onKeyDown(code);
            frame_.idle();
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_TIMER:
            if (wParam == kIdleTimer) frame_.onTimer();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}
