// How the plug-in reaches its editor window without knowing it: the editor implements this and
// the plug-in class that owns both connects them. Nothing here draws; the window picks up what
// was recorded on its next idle pass.
#pragma once

#include <cstdint>

class EditorLink {
public:
    virtual ~EditorLink() = default;
    // A parameter changed from outside the editor (index -1: many at once). Any thread, since
    // automation and MIDI controllers arrive on the audio thread: it only records the change.
    virtual void parameterChanged(std::int32_t index, float value) = 0;
    // The position parameters of palette icon `icon` (0 Base, 1 Top, 2 Filter) are now (x, y),
    // each 0..1. Any thread; the icon's sector changes even while the window is closed.
    virtual void moveIcon(int icon, float x, float y) = 0;
    // A long operation on the user-interface thread starts (true) or ends (false).
    virtual void setWaitCursor(bool on) = 0;
};
