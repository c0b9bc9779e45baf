#include "editor/PAdsrEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Orin.h"
#include "core/PParamDesc.h"
#include "editor/CBitmapCollection.h"
#include "editor/CDepTextEdit.h"
#include "editor/CGuidedMultiSlider.h"
#include "editor/CKnobEdit.h"
#include "editor/CSlopeDisplay.h"
#include "editor/EditorColours.h"
#include "editor/OrinMpeEditor.h"
#include "engine/VoiceTables.h"
#include "gui/CBitmap.h"
#include "gui/COnOffButton.h"

namespace {

constexpr long kFirstLayerBitmap = 301;
constexpr long kHighHandleBitmap = 304;
constexpr long kLowHandleBitmap = 305;
constexpr long kKnobStripBitmap = 350;
constexpr int kKnobImages = 33;
constexpr int kFont = kNormalFontVerySmall;

// Page layout. Column i (attack, decay, sustain level, release) starts at x = 144 + 47 i.
const CPoint kLayerButtonsAt(38, 64);
constexpr CCoord kButtonGap = 4;
const CRect kEnvelopeRect(139, 91, 298, 157);
constexpr CCoord kColumnX = 144, kColumnStep = 47;
const CRect kLevelSliderRect(52, 90, 140, 258);
const CRect kLevelSlopeRect(99, 261, 132, 278);
const CRect kOffsetSlopeRect(224, 296, 255, 313);
const CPoint kFilterCornerAt(136, 281);
constexpr int kSlopeLineWidth = 2;
// The level slider's guide (slider coordinates): the Low handle ends at it, the High one starts
// there.
const std::vector<CPoint> kLevelGuide = {{10, 0}, {46, 29}, {63, 55}, {73, 90}, {72, 138},
                                         {67, 162}};
constexpr int kColumnSliderOptions = CMultiSlider::kVertical | CMultiSlider::kAlternateAlign;

// The page's values: their parameter in Base, Top and Filter (-1: none in that layer).
constexpr PAdsrValue::LayerParameters kValueParameters[PAdsrEditor::kValueCount] = {
    {5, 7, 1},     // level Lo (Filter: the envelope's amount)
    {4, 6, 0},     // level Hi
    {59, 60, 61},  // velocity
    {62, 63, 64},  // velocity attack
    {52, 54, -1},  // octave
    {-1, -1, 2},   // offset Hi
    {-1, -1, 3},   // offset Lo
    {87, 88, -1},  // start offset
    {89, 90, -1},  // velocity start
    {-1, -1, 45},  // emphasis
};

// Which arrangement a knob belongs to.
enum class Shown { kAlways, kBaseTop, kFilter };
struct KnobLayout {
    PAdsrEditor::Value value;
    long tag;
    CPoint centre;
    CRect text;  // empty: a knob without text
    Shown shown;
};
const KnobLayout kKnobs[] = {
    {PAdsrEditor::kVelocity, 19, {81, 332}, {68, 348, 94, 360}, Shown::kAlways},
    {PAdsrEditor::kVelocityAttack, 20, {116, 332}, {103, 348, 129, 360}, Shown::kAlways},
    {PAdsrEditor::kOctave, 21, {150, 332}, {138, 348, 164, 360}, Shown::kBaseTop},
    {PAdsrEditor::kOffsetHi, 22, {273, 305}, {}, Shown::kFilter},
    {PAdsrEditor::kOffsetLo, 23, {207, 305}, {}, Shown::kFilter},
    {PAdsrEditor::kStartOffset, 25, {194, 319}, {181, 335, 207, 347}, Shown::kBaseTop},
    {PAdsrEditor::kVelocityStart, 26, {228, 319}, {215, 335, 241, 347}, Shown::kBaseTop},
    {PAdsrEditor::kEmphasis, 27, {166, 320}, {154, 336, 180, 348}, Shown::kFilter},
};
constexpr long kOctaveTag = 21;
// The octave knob's five steps, -2..2.
constexpr int kOctaveSteps = 4;
constexpr float kOctaveWheelStep = 0.2f;

struct LayerColours {
    CColor colour;
    CColor lit;
};
const LayerColours kLayerColours[PAdsrEditor::kLayerCount] = {
    {{216, 154, 62, 255}, {255, 181, 69, 255}},   // Base, amber
    {{63, 184, 212, 255}, {84, 220, 255, 255}},   // Top, cyan
    {{157, 122, 216, 255}, {189, 148, 255, 255}}, // Filter, violet
};

CRect columnRect(int column, CCoord top, CCoord bottom, CCoord inset) {
    const CCoord x = kColumnX + kColumnStep * column;
    return CRect(x + inset, top, x + 39 - inset, bottom);
}

// The value object a control stands for alone, null for none.
CValueObject* boundValueOf(CControl* control) {
    auto* dependent = dynamic_cast<CDependent*>(control);
    return dependent ? dependent->boundValue() : nullptr;
}

}  // namespace

