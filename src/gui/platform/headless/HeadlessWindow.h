// A window without a screen, for tests. Input is a script: mouse samples that tracking loops
// read and consume one per turn, and keys that are delivered to the frame when their turn
// comes. The frame's pixels are read from its back buffer.
#pragma once

#include <deque>
#include <vector>

#include "gui/PlatformWindow.h"
#include "gui/VstKeys.h"

class HeadlessWindow : public PlatformWindow {
public:
    explicit HeadlessWindow(CFrame& frame) : frame_(frame) {}

    // Queues the mouse state that the next tracking-loop turn sees; when the script is used up
    // the buttons read as released at the last position.
    void queueMouse(const CPoint& where, long buttons);
    // Queues a key that reaches the frame's key handling on its turn.
    void queueKey(const VstKeyCode& key);
    std::size_t pendingSteps() const { return script_.size(); }
    int presentCount() const { return presents_; }
    CRect presentedArea() const { return presented_; }
    void clearPresented() {
        presented_ = {};
        presents_ = 0;
    }

    void present(const CRect& rect) override;
    long mouseButtons() override;
    CPoint mouseLocation() override;
    void drainEvents() override {}
    // Moves the script on by one step (delivering a key step); false once it is used up.
    bool waitForEvents() override;
    std::unique_ptr<PopupSurface> openPopup(const CRect& rect) override;
    void* nativeHandle() const override { return nullptr; }
    void setWaitCursor(bool on) override { waitCursor_ = on; }
    bool showsWaitCursor() const { return waitCursor_; }
    void setKeyboardFocus(bool take) override { keyboardFocus_ = take; }
    bool hasKeyboardFocus() const { return keyboardFocus_; }
    // The popups open now, with their frame rectangles and what they show.
    struct Popup {
        CRect rect;
        int shown = 0;
    };
    const std::vector<Popup*>& popups() const { return popups_; }

private:
    class HeadlessPopup;
    friend class HeadlessPopup;
    std::vector<Popup*> popups_;

    struct Step {
        bool isKey = false;
        CPoint where;
        long buttons = 0;
        VstKeyCode key{};
    };
    const Step* currentMouse() const;

    CFrame& frame_;
    bool waitCursor_ = false;
    bool keyboardFocus_ = false;
    std::deque<Step> script_;
    CPoint last_;
    CRect presented_;
    int presents_ = 0;
};
