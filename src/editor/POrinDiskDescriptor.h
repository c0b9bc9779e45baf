// The palette model of this instrument: the disk's sectors show the current program's edit preset
// slots (one instrument of the pool each, or empty), and the Base, Top and Filter icons select
// the slots that feed the three layers. Made with the editor object and kept while the plug-in
// lives, so that icon positions map to sectors even while the window is closed. It listens to
// its own popup menus (and does nothing with what they report directly).
#pragma once

#include "editor/PDiskDescriptor.h"
#include "gui/CControl.h"

class Orin;
class PaletteHost;
class POrinMenuScheme;
class PPreset;

class POrinDiskDescriptor : public PDiskDescriptor, public CControlListener {
public:
    static constexpr int kLabelWidth = 45;
    static constexpr int kLabelHeight = 12;
    // Label text colours on the dark palette: an excitation, a placeholder for an instrument
    // missing from the library, and an excitation with missing files or an empty slot.
    static constexpr CColor kLabelColor{236, 238, 242, 255};
    static constexpr CColor kPlaceholderColor{236, 92, 92, 255};
    static constexpr CColor kMissingColor{255, 140, 140, 255};
    static constexpr CColor kLabelShadow{14, 16, 20, 255};

    // `host` (the editor window's side; may be null) is told of picks and slot changes.
    POrinDiskDescriptor(Orin& plugin, PaletteHost* host, const PRing* rings, int ringCount,
                        int pointerCount);
    ~POrinDiskDescriptor() override;

    PDiskPointer* createPointer(int index) override;
    int labelBottom(PDiskSector* sector) override;
    // Puts every icon on the sector its edit-preset selection names, then lays them out.
    void placePointers(int hint) override;
    void drawSectorLabel(PDiskSector* sector, CDrawContext* context, const CRect& rect) override;
    // Lets the user choose the sector's excitation from the pool's categories.
    bool sectorMenu(PDiskSector* sector, CDrawContext* context, const CPoint& where) override;
    void pointerPicked(PDiskPointer* pointer) override;
    void valueChanged(CControl*) override {}

    // The current program's edit preset.
    PPreset& preset();
    // The closed-editor mapping of an icon position: the sector under the centre-coordinate
    // point becomes icon `icon`'s selection. False (nothing stored) outside every ring.
    bool selectIconAt(int icon, const CPoint& centrePoint);
    // One wheel movement over a sector: its slot steps `steps` instruments through the pool and
    // the empty state (below the first instrument lies the empty state, above it the first
    // instrument again), then the preset is applied again and the host told.
    void stepSlot(PDiskSector* sector, int steps);
    // The label box of a sector in control coordinates; false when the sector has none.
    bool labelBox(const PDiskSector& sector, CRect& box) const;
    // Cuts `text` (in place) until it fits `limit` pixels in the label font, ending it with a
    // full stop when anything was cut; a text cut to nothing stays empty.
    static void shortenLabel(char* text, int limit);

private:
    void slotsChanged();

    Orin& plugin_;
    PaletteHost* host_;
    POrinMenuScheme* scheme_;
};
