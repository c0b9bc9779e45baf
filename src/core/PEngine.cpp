#include "core/PEngine.h"

#include <algorithm>
#include <new>

#include "core/Orin.h"
#include "core/PControllerMap.h"
#include "engine/DelayUnit.h"
#include "engine/HostMidiEvent.h"
#include "engine/KernelChoice.h"
#include "engine/LayerSampleLookup.h"
#include "engine/PRSVoice.h"
#include "engine/PRSVoicer.h"
#include "engine/VoiceLanes.h"
#include "engine/VsLFO.h"

namespace {

constexpr float kSweepLowHz = 440.0f;
constexpr float kSweepHighHz = 2600.0f;

}  // namespace

PEngine::PEngine(Orin& owner) : owner_(owner) {}

// The voice manager goes first: its voices hold references into the list and the tables.
PEngine::~PEngine() {
    shutdown();
}

void PEngine::shutdown() {
    voicer_.reset();
}

bool PEngine::initialise(bool noMmx, int voiceLanes) {
    setNoMMX(noMmx ? 1 : 0);
    setVoiceLanes(voiceLanes);
    effects_.setParameters(editParameters());
    tables_.reset(new (std::nothrow) VoiceTables);
    scratch_.reset(new (std::nothrow) float[2 * kMaxPiece]());
    if (!tables_ || !scratch_) return false;
    buildVoiceTables(*tables_);
    std::unique_ptr<PRSVoicer> voicer(new (std::nothrow) PRSVoicer(this));
    lanes_.reset(new (std::nothrow) VoiceLanes);
    if (!voicer || !lanes_) return false;
    for (int32_t i = 0; i < kVoices; ++i) {
        auto* voice = new (std::nothrow) PRSVoice(*this);
        if (!voice) return false;
        voicer->addVoice(voice);
        lanes_->attach(voice);
    }
    voicer->setBatch(lanes_.get());
    voicer->setPolyphony(kVoices);
    effects_.delay().resize(DelayUnit::kDefaultMaxMs);
    VsLFO::buildWaves();
    effects_.sweep().setRange(kSweepLowHz, kSweepHighHz);
    for (int layer = 0; layer < kLayers; ++layer) {
        buildShapeTable(kShapeSine, lfoTables_[layer]);
        lfoTableShapes_[layer] = kShapeSine;
        lfoTableBuilt_[layer] = true;
    }
    voicer_ = std::move(voicer);
    return true;
}

void PEngine::setRates(double engineRate, double hostRate, int32_t maxBlock) {
    samplePeriod_.store(1.0 / engineRate, std::memory_order_relaxed);
    effects_.setSampleRate(engineRate);
    converter_.configure(engineRate, hostRate, std::min(maxBlock, kMaxPiece));
    converting_.store(engineRate != hostRate, std::memory_order_release);
}

void PEngine::suspend() {
    if (voicer_) voicer_->requestKillAllVoices();
}

void PEngine::resume() {
    effects_.resume();
    converter_.reset();
}

// ---- Audio thread ------------------------------------------------------------------------------

void PEngine::handleEvents(const HostMidiEvent* const* events, int32_t count) {
    if (!voicer_ || !events || count <= 0) return;
    if (!converting_.load(std::memory_order_acquire)) {
        voicer_->handleEvents(events, count);
        return;
    }
    // The voices count their start and release delays in engine frames: the MIDI records go on
    // in copies whose offsets the converter has turned from host frames into engine frames.
    constexpr int32_t kBatch = 32;
    HostMidiEvent copies[kBatch];
    const HostMidiEvent* batch[kBatch];
    for (int32_t i = 0; i < count;) {
        int32_t n = 0;
        for (; n < kBatch && i < count; ++i) {
            const HostMidiEvent* e = events[i];
            if (!e || e->type != kHostMidiEventType) continue;
            copies[n] = *e;
            copies[n].deltaFrames = converter_.engineFrameAt(e->deltaFrames);
            batch[n] = &copies[n];
            ++n;
        }
        voicer_->handleEvents(batch, n);
    }
}

