// A Base, Top or Filter icon on the palette: bitmap 161 + index (38 × 25). Whenever it moves to
// another sector, that sector becomes the layer's selection in the current program's edit
// preset. Without its bitmap it is drawn as a rectangle in its layer's colour with its name.
#pragma once

#include "editor/PDiskPointer.h"

class POrinDiskDescriptor;

class POrinIcon : public PDiskPointer {
public:
    static constexpr long kFirstBitmap = 161;

    POrinIcon(POrinDiskDescriptor* owner, int index);

    void setSector(const CPoint* position, PDiskSector* sector, bool stacked) override;
    void draw(CDrawContext* context) override;

    // The layer's accent colour, shared by everything that shows the layer.
    static CColor layerColor(int layer);

private:
    POrinDiskDescriptor* orin_;
};
