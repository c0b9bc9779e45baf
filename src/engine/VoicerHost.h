// What the voice manager needs from the plug-in object that owns it. The plug-in implements this;
// the engine never sees the plug-in format or the editor.
#pragma once

#include <cstdint>

class VoicerHost {
public:
    virtual ~VoicerHost() = default;

    // Current value (0..1) of parameter `index` of the edit preset. Audio thread.
    virtual float parameterValue(int32_t index) const = 0;
    // Sets a parameter from a MIDI controller (through the plug-in's setParameter; the host is
    // not told). Audio thread.
    virtual void setParameterFromController(int32_t index, float value) = 0;
    // The controller map: parameter index for MIDI controller 0..127, or -1 for none.
    virtual int32_t controllerParameter(int32_t controller) const = 0;
    // Number of output channels the plug-in declares (the manager offsets and clears that many).
    virtual int32_t outputChannelCount() const = 0;
    // The editor's keyboard display, when there is an editor (a no-op otherwise). Audio thread:
    // an implementation only records the change for the editor's idle routine.
    virtual void showKeyDown(int32_t channel, int32_t note, int32_t velocity) = 0;
    virtual void showKeyUp(int32_t channel, int32_t note) = 0;
    virtual void showAllKeysUp() = 0;
    // A MIDI program change was accepted: the plug-in drops any host program change not yet
    // applied and asks the host to refresh its display. Audio thread.
    virtual void midiProgramChanged() = 0;
};
