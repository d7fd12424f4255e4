#!/usr/bin/env python3
"""Draws the application's bitmaps and icon.

Writes, into the output folder, the 24-bit bitmaps of the main window's skin
and of its two skinned buttons, the status mark of the settings page and the
application icon (16 to 256 pixels). Python 3 standard library only: the BMP,
ICO and PNG bytes are written here.

Shapes are signed distance fields, so every edge is antialiased except where
a hard edge is required: the key colour of the window skin (any blend with it
would show as a red fringe) and the black-and-white masks.

The main window's pictures are drawn at 100, 125, 150 and 200 %, each from
the geometry at its own size, never by stretching pixels. The places of the
window and its buttons come from desktop/skin_layout.h, which the program
lays the window out from.

usage: draw_resources.py OUTPUT_DIR
"""
import math
import os
import re
import struct
import sys
import zlib

KEY = (200, 0, 0)          # transparency key of the window skin
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def read_layout():
    """The window and button rectangles at 100 %, as the program has them."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'desktop', 'skin_layout.h')
    with open(path, encoding='utf-8') as f:
        text = f.read()
    rects = {}
    for name in ('Window', 'CodeButton', 'MenuButton'):
        match = re.search(r'kSkin' + name + r'\{(\d+), (\d+), (\d+), (\d+)\}', text)
        if not match:
            sys.exit(f'{path}: no kSkin{name}')
        rects[name] = tuple(int(v) for v in match.groups())
    return rects


LAYOUT = read_layout()
# The skin bitmap at 100 % is larger than the window; what lies outside the
# window is key colour.
SKIN_SIZE = (174, 80)
# Percent and the id offset of each drawn set (see resources/resource.h).
SCALES = ((100, 0), (125, 2000), (150, 3000), (200, 4000))

# Palette.
PANEL_TOP = (58, 63, 72)
PANEL_BOTTOM = (30, 33, 39)
PANEL_EDGE = (16, 18, 22)
PANEL_SHINE = (96, 103, 115)
# The flat recesses under the buttons; tests/e2e/window_pixels.py finds the
# sockets by these two colours.
SOCKET = (20, 22, 26)        # the code button's
GEAR_SOCKET = (26, 29, 35)   # the gear's
YELLOW_LIGHT = (255, 224, 102)
YELLOW_DEEP = (240, 176, 0)
YELLOW_RIM = (176, 120, 0)
ORANGE_LIGHT = (255, 176, 84)
ORANGE_DEEP = (240, 104, 0)
ORANGE_RIM = (170, 70, 0)
GREY_LIGHT = (196, 198, 202)
GREY_DEEP = (140, 143, 148)
GREY_RIM = (104, 106, 110)
CENTRE_DARK = (38, 40, 46)
CENTRE_GREY = (96, 98, 104)
CENTRE_GREEN = (46, 204, 113)
CENTRE_GREEN_DEEP = (22, 150, 74)
STEEL_LIGHT = (226, 230, 236)
STEEL_DEEP = (150, 157, 168)
STEEL_RIM = (70, 75, 84)
STATUS_GREEN = (46, 174, 82)
STATUS_GREEN_DEEP = (28, 128, 56)


# ---- small helpers -------------------------------------------------------

def clamp(x, lo=0.0, hi=1.0):
    return lo if x < lo else hi if x > hi else x


def mix(a, b, t):
    t = clamp(t)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def coverage(distance, pixel=1.0):
    """Area of a pixel inside a shape whose signed distance is given."""
    return clamp(0.5 - distance / pixel)


def to_rgb(colour):
    return tuple(int(round(clamp(c, 0, 255))) for c in colour)


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.rgb = [[tuple(map(float, fill)) for _ in range(width)] for _ in range(height)]
        self.alpha = [[0.0] * width for _ in range(height)]

    def paint(self, sdf, shade, scale=1.0):
        """Blends shade(x, y) over every pixel by its coverage of sdf."""
        for y in range(self.height):
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                c = coverage(sdf(px, py), scale)
                if c <= 0.0:
                    continue
                self.rgb[y][x] = mix(self.rgb[y][x], shade(px, py), c)
                self.alpha[y][x] = self.alpha[y][x] + (1.0 - self.alpha[y][x]) * c

    def fill_hard(self, inside, colour):
        for y in range(self.height):
            for x in range(self.width):
                if inside(x + 0.5, y + 0.5):
                    self.rgb[y][x] = tuple(map(float, colour))
                    self.alpha[y][x] = 1.0


# ---- shapes as signed distances (negative inside) -----------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def gear(cx, cy, outer, root, teeth, hole, phase=0.0):
    """A cog: trapezoid teeth between root and outer radius, round hole."""
    pitch = 2 * math.pi / teeth

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        rho = math.hypot(dx, dy)
        a = (math.atan2(dy, dx) - phase) % pitch
        a = min(a, pitch - a) / pitch          # 0 at a tooth's middle, 0.5 between
        tooth = clamp((0.34 - a) / 0.10)       # 1 on the tooth top, 0 in the gap
        edge = root + (outer - root) * tooth
        # Scale the angular error into a distance so the flanks antialias too.
        return max(rho - edge, hole - rho)
    return sdf


def union(*sdfs):
    return lambda x, y: min(s(x, y) for s in sdfs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


# ---- shading ------------------------------------------------------------

def radial(cx, cy, r, light, deep):
    """Light falls from the upper left."""
    lx, ly = cx - r * 0.35, cy - r * 0.45

    def shade(x, y):
        return mix(light, deep, math.hypot(x - lx, y - ly) / (r * 1.45))
    return shade


def vertical(y0, y1, top, bottom):
    return lambda x, y: mix(top, bottom, (y - y0) / max(1e-6, y1 - y0))


def flat(colour):
    return lambda x, y: colour


# ---- the pictures ------------------------------------------------------

def disc_button(size, light, deep, rim, centre, centre_deep=None, backdrop=SOCKET):
    """The code button: a shaded disc with a dark (or lit) centre."""
    s = size / 32
    c = size / 2
    r = size / 2 - s
    canvas = Canvas(size, size, backdrop)
    canvas.paint(circle(c, c, r), flat(rim))
    canvas.paint(circle(c, c, r - 1.2 * s), radial(c, c, r, light, deep))
    # A soft inner ring gives the disc some depth.
    canvas.paint(subtract(circle(c, c, r * 0.52), circle(c, c, r * 0.42)), flat(mix(deep, rim, 0.55)))
    inner = r * 0.42
    if centre_deep is None:
        canvas.paint(circle(c, c, inner), vertical(c - inner, c + inner, mix(centre, WHITE, 0.08), centre))
    else:
        canvas.paint(circle(c, c, inner), radial(c, c, inner, centre, centre_deep))
    # A small highlight on the centre.
    canvas.paint(circle(c - inner * 0.35, c - inner * 0.4, inner * 0.22), flat(mix(centre, WHITE, 0.45)))
    return canvas


def disc_mask(size):
    c = size / 2
    r = size / 2 - size / 32
    canvas = Canvas(size, size, WHITE)
    canvas.fill_hard(lambda x, y: math.hypot(x - c, y - c) <= r, BLACK)
    return canvas


def gear_shape(size):
    s = size / 24
    c = size / 2
    return gear(c, c, size / 2 - s, size / 2 - 3.6 * s, 8, size * 0.14, phase=math.pi / 8)


def gear_button(size, light, deep, rim, backdrop=GEAR_SOCKET):
    s = size / 24
    c = size / 2
    shape = gear_shape(size)
    canvas = Canvas(size, size, backdrop)
    canvas.paint(shape, flat(rim))
    canvas.paint(lambda x, y: shape(x, y) + s, radial(c, c, size / 2, light, deep))
    canvas.paint(subtract(circle(c, c, size * 0.26), circle(c, c, size * 0.20)), flat(mix(deep, rim, 0.5)))
    return canvas


def gear_mask(size):
    shape = gear_shape(size)
    canvas = Canvas(size, size, WHITE)
    canvas.fill_hard(lambda x, y: shape(x, y) <= 0.0, BLACK)
    return canvas


# The wordmark's letters as strokes on a grid of 7 rows (cap height) by up to
# 5 columns: polylines through cell centres, and single cells for dots.
GLYPHS = {
    'O': (5, [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]]),
    'r': (4, [[(0, 2), (0, 6)], [(0, 4), (2, 2), (3, 2)]]),
    'v': (5, [[(0, 2), (0, 3), (2, 6), (4, 3), (4, 2)]]),
    'i': (1, [[(0, 0)], [(0, 2), (0, 6)]]),
    'k': (4, [[(0, 0), (0, 6)], [(3, 2), (0, 5)], [(1, 4), (3, 6)]]),
    'a': (4, [[(1, 2), (3, 2), (3, 6), (1, 6), (0, 5), (1, 4), (3, 4)]]),
    '2': (5, [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (0, 6), (4, 6)]]),
}


def wordmark(text, x0, y0, scale):
    """The strokes of text, with the stroke width and the grid snapped to
    whole pixels at this scale, so straight strokes stay sharp."""
    stroke = max(1, math.floor(scale + 0.5))
    half = stroke / 2

    def grid(u):
        return math.floor(u * scale + 0.5)

    sdfs = []
    x = 0
    for ch in text:
        width, strokes = GLYPHS[ch]
        for line in strokes:
            points = [(x0 + grid(x + u) + half, y0 + grid(v) + half) for u, v in line]
            if len(points) == 1:
                px, py = points[0]
                sdfs.append(box(px, py, half))
            for (ax, ay), (bx, by) in zip(points, points[1:]):
                sdfs.append(square_segment(ax, ay, bx, by, half))
        x += width + 1
    return union(*sdfs)


def wordmark_width(text, scale):
    cells = sum(GLYPHS[ch][0] for ch in text) + len(text) - 1
    return math.floor((cells - 1) * scale + 0.5) + max(1, math.floor(scale + 0.5))


def box(cx, cy, half):
    return lambda x, y: max(abs(x - cx), abs(y - cy)) - half


def square_segment(x0, y0, x1, y1, half_width):
    """A stroke whose ends are square: straight strokes fill whole pixels."""
    if x0 == x1 or y0 == y1:
        left, right = min(x0, x1) - half_width, max(x0, x1) + half_width
        top, bottom = min(y0, y1) - half_width, max(y0, y1) + half_width
        return lambda x, y: max(left - x, x - right, top - y, y - bottom)
    return segment(x0, y0, x1, y1, half_width)


def window_skin(percent):
    """The main window: a dark rounded panel on the key colour.

    Its outline is hard (inside or key colour); inside, a recessed socket
    holds the code button and a round plate with its own recess carries the
    menu button's gear. Each socket is centred on its button's rectangle.
    """
    s = percent / 100
    _, _, ww, wh = (v * s for v in LAYOUT['Window'])
    bx, by, bw, bh = (v * s for v in LAYOUT['CodeButton'])
    cx, cy = bx + bw / 2, by + bh / 2
    mx, my, mw, mh = (v * s for v in LAYOUT['MenuButton'])
    gx, gy = mx + mw / 2, my + mh / 2
    top = 7 * s
    panel = rounded_rect(s, top, ww - s, wh - s, 13 * s)
    plate = circle(gx, gy, 14.5 * s)
    outline = union(panel, plate)

    canvas = Canvas(round(SKIN_SIZE[0] * s), round(SKIN_SIZE[1] * s), KEY)
    canvas.fill_hard(lambda x, y: outline(x, y) <= 0.0, PANEL_EDGE)
    inner = lambda x, y: panel(x, y) + s
    canvas.paint(inner, vertical(top, wh, PANEL_TOP, PANEL_BOTTOM))
    # A thin highlight along the top edge.
    canvas.paint(lambda x, y: max(inner(x, y), -(inner(x, y) + 1.2 * s), y - 14 * s), flat(PANEL_SHINE))

    canvas.paint(circle(cx, cy, 19.5 * s), vertical(cy - 20 * s, cy + 20 * s, PANEL_EDGE, PANEL_SHINE))
    canvas.paint(circle(cx, cy, 18.0 * s), flat(SOCKET))

    canvas.paint(circle(gx, gy, 13.5 * s), vertical(gy - 13 * s, gy + 13 * s, PANEL_TOP, mix(PANEL_TOP, PANEL_BOTTOM, 0.5)))
    canvas.paint(circle(gx, gy, 12.5 * s), flat(GEAR_SOCKET))

    label = 'Orvika2'
    height = math.floor(6 * s + 0.5) + max(1, math.floor(s + 0.5))
    tx = math.floor((cx - 20 * s - wordmark_width(label, s)) / 2 + 0.5)
    ty = math.floor((top + wh - height) / 2 + 0.5)
    shape = wordmark(label, tx, ty, s)
    shadow = max(1, math.floor(s + 0.5))
    canvas.paint(lambda x, y: shape(x, y - shadow), flat(mix(PANEL_BOTTOM, PANEL_EDGE, 0.8)))
    canvas.paint(shape, flat(YELLOW_LIGHT))
    return canvas


def status_mark(size=24, backdrop=WHITE):
    """Green disc with a white check mark."""
    c = size / 2
    canvas = Canvas(size, size, backdrop)
    canvas.paint(circle(c, c, size / 2 - 0.8), radial(c, c, size / 2, STATUS_GREEN, STATUS_GREEN_DEEP))
    s = size / 24.0
    tick = union(segment(6.5 * s, 12.5 * s, 10.2 * s, 16.2 * s, 1.45 * s),
                 segment(10.2 * s, 16.2 * s, 17.5 * s, 8.2 * s, 1.45 * s))
    canvas.paint(tick, flat(WHITE))
    return canvas


def segment(x0, y0, x1, y1, half_width):
    def sdf(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = clamp(((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy))
        return math.hypot(x - (x0 + vx * t), y - (y0 + vy * t)) - half_width
    return sdf


def icon_image(size):
    """The application icon: the code button's disc on transparency."""
    canvas = Canvas(size, size, (0, 0, 0))
    c = size / 2
    r = size / 2 - max(0.5, size / 32)
    rim = max(1.0, size / 24)
    canvas.paint(circle(c, c, r), flat(YELLOW_RIM), 1.0)
    yellow = radial(c, c, r, YELLOW_LIGHT, YELLOW_DEEP)
    canvas.paint(circle(c, c, r - rim), yellow)
    # The colour already blended; keep alpha from the outer disc only.
    if size >= 32:
        canvas.paint(subtract(circle(c, c, r * 0.52), circle(c, c, r * 0.42)), flat(mix(YELLOW_DEEP, YELLOW_RIM, 0.55)))
    inner = r * (0.42 if size >= 24 else 0.40)
    canvas.paint(circle(c, c, inner), vertical(c - inner, c + inner, mix(CENTRE_DARK, WHITE, 0.08), CENTRE_DARK))
    if size >= 24:
        canvas.paint(circle(c - inner * 0.35, c - inner * 0.4, inner * 0.22), flat(mix(CENTRE_DARK, WHITE, 0.45)))
    return canvas


