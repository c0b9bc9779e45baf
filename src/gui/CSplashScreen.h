// A click area that opens a splash: a bitmap (or a view) shown in a larger rectangle as the
// frame's modal view until it is clicked away. The value is 1 while the splash shows and 0
// otherwise; the listener is told on opening and on closing.
#pragma once

#include "gui/CControl.h"

class CSplashScreen : public CControl {
public:
    // `toDisplay` is where the splash shows (in the same coordinates as `size`); `offset` is the
    // part of `background` drawn there.
    CSplashScreen(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                  const CRect& toDisplay, const CPoint& offset = {});
    ~CSplashScreen() override;

    // A view drawn over the splash bitmap while it shows (remembered; null removes it). It is
    // laid over the display rectangle and gets idle calls while the splash is open.
    void setSplashView(CView* view);
    CView* getSplashView() const { return splashView_; }

    bool isOpen() const { return open_; }
    void splash();
    void unSplash();

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool hitTest(const CPoint& where, long buttons = -1) const override;
    void onIdle() override;
    bool removed(CView* parent) override;
    bool isTypeOf(const char* type) const override;

private:
    CRect clickArea_;
    CRect display_;
    CPoint offset_;
    CView* splashView_ = nullptr;
    bool open_ = false;
};
