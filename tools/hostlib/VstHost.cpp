#include "hostlib/VstHost.h"

#include <cstring>

#include "platform/Platform.h"

namespace {

// The host a plug-in belongs to while its entry runs: during construction the record's user
// field is not set yet, so callbacks are matched to the host that is loading.
thread_local VstHost* loadingHost = nullptr;

using EntryProc = AEffect* (*)(audioMasterCallback);

}  // namespace

VstHost::VstHost() {
    for (const char* text :
         {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "supplyIdle", "sizeWindow"})
        canDo_[text] = 1;
    timeInfo_.sampleRate = 44100.0;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    timeInfo_.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTimeSigValid;
    setTempo(120.0);
}

VstHost::~VstHost() {
    unload();
}

bool VstHost::load(const char* modulePath) {
    unload();
    // A full path, so that a bare file name is not looked up in the system's library folders.
    char fullPath[4096];
    if (!platform::fullPath(modulePath, fullPath, sizeof fullPath)) {
        error_ = std::string("cannot resolve the path ") + modulePath;
        return false;
    }
    char reason[512] = {};
    module_ = platform::loadLibrary(fullPath, reason, sizeof reason);
    if (!module_) {
        error_ = std::string("cannot load ") + modulePath + ": " + reason;
        return false;
    }
    auto entry = reinterpret_cast<EntryProc>(platform::librarySymbol(module_, "VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<EntryProc>(platform::librarySymbol(module_, "main"));
    if (!entry) {
        error_ = "the module exports neither VSTPluginMain nor main";
        unload();
        return false;
    }
    loadingHost = this;
    effect_ = entry(&VstHost::callback);
    loadingHost = nullptr;
    if (!effect_ || effect_->magic != kEffectMagic) {
        error_ = effect_ ? "the entry answered a record without the 'VstP' magic"
                         : "the entry answered no plug-in";
        effect_ = nullptr;
        unload();
        return false;
    }
    effect_->user = this;
    error_.clear();
    return true;
}

void VstHost::unload() {
    if (effect_) {
        effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
        effect_ = nullptr;
    }
    if (module_) {
        platform::unloadLibrary(module_);
        module_ = nullptr;
    }
}

std::intptr_t VstHost::callback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                std::intptr_t value, void* ptr, float opt) {
    VstHost* host = effect && effect->user ? static_cast<VstHost*>(effect->user) : loadingHost;
    if (!host) return opcode == audioMasterVersion ? 2400 : 0;
    return host->answer(opcode, index, value, ptr, opt);
}

std::intptr_t VstHost::answer(std::int32_t opcode, std::int32_t index, std::intptr_t /*value*/,
                              void* ptr, float opt) {
    if (opcode >= 0 && opcode < 64) callCounts_[opcode].fetch_add(1, std::memory_order_relaxed);
    if (gestureObserver_ && (opcode == audioMasterBeginEdit || opcode == audioMasterAutomate ||
                             opcode == audioMasterEndEdit))
        gestureObserver_(opcode, index, opt);
    switch (opcode) {
        case audioMasterVersion:
            return version_;
        case audioMasterAutomate: {
            std::lock_guard<std::mutex> guard(automationLock_);
            automation_.push_back({index, opt});
            return 1;
        }
        case audioMasterGetTime:
            if (!timeAvailable_) return 0;
            if (timeInfo_.sampleRate > 0)
                timeInfo_.ppqPos =
                    timeInfo_.samplePos / timeInfo_.sampleRate * timeInfo_.tempo / 60.0;
            return reinterpret_cast<std::intptr_t>(&timeInfo_);
        case audioMasterCanDo: {
            if (!ptr) return 0;
            auto found = canDo_.find(static_cast<const char*>(ptr));
            return found == canDo_.end() ? 0 : found->second;
        }
        case audioMasterGetSampleRate:
            return static_cast<std::intptr_t>(timeInfo_.sampleRate);
        case audioMasterGetBlockSize:
            return blockSize_;
        case audioMasterWantMidi:
        case audioMasterNeedIdle:
        case audioMasterUpdateDisplay:
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
        case audioMasterIOChanged:
            return 1;
        default:
            return 0;
    }
}

void VstHost::setTempo(double bpm, bool valid) {
    timeInfo_.tempo = bpm;
    if (valid)
        timeInfo_.flags |= kVstTempoValid;
    else
        timeInfo_.flags &= ~kVstTempoValid;
}

std::vector<VstHost::Automation> VstHost::takeAutomation() {
    std::lock_guard<std::mutex> guard(automationLock_);
    std::vector<Automation> taken;
    taken.swap(automation_);
    return taken;
}

int VstHost::callCount(std::int32_t opcode) const {
    return opcode >= 0 && opcode < 64 ? callCounts_[opcode].load() : 0;
}

std::intptr_t VstHost::dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                void* ptr, float opt) const {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

std::string VstHost::text(std::int32_t opcode, std::int32_t index, std::intptr_t value) const {
    char buffer[256] = {};
    dispatch(opcode, index, value, buffer);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

void VstHost::setSampleRate(float rate) {
    timeInfo_.sampleRate = rate;
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

void VstHost::setBlockSize(std::int32_t frames) {
    blockSize_ = frames;
    dispatch(effSetBlockSize, 0, frames);
}

std::intptr_t VstHost::canDo(const char* text) const {
    return dispatch(effCanDo, 0, 0, const_cast<char*>(text));
}

std::int32_t VstHost::vendorVersion() const {
    return static_cast<std::int32_t>(dispatch(effGetVendorVersion));
}

std::int32_t VstHost::plugCategory() const {
    return static_cast<std::int32_t>(dispatch(effGetPlugCategory));
}

std::int32_t VstHost::program() const {
    return static_cast<std::int32_t>(dispatch(effGetProgram));
}

void VstHost::setProgramName(const std::string& name) const {
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back(0);
    dispatch(effSetProgramName, 0, 0, buffer.data());
}

std::string VstHost::programNameIndexed(std::int32_t program) const {
    char buffer[256] = {};
    if (!dispatch(effGetProgramNameIndexed, program, -1, buffer)) return {};
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

float VstHost::parameter(std::int32_t index) const {
    return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}

void VstHost::setParameter(std::int32_t index, float value) const {
    if (effect_) effect_->setParameter(effect_, index, value);
}

std::vector<std::uint8_t> VstHost::getChunk(bool isPreset) const {
    void* block = nullptr;
    std::intptr_t size = dispatch(effGetChunk, isPreset ? 1 : 0, 0, &block);
    if (!block || size <= 0) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

std::intptr_t VstHost::setChunk(const void* data, std::size_t size, bool isPreset) const {
    return dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<std::intptr_t>(size),
                    const_cast<void*>(data));
}

void VstHost::sendMidi(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                       std::int32_t deltaFrames) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    pending_.push_back(event);
}

void VstHost::noteOn(int channel, int note, int velocity, std::int32_t deltaFrames) {
    sendMidi(static_cast<std::uint8_t>(0x90 | (channel & 15)),
             static_cast<std::uint8_t>(note & 127), static_cast<std::uint8_t>(velocity & 127),
             deltaFrames);
}

void VstHost::noteOff(int channel, int note, std::int32_t deltaFrames) {
    sendMidi(static_cast<std::uint8_t>(0x80 | (channel & 15)),
             static_cast<std::uint8_t>(note & 127), 0, deltaFrames);
}

std::intptr_t VstHost::flushEvents() {
    if (pending_.empty()) return 0;
    // The list: the VstEvents header followed by one pointer per event.
    const std::size_t headerSize = offsetof(VstEvents, events);
    eventList_.assign(headerSize + pending_.size() * sizeof(VstEvent*), 0);
    auto* list = reinterpret_cast<VstEvents*>(eventList_.data());
    list->numEvents = static_cast<std::int32_t>(pending_.size());
    auto** pointers = reinterpret_cast<VstEvent**>(eventList_.data() + headerSize);
    for (std::size_t i = 0; i < pending_.size(); ++i)
        pointers[i] = reinterpret_cast<VstEvent*>(&pending_[i]);
    std::intptr_t reply = dispatch(effProcessEvents, 0, 0, list);
    pending_.clear();
    return reply;
}

void VstHost::process(float* left, float* right, std::int32_t frames, bool accumulate) {
    if (!effect_) return;
    flushEvents();
    if (silence_.size() < static_cast<std::size_t>(frames > 0 ? frames : 0))
        silence_.assign(static_cast<std::size_t>(frames), 0.0f);
    float* inputs[2] = {silence_.data(), silence_.data()};
    float* outputs[2] = {left, right};
    if (accumulate)
        effect_->process(effect_, inputs, outputs, frames);
    else
        effect_->processReplacing(effect_, inputs, outputs, frames);
    if (frames > 0) timeInfo_.samplePos += frames;
}
