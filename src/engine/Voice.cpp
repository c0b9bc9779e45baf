#include "engine/Voice.h"

void Voice::render(float**, float**, int32_t) {}
void Voice::attachVoicer(Voicer* m) {
    manager = m;
}
void Voice::start(int32_t, double) {}
bool Voice::startRelease(double) {
    return false;
}
bool Voice::steal() {
    return false;
}
void Voice::stopVoice() {}
void Voice::setVolume(double) {}
void Voice::setPan(double) {}
void Voice::setPitchBend(double) {}
void Voice::setModulation(double) {}
void Voice::controller(int32_t, int32_t) {}
void Voice::setPressure(double) {}
void Voice::setPanSpread(double amount) {
    panSpread = amount;
}
void Voice::setReleasing(bool on) {
    releasing = on;
}
void Voice::setSustained(bool on) {
    sustained = on;
}
void Voice::setStartDelay(int32_t frames) {
    startDelay = frames;
}
void Voice::setReleaseDelay(int32_t frames) {
    releaseDelay = frames;
}
