#include "editor/POrinDiskDescriptor.h"

#include <cstdio>
#include <cstring>

#include "core/Orin.h"
#include "data/PPool.h"
#include "editor/PDiskControl.h"
#include "editor/PDiskSector.h"
#include "editor/POrinIcon.h"
#include "editor/POrinMenuScheme.h"
#include "editor/PaletteHost.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/FontRenderer.h"

namespace {

// Where the label boxes lie, as offsets from the disk centre: the box's top is at the centre's y
// plus the second value; in the disk's right half the box's right edge is at the centre's x plus
// the first value, and the sectors of a ring's left half use the mirrored anchors with the box's
// left edge at the centre's x minus the first value. Ring 0 names its three boxes directly.
struct Anchor {
    int dx, dy;
};
constexpr Anchor kInnerAnchors[] = {{46, -36}, {23, 9}, {-4, -36}};
constexpr Anchor kMiddleAnchors[] = {{52, -87}, {104, -67}, {135, -37},
                                     {140, 2},  {99, 38},   {45, 52}};
constexpr Anchor kOuterAnchors[] = {{54, -142}, {119, -125}, {167, -97}, {204, -61}, {220, -19},
                                    {205, 25},  {160, 62},   {112, 90},  {52, 100}};
constexpr int kLabelBottomGap = 3;  // an icon's top may reach this far into the label box

// Label boxes of iconless ring-1 sectors moved sideways, away from the ring's seams.
int middleRingShift(int index) {
    return index == 0 ? -3 : index == 6 ? 6 : index == 11 ? 4 : 0;
}

// The pool's instruments of one category as entries of a popup menu.
class MenuFiller : public PInstrumentMenu {
public:
    explicit MenuFiller(COptionMenu& menu) : menu_(menu) {}
    void addEntry(const char* title, bool checked) override {
        menu_.addEntry(title, -1, checked ? long(COptionMenu::kChecked) : 0L);
    }

private:
    COptionMenu& menu_;
};

}  // namespace

POrinDiskDescriptor::POrinDiskDescriptor(Orin& plugin, PaletteHost* host, const PRing* rings,
                                         int ringCount, int pointerCount)
    : PDiskDescriptor(rings, ringCount, pointerCount),
      plugin_(plugin),
      host_(host),
      scheme_(POrinMenuScheme::acquire()) {}

POrinDiskDescriptor::~POrinDiskDescriptor() {
    scheme_->forget();
}

PDiskPointer* POrinDiskDescriptor::createPointer(int index) {
    return new POrinIcon(this, index);
}

PPreset& POrinDiskDescriptor::preset() {
    return plugin_.currentProgram().editPreset();
}

bool POrinDiskDescriptor::labelBox(const PDiskSector& s, CRect& box) const {
    const int n = ring(s.ring()).sectorCount, i = s.index();
    const CPoint c = centre();
    Anchor anchor{};
    bool rightHalf = true;
    auto mirrored = [&](const Anchor* anchors, int half) {
        if (n != 2 * half) return false;
        rightHalf = i < half;
        anchor = anchors[rightHalf ? i : 2 * half - 1 - i];
        return true;
    };
    if (s.ring() == 0 && n == 3) {
        anchor = kInnerAnchors[i];
    } else if (!(s.ring() == 1 && mirrored(kMiddleAnchors, 6)) &&
               !(s.ring() == 2 && mirrored(kOuterAnchors, 9))) {
        return false;
    }
    const int left = rightHalf ? c.h + anchor.dx - kLabelWidth : c.h - anchor.dx;
    box = CRect(CPoint(left, c.v + anchor.dy), kLabelWidth, kLabelHeight);
    return true;
}

int POrinDiskDescriptor::labelBottom(PDiskSector* sector) {
    CRect box;
    return sector && labelBox(*sector, box) ? box.bottom - kLabelBottomGap : -1;
}

void POrinDiskDescriptor::placePointers(int) {
    for (int i = 0; i < pointerCount(); ++i) {
        pointer(i)->setSector(nullptr, sectorById(preset().icon(i)), false);
    }
    // Again with the final lit counts, so that icons sharing a sector are stacked.
    layoutPointers();
}

void POrinDiskDescriptor::shortenLabel(char* text, int limit) {
    FontRenderer& fonts = FontRenderer::instance();
    std::size_t length = std::strlen(text);
    bool cut = false;
    while (length > 0 && fonts.textWidth(kNormalFontVerySmall, text) > limit) {
        text[--length] = '\0';
        cut = true;
    }
    if (!cut || length == 0) return;
    if (length > 2 && text[length - 2] == ' ') {
        text[length - 2] = '.';
        text[length - 1] = '\0';
    } else {
        text[length - 1] = '.';
    }
}

