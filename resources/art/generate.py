#!/usr/bin/env python3
"""Writes the editor's artwork as SVG files, one per bitmap identifier.

Usage: generate.py RINGS_HEADER OUTPUT_DIR ID...

Writes OUTPUT_DIR/<id>.svg for every identifier and OUTPUT_DIR/backdrop.svg, which must be
rendered to backdrop.png in the same folder before the others.

Every image is drawn in window coordinates (735 x 449) and cropped to its own place, so the
window background (129), the page backgrounds (133 and the preset, envelope, global and LFO pages
200, 300, 400, 600, with the envelope page's Filter corner 308), the keyboard strip (180) and the
palette (131, 132) show the same pixels wherever they meet: the pages draw only on the page
panel, whose left edge keeps clear of the palette's well. The palette's rings and sectors are
read from the ring table of the editor (src/editor/PaletteRings.h), so the painted sectors match
the code's hit tests.

Colour means layer: Base is amber, Top cyan, Filter violet; neutral controls use a quiet mint.
A lit state is a brighter, more saturated version of the same colour.
"""
from xml.sax.saxutils import escape
import math
import os
import re
import sys

WINDOW_W, WINDOW_H = 735, 449
# The shared backdrop, rendered beside the SVG files before them (see window_crop).
BACKDROP = "backdrop"
BACKDROP_PNG = BACKDROP + ".png"
FONT = "DejaVu Sans"

# Graphite body, lit softly from the top left.
BODY_TOP = "#22262e"
BODY_BOTTOM = "#121418"
RECESS = "#0d0f12"
INK = "#e4e7ec"        # light text on the body
INK_QUIET = "#9aa2ae"  # captions
INK_DARK = "#14161b"   # text on lit accent surfaces

# Accent colours: (quiet, lit).
AMBER = ("#d89a3e", "#ffb545")
CYAN = ("#3fb8d4", "#54dcff")
VIOLET = ("#9d7ad8", "#bd94ff")
MINT = ("#6fb894", "#7cf0b4")

# Where the palette control sits in the window.
PALETTE_ORIGIN = (10, 53)
# Page buttons: (identifier, label, window x, window y, width). Each state is 16 pixels tall;
# rows one and two span x 589..711, GLOBAL is centred below them, and PRESETS carries 25
# transparent pixels on its left so that its visible face lines up with the row below.
PAGE_BUTTONS = [
    (150, "PRESETS", 564, 26, 147),
    (151, "LFO", 589, 42, 45),
    (152, "ENVELOPE", 636, 42, 75),
    (153, "GLOBAL", 626, 58, 48),
]
PAGE_BUTTON_STATE_H = 16
PRESETS_FACE_LEFT = 589
# The page panel (raised) right of the palette: its left edge follows the palette's well at
# PANEL_GAP pixels (but stays right of PAGE_PANEL's left), and its lower edge is scooped round the
# volume knob, which sits on the body under it.
PAGE_PANEL = (376, 8, 727, 383)
PANEL_GAP = 12
PANEL_FILLET = 14
VOLUME_SCOOP = 22
# The recessed tray under the page buttons: T-shaped, 5 pixels round the buttons.
BUTTON_TRAY = [(584, 21), (716, 21), (716, 58), (679, 58), (679, 79), (621, 79), (621, 58),
               (584, 58)]
KNOB_POS = (670, 384)
KNOB_SIZE = 24
KNOB_FRAMES = 33
KEYBOARD_BAY = (0, 384, 478, 449)
# The about screen's version line: the editor draws it 15 pixels high from this offset to the
# view's right edge, centred, in 11-pixel text.
ABOUT_VERSION_OFFSET = (0, 200)


def fmt(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


def svg(width, height, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d">\n<defs>%s</defs>\n%s\n</svg>\n'
            % (width, height, width, height, defs, body))


def text(x, y, s, size, fill, anchor="start", weight="normal", spacing=0, opacity=1.0):
    return ('<text x="%s" y="%s" font-family="%s" font-size="%s" font-weight="%s" '
            'fill="%s" fill-opacity="%s" text-anchor="%s" letter-spacing="%s">%s</text>'
            % (fmt(x), fmt(y), FONT, fmt(size), weight, fill, fmt(opacity), anchor,
               fmt(spacing), escape(s)))


def rect(x0, y0, x1, y1, fill, rx=0, extra=""):
    return ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" %s/>'
            % (fmt(x0), fmt(y0), fmt(x1 - x0), fmt(y1 - y0), fmt(rx), fill, extra))


def raised(x0, y0, x1, y1, rx, fill):
    """A raised panel: a 1-pixel shadow under it and a 1-pixel highlight on its top edge."""
    return "".join([
        rect(x0, y0 + 1, x1, y1 + 1, "#000", rx, 'fill-opacity="0.45"'),
        rect(x0, y0, x1, y1, fill, rx),
        rect(x0 + rx / 2, y0, x1 - rx / 2, y0 + 1, "#fff", 0, 'fill-opacity="0.10"'),
    ])


def recessed(x0, y0, x1, y1, rx, fill=RECESS):
    """A recess: its top edge in shadow, its bottom edge catching the light."""
    return "".join([
        rect(x0, y0, x1, y1 + 1, "#fff", rx, 'fill-opacity="0.07"'),
        rect(x0, y0, x1, y1, fill, rx),
        rect(x0 + rx / 2, y0, x1 - rx / 2, y0 + 1, "#000", 0, 'fill-opacity="0.55"'),
    ])


def rounded_polygon(points, r):
    """A closed path through `points` with every corner rounded by about r."""
    def towards(p, q, d):
        length = math.hypot(q[0] - p[0], q[1] - p[1])
        return p[0] + (q[0] - p[0]) * d / length, p[1] + (q[1] - p[1]) * d / length
    d = []
    for k, p in enumerate(points):
        a = towards(p, points[k - 1], r)
        b = towards(p, points[(k + 1) % len(points)], r)
        d.append("%s%s,%s Q%s,%s %s,%s" % ("M" if k == 0 else "L", fmt(a[0]), fmt(a[1]),
                                           fmt(p[0]), fmt(p[1]), fmt(b[0]), fmt(b[1])))
    return " ".join(d) + " Z"


# ---------------------------------------------------------------------------------------------
# Palette geometry.

def parse_rings(path):
    with open(path, encoding="utf-8") as f:
        source = f.read()
    table = re.search(r"kPaletteRings\[\]\s*=\s*\{(.*?)\};", source, re.S)
    if not table:
        sys.exit("%s: no kPaletteRings table" % path)
    rings = [tuple(int(v) for v in m) for m in
             re.findall(r"\{\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*\}\s*,", table.group(1))]
    centre = []
    for name in ("kPaletteCentreX", "kPaletteCentreY"):
        m = re.search(name + r"\s*=\s*(\d+)\s*;", source)
        if not m:
            sys.exit("%s: no %s" % (path, name))
        centre.append(int(m.group(1)))
    if not rings:
        sys.exit("%s: the ring table is empty" % path)
    return rings, tuple(centre)


class Palette:
    def __init__(self, rings, centre):
        self.rings = rings
        self.cx, self.cy = centre
        self.outer = rings[-1][:2]

    def point(self, rx, ry, angle):
        # Angle 0 is the top of the disk; angles grow clockwise.
        return self.cx + rx * math.sin(angle), self.cy - ry * math.cos(angle)

    def sectors(self):
        """(ring, index, path) for every sector in identifier order."""
        out = []
        for r, (rx, ry, n) in enumerate(self.rings):
            step = 2 * math.pi / n
            for i in range(n):
                a0, a1 = i * step, (i + 1) * step
                large = 1 if step > math.pi else 0
                o0, o1 = self.point(rx, ry, a0), self.point(rx, ry, a1)
                if r == 0:
                    d = "M%s,%s L%s,%s A%s,%s 0 %d 1 %s,%s Z" % (
                        fmt(self.cx), fmt(self.cy), fmt(o0[0]), fmt(o0[1]), rx, ry, large,
                        fmt(o1[0]), fmt(o1[1]))
                else:
                    irx, iry = self.rings[r - 1][:2]
                    i0, i1 = self.point(irx, iry, a0), self.point(irx, iry, a1)
                    d = "M%s,%s L%s,%s A%s,%s 0 %d 1 %s,%s L%s,%s A%s,%s 0 %d 0 %s,%s Z" % (
                        fmt(i0[0]), fmt(i0[1]), fmt(o0[0]), fmt(o0[1]), rx, ry, large,
                        fmt(o1[0]), fmt(o1[1]), fmt(i1[0]), fmt(i1[1]), irx, iry, large,
                        fmt(i0[0]), fmt(i0[1]))
                out.append((r, i, d))
        return out


