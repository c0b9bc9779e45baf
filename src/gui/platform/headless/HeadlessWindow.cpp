#include "gui/platform/headless/HeadlessWindow.h"

#include <algorithm>

#include "gui/CFrame.h"

void HeadlessWindow::queueMouse(const CPoint& where, long buttons) {
    Step s;
    s.where = where;
    s.buttons = buttons;
    script_.push_back(s);
}

void HeadlessWindow::queueKey(const VstKeyCode& key) {
    Step s;
    s.isKey = true;
    s.key = key;
    s.where = last_;
    s.buttons = 0;
    script_.push_back(s);
}

void HeadlessWindow::present(const CRect& rect) {
    presented_.unite(rect);
    ++presents_;
}

const HeadlessWindow::Step* HeadlessWindow::currentMouse() const {
    return script_.empty() ? nullptr : &script_.front();
}

long HeadlessWindow::mouseButtons() {
    const Step* s = currentMouse();
    return s ? s->buttons : 0;
}

CPoint HeadlessWindow::mouseLocation() {
    if (const Step* s = currentMouse(); s && !s->isKey) last_ = s->where;
    return last_;
}

bool HeadlessWindow::waitForEvents() {
    if (script_.empty()) return false;
    Step s = script_.front();
    script_.pop_front();
    if (s.isKey) {
        frame_.onKeyDown(s.key);
    } else {
        last_ = s.where;
    }
    return true;
}

// Records that it is open and how often it was shown.
class HeadlessWindow::HeadlessPopup : public PopupSurface {
public:
    HeadlessPopup(HeadlessWindow& window, const CRect& rect) : window_(window) {
        record_.rect = rect;
        window_.popups_.push_back(&record_);
    }
    ~HeadlessPopup() override {
        auto& list = window_.popups_;
        list.erase(std::remove(list.begin(), list.end(), &record_), list.end());
    }
    void show(const CBitmap&) override { ++record_.shown; }

private:
    HeadlessWindow& window_;
    Popup record_;
};

std::unique_ptr<PopupSurface> HeadlessWindow::openPopup(const CRect& rect) {
    return std::make_unique<HeadlessPopup>(*this, rect);
}
