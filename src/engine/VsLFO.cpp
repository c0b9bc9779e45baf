#include "engine/VsLFO.h"

#include <algorithm>
#include <cmath>

#include "engine/FastMath.h"
#include "engine/TempoNoteValues.h"

namespace {

constexpr int32_t kSize = VsLFO::kTableSize;
constexpr double kPi = 3.141592654;

struct Waves {
    float table[VsLFO::kWaveCount][kSize];

    Waves() {
        for (int32_t i = 0; i < kSize; ++i) {
            double x = 2.0 * kPi * i / kSize;
            double t = static_cast<double>(i) / kSize;
            table[0][i] = static_cast<float>(1.0 - 0.5 * (1.0 + std::cos(x)));
            table[1][i] =
                static_cast<float>(i < kSize / 2 ? 2.0 * t : 2.0 * (kSize - 1 - i) / kSize);
            table[2][i] = i < kSize / 2 ? 0.0f : 1.0f;
            table[3][i] = static_cast<float>(t);
            table[4][i] = i < 820 ? 0.0f : static_cast<float>((i - 820) * 0.00030517578125);
            table[5][i] = i <= 614 ? 0.0f : 1.0f;
            table[6][i] = i <= 1228 ? 0.0f : 1.0f;
            double harmonics = (std::cos(x) + std::cos(2 * x) + std::cos(3 * x)) * 0.333333;
            table[7][i] = static_cast<float>(1.0 - 0.5 * (1.0 + harmonics));
            table[8][i] = static_cast<float>(t * t * t);
        }
        for (int32_t i = 0; i < kSize; ++i) table[9][i] = 1.0f - table[8][kSize - 1 - i];
    }
};

const Waves& waves() {
    static const Waves instance;  // thread-safe one-time construction
    return instance;
}

}  // namespace

void VsLFO::buildWaves() {
    waves();
}

const float* VsLFO::waveTable(int32_t index) {
    return waves().table[std::clamp(index, 0, kWaveCount - 1)];
}

VsLFO::VsLFO() : table_(waveTable(0)) {
    setSpeed(3.0, 44100.0);
}

void VsLFO::setSampleRate(double rate) {
    if (!(rate > 0.0)) return;
    sampleRate_ = rate;
    factor_ = kSize / rate;
    setSpeed(speed_, 0.0);  // keep the speed in cycles per second at the new rate
}

void VsLFO::setSpeed(double speed, double rate) {
    if (rate > 0.0 && rate != sampleRate_) {
        sampleRate_ = rate;
        factor_ = kSize / rate;
    }
    speed_ = speed;
    if (tempo_ > 0.0) {
        setCyclesPerSecond(tempo_ / 60.0 * beatStep(speed));
    } else {
        setCyclesPerSecond(speed);
    }
}

void VsLFO::setWave(int32_t index) {
    wave_ = std::clamp(index, 0, kWaveCount - 1);
    table_ = waveTable(wave_);
}

void VsLFO::setTempo(double bpm) {
    tempo_ = bpm > 0.0 ? bpm : 0.0;
    setSpeed(speed_, 0.0);
}

void VsLFO::trigger() {
    if (resetOnTrigger_) phase_ = 0.0;
    fadeCount_ = 0;
    gain_ = fadeTarget_ = 1.0;
    if (delay_ >= 0.48 && delay_ <= 0.52) return;
    bool fadeOut = delay_ < 0.5;
    double seconds = (fadeOut ? 0.5 - delay_ : delay_ - 0.5) * 2.0 * 3.0;
    int32_t n = static_cast<int32_t>(std::min(seconds * sampleRate_, 1e9));
    if (n < 1) n = 1;
    fadeCount_ = n;
    gain_ = fadeOut ? 1.0 : 0.0;
    fadeTarget_ = fadeOut ? 0.0 : 1.0;
    fadeIncrement_ = (fadeOut ? -1.0 : 1.0) / n;
}

void VsLFO::process(float* out, int32_t n) {
    for (int32_t i = 0; i < n; ++i) {
        int32_t index =
            static_cast<int32_t>(roundToEven(phase_) & (kSize - 1));
        out[i] = static_cast<float>(table_[index] * gain_);
        phase_ += increment_;
        if (phase_ >= kSize || phase_ < 0.0) phase_ -= kSize * std::floor(phase_ / kSize);
        if (fadeCount_ > 0) {
            gain_ = --fadeCount_ == 0 ? fadeTarget_ : gain_ + fadeIncrement_;
        }
    }
}
