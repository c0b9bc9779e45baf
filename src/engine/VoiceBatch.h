// Renders many voices of one block together instead of one after the other. The voice manager
// hands over each voice that sounds in the block with the frame it starts at and the frame of its
// release (if that falls in the block), then asks for the block; the batch releases each voice at
// its frame through the manager, so that starts, releases and ends keep the timing of rendering
// the voices one by one.
#pragma once

#include <cstdint>

class Voice;
class Voicer;

class VoiceBatch {
public:
    virtual ~VoiceBatch() = default;

    // A playing voice that renders from frame `start` (0 <= start < frames) of the coming block
    // and is released at frame `release` (start <= release < frames; -1 for none). False when
    // the batch does not take it; the manager then renders it on its own.
    virtual bool add(Voice* voice, int32_t start, int32_t release) = 0;
    // Renders every voice taken since the last call, adding into outputs 0 and 1.
    virtual void render(Voicer& manager, float** outputs, int32_t frames) = 0;
};
