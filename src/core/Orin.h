// The plug-in object the host sees: eight programs of 64 presets, 108 parameters, chunks, the
// deferred application of program changes, the keyboard note queue, the sample-rate handling and
// the engine initialisation. OrinEdit adds the editor.
//
// Threads: the host's user-interface thread constructs, opens, changes programs and chunks and
// calls idle; the audio thread processes, takes events and (with automation) sets parameters.
// The two meet only through atomics: parameter values (relaxed, inside PPreset), the current
// program index, the program-pending flag, the editor flags and the sound engine's hand-offs
// (PEngine).
//
// The editor is reached only through EditorLink (the plug-in class with the window connects
// it), so nothing here depends on the window.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/EditorLink.h"
#include "core/KeyboardNoteQueue.h"
#include "core/PEngine.h"
#include "core/PProgram.h"
#include "core/ProgramChangeThrottle.h"
#include "data/PResourceHolder.h"
#include "sdk/AudioEffectX.h"

class FMemoryStream;
class PPropertyMatrix;

class Orin : public AudioEffectX {
public:
    static constexpr std::int32_t kNumPrograms = 8;
    static constexpr std::int32_t kNumOutputs = 2;
    static constexpr std::int32_t kUniqueId = vstFourCC("RS-1");
    static constexpr std::int32_t kVersion = 2 * 1000 + 4 * 100;
    static constexpr std::int32_t kAppliedParams = 95;    // programs apply parameters 0..94
    static constexpr std::uint32_t kEditorRedrawAll = 1;  // editor flag bit 0

    explicit Orin(audioMasterCallback host);
    ~Orin() override;

    // ---- Host operations ----
    void open() override;
    void setProgram(std::int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override;
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    void getParameterName(std::int32_t index, char* text) override;
    bool canParameterBeAutomated(std::int32_t) override { return true; }
    void setSampleRate(float rate) override;
    void setBlockSize(std::int32_t frames) override;
    void setBlockSizeAndSampleRate(std::int32_t frames, float rate) override;
    void suspend() override;
    void resume() override;
    std::int32_t getChunk(void** data, bool isPreset) override;
    std::int32_t setChunk(void* data, std::int32_t size, bool isPreset) override;
    std::int32_t processEvents(VstEvents* events) override;
    void process(float** inputs, float** outputs, std::int32_t frames) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t frames) override;
    bool getOutputProperties(std::int32_t index, VstPinProperties* properties) override;
    std::int32_t getPlugCategory() override { return kPlugCategSynth; }
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    std::int32_t getVendorVersion() override { return kVersion; }
    std::int32_t getVstVersion() override { return kVersion; }
    std::int32_t canDo(char* text) override;
    std::intptr_t fxIdle() override;

    // ---- Operations of the editor and the other parts (user-interface thread) ----
    // Applies a host program change that is waiting; fromIdle throttles it (see applyPending).
    bool applyPendingProgram(bool fromIdle);
    // Selects preset index (-1: keep the current one) of the current program and applies it.
    void activatePreset(std::int32_t index);
    // Pushes a value into the shared engine objects (the few parameters with side effects).
    void applyParameter(std::int32_t index, float value);
    // Audio thread, from the voice manager: a MIDI program change supersedes a host program
    // change not yet applied.
    void midiProgramChanged();
    // The millisecond ticks that space out program applications (tests set their own).
    void setTickSource(ProgramChangeThrottle::TickSource ticks) { throttle_.setTickSource(ticks); }
    // Rebuilds a layer LFO's wave table from the edit preset's shape unless it is already built
    // for that shape (drawn patterns and "Rand" are always rebuilt).
    void rebuildLfoTable(int layer);
    // A note from the editor's keyboard; dropped when 128 are already waiting.
    bool queueKeyboardNote(int channel, int note, int velocity, bool isOn);
    // Points a palette slot at an instrument of the pool and loads that instrument at once.
    void loadResourceIntoSlot(int slot, int instrument);
    // Null when the matrix could not be made.
    PPropertyMatrix* propertyMatrix() { return propertyMatrix_.get(); }
    const PResourceHolder& resourceHolder() const { return resourceHolder_; }

    PProgram& currentProgram() { return programs_[getProgram()]; }
    PProgram* program(std::int32_t index);
    bool isInitialised() const { return initialised_; }
    bool isProgramPending() const { return programPending_.load(); }
    double samplePeriod() const { return samplePeriod_; }
    double hostTempo() const { return engine_.hostTempo(); }
    const float* lfoTable(int layer) const { return engine_.lfoTable(layer); }
    const VoiceTables* voiceTables() const { return engine_.tables(); }
    const PEngine& engine() const { return engine_; }
    std::uint32_t takeEditorFlags() { return editorFlags_.exchange(0); }
    void setEditorIsSource(bool on) { editorIsSource_.store(on); }
    const KeyboardNoteQueue& keyboardNotes() const { return engine_.keyboardNotes(); }
    const KeyboardDisplay& keyboardDisplay() const { return engine_.keyboardDisplay(); }
    // The editor's side of the plug-in (null: none). Set once, before the host sees the plug-in.
    void setEditorLink(EditorLink* link) { editorLink_ = link; }
    bool isEditorSource() const { return editorIsSource_.load(std::memory_order_relaxed); }
    float requestedRate() const { return requestedRate_; }
    const PRateConverter& rateConverter() const { return engine_.rateConverter(); }

private:
    void initialiseEngine();
    // Renders a host block (replacing or adding) with flush-to-zero set.
    void render(float** outputs, std::int32_t frames, bool accumulate);
    // Reads "quor2def.fxb" from the data folder into the programs, when it is there.
    void loadDefaultBank(const char* dataFolder);

    PProgram programs_[kNumPrograms];
    std::unique_ptr<FMemoryStream> chunkStream_;
    std::unique_ptr<PPropertyMatrix> propertyMatrix_;
    std::atomic<std::uint32_t> editorFlags_{0};
    EditorLink* editorLink_ = nullptr;
    bool hostSuppliesIdle_ = false;
    std::atomic<bool> editorIsSource_{false};
    bool initialised_ = false;
    std::atomic<bool> programPending_{false};
    // A MIDI program change taken from the voice manager and not yet applied (user-interface
    // thread), with the preset it selects (-1: none, the edit preset is applied again).
    bool midiProgramPending_ = false;
    std::int32_t midiPreset_ = -1;
    ProgramChangeThrottle throttle_;
    // The host's rate as requested; the engine runs at sampleRate_ (44100 or 48000 Hz).
    float requestedRate_ = 44100.0f;
    double samplePeriod_ = 1.0 / 44100.0;
    PResourceHolder resourceHolder_;
    PEngine engine_{*this};
};
