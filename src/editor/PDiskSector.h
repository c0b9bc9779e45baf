// One sector of the palette disk: its place on the rings, how many icons and temporary highlights
// light it, its cached bounding rectangle and its redraw flags. Sectors are made and owned by
// their PDiskDescriptor; the identifier is the sector's position over all rings (inner ring
// first) and names the preset slot that the sector shows.
#pragma once

#include <cstdint>

#include "gui/GuiTypes.h"

class CDrawContext;
class PDiskDescriptor;
class PDiskPointer;

class PDiskSector {
public:
    enum Flags : std::uint32_t {
        kRectCached = 1,
        kNeedsRedraw = 2,  // to be brought to the screen by the control's refreshDirtySectors
    };

    PDiskSector() = default;
    virtual ~PDiskSector() = default;
    PDiskSector(const PDiskSector&) = delete;
    PDiskSector& operator=(const PDiskSector&) = delete;

    // Called once by the descriptor when it builds the disk.
    void init(PDiskDescriptor* owner, int ring, int index, int id, double startAngle);

    // Draws the sector's label inside `rect` (the descriptor decides what and how).
    virtual void drawLabel(CDrawContext* context, const CRect& rect);
    // Opens the sector's menu at `where` (control coordinates); true when the control must be
    // redrawn.
    virtual bool openMenu(CDrawContext* context, const CPoint& where);
    // An icon arrives (pointer given) or a temporary highlight starts (null).
    virtual void addLit(PDiskPointer* pointer);
    virtual void removeLit(PDiskPointer* pointer);

    PDiskDescriptor* descriptor() const { return owner_; }
    int ring() const { return ring_; }
    int index() const { return index_; }
    int id() const { return id_; }
    double startAngle() const { return startAngle_; }
    int litCount() const { return litCount_; }
    int iconCount() const { return iconCount_; }

    // The rectangle spanned by the sector's corners and the ring's extreme points it passes,
    // in control coordinates; computed once for the descriptor's centre.
    const CRect& boundingRect();
    // The bounding rectangle grown by two pixels: what the sector's image covers (its outline
    // reaches a pixel beyond the ring ellipses).
    CRect imageRect();
    // Forgets the cached rectangle (the disk centre moved).
    void clearCachedRect() { flags_ &= ~kRectCached; }

    bool hasFlag(Flags flag) const { return (flags_ & flag) != 0; }
    void setFlag(Flags flag, bool on = true) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }
    void setNeedsRedraw() { setFlag(kNeedsRedraw); }

private:
    PDiskDescriptor* owner_ = nullptr;
    int ring_ = 0;
    int index_ = 0;
    int id_ = 0;
    double startAngle_ = 0.0;
    int litCount_ = 0;
    int iconCount_ = 0;
    CRect rect_;
    std::uint32_t flags_ = 0;
};
