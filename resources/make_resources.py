"""Draws Lumivex's pictures at build time: the About picture, the button glyphs and the icon.

Usage: python3 make_resources.py OUTDIR

Everything is drawn here from signed distance fields: each shape is a function
giving the distance from a pixel centre to its outline (negative inside), and
coverage = clamp(0.5 - distance) gives a one-pixel anti-aliased edge without
supersampling. Output is deterministic; only the standard library is used.

Files and formats:
- about.bmp: 301 x 301, 8 bpp with a 256-entry colour table, BI_RGB, 40-byte
  BITMAPINFOHEADER, bottom-up. It is compiled into the About dialog's layout,
  which takes a plain 256-colour DIB. The palette comes from a variance-driven
  median cut of the rendered picture, so it holds the gradient and emblem
  shades; a light 4x4 ordered dither keeps the sky and glows free of banding.
- bbok.bmp, bbcancel.bmp, bbdefault.bmp, bbabout.bmp: 18 x 18 (and bbok-N.bmp
  and so on at N x N for the sizes of GLYPH_SIZES, the same shapes drawn for
  the common display scalings, named BBOK_N and so on in glyphs.rc), 32 bpp BI_RGB
  with a 40-byte BITMAPINFOHEADER, bottom-up, the fourth byte of every pixel a
  real alpha channel (transparent background, anti-aliased edges). The colour
  bytes are stored premultiplied by alpha. BI_RGB with a plain info header is
  the variant every loader accepts; LoadImageW(..., LR_CREATEDIBSECTION) keeps
  the alpha byte untouched, and AlphaBlend with AC_SRC_ALPHA wants
  premultiplied pixels, so the loaded section is drawn as it is.
- lumivex.ico: 16, 32 and 48 pixel images as 32-bit BGRA DIB entries (straight
  alpha, with a 1-bpp AND mask for alpha-unaware consumers) and a 256 pixel
  image as a PNG entry.
"""

import math
import os
import random
import struct
import sys
import zlib


# ---------------------------------------------------------------- geometry

def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def coverage(d):
    """Pixel coverage of a shape whose signed distance at the pixel centre is d."""
    return clamp01(0.5 - d)


def mix(c0, c1, t):
    return (c0[0] + (c1[0] - c0[0]) * t,
            c0[1] + (c1[1] - c0[1]) * t,
            c0[2] + (c1[2] - c0[2]) * t)


def hex_rgb(text):
    v = int(text.lstrip('#'), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0)


