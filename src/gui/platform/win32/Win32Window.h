// The Win32 back-end: a child window of the host's HWND. Painting blits the frame's back buffer;
// mouse presses capture the mouse for the tracking loop that follows; keys and the wheel go to
// the frame; a timer keeps the editor's idle work running for hosts that seldom call it.
#pragma once

#include <windows.h>

#include "gui/PlatformWindow.h"

class Win32Window : public PlatformWindow {
public:
    Win32Window(HWND parent, CFrame& frame);
    ~Win32Window() override;
    bool valid() const { return window_ != nullptr; }

    void present(const CRect& rect) override;
    long mouseButtons() override;
    CPoint mouseLocation() override;
    void drainEvents() override {}
    bool waitForEvents() override;
    std::unique_ptr<PopupSurface> openPopup(const CRect& rect) override;
    void* nativeHandle() const override { return window_; }
    void setWaitCursor(bool on) override;
    void setKeyboardFocus(bool take) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool key(WPARAM wParam, bool down);

    CFrame& frame_;
    HWND window_ = nullptr;
    HWND previousFocus_ = nullptr;  // who had the keyboard before a text field took it
};
