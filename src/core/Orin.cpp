#include "core/Orin.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "core/PChunkCodec.h"
#include "core/PControllerMap.h"
#include "core/PDefaultBank.h"
#include "core/PSettings.h"
#include "data/FMemoryStream.h"
#include "data/PLibraryStartup.h"
#include "data/PPool.h"
#include "data/PPropertyMatrix.h"
#include "data/PResourceTable.h"
#include "platform/Platform.h"
#include "sdk/AEffEditor.h"
#include "sdk/VstText.h"

namespace {

constexpr char kProductName[] = "Quor";
constexpr char kVendorName[] = "Orin";
constexpr std::size_t kParamNameChars = 29;
constexpr std::size_t kParamLabelChars = 4;
constexpr std::size_t kParamDisplayChars = 8;
// Host buffers are sized by the format's limits; a text and its terminating zero fit in them.
constexpr std::size_t kProgramNameChars = kVstMaxProgNameLen - 1;

// Host rates outside this range are taken as no rate at all (a host saying 0, say): the engine
// then runs at 44100 Hz without conversion.
constexpr float kDefaultRate = 44100.0f;
constexpr float kLowestHostRate = 1000.0f;
constexpr float kHighestHostRate = 1000000.0f;

bool isUsableHostRate(float rate) {
    return std::isfinite(rate) && rate >= kLowestHostRate && rate <= kHighestHostRate;
}

}  // namespace

Orin::Orin(audioMasterCallback host) : AudioEffectX(host, kNumPrograms, kNumParams) {
    if (host) {
        isSynth(true);
        setNumInputs(0);
        setNumOutputs(kNumOutputs);
        canProcessReplacing(true);
        programsAreChunks(true);
        setUniqueID(kUniqueId);
    }
    for (std::int32_t p = 0; p < kNumPrograms; ++p) {
        char name[PProgram::kNameCapacity];
        std::snprintf(name, sizeof name, "Init %d", static_cast<int>(p + 1));
        programs_[p].setName(name);
    }
    PResourceTable::shared().addUser();
    setSampleRate(44100.0f);
    programPending_.store(true);
    throttle_.reset();
    initialiseEngine();
    initialised_ = true;
}

Orin::~Orin() {
    // The voices and the held instruments go first, so that the last plug-in's removeUser finds
    // nothing still referenced and frees all raw data.
    engine_.shutdown();
    resourceHolder_.releaseAll();
    PResourceTable::shared().removeUser();
}

void Orin::initialiseEngine() {
    hostSuppliesIdle_ = canHostDo("supplyIdle") != 0;
    if (hostSuppliesIdle_) needIdle();
    // Hosts are asked for their directory, but the plug-in's own path decides where data lives.
    getDirectory();
    const PSettings& settings = PSettings::shared();
    // The pool is read once per process; the call that reads it also reports missing raw files.
    loadInstrumentLibrary(settings.pluginPath());
    PControllerMap::loadOnce(settings.dataFolder());
    engine_.initialise(settings.noMmx(), settings.voiceLanes());
    throttle_.reset();
    loadDefaultBank(settings.dataFolder());
    propertyMatrix_.reset(new (std::nothrow) PPropertyMatrix);
    if (propertyMatrix_) loadPropertyMatrix(*propertyMatrix_, settings.pluginPath());
}

void Orin::loadDefaultBank(const char* dataFolder) {
    char path[PSettings::kPathCapacity + 32];
    std::snprintf(path, sizeof path, "%s%s", dataFolder, PDefaultBank::kFileName);
    std::vector<std::uint8_t> chunk;
    if (PDefaultBank::read(path, chunk))
        setChunk(chunk.data(), static_cast<std::int32_t>(chunk.size()), false);
}

// ---- Programs --------------------------------------------------------------------------------

PProgram* Orin::program(std::int32_t index) {
    return index >= 0 && index < kNumPrograms ? &programs_[index] : nullptr;
}

void Orin::open() {
    if (!initialised_) {
        initialiseEngine();
        initialised_ = true;
    }
    setProgram(0);
}

void Orin::setProgram(std::int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    curProgram_.store(program);
    programPending_.store(true);
    updateDisplay();
}

void Orin::setProgramName(char* name) {
    currentProgram().setName(name);
}

void Orin::getProgramName(char* name) {
    applyPendingProgram(false);
    const char* stored = currentProgram().name();
    if (std::strcmp(stored, "Init") == 0) {
        char numbered[PProgram::kNameCapacity + 16];
        std::snprintf(numbered, sizeof numbered, "%s %d", stored, getProgram() + 1);
        vstCopyText(name, numbered, kProgramNameChars);
    } else {
        vstCopyText(name, stored, kProgramNameChars);
    }
}

bool Orin::getProgramNameIndexed(std::int32_t /*category*/, std::int32_t index, char* text) {
    applyPendingProgram(false);
    const PProgram* stored = program(index);
    if (!stored) return false;
    vstCopyText(text, stored->name(), kProgramNameChars);
    return true;
}

