#!/usr/bin/env python3
"""Composes the rendered artwork into an SVG of the whole window, as the editor will lay it out,
for looking at the images together (render it with rsvg-convert).

Usage: preview.py RINGS_HEADER PNG_DIR OUTPUT_DIR

Writes window.svg, preset.svg, lfo.svg, global.svg, envelope.svg, envelope-filter.svg,
about.svg and controllers.svg into OUTPUT_DIR: the window with the plain page background, the
window with each page and its controls in place (with the texts the editor writes; the envelope
page in the Base and the Filter layer's arrangement, the second with the keyboard closed), and
the two screens. The keyboard shows a few lit keys, painted as the editor paints them.

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


def size(png_dir, ident):
    with open(os.path.join(png_dir, "%d.png" % ident), "rb") as f:
        head = f.read(24)
    return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")


def state(png_dir, ident, x, y, on, states=2):
    """One state of a stacked image at page (x, y)."""
    w, h = size(png_dir, ident)
    h //= states
    return image(png_dir, ident, art.PAGE_LEFT + x, y, w, h * states, crop=(0, h * on, w, h))


def knob(png_dir, cx, cy, value):
    s = art.KNOB_SIZE
    return image(png_dir, 350, art.PAGE_LEFT + cx - s // 2, cy - s // 2, s, s * art.KNOB_FRAMES,
                 crop=(0, s * round(value * (art.KNOB_FRAMES - 1)), s, s))


def value_text(x0, y0, x1, y1, s, colour=art.INK, anchor="middle"):
    """Text as the editor writes it: 9 pixels, centred in its rectangle."""
    x = (x0 + x1) / 2 if anchor == "middle" else x0 + 3
    return art.text(art.PAGE_LEFT + x, (y0 + y1) / 2 + 3.5, s, 9, colour, anchor)


def keyboard(png_dir, frame, lit_notes):
    """The keyboard strip at frame `frame`, with lit keys painted as the editor paints them."""
    x0, y0, x1, _ = art.KEYBOARD_BAY
    h = art.KEYBOARD_FRAME_H
    parts = [image(png_dir, 180, x0, y0, x1 - x0, h * art.KEYBOARD_FRAMES,
                   crop=(0, h * frame, x1 - x0, h))]
    if frame:
        return parts
    edges, blacks = art.white_key_edges(), art.black_key_lefts()
    whites = (0, 2, 4, 5, 7, 9, 11)
    for note in lit_notes:
        octave, semitone = divmod(note - 36, 12)
        if semitone in whites:
            j = 7 * octave + whites.index(semitone)
            parts.append(art.rect(edges[j], y0 + art.BLACK_BOTTOM, edges[j + 1] - 1,
                                  y0 + art.WHITE_BOTTOM, LIT_WHITE_KEY))
        else:
            x = blacks[5 * octave + (1, 3, 6, 8, 10).index(semitone)]
            parts.append(art.rect(x, y0 + 11, x + art.BLACK_W, y0 + art.BLACK_BOTTOM,
                                  LIT_BLACK_KEY))
    return parts


# Lit keys in the neutral accent: the deeper tone on ivory, the bright one on the black keys.
LIT_WHITE_KEY = art.ON_FACE[1]
LIT_BLACK_KEY = art.MINT[1]


def window_parts(png_dir, palette, page_bitmap, lit_button, keyboard_frame=0):
    sectors = palette.sectors()
    ox, oy = art.PALETTE_ORIGIN
    lit = [5, 20]  # sector identifiers shown lit (icons sit on them)
    defs = "".join('<clipPath id="lit%d"><path d="%s"/></clipPath>' % (s, sectors[s][2])
                   for s in lit)
    # The palette control draws only its disk and a 3-pixel rim.
    defs += ('<clipPath id="disk"><ellipse cx="%d" cy="%d" rx="%d" ry="%d"/></clipPath>'
             % (ox + palette.cx, oy + palette.cy, palette.outer[0] + 3, palette.outer[1] + 3))
    parts = [image(png_dir, 129, 0, 0, 735, 449),
             image(png_dir, page_bitmap, 369, 0, 366, 449),
             image(png_dir, 131, ox, oy, 459, 304, crop=(0, 0, 456, 304), clip="disk")]
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
        on = ident == lit_button
        h = art.PAGE_BUTTON_STATE_H
        parts.append(image(png_dir, ident, x, y, width, 2 * h,
                           crop=(0, h if on else 0, width, h)))
    parts.append(image(png_dir, 351, art.KNOB_POS[0], art.KNOB_POS[1], 24, 792,
                       crop=(0, 24 * 22, 24, 24)))
    parts.append(image(png_dir, 190, 121, 12, 84, 38, crop=(0, 19, 84, 19)))
    parts += keyboard(png_dir, keyboard_frame, [48, 55, 60, 63, 67, 70])
    return defs, parts


PRESET_NAMES = ["Glass Harp", "Marimba Dust", "Bowed Bells", "Kalimba Rain", "Steel Cloud",
                "Gong Bloom", "Felt Piano Mallets and Strings", "Night Vibes", "Harp Drops",
                "Koto Glide", "Tabla Pulse", "Cello Air", "Organ Fog", "Bell Tower",
                "Flute Breath", "Soft Marimba"]


def preset_page(png_dir):
    parts = [value_text(42, 44, 167, 56, "Mallets", anchor="start")]
    x = 53
    for k in range(4):
        parts.append(state(png_dir, 201 + k, x, 63, k == 1))
        x += size(png_dir, 201 + k)[0]
    lx, ly = art.LIST_AT
    current, loaded = 5, 3
    for r in range(16):
        k = min(r, 15 - r)
        left, right = art.LIST_NAME[k]
        mx, mw = art.LIST_MARKER[k]
        y0 = ly + r * art.LIST_ROW_H
        if r == current:
            hw, hh = art.HIGHLIGHT_SIZE
            parts.append(image(png_dir, 210, art.PAGE_LEFT + lx + left, y0, hw, hh,
                               crop=(0, 0, right - left, hh)))
        # Numbers right-aligned in the width of "XX" at the page's indent from the list's
        # left, names 5 pixels after.
        indent = [14, 29, 40, 50, 56, 61, 65, 66][k] - left
        parts.append(art.text(art.PAGE_LEFT + lx + left + indent + 13, y0 + 11, str(r + 1), 9,
                              art.INK_QUIET, "end"))
        name = PRESET_NAMES[r]
        limit = (right - left - indent - 18 - 10) // 5.6
        if len(name) > limit:
            name = name[:int(limit) - 3] + "..."
        parts.append(art.text(art.PAGE_LEFT + lx + left + indent + 18, y0 + 11, name, 9,
                              art.INK))
        if r == loaded:
            parts.append(value_text(lx + mx, y0, lx + mx + mw, y0 + 15, "B%d" % (r + 1),
                                    art.MINT[1]))
    x = 54
    for k in range(4):
        parts.append(state(png_dir, 205 + k, x, 342, k == 2))
        x += size(png_dir, 205 + k)[0] + 2
    parts.append(value_text(33, 370, 144, 383, "Choose a command", art.INK_QUIET, "start"))
    return parts


def lfo_page(png_dir):
    parts = [state(png_dir, 401, 33, 43, 0)]
    x = 38
    for k in range(3):
        parts.append(state(png_dir, 301 + k, x, 64, k == 1))
        x += size(png_dir, 301 + k)[0] + 4
    gx0, gy0, gx1, gy1 = art.LFO_GRID
    cw, ch = (gx1 - gx0) / 16, (gy1 - gy0) / 16
    steps = [15, 13, 11, 9, 8, 6, 4, 2, 0, 2, 5, 8, 10, 12, 14, 15]
    for c, v in enumerate(steps):
        for r in range(16):
            colour = art.CYAN[1] if 15 - v == r else ("#152a31" if r >= 15 - v else "#0f1115")
            parts.append(art.rect(art.PAGE_LEFT + gx0 + c * cw + 0.5, gy0 + r * ch + 0.5,
                                  art.PAGE_LEFT + gx0 + (c + 1) * cw - 0.5,
                                  gy0 + (r + 1) * ch - 0.5, colour))
    w = size(png_dir, 610)[0]
    for k in range(5):
        parts.append(state(png_dir, 610 + k, 145 + k * (w + 4) - (2 if k == 4 else 0), 221,
                           k == 2))
    parts.append(state(png_dir, 615, 215, 246, 1))
    parts.append(knob(png_dir, 310, 175, 0.3))
    parts.append(value_text(297, 187, 323, 197, "30"))
    parts.append(knob(png_dir, 116, 302, 0.55))
    parts.append(value_text(103, 317, 145, 329, "1/8T"))
    parts.append(state(png_dir, 306, 132, 294, 1))
    parts.append(knob(png_dir, 166, 302, 0.2))
    parts.append(value_text(151, 317, 177, 329, "150"))
    parts.append(knob(png_dir, 201, 302, 0.8))
    parts.append(value_text(188, 317, 214, 329, "80"))
    return parts


def global_page(png_dir):
    parts = []
    for cx, cy, v, t, rect in (
            (109, 106, 0.4, "2.40Hz", (95, 120, 121, 132)), (159, 106, 0.1, "85ms", (145, 120, 171, 132)),
            (194, 106, 0.25, "25", (180, 120, 206, 132)), (242, 113, 0.5, None, None),
            (159, 181, 0.5, "<C>", (143, 195, 171, 207)), (194, 181, 0.3, "30%", (178, 195, 206, 207)),
            (140, 255, 0.45, "420 ms", (124, 269, 170, 281)),
            (196, 255, 0.35, "35%", (181, 269, 209, 281)), (251, 255, 0.6, "60%", (236, 269, 264, 281)),
            (140, 304, 0.2, "20%", (125, 318, 153, 330)),
            (251, 304, 0.5, "50%", (236, 318, 264, 330)),
            (45, 365, 15 / 63, "16", (62, 359, 90, 371)), (121, 365, 0.5, "0 ct", (138, 359, 166, 371))):
        parts.append(knob(png_dir, cx, cy, v))
        if t:
            parts.append(value_text(*rect, t))
    s = art.KNOB_SIZE
    parts.append(image(png_dir, 403, art.PAGE_LEFT + 196 - s // 2, 304 - s // 2, s, s))
    parts.append(value_text(181, 318, 209, 330, "100%"))
    parts.append(state(png_dir, 306, 125, 98, 0))
    parts.append(state(png_dir, 306, 155, 247, 0))
    parts.append(state(png_dir, 401, 171, 218, 0))
    parts.append(state(png_dir, 402, 271, 218, 0))
    parts.append(value_text(227, 175, 338, 188, "D: LFO Speed Base", art.INK_QUIET, "start"))
    return parts


def envelope_curve(points, colour, handles):
    """An ADSR envelope in the envelope editor as the page draws it: (time, level) points."""
    x0, y0, x1, y1 = art.ENVELOPE_EDITOR
    hs = art.ENVELOPE_HANDLE
    w, h = (x1 - x0) - 2 * hs, (y1 - y0) - 2 * hs
    xy = [(art.PAGE_LEFT + x0 + hs + t * w, y0 + hs + h - h * level ** (1 / 3))
          for t, level in points]
    parts = ['<polyline points="%s" fill="none" stroke="%s" stroke-width="2" '
             'stroke-opacity="%s"/>' % (" ".join("%s,%s" % (art.fmt(x), art.fmt(y)) for x, y in xy),
                                         colour, "1" if handles else "0.45")]
    if handles:
        for k, (x, y) in enumerate(xy):
            parts.append('<ellipse cx="%s" cy="%s" rx="6" ry="6" fill="%s" stroke="%s"/>'
                         % (art.fmt(x), art.fmt(y), colour, "#fff" if k == 2 else "#000"))
            parts.append(art.text(x, y + 3, str(k + 1), 9, art.INK_DARK, "middle"))
    return parts


def slope_line(x0, y0, x1, y1, left, right, colour=art.INK):
    w = 2
    return ('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="2"/>'
            % (art.fmt(art.PAGE_LEFT + x0), art.fmt(y0 + (1 - left) * (y1 - y0 - 2 * w) + w),
               art.fmt(art.PAGE_LEFT + x1 - 1), art.fmt(y0 + (1 - right) * (y1 - y0 - 2 * w) + w),
               colour))


def handle(png_dir, ident, x, centre_y, low):
    w, h = art.HANDLE_SIZE
    return image(png_dir, ident, art.PAGE_LEFT + (x - w if low else x), centre_y - h // 2, w, h)


def envelope_page(png_dir, filter_layer):
    colours = art.VIOLET if filter_layer else art.AMBER
    parts = []
    x = 38
    for k in range(3):
        parts.append(state(png_dir, 301 + k, x, 64, k == (2 if filter_layer else 0)))
        x += size(png_dir, 301 + k)[0] + 4
    low = [(0, 0), (0.08, 1), (0.3, 0.35), (0.85, 0)]
    high = [(0, 0), (0.04, 0.8), (0.18, 0.2), (0.5, 0)]
    parts += envelope_curve(high, colours[0], False) + envelope_curve(low, colours[1], True)
    parts.append(art.text(art.PAGE_LEFT + art.ENVELOPE_EDITOR[2] - 3, art.ENVELOPE_EDITOR[1] + 9,
                          "Low", 9, colours[1], "end"))
    texts = ["80.0ms", "220ms", "-9.1dB", "1.20s"]
    values = [(0.35, 0.2), (0.5, 0.3), (0.7, 0.45), (0.6, 0.4)]
    ys, ye = art.COLUMN_SLIDER_Y
    hh = art.HANDLE_SIZE[1]
    for cx, t, (lo, hi) in zip(art.COLUMN_X, texts, values):
        parts.append(value_text(cx + 3, 177, cx + 36, 187, t))
        travel = (ye - ys) - hh
        for ident, v, is_low in ((304, hi, False), (305, lo, True)):
            y = ys + hh // 2 + travel - int(travel * v)
            parts.append(handle(png_dir, ident, cx + 19, y, is_low))
        parts.append(slope_line(cx + 3, art.SLOPE_Y[0], cx + 36, art.SLOPE_Y[1], lo, hi,
                                colours[1]))
    top, bottom = art.level_limits()
    lx, ly = art.LEVEL_SLIDER[:2]
    for ident, v, is_low in ((304, 0.62, False), (305, 0.85, True)):
        y = bottom - int(v * (bottom - top))
        parts.append(handle(png_dir, ident, lx + art.guide_x(y), ly + y, is_low))
    parts.append(slope_line(*art.LEVEL_SLOPE, 0.85, 0.62, colours[1]))
    knobs = [(81, 332, 0.5, "50", (68, 348, 94, 360)), (116, 332, 0.3, "30", (103, 348, 129, 360))]
    if filter_layer:
        knobs += [(166, 320, 0.4, "40", (154, 336, 180, 348)), (207, 305, 0.3, None, None),
                  (273, 305, 0.7, None, None)]
        parts.append(slope_line(224, 296, 255, 313, 0.3, 0.7, colours[1]))
    else:
        knobs += [(150, 332, 0.5, "0", (138, 348, 164, 360)),
                  (194, 319, 0.1, "10", (181, 335, 207, 347)),
                  (228, 319, 0.6, "60", (215, 335, 241, 347))]
    for cx, cy, v, t, r in knobs:
        parts.append(knob(png_dir, cx, cy, v))
        if t:
            parts.append(value_text(*r, t))
    return parts


def main(argv):
    rings_header, png_dir, out_dir = argv[1:4]
    palette = art.Palette(*art.parse_rings(rings_header))
    defs, parts = window_parts(png_dir, palette, 133, 153)
    write(out_dir, "window.svg", defs, parts)
    for name, bitmap, button, page in (("preset", 200, 150, preset_page),
                                       ("lfo", 600, 151, lfo_page),
                                       ("global", 400, 153, global_page)):
        defs, parts = window_parts(png_dir, palette, bitmap, button)
        write(out_dir, name + ".svg", defs, parts + page(png_dir))

    for name, filter_layer, frame in (("envelope", False, 0), ("envelope-filter", True, 6)):
        defs, parts = window_parts(png_dir, palette, 300, 152, frame)
        if filter_layer:
            # Painted into the page's image, under every control.
            px, py = art.FILTER_PATCH
            parts.insert(2, image(png_dir, 308, art.PAGE_LEFT + px, py, *size(png_dir, 308)))
        write(out_dir, name + ".svg", defs, parts + envelope_page(png_dir, filter_layer))

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
