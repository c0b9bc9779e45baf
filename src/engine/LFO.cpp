#include "engine/LFO.h"

#include "engine/TempoNoteValues.h"

void LFO::setSpeed(double speed, double rate) {
    VsLFO::setSpeed(speed, rate);
    if (tempo() > 0.0) {
        setCyclesPerSecond(tempo() / 60.0 / sweepNoteValue(speed).beats);
    }
}
