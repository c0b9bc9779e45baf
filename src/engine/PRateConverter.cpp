#include "engine/PRateConverter.h"

#include <algorithm>
#include <cmath>
#include <new>

double PRateConverter::engineRateFor(double hostRate) {
    return hostRate == 44100.0 || hostRate == 48000.0 ? hostRate : 44100.0;
}

void PRateConverter::configure(double engineRate, double hostRate, int32_t maxHostFrames) {
    if (!(engineRate > 0.0) || !(hostRate > 0.0)) return;
    double ratio = engineRate / hostRate;
    int32_t hostFrames = std::clamp(maxHostFrames, 1, 1 << 20);
    // Room for the most engine frames a piece can ask for: ceil(position + m x ratio) with the
    // position at most 0, plus a margin.
    auto capacity = static_cast<int32_t>(std::min(hostFrames * ratio, 1e8)) + 10;
    std::unique_ptr<float[]> left, right;
    exclusion_.lockOut();  // allocating inside keeps concurrent callers from mixing their changes
    left.reset(new (std::nothrow) float[capacity]());
    right.reset(new (std::nothrow) float[capacity]());
    if (!left || !right) {  // on a failed allocation the converter keeps its settings
        exclusion_.letIn();
        return;
    }
    engineRate_ = engineRate;
    hostRate_ = hostRate;
    ratio_ = ratio;
    left_.swap(left);
    right_.swap(right);
    maxPiece_ = std::max(1, static_cast<int32_t>((capacity - 1) / ratio));
    readPosition_ = 0.0;
    exclusion_.letIn();
}

void PRateConverter::applyReset() {
    uint32_t resets = resetRequests_.load(std::memory_order_acquire);
    if (resets == appliedResets_) return;
    appliedResets_ = resets;
    readPosition_ = 0.0;
}

int32_t PRateConverter::engineFramesFor(int32_t hostFrames) const {
    return static_cast<int32_t>(std::ceil(readPosition_ + hostFrames * ratio_));
}

int32_t PRateConverter::engineFrameAt(int32_t hostFrame) {
    if (hostFrame <= 0 || !exclusion_.enter()) return hostFrame;
    applyReset();  // a reset the next block would carry out moves the position
    const double frame = std::ceil(readPosition_ + hostFrame * ratio_);
    exclusion_.leave();
    return static_cast<int32_t>(std::clamp(frame, 0.0, 2147483647.0));
}

void PRateConverter::convert(const float* const in[2], int32_t n, float* const out[2], int32_t m) {
    for (int32_t c = 0; c < 2; ++c) {
        const float* x = in[c];
        const float* h = history_[c];
        // Engine frame at block-relative index j; -1 and -2 are the previous block's last two.
        auto at = [&](int32_t j) {
            if (j < 0) return h[std::max(j + 2, 0)];
            return n > 0 ? x[std::min(j, n - 1)] : h[1];
        };
        for (int32_t k = 0; k < m; ++k) {
            double q = readPosition_ + k * ratio_ - 1.0;
            double base = std::floor(q);
            auto j = static_cast<int32_t>(base);
            auto f = static_cast<float>(q - base);
            float a = at(j);
            float b = at(j + 1);
            out[c][k] = a + (b - a) * f + kOutputOffset;
        }
    }
    readPosition_ += m * ratio_ - n;
    for (int32_t c = 0; c < 2; ++c) {
        if (n >= 2) {
            history_[c][0] = in[c][n - 2];
            history_[c][1] = in[c][n - 1];
        } else if (n == 1) {
            history_[c][0] = history_[c][1];
            history_[c][1] = in[c][0];
        }
    }
}
