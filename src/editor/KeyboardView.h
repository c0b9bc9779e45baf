// The on-screen keyboard in the strip below the palette: six octaves from C2 (MIDI 36 to 107).
// Pressing a key plays it, harder the further down it is pressed; dragging across the keys plays
// a glissando, one key at a time. Played notes go to the audio thread only through the plug-in's
// lock-free keyboard note queue. Keys light for the notes the plug-in plays (read from core's
// atomic key state on the editor's idle, never drawn from the audio thread) and for the key the
// keyboard itself holds.
//
// The strip's bitmap stacks kFrameCount frames: frame kKeysFrame is the playable keyboard, the
// following frames show a lid sliding over it from the left, and kCollapsedFrame has the lid
// closed. A press on either end block (or, while the lid is over the keys, on the lid's leading
// grip area) slides the lid one frame per kSlideStepMs towards the other end.
//
// User-interface thread only.
#pragma once

#include <cstdint>

#include "gui/CControl.h"

class KeyboardDisplay;
class Orin;

class KeyboardView : public CControl {
public:
    static constexpr int kFirstNote = 36;
    static constexpr int kKeyCount = 72;
    static constexpr int kFrameCount = 7;
    // The frame order of the strip's bitmap: the keys first, the closed lid last.
    static constexpr int kKeysFrame = 0;
    static constexpr int kCollapsedFrame = kFrameCount - 1;
    static constexpr std::uint32_t kSlideStepMs = 100;
    using TickSource = std::uint32_t (*)();

    // `strip` is the keyboard bitmap (kFrameCount frames stacked); without it the keys are drawn
    // plainly. Notes go to `plugin`'s keyboard note queue.
    KeyboardView(const CRect& size, Orin& plugin, CBitmap* strip, TickSource ticks);
    ~KeyboardView() override;

    // The note under a point (control coordinates), -1 outside the keys; `velocity` (1..127)
    // grows with the press's depth (127 from row 27 down).
    static int keyAt(const CPoint& local, int* velocity = nullptr);

    // Notes 36..107 only; redraws while the keys show.
    void setKeyLit(int note, bool lit);
    bool isKeyLit(int note) const;
    void clearKeys();
    // Takes in the keys the plug-in plays when they changed since the last call.
    void showDisplay(const KeyboardDisplay& display);

    // Frames outside 0 .. kFrameCount - 1 are ignored.
    void showFrame(int frame);
    int shownFrame() const { return frame_; }
    // Closed, or closing: what the keyboard will show once a slide under way ends.
    bool isCollapsed() const;
    // Starts the lid moving towards the other end (reversing a slide under way).
    void startSlide();
    bool isSliding() const { return slideStep_ != 0; }
    // One slide step when it is due; called on every idle pass.
    void stepSlide();

    // The note the keyboard holds (-1: none).
    int heldNote() const { return held_; }
    // Lets go of the held note (a note-off is queued) and ends a drag under way: the window is
    // closing.
    void releaseNotes();

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool isTypeOf(const char* type) const override;

private:
    void play(int note, bool on, int velocity);
    // Moves the held note to `note` (-1: none), the old one off first.
    void holdNote(int note, int velocity);
    bool isPressOnEnd(const CPoint& local) const;
    void drawPlainKeys(CDrawContext* context);
    void drawLitKeys(CDrawContext* context);

    Orin& plugin_;
    TickSource ticks_;
    bool lit_[kKeyCount] = {};
    std::uint32_t displayChanges_ = 0;
    bool displaySeen_ = false;
    int held_ = -1;
    bool tracking_ = false;
    int frame_ = kKeysFrame;
    int slideStep_ = 0;  // +1 closing, -1 opening, 0 still
    std::uint32_t slideTick_ = 0;
};