# ---- file formats -------------------------------------------------------

def bmp24(canvas):
    row = (canvas.width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        line = bytearray()
        for x in range(canvas.width):
            r, g, b = to_rgb(canvas.rgb[y][x])
            line += bytes((b, g, r))
        line += b'\0' * (row - len(line))
        pixels += line
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + bytes(pixels)


def straight_bgra(canvas, x, y):
    a = canvas.alpha[y][x]
    r, g, b = to_rgb(canvas.rgb[y][x])
    return b, g, r, int(round(a * 255))


def icon_dib(canvas):
    """32-bit DIB with alpha, and the AND mask, as an icon directory entry."""
    w, h = canvas.width, canvas.height
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            xor += bytes(straight_bgra(canvas, x, y))
    mask_row = ((w + 31) // 32) * 4
    and_mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(w):
            if canvas.alpha[y][x] < 1 / 255:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(and_mask)


def png(canvas):
    raw = bytearray()
    for y in range(canvas.height):
        raw.append(0)
        for x in range(canvas.width):
            b, g, r, a = straight_bgra(canvas, x, y)
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    ihdr = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')


def ico(images):
    """An icon file; the 256-pixel image is stored as PNG, as Windows does."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for canvas in images:
        blob = png(canvas) if canvas.width >= 256 else icon_dib(canvas)
        dim = canvas.width if canvas.width < 256 else 0
        entries.append(struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    bitmaps = {1000: status_mark()}
    for percent, offset in SCALES:
        code = LAYOUT['CodeButton'][2] * percent // 100
        menu = LAYOUT['MenuButton'][2] * percent // 100
        bitmaps.update({
            # Code button: normal, down, over, disabled, mask.
            141 + offset: disc_button(code, YELLOW_LIGHT, YELLOW_DEEP, YELLOW_RIM, CENTRE_DARK),
            137 + offset: disc_button(code, YELLOW_LIGHT, YELLOW_DEEP, YELLOW_RIM, CENTRE_GREEN, CENTRE_GREEN_DEEP),
            140 + offset: disc_button(code, ORANGE_LIGHT, ORANGE_DEEP, ORANGE_RIM, CENTRE_DARK),
            138 + offset: disc_button(code, GREY_LIGHT, GREY_DEEP, GREY_RIM, CENTRE_GREY),
            139 + offset: disc_mask(code),
            # Menu button: normal (also disabled), down and over, mask.
            144 + offset: gear_button(menu, STEEL_LIGHT, STEEL_DEEP, STEEL_RIM),
            155 + offset: gear_button(menu, YELLOW_LIGHT, YELLOW_DEEP, YELLOW_RIM),
            145 + offset: gear_mask(menu),
            153 + offset: window_skin(percent),
        })
    for number, canvas in bitmaps.items():
        with open(os.path.join(out, f'bitmap{number}.bmp'), 'wb') as f:
            f.write(bmp24(canvas))
    with open(os.path.join(out, 'orvika2.ico'), 'wb') as f:
        f.write(ico([icon_image(s) for s in (16, 20, 24, 32, 40, 48, 64, 128, 256)]))


if __name__ == '__main__':
    main()
