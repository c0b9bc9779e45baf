// The instrument's voice manager: routes MIDI controllers to plug-in parameters (the
// modulation wheel through a selectable destination, every other controller through the
// controller map), mirrors notes on the editor's keyboard and hands MIDI program changes to the
// plug-in object, which applies them outside the audio thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/Voicer.h"

// One destination of the modulation wheel: the name the editor shows and the parameters it sets.
struct ModWheelDestination {
    const char* name;
    int32_t parameters[6];
    int32_t count;
};

inline constexpr int32_t kModWheelDestinationCount = 18;
// Entry 0 is "no destination": the controller map's entry for controller 1 is used instead.
extern const ModWheelDestination kModWheelDestinations[kModWheelDestinationCount];

class PRSVoicer : public Voicer {
public:
    static constexpr int32_t kMasterVolumeParam = 57;
    static constexpr int32_t kVoicesParam = 85;
    static constexpr int32_t kModWheelParam = 94;

    explicit PRSVoicer(VoicerHost* host) : Voicer(host) {}

    void noteOff(int16_t channel, int16_t note, int32_t delta, bool releaseAll) override;
    void allNotesOff() override;
    void programChange(int32_t channel, int32_t program) override;
    void controlChange(int32_t channel, int32_t controller, int16_t value, int32_t delta) override;

    // Any thread: applies "Master Volume" (the volume of all channels, from the next block) and
    // "Voices" (the polyphony, 1..64); answers whether the index was one of them.
    bool applyParameter(int32_t index, float value);

    // Any thread: answers and clears the flag raised by an accepted MIDI program change.
    bool takeProgramChanged() { return programChanged_.exchange(false, std::memory_order_acquire); }

private:
    std::atomic<bool> programChanged_{false};
};