def gradient(stops, t):
    """Colour at t in a list of (position, colour) stops sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def dist_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    px, py = x - ax, y - ay
    ll = dx * dx + dy * dy
    h = clamp01((px * dx + py * dy) / ll) if ll > 0 else 0.0
    return math.hypot(px - dx * h, py - dy * h)


def dist_arc(x, y, cx, cy, r, a0, a1):
    """Distance to a circular arc running clockwise on screen from angle a0 to a1 (radians, a1 > a0)."""
    dx, dy = x - cx, y - cy
    if (math.atan2(dy, dx) - a0) % (2 * math.pi) <= a1 - a0:
        return abs(math.hypot(dx, dy) - r)
    return min(math.hypot(x - cx - r * math.cos(a0), y - cy - r * math.sin(a0)),
               math.hypot(x - cx - r * math.cos(a1), y - cy - r * math.sin(a1)))


def sd_box(x, y, cx, cy, hx, hy, radius=0.0):
    """Rounded rectangle centred on (cx, cy) with half sizes hx, hy."""
    qx = abs(x - cx) - hx + radius
    qy = abs(y - cy) - hy + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def sd_polygon(x, y, pts):
    """Signed distance to a simple polygon given as a list of (x, y) corners."""
    n = len(pts)
    d = float('inf')
    inside = False
    j = n - 1
    for i in range(n):
        xi, yi = pts[i]
        xj, yj = pts[j]
        d = min(d, dist_segment(x, y, xj, yj, xi, yi))
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return -d if inside else d


# ---------------------------------------------------------------- canvas

class Canvas:
    """RGBA picture with premultiplied float channels in 0..1, row 0 at the top."""

    def __init__(self, width, height, background=None, scale=1.0):
        self.width = width
        self.height = height
        self.scale = scale
        n = width * height
        if background is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            self.r = [background[0]] * n
            self.g = [background[1]] * n
            self.b = [background[2]] * n
            self.a = [1.0] * n

    def paint(self, shader, box=None):
        """Composite shader(x, y) -> (alpha, (r, g, b)) or None over the pixels in box.

        x and y are pixel centres; box is (x0, y0, x1, y1) in pixels, clipped to the canvas.
        """
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        r, g, b, a = self.r, self.g, self.b, self.a
        s = self.scale
        for py in range(y0, y1):
            row = py * self.width
            yc = (py + 0.5) / s
            for px in range(x0, x1):
                res = shader((px + 0.5) / s, yc)
                if res is None:
                    continue
                alpha, col = res
                if alpha <= 0.0:
                    continue
                i = row + px
                keep = 1.0 - alpha
                r[i] = col[0] * alpha + r[i] * keep
                g[i] = col[1] * alpha + g[i] * keep
                b[i] = col[2] * alpha + b[i] * keep
                a[i] = alpha + a[i] * keep

    def fill(self, sdf, colour, box=None, opacity=1.0):
        """Fill the shape sdf(x, y) with a constant colour or a colour function of (x, y)."""
        s = self.scale
        if callable(colour):
            def shader(x, y):
                c = coverage(sdf(x, y) * s)
                return (c * opacity, colour(x, y)) if c > 0.0 else None
        else:
            def shader(x, y):
                c = coverage(sdf(x, y) * s)
                return (c * opacity, colour) if c > 0.0 else None
        self.paint(shader, box)

    def pixel(self, i):
        """Straight-alpha 8-bit (r, g, b, a) of pixel index i."""
        a = self.a[i]
        if a <= 0.0:
            return (0, 0, 0, 0)
        return (round(clamp01(self.r[i] / a) * 255), round(clamp01(self.g[i] / a) * 255),
                round(clamp01(self.b[i] / a) * 255), round(clamp01(a) * 255))

    def premultiplied_pixel(self, i):
        a8 = round(clamp01(self.a[i]) * 255)
        return (min(a8, round(clamp01(self.r[i]) * 255)), min(a8, round(clamp01(self.g[i]) * 255)),
                min(a8, round(clamp01(self.b[i]) * 255)), a8)


# ---------------------------------------------------------------- stroke font

# Rounded geometric lower-case letters (plus "L"), in units where the x-height
# is 10 and the cap height 14; y grows downwards from the baseline at 0.
# Each entry: (advance width, strokes); a stroke is ('line', x0, y0, x1, y1),
# ('arc', cx, cy, r, a0_deg, a1_deg) clockwise on screen, or ('dot', x, y, r).
FONT = {
    'L': (7.5, [('line', 0, -14, 0, 0), ('line', 0, 0, 7.5, 0)]),
    'u': (8.0, [('line', 0, -10, 0, -4), ('arc', 4, -4, 4, 0, 180), ('line', 8, -10, 8, 0)]),
    'm': (13.0, [('line', 0, -10, 0, 0), ('arc', 3.25, -6.75, 3.25, 180, 360),
                 ('line', 6.5, -6.75, 6.5, 0), ('arc', 9.75, -6.75, 3.25, 180, 360),
                 ('line', 13, -6.75, 13, 0)]),
    'i': (0.0, [('line', 0, -10, 0, 0), ('dot', 0, -13.6, 1.45)]),
    'v': (8.6, [('line', 0, -10, 4.3, 0), ('line', 4.3, 0, 8.6, -10)]),
    'e': (9.4, [('line', 0.1, -4.9, 9.3, -4.9), ('arc', 4.7, -5, 4.7, 42, 360)]),
    'x': (8.4, [('line', 0, -10, 8.4, 0), ('line', 8.4, -10, 0, 0)]),
}
FONT_GAP = 4.4
FONT_STROKE = 2.3


def text_shape(text, x, baseline, scale):
    """Signed distance function and bounding box of text set with FONT at (x, baseline)."""
    hw = FONT_STROKE * scale / 2
    glyphs = []
    pen = 0.0
    for ch in text:
        advance, strokes = FONT[ch]
        prims = []
        for s in strokes:
            if s[0] == 'line':
                prims.append(('line', x + (pen + s[1]) * scale, baseline + s[2] * scale,
                              x + (pen + s[3]) * scale, baseline + s[4] * scale))
            elif s[0] == 'arc':
                prims.append(('arc', x + (pen + s[1]) * scale, baseline + s[2] * scale, s[3] * scale,
                              math.radians(s[4]), math.radians(s[5])))
            else:
                prims.append(('dot', x + (pen + s[1]) * scale, baseline + s[2] * scale, s[3] * scale))
        gx0 = x + pen * scale - 2 * hw
        glyphs.append((gx0, x + (pen + advance) * scale + 2 * hw, prims))
        pen += advance + FONT_GAP
    width = (pen - FONT_GAP) * scale

    def sdf(px, py):
        d = float('inf')
        for gx0, gx1, prims in glyphs:
            if px < gx0 - d or px > gx1 + d:
                continue
            for p in prims:
                if p[0] == 'line':
                    e = dist_segment(px, py, p[1], p[2], p[3], p[4]) - hw
                elif p[0] == 'arc':
                    e = dist_arc(px, py, p[1], p[2], p[3], p[4], p[5]) - hw
                else:
                    e = math.hypot(px - p[1], py - p[2]) - p[3]
                if e < d:
                    d = e
        return d

    box = (x - hw, baseline - 14 * scale - 2 * hw, x + width + hw, baseline + hw)
    return sdf, box


def text_width(text, scale):
    return (sum(FONT[ch][0] for ch in text) + FONT_GAP * (len(text) - 1)) * scale


# ---------------------------------------------------------------- the emblem

SUN_STOPS = [(0.0, hex_rgb('#fffcea')), (0.30, hex_rgb('#ffe68a')), (0.62, hex_rgb('#ffbb3c')),
             (1.0, hex_rgb('#f27a22'))]
NAVY = hex_rgb('#1a2352')
RAY = hex_rgb('#ffe9a8')
GLOW = hex_rgb('#ffc860')


def draw_emblem(cv, cx, cy, R, rays=16, ray_len=0.75, glow=1.0, rim=True, weight=0.24):
    """The Lumivex sun: glow, tapered rays, a lit golden disk with a navy "L".

    R is the disk radius in pixels; rays=0 leaves the rays out (small icons);
    weight is the L's stroke as a fraction of R.
    """
    outer = R * (1 + ray_len + 0.9 * glow)
    box = (cx - outer, cy - outer, cx + outer, cy + outer)

    if glow > 0:
        sigma = R * 0.42 * glow

        def halo(x, y):
            d = math.hypot(x - cx, y - cy) - R
            if d < -1:
                return None
            return 0.55 * math.exp(-max(d, 0.0) / sigma), GLOW
        cv.paint(halo, box)

    if rays:
        step = 2 * math.pi / rays
        r0 = R * 1.08

        def ray(x, y):
            dx, dy = x - cx, y - cy
            rr = math.hypot(dx, dy)
            if rr < R * 0.9:
                return None
            k = round((math.atan2(dy, dx) + math.pi / 2) / step)
            length = R * ray_len * (1.0 if k % 2 == 0 else 0.62)
            t = (rr - r0) / length
            if t > 1.0:
                return None
            delta = math.atan2(dy, dx) + math.pi / 2 - k * step
            off = abs(rr * math.sin(delta))
            half = R * 0.085 * (1.0 - max(t, 0.0)) + 0.35
            c = coverage(off - half) * clamp01((rr - R * 0.95) / 2.0)
            fade = (1.0 - max(t, 0.0)) ** 1.4
            return c * fade * 0.9, RAY
        cv.paint(ray, box)

    hx, hy = cx - 0.32 * R, cy - 0.36 * R
    disk = (cx - R - 1, cy - R - 1, cx + R + 1, cy + R + 1)
    cv.fill(lambda x, y: sd_circle(x, y, cx, cy, R),
            lambda x, y: gradient(SUN_STOPS, math.hypot(x - hx, y - hy) / (1.45 * R)), disk)
    if rim:
        rim_w = max(0.6, R * 0.035)
        cv.fill(lambda x, y: abs(math.hypot(x - cx, y - cy) - (R - rim_w / 2)) - rim_w / 2,
                hex_rgb('#d8601a'), disk, opacity=0.7)
        arc_w = R * 0.05
        cv.fill(lambda x, y: dist_arc(x, y, cx, cy, R * 0.84, math.radians(195), math.radians(255))
                - arc_w / 2, (1.0, 1.0, 1.0), disk, opacity=0.6)

    draw_l(cv, cx, cy, R, weight)


def l_shape(cx, cy, R, weight):
    stem = R * weight
    left, right = cx - 0.30 * R, cx + 0.36 * R
    top, bottom = cy - 0.54 * R, cy + 0.50 * R
    rad = stem * 0.22

    def sdf(x, y):
        a = sd_box(x, y, left + stem / 2, (top + bottom) / 2, stem / 2, (bottom - top) / 2, rad)
        b = sd_box(x, y, (left + right) / 2, bottom - stem / 2, (right - left) / 2, stem / 2, rad)
        return min(a, b)
    return sdf, (left - 2, top - 2, right + 2, bottom + 2)


def draw_l(cv, cx, cy, R, weight):
    sdf, box = l_shape(cx, cy, R, weight)
    shadow = R * 0.04
    cv.fill(lambda x, y: sdf(x - shadow, y - shadow), hex_rgb('#b4501a'),
            (box[0], box[1], box[2] + shadow + 1, box[3] + shadow + 1), opacity=0.35)
    cv.fill(sdf, lambda x, y: mix(hex_rgb('#2b3a7a'), NAVY, clamp01((y - box[1]) / (box[3] - box[1]))), box)


# ---------------------------------------------------------------- pictures

SKY_STOPS = [(0.0, hex_rgb('#0b1433')), (0.45, hex_rgb('#1d2a66')), (0.80, hex_rgb('#3a2f78')),
             (1.0, hex_rgb('#5a3680'))]


def draw_about():
    size = 301
    cx, cy, R = 150.5, 122.0, 50.0
    cv = Canvas(size, size, (0, 0, 0))

    warm = hex_rgb('#ff9a4a')

    def sky(x, y):
        base = gradient(SKY_STOPS, y / size)
        d = math.hypot(x - cx, (y - cy) * 0.9) / size
        base = mix(base, warm, 0.42 * math.exp(-(d / 0.32) ** 2))
        vignette = 1.0 - 0.35 * ((x - size / 2) ** 2 + (y - size / 2) ** 2) / (size * size / 2)
        return 1.0, (base[0] * vignette, base[1] * vignette, base[2] * vignette)
    cv.paint(sky)

    rng = random.Random(1301)
    for _ in range(70):
        sx, sy = rng.uniform(6, size - 6), rng.uniform(6, size - 6)
        if math.hypot(sx - cx, sy - cy) < R * 2.2 or 200 < sy < 275:
            continue
        sr = rng.uniform(0.5, 1.25)
        peak = rng.uniform(0.35, 0.95)

        def star(x, y, sx=sx, sy=sy, sr=sr, peak=peak):
            return peak * math.exp(-((x - sx) ** 2 + (y - sy) ** 2) / (sr * sr)), (1.0, 0.97, 0.9)
        cv.paint(star, (sx - 4, sy - 4, sx + 5, sy + 5))

    draw_emblem(cv, cx, cy, R, rays=16, ray_len=0.78)

    scale = 2.35
    word = 'Lumivex'
    tx = (size - text_width(word, scale)) / 2
    sdf, (bx0, by0, bx1, by1) = text_shape(word, tx, 262.0, scale)
    pad = 14

    def glow(x, y):
        d = sdf(x, y)
        return 0.5 * math.exp(-max(d, 0.0) / 4.0), hex_rgb('#ffb860')
    cv.paint(glow, (bx0 - pad, by0 - pad, bx1 + pad, by1 + pad))

    top, bottom = by0, by1

    def ink(x, y):
        return gradient([(0.0, hex_rgb('#ffffff')), (0.55, hex_rgb('#fff2cc')), (1.0, hex_rgb('#ffc870'))],
                        (y - top) / (bottom - top))
    cv.fill(sdf, ink, (bx0, by0, bx1, by1))

    line_y = 276.5
    half = text_width(word, scale) / 2

    def rule(x, y):
        t = abs(x - size / 2) / half
        if t > 1.0:
            return None
        return coverage(abs(y - line_y) - 0.5) * 0.55 * (1 - t * t), hex_rgb('#ffd79a')
    cv.paint(rule, (0, line_y - 2, size, line_y + 2))
    return cv


def draw_icon(size):
    cv = Canvas(size, size)
    s = float(size)
    inset = 0.0 if size <= 16 else s * 0.03
    corner = s * 0.2

    def tile(x, y):
        return sd_box(x, y, s / 2, s / 2, s / 2 - inset, s / 2 - inset, corner)

    top_c, bottom_c = hex_rgb('#2a3a80'), hex_rgb('#0f1838')
    cv.fill(tile, lambda x, y: mix(top_c, bottom_c, y / s))
    if size >= 32:
        edge = max(1.0, s / 64)
        cv.fill(lambda x, y: abs(tile(x, y) + edge / 2) - edge / 2, hex_rgb('#6f86d8'), opacity=0.45)

    clip = Canvas(size, size)
    if size >= 48:
        draw_emblem(clip, s / 2, s / 2, s * 0.25, rays=16 if size >= 128 else 12, ray_len=0.72, glow=0.8)
    elif size >= 32:
        draw_emblem(clip, s / 2, s / 2, s * 0.3, rays=8, ray_len=0.5, glow=0.6)
    else:
        draw_emblem(clip, s / 2, s / 2, s * 0.4, rays=0, glow=0.0, rim=False, weight=0.31)
    # The emblem's glow and rays stay inside the tile.
    for i in range(size * size):
        inside = coverage(tile((i % size) + 0.5, (i // size) + 0.5))
        a = clip.a[i] * inside
        if a <= 0.0:
            continue
        keep = 1.0 - a
        cv.r[i] = clip.r[i] * inside + cv.r[i] * keep
        cv.g[i] = clip.g[i] * inside + cv.g[i] * keep
        cv.b[i] = clip.b[i] * inside + cv.b[i] * keep
        cv.a[i] = a + cv.a[i] * keep
    return cv


GLYPH = 18
# The glyph's size in pixels at 125, 150, 175, 200, 250 and 300 % display scaling (18 * dpi / 96, rounded down).
GLYPH_SIZES = (22, 27, 31, 36, 45, 54)


def glyph_canvas(size):
    """A glyph's canvas of size pixels, drawn in the 18-unit design grid scaled to it."""
    return Canvas(size, size, scale=size / GLYPH)


