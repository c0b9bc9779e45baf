// An envelope editor over up to two envelopes, one of them edited at a time. The others are drawn
// behind it, thinner in tone and without handles; the edited one shows its handles while the
// control has the focus, and its name at the top right. A right click (or a left click with the
// secondary-click modifier) switches to the next envelope; typing 1 or 2 selects one. A switch
// by click tells the parent view "Select Envelope" and the listener.
#pragma once

#include <string>

#include "editor/MPEEditor.h"

class MultiMPEEditor : public MPEEditor {
public:
    static constexpr int kMaxEnvelopes = 2;
    static constexpr const char* kSelectMessage = "Select Envelope";

    // `count` envelopes (1..2), all unset until setEnvelopeAt.
    MultiMPEEditor(const CRect& size, CControlListener* listener, long tag, int count,
                   CBitmap* background);

    void setEnvelopeAt(int index, MultiPointEnvelope* envelope);
    MultiPointEnvelope* envelopeAt(int index) const;
    int envelopeCount() const { return count_; }
    // Makes envelope `index` the edited one; a change redraws and notifies the parent.
    void selectEnvelope(int index);
    int selectedEnvelope() const { return selected_; }
    void setName(int index, const char* name);
    const std::string& name(int index) const { return names_[index]; }
    // The look of the envelopes not edited.
    MpeColours& otherColours() { return others_; }
    void setLayerColour(const CColor& colour, const CColor& lit) override;

    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    bool isTypeOf(const char* type) const override;

protected:
    void drawContents(CDrawContext* context) override;

private:
    int count_;
    int selected_ = 0;
    MultiPointEnvelope* envelopes_[kMaxEnvelopes] = {};
    std::string names_[kMaxEnvelopes];
    MpeColours others_;
};
