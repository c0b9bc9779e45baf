// A speed knob that shows a note value ("1/8T") while its LFO or delay follows the host's tempo,
// and its own text otherwise. Which note a value stands for is the page's choice, so that the
// knob shows what the engine plays for that parameter; by default the value v selects entry
// trunc(v x 17 + 0.5) of the 18 note values, or with the extended range entry trunc(v x 18 + 0.5)
// of the same list preceded by "2/1". While synchronised, a typed note value is read too.
#pragma once

#include "editor/CKnobEdit.h"

struct NoteValue;

class CLfoSpeedKnob : public CKnobEdit {
public:
    // The note value the engine plays at a 0..1 value.
    using NoteOf = const NoteValue& (*)(float value);

    CLfoSpeedKnob(const CPoint& centre, const CRect& textRect, CControlListener* listener,
                  long tag, CBitmap* strip, int imageCount, CBitmap* background,
                  bool extended = false);

    // Redraws when the display changes.
    void setSynced(bool synced);
    bool isSynced() const { return synced_; }
    void setExtended(bool extended);
    // Null: the default mapping of the range.
    void setNoteOf(NoteOf noteOf);
    // The note value shown at `value` while synchronised.
    const NoteValue& noteAt(float value) const;

    void valueText(char* text) const override;
    bool readText(const char* text, float& value) const override;

private:
    bool synced_ = false;
    bool extended_;
    NoteOf noteOf_ = nullptr;
};