def outlined(cv, sdf, border, light, dark, width=1.0):
    """Fill a glyph shape with a dark border and a top-lit vertical gradient inside it."""
    cv.fill(sdf, border)
    cv.fill(lambda x, y: sdf(x, y) + width, lambda x, y: mix(light, dark, clamp01((y - 2) / 14)))


def draw_ok(size=GLYPH):
    cv = glyph_canvas(size)
    pts = [(3.2, 9.6), (7.0, 13.4), (14.8, 4.6)]

    def check(x, y):
        return min(dist_segment(x, y, *pts[0], *pts[1]), dist_segment(x, y, *pts[1], *pts[2])) - 2.1
    outlined(cv, check, hex_rgb('#16621c'), hex_rgb('#7ee068'), hex_rgb('#23a02e'))
    return cv


def draw_cancel(size=GLYPH):
    cv = glyph_canvas(size)
    a, b = 4.4, 13.6

    def cross(x, y):
        return min(dist_segment(x, y, a, a, b, b), dist_segment(x, y, a, b, b, a)) - 2.0
    outlined(cv, cross, hex_rgb('#7e1414'), hex_rgb('#ff8070'), hex_rgb('#d42424'))
    return cv


def draw_default(size=GLYPH):
    cv = glyph_canvas(size)
    cx, cy, r = 9.0, 10.0, 5.3
    # Open circle running clockwise from the top round to the left, with the
    # arrow head at the top pointing anticlockwise into the gap (reset).
    a0, a1 = math.radians(-90), math.radians(190)
    ex, ey = cx + r * math.cos(a0), cy + r * math.sin(a0)
    tx, ty = -math.sin(a0), math.cos(a0)  # clockwise tangent at the head
    nx, ny = math.cos(a0), math.sin(a0)
    length, half, back = 3.4, 3.2, 1.2
    head = [(ex - tx * length, ey - ty * length),
            (ex + nx * half + tx * back, ey + ny * half + ty * back),
            (ex - nx * half + tx * back, ey - ny * half + ty * back)]

    def arrow(x, y):
        return min(dist_arc(x, y, cx, cy, r, a0 + 0.2, a1) - 1.45, sd_polygon(x, y, head) - 0.3)
    outlined(cv, arrow, hex_rgb('#173f86'), hex_rgb('#78b4ff'), hex_rgb('#2a68d0'))
    return cv


