#!/usr/bin/env python3
"""Composes the rendered artwork into an SVG of the whole window, as the editor will lay it out,
for looking at the images together (render it with rsvg-convert).

Usage: preview.py RINGS_HEADER PNG_DIR OUTPUT_DIR

Writes window.svg, about.svg and controllers.svg into OUTPUT_DIR.

Sample sector labels are drawn as the editor draws them (9-pixel light text), icons sit on a few
sectors, one sector is lit from the highlighted palette image and the GLOBAL page button is on.
"""
import base64
import math
import os
import sys

import generate as art


def image(png_dir, ident, x, y, w, h, crop=None, clip=None):
    with open(os.path.join(png_dir, "%d.png" % ident), "rb") as f:
        data = base64.b64encode(f.read()).decode("ascii")
    if crop is None:
        crop = (0, 0, w, h)
    cx, cy, cw, ch = crop
    clip_attr = ' clip-path="url(#%s)"' % clip if clip else ""
    return ('<svg x="%d" y="%d" width="%d" height="%d" viewBox="%d %d %d %d"%s>'
            '<image width="%d" height="%d" href="data:image/png;base64,%s"/></svg>'
            % (x, y, cw, ch, cx, cy, cw, ch, clip_attr, w, h, data))


def middle(palette, sectors, sid):
    """The middle of a sector: half-way between its rings, half-way between its edges."""
    r, i, _ = sectors[sid]
    rx, ry, n = palette.rings[r]
    irx, iry = palette.rings[r - 1][:2] if r else (0, 0)
    return palette.point((rx + irx) / 2, (ry + iry) / 2, (i + 0.5) * 2 * math.pi / n)


def main(argv):
    rings_header, png_dir, out_dir = argv[1:4]
    palette = art.Palette(*art.parse_rings(rings_header))
    sectors = palette.sectors()
    ox, oy = art.PALETTE_ORIGIN
    lit = [5, 20]  # sector identifiers shown lit (icons sit on them)
    defs = "".join('<clipPath id="lit%d"><path d="%s"/></clipPath>' % (s, sectors[s][2])
                   for s in lit)
    parts = [image(png_dir, 129, 0, 0, 735, 449),
             image(png_dir, 133, 369, 0, 366, 449),
             image(png_dir, 131, ox, oy, 459, 304, crop=(0, 0, 456, 304))]
    for s in lit:
        parts.append('<g transform="translate(%d,%d)">%s</g>'
                     % (ox, oy, image(png_dir, 132, 0, 0, 459, 304, clip="lit%d" % s)))
    # Sample labels, centred near each sector's middle.
    names = ["Marimba", "Bowed Gls", "Kalimba", "Steel Drum", "Vibes", "Gong", "Cello Pz",
             "Flute Br", "Bell", "Harp", "Koto", "Tabla", "Glass", "Piano", "Organ"]
    for sid in range(len(sectors)):
        mx, my = middle(palette, sectors, sid)
        parts.append(art.text(ox + mx, oy + my + 3, names[sid % len(names)], 9, art.INK,
                              "middle"))
    # Icons: B and T on sector 5, F on sector 20.
    for ident, sid, dx in ((161, 5, -10), (162, 5, 10), (163, 20, 0)):
        mx, my = middle(palette, sectors, sid)
        parts.append(image(png_dir, ident, int(ox + mx + dx - 19), int(oy + my + 6), 38, 25))
    for ident, _, x, y, width in art.PAGE_BUTTONS:
        on = ident == 153
        h = art.PAGE_BUTTON_STATE_H
        parts.append(image(png_dir, ident, x, y, width, 2 * h,
                           crop=(0, h if on else 0, width, h)))
    parts.append(image(png_dir, 351, art.KNOB_POS[0], art.KNOB_POS[1], 24, 792,
                       crop=(0, 24 * 22, 24, 24)))
    parts.append(image(png_dir, 190, 121, 12, 84, 38, crop=(0, 19, 84, 19)))
    write(out_dir, "window.svg", defs, parts)

    # The about screen with the texts the editor draws on it.
    vx, vy = art.ABOUT_VERSION_OFFSET
    write(out_dir, "about.svg", "", [
        image(png_dir, 130, 0, 0, 735, 449),
        art.text((vx + 735) / 2, vy + 11, "Version 2.0.4", 11, "rgb(255,213,100)", "middle"),
        art.text(543, 98, "64bit", 11, "#fff"),
        art.text(50, 437, "Thanks for playing Quor - sounds from the palette, shaped by three "
                 "layers", 9, art.INK)])
    # The controller list: 128 lines in columns 180 pixels apart from (14, 128).
    lines = [image(png_dir, 134, 0, 0, 735, 449), art.text(543, 117, "64bit", 11, "#fff")]
    x, y = 14, 128
    for c in range(128):
        if y + 10 > 449 - 20:
            x, y = x + 180, 128
        if x + 165 > 735:
            break
        name = "Master Volume" if c == 7 else ("Cutoff" if c == 74 else "-")
        lines.append(art.text(x, y + 8, "%03d: %s" % (c, name), 9, "#fff"))
        y += 10
    write(out_dir, "controllers.svg", "", lines)


def write(out_dir, name, defs, parts):
    with open(os.path.join(out_dir, name), "w", encoding="utf-8") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="735" height="449"><defs>%s</defs>'
                '%s</svg>' % (defs, "".join(parts)))


if __name__ == "__main__":
    main(sys.argv)