PAdsrEditor::PAdsrEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                         CBitmap* background)
    : PEditor(size, frame, plugin, editor, background),
      envelopeValues_{{{*this, 0, 0},
                       {*this, 0, 1},
                       {*this, 0, 2},
                       {*this, 0, 3},
                       {*this, 0, 4},
                       {*this, 0, 5},
                       {*this, 0, 6}},
                      {{*this, 1, 0},
                       {*this, 1, 1},
                       {*this, 1, 2},
                       {*this, 1, 3},
                       {*this, 1, 4},
                       {*this, 1, 5},
                       {*this, 1, 6}}},
      values_{{*this, kValueParameters[0]}, {*this, kValueParameters[1]},
              {*this, kValueParameters[2]}, {*this, kValueParameters[3]},
              {*this, kValueParameters[4]}, {*this, kValueParameters[5]},
              {*this, kValueParameters[6]}, {*this, kValueParameters[7]},
              {*this, kValueParameters[8]}, {*this, kValueParameters[9]}} {
    createControls();
    selectLayer(0);
}

PAdsrEditor::~PAdsrEditor() {
    // The knobs and the slope that come and go with the arrangement hold one reference of the
    // page's own (see arrange); the container releases its own for those on the page.
    for (const KnobLayout& layout : kKnobs)
        if (layout.shown != Shown::kAlways) knobs_[layout.value]->forget();
    offsetSlope_->forget();
}

// ---- Controls ---------------------------------------------------------------------------------

void PAdsrEditor::createControls() {
    CBitmap* back = getBackground();
    CPoint at = kLayerButtonsAt;
    for (int i = 0; i < kLayerCount; ++i) {
        CBitmap* image = new CBitmap(kFirstLayerBitmap + i);
        const CRect rect(at, image->getWidth(), image->getHeight() / 2);
        layerButtons_[i] = new COnOffButton(rect, this, kFirstLayerTag + i, image);
        image->forget();
        addView(layerButtons_[i]);
        at.h += rect.width() + kButtonGap;
    }

    envelopeEditor_ = new OrinMpeEditor(kEnvelopeRect, this, kEnvelopeTag, back);
    envelopeEditor_->setBackgroundOffset(kEnvelopeRect.topLeft());
    if (const VoiceTables* tables = plugin_.voiceTables())
        envelopeEditor_->setDecayTable(tables->decay);
    for (int e = 0; e < kEnvelopeCount; ++e)
        for (int kind = 0; kind < kKindCount; ++kind)
            envelopeEditor_->bindValue(e, kind, &envelopeValues_[e][kind]);
    addView(envelopeEditor_);

    // The value fields show whichever envelope's value reached them last.
    const float* decay = plugin_.voiceTables() ? plugin_.voiceTables()->decay : nullptr;
    for (int column = 0; column < kColumnCount; ++column) {
        auto* field = new CDepTextEdit(columnRect(column, 177, 187, -2), this,
                                       kFirstFieldTag + column, nullptr, kNoFrame);
        field->setFont(kFont);
        field->setFontColor(kEditorInk);
        field->setBackColor(kEditorField);
        field->setHoriAlign(kCenterText);
        if (column == OrinMpeEditor::kSustain)
            field->setTextFunctions(envelopeLevelText, envelopeLevelFromText);
        else
            field->setTextFunctions(envelopeTimeText, envelopeTimeFromText,
                                    const_cast<float*>(decay));
        for (auto& envelope : envelopeValues_) envelope[column].addDependent(field);
        fields_[column] = field;
        addView(field);
    }
    createSliders();
    createKnobs();
}

