#include "gui/MenuPopup.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"
#include "gui/COptionMenu.h"
#include "gui/COptionMenuScheme.h"
#include "gui/PlatformWindow.h"

namespace {
constexpr CCoord kBorder = 1;
}

MenuPopup::MenuPopup(CFrame& frame, COptionMenu& root)
    : CView(frame.getViewSize()),
      frame_(frame),
      root_(root),
      defaultScheme_(new COptionMenuScheme, [](COptionMenuScheme* s) { s->forget(); }) {}

MenuPopup::~MenuPopup() = default;

COptionMenuScheme& MenuPopup::schemeOf(const COptionMenu* menu) const {
    for (const COptionMenu* m : {menu, static_cast<const COptionMenu*>(&root_)}) {
        if (m->getScheme()) return *m->getScheme();
    }
    return *defaultScheme_;
}

void MenuPopup::openPanel(COptionMenu* menu, const CPoint& where, const CRect* besides) {
    COptionMenuScheme& scheme = schemeOf(menu);
    Panel panel;
    panel.menu = menu;
    std::vector<CPoint> sizes;
    CCoord width = 0, height = 0;
    for (long i = 0; i < menu->getNbEntries(); ++i) {
        CPoint s;
        long state = menu->isSeparator(i) ? long(COptionMenuScheme::kSeparator) : 0L;
        scheme.getItemSize(menu->getEntryText(i), state, nullptr, s);
        sizes.push_back(s);
        width = std::max(width, s.h);
        height += s.v;
    }
    if (menu == &root_) width = std::max(width, root_.getWidth() - 2 * kBorder);
    const CRect area = frame_.getViewSize();
    CRect r(where, width + 2 * kBorder, height + 2 * kBorder);
    if (besides && r.right > area.right) r.moveTo(besides->left - r.width(), r.top);
    if (r.width() > area.width() || r.height() > area.height()) {
        panel.surface = frame_.platformWindow()->openPopup(r);
    }
    if (!panel.surface) {
        // Keep the panel inside the frame where it fits; a taller panel starts at the top.
        if (r.right > area.right) r.offset(area.right - r.right, 0);
        if (r.left < area.left) r.offset(area.left - r.left, 0);
        if (r.bottom > area.bottom) r.offset(0, area.bottom - r.bottom);
        if (r.top < area.top) r.offset(0, area.top - r.top);
    }
    panel.rect = r;
    CCoord y = r.top + kBorder;
    for (const CPoint& s : sizes) {
        panel.items.emplace_back(r.left + kBorder, y, r.right - kBorder, y + s.v);
        y += s.v;
    }
    panels_.push_back(std::move(panel));
    invalidPanels();
}

bool MenuPopup::selectable(const Panel& panel, long index) const {
    return index >= 0 && index < panel.menu->getNbEntries() && !panel.menu->isSeparator(index) &&
           !(panel.menu->getEntryFlags(index) & (COptionMenu::kDisabled | COptionMenu::kTitle));
}

void MenuPopup::hit(const CPoint& where, int& panel, long& item) const {
    panel = -1;
    item = -1;
    for (int p = int(panels_.size()) - 1; p >= 0; --p) {
        if (!panels_[std::size_t(p)].rect.pointInside(where)) continue;
        panel = p;
        const std::vector<CRect>& items = panels_[std::size_t(p)].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].pointInside(where)) item = long(i);
        }
        return;
    }
}

void MenuPopup::invalidPanels() {
    for (const Panel& p : panels_) {
        if (!p.surface) frame_.invalidRect(p.rect);
    }
    externalChanged_ = true;
}

void MenuPopup::showExternalPanels() {
    if (!externalChanged_) return;
    externalChanged_ = false;
    for (const Panel& p : panels_) {
        if (!p.surface) continue;
        COffscreenContext context(&frame_, p.rect.width(), p.rect.height());
        context.setOffset(CPoint(-p.rect.left, -p.rect.top));
        drawPanel(&context, p);
        p.surface->show(*context.getBitmap());
    }
}

void MenuPopup::highlight(int panel, long item) {
    invalidPanels();
    // Panels deeper than the one pointed at close, unless they hang from the highlighted entry.
    while (int(panels_.size()) > panel + 1) {
        const Panel& parent = panels_[std::size_t(panel)];
        if (item >= 0 && parent.menu->getSubMenu(item) == panels_[std::size_t(panel) + 1].menu &&
            int(panels_.size()) == panel + 2) {
            break;
        }
        panels_.pop_back();
    }
    Panel& p = panels_[std::size_t(panel)];
    p.highlighted = item;
    if (COptionMenu* sub = p.menu->getSubMenu(item);
        sub && selectable(p, item) && int(panels_.size()) == panel + 1) {
        const CRect& at = p.items[std::size_t(item)];
        openPanel(sub, CPoint(p.rect.right, at.top - kBorder), &p.rect);
    }
    invalidPanels();
}