# ---------------------------------------------------------------------------------------------
# The window's backdrop, in window coordinates: everything that 129, 131, 132 and 133 share.

def backdrop_defs():
    return (
        '<linearGradient id="body" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="0" y2="%d">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        '<radialGradient id="light" gradientUnits="userSpaceOnUse" cx="90" cy="-40" r="520">'
        '<stop offset="0" stop-color="#fff" stop-opacity="0.07"/>'
        '<stop offset="1" stop-color="#fff" stop-opacity="0"/></radialGradient>'
        '<linearGradient id="panel" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
        '<stop offset="0" stop-color="#2b3039"/><stop offset="1" stop-color="#1b1e24"/>'
        '</linearGradient>'
        '<linearGradient id="bay" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
        '<stop offset="0" stop-color="#08090b"/><stop offset="1" stop-color="#111317"/>'
        '</linearGradient>'
        '<linearGradient id="panelEdge" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" '
        'y2="%d"><stop offset="0" stop-color="#fff" stop-opacity="0.11"/>'
        '<stop offset="0.45" stop-color="#fff" stop-opacity="0"/>'
        '<stop offset="1" stop-color="#000" stop-opacity="0.35"/></linearGradient>'
        '<linearGradient id="wellRim" gradientUnits="userSpaceOnUse" x1="60" y1="60" x2="420" '
        'y2="360"><stop offset="0" stop-color="#000" stop-opacity="0.5"/>'
        '<stop offset="1" stop-color="#fff" stop-opacity="0.12"/></linearGradient>'
        % (WINDOW_H, BODY_TOP, BODY_BOTTOM, PAGE_PANEL[1], PAGE_PANEL[3], KEYBOARD_BAY[1],
           KEYBOARD_BAY[3], PAGE_PANEL[1], PAGE_PANEL[3]))


def smooth_max(a, b, k):
    return 0.5 * (a + b + math.sqrt((a - b) ** 2 + k * k))


def panel_left(palette, y):
    """The panel's left edge at window row y: clear of the palette's well by PANEL_GAP."""
    cx, cy = PALETTE_ORIGIN[0] + palette.cx, PALETTE_ORIGIN[1] + palette.cy
    rx, ry = palette.outer[0] + PANEL_GAP, palette.outer[1] + PANEL_GAP
    t = 1 - ((y - cy) / ry) ** 2
    well = cx + rx * math.sqrt(t) if t > 0 else -WINDOW_W
    return smooth_max(PAGE_PANEL[0], well, PANEL_FILLET)


def panel_bottom(x):
    """The panel's lower edge at window column x, scooped round the volume knob."""
    kx, ky = KNOB_POS[0] + KNOB_SIZE / 2, KNOB_POS[1] + KNOB_SIZE / 2
    t = VOLUME_SCOOP ** 2 - (x - kx) ** 2
    scoop = ky - math.sqrt(t) if t > 0 else WINDOW_H
    return -smooth_max(-PAGE_PANEL[3], -scoop, 8)


def page_panel_path(palette):
    x0, y0, x1, y1 = PAGE_PANEL
    r = 6
    d = ["M%s,%d L%d,%d Q%d,%d %d,%d" % (fmt(panel_left(palette, y0 + r) + r), y0, x1 - r, y0,
                                         x1, y0, x1, y0 + r)]
    d.append("L%d,%s" % (x1, fmt(panel_bottom(x1) - r)))
    d.append("Q%d,%s %d,%s" % (x1, fmt(panel_bottom(x1)), x1 - r, fmt(panel_bottom(x1 - r))))
    x = x1 - r
    while x > x0 + r:
        x -= 1
        d.append("L%d,%s" % (x, fmt(panel_bottom(x))))
    d.append("Q%s,%d %s,%d" % (fmt(panel_left(palette, y1)), y1,
                               fmt(panel_left(palette, y1 - r)), y1 - r))
    y = y1 - r
    while y > y0 + r:
        y -= 1
        d.append("L%s,%d" % (fmt(panel_left(palette, y)), y))
    d.append("Q%s,%d %s,%d Z" % (fmt(panel_left(palette, y0)), y0,
                                 fmt(panel_left(palette, y0 + r) + r), y0))
    return " ".join(d)


def bevelled(d, clip_id, under, fill, rim):
    """The shape of path d: a 1-pixel band under it (the shadow of a raised shape or the lit
    lip of a recess), its fill, and a rim stroked 1 pixel wide along its inside."""
    return "".join([
        '<clipPath id="%s"><path d="%s"/></clipPath>' % (clip_id, d),
        '<path d="%s" transform="translate(0,1)" fill="%s" fill-opacity="%s"/>'
        % (d, under[0], fmt(under[1])),
        '<path d="%s" fill="%s"/>' % (d, fill),
        '<path d="%s" fill="none" %s stroke-width="2" clip-path="url(#%s)"/>' % (d, rim, clip_id),
    ])


def backdrop(palette):
    parts = [rect(0, 0, WINDOW_W, WINDOW_H, "url(#body)"),
             rect(0, 0, WINDOW_W, WINDOW_H, "url(#light)")]
    # The palette sits in a shallow round well: a dark ring around the disk whose lower right
    # edge catches the light.
    cx, cy = PALETTE_ORIGIN[0] + palette.cx, PALETTE_ORIGIN[1] + palette.cy
    rx, ry = palette.outer
    parts.append('<ellipse cx="%d" cy="%d" rx="%d" ry="%d" fill="#0a0b0e" fill-opacity="0.55"/>'
                 % (cx, cy, rx + 6, ry + 6))
    parts.append('<ellipse cx="%d" cy="%d" rx="%s" ry="%s" fill="none" stroke="url(#wellRim)" '
                 'stroke-width="1"/>' % (cx, cy, fmt(rx + 6.5), fmt(ry + 6.5)))
    # The page panel right of the palette and the recessed tray of the page buttons on it.
    parts.append(bevelled(page_panel_path(palette), "panelClip", ("#000", 0.45), "url(#panel)",
                          'stroke="url(#panelEdge)"'))
    parts.append(bevelled(rounded_polygon(BUTTON_TRAY, 4), "tray", ("#fff", 0.07), "#121418",
                          'stroke="#000" stroke-opacity="0.5"'))
    # The keyboard bay: a recess running to the window's left and bottom edges, with a felt
    # strip along its back.
    x0, y0, x1, y1 = KEYBOARD_BAY
    parts.append(rect(x0, y0 - 1, x1 + 1, y1, "#fff", 0, 'fill-opacity="0.06"'))
    parts.append(rect(x0, y0, x1, y1, "url(#bay)"))
    parts.append(rect(x0, y0, x1, y0 + 2, "#000", 0, 'fill-opacity="0.6"'))
    parts.append(rect(x0, y0 + 2, x1, y0 + 5, "#4a2228"))
    parts.append(rect(x0, y0 + 5, x1, y0 + 6, "#000", 0, 'fill-opacity="0.4"'))
    parts.append(rect(x1 - 1, y0 + 6, x1, y1, "#fff", 0, 'fill-opacity="0.05"'))
    parts.append(volume_seat())
    return "".join(parts)


def volume_seat():
    kx, ky = KNOB_POS[0] + KNOB_SIZE / 2, KNOB_POS[1] + KNOB_SIZE / 2
    parts = ['<circle cx="%s" cy="%s" r="12.5" fill="#000" fill-opacity="0.35"/>'
             % (fmt(kx), fmt(ky + 0.5))]
    # Scale dots from -135 to +135 degrees.
    for k in range(11):
        a = math.radians(-135 + 27 * k)
        r = 16
        big = k in (0, 5, 10)
        parts.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>'
                     % (fmt(kx + r * math.sin(a)), fmt(ky - r * math.cos(a)),
                        "1.1" if big else "0.8", "#8b93a0" if big else "#5d646f"))
    parts.append(text(kx, ky + 29, "VOLUME", 9, INK_QUIET, "middle", "bold", 1))
    return "".join(parts)


