#include "editor/PDiskDescriptor.h"

#include <algorithm>
#include <cmath>

#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Angle of a centre-coordinate point whose y is already scaled, clockwise from 12 o'clock.
double angleOf(double x, double scaledY) {
    double a = std::atan2(x, scaledY);
    return a < 0 ? a + kTwoPi : a;
}
}  // namespace

PDiskDescriptor::PDiskDescriptor(const PRing* rings, int ringCount, int pointerCount)
    : rings_(rings),
      ringCount_(rings && ringCount > 0 ? ringCount : 0),
      wantedPointers_(std::max(pointerCount, 0)) {
    if (ringCount_ > 0) centre_ = {outerRing().horizontalRadius, outerRing().verticalRadius};
}

PDiskDescriptor::~PDiskDescriptor() = default;

PDiskSector* PDiskDescriptor::createSector() {
    return new PDiskSector;
}

PDiskPointer* PDiskDescriptor::createPointer(int index) {
    return new PDiskPointer(this, index);
}

void PDiskDescriptor::build() {
    if (!sectors_.empty()) return;
    for (int r = 0; r < ringCount_; ++r) {
        firstOfRing_.push_back(sectorCount());
        const double step = sectorStep(r);
        double angle = 0.0;  // repeated addition, so that every sector starts where the last ended
        for (int i = 0; i < rings_[r].sectorCount; ++i) {
            PDiskSector* s = createSector();
            s->init(this, r, i, sectorCount(), angle);
            sectors_.emplace_back(s);
            angle += step;
        }
    }
    for (int k = 0; k < wantedPointers_; ++k) pointers_.emplace_back(createPointer(k));
}

int PDiskDescriptor::labelBottom(PDiskSector*) {
    return -1;
}

void PDiskDescriptor::placePointers(int) {
    for (auto& p : pointers_) p->setSector(nullptr, sectorById(0), true);
}

void PDiskDescriptor::layoutPointers() {
    for (auto& p : pointers_) p->setSector(nullptr, p->sector(), false);
}

void PDiskDescriptor::drawSectorLabel(PDiskSector*, CDrawContext*, const CRect&) {}

bool PDiskDescriptor::sectorMenu(PDiskSector*, CDrawContext*, const CPoint&) {
    return false;
}

void PDiskDescriptor::pointerPicked(PDiskPointer*) {}
void PDiskDescriptor::pointerReleased(PDiskPointer*) {}

PDiskSector* PDiskDescriptor::sectorById(int id) const {
    return id >= 0 && id < sectorCount() ? sectors_[std::size_t(id)].get() : nullptr;
}

PDiskSector* PDiskDescriptor::sector(int r, int index) const {
    if (r < 0 || r >= int(firstOfRing_.size()) || index < 0 || index >= rings_[r].sectorCount)
        return nullptr;
    return sectorById(firstOfRing_[std::size_t(r)] + index);
}

double PDiskDescriptor::sectorStep(int r) const {
    return kTwoPi / rings_[r].sectorCount;
}

PDiskSector* PDiskDescriptor::sectorAt(const CPoint& p) const {
    if (ringCount_ == 0) return nullptr;
    const PRing& outer = outerRing();
    const double y = std::trunc(double(p.v) * outer.horizontalRadius / outer.verticalRadius);
    const double x = p.h;
    const double radius = std::sqrt(x * x + y * y);
    for (int r = 0; r < ringCount_; ++r) {
        if (rings_[r].horizontalRadius >= radius) {
            return sector(r, int(std::trunc(angleOf(x, y) / sectorStep(r))));
        }
    }
    return nullptr;
}

bool PDiskDescriptor::insideDisk(const CPoint& p) const {
    if (ringCount_ == 0) return false;
    const double rx = outerRing().horizontalRadius, ry = outerRing().verticalRadius;
    const double x = std::abs(double(p.h));
    return x <= rx && std::abs(double(p.v)) <= ry / rx * std::sqrt(rx * rx - x * x);
}

