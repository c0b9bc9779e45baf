// A value of the envelope page: the parameter that one quantity has in the layer the page shows.
// The 14 envelope values are (envelope, kind) pairs of the page's envelope editor (Low or High;
// attack, decay, sustain, release and the three bends, which both envelopes share); the page's
// other values (levels, velocity, octave, offsets...) name their parameter for each layer, -1
// where the layer has none. Writing goes through the page, which brackets every parameter a
// gesture writes for the host.
#pragma once

#include <array>

#include "editor/PParameterValue.h"

class PAdsrEditor;

class PAdsrValue : public PParameterValue {
public:
    static constexpr int kLayerCount = 3;
    using LayerParameters = std::array<int, kLayerCount>;

    // The value of (envelope, kind) of the envelope editor.
    PAdsrValue(PAdsrEditor& page, int envelope, int kind);
    // A value whose parameter is `parameters[layer]`.
    PAdsrValue(PAdsrEditor& page, const LayerParameters& parameters);

    // The parameter of (envelope, kind) in `layer`; -1 outside the tables.
    static int envelopeParameter(int layer, int envelope, int kind);

    // Makes the value stand for its parameter in `layer`; dependents are not told.
    void selectLayer(int layer);
    int envelope() const { return envelope_; }
    int kind() const { return kind_; }

protected:
    void storeValue(float value) override;

private:
    PAdsrEditor& page_;
    LayerParameters parameters_;
    int envelope_ = -1;
    int kind_ = -1;
};