bool Orin::applyPendingProgram(bool fromIdle) {
    // A MIDI program change is kept here until applied, since the throttle may hold it back.
    std::int32_t midiProgram = -1;
    if (engine_.takeMidiProgramChange(&midiProgram)) {
        midiProgramPending_ = true;
        midiPreset_ = midiProgram;
    }
    if (midiProgramPending_) {
        if (fromIdle && !throttle_.ready()) return false;
        throttle_.record();
        midiProgramPending_ = false;
        if (midiPreset_ >= 0) activatePreset(midiPreset_);
        return true;
    }
    if (!programPending_.load()) return false;
    if (!throttle_.ready()) return true;
    throttle_.record();
    PProgram& current = currentProgram();
    for (std::int32_t i = 0; i < kAppliedParams; ++i)
        setParameter(i, current.editPreset().value(i));
    activatePreset(current.currentPreset());
    programPending_.store(false);
    return true;
}

void Orin::activatePreset(std::int32_t index) {
    if (editorLink_) editorLink_->setWaitCursor(true);
    PProgram& current = currentProgram();
    if (index >= 0 && index < PProgram::kPresetCount) current.selectPreset(index, false);
    const PPreset& edit = current.editPreset();
    std::int32_t slots[PPreset::kSlotCount];
    std::int32_t icons[PPreset::kIconCount];
    for (int i = 0; i < PPreset::kSlotCount; ++i) slots[i] = edit.slot(i);
    for (int i = 0; i < PPreset::kIconCount; ++i) icons[i] = edit.icon(i);
    // The 33 instruments load in the background, the three selected ones at once.
    resourceHolder_.activate(slots, icons);
    for (std::int32_t i = 0; i < kAppliedParams; ++i) applyParameter(i, edit.value(i));
    for (int layer = 0; layer < 3; ++layer) rebuildLfoTable(layer);
    if (editorLink_) {
        editorFlags_.fetch_or(kEditorRedrawAll);
        editorLink_->parameterChanged(-1, 0.0f);
        editorLink_->setWaitCursor(false);
    }
}

void Orin::rebuildLfoTable(int layer) {
    engine_.rebuildLfoTable(layer);
}

void Orin::midiProgramChanged() {
    programPending_.store(false);
    updateDisplay();
}

// ---- Parameters ------------------------------------------------------------------------------

void Orin::setParameter(std::int32_t index, float value) {
    if (index < 0 || index >= kNumParams || std::isnan(value)) return;
    value = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    currentProgram().editPreset().setValue(index, value);
    if (editorLink_ && !editorIsSource_.load(std::memory_order_relaxed))
        editorLink_->parameterChanged(index, value);
    applyParameter(index, value);
}

float Orin::getParameter(std::int32_t index) {
    if (index < 0 || index >= kNumParams) return 0.0f;
    return currentProgram().editPreset().value(index);
}

void Orin::applyParameter(std::int32_t index, float value) {
    switch (index) {
        case kParamMasterTune:
            // The tuning is global: it survives preset and program changes.
            PProgram::setInEveryPreset(programs_, kNumPrograms, index, value);
            break;
        case kParamMasterVolume:
        case kParamVoices:
        case kParamFxSync:
        case kParamFxDelay:
        case 67:  // "Fx Feedback"
        case 68:  // "Fx Spread"
        case 69:  // "Fx Speed"
        case 70:  // "Fx Depth"
        case 71:  // "Fx Mix"
        case kParamFxType:
            engine_.applyParameter(index, value);
            break;
        case 96:   // "B Icon Y"
        case 98:   // "T Icon Y"
        case 100:  // "F Icon Y"
            // X alone does not move an icon: hosts write X and Y one after the other.
            if (editorLink_) {
                const int icon = (index - 96) / 2;
                const PPreset& edit = currentProgram().editPreset();
                editorLink_->moveIcon(icon, edit.value(index - 1), value);
            }
            break;
        default:
            break;
    }
}

void Orin::getParameterName(std::int32_t index, char* text) {
    if (const PParamDesc* row = paramDesc(index)) vstCopyText(text, row->name, kParamNameChars);
}

void Orin::getParameterLabel(std::int32_t index, char* label) {
    if (const PParamDesc* row = paramDesc(index)) vstCopyText(label, row->label, kParamLabelChars);
}

void Orin::getParameterDisplay(std::int32_t index, char* text) {
    if (paramDesc(index)) floatToText(getParameter(index), text, kParamDisplayChars);
}

// ---- Rates and processing ----------------------------------------------------------------------

void Orin::setSampleRate(float rate) {
    const float requested = isUsableHostRate(rate) ? rate : kDefaultRate;
    const float engine = static_cast<float>(PRateConverter::engineRateFor(requested));
    requestedRate_ = requested;
    sampleRate_ = engine;
    samplePeriod_ = 1.0 / engine;
    engine_.setRates(engine, requested, blockSize_);
}

