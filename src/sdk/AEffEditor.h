// The editor base: the plug-in forwards the host's editor operations to it. An editor is created
// with its effect and installed by AudioEffect::setEditor, which raises the has-editor flag; the
// effect deletes its editor. Its window exists only between open() and close().
// Thread: every operation is called on the host's user-interface thread.
#pragma once

#include <cstdint>

#include "sdk/VstAbi.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect_(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    // Points *rect at a rectangle the editor keeps; false when the editor has no size to offer.
    virtual bool getRect(ERect** rect);
    // Creates the window as a child of the host's (HWND on Windows, X11 Window id on Linux).
    virtual bool open(void* parentWindow);
    virtual void close();
    virtual bool isOpen();
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& key);
    virtual bool onKeyUp(VstKeyCode& key);
    virtual bool onWheel(float distance);
    virtual bool setKnobMode(int mode);
    // The effect reports a parameter change (index -1: many changed at once, redraw all); an
    // editor only marks its controls for refresh here, since this may be called from the audio
    // thread.
    virtual void setParameter(std::int32_t index, float value);

    AudioEffect* getEffect() const { return effect_; }
    void* getParentWindow() const { return parentWindow_; }

protected:
    AudioEffect* effect_;
    void* parentWindow_ = nullptr;
};