def draw_info(size=GLYPH):
    cv = glyph_canvas(size)
    cx, cy, r = 9.0, 9.0, 8.0
    outlined(cv, lambda x, y: sd_circle(x, y, cx, cy, r), hex_rgb('#1c4f9e'),
             hex_rgb('#7fb8ff'), hex_rgb('#2462c4'))
    white = (1.0, 1.0, 1.0)
    cv.fill(lambda x, y: sd_circle(x, y, cx, 5.2, 1.45), white)
    cv.fill(lambda x, y: min(sd_box(x, y, cx, 10.9, 1.25, 3.6, 0.4),
                             sd_box(x, y, cx - 0.9, 7.9, 2.1, 0.6, 0.2),
                             sd_box(x, y, cx, 14.0, 2.6, 0.6, 0.2)), white)
    return cv


# ---------------------------------------------------------------- quantisation

def median_cut(colours, count):
    """Palette of up to count colours for a {(r, g, b): pixels} histogram.

    Repeatedly splits the box with the largest squared error at the weighted
    median of its widest channel. The palette is sorted dark to light.
    """
    def stats(items):
        n = sum(w for _, w in items)
        mean = [sum(c[k] * w for c, w in items) / n for k in range(3)]
        err = sum(w * ((c[0] - mean[0]) ** 2 + (c[1] - mean[1]) ** 2 + (c[2] - mean[2]) ** 2)
                  for c, w in items)
        return [err, items, mean]

    boxes = [stats(sorted(colours.items()))]
    while len(boxes) < count:
        boxes.sort(key=lambda b: b[0])
        err, items, _ = boxes[-1]
        if err <= 0 or len(items) < 2:
            break
        boxes.pop()
        spans = [max(c[k] for c, _ in items) - min(c[k] for c, _ in items) for k in range(3)]
        axis = spans.index(max(spans))
        items = sorted(items, key=lambda it: (it[0][axis], it[0]))
        half = sum(w for _, w in items) / 2
        acc = 0
        cut = 1
        for i, (_, w) in enumerate(items[:-1]):
            acc += w
            cut = i + 1
            if acc >= half:
                break
        boxes.append(stats(items[:cut]))
        boxes.append(stats(items[cut:]))

    boxes.sort(key=lambda b: sum(b[2]))
    return [tuple(int(round(v)) for v in mean) for _, _, mean in boxes]