void Orin::setBlockSize(std::int32_t frames) {
    if (frames <= 0) return;
    blockSize_ = frames;
    engine_.setRates(sampleRate_, requestedRate_, blockSize_);
}

void Orin::setBlockSizeAndSampleRate(std::int32_t frames, float rate) {
    // Taken through the two setters so that the rate logic and the buffers follow.
    setBlockSize(frames);
    setSampleRate(rate);
}

void Orin::suspend() {
    engine_.suspend();
}

void Orin::resume() {
    needIdle();
    wantEvents(1);
    engine_.resume();
    throttle_.reset();
    applyPendingProgram(false);
}

std::int32_t Orin::processEvents(VstEvents* events) {
    // The host's event records have the layout the voice manager reads (type 1 = MIDI).
    if (events && events->numEvents > 0)
        engine_.handleEvents(reinterpret_cast<const HostMidiEvent* const*>(events->events),
                             events->numEvents);
    return 1;
}

void Orin::process(float** /*inputs*/, float** outputs, std::int32_t frames) {
    render(outputs, frames, true);
}

void Orin::processReplacing(float** /*inputs*/, float** outputs, std::int32_t frames) {
    render(outputs, frames, false);
}

void Orin::render(float** outputs, std::int32_t frames, bool accumulate) {
    // Without an engine the outputs are left as they are.
    if (!engine_.ready() || !outputs || !outputs[0] || !outputs[1] || frames <= 0) return;
    const platform::ScopedFlushDenormals flushDenormals;
    double tempo = 0.0;
    if (const VstTimeInfo* time = getTimeInfo(kVstTempoValid))
        if ((time->flags & kVstTempoValid) && std::isfinite(time->tempo) && time->tempo > 0.0)
            tempo = time->tempo;
    float* const pair[2] = {outputs[0], outputs[1]};
    engine_.process(pair, frames, tempo, accumulate);
}

bool Orin::queueKeyboardNote(int channel, int note, int velocity, bool isOn) {
    return engine_.queueKeyboardNote(channel, note, velocity, isOn);
}

void Orin::loadResourceIntoSlot(int slot, int instrument) {
    resourceHolder_.set(slot, instrument);
    if (const POIP* loaded = resourceHolder_.get(slot)) PPool::shared().loadNow(loaded);
}

// ---- Chunks ------------------------------------------------------------------------------------

std::int32_t Orin::getChunk(void** data, bool isPreset) {
    *data = nullptr;
    currentProgram().store();
    chunkStream_.reset(new FMemoryStream);  // its allocator answers null when out of memory
    if (!chunkStream_) return 0;
    chunkStream_->setSwapBytes(true);
    const bool written =
        isPreset ? PChunkCodec::writeProgram(*chunkStream_, currentProgram())
                 : PChunkCodec::writeBank(*chunkStream_, programs_, kNumPrograms, getProgram());
    const std::size_t length = chunkStream_->length();
    if (!written || length == 0 ||
        length > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        chunkStream_.reset();
        return 0;
    }
    *data = chunkStream_->memory();
    return static_cast<std::int32_t>(length);
}

std::int32_t Orin::setChunk(void* data, std::int32_t size, bool isPreset) {
    // The stream reads the host's block in place; it is dropped before returning, since the
    // block is the host's and may go away after this call.
    FMemoryStream stream(data, size > 0 ? static_cast<std::size_t>(size) : 0);
    stream.setSwapBytes(true);
    std::int32_t current = getProgram();
    if (isPreset)
        PChunkCodec::readProgram(stream, currentProgram());
    else
        PChunkCodec::readBank(stream, programs_, kNumPrograms, &current);
    // Hosts hand back the block of the last getChunk (compare, undo), so it goes only now.
    chunkStream_.reset();
    setProgram(current);
    return 1;
}

// ---- Host-visible texts ----------------------------------------------------------------------

bool Orin::getOutputProperties(std::int32_t index, VstPinProperties* properties) {
    if (index < 0 || index >= kNumOutputs) return false;
    std::snprintf(properties->label, sizeof properties->label, "%s %1d", kProductName,
                  static_cast<int>(index + 1));
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool Orin::getEffectName(char* name) {
    vstCopyText(name, kProductName, kVstMaxEffectNameLen - 1);
    return true;
}

bool Orin::getVendorString(char* text) {
    vstCopyText(text, kVendorName, kVstMaxVendorStrLen - 1);
    return true;
}

bool Orin::getProductString(char* text) {
    vstCopyText(text, kProductName, kVstMaxProductStrLen - 1);
    return true;
}

std::int32_t Orin::canDo(char* text) {
    return std::strcmp(text, "receiveVstEvents") == 0 ||
                   std::strcmp(text, "receiveVstMidiEvent") == 0
               ? 1
               : -1;
}

std::intptr_t Orin::fxIdle() {
    applyPendingProgram(true);
    return 1;
}
