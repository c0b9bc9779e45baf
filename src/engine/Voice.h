// The base of every voice: the fields the voice manager writes and the operations it calls.
//
// The virtual operations are declared in a fixed slot order (destructor first); subclasses
// override what they need. A voice belongs to exactly one of the manager's two lists, threaded
// through `next`/`prev`. Only the voice itself sets VoiceState::Finished; the manager then frees
// it. Every operation runs on the audio thread.
#pragma once

#include <cstdint>

class Voicer;
class VoicerHost;

enum class VoiceState : int32_t { Free = 0, Playing = 1, Finished = 2 };

class Voice {
public:
    Voice() = default;
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    // Slot 0.
    virtual ~Voice() = default;
    // Slot 1: adds `frames` frames into outputs[0] (left) and outputs[1] (right).
    virtual void render(float** inputs, float** outputs, int32_t frames);
    // Slot 2.
    virtual void attachVoicer(Voicer* manager);
    // Slot 3: starts `note` with velocity 0..1; may set the state to Finished when it cannot play.
    virtual void start(int32_t note, double velocity);
    // Slot 4: enters the release phase; false asks the manager to free the voice instead.
    virtual bool startRelease(double velocity);
    // Slot 5: enters a fast release after being stolen; false asks the manager to free it.
    virtual bool steal();
    // Slot 6: lets go of any data the voice holds.
    virtual void stopVoice();
    // Slots 7-13.
    virtual void setVolume(double value);
    virtual void setPan(double value);
    virtual void setPitchBend(double value);
    virtual void setModulation(double value);
    virtual void controller(int32_t number, int32_t value);
    virtual void setPressure(double value);
    virtual void setPanSpread(double amount);
    // Slots 14-17.
    virtual void setReleasing(bool on);
    virtual void setSustained(bool on);
    virtual void setStartDelay(int32_t frames);
    virtual void setReleaseDelay(int32_t frames);

    // Written by the manager, read by the voice.
    double volume = 0;
    double pan = 0.5;
    double velocity = 0;   // 0..1
    double pitchBend = 0;  // -1..+1
    double modulation = 0;
    double panSpread = 0;
    double noteOffVelocity = 0;
    double detune = 0;  // semitones
    Voice* next = nullptr;
    Voice* prev = nullptr;
    Voicer* manager = nullptr;
    VoicerHost* host = nullptr;
    int32_t note = 54;
    int32_t program = 0;
    int32_t channel = 0;
    int32_t velocityValue = 0;  // 0..127
    // Frames from the start of the current block; meaningful while the matching flag is set.
    int32_t startDelay = 0;
    int32_t releaseDelay = 0;
    VoiceState state = VoiceState::Free;
    int32_t index = 0;  // position in the manager's pool
    bool releasing = false;
    bool stolen = false;
    bool sustained = false;
    bool pendingRelease = false;
};