bool PDiskDescriptor::inSectorArea(const PDiskSector& s, double x, double y) const {
    auto within = [&](int r, double grow) {
        const double a = rings_[r].horizontalRadius + grow, b = rings_[r].verticalRadius + grow;
        return (x * x) / (a * a) + (y * y) / (b * b) <= 1.0;
    };
    if (!within(s.ring(), 1.0)) return false;
    if (s.ring() > 0 && within(s.ring() - 1, 0.0)) return false;
    const double scaledY = y * outerRing().horizontalRadius / outerRing().verticalRadius;
    const double radius = std::sqrt(x * x + scaledY * scaledY);
    if (radius < 1.0) return s.ring() == 0;  // the centre touches every inner sector
    const double tolerance = 0.75 / radius;  // about three quarters of a pixel along the arc
    const double start = s.startAngle() - tolerance, end = s.startAngle() + sectorStep(s.ring()) + tolerance;
    const double a = angleOf(x, scaledY);
    return (a >= start && a <= end) || (a - kTwoPi >= start) || (a + kTwoPi <= end);
}

CPoint PDiskDescriptor::ellipsePoint(int r, double angle) const {
    if (r < 0) return centre_;
    const double a = rings_[r].horizontalRadius, b = rings_[r].verticalRadius;
    const double big = std::max(a, b), k = std::min(a, b) / big;
    return {centre_.h + int(std::trunc(big * std::cos(angle - kPi / 2))),
            centre_.v + int(std::trunc(k * big * std::sin(angle - kPi / 2)))};
}

CRect PDiskDescriptor::computeBoundingRect(const PDiskSector& s) const {
    const double start = s.startAngle(), end = start + sectorStep(s.ring());
    const CPoint corners[4] = {ellipsePoint(s.ring(), start), ellipsePoint(s.ring(), end),
                               ellipsePoint(s.ring() - 1, start), ellipsePoint(s.ring() - 1, end)};
    CRect r(corners[0].h, corners[0].v, corners[0].h, corners[0].v);
    for (const CPoint& c : corners) {
        r.left = std::min(r.left, c.h);
        r.right = std::max(r.right, c.h);
        r.top = std::min(r.top, c.v);
        r.bottom = std::max(r.bottom, c.v);
    }
    // Widen to the ring's extreme points that the sector's arc passes.
    const int rx = rings_[s.ring()].horizontalRadius, ry = rings_[s.ring()].verticalRadius;
    const int cx = centre_.h, cy = centre_.v;
    const bool straddlesCentreRow = r.top < cy && r.bottom > cy;
    if (start <= kPi && straddlesCentreRow && cx + rx > r.right) r.right = cx + rx;
    if (r.left < cx && r.right > cx && cy + ry > r.bottom) r.bottom = cy + ry;
    if (start > kPi && straddlesCentreRow && cx - rx < r.left) r.left = cx - rx;
    return r;
}

PDiskPointer* PDiskDescriptor::pointer(int index) const {
    return index >= 0 && index < pointerCount() ? pointers_[std::size_t(index)].get() : nullptr;
}

PDiskPointer* PDiskDescriptor::pointerAt(const CPoint& p) const {
    for (auto it = pointers_.rbegin(); it != pointers_.rend(); ++it) {
        if ((*it)->rect().pointInside(p)) return it->get();  // right and bottom edges excluded
    }
    return nullptr;
}

CPoint PDiskDescriptor::clampToDisk(const PDiskPointer& pointer, const CPoint& p) const {
    const CPoint size = pointer.iconSize();
    const double ax = (outerRing().horizontalRadius + 2) - 0.8 * size.h;
    const double ay = (outerRing().verticalRadius + 2) - 0.8 * size.v;
    const double q = ax / ay;
    double dx = (p.h - centre_.h) / q, dy = p.v - centre_.v;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > ay) {
        dx *= ay / d;
        dy *= ay / d;
    }
    return {int(std::trunc(dx * q)) + centre_.h, int(std::trunc(dy)) + centre_.v};
}

void PDiskDescriptor::setCentre(const CPoint& centre) {
    if (centre == centre_) return;
    centre_ = centre;
    for (auto& s : sectors_) s->clearCachedRect();
}

CPoint PDiskDescriptor::toCentre(const CPoint& p) const {
    return {p.h - centre_.h, centre_.v - p.v};
}

CPoint PDiskDescriptor::toControl(const CPoint& p) const {
    return {centre_.h + p.h, centre_.v - p.v};
}
