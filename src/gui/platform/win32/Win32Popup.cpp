#include "gui/platform/win32/Win32Popup.h"

#include <windowsx.h>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/platform/win32/Win32Support.h"

Win32Popup::Win32Popup(CFrame& frame, HWND frameWindow, const CRect& rect)
    : frame_(frame), rect_(rect) {
    const char* cls = win32::windowClass("QuorPopup", &Win32Popup::windowProc);
    if (!cls) return;
    POINT origin{rect.left, rect.top};
    ClientToScreen(frameWindow, &origin);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, cls, "",
                              WS_POPUP, origin.x, origin.y, rect.width(), rect.height(),
                              frameWindow, nullptr, win32::moduleHandle(), this);
    if (window_) ShowWindow(window_, SW_SHOWNOACTIVATE);
}

Win32Popup::~Win32Popup() {
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Win32Popup::show(const CBitmap& pixels) {
    CBitmap& image = keep(pixels);
    if (!window_) return;
    HDC dc = GetDC(window_);
    win32::blit(dc, image, CRect(0, 0, image.getWidth(), image.getHeight()));
    ReleaseDC(window_, dc);
}

LRESULT CALLBACK Win32Popup::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Win32Popup*>(win32::windowObject(window, message, lParam));
    if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (CBitmap* image = self->kept()) {
                win32::blit(dc, *image, CRect(0, 0, image->getWidth(), image->getHeight()));
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            self->frame_.onMouseDown(CPoint(GET_X_LPARAM(lParam) + self->rect_.left,
                                            GET_Y_LPARAM(lParam) + self->rect_.top),
                                     win32::pressButtons(wParam));
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
