#!/usr/bin/env python3
"""Draws Ortelia's two pictures and writes them into res/.

  res/ortelia.ico  16x16 and 32x32, 8 bpp with a 256-colour palette
  res/logo.gif     67x67 GIF89a for the white banner of the settings dialog

Both show a stretch of coaster track (two rails and cross ties) climbing
over a crest. Everything is drawn here from geometry; the 16x16 icon is a
hand-placed pixel map because a downscale of the 32x32 turns to mush.

Pillow builds the palettes and writes the files, and the output is
byte-for-byte repeatable. Run it through scripts/art, which installs Pillow:

  scripts/art            write both files
  scripts/art --check    exit 1 if the files in res/ are stale
"""

import io
import math
import os
import struct
import sys

from PIL import Image

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ICO_PATH = os.path.join(ROOT, "res", "ortelia.ico")
GIF_PATH = os.path.join(ROOT, "res", "logo.gif")

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------

SKY_TOP = (86, 170, 240)
SKY_BOTTOM = (20, 72, 150)
BADGE_EDGE = (14, 50, 108)
RAIL = (255, 96, 52)
RAIL_DARK = (196, 52, 28)
TIE = (255, 236, 200)
TRACK_BED = (16, 34, 72)
SUPPORT = (200, 222, 245)
HILL_NEAR = (18, 62, 128)
CAR = (255, 206, 64)
CAR_DARK = (206, 140, 20)
CAR_LIGHT = (255, 250, 220)
SUN = (255, 244, 196)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


# ---------------------------------------------------------------------------
# Geometry. Design space is the unit square, y pointing down.
# ---------------------------------------------------------------------------

def catmull_rom(points, steps):
    """Samples a Catmull-Rom spline through points, steps samples per span."""
    pts = [points[0]] + list(points) + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * p1[k] + (-p0[k] + p2[k]) * t
                       + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                       + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3)
                for k in (0, 1)))
    out.append(tuple(points[-1]))
    return out