void POrinDiskDescriptor::drawSectorLabel(PDiskSector* sector, CDrawContext* context,
                                          const CRect& rect) {
    CRect box;
    int limit = kLabelWidth;
    if (sector->iconCount() == 0 || !labelBox(*sector, box)) {
        box = sector->boundingRect();
        limit = int(0.7 * box.width());
        if (sector->ring() == 1) box.offset(middleRingShift(sector->index()), 0);
    }
    if (!box.rectOverlap(rect)) return;
    // An empty sector shows no label; one naming an instrument the pool lacks shows "???".
    const std::int32_t slot = preset().slot(sector->id());
    if (slot == PPreset::kEmptySlot) return;
    const POIP* entry = PPool::shared().get(slot);
    char text[POIP::kTextSize];
    std::snprintf(text, sizeof text, "%s", entry && entry->name[0] ? entry->name : "???");
    shortenLabel(text, limit);
    CColor color = kLabelColor;
    if (!entry || (entry->flags & POIP::kMissingFile)) color = kMissingColor;
    if (entry && (entry->flags & POIP::kPlaceholder)) color = kPlaceholderColor;
    context->setFont(kNormalFontVerySmall);
    context->setFontColor(kLabelShadow);
    CRect shadow = box;
    context->drawString(text, shadow.offset(1, 1));
    context->setFontColor(color);
    context->drawString(text, box);
}

bool POrinDiskDescriptor::sectorMenu(PDiskSector* sector, CDrawContext*, const CPoint& where) {
    PDiskControl* view = control();
    CFrame* frame = view ? view->getFrame() : nullptr;
    if (!frame) return false;
    auto* parent = static_cast<CViewContainer*>(view->getParentView());
    if (!parent) parent = frame;
    sector->addLit(nullptr);
    view->invalid();

    PPool& pool = PPool::shared();
    const int id = sector->id();
    const int current = id >= 0 && id < PPreset::kSlotCount ? preset().slot(id) : -1;
    const POIP* entry = pool.get(current);
    const CRect at = view->getViewSize();
    auto* menu = new COptionMenu(CRect(CPoint(at.left + where.h, at.top + where.v), 1, 1), this, 0);
    menu->setVisible(false);  // only its popup shows
    menu->setScheme(scheme_);
    scheme_->setCurrentText(entry ? entry->category : nullptr);
    for (int c = 0; c < pool.categoryCount(); ++c) {
        auto* submenu = new COptionMenu(CRect(), this, c);
        submenu->setScheme(scheme_);
        MenuFiller filler(*submenu);
        pool.fillMenu(filler, c, current);
        menu->addEntry(submenu, pool.categoryName(c));
        submenu->forget();
    }
    parent->addView(menu);
    const bool chosen = menu->popup();
    scheme_->setCurrentText(nullptr);

    bool changed = false;
    long item = -1;
    const COptionMenu* in = chosen ? menu->getLastItemMenu(item) : nullptr;
    if (in) {
        // The pool may have changed while the menu was open: only an instrument that exists and
        // carries the chosen entry's name is stored.
        const int chosenIndex = pool.indexInCategory(int(in->getTag()), int(item));
        const POIP* instrument = pool.get(chosenIndex);
        const char* title = in->getEntryText(item);
        if (instrument && title && std::strcmp(instrument->name, title) == 0 &&
            chosenIndex != current) {
            preset().setSlot(id, chosenIndex);
            plugin_.loadResourceIntoSlot(id, chosenIndex);
            changed = true;
        }
    }
    parent->removeView(menu);
    sector->removeLit(nullptr);
    if (changed) slotsChanged();
    return true;
}

void POrinDiskDescriptor::pointerPicked(PDiskPointer* pointer) {
    if (host_ && pointer) host_->selectLayer(pointer->index());
}

bool POrinDiskDescriptor::selectIconAt(int icon, const CPoint& centrePoint) {
    PDiskSector* s = sectorAt(centrePoint);
    if (!s || icon < 0 || icon >= PPreset::kIconCount) return false;
    preset().setIcon(icon, s->id());
    return true;
}

void POrinDiskDescriptor::stepSlot(PDiskSector* sector, int steps) {
    if (!sector || steps == 0) return;
    // Positions 0 .. count - 1 are the pool's instruments, position count the empty state.
    const int count = PPool::shared().count();
    const int value = preset().slot(sector->id());
    const long long from = value >= 0 && value < count ? value : count;
    long long to = from + steps;
    if (to < 0) to = count;
    if (to > count) to = 0;
    preset().setSlot(sector->id(), to == count ? PPreset::kEmptySlot : std::int32_t(to));
    plugin_.activatePreset(-1);
    slotsChanged();
}

void POrinDiskDescriptor::slotsChanged() {
    if (host_) host_->paletteChanged();
}
