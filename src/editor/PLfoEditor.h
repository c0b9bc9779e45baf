// The LFO page: one layer's LFO at a time (Base, Top or Filter, chosen by the layer buttons or
// the palette's icons). Its wave is picked from five shapes or drawn step by step on a 16 x 16
// grid; speed (tempo-synchronised note values while Sync is on), delay, amount and smoothing are
// knobs bound to the shown layer's parameters. "Master" lets the shown layer's LFO drive all
// three layers, "Bypass" switches the layer LFOs off. Control-C and Control-V copy and paste a
// layer's steps and shape through a clipboard shared by every instance in the process.
//
// Host automation reaches the controls through updateControls() on the editor's idle.
#pragma once

#include <cstdint>

#include "editor/CDependent.h"
#include "editor/IMatrixDef.h"
#include "editor/PEditor.h"
#include "editor/PParameterValue.h"

class CDepButton;
class CKnobEdit;
class CLfoSpeedKnob;
class COnOffButton;
class PLfoMatrix;

class PLfoEditor : public PEditor, public IMatrixDef {
public:
    // Control tags.
    static constexpr long kFirstShapeTag = 0;  // 0..4: Sine, Rect, Saw1, Saw2, Rand
    static constexpr long kFirstLayerTag = 6;  // 6..8: Base, Top, Filter
    static constexpr long kSmoothTag = 9;
    static constexpr long kMasterTag = 10;
    static constexpr long kSpeedTag = 11;
    static constexpr long kSyncTag = 12;
    static constexpr long kDelayTag = 13;
    static constexpr long kAmountTag = 14;
    static constexpr long kBypassTag = 15;
    static constexpr long kGridTag = 16;
    static constexpr int kShapeCount = 5;
    static constexpr int kLayerCount = 3;
    static constexpr int kMasterParameter = 75;
    static constexpr int kBypassParameter = 92;
    // The shape codes of the shape buttons, in their order.
    static const std::uint32_t kShapeCodes[kShapeCount];
    // The five values of the shown layer.
    enum Value { kSpeed = 0, kAmount, kSync, kDelay, kSmooth, kValueCount };

    PLfoEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
               CBitmap* background);
    ~PLfoEditor() override;

    // The parameter a value stands for with `layer` shown.
    static int parameterFor(Value value, int layer);

    // Shape button `shape` (0..4): stores its shape in the shown layer (again for Rand, which
    // draws new steps each time) and lights that button alone.
    void selectShape(int shape);
    // The clipboard: the shown layer's 16 steps and shape code, and back (nothing while empty).
    void copyLfo();
    void pasteLfo();

    PLfoMatrix* grid() const { return grid_; }
    COnOffButton* shapeButton(int shape) const { return shapeButtons_[shape]; }
    COnOffButton* layerButton(int layer) const { return layerButtons_[layer]; }
    COnOffButton* masterButton() const { return master_; }
    COnOffButton* bypassButton() const { return bypass_; }
    CDepButton* syncButton() const { return sync_; }
    CKnobEdit* knob(Value value) const;
    CLfoSpeedKnob* speedKnob() const { return speed_; }

    // PEditor
    int selectedLayer() const override { return layer_; }
    void selectLayer(int layer) override;
    void pageIdle() override;
    void updateControls() override;
    void pageHidden() override;
    int parameterOf(CControl* control) const override;
    void valueChanged(CControl* control) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    bool isTypeOf(const char* type) const override;

    // IMatrixDef: row r of column c is lit when step c is 15 - r.
    int rowCount(long) override;
    int columnCount(long) override;
    void drawCell(long id, int row, int column, CDrawContext* context, const CRect& cell) override;
    bool clickCell(long id, int row, int column, CDrawContext* context, long mode,
                   long buttons) override;

private:
    // Shows the speed knob's note values while the sync value is on.
    class SyncFollower : public CDependent {
    public:
        explicit SyncFollower(PLfoEditor& page) : page_(page) {}
        void update(CValueObject* value) override;

    private:
        PLfoEditor& page_;
    };

    void createControls();
    // Sets step `column` to `level`; false when it is there already.
    bool setStep(int column, int level);
    // The shown layer's steps or shape changed here: the shape buttons, the engine's wave table
    // and the grid follow.
    void stepsChanged();
    void showShapeButtons();
    void showGrid();
    void showButton(COnOffButton* button, bool on);

    int layer_ = 0;
    int pendingLayer_ = -1;  // a layer button's choice, applied on idle
    // The last cell a stroke painted, so that a fast stroke fills the columns it skipped.
    int strokeColumn_ = -1;
    int strokeLevel_ = 0;

    PParameterValue values_[kValueCount];
    SyncFollower syncFollower_{*this};
    COnOffButton* shapeButtons_[kShapeCount] = {};
    COnOffButton* layerButtons_[kLayerCount] = {};
    COnOffButton* master_ = nullptr;
    COnOffButton* bypass_ = nullptr;
    CDepButton* sync_ = nullptr;
    CLfoSpeedKnob* speed_ = nullptr;
    CKnobEdit* delay_ = nullptr;
    CKnobEdit* amount_ = nullptr;
    CKnobEdit* smooth_ = nullptr;
    PLfoMatrix* grid_ = nullptr;
};