void PAdsrEditor::createSliders() {
    CBitmap* back = getBackground();
    auto* handles = new CBitmapCollection(2);
    for (int h = 0; h < 2; ++h) {
        CBitmap* image = new CBitmap(h == 0 ? kLowHandleBitmap : kHighHandleBitmap);
        handles->set(h, image);
        image->forget();
    }
    auto addSlope = [&](const CRect& rect, long tag, CValueObject* left, CValueObject* right) {
        auto* slope = new CSlopeDisplay(rect, this, tag, back);
        slope->setLineWidth(kSlopeLineWidth);
        slope->bindEnd(CSlopeDisplay::kLeft, left);
        slope->bindEnd(CSlopeDisplay::kRight, right);
        return slope;
    };
    for (int column = 0; column < kColumnCount; ++column) {
        const CRect rect = columnRect(column, 195, 256, 0);
        auto* slider = new CMultiSlider(rect, this, kFirstColumnSliderTag + column,
                                        kColumnSliderOptions, 2, handles, back);
        slider->setBackgroundOffset(rect.topLeft());
        for (int e = 0; e < kEnvelopeCount; ++e)
            slider->bindHandle(e, &envelopeValues_[e][column]);
        columnSliders_[column] = slider;
        addView(slider);
        columnSlopes_[column] =
            addSlope(columnRect(column, 261, 278, 3), kFirstColumnSlopeTag + column,
                     &envelopeValues_[0][column], &envelopeValues_[1][column]);
        addView(columnSlopes_[column]);
    }
    levelSlider_ = new CGuidedMultiSlider(kLevelSliderRect, this, kLevelSliderTag, 2, handles,
                                          back, kLevelGuide, CMultiSlider::kCubed);
    levelSlider_->setBackgroundOffset(kLevelSliderRect.topLeft());
    levelSlider_->bindHandle(0, &values_[kLevelLo]);
    levelSlider_->bindHandle(1, &values_[kLevelHi]);
    addView(levelSlider_);
    handles->forget();
    levelSlope_ = addSlope(kLevelSlopeRect, kLevelSlopeTag, &values_[kLevelLo], &values_[kLevelHi]);
    addView(levelSlope_);
    // Placed by arrange(); its first reference is the page's own.
    offsetSlope_ =
        addSlope(kOffsetSlopeRect, kOffsetSlopeTag, &values_[kOffsetLo], &values_[kOffsetHi]);
}

void PAdsrEditor::createKnobs() {
    CBitmap* strip = new CBitmap(kKnobStripBitmap);
    for (const KnobLayout& layout : kKnobs) {
        auto* knob = new CKnobEdit(layout.centre, layout.text, this, layout.tag, strip, kKnobImages,
                                   getBackground());
        knob->setFont(kFont);
        knob->setValueObject(&values_[layout.value]);
        knobs_[layout.value] = knob;
        // The page starts with Base: the Base and Top knobs go on it (which takes a reference),
        // and those placed by arrange() keep one of the page's own besides.
        if (layout.shown == Shown::kBaseTop) knob->remember();
        if (layout.shown != Shown::kFilter) addView(knob);
    }
    strip->forget();
    CKnobEdit* octave = knobs_[kOctave];
    octave->setDisplayRange(-kOctaveSteps / 2, kOctaveSteps / 2);
    octave->setWheelInc(kOctaveWheelStep);  // one step once snapped
}

