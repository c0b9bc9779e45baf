#include "editor/PAdsrValue.h"

#include "editor/PAdsrEditor.h"

namespace {
// Per layer and envelope (Low, High): attack, decay, sustain level, release; then per layer the
// attack, decay and release bends both envelopes share.
constexpr int kTimesAndLevels[PAdsrValue::kLayerCount][2][4] = {
    {{8, 20, 10, 11}, {76, 9, 77, 78}},
    {{12, 21, 14, 15}, {79, 13, 80, 81}},
    {{16, 22, 18, 19}, {82, 17, 83, 84}},
};
constexpr int kFirstBend[PAdsrValue::kLayerCount] = {23, 26, 29};
constexpr int kKinds = 7, kBendKinds = 3;

PAdsrValue::LayerParameters envelopeParameters(int envelope, int kind) {
    PAdsrValue::LayerParameters p{};
    for (int layer = 0; layer < PAdsrValue::kLayerCount; ++layer)
        p[layer] = PAdsrValue::envelopeParameter(layer, envelope, kind);
    return p;
}
}  // namespace

PAdsrValue::PAdsrValue(PAdsrEditor& page, int envelope, int kind)
    : PParameterValue(page, -1, kind),
      page_(page),
      parameters_(envelopeParameters(envelope, kind)),
      envelope_(envelope),
      kind_(kind) {}

PAdsrValue::PAdsrValue(PAdsrEditor& page, const LayerParameters& parameters)
    : PParameterValue(page), page_(page), parameters_(parameters) {}

int PAdsrValue::envelopeParameter(int layer, int envelope, int kind) {
    if (layer < 0 || layer >= kLayerCount || envelope < 0 || envelope > 1 || kind < 0 ||
        kind >= kKinds)
        return -1;
    if (kind >= kKinds - kBendKinds) return kFirstBend[layer] + kind - (kKinds - kBendKinds);
    return kTimesAndLevels[layer][envelope][kind];
}

void PAdsrValue::selectLayer(int layer) {
    bind(layer >= 0 && layer < kLayerCount ? parameters_[layer] : -1);
}

void PAdsrValue::storeValue(float value) {
    if (parameterIndex() >= 0) page_.writeParameter(parameterIndex(), value);
}