# ---------------------------------------------------------------- file writers

def bmp_file(width, height, bpp, palette_bytes, rows_bottom_up):
    """A BMP file with a 40-byte BITMAPINFOHEADER (BI_RGB) around already padded rows."""
    pixels = b''.join(rows_bottom_up)
    offset = 14 + 40 + len(palette_bytes)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0, len(pixels),
                       2835, 2835, len(palette_bytes) // 4 if bpp <= 8 else 0, 0)
    return header + info + palette_bytes + pixels


class NearestColour:
    """Nearest palette entry of a colour, searching only the entries that can win in its 8^3 cell."""

    def __init__(self, palette):
        self.palette = palette
        self.cells = {}
        self.cache = {}

    def _candidates(self, cell):
        lo = [v * 8 for v in cell]
        near, far = [], []
        for p in self.palette:
            dn = df = 0
            for k in range(3):
                a, b = lo[k], lo[k] + 7
                v = p[k]
                dn += (a - v) ** 2 if v < a else (v - b) ** 2 if v > b else 0
                df += max((v - a) ** 2, (v - b) ** 2)
            near.append(dn)
            far.append(df)
        bound = min(far)
        return [i for i, d in enumerate(near) if d <= bound]

    def __call__(self, c):
        hit = self.cache.get(c)
        if hit is not None:
            return hit
        cell = (c[0] >> 3, c[1] >> 3, c[2] >> 3)
        cands = self.cells.get(cell)
        if cands is None:
            cands = self.cells[cell] = self._candidates(cell)
        pal = self.palette
        best = min(cands, key=lambda i: (pal[i][0] - c[0]) ** 2 + (pal[i][1] - c[1]) ** 2
                   + (pal[i][2] - c[2]) ** 2)
        self.cache[c] = best
        return best