// ---- Layer and arrangement --------------------------------------------------------------------

void PAdsrEditor::selectLayer(int layer) {
    if (layer < 0 || layer >= kLayerCount) return;
    pendingLayer_ = -1;  // the latest choice wins
    layer_ = layer;
    for (auto& envelope : envelopeValues_)
        for (PAdsrValue& value : envelope) value.selectLayer(layer);
    for (int v = 0; v < kValueCount; ++v) {
        values_[v].selectLayer(layer);
        const int parameter = values_[v].parameterIndex();
        if (knobs_[v] && parameter >= 0) knobs_[v]->setDefaultValue(paramDesc(parameter)->defaultValue);
    }
    for (int i = 0; i < kLayerCount; ++i) {
        COnOffButton* button = layerButtons_[i];
        const float on = i == layer ? 1.0f : 0.0f;
        if (button->getValue() != on) {
            button->setValue(on);
            button->invalid();
        }
    }
    const LayerColours& colours = kLayerColours[layer];
    envelopeEditor_->setLayerColour(colours.colour, colours.lit);
    for (CSlopeDisplay* slope : columnSlopes_) slope->setLineColour(colours.lit);
    levelSlope_->setLineColour(colours.lit);
    offsetSlope_->setLineColour(colours.lit);
    arrange(layer == kFilterLayer);
    updateControls();
}

void PAdsrEditor::arrange(bool filter) {
    if (filter == filterShown_) return;
    filterShown_ = filter;
    // The page keeps one reference of its own on these views; the page's container holds
    // another while a view is on it.
    auto place = [this](CView* view, bool shown) {
        if (shown && !isChild(view)) {
            view->remember();
            addView(view);
        } else if (!shown && isChild(view)) {
            removeView(view);
        }
    };
    for (const KnobLayout& layout : kKnobs) {
        if (layout.shown != Shown::kAlways)
            place(knobs_[layout.value], (layout.shown == Shown::kFilter) == filter);
    }
    place(offsetSlope_, filter);
    paintCorner(filter);
    invalid();
}

void PAdsrEditor::paintCorner(bool filter) {
    CBitmap* back = getBackground();
    CBitmap corner(kFilterCornerBitmap);
    if (!back || !back->isLoaded() || !corner.isLoaded()) return;
    // The corner's part that lies on the background.
    const CCoord width = std::min(corner.getWidth(), back->getWidth() - kFilterCornerAt.h);
    const CCoord height = std::min(corner.getHeight(), back->getHeight() - kFilterCornerAt.v);
    if (width <= 0 || height <= 0) return;
    std::uint32_t* pixels = back->pixels();
    const auto rowOf = [&](CCoord y) {
        return pixels + (kFilterCornerAt.v + y) * back->getWidth() + kFilterCornerAt.h;
    };
    if (filter) {
        coveredPixels_.resize(std::size_t(width * height));
        const std::uint32_t* source = corner.pixels();
        for (CCoord y = 0; y < height; ++y) {
            std::copy_n(rowOf(y), width, coveredPixels_.begin() + y * width);
            std::copy_n(source + y * corner.getWidth(), width, rowOf(y));
        }
    } else if (coveredPixels_.size() == std::size_t(width * height)) {
        for (CCoord y = 0; y < height; ++y)
            std::copy_n(coveredPixels_.begin() + y * width, width, rowOf(y));
        coveredPixels_.clear();
    }
}

void PAdsrEditor::pageIdle() {
    if (pendingLayer_ >= 0) selectLayer(pendingLayer_);
}

void PAdsrEditor::updateControls() {
    // The selected envelope last, so that the value fields show its values.
    const int selected = envelopeEditor_->selectedEnvelope();
    for (int kind = 0; kind < kKindCount; ++kind) {
        envelopeValues_[1 - selected][kind].notifyDependents();
        envelopeValues_[selected][kind].notifyDependents();
    }
    for (PAdsrValue& value : values_) value.notifyDependents();
}

