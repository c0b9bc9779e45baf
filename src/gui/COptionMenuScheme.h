// How popup menu items are measured and drawn. The default draws a light item, a dark
// highlighted one, a check mark, the text and a submenu arrow; a subclass may draw its own.
// Shared by reference among menus.
#pragma once

#include "gui/CReferenceCounter.h"
#include "gui/GuiTypes.h"

class CDrawContext;

class COptionMenuScheme : public CReferenceCounter {
public:
    // Item state bits for drawItem.
    enum ItemState : long {
        kChecked = 1 << 0,
        kDisabled = 1 << 1,
        kSelected = 1 << 2,  // under the pointer or the keyboard selection
        kSubMenu = 1 << 3,
        kTitle = 1 << 4,
        kSeparator = 1 << 5,
    };

    COptionMenuScheme();

    // Width and height of the item showing `text` (a separator when `state` has kSeparator).
    virtual void getItemSize(const char* text, long state, CDrawContext* context, CPoint& size);
    virtual void drawItem(const char* text, long itemId, long state, CDrawContext* context,
                          const CRect& rect);

    void setFont(int font) { font_ = font; }
    int getFont() const { return font_; }
    void setColors(const CColor& background, const CColor& selection, const CColor& text,
                   const CColor& highlightText, const CColor& disabledText);

protected:
    int font_ = kNormalFont;
    CColor background_{240, 240, 240, 255};
    CColor selection_{51, 102, 204, 255};
    CColor text_ = kBlackCColor;
    CColor highlightText_ = kWhiteCColor;
    CColor disabledText_{150, 150, 150, 255};
};
