// The envelope page: one layer at a time (Base, Top or Filter, chosen by the layer buttons or the
// palette's icons), its two envelopes "Low" (what holds at the bottom of the keyboard) and "High"
// (at the top) in an envelope editor, each quantity also on a column slider with a Low and a High
// handle, a slope between the two and a value field; the level on a slider along a curved guide,
// and knobs for velocity and, depending on the layer, octave and sample start (Base, Top) or the
// filter envelope's offset and the emphasis (Filter, whose controls sit on the Filter corner of
// the page's artwork).
//
// Every value is a PAdsrValue rebound to the shown layer's parameters on a layer change. A
// control that writes more than one parameter in a gesture (the editor, the sliders, the slopes,
// the fields) has each parameter it writes bracketed with begin and end edit for the host. Host
// automation reaches the controls through updateControls() on the editor's idle.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/PAdsrValue.h"
#include "editor/PEditor.h"

class CDepTextEdit;
class CGuidedMultiSlider;
class CKnobEdit;
class CMultiSlider;
class COnOffButton;
class CSlopeDisplay;
class OrinMpeEditor;

class PAdsrEditor : public PEditor {
public:
    // Control tags.
    static constexpr long kFirstLayerTag = 0;  // 0..2: Base, Top, Filter
    static constexpr long kEnvelopeTag = 4;
    static constexpr long kFirstFieldTag = 5;         // 5..8, one per column
    static constexpr long kFirstColumnSliderTag = 9;  // 9..12
    static constexpr long kFirstColumnSlopeTag = 13;  // 13..16
    static constexpr long kLevelSliderTag = 17;
    static constexpr long kLevelSlopeTag = 18;
    static constexpr long kOffsetSlopeTag = 24;
    static constexpr int kLayerCount = 3;
    static constexpr int kFilterLayer = 2;
    // The columns show attack, decay, sustain level and release (the editor's first four kinds).
    static constexpr int kColumnCount = 4;
    static constexpr int kEnvelopeCount = 2;
    static constexpr int kKindCount = 7;
    static constexpr long kFilterCornerBitmap = 308;
    // The page's values besides the envelopes'.
    enum Value {
        kLevelLo = 0,
        kLevelHi,
        kVelocity,
        kVelocityAttack,
        kOctave,
        kOffsetHi,
        kOffsetLo,
        kStartOffset,
        kVelocityStart,
        kEmphasis,
        kValueCount
    };

    PAdsrEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                CBitmap* background);
    ~PAdsrEditor() override;

    OrinMpeEditor* envelopeEditor() const { return envelopeEditor_; }
    COnOffButton* layerButton(int layer) const { return layerButtons_[layer]; }
    CDepTextEdit* field(int column) const { return fields_[column]; }
    CMultiSlider* columnSlider(int column) const { return columnSliders_[column]; }
    CSlopeDisplay* columnSlope(int column) const { return columnSlopes_[column]; }
    CGuidedMultiSlider* levelSlider() const { return levelSlider_; }
    CSlopeDisplay* levelSlope() const { return levelSlope_; }
    CSlopeDisplay* offsetSlope() const { return offsetSlope_; }
    // Null for the values without a knob (the levels).
    CKnobEdit* knob(Value value) const { return knobs_[value]; }
    PAdsrValue& envelopeValue(int envelope, int kind) { return envelopeValues_[envelope][kind]; }
    PAdsrValue& value(Value value) { return values_[value]; }
    // Whether the Filter layer's controls and corner show.
    bool filterArrangement() const { return filterShown_; }

    // Sets a parameter for the host; inside a gesture of a control that writes several, the
    // first write of each parameter begins its edit (ended with the gesture).
    void writeParameter(int index, float value);

    // PEditor
    int selectedLayer() const override { return layer_; }
    void selectLayer(int layer) override;
    void pageIdle() override;
    void updateControls() override;
    void pageHidden() override;
    void valueChanged(CControl* control) override;
    void controlBeginEdit(CControl* control) override;
    void controlEndEdit(CControl* control) override;
    void drawBackgroundRect(CDrawContext* context, const CRect& updateRect) override;
    // The envelope editor's selection changed: the value fields show the selected envelope.
    long notify(CView* sender, const char* message) override;
    bool isTypeOf(const char* type) const override;

private:
    void createControls();
    void createSliders();
    void createKnobs();
    // Shows the Filter layer's controls and corner, or Base and Top's.
    void arrange(bool filter);
    // Puts the Filter corner over the page background, or the saved part back.
    void paintCorner(bool filter);
    void endGesture();

    int layer_ = 0;
    int pendingLayer_ = -1;  // a layer button's choice, applied on idle
    bool filterShown_ = false;
    std::vector<std::uint32_t> coveredPixels_;  // the background under the Filter corner

    // The parameters a gesture of a control writing several has begun, ended with the gesture.
    static constexpr int kMaxGestureParameters = 8;
    bool gestureOpen_ = false;
    int gestureParameters_[kMaxGestureParameters] = {};
    int gestureCount_ = 0;

    PAdsrValue envelopeValues_[kEnvelopeCount][kKindCount];
    PAdsrValue values_[kValueCount];
    OrinMpeEditor* envelopeEditor_ = nullptr;
    COnOffButton* layerButtons_[kLayerCount] = {};
    CDepTextEdit* fields_[kColumnCount] = {};
    CMultiSlider* columnSliders_[kColumnCount] = {};
    CSlopeDisplay* columnSlopes_[kColumnCount] = {};
    CGuidedMultiSlider* levelSlider_ = nullptr;
    CSlopeDisplay* levelSlope_ = nullptr;
    CSlopeDisplay* offsetSlope_ = nullptr;
    CKnobEdit* knobs_[kValueCount] = {};
};