void PEngine::process(float* const outputs[2], int32_t frames, double tempo, bool accumulate) {
    if (!voicer_ || frames <= 0) return;
    // The voices keep the last tempo the host reported; the effects take this block's.
    if (tempo > 0.0) hostTempo_.store(tempo, std::memory_order_relaxed);
    effects_.setParameters(editParameters());
    drainKeyboard();
    float* const scratch[2] = {scratch_.get(), scratch_.get() + kMaxPiece};
    for (int32_t done = 0; done < frames;) {
        const int32_t m = std::min(frames - done, kMaxPiece);
        float* const piece[2] = {outputs[0] + done, outputs[1] + done};
        renderHostFrames(accumulate ? scratch : piece, m, tempo);
        if (accumulate)
            for (int c = 0; c < 2; ++c)
                for (int32_t i = 0; i < m; ++i) piece[c][i] += scratch[c][i];
        done += m;
    }
}

void PEngine::drainKeyboard() {
    keyboardNotes_.drain([this](const KeyboardNoteQueue::Entry& e) {
        const auto channel = static_cast<int16_t>(e.channel);
        const auto note = static_cast<int16_t>(e.note);
        if (e.isOn)
            voicer_->noteOn(channel, note, static_cast<int16_t>(e.velocity), 0);
        else
            voicer_->noteOff(channel, note, 0, true);
    });
}

void PEngine::renderHostFrames(float* const target[2], int32_t frames, double tempo) {
    if (!converting_.load(std::memory_order_acquire)) {
        renderEngineFrames(target, frames, tempo);
        return;
    }
    converter_.process(target, frames, [&](float* const buffers[2], int32_t n) {
        renderEngineFrames(buffers, n, tempo);
    });
}

void PEngine::renderEngineFrames(float* const target[2], int32_t n, double tempo) {
    float* channels[2] = {target[0], target[1]};
    voicer_->renderReplacing(nullptr, channels, n);
    effects_.process(target, n, tempo);
}

// ---- Parameters and programs
// ---------------------------------------------------------------------

void PEngine::applyParameter(int32_t index, float value) {
    if (voicer_ && voicer_->applyParameter(index, value)) return;
    effects_.setParameters(editParameters());
    effects_.applyParameter(index, value);
}

void PEngine::rebuildLfoTable(int layer) {
    if (layer < 0 || layer >= kLayers) return;
    const PPreset& edit = owner_.currentProgram().editPreset();
    const std::uint32_t shape = edit.lfoShape(layer);
    const bool alwaysRebuilt = shape == kShapePattern || shape == kShapeRand;
    if (lfoTableBuilt_[layer] && lfoTableShapes_[layer] == shape && !alwaysRebuilt) return;
    std::uint8_t steps[kLfoSteps];
    for (int s = 0; s < kLfoSteps; ++s) steps[s] = edit.lfoStep(layer, s);
    buildLayerTable(shape, lfoTables_[layer], steps);
    lfoTableShapes_[layer] = shape;
    lfoTableBuilt_[layer] = true;
}

const float* PEngine::lfoTable(int layer) const {
    return layer >= 0 && layer < kLayers ? lfoTables_[layer] : nullptr;
}

bool PEngine::takeMidiProgramChange(int32_t* program) {
    if (!voicer_ || !voicer_->takeProgramChanged()) return false;
    *program = voicer_->takeProgramChangedMask() != 0 ? voicer_->getChannelProgram(0) : -1;
    return true;
}

// ---- VoicerHost
// ----------------------------------------------------------------------------------

float PEngine::parameterValue(int32_t index) const {
    return owner_.currentProgram().editPreset().value(index);
}

void PEngine::setParameterFromController(int32_t index, float value) {
    owner_.setParameter(index, value);
}

int32_t PEngine::controllerParameter(int32_t controller) const {
    return PControllerMap::lookup(controller);
}

void PEngine::midiProgramChanged() {
    owner_.midiProgramChanged();
}

// ---- VoiceContext
// --------------------------------------------------------------------------------

void PEngine::getLayerSamples(int32_t note, LayerSamples& layers) {
    const PPreset& edit = owner_.currentProgram().editPreset();
    const PResourceHolder& holder = owner_.resourceHolder();
    findLayerSamples(holder.get(edit.icon(PRSVoice::kBase)), holder.get(edit.icon(PRSVoice::kTop)),
                     holder.get(edit.icon(PRSVoice::kFilter)), note, layers);
}

const float* PEngine::editParameters() {
    return owner_.currentProgram().editPreset().values();
}