def window_crop(x, y, w, h, extra="", extra_defs=""):
    """The backdrop seen through a w x h image placed at window (x, y), plus `extra` drawn
    in window coordinates. The backdrop is rendered once (backdrop.svg) and copied in, so every
    image shows exactly the same pixels where they meet."""
    body = ('<g transform="translate(%d,%d)"><image width="%d" height="%d" href="%s"/>%s</g>'
            % (-x, -y, WINDOW_W, WINDOW_H, BACKDROP_PNG, extra))
    return svg(w, h, body, extra_defs)


# ---------------------------------------------------------------------------------------------
# Images.

def product_mark():
    # "QUOR" with the four accents as a thin bar under it; also the about screen's click area.
    parts = [text(12, 34, "QUOR", 27, INK, "start", "bold", 3)]
    for k, colour in enumerate((AMBER[0], CYAN[0], VIOLET[0], MINT[0])):
        parts.append(rect(13 + 23 * k, 39, 13 + 23 * k + 21, 41, colour))
    return "".join(parts)


def window_background():
    return window_crop(0, 0, WINDOW_W, WINDOW_H, product_mark())


def page_background():
    return window_crop(369, 0, 366, WINDOW_H)


def palette_image(palette, lit):
    """The disk over the backdrop, matte (131) or with every sector glowing (132)."""
    ox, oy = PALETTE_ORIGIN
    rx, ry = palette.outer
    cx, cy = palette.cx, palette.cy
    ky = ry / rx
    if lit:
        stops = [("0", "#276f53"), ("0.55", "#22664c"), ("1", "#1a5540")]
        gap, rim, rim_opacity, sheen = "#0c241b", MINT[1], 0.85, 0.06
    else:
        stops = [("0", "#3b424d"), ("0.55", "#30363f"), ("1", "#272b33")]
        gap, rim, rim_opacity, sheen = "#0b0c0f", "#ffffff", 0.07, 0.05
    defs = ('<radialGradient id="disk" gradientUnits="userSpaceOnUse" cx="%d" cy="%d" r="%d" '
            'gradientTransform="translate(0,%s) scale(1,%s)">%s</radialGradient>'
            % (cx, cy, rx, fmt(cy * (1 - ky)), fmt(ky),
               "".join('<stop offset="%s" stop-color="%s"/>' % s for s in stops)))
    defs += ('<linearGradient id="sheen" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="0" '
             'y2="%d"><stop offset="0" stop-color="#fff" stop-opacity="%s"/>'
             '<stop offset="0.5" stop-color="#fff" stop-opacity="0"/></linearGradient>'
             % (2 * cy, fmt(sheen)))
    sectors = palette.sectors()
    disk = ['<ellipse cx="%d" cy="%d" rx="%d" ry="%d" fill="%s"/>' % (cx, cy, rx + 1, ry + 1, gap)]
    for sid, (r, i, d) in enumerate(sectors):
        defs += '<clipPath id="s%d"><path d="%s"/></clipPath>' % (sid, d)
        # Neighbouring sectors differ a little in tone so that the rings read as tiles.
        shade = 0.035 if (i % 2) else 0.0
        disk.append('<path d="%s" fill="url(#disk)"/>' % d)
        if shade:
            disk.append('<path d="%s" fill="#000" fill-opacity="%s"/>' % (d, fmt(shade)))
        disk.append('<path d="%s" fill="url(#sheen)"/>' % d)
        # The rim light inside each tile: a glow when lit, a faint edge when matte.
        disk.append('<path d="%s" fill="none" stroke="%s" stroke-opacity="%s" '
                    'stroke-width="%s" clip-path="url(#s%d)"/>'
                    % (d, rim, fmt(rim_opacity), "4" if lit else "2.5", sid))
        if lit:
            disk.append('<path d="%s" fill="none" stroke="%s" stroke-opacity="0.25" '
                        'stroke-width="10" clip-path="url(#s%d)"/>' % (d, rim, sid))
    for r, i, d in sectors:
        disk.append('<path d="%s" fill="none" stroke="%s" stroke-width="2"/>' % (d, gap))
    disk.append('<ellipse cx="%d" cy="%d" rx="%s" ry="%s" fill="none" stroke="%s" '
                'stroke-width="1.5"/>' % (cx, cy, fmt(rx + 0.25), fmt(ry + 0.25), gap))
    return window_crop(ox, oy, 459, 304,
                       '<g transform="translate(%d,%d)">%s</g>' % (ox, oy, "".join(disk)), defs)


def page_button(label, width, face_left):
    h = PAGE_BUTTON_STATE_H
    parts = []
    defs = ""
    for state in (0, 1):
        y = state * h
        x0, x1 = face_left + 0.5, width - 0.5
        y0, y1 = y + 0.5, y + h - 1.5
        if state == 0:
            fill, ink, edge = "url(#off)", INK, "#0a0b0d"
        else:
            fill, ink, edge = "url(#on)", INK_DARK, "#1f4a36"
        parts.append('<rect x="%s" y="%s" width="%s" height="%s" rx="3" fill="%s" stroke="%s" '
                     'stroke-width="1"/>' % (fmt(x0), fmt(y0), fmt(x1 - x0), fmt(y1 - y0), fill,
                                             edge))
        parts.append(rect(x0 + 2, y0 + 0.5, x1 - 2, y0 + 1.5, "#fff", 0,
                          'fill-opacity="%s"' % ("0.10" if state == 0 else "0.45")))
        parts.append(text((x0 + x1) / 2, y + 11, label, 9, ink, "middle", "bold" if state else
                          "normal", 0.4))
    defs += ('<linearGradient id="off" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#343a44"/><stop offset="1" stop-color="#262a31"/>'
             '</linearGradient>'
             '<linearGradient id="on" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
             '</linearGradient>' % (MINT[1], "#5fd197"))
    return svg(width, 2 * h, "".join(parts), defs)


def menu_item():
    defs = ('<linearGradient id="item" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#2a2e36"/><stop offset="1" stop-color="#1f2229"/>'
            '</linearGradient>')
    body = (rect(0, 0, 400, 20, "url(#item)") + rect(0, 0, 400, 1, "#fff", 0,
                                                     'fill-opacity="0.07"')
            + rect(0, 19, 400, 20, "#0e1013"))
    return svg(400, 20, body, defs)


