#include "engine/LFO.h"

#include <algorithm>

#include "engine/TempoNoteValues.h"

void LFO::setSpeed(double speed, double rate) {
    VsLFO::setSpeed(speed, rate);
    if (tempo() > 0.0) {
        int32_t j = std::clamp(static_cast<int32_t>(speed * 18.0), 0, kNoteValueCount - 1);
        setCyclesPerSecond(tempo() / 60.0 / kNoteValues[j].beats);
    }
}