void MenuPopup::hover(const CPoint& where) {
    int panel;
    long item;
    hit(where, panel, item);
    if (panel < 0) return;
    if (panels_[std::size_t(panel)].highlighted != item || int(panels_.size()) > panel + 1) {
        highlight(panel, item);
    }
}

void MenuPopup::step(int direction) {
    Panel& p = panels_.back();
    long n = p.menu->getNbEntries();
    long i = p.highlighted;
    for (long tries = 0; tries < n; ++tries) {
        i = (i < 0 && direction < 0) ? n - 1 : (i + direction + n) % n;
        if (selectable(p, i)) {
            p.highlighted = i;
            invalidPanels();
            return;
        }
    }
}

void MenuPopup::activate(int panel, long item) {
    Panel& p = panels_[std::size_t(panel)];
    if (!selectable(p, item)) return;
    if (p.menu->getSubMenu(item)) {
        highlight(panel, item);
        if (int(panels_.size()) > panel + 1) step(1);
        return;
    }
    root_.choose(p.menu, item);
    chosen_ = true;
    done_ = true;
}

void MenuPopup::drawPanel(CDrawContext* context, const Panel& p) {
    COptionMenuScheme& scheme = schemeOf(p.menu);
    CRect saved;
    context->getClipRect(saved);
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        long index = long(i);
        long state = 0;
        if (p.menu->isSeparator(index)) state |= COptionMenuScheme::kSeparator;
        if (p.menu->isCheckEntry(index)) state |= COptionMenuScheme::kChecked;
        long flags = p.menu->getEntryFlags(index);
        if (flags & COptionMenu::kDisabled) state |= COptionMenuScheme::kDisabled;
        if (flags & COptionMenu::kTitle) state |= COptionMenuScheme::kTitle;
        if (p.menu->getSubMenu(index)) state |= COptionMenuScheme::kSubMenu;
        if (p.highlighted == index) state |= COptionMenuScheme::kSelected;
        CRect clip = p.items[i];
        context->setClipRect(clip.bound(p.rect).bound(saved));
        scheme.drawItem(p.menu->getEntryText(index), index, state, context, p.items[i]);
    }
    context->setClipRect(saved);
    context->setFrameColor(kGreyCColor);
    context->drawRect(p.rect);
}

void MenuPopup::draw(CDrawContext* context) {
    for (const Panel& p : panels_) {
        if (!p.surface) drawPanel(context, p);
    }
    setDirty(false);
}

void MenuPopup::mouse(CDrawContext*, CPoint& where, long) {
    // Presses reported as events are kept for the loop, which also polls the buttons, so that a
    // click shorter than one turn of the loop is not lost.
    pressPending_ = true;
    pressWhere_ = where;
}

long MenuPopup::onKeyDown(VstKeyCode& key) {
    if (panels_.empty()) return -1;
    switch (key.virt) {
        case VKEY_UP:
            step(-1);
            break;
        case VKEY_DOWN:
            step(1);
            break;
        case VKEY_RIGHT:
            activate(int(panels_.size()) - 1, panels_.back().highlighted);
            break;
        case VKEY_LEFT:
            if (panels_.size() > 1) {
                invalidPanels();
                panels_.pop_back();
            }
            break;
        case VKEY_RETURN:
        case VKEY_ENTER:
            activate(int(panels_.size()) - 1, panels_.back().highlighted);
            break;
        case VKEY_ESCAPE:
            done_ = true;
            break;
        default:
            break;
    }
    return 1;
}

bool MenuPopup::run(CFrame& frame, COptionMenu& root, const CPoint& where) {
    MenuPopup* popup = new MenuPopup(frame, root);
    if (!frame.setModalView(popup)) {
        popup->forget();
        return false;
    }
    popup->openPanel(&root, where, nullptr);
    long previous = frame.getCurrentMouseButtons() & kMouseButtons;
    const CPoint opening = frame.getCurrentMouseLocation();
    bool armed = false;  // a release may choose: pressed inside, or dragged onto an entry
    for (;;) {
        long buttons = frame.getCurrentMouseButtons() & kMouseButtons;
        CPoint p = frame.getCurrentMouseLocation();
        if (p != opening || buttons) popup->hover(p);
        const bool pressEvent = popup->pressPending_;
        bool pressed = pressEvent || (buttons && !previous);
        if (pressEvent) p = popup->pressWhere_;
        popup->pressPending_ = false;
        int panel;
        long item;
        popup->hit(p, panel, item);
        if (pressed) {
            if (panel < 0) popup->done_ = true;
            armed = true;
        } else if (buttons && p != opening && item >= 0) {
            armed = true;
        }
        // A release, or a whole click that came and went between two turns, chooses.
        bool released = !buttons && (previous || pressEvent);
        if (released && armed && panel >= 0 && !popup->done_) popup->activate(panel, item);
        previous = buttons;
        if (popup->done_) break;
        popup->showExternalPanels();
        if (!frame.doIdleStuff()) break;
    }
    bool chosen = popup->chosen_;
    frame.setModalView(nullptr);
    popup->forget();
    frame.invalidRect(frame.getViewSize());
    return chosen;
}
