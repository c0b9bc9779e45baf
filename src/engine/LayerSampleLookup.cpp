#include "engine/LayerSampleLookup.h"

#include "data/POIP.h"
#include "data/PPool.h"

namespace {

PResource* sampleLayer(const POIP* instrument, int32_t note, int32_t& transpose, bool top) {
    const PZone* zone = instrument ? instrument->zoneForKey(note + transpose) : nullptr;
    if (!zone) return nullptr;
    transpose += zone->transpose;
    return top ? zone->top : zone->base;
}

}  // namespace

void findLayerSamples(const POIP* base, const POIP* top, const POIP* filter, int32_t note,
                      LayerSamples& layers) {
    layers.base = sampleLayer(base, note, layers.baseTranspose, false);
    layers.top = sampleLayer(top, note, layers.topTranspose, true);
    const PZone* neighbour = nullptr;
    float weight = 1.0f;
    const PZone* zone = PPool::findZone(filter, note, &weight, &neighbour);
    layers.filterA = zone ? zone->filter : nullptr;
    layers.filterB = neighbour ? neighbour->filter : nullptr;
    layers.filterWeight = weight;
}
