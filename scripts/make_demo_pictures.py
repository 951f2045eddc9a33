"""Draws the sample pictures that ship with Lumivex: a start-up logo as a BMP (24-bit) and as a JPEG, and a shaped
logo as a PNG with a transparent background (the desktop shows around the emblem and the word).

Usage: python3 make_demo_pictures.py OUTDIR
The JPEG is encoded from the BMP by ImageMagick's convert (installed by scripts/bootstrap).
"""

import math
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources'))
import make_resources as art  # noqa: E402


def draw_logo(width=480, height=270):
    cv = art.Canvas(width, height, (0, 0, 0))
    cx, cy, r = height * 0.5, height * 0.5, height * 0.2

    def sky(x, y):
        base = art.gradient(art.SKY_STOPS, y / height)
        d = math.hypot(x - cx, y - cy) / width
        return 1.0, art.mix(base, art.hex_rgb('#ff9a4a'), 0.45 * math.exp(-(d / 0.25) ** 2))
    cv.paint(sky)
    draw_emblem_and_word(cv, cx, cy, r)
    return cv


def draw_emblem_and_word(cv, cx, cy, r, outline=0.0, glow=1.0):
    """The sun and "Lumivex" to its right, in white turning gold; with an outline of that width in navy."""
    art.draw_emblem(cv, cx, cy, r, rays=16, ray_len=0.78, glow=glow)
    word = 'Lumivex'
    left = cx + r * 2.1
    scale = (cv.width - 24 - left) / art.text_width(word, 1.0)
    sdf, box = art.text_shape(word, left, cy + 7 * scale, scale)
    top, bottom = box[1], box[3]
    if outline:
        wide = (box[0] - outline, box[1] - outline, box[2] + outline, box[3] + outline)
        cv.fill(lambda x, y: sdf(x, y) - outline, art.NAVY, wide)

    def ink(x, y):
        return art.gradient([(0.0, art.hex_rgb('#ffffff')), (1.0, art.hex_rgb('#ffc870'))], (y - top) / (bottom - top))
    cv.fill(sdf, ink, box)


def draw_shaped_logo(width=480, height=200):
    """The emblem and the word on nothing: clear around them, with soft edges only where they are drawn (no glow,
    which would dim the desktop over a wide ring); the word outlined in navy so that it reads on any desktop."""
    cv = art.Canvas(width, height)
    draw_emblem_and_word(cv, height * 0.5, height * 0.5, height * 0.2, outline=3.0, glow=0.0)
    return cv


def bmp24(cv):
    rows = []
    for y in range(cv.height - 1, -1, -1):
        row = bytearray()
        for x in range(cv.width):
            r, g, b, _ = cv.pixel(y * cv.width + x)
            row += bytes((b, g, r))
        row += b'\0' * ((4 - len(row) % 4) % 4)
        rows.append(bytes(row))
    return art.bmp_file(cv.width, cv.height, 24, b'', rows)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: make_demo_pictures.py OUTDIR\n')
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    bmp = os.path.join(out, 'lumivex-logo.bmp')
    with open(bmp, 'wb') as f:
        f.write(bmp24(draw_logo()))
    subprocess.run(['convert', bmp, '-quality', '92', os.path.join(out, 'lumivex-logo.jpg')], check=True)
    with open(os.path.join(out, 'lumivex-shaped.png'), 'wb') as f:
        f.write(art.png(draw_shaped_logo()))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