def normals(path):
    """Unit normals (pointing to the left of travel, i.e. up on a climb)."""
    out = []
    n = len(path)
    for i in range(n):
        a = path[max(i - 1, 0)]
        b = path[min(i + 1, n - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1.0
        out.append((dy / ln, -dx / ln))
    return out


def offset(path, norms, d):
    return [(p[0] + n[0] * d, p[1] + n[1] * d) for p, n in zip(path, norms)]


def arc_positions(path, spacing, start):
    """(point, unit tangent) every `spacing` of arc length along path."""
    out = []
    want = start
    walked = 0.0
    for a, b in zip(path, path[1:]):
        seg = math.hypot(b[0] - a[0], b[1] - a[1])
        if seg == 0:
            continue
        while want <= walked + seg:
            t = (want - walked) / seg
            out.append(((lerp(a[0], b[0], t), lerp(a[1], b[1], t)),
                        ((b[0] - a[0]) / seg, (b[1] - a[1]) / seg)))
            want += spacing
        walked += seg
    return out


def y_at(path, x):
    """Height of the path where it crosses x (first crossing)."""
    for a, b in zip(path, path[1:]):
        if (a[0] - x) * (b[0] - x) <= 0 and a[0] != b[0]:
            return lerp(a[1], b[1], (x - a[0]) / (b[0] - a[0]))
    return None


# Signed distances; negative inside.

def sd_round_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return f, (x0, y0, x1, y1)


def sd_polyline(path, half_width):
    segs = []
    for a, b in zip(path, path[1:]):
        dx, dy = b[0] - a[0], b[1] - a[1]
        segs.append((a[0], a[1], dx, dy, dx * dx + dy * dy))

    def f(x, y):
        best = 1e9
        for ax, ay, dx, dy, ll in segs:
            px, py = x - ax, y - ay
            t = (px * dx + py * dy) / ll if ll else 0.0
            t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
            ex, ey = px - dx * t, py - dy * t
            d = ex * ex + ey * ey
            if d < best:
                best = d
        return math.sqrt(best) - half_width
    xs = [p[0] for p in path]
    ys = [p[1] for p in path]
    return f, (min(xs) - half_width, min(ys) - half_width,
               max(xs) + half_width, max(ys) + half_width)


def sd_box(center, axis, half_len, half_thick, radius=0.0):
    """Rectangle centred on center, long side along unit vector axis."""
    cx, cy = center
    ux, uy = axis

    def f(x, y):
        px, py = x - cx, y - cy
        a = abs(px * ux + py * uy) - (half_len - radius)
        b = abs(-px * uy + py * ux) - (half_thick - radius)
        return math.hypot(max(a, 0.0), max(b, 0.0)) + min(max(a, b), 0.0) - radius
    ext = half_len + half_thick
    return f, (cx - ext, cy - ext, cx + ext, cy + ext)


def sd_circle(cx, cy, r):
    def f(x, y):
        return math.hypot(x - cx, y - cy) - r
    return f, (cx - r, cy - r, cx + r, cy + r)


def sd_union(shapes):
    fns = [s[0] for s in shapes]

    def f(x, y):
        return min(fn(x, y) for fn in fns)
    boxes = [s[1] for s in shapes]
    return f, (min(b[0] for b in boxes), min(b[1] for b in boxes),
               max(b[2] for b in boxes), max(b[3] for b in boxes))


def sd_below(path, bottom):
    """Region under a path (x-monotonic) down to y = bottom."""
    def f(x, y):
        h = y_at(path, x)
        if h is None:
            return 1e9
        return max(h - y, y - bottom)
    xs = [p[0] for p in path]
    return f, (min(xs), min(p[1] for p in path), max(xs), bottom)


# ---------------------------------------------------------------------------
# Raster canvas: premultiplied RGBA floats, coverage from signed distance.
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
        self.clip = None

    def coverage(self, sd, x, y, soft=0.0):
        d = sd(x, y) * self.size  # to pixels
        if soft > 0.0:
            return clamp01(0.5 - d / soft)
        return clamp01(0.5 - d)

    def fill(self, shape, colour, alpha=1.0, soft=0.0):
        """Paints shape with colour; colour and alpha may be constants or
        functions of x, y. soft widens the edge ramp to that many pixels."""
        sd, (bx0, by0, bx1, by1) = shape
        n = self.size
        pad = (1.0 + soft) / n
        i0 = max(int(math.floor((bx0 - pad) * n)), 0)
        j0 = max(int(math.floor((by0 - pad) * n)), 0)
        i1 = min(int(math.ceil((bx1 + pad) * n)), n - 1)
        j1 = min(int(math.ceil((by1 + pad) * n)), n - 1)
        for j in range(j0, j1 + 1):
            y = (j + 0.5) / n
            for i in range(i0, i1 + 1):
                x = (i + 0.5) / n
                a = self.coverage(sd, x, y, soft) * (alpha(x, y) if callable(alpha) else alpha)
                if a <= 0.0:
                    continue
                if self.clip is not None:
                    a *= self.coverage(self.clip, x, y)
                    if a <= 0.0:
                        continue
                c = colour(x, y) if callable(colour) else colour
                p = self.px[j * n + i]
                k = 1.0 - a
                p[0] = c[0] * a + p[0] * k
                p[1] = c[1] * a + p[1] * k
                p[2] = c[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def rgba(self):
        """Un-premultiplied 8-bit pixels, rows top to bottom."""
        out = []
        for r, g, b, a in self.px:
            if a <= 0.0:
                out.append((0, 0, 0, 0))
            else:
                out.append((int(round(min(r / a, 255))), int(round(min(g / a, 255))),
                            int(round(min(b / a, 255))), int(round(a * 255))))
        return out

    def over(self, bg):
        """Flattens onto an opaque background colour."""
        out = []
        for r, g, b, a in self.px:
            k = 1.0 - a
            out.append((int(round(r + bg[0] * k)), int(round(g + bg[1] * k)),
                        int(round(b + bg[2] * k))))
        return out


# ---------------------------------------------------------------------------
# The motif
# ---------------------------------------------------------------------------

TRACK_POINTS = [(-0.12, 0.84), (0.10, 0.80), (0.30, 0.56), (0.46, 0.32),
                (0.62, 0.25), (0.76, 0.36), (0.86, 0.62), (0.93, 1.02)]


# Proportions are fractions of the badge width. The 32x32 icon wants fewer,
# heavier strokes; the logo has room for the sun's glow, a lattice under the
# track, a hill and a train.
ICON32_STYLE = dict(gauge=0.11, rail=0.055, tie=0.045, tie_step=0.15,
                    sun=(0.25, 0.27, 0.10), columns=(0.34, 0.62), column=0.028,
                    detail=False)
LOGO_STYLE = dict(gauge=0.085, rail=0.032, tie=0.032, tie_step=0.09,
                  sun=(0.24, 0.26, 0.085), columns=(0.22, 0.36, 0.50, 0.64, 0.78),
                  column=0.016, detail=True)


def draw_scene(cv, box, style):
    """Badge, sky and track inside box = (x0, y0, x1, y1) of the unit square."""
    x0, y0, x1, y1 = box
    w = x1 - x0
    px = 1.0 / cv.size
    radius = w * 0.22
    detail = style["detail"]

    def place(p):
        return (x0 + p[0] * w, y0 + p[1] * w)

    def sky(x, y):
        return mix(SKY_TOP, SKY_BOTTOM, clamp01((y - y0) / (y1 - y0)))

    cv.fill(sd_round_rect(x0, y0, x1, y1, radius), BADGE_EDGE)
    inner = sd_round_rect(x0 + 0.7 * px, y0 + 0.7 * px, x1 - 0.7 * px, y1 - 0.7 * px,
                          radius - 0.7 * px)
    cv.fill(inner, sky)
    if detail:
        # A soft light rim along the top edge, fading out by mid-height.
        rim_in = sd_round_rect(x0 + 1.7 * px, y0 + 1.7 * px, x1 - 1.7 * px, y1 - 1.7 * px,
                               radius - 1.7 * px)
        rim = (lambda x, y: max(inner[0](x, y), -rim_in[0](x, y)), inner[1])
        cv.fill(rim, WHITE, alpha=lambda x, y: 0.35 * clamp01(1.0 - 2.2 * (y - y0) / w))
    cv.clip = inner[0]

    sx, sy, sr = style["sun"]
    if detail:
        cv.fill(sd_circle(*place((sx, sy)), sr * 1.75 * w), SUN, alpha=0.18, soft=2.0)
    cv.fill(sd_circle(*place((sx, sy)), sr * w), SUN)

    path = catmull_rom([place(p) for p in TRACK_POINTS], 24)
    norms = normals(path)
    gauge = style["gauge"] * w
    rail_w = style["rail"] * w
    tie_w = style["tie"] * w

    # Supports: columns from the underside of the track to the ground.
    cols = [x0 + c * w for c in style["columns"]]
    underside = offset(path, norms, -gauge / 2)
    parts = [sd_polyline([(cx, y_at(underside, cx)), (cx, y1 + 0.1)], style["column"] * w)
             for cx in cols]
    if detail:
        # Cross beams tying neighbouring columns together below the track.
        for xa, xb in zip(cols, cols[1:]):
            clear = max(y_at(path, xa), y_at(path, xb)) + gauge
            for beam in (0.62, 0.76):
                yb = y0 + beam * w
                if yb > clear:
                    parts.append(sd_polyline([(xa, yb), (xb, yb)], 0.011 * w))
    cv.fill(sd_union(parts), SUPPORT, alpha=0.9 if detail else 1.0)

    if detail:
        hill = catmull_rom([place(p) for p in
                            [(-0.1, 0.92), (0.25, 0.86), (0.6, 0.93), (1.1, 0.84)]], 16)
        cv.fill(sd_below(hill, y1 + 0.1), HILL_NEAR)

    # Track: dark bed, light ties across it, rails on top hiding the tie ends.
    cv.fill(sd_polyline(path, gauge / 2), TRACK_BED, alpha=0.9)
    ties = [sd_box(p, (-t[1], t[0]), (gauge + rail_w) / 2, tie_w / 2, tie_w * 0.3)
            for p, t in arc_positions(path, style["tie_step"] * w, 0.03 * w)]
    cv.fill(sd_union(ties), TIE)
    for side in (1, -1):
        rail = offset(path, norms, side * gauge / 2)
        if detail:
            cv.fill(sd_polyline(rail, rail_w / 2 + 0.35 * px), RAIL_DARK)
        cv.fill(sd_polyline(rail, rail_w / 2), RAIL)

    if detail:
        draw_train(cv, path, w)
    cv.clip = None


def draw_train(cv, path, w):
    """Two cars sitting on the rails just past the crest."""
    spots = arc_positions(path, 0.125 * w, 0.0)
    crest = min(range(len(spots)), key=lambda i: spots[i][0][1])
    for k in (crest - 1, crest - 2):
        (px, py), (tx, ty) = spots[k]
        nx, ny = ty, -tx
        c = (px + nx * 0.075 * w, py + ny * 0.075 * w)
        body = sd_box(c, (tx, ty), 0.058 * w, 0.038 * w, 0.016 * w)
        cv.fill(body, CAR_DARK)
        c2 = (c[0] + nx * 0.008 * w, c[1] + ny * 0.008 * w)
        cv.fill(sd_box(c2, (tx, ty), 0.050 * w, 0.026 * w, 0.012 * w), CAR)
        c3 = (c[0] + nx * 0.022 * w, c[1] + ny * 0.022 * w)
        cv.fill(sd_box(c3, (tx, ty), 0.036 * w, 0.006 * w, 0.006 * w), CAR_LIGHT, alpha=0.8)


# Hand-placed 16x16: the same hill as a clean one-pixel ladder. Legend:
#   .  transparent          #  badge rim         -  sky (shade follows the row)
#   R  rail                 B  track bed         T  cross tie
#   S  sun                  s  sun edge, half blended into the sky
#   l  support column
ICON16 = [
    "..############..",
    ".#------------#.",
    "#-sSs--RRRR----#",
    "#-SSS-RTBTBR---#",
    "#-sSsRBRRRRTR--#",
    "#---RTR-l--RBR-#",
    "#---RBR-l--RTR-#",
    "#--RTR--l--RBR-#",
    "#--RBR--l--RTR-#",
    "#-RTR---l--RBR-#",
    "#-RBR---l---RTR#",
    "#RTR----l---RBR#",
    "#RBR----l---RTR#",
    "#TR-----l---RBR#",
    ".#R-----l---RT#.",
    "..############..",
]
ICON16_KEY = {
    "#": BADGE_EDGE,
    "R": RAIL,
    "B": TRACK_BED,
    "T": TIE,
    "S": SUN,
    "l": SUPPORT,
}


def icon16():
    if len(ICON16) != 16 or any(len(row) != 16 for row in ICON16):
        raise ValueError("ICON16 must be 16 rows of 16 characters")
    out = []
    for j, row in enumerate(ICON16):
        sky = mix(SKY_TOP, SKY_BOTTOM, (j - 1) / 13)
        for ch in row:
            if ch == ".":
                out.append((0, 0, 0, 0))
                continue
            c = sky if ch == "-" else mix(SUN, sky, 0.5) if ch == "s" else ICON16_KEY[ch]
            out.append(tuple(int(round(v)) for v in c) + (255,))
    return out


def icon32():
    cv = Canvas(32)
    draw_scene(cv, (0.0, 0.0, 1.0, 1.0), ICON32_STYLE)
    return cv.rgba()


def logo67():
    n = 67
    cv = Canvas(n)
    x0, y0, x1, y1 = 3 / n, 1 / n, 64 / n, 62 / n
    shadow = sd_round_rect(x0 + 0.6 / n, y0 + 2.0 / n, x1 + 0.6 / n, y1 + 2.0 / n, (x1 - x0) * 0.22)
    cv.fill(shadow, (20, 40, 70), alpha=0.35, soft=3.0)
    draw_scene(cv, (x0, y0, x1, y1), LOGO_STYLE)
    return cv.over(WHITE)


# ---------------------------------------------------------------------------
# Palettes and files, by Pillow
# ---------------------------------------------------------------------------

def quantise(im, exact):
    """256-entry palette image of an RGB image. On these pictures Pillow's
    maximum-coverage quantiser, settled by k-means, strays at most 9 per
    channel, its median cut up to 43. Pixels of the colours in exact must come
    through unchanged: the logo's white meets the white banner, and the
    icon's transparent pixels must be black in the colour image."""
    q = im.quantize(256, method=Image.Quantize.MAXCOVERAGE, kmeans=8,
                    dither=Image.Dither.NONE)
    pal = q.getpalette()[:768]
    q.putpalette(pal + [0] * (768 - len(pal)))
    back = q.convert("RGB").getdata()
    if any(p != b for p, b in zip(im.getdata(), back) if p in exact):
        raise AssertionError("the palette lost one of %s" % (exact,))
    return q


def ico_image(size, rgba):
    """One 8 bpp icon image: Pillow's DIB (header, palette, rows bottom-up)
    with the AND mask after it. Pillow's own ICO writer is not used: for 8 bpp
    images it writes a mask that marks every pixel opaque, so the corners
    would show black."""
    im = Image.new("RGBA", (size, size))
    im.putdata(rgba)
    opaque = im.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    colours = Image.new("RGB", im.size, BLACK)
    colours.paste(im.convert("RGB"), mask=opaque)
    buf = io.BytesIO()
    quantise(colours, [BLACK]).save(buf, "DIB")
    dib = bytearray(buf.getvalue())
    struct.pack_into("<i", dib, 8, size * 2)  # the height counts the mask too
    mask = opaque.point(lambda a: 255 - a, "1").transpose(Image.Transpose.FLIP_TOP_BOTTOM)
    row, stride = (size + 7) // 8, (size + 31) // 32 * 4
    bits = mask.tobytes()
    dib += b"".join(bits[i:i + row] + bytes(stride - row) for i in range(0, len(bits), row))
    return bytes(dib)


def ico_file(images):
    """images: list of (size, data)."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def gif_file(size, rgb):
    im = Image.new("RGB", (size, size))
    im.putdata(rgb)
    q = quantise(im, [WHITE])
    q.info["version"] = b"89a"  # Pillow would write 87a for a picture without extensions
    pal = q.getpalette()
    white = next(i for i in range(256) if tuple(pal[3 * i:3 * i + 3]) == WHITE)
    buf = io.BytesIO()
    q.save(buf, "GIF", optimize=False, interlace=False, background=white)
    return buf.getvalue()


def build():
    ico = ico_file([(16, ico_image(16, icon16())), (32, ico_image(32, icon32()))])
    gif = gif_file(67, logo67())
    return {ICO_PATH: ico, GIF_PATH: gif}


def main(argv):
    check = "--check" in argv[1:]
    outputs = build()
    stale = []
    for path, data in outputs.items():
        rel = os.path.relpath(path, ROOT)
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                stale.append(rel)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
            print("wrote %s (%d bytes)" % (rel, len(data)))
    if stale:
        print("out of date: %s (run scripts/art)" % ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
