// A free-running wavetable oscillator over ten fixed waves of 4096 points (values 0..1), with an
// optional fade-in or fade-out after trigger(). With a host tempo its speed selects a number of
// cycles per beat. The wave tables are process-wide, built once and then only read.
//
// One thread at a time: the owner serialises setters and process (the sweep unit applies
// changes on the audio thread).
#pragma once

#include <cstdint>

#include "data/VstPlugObject.h"

class VsLFO : public VstPlugObject {
public:
    static constexpr int32_t kWaveCount = 10;
    static constexpr int32_t kTableSize = 4096;

    VsLFO();
    ~VsLFO() override = default;

    // Slots after the destructor, in order.
    virtual void trigger();
    virtual void setSampleRate(double rate);
    // Cycles per second, or with a tempo a 0..1 selector; a rate of 0 keeps the sample rate.
    virtual void setSpeed(double speed, double rate);
    virtual double speed() const { return speed_; }
    virtual void setWave(int32_t index);
    virtual int32_t wave() const { return wave_; }
    // 0.5 (0.48..0.52) = no fade; below, a fade-out after trigger(); above, a fade-in (up to 3 s).
    virtual void setDelay(double value) { delay_ = value; }
    virtual double delay() const { return delay_; }
    virtual void setTempo(double bpm);
    virtual void setResetOnTrigger(bool on) { resetOnTrigger_ = on; }
    virtual void process(float* out, int32_t n);

    // Builds the process-wide wave tables if they are not built yet; any thread, idempotent.
    static void buildWaves();
    static const float* waveTable(int32_t index);

    double sampleRate() const { return sampleRate_; }
    double tempo() const { return tempo_; }
    double phaseIncrement() const { return increment_; }

protected:
    // Cycles per second to phase increment per sample.
    void setCyclesPerSecond(double cycles) { increment_ = cycles * factor_; }

private:
    double sampleRate_ = 0;
    double speed_ = 0;
    double phase_ = 0;      // position in the table
    double increment_ = 0;  // per sample
    double factor_ = 0;     // 4096 / sample rate
    double delay_ = 0.5;
    double fadeIncrement_ = 0;
    double gain_ = 1;
    double fadeTarget_ = 1;
    double tempo_ = 0;  // beats per minute, 0 = free
    const float* table_ = nullptr;
    int32_t wave_ = 0;
    int32_t fadeCount_ = 0;
    bool resetOnTrigger_ = true;
};
