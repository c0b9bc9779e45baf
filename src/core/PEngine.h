// The plug-in's sound engine: the voice manager with its 64 sample-layer voices, the
// sounding-voice list, the shared voice tables, the three layer LFO tables, the effects section
// and the rate converter, driven block by block by the plug-in object's audio callback.
//
// It is the voices' and the voice manager's view of the plug-in: parameters come from the
// current program's edit preset, controllers go through the controller map into the plug-in's
// setParameter, and a note's samples come from the instruments that the edit preset's icons
// select in the plug-in's resource holder.
//
// Threads. process(), handleEvents() and the VoicerHost and VoiceContext calls are the audio
// thread's. setRates() allocates and belongs to the user-interface thread, as do
// queueKeyboardNote() (the queue's single producer), rebuildLfoTable() and
// takeMidiProgramChange(). applyParameter(), suspend() and resume() may come from any thread:
// whatever they change in the voice manager or the effect units is carried out by the audio
// thread at its next block.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/KeyboardDisplay.h"
#include "core/KeyboardNoteQueue.h"
#include "engine/EffectsSection.h"
#include "engine/LfoShapes.h"
#include "engine/PRateConverter.h"
#include "engine/SoundingVoiceList.h"
#include "engine/VoiceContext.h"
#include "engine/VoiceNodePool.h"
#include "engine/VoiceTables.h"
#include "engine/VoicerHost.h"

class Orin;
class PRSVoicer;
class VoiceLanes;
struct HostMidiEvent;

class PEngine final : public VoicerHost, public VoiceContext {
public:
    static constexpr int32_t kVoices = 64;
    static constexpr int32_t kLayers = 3;
    // Host blocks are rendered in pieces of at most this many frames, so that no buffer sized
    // for a piece (the converter's, the sweep's LFO block, the accumulating scratch) overflows.
    static constexpr int32_t kMaxPiece = 8192;

    explicit PEngine(Orin& owner);
    ~PEngine() override;
    PEngine(const PEngine&) = delete;
    PEngine& operator=(const PEngine&) = delete;

    // Builds the tables, the voices and the effect units and chooses the kernels from the
    // "NoMMX" and voice lane settings (KernelChoice.h). False when an allocation failed; the
    // engine then renders nothing.
    bool initialise(bool noMmx, int voiceLanes);
    bool ready() const { return voicer_ != nullptr; }
    // Destroys the voices (and so their hold on instrument data); the engine then renders
    // nothing. User-interface thread, while no audio thread is inside.
    void shutdown();

    // User-interface thread: the engine rate (44100 or 48000 Hz), the host's rate and the largest
    // block the host announced.
    void setRates(double engineRate, double hostRate, int32_t maxBlock);
    void suspend();
    void resume();

    // Audio thread: the host's events, then the host's block (replacing or adding into outputs)
    // with the tempo the host reports for it (0 when it reports none).
    void handleEvents(const HostMidiEvent* const* events, int32_t count);
    void process(float* const outputs[2], int32_t frames, double tempo, bool accumulate);

    // Any thread: the side effects of "Master Volume", "Voices" and the effect rows.
    void applyParameter(int32_t index, float value);
    // User-interface thread: rebuilds a layer's LFO table from the edit preset's shape unless it
    // is already built for it (drawn patterns and "Rand" are always rebuilt).
    void rebuildLfoTable(int layer);
    const float* lfoTable(int layer) const;

    // User-interface thread: answers and clears the flag of an accepted MIDI program change,
    // with the program then selected on channel 0 (-1 when no channel's program changed).
    bool takeMidiProgramChange(int32_t* program);

    bool queueKeyboardNote(int channel, int note, int velocity, bool isOn) {
        return keyboardNotes_.push(channel, note, velocity, isOn);
    }
    const KeyboardNoteQueue& keyboardNotes() const { return keyboardNotes_; }
    const KeyboardDisplay& keyboardDisplay() const { return keyboardDisplay_; }
    const PRateConverter& rateConverter() const { return converter_; }
    const PRSVoicer* voicer() const { return voicer_.get(); }
    const VoiceTables* tables() const { return tables_.get(); }
    const SoundingVoiceList& sounding() const { return sounding_; }

    // ---- VoicerHost ----
    float parameterValue(int32_t index) const override;
    void setParameterFromController(int32_t index, float value) override;
    int32_t controllerParameter(int32_t controller) const override;
    int32_t outputChannelCount() const override { return 2; }
    void showKeyDown(int32_t, int32_t note, int32_t velocity) override {
        keyboardDisplay_.keyDown(note, velocity);
    }
    void showKeyUp(int32_t, int32_t note) override { keyboardDisplay_.keyUp(note); }
    void showAllKeysUp() override { keyboardDisplay_.allUp(); }
    void midiProgramChanged() override;

    // ---- VoiceContext ----
    void getLayerSamples(int32_t note, LayerSamples& layers) override;
    const float* editParameters() override;
    double samplePeriod() const override { return samplePeriod_.load(std::memory_order_relaxed); }
    double hostTempo() const override { return hostTempo_.load(std::memory_order_relaxed); }
    const VoiceTables& voiceTables() const override { return *tables_; }
    const float* const* layerLfoTables() const override { return lfoTablePointers_; }
    SoundingVoiceList* soundingVoices() override { return &sounding_; }

private:
    void drainKeyboard();
    // One piece of the host block at the host's rate, replacing the contents of target.
    void renderHostFrames(float* const target[2], int32_t frames, double tempo);
    // Voices and effects over n engine frames, replacing the contents of target.
    void renderEngineFrames(float* const target[2], int32_t n, double tempo);

    Orin& owner_;
    std::unique_ptr<VoiceLanes> lanes_;  // declared first: the manager holds it until its end
    std::unique_ptr<PRSVoicer> voicer_;
    std::unique_ptr<VoiceTables> tables_;
    VoiceNodePool nodePool_;
    SoundingVoiceList sounding_{nodePool_, kVoices};
    EffectsSection effects_{nullptr};
    PRateConverter converter_;
    KeyboardNoteQueue keyboardNotes_;
    KeyboardDisplay keyboardDisplay_;
    std::unique_ptr<float[]> scratch_;  // 2 x kMaxPiece: the accumulating call's own render
    std::atomic<bool> converting_{false};
    std::atomic<double> samplePeriod_{1.0 / 44100.0};
    std::atomic<double> hostTempo_{0.0};
    float lfoTables_[kLayers][kLayerTableSize] = {};
    const float* lfoTablePointers_[kLayers] = {lfoTables_[0], lfoTables_[1], lfoTables_[2]};
    uint32_t lfoTableShapes_[kLayers] = {};
    bool lfoTableBuilt_[kLayers] = {};
};
