#include "gui/platform/win32/Win32Popup.h"

#include <windowsx.h>

#include <algorithm>

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
    if (pixels_) pixels_->forget();
}

void Win32Popup::show(const CBitmap& pixels) {
    if (!pixels_ || pixels_->getWidth() != pixels.getWidth() ||
        pixels_->getHeight() != pixels.getHeight()) {
        if (pixels_) pixels_->forget();
        pixels_ = new CBitmap(pixels.getWidth(), pixels.getHeight());
    }
    std::copy(pixels.pixels(),
              pixels.pixels() + std::size_t(pixels.getWidth()) * std::size_t(pixels.getHeight()),
              pixels_->pixels());
    if (!window_) return;
    HDC dc = GetDC(window_);
    win32::blit(dc, *pixels_, CRect(0, 0, pixels_->getWidth(), pixels_->getHeight()));
    ReleaseDC(window_, dc);
}

LRESULT CALLBACK Win32Popup::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Popup*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (self->pixels_) {
                win32::blit(dc, *self->pixels_,
                            CRect(0, 0, self->pixels_->getWidth(), self->pixels_->getHeight()));
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
