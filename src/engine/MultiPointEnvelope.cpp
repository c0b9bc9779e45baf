#include "engine/MultiPointEnvelope.h"

#include <cmath>
#include <cstdint>

#include "data/FStream.h"

namespace {

// A number in lo..hi; NaN becomes lo.
double clampTo(double v, double lo, double hi) {
    if (!(v >= lo)) return lo;
    return v > hi ? hi : v;
}

int clampInt(std::int32_t v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

struct CurveTables {
    float rising[MultiPointEnvelope::kCurveEntries];
    float falling[MultiPointEnvelope::kCurveEntries];
    CurveTables() {
        const int n = MultiPointEnvelope::kCurveEntries;
        for (int i = 0; i < n; ++i) rising[i] = static_cast<float>(std::pow(i / double(n), 5.0));
        for (int i = 0; i < n; ++i) falling[i] = 1.0f - rising[n - 1 - i];
    }
};

const CurveTables& curveTables() {
    static const CurveTables tables;
    return tables;
}

constexpr std::int32_t kRecordVersion = 1;

}  // namespace

MultiPointEnvelope::MultiPointEnvelope(int maxPoints)
    : maxPoints_(maxPoints < 1 ? 1 : (maxPoints > kMaxPoints ? kMaxPoints : maxPoints)) {
    curveTables();
    setDefault();
}

void MultiPointEnvelope::setDefault() {
    const EnvelopePoint defaults[4] = {{0, 0, 0, -0.5}, {0.25, 1, 0, -0.5}, {0, 1, 0, 0},
                                       {0, 0, 0, 0.5}};
    count_ = maxPoints_ < 4 ? maxPoints_ : 4;
    for (int i = 0; i < count_; ++i) points_[i] = defaults[i];
    sustain_ = count_ > 2 ? 2 : 0;
    finalize();
}

int MultiPointEnvelope::insertPoint(int index) {
    if (count_ >= maxPoints_) return 0;
    if (index < 0 || index > count_) index = count_;
    for (int i = count_; i > index; --i) points_[i] = points_[i - 1];
    points_[index] = EnvelopePoint{};
    ++count_;
    if (index <= sustain_ && sustain_ + 1 < count_) ++sustain_;
    computeSteps();
    return index;
}

void MultiPointEnvelope::removePoint(int index) {
    if (index < 0 || index >= count_ - 1) return;
    for (int i = index; i < count_ - 1; ++i) points_[i] = points_[i + 1];
    --count_;
    if (index <= sustain_ && sustain_ > 0) --sustain_;
    finalize();
}

void MultiPointEnvelope::setPoint(int index, const EnvelopePoint& p) {
    if (index < 0 || index >= count_) return;
    EnvelopePoint& q = points_[index];
    q.time = clampTo(p.time, 0, 1);
    q.level = clampTo(p.level, 0, 1);
    q.bend = clampTo(p.bend, -1, 1);
    finalize();
}

void MultiPointEnvelope::setBend(int index, double bend) {
    if (index >= 0 && index < count_) points_[index].bend = clampTo(bend, -1, 1);
}

void MultiPointEnvelope::setSustain(int index) {
    if (index >= 0 && index < count_) sustain_ = index;
}

const EnvelopePoint& MultiPointEnvelope::point(int index) const {
    return index >= 0 && index < count_ ? points_[index] : points_[0];
}

double MultiPointEnvelope::position(int n) const {
    if (n > count_) n = count_;
    double t = 0;
    for (int i = 0; i < n; ++i) t += points_[i].time;
    return t;
}

double MultiPointEnvelope::length() const {
    return position(count_ - 1);
}

void MultiPointEnvelope::finalize() {
    if (count_ >= 2) {
        points_[count_ - 1].level = 0;
        double& last = points_[count_ - 2].time;
        if (last < kMinFinalTime) last = kMinFinalTime;
    }
    computeSteps();
}

void MultiPointEnvelope::computeSteps() {
    for (int i = 0; i + 1 < count_; ++i) points_[i].step = points_[i + 1].level - points_[i].level;
}

bool MultiPointEnvelope::write(FStream& stream) const {
    bool ok = stream.writeU32(kRecordVersion) && stream.writeU32(std::int32_t{count_}) &&
              stream.writeU32(std::int32_t{maxPoints_}) &&
              stream.writeU32(std::int32_t{kMaxPoints});
    for (int i = 0; ok && i < kMaxPoints; ++i)
        ok = stream.writeF64(points_[i].time) && stream.writeF64(points_[i].level);
    for (std::int32_t v : {std::int32_t{sustain_}, 0, 0, 0}) ok = ok && stream.writeU32(v);
    return ok;
}

bool MultiPointEnvelope::read(FStream& stream) {
    std::int32_t version = 0, count = 0, maximum = 0, slots = 0, sustain = 0, reserved = 0;
    if (!stream.readU32(&version) || !stream.readU32(&count) || !stream.readU32(&maximum) ||
        !stream.readU32(&slots))
        return false;
    double times[kMaxPoints] = {}, levels[kMaxPoints] = {};
    for (std::int32_t i = 0; i < slots; ++i) {
        double time = 0, level = 0;
        if (!stream.readF64(&time) || !stream.readF64(&level)) return false;
        if (i < kMaxPoints) {
            times[i] = clampTo(time, 0, 1);
            levels[i] = clampTo(level, 0, 1);
        }
    }
    if (!stream.readU32(&sustain)) return false;
    for (int i = 0; i < 3; ++i)
        if (!stream.readU32(&reserved)) return false;

    count_ = clampInt(count, 0, kMaxPoints);
    maxPoints_ = clampInt(maximum, count_ > 1 ? count_ : 1, kMaxPoints);
    sustain_ = sustain >= 0 && sustain < count_ ? sustain : 0;
    for (int i = 0; i < kMaxPoints; ++i) {
        points_[i].time = times[i];
        points_[i].level = levels[i];
    }
    finalize();
    return true;
}

const float* MultiPointEnvelope::curveTable(double bend) {
    return bend >= 0 ? curveTables().rising : curveTables().falling;
}

double MultiPointEnvelope::curveAt(double bend, double u) {
    const double scaled = clampTo(u, 0, 1) * kCurveEntries;
    int i = static_cast<int>(scaled);
    if (i > kCurveEntries - 1) i = kCurveEntries - 1;
    return curveTable(bend)[i];
}

double MultiPointEnvelope::segmentShape(double bend, double u) {
    const double c = std::fabs(clampTo(bend, -1, 1));
    return (1 - c) * clampTo(u, 0, 1) + c * curveAt(bend, u);
}
