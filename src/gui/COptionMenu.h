// A menu of text entries: separators ("-"), check marks, disabled entries, submenus, and a
// current entry that the control shows as its text. A press (or popup()) shows the menu in the
// frame and waits until an entry is chosen or the menu is dismissed; the chosen entry becomes
// its menu's current one, and the listener of that menu (or, when it has none, of the root
// menu) is told.
#pragma once

#include <string>
#include <vector>

#include "gui/CParamDisplay.h"

class COptionMenuScheme;

class COptionMenu : public CParamDisplay {
public:
    // Entry flags.
    enum EntryFlags : long { kChecked = 1, kDisabled = 2, kTitle = 4 };

    COptionMenu(const CRect& size, CControlListener* listener, long tag,
                CBitmap* background = nullptr, long style = 0);
    ~COptionMenu() override;

    // Adds an entry at `index` (-1: at the end); the text "-" makes a separator.
    bool addEntry(const char* text, long index = -1, long flags = 0);
    // Adds a submenu under `text` (the submenu is remembered).
    bool addEntry(COptionMenu* submenu, const char* text);
    bool addSeparator() { return addEntry("-"); }
    bool removeEntry(long index);
    void removeAllEntry();
    long getNbEntries() const { return long(entries_.size()); }
    // Copies the entry's text (at most kTextCapacity bytes); false for a bad index.
    bool getEntry(long index, char* text) const;
    const char* getEntryText(long index) const;
    bool isSeparator(long index) const;
    COptionMenu* getSubMenu(long index) const;
    long getEntryFlags(long index) const;
    bool checkEntry(long index, bool checked);
    // Checks `index` and clears every other check mark.
    bool checkEntryAlone(long index);
    bool isCheckEntry(long index) const;
    bool enableEntry(long index, bool enabled);

    long getCurrent() const { return current_; }
    bool setCurrent(long index);
    void setValue(float value) override;
    // The entry chosen last and the menu (this one or a submenu) it belongs to.
    long getLastResult() const { return lastResult_; }
    COptionMenu* getLastItemMenu(long& indexInMenu) const;

    // The scheme that draws this menu's items (remembered; null: the default look).
    void setScheme(COptionMenuScheme* scheme);
    COptionMenuScheme* getScheme() const { return scheme_; }

    // Shows the menu with its top-left corner at `where` (frame coordinates) and waits for a
    // choice; true when an entry was chosen.
    bool popup(const CPoint& where);
    // Shows the menu at the control's own top-left corner.
    bool popup();

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    void takeFocus() override;
    bool isTypeOf(const char* type) const override;

    // Records the choice of entry `index` of `menu` (this menu or one of its submenus).
    void choose(COptionMenu* menu, long index);

private:
    struct Entry {
        std::string text;
        long flags = 0;
        COptionMenu* submenu = nullptr;
    };
    bool validIndex(long index) const { return index >= 0 && index < getNbEntries(); }

    std::vector<Entry> entries_;
    long current_ = -1;
    long lastResult_ = -1;
    COptionMenu* lastMenu_ = nullptr;
    COptionMenuScheme* scheme_ = nullptr;
    bool popping_ = false;
};
