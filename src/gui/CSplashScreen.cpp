#include "gui/CSplashScreen.h"

#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, long tag,
                             CBitmap* background, const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background),
      clickArea_(size),
      display_(toDisplay),
      offset_(offset) {
    setValue(0);
}

CSplashScreen::~CSplashScreen() {
    if (splashView_) splashView_->forget();
}

void CSplashScreen::setSplashView(CView* view) {
    if (view) view->remember();
    if (splashView_) splashView_->forget();
    splashView_ = view;
    if (splashView_) {
        splashView_->setViewSize(display_, false);
        splashView_->setMouseableArea(display_);
    }
}

void CSplashScreen::splash() {
    if (open_ || !getFrame()) return;
    if (!getFrame()->setModalView(this)) return;
    open_ = true;
    size = display_;
    mouseableArea = display_;
    if (splashView_) {
        splashView_->setFrame(getFrame());
        splashView_->setParentView(getParentView());
    }
    setWantsIdle(splashView_ != nullptr);
    setValue(getMax());
    valueChanged();
    invalid();
}

void CSplashScreen::unSplash() {
    if (!open_) return;
    invalid();
    open_ = false;
    setWantsIdle(false);
    if (getFrame() && getFrame()->getModalView() == this) getFrame()->setModalView(nullptr);
    size = clickArea_;
    mouseableArea = clickArea_;
    setValue(getMin());
    valueChanged();
    invalid();
}

void CSplashScreen::draw(CDrawContext* context) {
    if (open_) {
        if (CBitmap* image = getBackground()) image->draw(context, display_, offset_);
        if (splashView_) splashView_->drawRect(context, display_);
    }
    setDirty(false);
}

void CSplashScreen::mouse(CDrawContext* context, CPoint&, long buttons) {
    if (!getMouseEnabled()) return;
    if (buttons == -1 && context) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    if (open_) {
        unSplash();
    } else {
        splash();
    }
}

bool CSplashScreen::hitTest(const CPoint& where, long) const {
    return (open_ ? display_ : clickArea_).pointInside(where);
}

void CSplashScreen::onIdle() {
    if (open_ && splashView_) splashView_->onIdle();
}

bool CSplashScreen::removed(CView* parent) {
    if (open_) {
        open_ = false;
        size = clickArea_;
        mouseableArea = clickArea_;
        setValue(getMin());
    }
    return CControl::removed(parent);
}

bool CSplashScreen::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CSplashScreen") == 0) || CControl::isTypeOf(type);
}