long PAdsrEditor::notify(CView* sender, const char* message) {
    if (sender != envelopeEditor_ || !message ||
        std::strcmp(message, MultiMPEEditor::kSelectMessage) != 0)
        return PEditor::notify(sender, message);
    const int selected = envelopeEditor_->selectedEnvelope();
    for (int column = 0; column < kColumnCount; ++column)
        fields_[column]->update(&envelopeValues_[selected][column]);
    return kMessageNotified;
}

void PAdsrEditor::pageHidden() {
    pendingLayer_ = -1;
}

// ---- Changes and gestures ---------------------------------------------------------------------

void PAdsrEditor::valueChanged(CControl* control) {
    const long tag = control->getTag();
    if (boundValueOf(control)) {
        if (tag == kOctaveTag) {
            const float v = control->getValue();
            control->setValue(std::trunc(v * float(kOctaveSteps) + 0.5f) / float(kOctaveSteps));
        }
        PEditor::valueChanged(control);
    } else if (tag >= kFirstLayerTag && tag < kFirstLayerTag + kLayerCount) {
        pendingLayer_ = int(tag - kFirstLayerTag);
    } else if (tag >= kFirstFieldTag && tag < kFirstFieldTag + kColumnCount) {
        const int column = int(tag - kFirstFieldTag);
        auto* field = fields_[column];
        envelopeValues_[envelopeEditor_->selectedEnvelope()][column].setValue(field->getValue(),
                                                                             field);
    } else if (tag >= kFirstColumnSliderTag && tag < kFirstColumnSliderTag + kColumnCount) {
        CMultiSlider* slider = columnSliders_[tag - kFirstColumnSliderTag];
        envelopeEditor_->selectEnvelope(slider->selectedHandle());
        slider->storeBoundValues();
    } else if (tag >= kFirstColumnSlopeTag && tag < kFirstColumnSlopeTag + kColumnCount) {
        CSlopeDisplay* slope = columnSlopes_[tag - kFirstColumnSlopeTag];
        envelopeEditor_->selectEnvelope(slope->lastMovedEnd());
        slope->storeBoundValues();
    } else if (tag == kLevelSliderTag) {
        levelSlider_->storeBoundValues();
    } else if (tag == kLevelSlopeTag || tag == kOffsetSlopeTag) {
        static_cast<CSlopeDisplay*>(control)->storeBoundValues();
    }
    // The envelope editor has written what it changed into its values already.
}

void PAdsrEditor::controlBeginEdit(CControl* control) {
    if (boundValueOf(control)) return PEditor::controlBeginEdit(control);
    endGesture();  // a gesture left open by a control that lost its end
    gestureOpen_ = true;
}

void PAdsrEditor::controlEndEdit(CControl* control) {
    if (boundValueOf(control)) return PEditor::controlEndEdit(control);
    endGesture();
}

void PAdsrEditor::writeParameter(int index, float value) {
    if (gestureOpen_ &&
        std::find(gestureParameters_, gestureParameters_ + gestureCount_, index) ==
            gestureParameters_ + gestureCount_ &&
        gestureCount_ < kMaxGestureParameters) {
        gestureParameters_[gestureCount_++] = index;
        plugin_.beginEdit(index);
    }
    setParameterNotified(index, value);
}

void PAdsrEditor::endGesture() {
    for (int i = 0; i < gestureCount_; ++i) plugin_.endEdit(gestureParameters_[i]);
    gestureCount_ = 0;
    gestureOpen_ = false;
}

// ---- Drawing ----------------------------------------------------------------------------------

void PAdsrEditor::drawBackgroundRect(CDrawContext* context, const CRect& updateRect) {
    // Straight from the background, which carries the Filter corner while it shows.
    CViewContainer::drawBackgroundRect(context, updateRect);
}

bool PAdsrEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PAdsrEditor") == 0) || PEditor::isTypeOf(type);
}
