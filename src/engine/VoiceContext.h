// What a sample-layer voice needs from the plug-in object that owns it. The plug-in implements
// this interface; the voice never sees the plug-in format, the editor or the preset store.
// Every call comes from the audio thread and must not allocate, lock, wait or touch files.
#pragma once

#include <cstdint>

class PResource;
class SoundingVoiceList;
struct VoiceTables;

// The sample data of one note: the answer of "get layer samples".
struct LayerSamples {
    PResource* base = nullptr;
    PResource* top = nullptr;
    PResource* filterA = nullptr;  // the zone of the note
    PResource* filterB = nullptr;  // the neighbouring zone; null when there is none
    // In: the layer's octave shift in semitones. Out: plus the zone's transpose.
    int32_t baseTranspose = 0;
    int32_t topTranspose = 0;
    float filterWeight = 1.0f;  // weight of filterA, 0.5..1
};

class VoiceContext {
public:
    virtual ~VoiceContext() = default;

    // Fills the resources of `note` from the edit preset's icon selections and slots. Resources
    // may lack data; the voice checks after taking its references.
    virtual void getLayerSamples(int32_t note, LayerSamples& layers) = 0;
    // The 108 values of the current program's edit preset. The voice keeps the pointer for the
    // length of a note, so it must stay valid while any voice may play (presets are never freed
    // while the engine runs).
    virtual const float* editParameters() = 0;
    virtual double samplePeriod() const = 0;  // 1 / engine rate
    virtual double hostTempo() const = 0;     // beats per minute, 0 when unknown
    virtual const VoiceTables& voiceTables() const = 0;
    // The Base, Top and Filter LFO wave tables (4096 floats each).
    virtual const float* const* layerLfoTables() const = 0;
    // Where starting voices register; null for none.
    virtual SoundingVoiceList* soundingVoices() = 0;
};
