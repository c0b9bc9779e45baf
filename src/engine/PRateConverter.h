// Runs the engine at 44100 or 48000 Hz whatever the host's rate: the engine renders into the
// converter's own buffers and the converter interpolates linearly to the host's frames.
//
// The read position is carried across blocks in engine frames, with the last two engine frames
// of each block kept as history, so the output is one continuous interpolation of the engine's
// stream (one engine frame late), whatever the block sizes. Host blocks longer than the buffers
// are done in pieces.
//
// Threads. configure() allocates and must not run on the audio thread; it waits until the audio
// thread has left process() (which renders silence for a block that arrives meanwhile). reset()
// may come from any thread and is carried out at the next block.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/AudioExclusion.h"

class PRateConverter {
public:
    static constexpr float kOutputOffset = 1e-9f;

    // The rate the engine runs at for a host rate: the host's own when it is 44100 or 48000 Hz.
    static double engineRateFor(double hostRate);

    // Not the audio thread. Buffers hold the engine frames of maxHostFrames host frames.
    void configure(double engineRate, double hostRate, int32_t maxHostFrames);
    void reset() { resetRequests_.fetch_add(1, std::memory_order_release); }

    double engineRate() const { return engineRate_; }
    double hostRate() const { return hostRate_; }

    // Audio thread: engine frames needed for the next hostFrames host frames.
    int32_t engineFramesFor(int32_t hostFrames) const;
    // Audio thread: the engine frame, counted from the next block's first, that renders host
    // frame `hostFrame` of that block (rounded up, never early). Offsets of 0 or less, and any
    // while the converter is being reconfigured, are answered unchanged.
    int32_t engineFrameAt(int32_t hostFrame);
    // Audio thread: interpolates n engine frames (n = engineFramesFor(m)) into m host frames.
    void convert(const float* const in[2], int32_t n, float* const out[2], int32_t m);

    // Audio thread: fills `frames` host frames, asking render(buffers, n) to replace n engine
    // frames in the converter's two buffers as often as the buffers' size requires.
    template <class Render>
    void process(float* const out[2], int32_t frames, Render&& render) {
        if (frames <= 0) return;
        bool entered = exclusion_.enter();
        if (!entered || !left_) {  // being reconfigured, or never configured: silence
            for (int32_t c = 0; c < 2; ++c)
                for (int32_t i = 0; i < frames; ++i) out[c][i] = 0.0f;
            if (entered) exclusion_.leave();
            return;
        }
        applyReset();
        for (int32_t done = 0; done < frames;) {
            int32_t m = frames - done < maxPiece_ ? frames - done : maxPiece_;
            int32_t n = engineFramesFor(m);
            float* buffers[2] = {left_.get(), right_.get()};
            render(buffers, n);
            float* target[2] = {out[0] + done, out[1] + done};
            convert(buffers, n, target, m);
            done += m;
        }
        exclusion_.leave();
    }

private:
    void applyReset();

    AudioExclusion exclusion_;
    std::atomic<uint32_t> resetRequests_{0};
    uint32_t appliedResets_ = 0;
    double engineRate_ = 44100.0;
    double hostRate_ = 48000.0;
    double ratio_ = 44100.0 / 48000.0;  // engine frames per host frame
    double readPosition_ = 0.0;         // in engine frames, relative to the next block's start
    float history_[2][2] = {};          // per channel: second-to-last and last engine frame
    std::unique_ptr<float[]> left_;
    std::unique_ptr<float[]> right_;
    int32_t maxPiece_ = 1;  // host frames per piece
};
