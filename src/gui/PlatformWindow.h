// What a frame needs from the window system: show parts of its back buffer, answer the mouse
// state for tracking loops, and wait briefly for events while a loop runs. One implementation per
// back-end (src/gui/platform/*).
#pragma once

#include <memory>

#include "gui/GuiTypes.h"
#include "gui/PopupSurface.h"

class CFrame;

class PlatformWindow {
public:
    virtual ~PlatformWindow() = default;
    // The frame's back buffer changed inside `rect`: bring it to the screen.
    virtual void present(const CRect& rect) = 0;
    // Buttons and modifiers now (CButton mask), and the pointer in frame coordinates.
    virtual long mouseButtons() = 0;
    virtual CPoint mouseLocation() = 0;
    // Handles the window's queued events without waiting (called from the frame's idle).
    virtual void drainEvents() = 0;
    // Called once per turn of a mouse-tracking loop: handles pending events and, in native
    // windows, waits a little for more, so that the loop neither stalls the window nor burns a
    // processor. False when no more input can arrive.
    virtual bool waitForEvents() = 0;
    // Opens a popup at `rect` in frame coordinates (it may reach beyond the frame); presses on it
    // reach the frame as presses at those coordinates. Null when none can be made.
    virtual std::unique_ptr<PopupSurface> openPopup(const CRect& rect) = 0;
    // Shows the busy cursor over the window (true) or the normal one again (false), at once.
    virtual void setWaitCursor(bool on) = 0;
    // A text field starts (true) or stops (false) taking typed keys: the window asks the system
    // for the keyboard, so that hosts that keep keys for themselves let the typing through, and
    // hands the keyboard back to the host's window when the field is done.
    virtual void setKeyboardFocus(bool take) = 0;
    // The native window handle (HWND or X11 Window), null for the headless window.
    virtual void* nativeHandle() const = 0;
};

// The back-end of this platform as a child of `parent` (HWND or X11 Window id); null on failure.
std::unique_ptr<PlatformWindow> createNativeWindow(void* parent, CFrame& frame);
