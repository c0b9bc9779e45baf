// The voice manager: turns the host's MIDI stream into note and controller calls, keeps the
// controller state of the 16 MIDI channels, picks a voice for every note (stealing when the
// polyphony limit is reached) and renders the sounding voices with frame-accurate starts and
// releases.
//
// Voices live in two lists threaded through Voice::next/prev: the free list (used through its
// head) and the active list (head = newest, tail = oldest). Moving a voice is constant-time link
// surgery; nothing is allocated after the voices have been added.
//
// Threads: everything runs on the audio thread except the operations marked "any thread".
// Work from other threads that touches the lists (killing voices, channel volume from the
// "Master Volume" parameter) is requested through atomics and carried out by the audio thread
// at the start of its next handleEvents or render call.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/HostMidiEvent.h"
#include "engine/Voice.h"

class VoiceBatch;
class VoicerHost;

class Voicer {
public:
    static constexpr int32_t kChannels = 16;
    static constexpr int32_t kMaxOutputChannels = 8;
    static constexpr int32_t kNoteStackSize = 15;

    struct ChannelState {
        double volume = 0.78125;
        double pan = 0.5;
        double pitchBend = 0;  // -1..+1
        double modulation = 0;
        double panSpread = 0;
        bool sustainEnabled = true;
        bool sustainDown = false;
        bool sostenutoDown = false;
        bool softDown = false;
        bool portamentoSwitch = true;
        bool monoMode = false;
        int32_t stackCount = 0;  // mono-mode note stack of (note, velocity) pairs
        int16_t stackNote[kNoteStackSize] = {};
        int16_t stackVelocity[kNoteStackSize] = {};
    };

    explicit Voicer(VoicerHost* host);
    Voicer(const Voicer&) = delete;
    Voicer& operator=(const Voicer&) = delete;

    // Slots 0-30, in order.
    virtual ~Voicer();                          // destroys every voice added
    virtual void setPolyphony(int32_t voices);  // any thread; 0 = no limit from this field
    virtual int32_t getPolyphony() const;       // any thread
    virtual void killAllVoices();               // frees every active voice at once
    virtual bool takeControllersChanged();      // any thread
    virtual void addVoice(Voice* voice);        // takes ownership; before rendering starts
    virtual void handleEvents(const HostMidiEvent* const* events, int32_t count);
    virtual void renderAdding(float** inputs, float** outputs, int32_t frames);
    virtual void renderReplacing(float** inputs, float** outputs, int32_t frames);
    virtual void resetVoiceIterator();
    virtual Voice* nextPlayingVoice();
    virtual int32_t getChannelProgram(int32_t channel) const;  // any thread
    virtual void parseMidiByte(uint8_t byte, int32_t delta);
    virtual void noteOn(int16_t channel, int16_t note, int16_t velocity, int32_t delta);
    virtual void noteOff(int16_t channel, int16_t note, int32_t delta, bool releaseAll);
    virtual void allNotesOff();
    virtual void channelNotesOff(int32_t channel, bool immediately);
    virtual void pitchBend(int32_t channel, int32_t lsb, int32_t msb);
    virtual void modulationWheel(int32_t channel, int32_t value);
    virtual void channelVolume(int32_t channel, int32_t value);
    virtual void channelPan(int32_t channel, int32_t value);
    virtual void programChange(int32_t channel, int32_t program);
    virtual void sustainPedal(int32_t channel, int32_t value, int32_t delta);
    virtual void sostenutoPedal(int32_t channel, int32_t value, int32_t delta);
    virtual void softPedal(int32_t channel, int32_t value, int32_t delta);
    virtual void portamentoSwitch(int32_t channel, int32_t value, int32_t delta);
    virtual void controlChange(int32_t channel, int32_t controller, int16_t value, int32_t delta);
    virtual void channelPressure(int32_t channel, int32_t value);
    virtual Voice* allocateVoice(int32_t channel, int32_t note);
    virtual void freeVoice(Voice* voice);
    virtual void setMonoMode(int32_t channel, bool on);

    // Any thread: the volume (0..127) of all 16 channels, applied at the next block.
    void requestChannelVolumeAll(int32_t value);
    // Any thread: killAllVoices at the start of the next block (suspend).
    void requestKillAllVoices();
    // Any thread: answers and clears the mask of channels whose program changed.
    uint32_t takeProgramChangedMask();
    int32_t lastProgram() const { return lastProgram_.load(std::memory_order_relaxed); }

    // Before rendering starts: a batch that renders the voices it takes side by side (null: every
    // voice renders on its own). Not owned.
    void setBatch(VoiceBatch* batch) { batch_ = batch; }
    // The release of a voice whose pending note-off has reached its frame: answers false when the
    // voice was freed instead. For a batch, during its render.
    bool releasePending(Voice* voice);

    int32_t voiceCount() const { return voiceCount_; }
    int32_t activeCount() const { return activeCount_; }
    Voice* activeHead() const { return activeHead_; }
    Voice* activeTail() const { return activeTail_; }
    const ChannelState& channelState(int32_t channel) const { return channels_[channel & 15]; }
    double lastNoteOffVelocity() const { return noteOffVelocity_; }

protected:
    VoicerHost* host() const { return host_; }
    static bool validChannel(int32_t channel) { return channel >= 0 && channel < kChannels; }
    void raiseControllersChanged() { controllersChanged_.store(true, std::memory_order_relaxed); }

private:
    enum class VoiceField { PitchBend, Modulation, Volume, Pan, Pressure };

    void applyRequests();
    void releaseRestruck(int32_t channel, int32_t note, int32_t delta);
    bool releaseOrFree(Voice* voice);
    void releaseAt(Voice* voice, int32_t delta);
    void stealOrFree(Voice* voice);
    void setChannelValue(int32_t channel, VoiceField field, double value);
    void pushActiveHead(Voice* voice);
    void unlinkActive(Voice* voice);
    void renderVoice(Voice* voice, float** inputs, float** outputs, int32_t frames,
                     int32_t channels);
    void renderSpan(Voice* voice, float** inputs, float** outputs, int32_t frames, int32_t channels,
                    int32_t start, int32_t release);
    void popNoteStack(int32_t channel, int16_t note);

    VoicerHost* host_;
    VoiceBatch* batch_ = nullptr;
    Voice* freeHead_ = nullptr;
    Voice* activeHead_ = nullptr;
    Voice* activeTail_ = nullptr;
    int32_t voiceCount_ = 0;
    int32_t activeCount_ = 0;
    std::atomic<int32_t> polyphony_{0};
    ChannelState channels_[kChannels];
    std::atomic<int32_t> programs_[kChannels];
    double noteOffVelocity_ = 0;
    double detune_ = 0;
    std::atomic<bool> controllersChanged_{false};
    std::atomic<uint32_t> programChangedMask_{0};
    std::atomic<int32_t> lastProgram_{0};
    // Running-status parser.
    int32_t status_ = 0;
    int32_t statusChannel_ = 0;
    int32_t firstData_ = 0;
    int32_t dataCount_ = 0;
    int32_t statusDelta_ = 0;
    int32_t iterator_ = 0;
    // Requests from other threads.
    std::atomic<int32_t> pendingVolume_{-1};
    std::atomic<bool> pendingKill_{false};
};
