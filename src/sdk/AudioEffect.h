// Base of a VST 2.4 plug-in object: owns the AEffect record the host sees, turns the host's
// dispatcher calls of the first interface generation (programs, parameters, chunks, editor,
// processing set-up) into virtual operations, and wraps the host callback.
//
// The C entry points installed in the record never let a C++ exception reach the host, answer 0
// to a null record, and destroy the object on effClose: a host never touches the record after it.
#pragma once

#include <atomic>
#include <cstdint>

#include "sdk/VstAbi.h"

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback host, std::int32_t numPrograms, std::int32_t numParams);
    virtual ~AudioEffect();  // deletes the editor
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() { return &effect_; }

    // Installs the editor (owned from now on; the previous one is deleted) and sets or clears the
    // has-editor flag accordingly.
    void setEditor(AEffEditor* editor);
    AEffEditor* getEditor() const { return editor_; }

    // Answers one host dispatcher call. Subclasses that add opcodes answer theirs and pass the
    // rest on to their base.
    virtual std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                     void* ptr, float opt);

    // ---- Operations the dispatcher calls (user-interface thread unless noted) ----
    virtual void open() {}
    virtual void close() {}
    virtual void setProgram(std::int32_t program) { curProgram_.store(program); }
    virtual std::int32_t getProgram() { return curProgram_.load(std::memory_order_relaxed); }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { name[0] = 0; }
    virtual void getParameterLabel(std::int32_t /*index*/, char* text) { text[0] = 0; }
    virtual void getParameterDisplay(std::int32_t /*index*/, char* text) { text[0] = 0; }
    virtual void getParameterName(std::int32_t /*index*/, char* text) { text[0] = 0; }
    virtual void setSampleRate(float rate) { sampleRate_ = rate; }
    virtual void setBlockSize(std::int32_t frames) { blockSize_ = frames; }
    virtual void suspend() {}
    virtual void resume() {}
    // Hands the host a block the object keeps until the next chunk call; answers its size.
    virtual std::int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual std::int32_t setChunk(void* /*data*/, std::int32_t /*size*/, bool /*isPreset*/) {
        return 0;
    }
    virtual float getVu() { return 0; }

    // Any thread, the audio thread included.
    virtual void setParameter(std::int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(std::int32_t /*index*/) { return 0; }
    // Audio thread. process() adds into the outputs, processReplacing() overwrites them.
    virtual void process(float** /*inputs*/, float** /*outputs*/, std::int32_t /*frames*/) {}
    virtual void processReplacing(float** /*inputs*/, float** /*outputs*/,
                                  std::int32_t /*frames*/) {}

    // ---- Properties the host sees ----
    void setUniqueID(std::int32_t id) { effect_.uniqueID = id; }
    void setNumInputs(std::int32_t count) { effect_.numInputs = count; }
    void setNumOutputs(std::int32_t count) { effect_.numOutputs = count; }
    void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    void setInitialDelay(std::int32_t frames) { effect_.initialDelay = frames; }
    float getSampleRate() const { return sampleRate_; }
    std::int32_t getBlockSize() const { return blockSize_; }
    std::int32_t getNumPrograms() const { return effect_.numPrograms; }
    std::int32_t getNumParams() const { return effect_.numParams; }

    // ---- Host callback wrappers (0 when there is no host) ----
    std::intptr_t callHost(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0) const;
    audioMasterCallback getHostCallback() const { return host_; }
    std::int32_t getMasterVersion() const;
    // Sets the parameter and reports the change to the host for automation recording.
    virtual void setParameterAutomated(std::int32_t index, float value);
    // Brackets a gesture of the person (a knob drag) around setParameterAutomated calls.
    bool beginEdit(std::int32_t index) const;
    bool endEdit(std::int32_t index) const;

protected:
    void setFlag(std::int32_t flag, bool state);

    audioMasterCallback host_;
    AEffEditor* editor_ = nullptr;
    float sampleRate_ = 44100.0f;
    std::int32_t blockSize_ = 1024;
    // Read by the audio thread (parameter access), written by the user-interface thread.
    std::atomic<std::int32_t> curProgram_{0};
    AEffect effect_;
};
