// A VsLFO whose synchronised speed selects a note value (one cycle per "1/1" ... "1/32D").
#pragma once

#include "engine/VsLFO.h"

class LFO : public VsLFO {
public:
    void setSpeed(double speed, double rate) override;
};
