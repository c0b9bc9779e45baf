#include "sdk/AudioEffectX.h"

#include "sdk/AEffEditor.h"

namespace {

// The vendor-specific call some hosts use for the mouse wheel over the editor.
constexpr std::int32_t kWheelVendor = vstFourCC("stCA");
constexpr std::int32_t kWheelCall = vstFourCC("Whee");

// Editor keys carry their modifier bits in the float argument.
std::uint8_t modifierByte(float opt) {
    return opt >= 0.0f && opt < 256.0f ? static_cast<std::uint8_t>(opt) : 0;
}

}  // namespace

std::intptr_t AudioEffectX::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                       void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    auto* pin = static_cast<VstPinProperties*>(ptr);
    switch (opcode) {
        case effProcessEvents:
            return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
        case effCanBeAutomated:
            return canParameterBeAutomated(index) ? 1 : 0;
        case effString2Parameter:
            return text && string2parameter(index, text) ? 1 : 0;
        case effGetNumProgramCategories:
            return getNumCategories();
        case effGetProgramNameIndexed:
            return text && getProgramNameIndexed(static_cast<std::int32_t>(value), index, text) ? 1
                                                                                                : 0;
        case effGetInputProperties:
            return pin && getInputProperties(index, pin) ? 1 : 0;
        case effGetOutputProperties:
            return pin && getOutputProperties(index, pin) ? 1 : 0;
        case effGetPlugCategory:
            return getPlugCategory();
        case effSetBlockSizeAndSampleRate:
            setBlockSizeAndSampleRate(static_cast<std::int32_t>(value), opt);
            return 0;
        case effGetEffectName:
            return text && getEffectName(text) ? 1 : 0;
        case effGetVendorString:
            return text && getVendorString(text) ? 1 : 0;
        case effGetProductString:
            return text && getProductString(text) ? 1 : 0;
        case effGetVendorVersion:
            return getVendorVersion();
        case effVendorSpecific:
            if (index == kWheelVendor && value == kWheelCall)
                return editor_ && editor_->onWheel(opt) ? 1 : 0;
            return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return text ? canDo(text) : 0;
        case effGetTailSize:
            return getGetTailSize();
        case effIdle:
            return fxIdle();
        case effGetVstVersion:
            return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp: {
            if (!editor_) return 0;
            VstKeyCode key{index, static_cast<std::uint8_t>(value), modifierByte(opt)};
            bool used = opcode == effEditKeyDown ? editor_->onKeyDown(key) : editor_->onKeyUp(key);
            return used ? 1 : 0;
        }
        case effSetEditKnobMode:
            return editor_ && editor_->setKnobMode(static_cast<int>(value)) ? 1 : 0;
        default:
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

std::int32_t AudioEffectX::getPlugCategory() {
    return (effect_.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

void AudioEffectX::setBlockSizeAndSampleRate(std::int32_t frames, float rate) {
    blockSize_ = frames;
    sampleRate_ = rate;
}

VstTimeInfo* AudioEffectX::getTimeInfo(std::int32_t filter) const {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

std::intptr_t AudioEffectX::canHostDo(const char* text) const {
    return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text));
}
