// The look of the palette's excitation menus: every item on the menu-item bitmap (resource 160),
// light text on it, white text and a glow where the pointer is, and the category that holds the
// sector's current excitation drawn checked. One instance per process, shared by every palette
// model; it lives while a model holds a reference.
#pragma once

#include "gui/COptionMenuScheme.h"

class CBitmap;

class COptionMenu;

class POrinMenuScheme : public COptionMenuScheme {
public:
    static constexpr long kItemBitmap = 160;
    static constexpr int kTextCapacity = 128;

    // The shared scheme with one more reference for the caller (made on first use); the caller
    // gives it back with forget().
    static POrinMenuScheme* acquire();
    // Gives `menu` the shared scheme, so that every menu of the window looks alike.
    static void applyTo(COptionMenu& menu);
    ~POrinMenuScheme() override;

    // The item text to draw checked; null or empty marks none.
    void setCurrentText(const char* text);
    const char* currentText() const { return current_; }

    void drawItem(const char* text, long itemId, long state, CDrawContext* context,
                  const CRect& rect) override;

private:
    POrinMenuScheme();

    char current_[kTextCapacity] = {};
    CBitmap* itemBitmap_;
};
