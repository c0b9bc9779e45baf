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
// The rate converter's buffers hold at most this many host frames' worth; longer host blocks
// are converted in pieces, so a huge announced block size costs no huge buffers.
constexpr std::int32_t kMaxConverterFrames = 8192;

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
    // Engine hook: the voice manager and the effect units are released here once they exist.
    // The held instruments go first, so that the last plug-in's removeUser finds nothing still
    // referenced and frees all raw data.
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
    voiceTables_.reset(new (std::nothrow) VoiceTables);
    if (voiceTables_) buildVoiceTables(*voiceTables_);
    // Engine hook: voice manager with 64 voices, delay resize, VsLFO tables, sweep range.
    for (int layer = 0; layer < 3; ++layer) {
        buildShapeTable(kShapeSine, lfoTables_[layer]);
        lfoTableShapes_[layer] = kShapeSine;
        lfoTableBuilt_[layer] = true;
    }
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

bool Orin::applyPendingProgram(bool /*fromIdle*/) {
    // Engine hook: a MIDI program change (the voice manager's program-changed flag) is applied
    // here first, throttled only when fromIdle is set.
    if (!programPending_.load()) return false;
    const std::uint32_t now = platform::tickCount();
    if (!throttle_.ready(now)) return true;
    throttle_.record(now);
    PProgram& current = currentProgram();
    for (std::int32_t i = 0; i < kAppliedParams; ++i)
        setParameter(i, current.editPreset().value(i));
    activatePreset(current.currentPreset());
    programPending_.store(false);
    return true;
}

void Orin::activatePreset(std::int32_t index) {
    // Editor hook: wait cursor while the editor window is open.
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
    if (editor_) {
        editorFlags_.fetch_or(kEditorRedrawAll);
        editor_->setParameter(-1, 0.0f);
    }
}

void Orin::rebuildLfoTable(int layer) {
    if (layer < 0 || layer >= 3) return;
    const PPreset& edit = currentProgram().editPreset();
    const std::uint32_t shape = edit.lfoShape(layer);
    const bool alwaysRebuilt = shape == kShapePattern || shape == kShapeRand;
    if (lfoTableBuilt_[layer] && lfoTableShapes_[layer] == shape && !alwaysRebuilt) return;
    std::uint8_t steps[kLfoSteps];
    for (int s = 0; s < kLfoSteps; ++s) steps[s] = edit.lfoStep(layer, s);
    buildLayerTable(shape, lfoTables_[layer], steps);
    lfoTableShapes_[layer] = shape;
    lfoTableBuilt_[layer] = true;
}

const float* Orin::lfoTable(int layer) const {
    return layer >= 0 && layer < 3 ? lfoTables_[layer] : nullptr;
}

// ---- Parameters ------------------------------------------------------------------------------

void Orin::setParameter(std::int32_t index, float value) {
    if (index < 0 || index >= kNumParams || std::isnan(value)) return;
    value = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    currentProgram().editPreset().setValue(index, value);
    if (editor_ && !editorIsSource_.load(std::memory_order_relaxed))
        editor_->setParameter(index, value);
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
            // Engine hook: channel volume (value x 127 on channels 0..15) and polyphony
            // (int(value x 63 + 0.5) + 1) go to the voice manager.
            break;
        case kParamFxSync:
        case kParamFxDelay:
        case 67:  // "Fx Feedback"
        case 68:  // "Fx Spread"
        case 69:  // "Fx Speed"
        case 70:  // "Fx Depth"
        case 71:  // "Fx Mix"
        case kParamFxType:
            // Engine hook: these reconfigure the delay and filter-sweep units.
            break;
        case 96:   // "B Icon Y"
        case 98:   // "T Icon Y"
        case 100:  // "F Icon Y"
            // Editor hook: the palette moves the layer's icon to (X, Y).
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
    // Engine hook: the delay and filter-sweep units take the engine rate.
    configureRateConverter();
}

void Orin::configureRateConverter() {
    rateConverter_.configure(sampleRate_, requestedRate_,
                             blockSize_ < kMaxConverterFrames ? blockSize_ : kMaxConverterFrames);
}

void Orin::setBlockSize(std::int32_t frames) {
    if (frames <= 0) return;
    blockSize_ = frames;
    configureRateConverter();
}

void Orin::setBlockSizeAndSampleRate(std::int32_t frames, float rate) {
    // Taken through the two setters so that the rate logic and the buffers follow.
    setBlockSize(frames);
    setSampleRate(rate);
}

void Orin::suspend() {
    // Engine hook: the voice manager stops every sounding voice at once.
}

void Orin::resume() {
    needIdle();
    wantEvents(1);
    // Engine hook: clear the delay unit and reset the filter-sweep unit.
    rateConverter_.reset();
    throttle_.reset();
    applyPendingProgram(false);
}

std::int32_t Orin::processEvents(VstEvents* /*events*/) {
    // Engine hook: the voice manager's event input takes the list.
    return 1;
}

void Orin::process(float** /*inputs*/, float** /*outputs*/, std::int32_t /*frames*/) {
    // Engine hook: without a voice manager the outputs are left as they are.
}

void Orin::processReplacing(float** /*inputs*/, float** /*outputs*/, std::int32_t /*frames*/) {
    // Engine hook: without a voice manager the outputs are left as they are.
}

bool Orin::queueKeyboardNote(int channel, int note, int velocity, bool isOn) {
    return keyboardNotes_.push(channel, note, velocity, isOn);
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
    chunkStream_.reset();
    // The stream reads the host's block in place; it is dropped before returning, since the
    // block is the host's and may go away after this call.
    FMemoryStream stream(data, size > 0 ? static_cast<std::size_t>(size) : 0);
    stream.setSwapBytes(true);
    std::int32_t current = getProgram();
    if (isPreset)
        PChunkCodec::readProgram(stream, currentProgram());
    else
        PChunkCodec::readBank(stream, programs_, kNumPrograms, &current);
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
