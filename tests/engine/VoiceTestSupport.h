// Sample-layer voices over raw files written to a temporary folder, with a plug-in stand-in.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "data/PResource.h"
#include "data/PResourceTable.h"
#include "engine/KernelTestSupport.h"
#include "engine/SoundingVoiceList.h"
#include "engine/VoiceContext.h"
#include "engine/VoiceNodePool.h"
#include "platform/TempFolder.h"

namespace voicetest {

template <typename T>
void put(std::string& bytes, std::size_t offset, T value) {
    std::memcpy(&bytes[offset], &value, sizeof value);
}

struct SampleFile {
    std::uint8_t version = 10;
    std::int8_t rootKey = 60;
    std::int8_t fineTune = 50;
    std::int16_t startFrame = 0;
    std::int32_t loopStart = 0;
    std::int32_t loopEnd = 0;  // 0: the last sample before the 12 guard samples
    std::vector<std::int16_t> samples = std::vector<std::int16_t>(4000, 0);

    std::string bytes() const {
        std::string b(16 + 2 * samples.size(), '\0');
        b[0] = static_cast<char>(version);
        b[2] = static_cast<char>(rootKey);
        b[3] = static_cast<char>(fineTune);
        put(b, 4, startFrame);
        put(b, 8, loopStart);
        put(b, 12, loopEnd ? loopEnd : static_cast<std::int32_t>(samples.size()) - 12);
        std::memcpy(&b[16], samples.data(), 2 * samples.size());
        return b;
    }
};

struct FilterFile {
    std::uint8_t gain = 50;
    std::int16_t order = 10;
    // Frames of 64 values; by default one frame with a mild plain set and unit input gain.
    std::vector<std::int16_t> frames = defaultFrame(10);

    static std::vector<std::int16_t> defaultFrame(int order) {
        std::vector<std::int16_t> f(64, 0);
        for (int j = 0; j < order; ++j) f[j] = static_cast<std::int16_t>((j % 2 ? -3000 : 3000));
        f[order] = 32767;
        return f;
    }
    std::string bytes() const {
        std::string b(64 + 2 * frames.size(), '\0');
        b[1] = static_cast<char>(gain);
        put(b, 12, static_cast<std::int32_t>(frames.size() / 64));
        put(b, 38, order);
        std::memcpy(&b[64], frames.data(), 2 * frames.size());
        return b;
    }
};

// The plug-in's side: parameters, tables, one set of layer resources for every note.
class FakeVoiceContext : public VoiceContext {
public:
    FakeVoiceContext() : list_(pool_, 64) {
        PResourceTable::shared().resetForTests();
        PResourceTable::shared().setRawFolder(folder_.path().c_str());
        for (float& p : params) p = 0.0f;
        params[4] = params[5] = 0.8f;                              // Base volume
        params[6] = params[7] = 0.3f;                              // Top volume
        params[9] = params[20] = 0.8f;                             // Base decay
        params[13] = params[21] = 0.7f;                            // Top decay
        params[11] = params[78] = params[15] = params[81] = 0.2f;  // releases
        params[0] = params[1] = 0.9f;                              // filter envelope amount
        params[23] = params[26] = 0.3f;                            // attack bends
        params[52] = params[54] = 0.5f;                            // no octave shift
        params[56] = 0.5f;                                         // master tune
        params[86] = 0.5f;                                         // pan
        params[45] = 0.5f;                                         // no emphasis
        for (float& v : lfoTable_) v = 0.0f;
        for (auto& t : lfoTables_) t = lfoTable_;
    }
    ~FakeVoiceContext() override { PResourceTable::shared().resetForTests(); }

    // Writes and loads a raw file; answers its resource.
    PResource* resource(const std::string& name, const std::string& bytes, bool filter) {
        folder_.write(name, bytes);
        PResource* r = PResourceTable::shared().findOrCreate(name.c_str(), true, filter);
        PResourceTable::shared().load(r);
        return r;
    }
    void setLayers(const SampleFile& base, const SampleFile& top, const FilterFile& filter) {
        ++serial_;
        layers.base = resource("B" + std::to_string(serial_) + ".raw", base.bytes(), false);
        layers.top = resource("T" + std::to_string(serial_) + ".raw", top.bytes(), false);
        layers.filterA = resource("L" + std::to_string(serial_) + ".raw", filter.bytes(), true);
    }

    void getLayerSamples(int32_t note, LayerSamples& out) override {
        lastNote = note;
        requestedBaseTranspose = out.baseTranspose;
        requestedTopTranspose = out.topTranspose;
        const int32_t base = out.baseTranspose, top = out.topTranspose;
        out = layers;
        out.baseTranspose = base + layers.baseTranspose;
        out.topTranspose = top + layers.topTranspose;
    }
    const float* editParameters() override { return params; }
    double samplePeriod() const override { return period; }
    double hostTempo() const override { return 0.0; }
    const VoiceTables& voiceTables() const override { return KernelSetup::tables(); }
    const float* const* layerLfoTables() const override { return lfoTables_; }
    SoundingVoiceList* soundingVoices() override { return &list_; }

    float params[108];
    LayerSamples layers;  // the transposes here are the zone's
    double period = 1.0 / 44100.0;
    int32_t lastNote = -1;
    int32_t requestedBaseTranspose = 0, requestedTopTranspose = 0;
    SoundingVoiceList& list() { return list_; }

private:
    TempFolder folder_;
    VoiceNodePool pool_;
    SoundingVoiceList list_;
    float lfoTable_[4096];
    const float* lfoTables_[3];
    int serial_ = 0;
};

}  // namespace voicetest
