#include "editor/OrinEditor.h"

#include <algorithm>
#include <cmath>

#include "core/Orin.h"
#include "core/PSettings.h"
#include "data/PResourceTable.h"
#include "editor/CBitmapCollection.h"
#include "editor/CAboutView.h"
#include "editor/CBitmapView2.h"
#include "editor/CPlaceholderView.h"
#include "editor/ContextMenu.h"
#include "editor/KeyboardView.h"
#include "editor/PAboutScreen.h"
#include "editor/PAdsrEditor.h"
#include "editor/PDiskSector.h"
#include "editor/PFrame.h"
#include "editor/PGlobalEditor.h"
#include "editor/PLfoEditor.h"
#include "editor/POrinDiskControl.h"
#include "editor/POrinDiskDescriptor.h"
#include "editor/PPresetControl.h"
#include "editor/PPresetEditor.h"
#include "editor/PaletteRings.h"
#include "gui/CBitmap.h"
#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "platform/Platform.h"

namespace {

const CRect kPaletteRect(10, 53, 466, 357);
const CRect kPageAreaRect(369, 0, 735, 449);
const CPoint kPageButtonAt[OrinEditor::kPageCount] = {{564, 26}, {589, 42}, {636, 42}, {626, 58}};
const CRect kKeyboardRect(0, 384, 478, 449);
const CRect kVolumeRect(670, 384, 694, 408);
const CRect kLoadingRect(121, 12, 205, 31);
const CRect kPresetNameRect(215, 12, 360, 31);
// The product mark: a click on it shows the about screen.
const CRect kAboutClickArea(40, 10, 160, 40);
const CRect kAboutLabelRect(543, 88, 730, 99);
const CRect kControllerLabelRect(543, 106, 730, 118);
// Where the about screen's artwork leaves room for the version line.
const CPoint kVersionOffset(0, 200);
constexpr std::uint32_t kVersion = 0x20004;  // 2.0.4
constexpr const char* kTicker =
    "Quor plays two recorded excitations, Base and Top, through a filter taken from a third "
    "recording.  Drag the icons across the palette to hear the three sources meet.";
constexpr int kVolumeImages = 33;
constexpr int kIconCount = 3;
constexpr std::uint32_t kSweepIntervalMs = 30;
constexpr std::uint32_t kLoadCheckMs = 500;

// Bitmap identifiers.
constexpr long kBackgroundBitmap = 129;
constexpr long kAboutBitmap = 130;
constexpr long kControllerListBitmap = 134;
constexpr long kPaletteBitmap = 131;
constexpr long kPaletteLitBitmap = 132;
// The page background the pages share, and the pages' own backgrounds.
constexpr long kPageBitmap = 133;
constexpr long kPresetPageBitmap = 200;
constexpr long kEnvelopePageBitmap = 300;
constexpr long kGlobalPageBitmap = 400;
constexpr long kLfoPageBitmap = 600;
constexpr long kFirstPageButtonBitmap = 150;
constexpr long kKeyboardBitmap = 180;
constexpr long kLoadingBitmap = 190;
constexpr long kVolumeBitmap = 351;

float clampUnit(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

// The Windows-style secondary click (right button, or left with the secondary-click key), and a
// left click with Control, which is what people on these platforms try first.
bool opensContextMenu(long buttons) {
    return isSecondaryClick(buttons) || buttons == (kLButton | kControl);
}

}  // namespace

OrinEditor::OrinEditor(Orin& plugin)
    : AEffGUIEditor(&plugin),
      plugin_(plugin),
      paletteModel_(std::make_unique<POrinDiskDescriptor>(plugin, this, kPaletteRings,
                                                          kPaletteRingCount, kIconCount)),
      ticks_(platform::tickCount) {
    setRect(0, 0, kWidth, kHeight);
    paletteModel_->build();
}

OrinEditor::~OrinEditor() {
    OrinEditor::close();
    if (normalSectors_) normalSectors_->forget();
    if (litSectors_) litSectors_->forget();
}

bool OrinEditor::open(void* parentWindow) {
    if (open_.load()) return true;
    AEffGUIEditor::open(parentWindow);
    iconMoved_.store(0);
    PFrame* frame = new PFrame(frameRect(), parentWindow, *this);
    frame_ = frame;

    CBitmap* background = new CBitmap(kBackgroundBitmap);
    frame->addView(new CBitmapView2(frameRect(), background, *this));
    background->forget();

    pageArea_ = new CPlaceholderView(kPageAreaRect, frame);
    frame->addView(pageArea_);

    CBitmap* paletteImage = new CBitmap(kPaletteBitmap);
    if (!normalSectors_) {
        const CPoint centre(kPaletteCentreX, kPaletteCentreY);
        CBitmap* lit = new CBitmap(kPaletteLitBitmap);
        normalSectors_ = PDiskControl::buildSectorImages(*paletteModel_, paletteImage, centre);
        litSectors_ = PDiskControl::buildSectorImages(*paletteModel_, lit, centre);
        lit->forget();
    }
    palette_ = new POrinDiskControl(kPaletteRect, this, kPaletteTag, paletteModel_.get(), nullptr,
                                    normalSectors_, litSectors_, paletteImage, CPoint());
    paletteImage->forget();
    frame->addView(palette_);

    createPages();
    createFixedControls();
    createScreens();

    open_.store(true);
    showPage(lastPage_);
    refreshAll();
    sweepStep_ = 0;
    if (!sweepDone_) {
        sweepActive_ = true;
        sweepLastTick_ = ticks_();
    }
    loadCheckTick_ = ticks_();
    lastLoadCount_ = PResourceTable::shared().loadCount();
    return true;
}

void OrinEditor::createPages() {
    const CRect pageRect(0, 0, kPageAreaRect.width(), kPageAreaRect.height());
    const long backgrounds[kPageCount] = {kPresetPageBitmap, kLfoPageBitmap, kEnvelopePageBitmap,
                                          kGlobalPageBitmap};
    CBitmap* images[kPageCount];
    for (int i = 0; i < kPageCount; ++i) images[i] = new CBitmap(backgrounds[i]);
    pages_[kPresetPage] = new PPresetEditor(pageRect, frame_, plugin_, *this, images[0]);
    pages_[kLfoPage] = new PLfoEditor(pageRect, frame_, plugin_, *this, images[1]);
    pages_[kEnvelopePage] = new PAdsrEditor(pageRect, frame_, plugin_, *this, images[2]);
    pages_[kGlobalPage] = new PGlobalEditor(pageRect, frame_, plugin_, *this, images[3]);
    for (CBitmap* image : images) image->forget();
}

void OrinEditor::createFixedControls() {
    for (int i = 0; i < kPageCount; ++i) {
        CBitmap* image = new CBitmap(kFirstPageButtonBitmap + i);
        const CPoint at = kPageButtonAt[i];
        const CRect rect(at.h, at.v, at.h + image->getWidth(), at.v + image->getHeight() / 2);
        pageButtons_[i] = new COnOffButton(rect, this, i, image);
        image->forget();
        frame_->addView(pageButtons_[i]);
    }

    CBitmap* keys = new CBitmap(kKeyboardBitmap);
    keyboard_ = new KeyboardView(kKeyboardRect, plugin_, keys, ticks_);
    keys->forget();
    if (keyboardCollapsed_) keyboard_->showFrame(KeyboardView::kCollapsedFrame);
    frame_->addView(keyboard_);

    // The knob lies over the page area: its backdrop is the page background under it.
    CBitmap* strip = new CBitmap(kVolumeBitmap);
    volumeKnob_ = new CKnob(kVolumeRect, this, kVolumeTag, kVolumeImages, kVolumeRect.height(), strip);
    strip->forget();
    CBitmap* backdrop = new CBitmap(kPageBitmap);
    volumeKnob_->setBackdrop(backdrop, CPoint(kVolumeRect.left - kPageAreaRect.left,
                                              kVolumeRect.top - kPageAreaRect.top));
    backdrop->forget();
    frame_->addView(volumeKnob_);

    CBitmap* lamp = new CBitmap(kLoadingBitmap);
    loadingIndicator_ = new COnOffButton(kLoadingRect, nullptr, -1, lamp);
    lamp->forget();
    loadingIndicator_->setMouseEnabled(false);
    frame_->addView(loadingIndicator_);

    presetControl_ =
        new PPresetControl(kPresetNameRect, *static_cast<PPresetEditor*>(pages_[kPresetPage]));
    frame_->addView(presetControl_);
}

void OrinEditor::createScreens() {
    CBitmap* aboutImage = new CBitmap(kAboutBitmap);
    aboutScreen_ = new CAboutScreen(this, kScreenTag, aboutImage, frameRect(), kAboutClickArea);
    aboutImage->forget();
    CAboutView& about = aboutScreen_->aboutView();
    about.setVersion(kVersion);
    about.setVersionOffset(kVersionOffset);
    about.setLabel("64bit", kAboutLabelRect);
    about.setTickerText(kTicker);
    about.setTickSource(ticks_);
    frame_->addView(aboutScreen_);

    // Shown from the context menu only: the product mark opens the about screen.
    CBitmap* listImage = new CBitmap(kControllerListBitmap);
    controllerScreen_ = new PAboutScreen(this, kScreenTag, listImage, frameRect(), CRect());
    listImage->forget();
    controllerScreen_->aboutView().setLabel("64bit", kControllerLabelRect);
    frame_->addView(controllerScreen_);
}

void OrinEditor::close() {
    if (!open_.load()) {
        AEffGUIEditor::close();
        return;
    }
    endSectorSweep();
    open_.store(false);
    if (currentPage_ >= 0) pages_[currentPage_]->pageHidden();
    // Nothing the keyboard holds may keep sounding once it has gone.
    if (keyboard_) {
        keyboardCollapsed_ = keyboard_->isCollapsed();
        keyboard_->releaseNotes();
    }
    for (PEditor*& page : pages_) {
        page->forget();
        page = nullptr;
    }
    AEffGUIEditor::close();
    palette_ = nullptr;
    pageArea_ = nullptr;
    keyboard_ = nullptr;
    for (COnOffButton*& button : pageButtons_) button = nullptr;
    volumeKnob_ = nullptr;
    loadingIndicator_ = nullptr;
    presetControl_ = nullptr;
    aboutScreen_ = nullptr;
    controllerScreen_ = nullptr;
    pendingScreen_ = nullptr;
    currentPage_ = -1;
    pendingPage_ = -1;
}

void OrinEditor::idle() {
    if (!frame_) return;
    const std::uint32_t now = ticks_();
    if (sweepActive_) stepSectorSweep(now);
    if (keyboard_) {
        keyboard_->stepSlide();
        keyboard_->showDisplay(plugin_.keyboardDisplay());
    }
    updateLoadingIndicator(now);
    if (pendingPage_ >= 0) {
        showPage(pendingPage_);
        pendingPage_ = -1;
    }
    if (currentPage_ >= 0) pages_[currentPage_]->pageIdle();
    placeMovedIcons();
    // Changes are taken in before the frame redraws, so that they show in this same pass.
    if (parametersChanged_.exchange(false)) refreshControls();
    AEffGUIEditor::idle();
}

void OrinEditor::doIdleStuff() {
    placeMovedIcons();
    AEffGUIEditor::doIdleStuff();
}

void OrinEditor::stepSectorSweep(std::uint32_t now) {
    if (now - sweepLastTick_ < kSweepIntervalMs) return;
    sweepLastTick_ = now;
    if (sweepStep_ > 0) paletteModel_->sectorById(sweepStep_ - 1)->removeLit(nullptr);
    if (PDiskSector* next = paletteModel_->sectorById(sweepStep_)) {
        next->addLit(nullptr);
        ++sweepStep_;
    } else {
        sweepActive_ = false;
        sweepDone_ = true;
        sweepStep_ = 0;
    }
    if (palette_) palette_->invalid();
}

void OrinEditor::endSectorSweep() {
    if (!sweepActive_) return;
    // The sector lit last goes dark again: a sector keeps its light only for its icons.
    if (sweepStep_ > 0) paletteModel_->sectorById(sweepStep_ - 1)->removeLit(nullptr);
    sweepActive_ = false;
    sweepDone_ = true;
    sweepStep_ = 0;
    if (palette_) palette_->invalid();
}

void OrinEditor::updateLoadingIndicator(std::uint32_t now) {
    if (!loadingIndicator_ || now - loadCheckTick_ < kLoadCheckMs) return;
    loadCheckTick_ = now;
    const std::uint32_t count = PResourceTable::shared().loadCount();
    const bool on = loadingIndicator_->isOn();
    // Blinks while files are read; dark once nothing was read for a whole check period.
    const bool show = count != lastLoadCount_ ? !on : false;
    lastLoadCount_ = count;
    if (show != on) {
        loadingIndicator_->setValue(show ? 1.0f : 0.0f);
        loadingIndicator_->invalid();
    }
}

bool OrinEditor::isLoadingShown() const {
    return loadingIndicator_ && loadingIndicator_->isOn();
}

void OrinEditor::placeMovedIcons() {
    if (!palette_) return;
    const std::uint32_t moved = iconMoved_.exchange(0);
    for (int i = 0; i < kIconCount; ++i) {
        if (moved & (1u << i)) palette_->moveIcon(i, CPoint(iconX_[i].load(), iconY_[i].load()));
    }
}

void OrinEditor::showPage(int page) {
    if (page < 0 || page >= kPageCount || !pageArea_) return;
    if (currentPage_ >= 0) {
        pageButtons_[currentPage_]->setValue(0.0f);
        pageButtons_[currentPage_]->invalid();
    }
    if (page != currentPage_) {
        if (currentPage_ >= 0) pages_[currentPage_]->pageHidden();
        currentPage_ = page;
        lastPage_ = page;
        pageArea_->setContent(pages_[page]);
        // The LFO and envelope pages follow each other's layer.
        if (page == kLfoPage) pages_[kLfoPage]->selectLayer(pages_[kEnvelopePage]->selectedLayer());
        if (page == kEnvelopePage)
            pages_[kEnvelopePage]->selectLayer(pages_[kLfoPage]->selectedLayer());
        pages_[page]->updateControls();
    }
    pageButtons_[page]->setValue(1.0f);
    pageButtons_[page]->invalid();
}

PEditor* OrinEditor::page(int index) const {
    return index >= 0 && index < kPageCount ? pages_[index] : nullptr;
}

void OrinEditor::refreshAll(int exceptPage) {
    paletteModel_->placePointers(10);
    if (palette_) palette_->invalid();
    endSectorSweep();
    if (currentPage_ >= 0 && currentPage_ != exceptPage) {
        pageArea_->invalid();
        pages_[currentPage_]->updateControls();
    }
    if (volumeKnob_) {
        volumeKnob_->setValue(plugin_.getParameter(kVolumeParameter));
        volumeKnob_->invalid();
    }
    plugin_.takeEditorFlags();
}

void OrinEditor::refreshControls() {
    ++refreshes_;
    if (volumeKnob_) volumeKnob_->setValue(plugin_.getParameter(kVolumeParameter));
    if (currentPage_ >= 0) pages_[currentPage_]->updateControls();
    if (plugin_.takeEditorFlags() & Orin::kEditorRedrawAll) refreshAll();
}

void OrinEditor::setParameterNotified(int index, float value) {
    plugin_.setEditorIsSource(true);
    plugin_.setParameterAutomated(index, value);
    plugin_.setEditorIsSource(false);
}

void OrinEditor::valueChanged(CControl* control) {
    if (control == palette_) {
        int icon = 0;
        CPoint at;
        if (!palette_->dragPosition(icon, at)) return;
        setParameterNotified(kIconXParameter + 2 * icon, clampUnit(float(at.h + 200) / 400.0f));
        setParameterNotified(kIconXParameter + 2 * icon + 1, clampUnit(float(at.v + 134) / 268.0f));
        return;
    }
    if (control == volumeKnob_) {
        setParameterNotified(kVolumeParameter, control->getValue());
        return;
    }
    for (int i = 0; i < kPageCount; ++i) {
        if (control == pageButtons_[i]) {
            pendingPage_ = i;
            return;
        }
    }
    if (control->getTag() == kScreenTag && control->getValue() != 0.0f) endSectorSweep();
}

void OrinEditor::controlBeginEdit(CControl* control) {
    notifyEdit(control, true);
}

void OrinEditor::controlEndEdit(CControl* control) {
    notifyEdit(control, false);
}

void OrinEditor::notifyEdit(CControl* control, bool begin) {
    int first = -1, count = 0;
    if (control == volumeKnob_) {
        first = kVolumeParameter;
        count = 1;
    } else if (control == palette_) {
        int icon = 0;
        CPoint at;
        if (palette_->dragPosition(icon, at)) {
            first = kIconXParameter + 2 * icon;
            count = 2;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (begin)
            plugin_.beginEdit(first + i);
        else
            plugin_.endEdit(first + count - 1 - i);
    }
}

void OrinEditor::parameterChanged(std::int32_t, float) {
    parametersChanged_.store(true, std::memory_order_release);
}

void OrinEditor::moveIcon(int icon, float x, float y) {
    if (icon < 0 || icon >= kIconCount) return;
    const auto px = std::int32_t(std::trunc((double(x) - 0.5) * 400.0));
    const auto py = std::int32_t(std::trunc((double(y) - 0.5) * 268.0));
    if (!open_.load(std::memory_order_acquire)) {
        paletteModel_->selectIconAt(icon, CPoint(px, py));
        return;
    }
    iconX_[icon].store(px, std::memory_order_relaxed);
    iconY_[icon].store(py, std::memory_order_relaxed);
    iconMoved_.fetch_or(1u << icon, std::memory_order_release);
}

void OrinEditor::setWaitCursor(bool on) {
    if (frame_) frame_->setWaitCursor(on);
}

void OrinEditor::selectLayer(int layer) {
    if (currentPage_ != kLfoPage && currentPage_ != kEnvelopePage) return;
    PEditor* shown = pages_[currentPage_];
    if (shown->selectedLayer() != layer) shown->selectLayer(layer);
}

void OrinEditor::paletteChanged() {
    paletteModel_->placePointers(10);
    if (palette_) palette_->invalid();
    endSectorSweep();
    if (currentPage_ >= 0) pages_[currentPage_]->updateControls();
}

void OrinEditor::contextMenuHook(const CPoint& where, long buttons) {
    if (!frame_ || !opensContextMenu(buttons)) return;
    if (!contextMenu_) contextMenu_ = std::make_unique<ContextMenu>(*this);
    contextMenu_->popup(frame_, where, 0);
    if (CAboutScreen* screen = pendingScreen_) {
        pendingScreen_ = nullptr;
        screen->splash();
    }
}

void OrinEditor::showScreen(CAboutScreen* screen) {
    endSectorSweep();
    if (!screen) return;
    // The menu is the frame's modal view while it is open.
    if (frame_->getModalView())
        pendingScreen_ = screen;
    else
        screen->splash();
}

void OrinEditor::showAboutScreen() {
    showScreen(aboutScreen_);
}

void OrinEditor::showControllerList() {
    showScreen(controllerScreen_);
}

const char* OrinEditor::pluginPath() const {
    return PSettings::shared().pluginPath();
}

void OrinEditor::sweepPressHook(const CPoint&) {
    endSectorSweep();
}
