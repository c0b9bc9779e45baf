#include "gui/COptionMenu.h"

#include <cstring>

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COptionMenuScheme.h"
#include "gui/MenuPopup.h"

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, long tag,
                         CBitmap* background, long style)
    : CParamDisplay(size, background, style) {
    setListener(listener);
    setTag(tag);
    setMin(-1);
    setMax(-1);
    setValue(-1);
}

COptionMenu::~COptionMenu() {
    removeAllEntry();
    if (scheme_) scheme_->forget();
}

bool COptionMenu::addEntry(const char* text, long index, long flags) {
    Entry entry;
    entry.text = text ? text : "";
    if (entry.text.size() >= std::size_t(kTextCapacity)) entry.text.resize(kTextCapacity - 1);
    entry.flags = flags;
    if (index < 0 || index > getNbEntries()) index = getNbEntries();
    entries_.insert(entries_.begin() + index, std::move(entry));
    setMax(float(getNbEntries() - 1));
    return true;
}

bool COptionMenu::addEntry(COptionMenu* submenu, const char* text) {
    if (!submenu || submenu == this || !addEntry(text)) return false;
    submenu->remember();
    entries_.back().submenu = submenu;
    return true;
}

bool COptionMenu::removeEntry(long index) {
    if (!validIndex(index)) return false;
    if (COptionMenu* sub = entries_[std::size_t(index)].submenu) sub->forget();
    entries_.erase(entries_.begin() + index);
    if (current_ >= getNbEntries()) setCurrent(getNbEntries() - 1);
    setMax(float(getNbEntries() - 1));
    return true;
}

void COptionMenu::removeAllEntry() {
    while (!entries_.empty()) removeEntry(getNbEntries() - 1);
    current_ = -1;
    CControl::setValue(-1);
}

bool COptionMenu::getEntry(long index, char* text) const {
    if (!validIndex(index) || !text) return false;
    const std::string& s = entries_[std::size_t(index)].text;
    std::memcpy(text, s.c_str(), s.size() + 1);
    return true;
}

const char* COptionMenu::getEntryText(long index) const {
    return validIndex(index) ? entries_[std::size_t(index)].text.c_str() : nullptr;
}

bool COptionMenu::isSeparator(long index) const {
    return validIndex(index) && entries_[std::size_t(index)].text == "-";
}

COptionMenu* COptionMenu::getSubMenu(long index) const {
    return validIndex(index) ? entries_[std::size_t(index)].submenu : nullptr;
}

long COptionMenu::getEntryFlags(long index) const {
    return validIndex(index) ? entries_[std::size_t(index)].flags : 0;
}

bool COptionMenu::checkEntry(long index, bool checked) {
    if (!validIndex(index) || isSeparator(index)) return false;
    long& flags = entries_[std::size_t(index)].flags;
    flags = checked ? (flags | kChecked) : (flags & ~kChecked);
    return true;
}

bool COptionMenu::checkEntryAlone(long index) {
    if (!validIndex(index)) return false;
    for (long i = 0; i < getNbEntries(); ++i) checkEntry(i, i == index);
    return true;
}

bool COptionMenu::isCheckEntry(long index) const {
    return getEntryFlags(index) & kChecked;
}

bool COptionMenu::enableEntry(long index, bool enabled) {
    if (!validIndex(index)) return false;
    long& flags = entries_[std::size_t(index)].flags;
    flags = enabled ? (flags & ~kDisabled) : (flags | kDisabled);
    return true;
}

bool COptionMenu::setCurrent(long index) {
    if (index != -1 && (!validIndex(index) || isSeparator(index))) return false;
    current_ = index;
    CControl::setValue(float(index));
    setDirty(true);
    return true;
}

void COptionMenu::setValue(float value) {
    setCurrent(long(value));
}

COptionMenu* COptionMenu::getLastItemMenu(long& indexInMenu) const {
    indexInMenu = lastMenu_ ? lastMenu_->lastResult_ : -1;
    return lastMenu_;
}

void COptionMenu::setScheme(COptionMenuScheme* scheme) {
    if (scheme) scheme->remember();
    if (scheme_) scheme_->forget();
    scheme_ = scheme;
}

void COptionMenu::choose(COptionMenu* menu, long index) {
    lastMenu_ = menu;
    lastResult_ = index;
    if (menu != this) menu->lastResult_ = index;
    menu->setCurrent(index);
    CControlListener* listener = menu->getListener() ? menu->getListener() : getListener();
    if (listener) listener->valueChanged(menu->getListener() ? menu : this);
}

bool COptionMenu::popup(const CPoint& where) {
    CFrame* frame = getFrame();
    if (!frame || popping_ || entries_.empty()) return false;
    // A listener may remove this menu from its container when told of the choice; the extra
    // reference keeps it alive until the popup has finished with it.
    remember();
    popping_ = true;
    lastMenu_ = nullptr;
    lastResult_ = -1;
    beginEdit();
    bool chosen = MenuPopup::run(*frame, *this, where);
    endEdit();
    popping_ = false;
    invalid();
    forget();
    return chosen;
}

bool COptionMenu::popup() {
    CRect r = size;
    localToFrame(r);
    return popup(r.topLeft());
}

void COptionMenu::draw(CDrawContext* context) {
    const char* text = getEntryText(current_);
    drawText(context, text && !isSeparator(current_) ? text : "");
    setDirty(false);
}

void COptionMenu::mouse(CDrawContext* context, CPoint&, long buttons) {
    if (!getMouseEnabled()) return;
    if (buttons == -1 && context) buttons = context->getMouseButtons();
    if (buttons & (kLButton | kRButton)) popup();
}

void COptionMenu::takeFocus() {
    popup();
}

bool COptionMenu::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "COptionMenu") == 0) || CParamDisplay::isTypeOf(type);
}
