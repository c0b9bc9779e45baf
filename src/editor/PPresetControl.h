// The edit preset's name on the window's top bar. A press opens the preset menu: the four groups
// as submenus listing their presets, the current preset checked; the preset chosen there is
// selected as a click on the preset page's list selects it. The control redraws by itself when
// the name it shows changes (a rename, another preset or program). Presses that open the window's
// context menu (a secondary click, Control and a click) pass through to the window beneath.
#pragma once

#include <string>

#include "gui/CView.h"

class COptionMenu;
class PPresetEditor;

class PPresetControl : public CView {
public:
    // `background` (optional) is drawn at the control's place; without it the control draws
    // its own recessed plate.
    PPresetControl(const CRect& size, PPresetEditor& presets, CBitmap* background = nullptr);

    void setFontColor(const CColor& color) { fontColor_ = color; }
    // The name as the control shows it now.
    std::string shownText() const;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool hitTest(const CPoint& where, long buttons = -1) const override;
    bool isDirty() const override;
    bool isTypeOf(const char* type) const override;

private:
    const char* currentName() const;
    // The menu of every preset by group; `groups` receives its four submenus.
    COptionMenu* makeMenu(COptionMenu* (&groups)[4]) const;

    PPresetEditor& presets_;
    CColor fontColor_;
    std::string drawn_;  // the name drawn last
};
