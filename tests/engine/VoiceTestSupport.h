// Sample-layer voices over raw files written to a temporary folder, with a plug-in stand-in.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "data/PResourceTable.h"
#include "engine/KernelTestSupport.h"
#include "engine/SoundingVoiceList.h"
#include "engine/VoiceContext.h"
#include "engine/VoiceNodePool.h"
#include "platform/TempFolder.h"
#include "support/RawFiles.h"

namespace voicetest {

using rawfiles::RawFile;

// A sample layer: version 10, root key 60, no fine tuning, looped over all its samples.
// Later set() calls of the same field win.
inline RawFile sampleFile(std::vector<std::int16_t> samples = std::vector<std::int16_t>(4000)) {
    const auto loopEnd = static_cast<std::int32_t>(samples.size()) - 12;
    return rawfiles::sampleFile(std::move(samples), 0, loopEnd);
}
// A filter table of order 10: `frames` copies of a mild set with unit input gain.
inline RawFile filterFile(int frames = 1) {
    std::vector<std::int16_t> values(64 * frames, 0);
    for (int i = 0; i < 64 * frames; ++i)
        values[i] = i % 64 < 10 ? (i % 2 ? -3000 : 3000) : i % 64 == 10 ? 32767 : 0;
    return rawfiles::filterFile(std::move(values), frames);
}

// A layer of random samples in -20000..20000, looped from sample 1000 to its end.
inline RawFile noiseFile(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-20000, 20000);
    std::vector<std::int16_t> samples(count);
    for (auto& v : samples) v = static_cast<std::int16_t>(value(random));
    RawFile layer = sampleFile(std::move(samples));
    layer.set(rawfiles::kLoopStart, 4, 1000);
    return layer;
}
// A filter table whose `frames` frames grow from 1/frames of the mild set to all of it.
inline RawFile growingFilterFile(int frames) {
    RawFile filter = filterFile(frames);
    for (std::size_t i = 64; i < filter.values.size(); ++i)
        filter.values[i] = static_cast<std::int16_t>(filter.values[i % 64] *
                                                     static_cast<int>(i / 64 + 1) / frames);
    return filter;
}

// The plug-in's side: parameters, tables, one set of layer resources for every note.
class FakeVoiceContext : public VoiceContext {
public:
    FakeVoiceContext() : list_(pool_, 64) {
        PResourceTable::shared().resetForTests();
        PResourceTable::shared().setRawFolder(folder_.path().c_str());
        const std::pair<int, float> defaults[] = {
            {0, 0.9f},  {1, 0.9f},  {4, 0.8f},  {5, 0.8f},  {6, 0.3f},  {7, 0.3f},  {9, 0.8f},
            {20, 0.8f}, {13, 0.7f}, {21, 0.7f}, {11, 0.2f}, {78, 0.2f}, {15, 0.2f}, {81, 0.2f},
            {23, 0.3f}, {26, 0.3f}, {45, 0.5f}, {52, 0.5f}, {54, 0.5f}, {56, 0.5f}, {86, 0.5f}};
        for (float& p : params) p = 0.0f;
        for (auto [index, value] : defaults) params[index] = value;
        for (auto& t : lfoTables_) t = lfoTable;
    }
    ~FakeVoiceContext() override { PResourceTable::shared().resetForTests(); }

    void setLayers(const RawFile& base, const RawFile& top, const RawFile& filter) {
        layers.base = load("B", base.bytes(16), false);
        layers.top = load("T", top.bytes(16), false);
        layers.filterA = load("L", filter.bytes(64), true);
    }
    PResource* load(const std::string& prefix, const std::string& bytes, bool filter) {
        const std::string name = prefix + std::to_string(++serial_) + ".raw";
        folder_.write(name, bytes);
        PResource* r = PResourceTable::shared().findOrCreate(name.c_str(), true, filter);
        PResourceTable::shared().load(r);
        return r;
    }

    void getLayerSamples(int32_t note, LayerSamples& out) override {
        requestedBaseTranspose = out.baseTranspose;
        const int32_t base = out.baseTranspose, top = out.topTranspose;
        out = layers;
        if (oddNoteFilter && note % 2 != 0) out.filterA = oddNoteFilter;
        out.baseTranspose += base;
        out.topTranspose += top;
    }
    const float* editParameters() override { return params; }
    double samplePeriod() const override { return period; }
    double hostTempo() const override { return 0.0; }
    const VoiceTables& voiceTables() const override { return KernelSetup::tables(); }
    const float* const* layerLfoTables() const override { return lfoTables_; }
    SoundingVoiceList* soundingVoices() override { return &list_; }

    float params[108];
    float lfoTable[4096] = {};           // every layer LFO's wave
    LayerSamples layers;                 // the transposes here are the zone's
    PResource* oddNoteFilter = nullptr;  // when set, the filter of odd notes
    double period = 1.0 / 44100.0;
    int32_t requestedBaseTranspose = 0;
    SoundingVoiceList& list() { return list_; }

private:
    TempFolder folder_;
    VoiceNodePool pool_;
    SoundingVoiceList list_;
    const float* lfoTables_[3];
    int serial_ = 0;
};

}  // namespace voicetest
