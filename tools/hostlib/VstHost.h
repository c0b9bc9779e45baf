// A small VST 2.4 host for tools and tests: loads a plug-in module the way a host does (the
// exported VSTPluginMain, or main), answers the plug-in's host callback (version 2400, canDo
// answers, time information with a settable tempo and position, sample rate and block size) and
// records the automation the plug-in reports. Typed helpers wrap the dispatcher.
//
// One VstHost holds one plug-in instance. All calls come from the thread that owns the host,
// except process(), which may run on another thread while nothing else is called.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "sdk/VstAbi.h"

class VstHost {
public:
    struct Automation {
        std::int32_t index;
        float value;
    };

    VstHost();
    ~VstHost();  // closes the plug-in and unloads the module
    VstHost(const VstHost&) = delete;
    VstHost& operator=(const VstHost&) = delete;

    // Loads the module, calls its entry with this host's callback and keeps the instance. False
    // (with error() telling why) when the module, its entry or the instance is missing.
    bool load(const char* modulePath);
    // effClose (which ends the instance) and unloads the module. Safe to call twice.
    void unload();
    const std::string& error() const { return error_; }
    AEffect* effect() const { return effect_; }

    // ---- The host's side of the callback ----
    // The answer to audioMasterVersion (2400 unless changed; 0 makes plug-ins refuse to start).
    void setVersionAnswer(std::int32_t version) { version_ = version; }
    // The answer to audioMasterCanDo for a text; unknown texts answer 0.
    void setCanDo(const std::string& text, std::intptr_t answer) { canDo_[text] = answer; }
    // Tempo reported by audioMasterGetTime; an invalid tempo clears the tempo-valid flag.
    void setTempo(double bpm, bool valid = true);
    void setSamplePosition(double frames) { timeInfo_.samplePos = frames; }
    double samplePosition() const { return timeInfo_.samplePos; }
    // When false, audioMasterGetTime answers null (a host without time information).
    void setTimeInfoAvailable(bool available) { timeAvailable_ = available; }
    // Automation reported through audioMasterAutomate since the last call, oldest first.
    std::vector<Automation> takeAutomation();
    // How often the plug-in called a host opcode.
    int callCount(std::int32_t opcode) const;
    // A function told of each audioMasterBeginEdit, audioMasterAutomate and audioMasterEndEdit
    // (opcode, parameter, value) on the thread that reports it, before it is answered. Tests
    // follow an editor's gestures with it while the editor's tracking loop runs. Set it while the
    // plug-in calls nothing.
    using GestureObserver = std::function<void(std::int32_t opcode, std::int32_t index, float)>;
    void setGestureObserver(GestureObserver observer) { gestureObserver_ = std::move(observer); }

    // ---- Dispatcher ----
    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f) const;
    // The text a string opcode writes (into a zeroed 256-byte buffer).
    std::string text(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0) const;

    void open() const { dispatch(effOpen); }
    // Sets the host's rate and block size (answered to the plug-in's questions too) and tells
    // the plug-in.
    void setSampleRate(float rate);
    void setBlockSize(std::int32_t frames);
    void resume() const { dispatch(effMainsChanged, 0, 1); }
    void suspend() const { dispatch(effMainsChanged, 0, 0); }
    std::intptr_t idle() const { return dispatch(effIdle); }
    std::intptr_t canDo(const char* text) const;

    std::string effectName() const { return text(effGetEffectName); }
    std::string vendorString() const { return text(effGetVendorString); }
    std::string productString() const { return text(effGetProductString); }
    std::int32_t vendorVersion() const;
    std::int32_t plugCategory() const;

    void setProgram(std::int32_t program) const { dispatch(effSetProgram, 0, program); }
    std::int32_t program() const;
    std::string programName() const { return text(effGetProgramName); }
    void setProgramName(const std::string& name) const;
    // The stored name of a program; empty when the plug-in answers 0.
    std::string programNameIndexed(std::int32_t program) const;

    float parameter(std::int32_t index) const;
    void setParameter(std::int32_t index, float value) const;
    std::string parameterName(std::int32_t index) const { return text(effGetParamName, index); }
    std::string parameterLabel(std::int32_t index) const { return text(effGetParamLabel, index); }
    std::string parameterDisplay(std::int32_t index) const {
        return text(effGetParamDisplay, index);
    }

    // A copy of the chunk block (of the current program when isPreset, else of the bank).
    std::vector<std::uint8_t> getChunk(bool isPreset) const;
    std::intptr_t setChunk(const void* data, std::size_t size, bool isPreset) const;

    // ---- Audio and MIDI ----
    // Queues a three-byte MIDI message for the next process() call.
    void sendMidi(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                  std::int32_t deltaFrames = 0);
    void noteOn(int channel, int note, int velocity, std::int32_t deltaFrames = 0);
    void noteOff(int channel, int note, std::int32_t deltaFrames = 0);
    // Hands the queued messages to the plug-in now (effProcessEvents); answers its reply.
    std::intptr_t flushEvents();
    // Delivers queued events, then renders frames into left and right with processReplacing
    // (or, when accumulate is set, adds with the deprecated process call); the sample position
    // advances by frames.
    void process(float* left, float* right, std::int32_t frames, bool accumulate = false);

private:
    static std::intptr_t callback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                  std::intptr_t value, void* ptr, float opt);
    std::intptr_t answer(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                         float opt);

    void* module_ = nullptr;
    AEffect* effect_ = nullptr;
    std::string error_;
    std::int32_t version_ = 2400;
    std::map<std::string, std::intptr_t> canDo_;
    VstTimeInfo timeInfo_{};
    bool timeAvailable_ = true;
    std::int32_t blockSize_ = 512;
    std::mutex automationLock_;
    std::vector<Automation> automation_;
    std::atomic<int> callCounts_[64] = {};
    GestureObserver gestureObserver_;
    std::vector<VstMidiEvent> pending_;
    std::vector<unsigned char> eventList_;
    std::vector<float> silence_;
};
