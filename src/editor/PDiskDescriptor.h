// The palette disk as a model, knowing nothing of what the sectors show: concentric elliptical
// rings divided into equal sectors, and the icons (pointers) lying on them. The descriptor owns its
// sectors and pointers and outlives the control that shows it (the control comes and goes with
// the editor window and registers itself here while it exists).
//
// Two coordinate systems: control coordinates are pixels from the control's top-left corner, y
// down; centre coordinates are relative to the disk centre, y up. Angles are radians clockwise
// from 12 o'clock. The hit test scales y so that the outer ellipse becomes a circle and uses
// that one factor for every ring.
#pragma once

#include <memory>
#include <vector>

#include "editor/PaletteRings.h"
#include "gui/GuiTypes.h"

class CDrawContext;
class PDiskControl;
class PDiskPointer;
class PDiskSector;

class PDiskDescriptor {
public:
    // `rings` is borrowed (it must outlive the descriptor), inner ring first.
    PDiskDescriptor(const PRing* rings, int ringCount, int pointerCount);
    virtual ~PDiskDescriptor();
    PDiskDescriptor(const PDiskDescriptor&) = delete;
    PDiskDescriptor& operator=(const PDiskDescriptor&) = delete;

    virtual PDiskSector* createSector();
    virtual PDiskPointer* createPointer(int index);
    // Makes the sectors ring by ring and then the pointers; does nothing once built.
    virtual void build();
    // The y just under the sector's label box (where an icon's top may start), or -1 for none.
    virtual int labelBottom(PDiskSector* sector);
    // Lays the pointers out on their sectors (here: all on the first sector, stacked). The
    // argument is a layout hint this palette does not use.
    virtual void placePointers(int hint);
    // Lays every pointer out again on its own sector (single layout where it is alone).
    void layoutPointers();
    virtual void drawSectorLabel(PDiskSector* sector, CDrawContext* context, const CRect& rect);
    // The sector's menu opened at `where` (control coordinates); true when the control must be
    // redrawn. None here.
    virtual bool sectorMenu(PDiskSector* sector, CDrawContext* context, const CPoint& where);
    // A pointer was pressed or became the selected one; the press is over.
    virtual void pointerPicked(PDiskPointer* pointer);
    virtual void pointerReleased(PDiskPointer* pointer);

    // ---- Geometry ----
    int ringCount() const { return ringCount_; }
    const PRing& ring(int r) const { return rings_[r]; }
    const PRing& outerRing() const { return rings_[ringCount_ - 1]; }
    int sectorCount() const { return int(sectors_.size()); }
    PDiskSector* sectorById(int id) const;
    PDiskSector* sector(int ring, int index) const;
    // The sector under a centre-coordinate point; null outside every ring.
    PDiskSector* sectorAt(const CPoint& centrePoint) const;
    // Whether a centre-coordinate point lies inside the outer ellipse.
    bool insideDisk(const CPoint& centrePoint) const;
    // Whether a centre-coordinate point (fractional, e.g. a pixel's middle) lies in the sector's
    // area widened by about a pixel on every side: the region its image covers.
    bool inSectorArea(const PDiskSector& sector, double x, double y) const;
    // The point of ring r's ellipse at `angle` in control coordinates (r = -1: the centre).
    CPoint ellipsePoint(int r, double angle) const;
    CRect computeBoundingRect(const PDiskSector& sector) const;
    // Angular width of ring r's sectors.
    double sectorStep(int r) const;

    int pointerCount() const { return int(pointers_.size()); }
    PDiskPointer* pointer(int index) const;
    // The last pointer (in index order) whose rectangle holds the control point.
    PDiskPointer* pointerAt(const CPoint& controlPoint) const;
    // A control point pulled inside the ellipse that the pointer's centre may reach (the outer
    // ring shrunk by most of the pointer's size).
    CPoint clampToDisk(const PDiskPointer& pointer, const CPoint& controlPoint) const;

    // The disk centre in control coordinates (half the outer ring's size until a control says
    // otherwise).
    const CPoint& centre() const { return centre_; }
    void setCentre(const CPoint& centre);
    CPoint toCentre(const CPoint& controlPoint) const;
    CPoint toControl(const CPoint& centrePoint) const;

    // The control showing the disk, or null while there is none.
    PDiskControl* control() const { return control_; }
    void setControl(PDiskControl* control) { control_ = control; }

private:
    const PRing* rings_;
    int ringCount_;
    int wantedPointers_;
    std::vector<std::unique_ptr<PDiskSector>> sectors_;  // in identifier order
    std::vector<int> firstOfRing_;
    std::vector<std::unique_ptr<PDiskPointer>> pointers_;
    PDiskControl* control_ = nullptr;
    CPoint centre_;
};
