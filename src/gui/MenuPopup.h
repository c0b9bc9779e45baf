// The open state of a popup menu: a modal view over the whole frame showing the root menu's
// panel and the panels of the submenus opened from it, and the loop that waits for a choice.
// Pointer: hovering highlights (and opens submenus); a release over an entry chooses it once the
// pointer has been pressed inside a panel or dragged onto an entry; a press outside every panel
// dismisses the menu. A panel larger than the frame opens in a popup window instead. Keys: Up and
// Down move, Right opens a submenu, Left closes one, Return chooses, Escape dismisses.
#pragma once

#include <memory>
#include <vector>

#include "gui/CView.h"

class COptionMenu;
class COptionMenuScheme;
class PopupSurface;

class MenuPopup : public CView {
public:
    // Shows `root` at `where` in `frame` and returns when it is closed; true when an entry was
    // chosen (the root menu has then recorded the choice).
    static bool run(CFrame& frame, COptionMenu& root, const CPoint& where);

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    bool onWheel(CDrawContext*, const CPoint&, float) override { return true; }

private:
    struct Panel {
        COptionMenu* menu = nullptr;
        CRect rect;
        std::vector<CRect> items;  // frame coordinates
        long highlighted = -1;
        // A panel that does not fit in the frame shows in a popup window of its own.
        std::unique_ptr<PopupSurface> surface;
    };

    MenuPopup(CFrame& frame, COptionMenu& root);
    ~MenuPopup() override;
    void openPanel(COptionMenu* menu, const CPoint& where, const CRect* besides);
    COptionMenuScheme& schemeOf(const COptionMenu* menu) const;
    bool selectable(const Panel& panel, long index) const;
    // Panel and entry under `where` (-1 for none).
    void hit(const CPoint& where, int& panel, long& item) const;
    void hover(const CPoint& where);
    void highlight(int panel, long item);
    void step(int direction);
    void activate(int panel, long item);  // choose, or open a submenu
    void invalidPanels();
    void drawPanel(CDrawContext* context, const Panel& panel);
    // Draws the panels shown in popup windows again.
    void showExternalPanels();

    CFrame& frame_;
    COptionMenu& root_;
    std::unique_ptr<COptionMenuScheme, void (*)(COptionMenuScheme*)> defaultScheme_;
    std::vector<Panel> panels_;
    bool done_ = false;
    bool chosen_ = false;
    bool pressPending_ = false;
    bool externalChanged_ = false;
    CPoint pressWhere_;
};
