#include "editor/OrinMpeEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/CValueObject.h"
#include "editor/ValueTexts.h"

namespace {

// The point whose time a time kind is, or whose level / bend the kind is.
constexpr int kPointOf[OrinMpeEditor::kKindCount] = {0, 1, 2, 2, 0, 1, 2};

bool isBend(int kind) {
    return kind >= OrinMpeEditor::kAttackBend;
}

}  // namespace

OrinMpeEditor::OrinMpeEditor(const CRect& size, CControlListener* listener, long tag,
                             CBitmap* background)
    : MultiMPEEditor(size, listener, tag, kMaxEnvelopes, background) {
    setEnvelopeAt(kLow, &low_);
    setEnvelopeAt(kHigh, &high_);
    setName(kLow, "Low");
    setName(kHigh, "High");
    setMode(kAdsrMode);
    remember(kLow);
    remember(kHigh);
}

bool OrinMpeEditor::bindValue(int envelope, int kind, CValueObject* value) {
    if (envelope < 0 || envelope >= kMaxEnvelopes || kind < 0 || kind >= kKindCount || !value)
        return false;
    if (!value->addDependent(this)) return false;
    values_[envelope][kind] = value;
    return true;
}

CValueObject* OrinMpeEditor::valueOf(int envelope, int kind) const {
    if (envelope < 0 || envelope >= kMaxEnvelopes || kind < 0 || kind >= kKindCount)
        return nullptr;
    return values_[envelope][kind];
}

double OrinMpeEditor::quantity(int envelope, int kind) const {
    if (kind < 0 || kind >= kKindCount) return 0;
    const EnvelopePoint& p = this->envelope(envelope).point(kPointOf[kind]);
    if (isBend(kind)) return (p.bend + 1) / 2;
    return kind == kSustain ? p.level : p.time;
}

void OrinMpeEditor::setQuantity(int envelope, int kind, double value) {
    if (kind < 0 || kind >= kKindCount) return;
    const double v = std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 1.0);
    MultiPointEnvelope& e = this->envelope(envelope);
    const int point = kPointOf[kind];
    if (isBend(kind)) {
        e.setBend(point, 2 * v - 1);
    } else {
        EnvelopePoint p = e.point(point);
        (kind == kSustain ? p.level : p.time) = v;
        e.setPoint(point, p);
    }
    invalid();
}

void OrinMpeEditor::remember(int envelope) {
    for (int kind = 0; kind < kKindCount; ++kind)
        known_[envelope][kind] = quantity(envelope, kind);
}

void OrinMpeEditor::update(CValueObject* value) {
    for (int e = 0; e < kMaxEnvelopes; ++e) {
        for (int kind = 0; kind < kKindCount; ++kind) {
            if (values_[e][kind] != value) continue;
            setQuantity(e, kind, value->getValue());
            known_[e][kind] = quantity(e, kind);
        }
    }
}

void OrinMpeEditor::valueChanged() {
    const int edited = selectedEnvelope();
    const int other = 1 - edited;
    for (int kind = 0; kind < kKindCount; ++kind) {
        const double q = quantity(edited, kind);
        if (q == known_[edited][kind]) continue;
        known_[edited][kind] = q;
        if (isBend(kind)) {
            // Both envelopes play the layer's one bend.
            setQuantity(other, kind, q);
            known_[other][kind] = quantity(other, kind);
        }
        if (CValueObject* value = values_[edited][kind]) value->setValue(float(q), this);
    }
    MultiMPEEditor::valueChanged();
}

int OrinMpeEditor::gestureKinds(int kinds[2]) const {
    const Gesture& g = gesture();
    int n = 0;
    // Times of points 0, 1, 2 are attack, decay, release; point 2's level is the sustain.
    constexpr int kTimeKind[3] = {kAttack, kDecay, kRelease};
    if (g.timePoint >= 0 && g.timePoint < 3) kinds[n++] = kTimeKind[g.timePoint];
    if (g.levelPoint == 2) kinds[n++] = kSustain;
    if (g.bendPoint >= 0 && g.bendPoint < 3 && n < 2) kinds[n++] = kAttackBend + g.bendPoint;
    return n;
}

void OrinMpeEditor::levelText(double level, char* text) const {
    envelopeLevelText(float(level), text);
}

void OrinMpeEditor::timeText(double time, char* text) const {
    if (decay_)
        envelopeTimeText(float(time), text, const_cast<float*>(decay_));
    else
        MultiMPEEditor::timeText(time, text);
}

bool OrinMpeEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "OrinMpeEditor") == 0) || MultiMPEEditor::isTypeOf(type);
}
