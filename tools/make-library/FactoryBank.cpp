#include "FactoryBank.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/PChunkCodec.h"
#include "core/PDefaultBank.h"
#include "core/PProgram.h"
#include "data/FMemoryStream.h"
#include "data/PPool.h"

namespace makelib {
namespace {

// Parameter indices used by the designs.
enum Param {
    kFilterAmountHi = 0,
    kFilterAmountLo = 1,
    kFilterOffsetHi = 2,
    kFilterOffsetLo = 3,
    kBaseVolumeHi = 4,
    kBaseVolumeLo = 5,
    kTopVolumeHi = 6,
    kTopVolumeLo = 7,
    kBaseAttackLo = 8,
    kBaseDecayHi = 9,
    kBaseSustainLo = 10,
    kBaseReleaseLo = 11,
    kTopAttackLo = 12,
    kTopDecayHi = 13,
    kTopSustainLo = 14,
    kTopReleaseLo = 15,
    kFilterAttackLo = 16,
    kFilterDecayHi = 17,
    kFilterSustainLo = 18,
    kFilterReleaseLo = 19,
    kBaseDecayLo = 20,
    kTopDecayLo = 21,
    kFilterDecayLo = 22,
    kFilterLfoSpeed = 42,
    kFilterLfoAmount = 44,
    kFilterEmphasis = 45,
    kPitchLfoSpeed = 47,
    kPitchLfoDelay = 48,
    kPitchLfoAmount = 49,
    kOctaveTop = 54,
    kVelocityFilter = 61,
    kFxDelay = 66,
    kFxFeedback = 67,
    kFxSpread = 68,
    kFxMix = 71,
    kBaseAttackHi = 76,
    kBaseSustainHi = 77,
    kBaseReleaseHi = 78,
    kTopAttackHi = 79,
    kTopSustainHi = 80,
    kTopReleaseHi = 81,
    kFilterAttackHi = 82,
    kFilterSustainHi = 83,
    kFilterReleaseHi = 84,
    kVoices = 85,
    kIconX = 95,
};

// Envelope rates: about 7.6 ms x 0.93^-(100 r) per segment (0.3: 70 ms, 0.5: 0.3 s, 0.7: 1.2 s).
struct Envelope {
    float attack = 0.0f;
    float decay = 0.7f;
    float sustain = 0.0f;
    float release = 0.4f;
};

struct Design {
    const char* name;
    const char* base;
    const char* top;
    const char* filter;
    Envelope baseEnv;
    Envelope topEnv;
    Envelope filterEnv;
    float baseVolume = 0.8f;
    float topVolume = 0.3f;
    float filterAmount = 0.8f;
    float filterOffset = 0.1f;
    float emphasis = 0.5f;
    float vibrato = 0.0f;  // pitch LFO depth; 0.1 is about +-0.15 semitone
    float filterLfo = 0.0f;
    float echo = 0.0f;  // delay mix
    int topOctave = 0;
    float voices = 0.24f;  // 16 voices
};

// The kinds of sound the designs start from: envelopes of the three layers, levels, filter
// movement and modulation.
struct Kind {
    Envelope baseEnv, topEnv, filterEnv;
    float baseVolume, topVolume, filterAmount, filterOffset, emphasis, vibrato, filterLfo, echo;
    float voices;
};

constexpr Kind kPad{{0.55f, 0.75f, 0.8f, 0.65f},
                    {0.6f, 0.75f, 0.7f, 0.65f},
                    {0.6f, 0.75f, 0.5f, 0.65f},
                    0.8f,
                    0.35f,
                    0.6f,
                    0.3f,
                    0.5f,
                    0.06f,
                    0.0f,
                    0.18f,
                    0.4f};
constexpr Kind kLead{{0.03f, 0.6f, 0.85f, 0.35f},
                     {0.0f, 0.35f, 0.0f, 0.3f},
                     {0.0f, 0.55f, 0.45f, 0.4f},
                     0.8f,
                     0.3f,
                     0.7f,
                     0.2f,
                     0.55f,
                     0.1f,
                     0.0f,
                     0.1f,
                     0.24f};
constexpr Kind kKeys{{0.0f, 0.75f, 0.25f, 0.4f},
                     {0.0f, 0.4f, 0.0f, 0.3f},
                     {0.0f, 0.62f, 0.2f, 0.4f},
                     0.8f,
                     0.3f,
                     0.8f,
                     0.1f,
                     0.5f,
                     0.0f,
                     0.0f,
                     0.0f,
                     0.3f};
constexpr Kind kPluck{{0.0f, 0.72f, 0.0f, 0.4f},
                      {0.0f, 0.35f, 0.0f, 0.3f},
                      {0.0f, 0.55f, 0.0f, 0.4f},
                      0.8f,
                      0.3f,
                      0.9f,
                      0.0f,
                      0.55f,
                      0.0f,
                      0.0f,
                      0.08f,
                      0.3f};
constexpr Kind kPercussion{{0.0f, 0.55f, 0.0f, 0.35f},
                           {0.0f, 0.3f, 0.0f, 0.25f},
                           {0.0f, 0.45f, 0.0f, 0.3f},
                           0.85f,
                           0.35f,
                           0.9f,
                           0.0f,
                           0.5f,
                           0.0f,
                           0.0f,
                           0.0f,
                           0.3f};
constexpr Kind kTexture{{0.68f, 0.8f, 0.9f, 0.75f},
                        {0.72f, 0.8f, 0.8f, 0.75f},
                        {0.7f, 0.82f, 0.6f, 0.75f},
                        0.8f,
                        0.4f,
                        0.6f,
                        0.3f,
                        0.6f,
                        0.0f,
                        0.25f,
                        0.3f,
                        0.4f};

Design make(const Kind& k, const char* name, const char* b, const char* t, const char* f) {
    return {name,
            b,
            t,
            f,
            k.baseEnv,
            k.topEnv,
            k.filterEnv,
            k.baseVolume,
            k.topVolume,
            k.filterAmount,
            k.filterOffset,
            k.emphasis,
            k.vibrato,
            k.filterLfo,
            k.echo,
            0,
            k.voices};
}
Design pad(const char* n, const char* b, const char* t, const char* f) {
    return make(kPad, n, b, t, f);
}
Design lead(const char* n, const char* b, const char* t, const char* f) {
    return make(kLead, n, b, t, f);
}
Design keys(const char* n, const char* b, const char* t, const char* f) {
    return make(kKeys, n, b, t, f);
}
Design pluck(const char* n, const char* b, const char* t, const char* f) {
    return make(kPluck, n, b, t, f);
}
Design percussion(const char* n, const char* b, const char* t, const char* f) {
    return make(kPercussion, n, b, t, f);
}
Design texture(const char* n, const char* b, const char* t, const char* f) {
    return make(kTexture, n, b, t, f);
}

template <typename Change>
Design with(Design d, Change change) {
    change(d);
    return d;
}

// Most sounds start from recorded instruments; a few play one instrument's excitation through
// another's envelope (strings and a trumpet that sing). The demo piece and the spectrogram
// script pick presets by number: Warm Strings, Choir of Ahs, Glass Cathedral, Saw Lead, Oboe
// Song, Electric Piano, Nylon Guitar, the bass at 40, Vibraphone, Glockenspiel, Drum Kit, Ocean
// Surf and Talking Saw keep their places.
std::vector<Design> factoryDesigns() {
    return {
        // Pads: choirs, strings, organs and brass
        pad("Warm Strings", "String Section", "String Section", "Cello"),
        pad("Choir of Ahs", "Choir Aah", "Breath", "Choir Aah"),
        pad("Glass Cathedral", "Glass Pad", "Church Organ", "Glass Pad"),
        pad("Singing Strings", "String Section", "Choir Ooh", "Choir Aah"),
        with(pad("Cathedral Choir", "Choir Ooh", "Church Organ", "Choir Ooh"),
             [](Design& d) { d.echo = 0.3f; }),
        pad("Strings and Voices", "Choir Aah", "String Section", "String Section"),
        with(pad("Slow Cellos", "Cello", "Contrabass", "Cello"),
             [](Design& d) { d.baseEnv.attack = 0.6f; }),
        pad("Organ Swell", "Church Organ", "Pipe Organ", "Pipe Organ"),
        with(pad("Brass Pad", "Brass Section", "French Horn", "Brass Section"),
             [](Design& d) { d.filterOffset = 0.2f; }),
        with(pad("Analog Brass Pad", "Super Saw", "Brass Section", "Brass Section"),
             [](Design& d) {
                 d.filterAmount = 0.8f;
                 d.filterOffset = 0.15f;
             }),
        pad("Soft Vowels", "Vowel Oh", "Breath", "Vowel Sweep Ya-Oo"),
        pad("Voice of the Reeds", "Accordion", "Harmonica", "Choir Aah"),
        with(pad("Tremolo Strings", "Tremolo Strings", "Violin", "Viola"),
             [](Design& d) { d.baseEnv.attack = 0.35f; }),
        with(pad("Dark Strings", "Contrabass", "Cello", "Cello"),
             [](Design& d) { d.emphasis = 0.35f; }),
        pad("Ghost Choir", "Ghost Voices", "Choir Ooh", "Choir Ooh"),
        with(pad("Evening Pad", "Triangle Wave", "Shimmer", "Airy Pad"),
             [](Design& d) { d.echo = 0.3f; }),
        // Leads and keys: reeds, brass and bowed solos; pianos and organs
        lead("Solo Violin", "Violin", "Violin", "Violin"),
        lead("Trumpet Lead", "Trumpet", "Trumpet", "Trumpet"),
        lead("Alto Sax Lead", "Alto Sax", "Breath", "Alto Sax"),
        lead("Tenor Sax", "Tenor Sax", "Tenor Sax", "Tenor Sax"),
        with(lead("Saw Lead", "Saw Wave", "Super Saw", "Saw Wave"),
             [](Design& d) { d.emphasis = 0.75f; }),
        lead("Clarinet", "Clarinet", "Clarinet", "Clarinet"),
        lead("Oboe Song", "Oboe", "Oboe", "English Horn"),
        lead("French Horn", "French Horn", "French Horn", "French Horn"),
        keys("Electric Piano", "Electric Piano", "Electric Piano", "Electric Piano"),
        with(lead("Singing Trumpet", "Trumpet", "Breath", "Choir Aah"),
             [](Design& d) { d.filterLfo = 0.15f; }),
        lead("Reed Lead", "Harmonica", "Breath", "Oboe"),
        keys("Piano", "Piano", "Piano", "Piano"),
        with(keys("Church Organ", "Church Organ", "Pipe Organ", "Church Organ"),
             [](Design& d) {
                 d.baseEnv = {0.2f, 0.7f, 1.0f, 0.5f};
                 d.echo = 0.2f;
             }),
        with(keys("Drawbar Organ", "Drawbar Organ", "Drawbar Organ", "Drawbar Organ"),
             [](Design& d) {
                 d.baseEnv = {0.0f, 0.7f, 1.0f, 0.15f};
                 d.baseVolume = 0.6f;
                 d.vibrato = 0.05f;
             }),
        with(keys("Clavinet", "Clavinet", "Clavinet", "Clavinet"),
             [](Design& d) { d.emphasis = 0.7f; }),
        with(keys("Accordion", "Accordion", "Reed Organ", "Accordion"),
             [](Design& d) { d.baseEnv = {0.05f, 0.7f, 1.0f, 0.3f}; }),
        // Plucks and percussion: guitars, harps and mallets
        pluck("Nylon Guitar", "Nylon Guitar", "Nylon Guitar", "Nylon Guitar"),
        pluck("Steel Guitar", "Steel Guitar", "Steel Guitar", "Steel Guitar"),
        pluck("Jazz Guitar", "Jazz Guitar", "Jazz Guitar", "Jazz Guitar"),
        pluck("Concert Harp", "Harp", "Harp", "Harp"),
        pluck("Harpsichord", "Harpsichord", "Harpsichord", "Harpsichord"),
        pluck("Koto", "Koto", "Koto", "Koto"),
        pluck("Banjo", "Banjo", "Banjo", "Banjo"),
        pluck("Acoustic Bass", "Acoustic Bass", "Acoustic Bass", "Acoustic Bass"),
        pluck("Singing Harp", "Harp", "Music Box", "Choir Aah"),
        with(percussion("Vibraphone", "Vibraphone", "Vibraphone", "Vibraphone"),
             [](Design& d) {
                 d.baseEnv = {0.0f, 0.78f, 0.0f, 0.55f};
                 d.echo = 0.12f;
             }),
        with(pluck("Synth Pluck", "Saw Wave", "Pulse 25%", "Saw Wave"),
             [](Design& d) {
                 d.emphasis = 0.8f;
                 d.filterEnv.decay = 0.45f;
                 d.filterAmount = 0.2f;
                 d.baseEnv.decay = 0.8f;
                 d.baseVolume = 1.0f;
                 d.topVolume = 0.5f;
                 d.echo = 0.2f;
             }),
        with(percussion("Glockenspiel", "Glockenspiel", "Celesta", "Glockenspiel"),
             [](Design& d) { d.baseEnv.decay = 0.7f; }),
        with(percussion("Tubular Bells", "Tubular Bell", "Church Bell", "Tubular Bell"),
             [](Design& d) {
                 d.baseEnv = {0.0f, 0.82f, 0.0f, 0.7f};
             }),
        with(percussion("Music Box", "Music Box", "Celesta", "Music Box"),
             [](Design& d) { d.echo = 0.15f; }),
        with(percussion("Drum Kit", "Drum Kit", "Drum Kit", "Drum Kit"),
             [](Design& d) { d.voices = 0.5f; }),
        percussion("Marimba", "Marimba", "Marimba", "Marimba"),
        // Textures and effects
        texture("Wind Through Glass", "Wind", "Glass Pad", "Wind"),
        texture("Ocean Surf", "Surf", "Pink Noise", "Surf"),
        texture("Dark Drone", "Dark Drone", "Metal Drone", "Dark Drone"),
        texture("Spectral Swell", "Spectral Swell", "Shimmer", "Spectral Swell"),
        texture("Whispers", "Whisper", "Breath", "Whisper"),
        texture("Radio Ghosts", "Radio Static", "Ghost Voices", "Radio Static"),
        with(texture("Church Bells Far", "Church Bell", "Tubular Bell", "Church Bell"),
             [](Design& d) { d.baseEnv = {0.0f, 0.85f, 1.0f, 0.75f}; }),
        texture("Shimmer Cloud", "Shimmer", "Glass Pad", "Shimmer"),
        texture("Breathing Choir", "Choir Ooh", "Breath", "Choir Ooh"),
        texture("Metal Rain", "Metal Drone", "Noise Snare", "Metal Drone"),
        texture("Bowed Glass", "Bowed Glass", "Glass Pad", "Bowed Glass"),
        with(texture("Talking Saw", "Saw Wave", "Super Saw", "Vowel Sweep Ya-Oo"),
             [](Design& d) {
                 d.filterLfo = 0.5f;
                 d.emphasis = 0.75f;
             }),
        with(texture("Sitar Drone", "Sitar", "Sitar", "Sitar"),
             [](Design& d) { d.baseEnv.attack = 0.3f; }),
        texture("Choir in the Fog", "Choir Pad", "Pink Noise", "Choir Pad"),
        with(texture("Kalimba Rain", "Kalimba", "Music Box", "Kalimba"),
             [](Design& d) {
                 d.baseEnv = {0.0f, 0.85f, 1.0f, 0.75f};
                 d.echo = 0.35f;
             }),
        with(texture("Noise Sweep", "White Noise", "Steam", "White Noise"),
             [](Design& d) { d.filterLfo = 0.6f; }),
    };
}

const char* const kFactoryGroups[4] = {"Pads", "Leads and Keys", "Plucks and Percussion",
                                       "Textures and Effects"};

// The plain sound of an instrument, shaped by its category.
Design categoryDesign(const InstrumentRecipe& recipe) {
    const char* n = recipe.name.c_str();
    switch (recipe.category) {
        case 0:
            return with(pad(n, n, n, n), [](Design& d) { d.baseEnv.attack = 0.35f; });
        case 1:
        case 2:
        case 3:
        case 7:
            return lead(n, n, n, n);
        case 4:
            return pluck(n, n, n, n);
        case 5:
            return percussion(n, n, n, n);
        case 6:
            return keys(n, n, n, n);
        case 9:
            return texture(n, n, n, n);
        default:
            return recipe.kit ? percussion(n, n, n, n) : texture(n, n, n, n);
    }
}

// With the recordings in the library, a recorded instrument's plain preset plays its recording
// back: the plain filter sets only (the emphasis knob centred), no vibrato beyond the
// recording's own, and the Top layer's designed element only in the attack. Every category's
// Filter envelope settles among the frames that hold the recording's sustain.
Design plainDesign(const InstrumentRecipe& recipe, bool recordings) {
    Design d = categoryDesign(recipe);
    if (recordings && recipe.recorded()) {
        d.emphasis = 0.5f;
        d.vibrato = 0.0f;
        d.topEnv.sustain = 0.0f;
    }
    return d;
}

int instrumentIndex(const std::vector<InstrumentRecipe>& catalogue, const char* name) {
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

void setPair(PPreset& p, int hi, int lo, float value) {
    p.setValue(hi, value);
    p.setValue(lo, value);
}

void applyEnvelope(PPreset& p, int attackLo, int attackHi, int decayLo, int decayHi, int sustainLo,
                   int sustainHi, int releaseLo, int releaseHi, const Envelope& e) {
    setPair(p, attackHi, attackLo, e.attack);
    // Higher notes decay a little sooner, as most acoustic sounds do.
    p.setValue(decayLo, e.decay);
    p.setValue(decayHi, std::max(0.0f, e.decay - 0.06f));
    setPair(p, sustainHi, sustainLo, e.sustain);
    setPair(p, releaseHi, releaseLo, e.release);
}

// The 33 palette slots: the three layers' instruments on slots 0..2, then instruments of their
// categories, then the rest of the library, so the palette offers related material first.
void fillSlots(PPreset& p, const std::vector<InstrumentRecipe>& catalogue, const int layers[3]) {
    std::vector<int> order(layers, layers + 3);
    for (int layer = 0; layer < 3; ++layer) {
        for (std::size_t i = 0; i < catalogue.size(); ++i) {
            if (catalogue[i].category == catalogue[layers[layer]].category) order.push_back(int(i));
        }
    }
    for (std::size_t i = 0; i < catalogue.size(); ++i) order.push_back(static_cast<int>(i));
    std::vector<int> slots;
    for (int index : order) {
        if (slots.size() < 3 || std::find(slots.begin(), slots.end(), index) == slots.end()) {
            slots.push_back(index);
        }
        if (slots.size() == PPreset::kSlotCount) break;
    }
    for (int s = 0; s < PPreset::kSlotCount; ++s) {
        p.setSlot(s, s < static_cast<int>(slots.size()) ? slots[s] : PPreset::kEmptySlot);
    }
    for (int layer = 0; layer < 3; ++layer) {
        p.setIcon(layer, layer);
        float x, y;
        sectorIconPosition(layer, &x, &y);
        p.setValue(kIconX + 2 * layer, x);
        p.setValue(kIconX + 2 * layer + 1, y);
    }
}

// With the recordings in the library, a recorded Base decays as it was recorded (a guitar, a
// bell), so its envelope holds while the key does instead of fading it a second time.
bool makePreset(Design d, const std::vector<InstrumentRecipe>& catalogue, bool recordings,
                PPreset& p, std::string* error) {
    const int layers[3] = {instrumentIndex(catalogue, d.base), instrumentIndex(catalogue, d.top),
                           instrumentIndex(catalogue, d.filter)};
    for (int layer = 0; layer < 3; ++layer) {
        if (layers[layer] < 0) {
            *error = std::string("preset \"") + d.name + "\" names an unknown instrument";
            return false;
        }
    }
    if (recordings && catalogue[layers[0]].recorded()) d.baseEnv.sustain = 1.0f;
    p = PPreset();
    p.setName(d.name);
    fillSlots(p, catalogue, layers);
    applyEnvelope(p, kBaseAttackLo, kBaseAttackHi, kBaseDecayLo, kBaseDecayHi, kBaseSustainLo,
                  kBaseSustainHi, kBaseReleaseLo, kBaseReleaseHi, d.baseEnv);
    applyEnvelope(p, kTopAttackLo, kTopAttackHi, kTopDecayLo, kTopDecayHi, kTopSustainLo,
                  kTopSustainHi, kTopReleaseLo, kTopReleaseHi, d.topEnv);
    applyEnvelope(p, kFilterAttackLo, kFilterAttackHi, kFilterDecayLo, kFilterDecayHi,
                  kFilterSustainLo, kFilterSustainHi, kFilterReleaseLo, kFilterReleaseHi,
                  d.filterEnv);
    setPair(p, kBaseVolumeHi, kBaseVolumeLo, d.baseVolume);
    setPair(p, kTopVolumeHi, kTopVolumeLo, d.topVolume);
    setPair(p, kFilterAmountHi, kFilterAmountLo, d.filterAmount);
    setPair(p, kFilterOffsetHi, kFilterOffsetLo, d.filterOffset);
    p.setValue(kFilterEmphasis, d.emphasis);
    p.setValue(kVelocityFilter, 0.3f);
    if (d.vibrato > 0.0f) {
        p.setValue(kPitchLfoAmount, d.vibrato);
        p.setValue(kPitchLfoSpeed, 0.46f);  // about 5.5 Hz
        p.setValue(kPitchLfoDelay, 0.54f);  // fading in over about 0.4 s
    }
    if (d.filterLfo > 0.0f) {
        p.setValue(kFilterLfoAmount, d.filterLfo);
        p.setValue(kFilterLfoSpeed, 0.25f);
    }
    if (d.echo > 0.0f) {
        p.setValue(kFxDelay, 0.55f);
        p.setValue(kFxFeedback, 0.35f);
        p.setValue(kFxSpread, 0.4f);
        p.setValue(kFxMix, d.echo);
    }
    // "Octave Top": 0.5 keeps the octave, 0.75 raises it by one.
    p.setValue(kOctaveTop, d.topOctave > 0 ? 0.75f : d.topOctave < 0 ? 0.25f : 0.5f);
    p.setValue(kVoices, d.voices);
    return true;
}

void registerCatalogue(const std::vector<InstrumentRecipe>& catalogue) {
    PPool& pool = PPool::shared();
    if (pool.count() > 0) return;
    for (const InstrumentRecipe& recipe : catalogue) {
        pool.addInstrument(recipe.name.c_str(), categoryNames().at(recipe.category).c_str());
    }
}

}  // namespace

void sectorIconPosition(int sector, float* x, float* y) {
    // Rings of the palette: horizontal and vertical radii and sector counts, inner to outer.
    static constexpr double kRings[3][3] = {{75, 50, 3}, {148, 96, 12}, {228, 152, 18}};
    int ring = 0, first = 0;
    while (ring < 2 && sector >= first + static_cast<int>(kRings[ring][2])) {
        first += static_cast<int>(kRings[ring][2]);
        ++ring;
    }
    const double angle = (sector - first + 0.5) * 2.0 * std::numbers::pi / kRings[ring][2];
    // Halfway between the ring's inner ellipse (the centre for ring 0) and its outer one.
    const double rx = (ring == 0 ? 0.0 : kRings[ring - 1][0]) * 0.5 + kRings[ring][0] * 0.5;
    const double ry = (ring == 0 ? 0.0 : kRings[ring - 1][1]) * 0.5 + kRings[ring][1] * 0.5;
    // Centre coordinates (y up, angle clockwise from 12 o'clock) to the icon parameters.
    *x = static_cast<float>(std::clamp((rx * std::sin(angle) + 200.0) / 400.0, 0.0, 1.0));
    *y = static_cast<float>(std::clamp((ry * std::cos(angle) + 134.0) / 268.0, 0.0, 1.0));
}

PresetPlace plainPresetPlace(std::size_t index) {
    return {1 + static_cast<int>(index / PProgram::kPresetCount),
            static_cast<int>(index % PProgram::kPresetCount)};
}

bool buildFactoryPrograms(const std::vector<InstrumentRecipe>& catalogue, bool recordings,
                          PProgram* programs, std::string* error) {
    const std::vector<Design> designs = factoryDesigns();
    PProgram& factory = programs[0];
    factory.setName("Factory");
    for (int g = 0; g < PProgram::kGroupCount; ++g) factory.setGroupName(g, kFactoryGroups[g]);
    for (int i = 0; i < PProgram::kPresetCount && i < static_cast<int>(designs.size()); ++i) {
        if (!makePreset(designs[i], catalogue, recordings, *factory.preset(i), error)) return false;
    }
    // Every instrument as a plain sound, in catalogue order, over programs 2 and 3.
    programs[1].setName("Instruments 1");
    programs[2].setName("Instruments 2");
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const PresetPlace place = plainPresetPlace(i);
        if (!makePreset(plainDesign(catalogue[i], recordings), catalogue, recordings,
                        *programs[place.program].preset(place.preset), error)) {
            return false;
        }
    }
    for (int p = 0; p < kBankPrograms; ++p) programs[p].selectPreset(0, false);
    return true;
}

bool writeFactoryBank(const std::vector<InstrumentRecipe>& catalogue, bool recordings,
                      const std::string& path, std::string* error) {
    registerCatalogue(catalogue);
    auto programs = std::make_unique<PProgram[]>(kBankPrograms);
    if (!buildFactoryPrograms(catalogue, recordings, programs.get(), error)) return false;
    FMemoryStream chunk;
    chunk.setSwapBytes(true);
    if (!PChunkCodec::writeBank(chunk, programs.get(), kBankPrograms, 0) ||
        !PDefaultBank::write(path.c_str(), chunk.memory(), chunk.length(), kBankPrograms)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace makelib
