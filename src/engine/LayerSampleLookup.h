// "Get layer samples": the resources a note plays, found in the three instruments that the edit
// preset's Base, Top and Filter icons select. The plug-in answers VoiceContext::getLayerSamples
// with this, passing the instruments of its resource holder's selected slots (null for none).
#pragma once

#include <cstdint>

#include "engine/VoiceContext.h"

struct POIP;

// Base and Top: the first zone whose limit is at or above note + the layer's transpose (or the
// last zone); its resource, and the zone's transpose added to the layer's. Filter: the zone of
// the note and its neighbour with the blend weight of the found zone. Any layer without an
// instrument (or without zones) gets no resource, which makes the voice refuse the note.
void findLayerSamples(const POIP* base, const POIP* top, const POIP* filter, int32_t note,
                      LayerSamples& layers);
