// An editor drawn with our toolkit. A subclass sets the editor rectangle in its constructor,
// builds its frame and views in open() (calling this open first) and reacts to its controls in
// valueChanged(); this base answers the host's size query, forwards keys, the wheel and idle
// calls to the frame, turns control gestures into the host's begin/end edit, and deletes the
// frame on close().
#pragma once

#include "gui/CFrame.h"
#include "sdk/AEffEditor.h"

class AEffGUIEditor : public AEffEditor, public CFrameOwner {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    bool open(void* parentWindow) override;
    // Deletes the frame and every view in it.
    void close() override;
    bool isOpen() override { return frame_ != nullptr; }
    // Redraws what changed (subclasses doing more call this last).
    void idle() override;
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;
    // The host's wheel step, for the view under the pointer.
    bool onWheel(float distance) override;
    bool setKnobMode(int mode) override;

    // CFrameOwner
    void beginEdit(long tag) override;
    void endEdit(long tag) override;
    void doIdleStuff() override;
    int getKnobMode() const override { return knobMode_; }
    void timerIdle() override;

    CFrame* getFrame() const { return frame_; }

protected:
    // The editor's size, for the host and for the frame.
    void setRect(short left, short top, short right, short bottom);
    CRect frameRect() const;

    CFrame* frame_ = nullptr;
    ERect rect_{};

private:
    int knobMode_ = kLinearMode;
    bool inTimerIdle_ = false;
};
