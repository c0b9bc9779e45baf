// The palette's geometry: three concentric elliptical rings of sectors around the disk centre.
// The artwork generator (resources/art) reads this table too, so the painted sectors and the
// hit tests share one source. Keep one ring per line in the form `{rx, ry, sectors},`.
#pragma once

struct PRing {
    int horizontalRadius;
    int verticalRadius;
    int sectorCount;
};

inline constexpr PRing kPaletteRings[] = {
    {75, 50, 3},
    {148, 96, 12},
    {228, 152, 18},
};
inline constexpr int kPaletteRingCount = 3;
// The disk centre in the palette control (and in its bitmaps 131 and 132).
inline constexpr int kPaletteCentreX = 228;
inline constexpr int kPaletteCentreY = 152;
