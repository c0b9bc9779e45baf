#include "sdk/AudioEffect.h"

#include <cstring>
#include <limits>

#include "sdk/AEffEditor.h"

namespace {

AudioEffect* instanceOf(AEffect* effect) {
    return effect ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

// The C functions the host calls through the record. Each one is a wall: no exception passes.

std::intptr_t dispatchEntry(AEffect* effect, std::int32_t opcode, std::int32_t index,
                            std::intptr_t value, void* ptr, float opt) {
    AudioEffect* instance = instanceOf(effect);
    if (!instance) return 0;
    std::intptr_t answer = 0;
    try {
        answer = instance->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        answer = 0;
    }
    if (opcode == effClose) {
        effect->object = nullptr;
        delete instance;
    }
    return answer;
}

void setParameterEntry(AEffect* effect, std::int32_t index, float value) {
    if (AudioEffect* instance = instanceOf(effect)) {
        try {
            instance->setParameter(index, value);
        } catch (...) {
        }
    }
}

float getParameterEntry(AEffect* effect, std::int32_t index) {
    if (AudioEffect* instance = instanceOf(effect)) {
        try {
            return instance->getParameter(index);
        } catch (...) {
        }
    }
    return 0;
}

void processEntry(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
    AudioEffect* instance = instanceOf(effect);
    if (!instance || !outputs || frames <= 0) return;
    try {
        instance->process(inputs, outputs, frames);
    } catch (...) {
    }
}

void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
    AudioEffect* instance = instanceOf(effect);
    if (!instance || !outputs || frames <= 0) return;
    try {
        instance->processReplacing(inputs, outputs, frames);
    } catch (...) {
    }
}

// A host's 64-bit value narrowed to an int32, or -1 when it does not fit (so that a huge value
// cannot wrap into a valid index).
std::int32_t narrow(std::intptr_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return -1;
    return static_cast<std::int32_t>(value);
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback host, std::int32_t numPrograms, std::int32_t numParams)
    : host_(host) {
    std::memset(&effect_, 0, sizeof effect_);
    effect_.magic = kEffectMagic;
    effect_.dispatcher = dispatchEntry;
    effect_.process = processEntry;
    effect_.setParameter = setParameterEntry;
    effect_.getParameter = getParameterEntry;
    effect_.processReplacing = processReplacingEntry;
    effect_.numPrograms = numPrograms;
    effect_.numParams = numParams;
    effect_.numInputs = 0;
    effect_.numOutputs = 2;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.version = 1;
}

AudioEffect::~AudioEffect() {
    delete editor_;
}

void AudioEffect::setEditor(AEffEditor* editor) {
    if (editor == editor_) return;
    delete editor_;
    editor_ = editor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(std::int32_t flag, bool state) {
    if (state)
        effect_.flags |= flag;
    else
        effect_.flags &= ~flag;
}

std::intptr_t AudioEffect::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                      void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effClose:
            close();
            return 0;
        case effSetProgram:
            setProgram(narrow(value));
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            if (text) setProgramName(text);
            return 0;
        case effGetProgramName:
            if (text) getProgramName(text);
            return 0;
        case effGetParamLabel:
            if (text) getParameterLabel(index, text);
            return 0;
        case effGetParamDisplay:
            if (text) getParameterDisplay(index, text);
            return 0;
        case effGetParamName:
            if (text) getParameterName(index, text);
            return 0;
        case effGetVu:
            return static_cast<std::intptr_t>(getVu() * 32767.0f);
        case effSetSampleRate:
            setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            setBlockSize(narrow(value));
            return 0;
        case effMainsChanged:
            if (value)
                resume();
            else
                suspend();
            return 0;
        case effEditGetRect:
            return editor_ && ptr && editor_->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen:
            return editor_ && editor_->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor_) editor_->close();
            return 0;
        case effEditIdle:
            if (editor_) editor_->idle();
            return 0;
        case effGetChunk:
            return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
        case effSetChunk:
            if (!ptr || value < 0 || narrow(value) < 0) return 0;
            return setChunk(ptr, narrow(value), index != 0);
        default:
            return 0;
    }
}

std::intptr_t AudioEffect::callHost(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                    void* ptr, float opt) const {
    if (!host_) return 0;
    return host_(const_cast<AEffect*>(&effect_), opcode, index, value, ptr, opt);
}

std::int32_t AudioEffect::getMasterVersion() const {
    return narrow(callHost(audioMasterVersion));
}

void AudioEffect::setParameterAutomated(std::int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

bool AudioEffect::beginEdit(std::int32_t index) const {
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffect::endEdit(std::int32_t index) const {
    return callHost(audioMasterEndEdit, index) != 0;
}
