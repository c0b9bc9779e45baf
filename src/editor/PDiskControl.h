// The control that shows a PDiskDescriptor: the background with the lit sectors' highlighted
// images, the icons and the sector labels, all drawn through an offscreen bitmap of the control's
// size. A press on an icon picks it and, when the pointer then moves, drags it (clamped to the
// disk; the listener hears of every new position, between a begin and an end of edit, and is
// expected to move the icon through moveIcon); a plain press on a sector sends the selected icon there; a secondary click opens the
// sector's menu.
#pragma once

#include "gui/CControl.h"

class CBitmap;
class CBitmapCollection;
class PDiskDescriptor;
class PDiskPointer;
class PDiskSector;

class PDiskControl : public CControl {
public:
    // Takes references on both image collections and on the background, builds the descriptor
    // when it has no sectors yet, registers itself and the disk centre (explicit, or half the
    // control's size) with it and lays the icons out.
    PDiskControl(const CRect& size, CControlListener* listener, long tag,
                 PDiskDescriptor* descriptor, const CPoint* centre, CBitmapCollection* normal,
                 CBitmapCollection* lit, CBitmap* background, const CPoint& backgroundOffset);
    ~PDiskControl() override;

    // The images of every sector cut out of `source` (whose disk centre lies at `centre`),
    // indexed by sector identifier, each masked to its sector's area and meant to be drawn at
    // the sector's imageRect. A source that is absent or not loaded gives empty slots. The
    // caller owns the one reference on the answer.
    static CBitmapCollection* buildSectorImages(PDiskDescriptor& descriptor, CBitmap* source,
                                                const CPoint& centre);

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    // Only presses inside the disk's ellipse reach the control.
    bool hitTest(const CPoint& where, long buttons = -1) const override;
    bool removed(CView* parent) override;
    bool isTypeOf(const char* type) const override;

    // While an icon is dragged: its index and the drag position in centre coordinates.
    bool dragPosition(int& index, CPoint& centrePos) const;
    // Puts icon `index` exactly at a centre-coordinate position on the sector there; a position
    // outside every ring leaves it where it is.
    void moveIcon(int index, const CPoint& centrePos);
    // Brings the sectors flagged as needing redraw to the screen and clears their flags: drawn
    // into `context` (the control's parent's coordinates) when one is given, else through the
    // frame's next redraw.
    void refreshDirtySectors(CDrawContext* context);

    PDiskDescriptor* descriptor() const { return descriptor_; }
    PDiskPointer* selected() const { return selected_; }

protected:
    CPoint toLocal(const CPoint& parentPoint) const {
        return {parentPoint.h - size.left, parentPoint.v - size.top};
    }
    // The part of the frame to redraw for a rectangle in control coordinates.
    void invalidLocal(const CRect& rect);

private:
    void trackDrag(CDrawContext* context, PDiskPointer* icon, const CPoint& start);
    void plainClick(PDiskPointer* hit, PDiskSector* sector);
    // Draws everything inside `area` (control coordinates) into the offscreen bitmap.
    void paint(const CRect& area);
    void makeDiskMask();
    void copyToScreen(CDrawContext* context, const CRect& area);

    PDiskDescriptor* descriptor_;
    CBitmapCollection* normal_;
    CBitmapCollection* lit_;
    CPoint backgroundOffset_;
    PDiskPointer* selected_ = nullptr;
    bool dragging_ = false;
    CPoint dragPosition_;     // control coordinates
    CBitmap* offscreen_ = nullptr;  // made on the first drawing, released when removed
    // Transparent outside the disk, so that what lies under the control's corners (the page
    // beside the palette) shows through.
    CBitmap* diskMask_ = nullptr;
};
