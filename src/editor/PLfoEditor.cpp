#include "editor/PLfoEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/Orin.h"
#include "core/PParamDesc.h"
#include "core/PPreset.h"
#include "editor/CDepButton.h"
#include "editor/CKnobEdit.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/PLfoMatrix.h"
#include "engine/LfoShapes.h"
#include "engine/TempoNoteValues.h"
#include "engine/VoiceTables.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/COnOffButton.h"
#include "gui/VstKeys.h"

const std::uint32_t PLfoEditor::kShapeCodes[kShapeCount] = {kShapeSine, kShapeRect, kShapeSaw1,
                                                            kShapeSaw2, kShapeRand};

namespace {

constexpr long kFirstShapeBitmap = 610;
constexpr long kMasterBitmap = 615;
constexpr long kFirstLayerBitmap = 301;
constexpr long kSyncBitmap = 306;
constexpr long kBypassBitmap = 401;
constexpr long kKnobStripBitmap = 350;
constexpr int kKnobImages = 33;

// Page layout.
const CRect kGridRect(145, 98, 275, 208);
const CPoint kShapeButtonsAt(145, 221);
const CPoint kLayerButtonsAt(38, 64);
constexpr CCoord kButtonGap = 4;
constexpr CCoord kLastShapeShift = 2;  // the Rand button sits this much further left
const CPoint kMasterAt(215, 246);
const CPoint kSyncAt(132, 294);
const CPoint kBypassAt(33, 43);
struct KnobPlace {
    CPoint centre;
    CRect text;
};
const KnobPlace kSmoothPlace{{310, 175}, {297, 187, 323, 197}};
const KnobPlace kSpeedPlace{{116, 302}, {103, 317, 145, 329}};
const KnobPlace kDelayPlace{{166, 302}, {151, 317, 177, 329}};
const KnobPlace kAmountPlace{{201, 302}, {188, 317, 214, 329}};
// The speed knob's wheel steps one note value of the extended range (2/1 and the 18 others).
constexpr float kSpeedWheelStep = 1.0f / 18.0f;

// The grid in the shown layer's colour on the dark field: the step's level lit, the cells under
// it in a dark tint of the same colour, the rest empty.
struct LayerColours {
    CColor lit;
    CColor under;
};
const LayerColours kLayerColours[PLfoEditor::kLayerCount] = {
    {{255, 181, 69, 255}, {53, 44, 33, 255}},   // Base, amber
    {{84, 220, 255, 255}, {26, 50, 60, 255}},   // Top, cyan
    {{189, 148, 255, 255}, {42, 38, 60, 255}},  // Filter, violet
};
constexpr CColor kEmptyCell{15, 17, 21, 255};
constexpr CColor kGridLine{27, 30, 36, 255};

// The LFO clipboard, one per process; its shape code is kEmptyClipboard until something is copied.
constexpr std::uint32_t kEmptyClipboard = 0xFFFFFFFF;
struct LfoClipboard {
    std::uint8_t steps[kLfoSteps] = {};
    std::uint32_t shape = kEmptyClipboard;
};
LfoClipboard clipboard;

// The decay table behind the delay times (the same values the voices use).
float* decayTable() {
    static VoiceTables tables = [] {
        VoiceTables built;
        buildVoiceTables(built);
        return built;
    }();
    return tables.decay;
}

// A two-state image's rectangle with its top-left corner at `at`.
CRect buttonRect(const CPoint& at, const CBitmap& image) {
    return CRect(at, image.getWidth(), image.getHeight() / 2);
}

}  // namespace

void PLfoEditor::SyncFollower::update(CValueObject* value) {
    page_.speed_->setSynced(value->getValue() > 0.5f);  // as the engine reads the sync value
}

PLfoEditor::PLfoEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                       CBitmap* background)
    : PEditor(size, frame, plugin, editor, background),
      values_{{*this, -1, kSpeed},
              {*this, -1, kAmount},
              {*this, -1, kSync},
              {*this, -1, kDelay},
              {*this, -1, kSmooth}} {
    createControls();
    selectLayer(0);
}

PLfoEditor::~PLfoEditor() = default;

int PLfoEditor::parameterFor(Value value, int layer) {
    // Each layer has a block of five LFO parameters (32..36 for Base); the smoothing lies apart.
    constexpr int kFirstLfoParameter = 32, kParametersPerLfo = 5, kFirstSmoothParameter = 72;
    constexpr int kOffsetInBlock[] = {0, 2, 4, 1};  // speed, amount, sync, delay
    if (value == kSmooth) return kFirstSmoothParameter + layer;
    return kFirstLfoParameter + kParametersPerLfo * layer + kOffsetInBlock[value];
}

