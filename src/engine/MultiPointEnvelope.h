// An envelope of up to eight break points with a sustain point and curved segments, as the
// envelope editors hold and edit it. Point k's time is the length of the segment from point k to
// point k + 1; its bend (-1..1) curves that segment. The last point's level is always 0 and the
// final segment lasts at least kMinFinalTime, so that a release never cuts off.
//
// The envelope writes and reads itself as a 160-byte record (version 1, point count, maximum,
// stored slot count 8, eight (time, level) pairs, sustain index, three zeros) in the stream's
// byte order. Reading trusts nothing: counts and the sustain index are brought into range and
// times and levels that are not numbers in 0..1 are clamped before any of them is used.
#pragma once

#include <cstddef>

class FStream;

struct EnvelopePoint {
    double time = 0;   // length of the segment to the next point, 0..1
    double level = 0;  // 0..1
    double step = 0;   // next point's level minus this one's (computeSteps)
    double bend = 0;   // curvature of the segment starting here, -1..1
};

class MultiPointEnvelope {
public:
    static constexpr int kMaxPoints = 8;
    static constexpr int kCurveEntries = 4096;
    static constexpr std::size_t kRecordSize = 160;
    static constexpr double kMinFinalTime = 0.0005;

    // The default envelope (see setDefault) with room for `maxPoints` (1..8) points.
    explicit MultiPointEnvelope(int maxPoints = kMaxPoints);

    // Four points: a curved rise to 1 over 0.25, a hold at 1 (the sustain point), a curved fall.
    void setDefault();
    // Inserts a zero point (time, level and bend 0) before `index`; an index outside 0..count
    // appends. Answers the index used, or 0 (nothing inserted) when the envelope is full.
    int insertPoint(int index);
    // Removes point `index` (0..count - 2: the last point stays); the sustain index follows its
    // point, or moves one earlier when its point goes, never below 0.
    void removePoint(int index);
    // Stores `p` (time, level and bend clamped) at an index within the count, then finalizes.
    void setPoint(int index, const EnvelopePoint& p);
    void setBend(int index, double bend);
    // Makes a point within the count the sustain point; other indices are ignored.
    void setSustain(int index);
    // The point, or point 0 for an index outside the count.
    const EnvelopePoint& point(int index) const;
    // Time position of point n (n limited to 0..count): the sum of the times before it.
    double position(int n) const;
    // Position of the last point.
    double length() const;
    // Forces the last level to 0, lengthens a too short final segment, recomputes the steps.
    void finalize();
    void computeSteps();

    int count() const { return count_; }
    int maxPoints() const { return maxPoints_; }
    int sustain() const { return sustain_; }

    std::size_t recordSize() const { return kRecordSize; }
    bool write(FStream& stream) const;
    // Takes a record over only when all of it could be read (false leaves the envelope as it
    // was). Bends keep their values.
    bool read(FStream& stream);

    // The rising table (i / 4096)^5 for a bend of 0 or more, else the falling table
    // 1 - rising[4095 - i]; built once per process.
    static const float* curveTable(double bend);
    // The table entry for u (0..1), clamped at both ends of the table.
    static double curveAt(double bend, double u);
    // Height reached at u (0..1) of a segment with this bend: the straight line blended with the
    // curve table by |bend|.
    static double segmentShape(double bend, double u);

private:
    EnvelopePoint points_[kMaxPoints];
    int sustain_ = 0;
    int maxPoints_;
    int count_ = 0;
};