BAYER4 = [0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5]
DITHER_SPAN = 6.0


def bmp8(cv):
    """8-bit file of an opaque canvas: median-cut palette, 4x4 ordered dither against banding."""
    w, h = cv.width, cv.height
    pix = [cv.pixel(i)[:3] for i in range(w * h)]
    hist = {}
    for c in pix:
        hist[c] = hist.get(c, 0) + 1
    palette = median_cut(hist, 256)
    nearest = NearestColour(palette)
    palette = palette + [(0, 0, 0)] * (256 - len(palette))
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    stride = (w + 3) & ~3
    pad = b'\0' * (stride - w)
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            off = round((BAYER4[(y & 3) * 4 + (x & 3)] + 0.5) / 16 * DITHER_SPAN - DITHER_SPAN / 2)
            r, g, b = pix[y * w + x]
            row.append(nearest((min(255, max(0, r + off)), min(255, max(0, g + off)),
                                min(255, max(0, b + off)))))
        rows.append(bytes(row) + pad)
    return bmp_file(w, h, 8, table, rows)


def bgra_rows(cv, premultiplied):
    get = cv.premultiplied_pixel if premultiplied else cv.pixel
    rows = []
    for y in range(cv.height - 1, -1, -1):
        row = bytearray()
        for x in range(cv.width):
            r, g, b, a = get(y * cv.width + x)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    return rows