def icon(letter, colours):
    quiet, lit = colours
    defs = ('<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (lit, quiet))
    body = "".join([
        '<rect x="1.5" y="2.5" width="35" height="21" rx="6" fill="#000" fill-opacity="0.5"/>',
        '<rect x="1.5" y="1.5" width="35" height="20" rx="6" fill="url(#face)" stroke="#0b0c0f" '
        'stroke-opacity="0.8" stroke-width="1"/>',
        rect(6, 2.5, 32, 3.5, "#fff", 0, 'fill-opacity="0.45"'),
        text(19, 17, letter, 14, INK_DARK, "middle", "bold"),
    ])
    return svg(38, 25, body, defs)


def loading_indicator():
    parts = []
    for state in (0, 1):
        y = state * 19
        lamp_fill = "#2a3a32" if state == 0 else MINT[1]
        ink = INK_QUIET if state == 0 else INK
        parts.append('<rect x="0.5" y="%s" width="83" height="17" rx="8.5" fill="#111317" '
                     'stroke="#000" stroke-opacity="0.5"/>' % fmt(y + 0.5))
        parts.append(rect(8, y + 17.5, 76, y + 18.5, "#fff", 0, 'fill-opacity="0.06"'))
        if state == 1:
            parts.append('<circle cx="11" cy="%s" r="6" fill="%s" fill-opacity="0.30"/>'
                         % (fmt(y + 9), MINT[1]))
        parts.append('<circle cx="11" cy="%s" r="3.5" fill="%s"/>' % (fmt(y + 9), lamp_fill))
        parts.append(text(47, y + 12.5, "LOADING", 9, ink, "middle", "bold", 1))
    return svg(84, 38, "".join(parts))


def knob_strip():
    s = KNOB_SIZE
    c = s / 2
    defs = ('<radialGradient id="cap" cx="0.35" cy="0.3" r="0.8">'
            '<stop offset="0" stop-color="#5a616d"/><stop offset="0.6" stop-color="#353a43"/>'
            '<stop offset="1" stop-color="#22262d"/></radialGradient>')
    parts = []
    track_r = 10.5

    def arc(a0, a1, y):
        p0 = (c + track_r * math.sin(a0), y + c - track_r * math.cos(a0))
        p1 = (c + track_r * math.sin(a1), y + c - track_r * math.cos(a1))
        large = 1 if a1 - a0 > math.pi else 0
        return "M%s,%s A%s,%s 0 %d 1 %s,%s" % (fmt(p0[0]), fmt(p0[1]), fmt(track_r),
                                                fmt(track_r), large, fmt(p1[0]), fmt(p1[1]))

    start, span = math.radians(-135), math.radians(270)
    for k in range(KNOB_FRAMES):
        y = k * s
        a = start + span * k / (KNOB_FRAMES - 1)
        parts.append('<path d="%s" fill="none" stroke="#07080a" stroke-width="2.4" '
                     'stroke-linecap="round"/>' % arc(start, start + span, y))
        if k > 0:
            parts.append('<path d="%s" fill="none" stroke="%s" stroke-width="2" '
                         'stroke-linecap="round"/>' % (arc(start, a, y), MINT[1]))
        parts.append('<circle cx="%s" cy="%s" r="8" fill="#000" fill-opacity="0.5"/>'
                     % (fmt(c), fmt(y + c + 0.8)))
        parts.append('<circle cx="%s" cy="%s" r="7.5" fill="url(#cap)" stroke="#0b0c0f" '
                     'stroke-width="0.8"/>' % (fmt(c), fmt(y + c)))
        p0 = (c + 2.5 * math.sin(a), y + c - 2.5 * math.cos(a))
        p1 = (c + 6.8 * math.sin(a), y + c - 6.8 * math.cos(a))
        parts.append('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="1.8" '
                     'stroke-linecap="round"/>' % (fmt(p0[0]), fmt(p0[1]), fmt(p1[0]),
                                                   fmt(p1[1]), INK))
    return svg(s, s * KNOB_FRAMES, "".join(parts), defs)


def screen_defs():
    return ('<linearGradient id="body" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>'
            '<radialGradient id="glow" gradientUnits="userSpaceOnUse" cx="367" cy="140" r="330" '
            'gradientTransform="translate(0,93) scale(1,0.34)">'
            '<stop offset="0" stop-color="%s" stop-opacity="0.16"/>'
            '<stop offset="1" stop-color="%s" stop-opacity="0"/></radialGradient>'
            % (BODY_TOP, BODY_BOTTOM, MINT[0], MINT[0]))


def accent_bar(x, y, width):
    parts = []
    seg = (width - 3 * 4) / 4
    for k, colour in enumerate((AMBER[0], CYAN[0], VIOLET[0], MINT[0])):
        x0 = x + k * (seg + 4)
        parts.append(rect(x0, y, x0 + seg, y + 2, colour))
    return "".join(parts)


def faint_rings(palette, cx, cy, scale):
    """The palette's rings as faint outlines, a motif behind the product name."""
    return "".join('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="none" stroke="#fff" '
                   'stroke-opacity="0.05"/>' % (fmt(cx), fmt(cy), fmt(rx * scale), fmt(ry * scale))
                   for rx, ry, _ in palette.rings)


def about_screen(palette):
    vx, vy = ABOUT_VERSION_OFFSET
    body = "".join([
        rect(0, 0, WINDOW_W, WINDOW_H, "url(#body)"),
        rect(0, 0, WINDOW_W, WINDOW_H, "url(#glow)"),
        raised(30, 60, 705, 300, 10, "#252a32"),
        faint_rings(palette, 367.5, 160, 0.6),
        text(367.5, 162, "QUOR", 72, INK, "middle", "bold", 14),
        accent_bar(257, 178, 220),
        # The version line (drawn by the editor) sits in the band vy .. vy + 15.
        text(367.5, 242, "SAMPLE PALETTE SYNTHESIZER", 11, INK_QUIET, "middle", "bold", 3),
        text(367.5, 270, "Design, sound and code by the Quor team", 11, INK_QUIET, "middle"),
        text(367.5, 340, "Click to close", 10, INK_QUIET, "middle"),
        recessed(46, 424, 689, 442, 4),
    ])
    assert vx == 0 and 180 < vy < 225
    return svg(WINDOW_W, WINDOW_H, body, screen_defs())


def controller_screen():
    parts = [
        rect(0, 0, WINDOW_W, WINDOW_H, "url(#body)"),
        rect(0, 0, WINDOW_W, WINDOW_H, "url(#glow)"),
        product_mark(),
        text(367.5, 78, "MIDI CONTROLLERS", 20, INK, "middle", "bold", 4),
        accent_bar(287, 88, 161),
        text(14, 111, "Controller number and the parameter it moves", 10, INK_QUIET),
        recessed(6, 120, 729, 443, 6, "#0f1115"),
    ]
    # Faint rules between the columns of the list (columns start 180 pixels apart at x 14).
    for x in (187, 367, 547):
        parts.append(rect(x, 128, x + 1, 430, "#fff", 0, 'fill-opacity="0.05"'))
    return svg(WINDOW_W, WINDOW_H, "".join(parts), screen_defs())


# ---------------------------------------------------------------------------------------------
# Page controls. Pages are laid out in page coordinates: page x + PAGE_LEFT = window x.

PAGE_LEFT = 369
PAGE_W = WINDOW_W - PAGE_LEFT
FIELD = "#121418"  # the dark fields the editor writes values in (light 9-pixel text)

# The preset list: 16 rows of 15 pixels from LIST_AT; row r uses entry r' = min(r, 15 - r) of the
# name cells' (left, right) and the load markers' (left, width), in list coordinates.
LIST_AT = (55, 90)
LIST_ROW_H = 15
LIST_NAME = [(0, 181), (18, 203), (30, 218), (41, 232), (50, 239), (57, 245), (61, 248),
             (64, 250)]
LIST_MARKER = [(193, 20), (212, 20), (227, 22), (238, 23), (246, 24), (252, 25), (254, 27),
               (255, 28)]
HIGHLIGHT_SIZE = (192, 15)  # as wide as the widest name cell; drawn clipped to the row's cell

GROUP_BUTTON = (46, 18)    # one state; A to D side by side from (53, 63)
COMMAND_BUTTON = (52, 18)  # copy, paste, store, revert from (54, 342), 2 pixels apart
LAYER_BUTTON = (46, 16)
SHAPE_BUTTON = (23, 16)
SYNC_BUTTON = (20, 14)
SMALL_BUTTON_H = 14        # bypass, master and effect type

OFF_FACE = ("#343a44", "#262a31")
ON_FACE = (MINT[1], "#5fd197")


def face_path(x0, y0, x1, y1, left_r, right_r):
    """A rectangle whose left and right ends are rounded by their own radii."""
    def corner(r, x, y):
        return "A%s,%s 0 0 1 %s,%s" % (fmt(r), fmt(r), fmt(x), fmt(y))
    return " ".join([
        "M%s,%s L%s,%s" % (fmt(x0 + left_r), fmt(y0), fmt(x1 - right_r), fmt(y0)),
        corner(right_r, x1, y0 + right_r), "L%s,%s" % (fmt(x1), fmt(y1 - right_r)),
        corner(right_r, x1 - right_r, y1), "L%s,%s" % (fmt(x0 + left_r), fmt(y1)),
        corner(left_r, x0, y1 - left_r), "L%s,%s" % (fmt(x0), fmt(y0 + left_r)),
        corner(left_r, x0 + left_r, y0), "Z"])


def gradient(ident, top, bottom):
    return ('<linearGradient id="%s" x1="0" y1="0" x2="0" y2="1"><stop offset="0" '
            'stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
            % (ident, top, bottom))


def button_face(y, width, height, on, lit=ON_FACE, left_r=3, right_r=3, pressed=False):
    """One state of a button, `height` tall from y: raised graphite when off, lit when on,
    sunk when pressed."""
    x0, x1, y0, y1 = 0.5, width - 0.5, y + 0.5, y + height - 1.5
    ident = "f%d" % y
    if on:
        defs, edge, shine = gradient(ident, *lit), "#0b0c0f", 0.45
    elif pressed:
        defs, edge, shine = gradient(ident, "#1c1f25", "#262a31"), "#07080a", 0.0
    else:
        defs, edge, shine = gradient(ident, *OFF_FACE), "#0a0b0d", 0.10
    parts = ['<path d="%s" fill="#000" fill-opacity="0.45" transform="translate(0,1)"/>'
             % face_path(x0, y0, x1, y1, left_r, right_r),
             '<path d="%s" fill="url(#%s)" stroke="%s" stroke-width="1"/>'
             % (face_path(x0, y0, x1, y1, left_r, right_r), ident, edge)]
    if shine:
        parts.append(rect(x0 + max(left_r, 1.5), y0 + 0.5, x1 - max(right_r, 1.5), y0 + 1.5,
                          "#fff", 0, 'fill-opacity="%s"' % fmt(shine)))
    else:
        parts.append(rect(x0 + 1, y0 + 0.5, x1 - 1, y0 + 2, "#000", 0, 'fill-opacity="0.5"'))
    return "".join(parts), defs


def two_state_button(width, height, label, lit=ON_FACE, left_r=3, right_r=3, kick=False):
    """Off (or normal) above on (or pressed). `label(y, on)` draws the label of one state."""
    parts, defs = [], ""
    for state in (0, 1):
        on = state == 1 and not kick
        body, d = button_face(state * height, width, height, on, lit, left_r, right_r,
                              pressed=kick and state == 1)
        parts.append(body)
        defs += d
        parts.append(label(state * height, state == 1))
    return svg(width, 2 * height, "".join(parts), defs)


def text_label(s, width, height, size=9, on_ink=INK_DARK, off_ink=INK, spacing=0.6,
               kick=False):
    def draw(y, on):
        if kick:
            return text(width / 2, y + height / 2 + 3.5 + (1 if on else 0), s, size,
                        MINT[1] if on else INK, "middle", "bold", spacing)
        return text(width / 2, y + height / 2 + 3, s, size, on_ink if on else off_ink, "middle",
                    "bold" if on else "normal", spacing)
    return draw


def group_button(k):
    w, h = GROUP_BUTTON
    # The four read as one segmented bar: round ends only at A's left and D's right.
    return two_state_button(w, h, text_label("ABCD"[k], w, h, 10), left_r=4 if k == 0 else 0.5,
                            right_r=4 if k == 3 else 0.5)


def command_button(label):
    w, h = COMMAND_BUTTON
    return two_state_button(w, h, text_label(label, w, h, kick=True), kick=True)


def layer_button(label, colours):
    w, h = LAYER_BUTTON
    quiet, lit = colours

    def draw(y, on):
        if on:
            return text(w / 2, y + 11.5, label, 9, INK_DARK, "middle", "bold", 0.6)
        # Off: the layer's colour as a small lamp and in the label (its bright tone, which
        # reads on the graphite face).
        return (rect(4, y + 6, 7, y + 9, quiet, 1)
                + text(w / 2 + 2.5, y + 11.5, label, 9, lit, "middle", "normal", 0.2))
    return two_state_button(w, h, draw, lit=(lit, quiet))


WAVES = {
    "sine": [(t / 16, 0.5 - 0.5 * math.sin(2 * math.pi * t / 16)) for t in range(17)],
    "rect": [(0, 0), (0.5, 0), (0.5, 1), (1, 1)],
    "sawUp": [(0, 1), (1, 0)],
    "sawDown": [(0, 0), (1, 1)],
    "random": [(0, 0.6), (0.2, 0.6), (0.2, 0.1), (0.4, 0.1), (0.4, 0.85), (0.6, 0.85),
               (0.6, 0.35), (0.8, 0.35), (0.8, 1), (1, 1)],
}


def shape_button(wave):
    w, h = SHAPE_BUTTON

    def draw(y, on):
        x0, y0, iw, ih = 5, y + 4, w - 10, h - 9
        points = " ".join("%s,%s" % (fmt(x0 + px * iw), fmt(y0 + py * ih))
                          for px, py in WAVES[wave])
        return ('<polyline points="%s" fill="none" stroke="%s" stroke-width="1.4" '
                'stroke-linejoin="round" stroke-linecap="round"/>'
                % (points, INK_DARK if on else INK))
    return two_state_button(w, h, draw)


def sync_button():
    w, h = SYNC_BUTTON

    def draw(y, on):
        # An eighth note: the tempo's own symbol.
        ink = INK_DARK if on else INK
        cx, cy = 8.5, y + 9.2
        return ('<ellipse cx="%s" cy="%s" rx="2.4" ry="1.8" transform="rotate(-20 %s %s)" '
                'fill="%s"/>' % (fmt(cx), fmt(cy), fmt(cx), fmt(cy), ink)
                + '<path d="M%s,%s L%s,%s q0.4,2.2 3,3.2" fill="none" stroke="%s" '
                'stroke-width="1.1" stroke-linecap="round"/>'
                % (fmt(cx + 2.1), fmt(cy - 0.6), fmt(cx + 2.1), fmt(y + 2.6), ink))
    return two_state_button(w, h, draw)


def small_button(label, width):
    return two_state_button(width, SMALL_BUTTON_H, text_label(label, width, SMALL_BUTTON_H))


def effect_type_button():
    """Two choices side by side, the chosen one lit: DELAY when off, MOD when on."""
    w, h = 72, SMALL_BUTTON_H
    split = 40
    parts, defs = [], gradient("lit", *ON_FACE) + gradient("off", *OFF_FACE)
    for state in (0, 1):
        y = state * h
        x0, x1, y0, y1 = 0.5, w - 0.5, y + 0.5, y + h - 1.5
        parts.append('<path d="%s" fill="#000" fill-opacity="0.45" transform="translate(0,1)"/>'
                     % face_path(x0, y0, x1, y1, 3, 3))
        parts.append('<path d="%s" fill="url(#off)" stroke="#0a0b0d"/>'
                     % face_path(x0, y0, x1, y1, 3, 3))
        lx0, lx1 = (x0, split) if state == 0 else (split, x1)
        parts.append('<path d="%s" fill="url(#lit)"/>'
                     % face_path(lx0 + 0.5, y0 + 0.5, lx1 - 0.5, y1 - 0.5,
                                 2.5 if state == 0 else 0, 0 if state == 0 else 2.5))
        parts.append(rect(split - 0.5, y0, split + 0.5, y1, "#0a0b0d"))
        for label, cx, chosen in (("DELAY", split / 2, state == 0),
                                  ("MOD", (split + w) / 2, state == 1)):
            parts.append(text(cx, y + 10, label, 9, INK_DARK if chosen else INK_QUIET, "middle",
                              "bold" if chosen else "normal", 0.4))
    return svg(w, 2 * h, "".join(parts), defs)


def disabled_knob():
    """Drawn instead of a knob that has nothing to do: a flat cap, no pointer, no value."""
    s = KNOB_SIZE
    c = s / 2
    return svg(s, s, "".join([
        '<circle cx="%s" cy="%s" r="10.5" fill="none" stroke="#0b0c0f" stroke-width="2" '
        'stroke-dasharray="2 3"/>' % (fmt(c), fmt(c)),
        '<circle cx="%s" cy="%s" r="7.5" fill="#262a31" stroke="#0b0c0f" stroke-width="0.8"/>'
        % (fmt(c), fmt(c)),
        rect(c - 3, c - 0.6, c + 3, c + 0.6, "#5d646f"),
    ]))


def preset_highlight():
    """Lies over the current preset's name cell: a tinted tile with a lit mark at its left,
    open to the right so that a cell narrower than the image cuts it cleanly."""
    w, h = HIGHLIGHT_SIZE
    defs = ('<linearGradient id="glow" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="%s" stop-opacity="0.34"/>'
            '<stop offset="1" stop-color="%s" stop-opacity="0.16"/></linearGradient>'
            % (MINT[1], MINT[1]))
    return svg(w, h, "".join([
        '<path d="%s" fill="url(#glow)"/>' % face_path(0, 0, w + 4, h - 1, 3, 0),
        rect(3, 0, w, 1, MINT[1], 0, 'fill-opacity="0.35"'),
        '<path d="%s" fill="%s"/>' % (face_path(0, 0, 3, h - 1, 1.5, 0), MINT[1]),
    ]), defs)


# Page backgrounds -----------------------------------------------------------------------------

def page_crop(content, defs=""):
    """The backdrop under the page area with `content` drawn in page coordinates."""
    return window_crop(PAGE_LEFT, 0, PAGE_W, WINDOW_H,
                       '<g transform="translate(%d,0)">%s</g>' % (PAGE_LEFT, content), defs)


def field(x0, y0, x1, y1):
    """A dark recessed field for text the editor writes."""
    return recessed(x0, y0, x1, y1, 2, FIELD)


def caption(x, y, s, anchor="middle"):
    return text(x, y, s, 9, INK_QUIET, anchor, "normal", 0.1)


def section(x, y, title, x_end):
    """A section title in spaced capitals followed by a hairline to x_end."""
    width = len(title) * 7.4
    return (text(x, y, title, 9, INK, "start", "bold", 1.5)
            + rect(x + width + 4, y - 3.5, x_end, y - 2.5, "#fff", 0, 'fill-opacity="0.10"'))


def knob_caption(cx, cy, s):
    return caption(cx, cy - KNOB_SIZE / 2 - 3, s)


def preset_list():
    parts = []
    lx, ly = LIST_AT
    for r in range(16):
        k = min(r, 15 - r)
        y0 = ly + r * LIST_ROW_H
        left, right = LIST_NAME[k]
        mx, mw = LIST_MARKER[k]
        tone = "#14161b" if r % 2 else "#111317"
        for x0, x1, rl in ((lx + left, lx + right, 3), (lx + mx, lx + mx + mw, 3)):
            parts.append('<path d="%s" fill="%s"/>' % (face_path(x0, y0, x1, y0 + 14, rl, 1.5),
                                                        tone))
            parts.append(rect(x0 + rl, y0, x1 - 1.5, y0 + 1, "#000", 0, 'fill-opacity="0.6"'))
            parts.append(rect(x0 + rl, y0 + 14, x1 - 1.5, y0 + 15, "#fff", 0,
                              'fill-opacity="0.05"'))
    return "".join(parts)


def preset_page():
    return page_crop("".join([
        caption(42, 40, "GROUP", "start"),
        field(42, 44, 167, 56),
        recessed(52, 62, 238, 82, 5, "#111317"),
        preset_list(),
        field(33, 370, 144, 383),
        caption(150, 380, "PALETTE", "start"),
    ]))


LFO_GRID = (145, 98, 275, 208)


def lfo_page():
    gx0, gy0, gx1, gy1 = LFO_GRID
    parts = [recessed(gx0 - 3, gy0 - 3, gx1 + 3, gy1 + 3, 3, "#0b0c0f"),
             rect(gx0, gy0, gx1, gy1, FIELD)]
    # Quarter marks along the grid's lower edge.
    for q in range(5):
        x = gx0 + (gx1 - gx0) * q / 4
        parts.append(rect(x - 0.5, gy1 + 4, x + 0.5, gy1 + 7, "#fff", 0, 'fill-opacity="0.2"'))
    parts += [
        knob_caption(310, 175, "SMOOTH"), field(297, 187, 323, 197),
        section(101, 272, "LFO", 216),
        knob_caption(116, 302, "SPEED"), field(103, 317, 145, 329),
        knob_caption(166, 302, "DELAY"), field(151, 317, 177, 329),
        knob_caption(201, 302, "DEPTH"), field(188, 317, 214, 329),
    ]
    return page_crop("".join(parts))


def global_page():
    parts = [
        section(88, 80, "PITCH LFO", 246),
        knob_caption(109, 106, "SPEED"), field(95, 120, 121, 132),
        knob_caption(159, 106, "DELAY"), field(145, 120, 171, 132),
        knob_caption(194, 106, "DEPTH"), field(180, 120, 206, 132),
        knob_caption(242, 113, "FORM"),
        section(140, 155, "PAN", 212),
        knob_caption(159, 181, "BAL"), field(143, 195, 171, 207),
        knob_caption(194, 181, "SPREAD"), field(178, 195, 206, 207),
        section(227, 155, "MOD WHEEL", 338),
        field(227, 175, 338, 188),
        text(116, 229, "EFFECT", 9, INK, "start", "bold", 1.5),
        rect(222, 224.5, 266, 225.5, "#fff", 0, 'fill-opacity="0.10"'),
        knob_caption(140, 255, "TIME/RATE"), field(124, 269, 170, 281),
        knob_caption(196, 255, "FEEDBACK"), field(181, 269, 209, 281),
        knob_caption(251, 255, "SPREAD"), field(236, 269, 264, 281),
        knob_caption(140, 304, "SPEED"), field(125, 318, 153, 330),
        knob_caption(196, 304, "DEPTH"), field(181, 318, 209, 330),
        knob_caption(251, 304, "MIX"), field(236, 318, 264, 330),
        section(33, 348, "VOICES", 92), field(62, 359, 90, 371),
        section(109, 348, "TUNE", 168), field(138, 359, 166, 371),
    ]
    return page_crop("".join(parts))


# The envelope page --------------------------------------------------------------------------

ENVELOPE_EDITOR = (139, 91, 298, 157)
ENVELOPE_HANDLE = 7          # the editor's handle half-size: its curve stays this far inside
COLUMN_X = [144 + 47 * i for i in range(4)]   # attack, decay, sustain level, release
COLUMN_NAMES = ["ATTACK", "DECAY", "SUSTAIN", "RELEASE"]
COLUMN_SLIDER_Y = (195, 256)
SLOPE_Y = (261, 278)
LEVEL_SLIDER = (52, 90, 140, 258)
LEVEL_SLOPE = (99, 261, 132, 278)
# The level slider's handles follow this guide (slider coordinates): the Low handle ends at the
# guide, the High handle starts at it.
LEVEL_GUIDE = [(10, 0), (46, 29), (63, 55), (73, 90), (72, 138), (67, 162)]
# Slider handles (Low 305, High 304): the Low handle sits left of its slider's middle and points
# right at it, the High handle mirrors it. Light means high, the darker steel means low.
HANDLE_SIZE = (13, 11)
HIGH_TONE = ("#f1f4f7", "#c3cad4")
LOW_TONE = ("#97a2b2", "#6d7787")
# The Filter layer's lower right corner (308): painted over the page at its lower right.
FILTER_PATCH = (136, 281)


def guide_x(y):
    """The level guide's x at slider height y, as the slider computes it (-1 outside)."""
    for (x0, y0), (x1, y1) in zip(LEVEL_GUIDE, LEVEL_GUIDE[1:]):
        if y0 <= y <= y1:
            return x0 if x1 == x0 else x0 + int((y - y0) / ((y1 - y0) / (x1 - x0)))
    return -1


def level_limits():
    """The top and bottom limits of the level handles' centres (slider coordinates)."""
    w, h = HANDLE_SIZE
    top = next(y for y in range(LEVEL_GUIDE[-1][1] + 1) if guide_x(y) > w) + 2
    bottom = LEVEL_SLIDER[3] - LEVEL_SLIDER[1] - 1 - h // 2
    return top, bottom


def groove(d, width=3):
    """A slot cut into the panel along path d: dark, with a lit lower lip."""
    return "".join(
        '<path d="%s" fill="none" stroke="%s" stroke-opacity="%s" stroke-width="%s" '
        'stroke-linecap="round" stroke-linejoin="round"%s/>'
        % (d, colour, fmt(opacity), fmt(w), shift)
        for colour, opacity, w, shift in (("#fff", 0.08, width, ' transform="translate(0,1)"'),
                                          ("#07080a", 1, width, ""),
                                          ("#000", 0.5, 1, ' transform="translate(0,-0.5)"')))


def column_slider(x):
    """The slot of a two-handle column slider at (x, 195): handles meet at its middle."""
    y0, y1 = COLUMN_SLIDER_Y
    w, h = HANDLE_SIZE
    mid = x + 19
    travel = (y1 - y0) - h
    parts = [groove("M%s,%s L%s,%s" % (fmt(mid), y0 + h / 2, fmt(mid), y0 + h / 2 + travel))]
    for k in range(5):
        ty = y0 + h // 2 + travel - int(travel * k / 4) + 0.5
        for tx in (x + 2, x + 34):
            parts.append(rect(tx, ty - 0.5, tx + 3, ty + 0.5, "#fff", 0,
                              'fill-opacity="%s"' % ("0.28" if k in (0, 4) else "0.14")))
    return "".join(parts)


def level_slider():
    x0, y0 = LEVEL_SLIDER[:2]
    top, bottom = level_limits()
    points = ["%s,%s" % (fmt(x0 + guide_x(y)), y0 + y) for y in range(top, bottom + 1, 2)]
    parts = [groove("M" + " L".join(points), 4)]
    # Ticks right of the High handle at 0, -6, -12, -24 and -48 dB (the handle shows the cube
    # root of the level) and at the bottom (silence).
    w = HANDLE_SIZE[0]
    for db in (0, -6, -12, -24, -48, None):
        p = 0 if db is None else (10 ** (db / 20)) ** (1 / 3)
        y = bottom - int(p * (bottom - top))
        tx = x0 + guide_x(y) + w + 3
        parts.append(rect(tx, y0 + y, tx + (4 if db in (0, None) else 2.5), y0 + y + 1, "#fff", 0,
                          'fill-opacity="%s"' % ("0.30" if db in (0, None) else "0.16")))
    return "".join(parts)


def envelope_editor_field():
    x0, y0, x1, y1 = ENVELOPE_EDITOR
    hs = ENVELOPE_HANDLE
    parts = [recessed(x0 - 2, y0 - 2, x1 + 2, y1 + 2, 3, "#0b0c0f"), rect(x0, y0, x1, y1, FIELD)]
    # Level guides where the curve crosses 0, -12, -24 and -48 dB (cube-root axis), and the
    # floor of silence a little brighter.
    area_top, height = y0 + hs, (y1 - y0) - 2 * hs
    for db in (0, -12, -24, -48, None):
        level = 0 if db is None else 10 ** (db / 20)
        y = area_top + height - height * level ** (1 / 3)
        parts.append(rect(x0 + 1, int(y), x1 - 1, int(y) + 1, "#fff", 0, 'fill-opacity="%s"'
                          % ("0.10" if db is None or db == 0 else "0.05")))
    return "".join(parts)


def slope_field(x0, y0, x1, y1):
    """The field of a slope display, whose line runs from the Low value at its left end to the
    High value at its right end: each end carries a thin mark in its handle's tone."""
    return "".join([recessed(x0, y0, x1, y1, 2, FIELD),
                    rect(x0 + 1, y0 + 3, x0 + 2, y1 - 3, LOW_TONE[1]),
                    rect(x1 - 2, y0 + 3, x1 - 1, y1 - 3, HIGH_TONE[1])])


def envelope_common():
    """Everything of the envelope page that both arrangements share."""
    parts = [envelope_editor_field(), level_slider(), caption(98, 100, "LEVEL", "start"),
             slope_field(*LEVEL_SLOPE)]
    for x, name in zip(COLUMN_X, COLUMN_NAMES):
        parts.append(caption(x + 19.5, 172, name))
        parts.append(field(x + 3, 177, x + 36, 187))
        parts.append(column_slider(x))
        parts.append(slope_field(x + 3, SLOPE_Y[0], x + 36, SLOPE_Y[1]))
    # Velocity: its effect on the level and on the attack.
    parts += [text(98.5, 303, "VELOCITY", 9, INK, "middle", "bold", 1.5),
              knob_caption(81, 332, "LEVEL"), field(68, 348, 94, 360),
              knob_caption(116, 332, "ATTACK"), field(103, 348, 129, 360)]
    return "".join(parts)


def envelope_corner(filter_layer):
    """The lower right corner of the page: octave and sample start for Base and Top, the
    envelope's key offset and the emphasis for Filter."""
    if filter_layer:
        return "".join([
            knob_caption(166, 320, "EMPHASIS"), field(154, 336, 180, 348),
            slope_field(224, 296, 255, 313),
            caption(207, 329, "LO"), caption(240, 329, "OFFSET"), caption(273, 329, "HI"),
        ])
    return "".join([
        knob_caption(150, 332, "OCT"), field(138, 348, 164, 360),
        text(211, 291, "START", 9, INK, "middle", "bold", 1.5),
        knob_caption(194, 319, "OFFSET"), field(181, 335, 207, 347),
        knob_caption(228, 319, "VEL"), field(215, 335, 241, 347),
    ])


def envelope_page():
    return page_crop(envelope_common() + envelope_corner(False))


def filter_patch():
    """The lower right corner of the page in the Filter layer's arrangement."""
    px, py = FILTER_PATCH
    content = '<g transform="translate(%d,0)">%s</g>' % (PAGE_LEFT, envelope_common()
                                                         + envelope_corner(True))
    return window_crop(PAGE_LEFT + px, py, PAGE_W - px, WINDOW_H - py, content)


def slider_handle(tone, points_right):
    """A slider handle pointing at the slider's middle: right for Low, left for High."""
    w, h = HANDLE_SIZE
    top, bottom = tone
    tip = w - 0.5 if points_right else 0.5
    back = 0.5 if points_right else w - 0.5
    shoulder = w - 4.5 if points_right else 4.5
    mid = h / 2 - 0.5
    r = 3.5 if points_right else -3.5
    d = ("M%s,%s L%s,0.5 L%s,%s L%s,%s L%s,%s Q%s,%s %s,%s L%s,%s Q%s,0.5 %s,0.5 Z"
         % (fmt(back + r), "0.5", fmt(shoulder), fmt(tip), fmt(mid), fmt(shoulder),
            fmt(h - 1.5), fmt(back + r), fmt(h - 1.5), fmt(back), fmt(h - 1.5), fmt(back),
            fmt(h - 1.5 - abs(r)), fmt(back), fmt(0.5 + abs(r)), fmt(back), fmt(back + r)))
    defs = gradient("face", top, bottom)
    body = "".join([
        '<path d="%s" fill="#000" fill-opacity="0.45" transform="translate(0,1)"/>' % d,
        '<path d="%s" fill="url(#face)" stroke="#0b0c0f" stroke-width="1"/>' % d,
        # The line that marks the value, running into the tip.
        rect(min(back, tip) + 2, mid - 0.5, max(back, tip) - 2, mid + 0.5, "#0b0c0f", 0,
             'fill-opacity="0.55"'),
        rect(min(back, shoulder) + 2, 1, max(back, shoulder) - 2, 2, "#fff", 0,
             'fill-opacity="0.6"'),
    ])
    return svg(w, h, body, defs)


# The keyboard strip (180) -------------------------------------------------------------------
#
# Seven frames of 65 pixels stacked from the top. Frame 0 is the playable keyboard; frames 1 to
# 5 show the lid sliding from the left over the keys, frame k covering the lowest k octaves;
# frame 6 is the collapsed keyboard, its lid closed. Collapsing steps 0 -> 6, opening 6 -> 0.
#
# Key geometry (strip coordinates): the keys span x 38 .. 456 (margins 38 and 22); an octave is
# 418 / 6 pixels, a white key a seventh of that; white key k of octave o starts at
# 38 + round(o * octave + k * white) and ends one pixel before the next white key (a dark gap);
# black keys are 7 pixels wide at 6, 16, 36, 46, 56 within the octave (38 + round(o * octave +
# offset)). White keys run from row 6 to row 49 with a lip below, black keys from row 8 to 33.
# Lit keys are painted by the editor: black keys rows 11 to 33, white keys rows 33 to 49.

KEYBOARD_FRAMES = 7
KEYBOARD_FRAME_H = KEYBOARD_BAY[3] - KEYBOARD_BAY[1]
KEYS_LEFT = 38
KEYS_RIGHT = KEYBOARD_BAY[2] - 22
OCTAVES = 6
BLACK_OFFSETS = (6, 16, 36, 46, 56)
BLACK_W = 7
KEY_TOP, BLACK_BOTTOM, WHITE_BOTTOM = 6, 33, 49
WHITE_KEY = ("#eceae4", "#d3d1cb")  # ivory, a little warmer and darker than white
BLACK_KEY = ("#2d3139", "#17191e")


def round_half_up(v):
    return int(math.floor(v + 0.5))


def white_key_edges():
    octave = (KEYS_RIGHT - KEYS_LEFT) / OCTAVES
    white = octave / 7
    return [KEYS_LEFT + round_half_up(j * white) for j in range(7 * OCTAVES + 1)]


def black_key_lefts():
    octave = (KEYS_RIGHT - KEYS_LEFT) / OCTAVES
    return [KEYS_LEFT + round_half_up(o * octave + off) for o in range(OCTAVES)
            for off in BLACK_OFFSETS]


def keys():
    """The six octaves in strip coordinates."""
    edges = white_key_edges()
    parts = [rect(KEYS_LEFT, KEY_TOP, KEYS_RIGHT, WHITE_BOTTOM + 3, "#07080a")]
    for x0, x1 in zip(edges, edges[1:]):
        parts.append(rect(x0, KEY_TOP, x1 - 1, WHITE_BOTTOM, "url(#ivory)"))
        # The key's front: a lip that catches less light.
        parts.append(rect(x0, WHITE_BOTTOM, x1 - 1, WHITE_BOTTOM + 2, "#a9a7a1"))
        parts.append(rect(x0, WHITE_BOTTOM + 2, x1 - 1, WHITE_BOTTOM + 3, "#6c6b67"))
        parts.append(rect(x0, KEY_TOP, x0 + 1, WHITE_BOTTOM, "#fff", 0, 'fill-opacity="0.5"'))
    for x in black_key_lefts():
        parts.append(rect(x + 1, KEY_TOP, x + BLACK_W + 1, BLACK_BOTTOM + 2, "#000", 0,
                          'fill-opacity="0.25"'))
        parts.append(rect(x, KEY_TOP, x + BLACK_W, BLACK_BOTTOM, "url(#ebony)"))
        parts.append(rect(x + 1, BLACK_BOTTOM - 4, x + BLACK_W - 1, BLACK_BOTTOM - 1, "#fff", 0,
                          'fill-opacity="0.10"'))
        parts.append(rect(x + 1, KEY_TOP, x + 2, BLACK_BOTTOM - 4, "#fff", 0,
                          'fill-opacity="0.10"'))
    # The soft shadow the felt casts over the back of the keys.
    parts.append(rect(KEYS_LEFT, KEY_TOP, KEYS_RIGHT, KEY_TOP + 8, "url(#keyShade)"))
    # The key slip with the C of every octave named (note 36 is C2).
    for o in range(OCTAVES):
        parts.append(text(edges[7 * o] + 1, 62, "C%d" % (o + 2), 9, INK_QUIET, "start", "normal",
                          0.2))
    return "".join(parts)


def keyboard_defs():
    return (gradient("ivory", *WHITE_KEY) + gradient("ebony", *BLACK_KEY)
            + gradient("lid", "#2c313a", "#1a1d23")
            + '<linearGradient id="keyShade" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#000" stop-opacity="0.55"/>'
            '<stop offset="1" stop-color="#000" stop-opacity="0"/></linearGradient>')


def cheek(x0, x1):
    """An end block of the keybed."""
    return raised(x0, 5, x1, KEYBOARD_FRAME_H - 1, 3, "url(#lid)")


def chevron(cx, cy, right):
    s = 1 if right else -1
    return ('<path d="M%s,%s L%s,%s L%s,%s" fill="none" stroke="%s" stroke-width="1.6" '
            'stroke-linecap="round" stroke-linejoin="round"/>'
            % (fmt(cx - 2 * s), fmt(cy - 4), fmt(cx + 2 * s), fmt(cy), fmt(cx - 2 * s),
               fmt(cy + 4), MINT[1]))


def lid(right, closed):
    """The lid, drawn out from under the left cheek to x `right`: a raised graphite panel with
    a grip at its leading edge, and the product's name once it is closed."""
    parts = [rect(right, 4, right + 3, KEYBOARD_FRAME_H, "#000", 0, 'fill-opacity="0.45"'),
             raised(0, 4, right, KEYBOARD_FRAME_H - 1, 3, "url(#lid)"),
             rect(right - 1, 6, right, KEYBOARD_FRAME_H - 3, "#fff", 0, 'fill-opacity="0.06"')]
    for k in range(3):
        x = right - 9 - 3 * k
        parts.append(rect(x, 24, x + 1, 42, "#000", 0, 'fill-opacity="0.5"'))
        parts.append(rect(x + 1, 24, x + 2, 42, "#fff", 0, 'fill-opacity="0.07"'))
    if closed:
        # Engraved: a dark cut with a lit lower edge.
        cx = (KEYS_LEFT + KEYS_RIGHT) / 2
        parts.append(text(cx, 39, "QUOR", 13, "#fff", "middle", "bold", 8, 0.07))
        parts.append(text(cx, 38, "QUOR", 13, "#000", "middle", "bold", 8, 0.45))
    return "".join(parts)


def keyboard_frame(k):
    """Frame k of the strip in strip coordinates: the lid covers the lowest k octaves."""
    octave = (KEYS_RIGHT - KEYS_LEFT) / OCTAVES
    parts = [keys()]
    if k:
        parts.append(lid(KEYS_LEFT + round_half_up(k * octave), k == KEYBOARD_FRAMES - 1))
    parts.append(cheek(KEYS_RIGHT, KEYBOARD_BAY[2]))
    parts.append(cheek(0, KEYS_LEFT))
    # The handle that folds the keyboard away or opens it again; its chevron points the way
    # the lid will move.
    parts.append(recessed(9, 21, 29, 43, 4, "#111317"))
    parts.append(chevron(19, 32, k == 0))
    return "".join(parts)


def keyboard_strip():
    x0, y0, x1, _ = KEYBOARD_BAY
    h = KEYBOARD_FRAME_H
    body = []
    for k in range(KEYBOARD_FRAMES):
        body.append('<svg x="0" y="%d" width="%d" height="%d" viewBox="0 0 %d %d">'
                    '<image x="%d" y="%d" width="%d" height="%d" href="%s"/>%s</svg>'
                    % (k * h, x1 - x0, h, x1 - x0, h, -x0, -y0, WINDOW_W, WINDOW_H, BACKDROP_PNG,
                       keyboard_frame(k)))
    return svg(x1 - x0, h * KEYBOARD_FRAMES, "".join(body), keyboard_defs())


def images(palette):
    out = {
        129: window_background(),
        130: about_screen(palette),
        131: palette_image(palette, False),
        132: palette_image(palette, True),
        133: page_background(),
        134: controller_screen(),
        160: menu_item(),
        161: icon("B", AMBER),
        162: icon("T", CYAN),
        163: icon("F", VIOLET),
        180: keyboard_strip(),
        190: loading_indicator(),
        351: knob_strip(),
        200: preset_page(),
        205: command_button("COPY"),
        206: command_button("PASTE"),
        207: command_button("STORE"),
        208: command_button("REVERT"),
        210: preset_highlight(),
        301: layer_button("BASE", AMBER),
        302: layer_button("TOP", CYAN),
        300: envelope_page(),
        303: layer_button("FILTER", VIOLET),
        304: slider_handle(HIGH_TONE, False),
        305: slider_handle(LOW_TONE, True),
        306: sync_button(),
        308: filter_patch(),
        350: knob_strip(),
        400: global_page(),
        401: small_button("BYPASS", 46),
        402: effect_type_button(),
        403: disabled_knob(),
        600: lfo_page(),
        615: small_button("MASTER", 50),
    }
    for k in range(4):
        out[201 + k] = group_button(k)
    for k, wave in enumerate(("sine", "rect", "sawUp", "sawDown", "random")):
        out[610 + k] = shape_button(wave)
    for ident, label, x, _, width in PAGE_BUTTONS:
        face = PRESETS_FACE_LEFT - x if ident == 150 else 0
        out[ident] = page_button(label, width, face)
    return out


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    rings_header, out_dir, wanted = argv[1], argv[2], sorted(int(a) for a in argv[3:])
    palette = Palette(*parse_rings(rings_header))
    made = images(palette)
    if sorted(made) != wanted:
        sys.exit("generate.py makes %s, the build expects %s" % (sorted(made), wanted))
    os.makedirs(out_dir, exist_ok=True)
    made[BACKDROP] = svg(WINDOW_W, WINDOW_H, backdrop(palette), backdrop_defs())
    for ident, content in made.items():
        with open(os.path.join(out_dir, "%s.svg" % ident), "w", encoding="utf-8") as f:
            f.write(content)


if __name__ == "__main__":
    main(sys.argv)
