// The envelope page's editor: the layer's two ADSR envelopes, "Low" (what holds at the bottom of
// the keyboard) and "High" (at the top), in ADSR mode. Seven quantities of each envelope stand
// for parameters through value objects (kind below); the page binds its 14 value objects once
// with bindValue(envelope, kind, value) and rebinds the objects' parameters on a layer change.
// A value object's change is taken into the envelope (update); an edit writes every quantity of
// the edited envelope that it changed into that quantity's value object, then tells the
// listener. The bends belong to the layer, not to one envelope, so an edited bend shows in both.
// Times and levels shown while dragging are the ones the voice plays (the engine's own time
// conversion over its decay table).
#pragma once

#include "editor/CDependent.h"
#include "editor/MultiMPEEditor.h"

class CValueObject;

class OrinMpeEditor : public MultiMPEEditor, public CDependent {
public:
    enum Envelope { kLow = 0, kHigh = 1 };
    // Kinds: attack, decay and release times (points 0, 1, 2), sustain level (point 2), and the
    // bends of the attack, decay and release segments as (bend + 1) / 2.
    enum Kind {
        kAttack = 0,
        kDecay = 1,
        kSustain = 2,
        kRelease = 3,
        kAttackBend = 4,
        kDecayBend = 5,
        kReleaseBend = 6,
        kKindCount = 7
    };

    OrinMpeEditor(const CRect& size, CControlListener* listener, long tag, CBitmap* background);

    // Makes `value` stand for (envelope, kind) and registers as its dependent; false when the
    // pair is out of range or the value object has no room.
    bool bindValue(int envelope, int kind, CValueObject* value);
    CValueObject* valueOf(int envelope, int kind) const;
    // The quantity as a value 0..1, and storing one (clamped; redraws).
    double quantity(int envelope, int kind) const;
    void setQuantity(int envelope, int kind, double value);
    // The kinds the running gesture (between begin and end edit) changes in the edited envelope;
    // answers how many were written into `kinds` (at most 2).
    int gestureKinds(int kinds[2]) const;
    // The engine's decay table, for the times shown (without it the times show as free ones).
    void setDecayTable(const float* decay) { decay_ = decay; }

    MultiPointEnvelope& envelope(int index) { return index == kHigh ? high_ : low_; }

    void update(CValueObject* value) override;
    void valueChanged() override;
    void levelText(double level, char* text) const override;
    void timeText(double time, char* text) const override;
    bool isTypeOf(const char* type) const override;

private:
    const MultiPointEnvelope& envelope(int index) const { return index == kHigh ? high_ : low_; }
    // Takes the envelope's quantities as the ones the value objects hold.
    void remember(int envelope);

    MultiPointEnvelope low_;
    MultiPointEnvelope high_;
    CValueObject* values_[kMaxEnvelopes][kKindCount] = {};
    double known_[kMaxEnvelopes][kKindCount] = {};
    const float* decay_ = nullptr;
};