def bmp32(cv):
    return bmp_file(cv.width, cv.height, 32, b'', bgra_rows(cv, premultiplied=True))


def png(cv):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = bytearray()
    for y in range(cv.height):
        raw.append(0)
        for x in range(cv.width):
            raw += bytes(cv.pixel(y * cv.width + x))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', cv.width, cv.height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def ico_dib(cv):
    """An icon directory entry's image: 32-bit DIB (double height) followed by its AND mask."""
    w, h = cv.width, cv.height
    xor = b''.join(bgra_rows(cv, premultiplied=False))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if cv.a[y * w + x] < 0.5:
                row[x >> 3] |= 0x80 >> (x & 7)
        mask += row
    info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def ico(images):
    entries = [(cv.width, png(cv) if cv.width >= 256 else ico_dib(cv)) for cv in images]
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    body = b''
    for size, data in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: make_resources.py OUTDIR\n')
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    files = {
        'about.bmp': bmp8(draw_about()),
        'bbok.bmp': bmp32(draw_ok()),
        'bbcancel.bmp': bmp32(draw_cancel()),
        'bbdefault.bmp': bmp32(draw_default()),
        'bbabout.bmp': bmp32(draw_info()),
        'lumivex.ico': ico([draw_icon(16), draw_icon(32), draw_icon(48), draw_icon(256)]),
    }
    for size in GLYPH_SIZES:
        for name, draw in (('bbok', draw_ok), ('bbcancel', draw_cancel), ('bbdefault', draw_default),
                           ('bbabout', draw_info)):
            files[f'{name}-{size}.bmp'] = bmp32(draw(size))
    files['glyphs.rc'] = ''.join(f'{name.upper()}_{size} BITMAP "{name}-{size}.bmp"\n'
                                 for size in GLYPH_SIZES for name in ('bbok', 'bbcancel', 'bbdefault', 'bbabout')
                                 ).encode('ascii')
    for name, data in files.items():
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
