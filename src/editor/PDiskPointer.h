// An icon on the palette disk: its index (0 Base, 1 Top, 2 Filter), the position of its centre in
// control coordinates, its bitmap (shared; may be absent or not loaded) and the sector it is on.
// Made and owned by its PDiskDescriptor.
#pragma once

#include "gui/GuiTypes.h"

class CBitmap;
class CDrawContext;
class PDiskDescriptor;
class PDiskSector;

class PDiskPointer {
public:
    // Takes over the caller's reference to `bitmap`.
    PDiskPointer(PDiskDescriptor* owner, int index, CBitmap* bitmap = nullptr);
    virtual ~PDiskPointer();
    PDiskPointer(const PDiskPointer&) = delete;
    PDiskPointer& operator=(const PDiskPointer&) = delete;

    // Puts the icon on `sector` (lighting it, un-lighting the one it leaves). With a position the
    // icon goes exactly there; without one it is laid out on the sector: centred (below the
    // sector's label when it has one) when it is alone and not `stacked`, otherwise in the slot of
    // its index, 10 pixels across and 2 down per index, mirrored on the disk's left half.
    virtual void setSector(const CPoint* position, PDiskSector* sector, bool stacked);
    virtual void draw(CDrawContext* context);

    int index() const { return index_; }
    PDiskSector* sector() const { return sector_; }
    const CPoint& position() const { return position_; }
    CBitmap* bitmap() const { return bitmap_; }
    // The icon's size: its bitmap's, or the fallback size when there is no loaded bitmap.
    CPoint iconSize() const;
    // The icon's size centred on its position (integer halves).
    CRect rect() const;

protected:
    PDiskDescriptor* owner_;
    // The size used without a loaded bitmap.
    CPoint fallbackSize_{30, 30};

private:
    int index_;
    CPoint position_;
    CBitmap* bitmap_;
    PDiskSector* sector_ = nullptr;
};
