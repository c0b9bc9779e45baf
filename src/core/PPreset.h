// One sound: a name, the 108 parameter values, the 33 palette slots (instrument indices, or
// kEmptySlot), the three icon selections and the three layer LFOs' step patterns and shape codes.
// Every index at or above 0 may name an instrument, since the pool grows with placeholders for
// missing instruments; an empty slot therefore holds a negative marker, and chunks store it as a
// reference to no instrument.
//
// The audio thread reads a program's edit preset while the user-interface thread (or a MIDI
// controller on the audio thread) writes it, without a lock. Every field that the engine reads is
// therefore accessed through relaxed atomic operations, element by element; copying a preset
// copies element by element in the same way. The name is only used on the user-interface thread.
#pragma once

#include <cstdint>

#include "core/PParamDesc.h"

class PPreset {
public:
    static constexpr int kNameCapacity = 128;
    static constexpr int kSlotCount = 33;
    static constexpr int kIconCount = 3;
    static constexpr int kLfoCount = 3;
    static constexpr int kLfoStepCount = 16;
    static constexpr std::int32_t kEmptySlot = -1;

    // A fresh preset: empty name, default values, slot i holding instrument i, icons on slot 0,
    // every LFO shaped 'Sine' with the steps derived from that shape.
    PPreset();
    PPreset(const PPreset& other);
    PPreset& operator=(const PPreset& other);

    // The built-in default preset, one per process, built on first use.
    static PPreset& defaultPreset();

    // Full copy, or everything but the name.
    void copyFrom(const PPreset& other, bool withName = true);

    const char* name() const { return name_; }
    // Copies at most kNameCapacity - 1 characters; a null text gives the empty name.
    void setName(const char* text);

    // The kNumParams values in index order, for the voices; read each one with a relaxed atomic
    // load (engine/RelaxedFloat.h), since another thread may write it.
    const float* values() const { return values_; }
    // Out-of-range indices read as 0 and are ignored when written.
    float value(int index) const;
    void setValue(int index, float v);
    std::int32_t slot(int index) const;
    void setSlot(int index, std::int32_t instrument);
    std::int32_t icon(int layer) const;
    void setIcon(int layer, std::int32_t slotIndex);
    std::uint32_t lfoShape(int layer) const;
    // Stores the code alone (as chunks do).
    void setLfoShapeCode(int layer, std::uint32_t code);
    // Stores the code; a non-zero code also regenerates the layer's 16 steps from the shape.
    void setLfoShape(int layer, std::uint32_t code);
    std::uint8_t lfoStep(int layer, int step) const;
    void setLfoStep(int layer, int step, std::uint8_t level);

    // The instrument of the slot that a layer's icon selects; kEmptySlot when the selection
    // lies outside the slots.
    std::int32_t selectedInstrument(int layer) const;

private:
    char name_[kNameCapacity] = {};
    float values_[kNumParams];
    std::int32_t slots_[kSlotCount];
    std::int32_t icons_[kIconCount];
    std::uint8_t lfoSteps_[kLfoCount][kLfoStepCount] = {};
    std::uint32_t lfoShapes_[kLfoCount];
};
