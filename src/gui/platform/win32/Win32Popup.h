// A popup for the Win32 back-end: a top-most borderless window; presses on it are handed to the
// frame at frame coordinates.
#pragma once

#include <windows.h>

#include "gui/PlatformWindow.h"

class Win32Popup : public PopupSurface {
public:
    // `rect` is in the frame coordinates of `frame`, whose window is `frameWindow`.
    Win32Popup(CFrame& frame, HWND frameWindow, const CRect& rect);
    ~Win32Popup() override;
    bool valid() const { return window_ != nullptr; }

    void show(const CBitmap& pixels) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CFrame& frame_;
    CRect rect_;
    HWND window_ = nullptr;
};
