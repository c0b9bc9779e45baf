// The second interface generation on top of AudioEffect: events, program names by index, pin
// properties, category, name and vendor texts, canDo, idle, editor keys and knob mode, and the
// host callbacks for time information, idle and MIDI requests.
#pragma once

#include "sdk/AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                             void* ptr, float opt) override;

    // ---- Operations the dispatcher calls ----
    // Audio thread. Answers 1 when the events were taken.
    virtual std::int32_t processEvents(VstEvents* /*events*/) { return 0; }
    virtual bool canParameterBeAutomated(std::int32_t /*index*/) { return false; }
    virtual bool string2parameter(std::int32_t /*index*/, char* /*text*/) { return false; }
    virtual std::int32_t getNumCategories() { return 1; }
    virtual bool getProgramNameIndexed(std::int32_t /*category*/, std::int32_t /*index*/,
                                       char* /*text*/) {
        return false;
    }
    virtual bool getInputProperties(std::int32_t /*index*/, VstPinProperties* /*properties*/) {
        return false;
    }
    virtual bool getOutputProperties(std::int32_t /*index*/, VstPinProperties* /*properties*/) {
        return false;
    }
    virtual std::int32_t getPlugCategory();
    // Called by effSetBlockSizeAndSampleRate.
    virtual void setBlockSizeAndSampleRate(std::int32_t frames, float rate);
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual std::int32_t getVendorVersion() { return 0; }
    virtual std::intptr_t vendorSpecific(std::int32_t /*index*/, std::intptr_t /*value*/,
                                         void* /*ptr*/, float /*opt*/) {
        return 0;
    }
    // 1 yes, -1 no, 0 don't know.
    virtual std::int32_t canDo(char* /*text*/) { return 0; }
    virtual std::int32_t getGetTailSize() { return 0; }
    // The host's effIdle call.
    virtual std::intptr_t fxIdle() { return 0; }
    virtual std::int32_t getVstVersion() { return 2400; }

    // ---- Properties ----
    void isSynth(bool state) { setFlag(effFlagsIsSynth, state); }

    // ---- Host callback wrappers ----
    // The host's time information with at least the validity bits of `filter` asked for; null
    // when the host gives none.
    VstTimeInfo* getTimeInfo(std::int32_t filter) const;
    // The host's answer to a capability question (1 yes, -1 no, 0 don't know).
    std::intptr_t canHostDo(const char* text) const;
    bool needIdle() const { return callHost(audioMasterNeedIdle) != 0; }
    bool wantEvents(std::int32_t filter = 1) const {
        return callHost(audioMasterWantMidi, 0, filter) != 0;
    }
    bool updateDisplay() const { return callHost(audioMasterUpdateDisplay) != 0; }
    bool ioChanged() const { return callHost(audioMasterIOChanged) != 0; }
    bool sizeWindow(std::int32_t width, std::int32_t height) const {
        return callHost(audioMasterSizeWindow, width, height) != 0;
    }
    // The host's directory text, or null.
    const char* getDirectory() const {
        return reinterpret_cast<const char*>(callHost(audioMasterGetDirectory));
    }
};
