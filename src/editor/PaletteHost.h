// What the palette asks of the editor window around it.
#pragma once

class PaletteHost {
public:
    virtual ~PaletteHost() = default;
    // An icon was picked: a page that shows one layer (LFO, envelopes) switches to this one.
    virtual void selectLayer(int layer) = 0;
    // The palette changed the edit preset's slots (a wheel step, a sector menu choice): the
    // window refreshes the palette and the page that is showing.
    virtual void paletteChanged() = 0;
};