void PLfoEditor::createControls() {
    CBitmap* strip = new CBitmap(kKnobStripBitmap);
    CBitmap* back = getBackground();
    auto bind = [&](CKnobEdit* knob, Value value) {
        knob->setValueObject(&values_[value]);
        addView(knob);
        return knob;
    };
    auto makeKnob = [&](const KnobPlace& place, long tag) {
        return new CKnobEdit(place.centre, place.text, this, tag, strip, kKnobImages, back);
    };
    smooth_ = bind(makeKnob(kSmoothPlace, kSmoothTag), kSmooth);
    speed_ = new CLfoSpeedKnob(kSpeedPlace.centre, kSpeedPlace.text, this, kSpeedTag, strip,
                               kKnobImages, back, true);
    speed_->setNoteOf(lfoNoteValue);
    speed_->setWheelInc(kSpeedWheelStep);
    bind(speed_, kSpeed);
    delay_ = bind(makeKnob(kDelayPlace, kDelayTag), kDelay);
    delay_->setTextFunctions(lfoDelayText, lfoDelayFromText, decayTable());
    amount_ = bind(makeKnob(kAmountPlace, kAmountTag), kAmount);
    strip->forget();

    auto addButton = [&](COnOffButton* button) {
        addView(button);
        return button;
    };
    CBitmap* image = new CBitmap(kSyncBitmap);
    sync_ = new CDepButton(buttonRect(kSyncAt, *image), this, kSyncTag, image);
    image->forget();
    sync_->setValueObject(&values_[kSync]);
    values_[kSync].addDependent(&syncFollower_);
    addButton(sync_);

    CPoint at = kShapeButtonsAt;
    for (int k = 0; k < kShapeCount; ++k) {
        image = new CBitmap(kFirstShapeBitmap + k);
        CRect rect = buttonRect(at, *image);
        if (k == kShapeCount - 1) rect.offset(-kLastShapeShift, 0);
        shapeButtons_[k] = addButton(new COnOffButton(rect, this, kFirstShapeTag + k, image));
        image->forget();
        at.h += rect.width() + kButtonGap;
    }
    at = kLayerButtonsAt;
    for (int i = 0; i < kLayerCount; ++i) {
        image = new CBitmap(kFirstLayerBitmap + i);
        const CRect rect = buttonRect(at, *image);
        layerButtons_[i] = addButton(new COnOffButton(rect, this, kFirstLayerTag + i, image));
        image->forget();
        at.h += rect.width() + kButtonGap;
    }
    image = new CBitmap(kMasterBitmap);
    master_ = addButton(new COnOffButton(buttonRect(kMasterAt, *image), this, kMasterTag, image));
    image->forget();
    image = new CBitmap(kBypassBitmap);
    bypass_ = addButton(new COnOffButton(buttonRect(kBypassAt, *image), this, kBypassTag, image));
    image->forget();

    grid_ = new PLfoMatrix(kGridRect, this, kGridTag);
    grid_->setGridColor(kGridLine);
    addView(grid_);
}

CKnobEdit* PLfoEditor::knob(Value value) const {
    switch (value) {
        case kSpeed:
            return speed_;
        case kDelay:
            return delay_;
        case kAmount:
            return amount_;
        case kSmooth:
            return smooth_;
        default:
            return nullptr;
    }
}

// ---- Layer and refresh ------------------------------------------------------------------------

void PLfoEditor::selectLayer(int layer) {
    if (layer < 0 || layer >= kLayerCount) return;
    pendingLayer_ = -1;  // the latest choice wins
    layer_ = layer;
    for (int v = 0; v < kValueCount; ++v) {
        const int parameter = parameterFor(Value(v), layer);
        values_[v].bind(parameter);
        if (CKnobEdit* k = knob(Value(v))) k->setDefaultValue(paramDesc(parameter)->defaultValue);
    }
    for (int i = 0; i < kLayerCount; ++i) showButton(layerButtons_[i], i == layer);
    grid_->setWaveColors(kLayerColours[layer].lit, kEmptyCell);
    grid_->invalid();
    updateControls();
}

void PLfoEditor::pageIdle() {
    if (pendingLayer_ >= 0) selectLayer(pendingLayer_);
}

void PLfoEditor::updateControls() {
    for (PParameterValue& value : values_) value.notifyDependents();
    const int master =
        int(plugin_.getParameter(kMasterParameter) * 3.0f);  // as the engine reads it
    showButton(master_, master == layer_ + 1);
    showButton(bypass_, plugin_.getParameter(kBypassParameter) != 0.0f);
    showShapeButtons();
    showGrid();
}

void PLfoEditor::pageHidden() {
    pendingLayer_ = -1;
    strokeColumn_ = -1;
}

void PLfoEditor::showButton(COnOffButton* button, bool on) {
    const float value = on ? 1.0f : 0.0f;
    if (button->getValue() == value) return;
    button->setValue(value);
    button->invalid();
}

void PLfoEditor::showShapeButtons() {
    const std::uint32_t shape = currentEditPreset().lfoShape(layer_);
    for (int k = 0; k < kShapeCount; ++k) showButton(shapeButtons_[k], kShapeCodes[k] == shape);
}

void PLfoEditor::showGrid() {
    const std::uint32_t shape = currentEditPreset().lfoShape(layer_);
    const bool drawn = shape == kShapePattern || shape == kShapeRand;
    grid_->showWave(drawn ? nullptr : plugin_.lfoTable(layer_));
    grid_->invalid();
}

// ---- Controls ---------------------------------------------------------------------------------

int PLfoEditor::parameterOf(CControl* control) const {
    if (control == master_) return kMasterParameter;
    if (control == bypass_) return kBypassParameter;
    return PEditor::parameterOf(control);
}

void PLfoEditor::valueChanged(CControl* control) {
    const long tag = control->getTag();
    if (control == master_) {
        // On: every layer follows the shown layer's LFO.
        setParameterNotified(kMasterParameter, master_->isOn() ? float(layer_ + 1) / 3.0f : 0.0f);
    } else if (control == bypass_) {
        setParameterNotified(kBypassParameter, bypass_->getValue());
    } else if (tag >= kFirstShapeTag && tag < kFirstShapeTag + kShapeCount) {
        selectShape(int(tag - kFirstShapeTag));
    } else if (tag >= kFirstLayerTag && tag < kFirstLayerTag + kLayerCount) {
        pendingLayer_ = int(tag - kFirstLayerTag);
    } else {
        PEditor::valueChanged(control);
    }
}

void PLfoEditor::selectShape(int shape) {
    if (shape < 0 || shape >= kShapeCount) return;
    const std::uint32_t code = kShapeCodes[shape];
    PPreset& preset = currentEditPreset();
    if (preset.lfoShape(layer_) != code || code == kShapeRand) {
        preset.setLfoShape(layer_, code);
        plugin_.rebuildLfoTable(layer_);
    }
    showShapeButtons();
    showGrid();
}

// ---- Clipboard --------------------------------------------------------------------------------

long PLfoEditor::onKeyDown(VstKeyCode& keyCode) {
    if (!(keyCode.modifier & MODIFIER_CONTROL)) return -1;
    // X11 windows deliver Control and a letter as its control character (C = 3, V = 22).
    switch (keyCode.character) {
        case 'c':
        case 'C':
        case 3:
            copyLfo();
            return 1;
        case 'v':
        case 'V':
        case 22:
            pasteLfo();
            return 1;
        default:
            return -1;
    }
}

void PLfoEditor::copyLfo() {
    const PPreset& preset = currentEditPreset();
    for (int s = 0; s < kLfoSteps; ++s) clipboard.steps[s] = preset.lfoStep(layer_, s);
    clipboard.shape = preset.lfoShape(layer_);
}

void PLfoEditor::pasteLfo() {
    if (clipboard.shape == kEmptyClipboard) return;
    PPreset& preset = currentEditPreset();
    // The steps as they were copied and the code alone: setting the shape would draw new steps
    // for a random shape.
    for (int s = 0; s < kLfoSteps; ++s) preset.setLfoStep(layer_, s, clipboard.steps[s]);
    preset.setLfoShapeCode(layer_, clipboard.shape);
    plugin_.rebuildLfoTable(layer_);
    showShapeButtons();
    showGrid();
}

// ---- Grid -------------------------------------------------------------------------------------

int PLfoEditor::rowCount(long) {
    return PLfoMatrix::kSize;
}

int PLfoEditor::columnCount(long) {
    return kLfoSteps;
}

void PLfoEditor::drawCell(long, int row, int column, CDrawContext* context, const CRect& cell) {
    const int level = std::min<int>(currentEditPreset().lfoStep(layer_, column), kLfoStepMax);
    const int litRow = kLfoStepMax - level;
    const LayerColours& colours = kLayerColours[layer_];
    context->setFillColor(row == litRow ? colours.lit : row > litRow ? colours.under : kEmptyCell);
    context->fillRect(cell);
}

bool PLfoEditor::clickCell(long, int row, int column, CDrawContext*, long mode, long) {
    if (column < 0 || column >= kLfoSteps) return false;
    const int level = kLfoStepMax - std::clamp(row, 0, kLfoStepMax);
    bool changed = false;
    // A fast stroke skips columns between two reports: they get the levels on the straight line.
    if (mode == kDragEnter && strokeColumn_ >= 0 && std::abs(column - strokeColumn_) > 1) {
        const int span = column - strokeColumn_;
        const int direction = span > 0 ? 1 : -1;
        for (int c = strokeColumn_ + direction; c != column; c += direction) {
            const double t = double(c - strokeColumn_) / span;
            changed |= setStep(c, int(std::lround(strokeLevel_ + (level - strokeLevel_) * t)));
        }
    }
    changed |= setStep(column, level);
    strokeColumn_ = column;
    strokeLevel_ = level;
    if (changed) stepsChanged();
    return false;  // the grid is redrawn whole
}

bool PLfoEditor::setStep(int column, int level) {
    PPreset& preset = currentEditPreset();
    if (preset.lfoStep(layer_, column) == level) return false;
    preset.setLfoStep(layer_, column, std::uint8_t(level));
    return true;
}

void PLfoEditor::stepsChanged() {
    currentEditPreset().setLfoShapeCode(layer_, kShapePattern);  // drawn by hand now
    plugin_.rebuildLfoTable(layer_);
    showShapeButtons();
    showGrid();
}

bool PLfoEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PLfoEditor") == 0) || PEditor::isTypeOf(type);
}
