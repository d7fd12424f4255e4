#!/usr/bin/env python3
"""Draws the application's bitmaps and icon.

Writes, into the output folder, the 24-bit bitmaps of the main window's skin
and of its two skinned buttons, the status mark of the settings page and the
application icon (16 to 256 pixels). Python 3 standard library only: the BMP,
ICO and PNG bytes are written here.

Shapes are signed distance fields, so every edge is antialiased except where
a hard edge is required: the key colour of the window skin (any blend with it
would show as a red fringe) and the black-and-white masks.

usage: draw_resources.py OUTPUT_DIR
"""
import math
import os
import struct
import sys
import zlib

KEY = (200, 0, 0)          # transparency key of the window skin
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# Where the dialog template puts the two buttons, in pixels at 96 DPI, with
# the dialog base units of MS Shell Dlg 8 (6 x 13).
CODE_BUTTON_ORIGIN = (69, 15)   # control 1000 at (46, 9)
MENU_BUTTON_ORIGIN = (105, 3)   # control 1002 at (70, 2)
WINDOW_SIZE = (140, 62)         # 93 x 38 dialog units

# Palette.
PANEL_TOP = (58, 63, 72)
PANEL_BOTTOM = (30, 33, 39)
PANEL_EDGE = (16, 18, 22)
PANEL_SHINE = (96, 103, 115)
SOCKET = (20, 22, 26)
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
    c = size / 2
    r = size / 2 - 1.0
    canvas = Canvas(size, size, backdrop)
    canvas.paint(circle(c, c, r), flat(rim))
    canvas.paint(circle(c, c, r - 1.2), radial(c, c, r, light, deep))
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
    r = size / 2 - 1.0
    canvas = Canvas(size, size, WHITE)
    canvas.fill_hard(lambda x, y: math.hypot(x - c, y - c) <= r, BLACK)
    return canvas


def gear_shape(size):
    c = size / 2
    return gear(c, c, size / 2 - 1.0, size / 2 - 3.6, 8, size * 0.14, phase=math.pi / 8)


def gear_button(size, light, deep, rim, backdrop=PANEL_TOP):
    c = size / 2
    shape = gear_shape(size)
    canvas = Canvas(size, size, backdrop)
    canvas.paint(shape, flat(rim))
    canvas.paint(lambda x, y: shape(x, y) + 1.0, radial(c, c, size / 2, light, deep))
    canvas.paint(subtract(circle(c, c, size * 0.26), circle(c, c, size * 0.20)), flat(mix(deep, rim, 0.5)))
    return canvas


def gear_mask(size):
    shape = gear_shape(size)
    canvas = Canvas(size, size, WHITE)
    canvas.fill_hard(lambda x, y: shape(x, y) <= 0.0, BLACK)
    return canvas


# Bitmap glyphs for the wordmark on the window skin.
GLYPHS = {
    'O': ['.###.', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'r': ['....', '....', '#.##', '##..', '#...', '#...', '#...'],
    'v': ['.....', '.....', '#...#', '#...#', '.#.#.', '.#.#.', '..#..'],
    'i': ['#', '.', '#', '#', '#', '#', '#'],
    'k': ['#...', '#...', '#..#', '#.#.', '##..', '#.#.', '#..#'],
    'a': ['....', '....', '.##.', '...#', '.###', '#..#', '.###'],
    '2': ['.###.', '#...#', '....#', '...#.', '..#..', '.#...', '#####'],
}


def text_width(text):
    return sum(len(GLYPHS[ch][0]) for ch in text) + len(text) - 1


def draw_text(canvas, text, x0, y0, colour, shadow):
    x = x0
    for ch in text:
        glyph = GLYPHS[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit != '#':
                    continue
                sx, sy = x + gx, y0 + gy
                if sy + 1 < canvas.height:
                    canvas.rgb[sy + 1][sx] = mix(canvas.rgb[sy + 1][sx], shadow, 0.8)
                canvas.rgb[sy][sx] = colour
        x += len(glyph[0]) + 1


def window_skin(width=174, height=80):
    """The main window: a dark rounded panel on the key colour.

    Its outline is hard (inside or key colour); inside, a recessed socket
    holds the code button and a round plate carries the menu button's gear.
    """
    ww, wh = WINDOW_SIZE
    cx = CODE_BUTTON_ORIGIN[0] + 16
    cy = CODE_BUTTON_ORIGIN[1] + 16
    gx = MENU_BUTTON_ORIGIN[0] + 12
    gy = MENU_BUTTON_ORIGIN[1] + 12
    panel = rounded_rect(1, 7, ww - 1, wh - 1, 13)
    plate = circle(gx, gy, 13.5)
    outline = union(panel, plate)

    canvas = Canvas(width, height, KEY)
    canvas.fill_hard(lambda x, y: outline(x, y) <= 0.0, PANEL_EDGE)
    inner = lambda x, y: panel(x, y) + 1.0
    canvas.paint(inner, vertical(7, wh, PANEL_TOP, PANEL_BOTTOM))
    # A thin highlight along the top edge.
    canvas.paint(lambda x, y: max(inner(x, y), -(inner(x, y) + 1.2), y - 14), flat(PANEL_SHINE))

    canvas.paint(circle(cx, cy, 19.5), vertical(cy - 20, cy + 20, PANEL_EDGE, PANEL_SHINE))
    canvas.paint(circle(cx, cy, 18.0), flat(SOCKET))

    canvas.paint(circle(gx, gy, 12.5), vertical(gy - 12, gy + 12, PANEL_TOP, mix(PANEL_TOP, PANEL_BOTTOM, 0.5)))

    label = 'Orvika2'
    tx = (cx - 20 - text_width(label)) // 2
    ty = (7 + wh) // 2 - 4
    draw_text(canvas, label, tx, ty, YELLOW_LIGHT, PANEL_EDGE)
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
    bitmaps = {
        # Code button, 32 x 32: normal, down, over, disabled, mask.
        141: disc_button(32, YELLOW_LIGHT, YELLOW_DEEP, YELLOW_RIM, CENTRE_DARK),
        137: disc_button(32, YELLOW_LIGHT, YELLOW_DEEP, YELLOW_RIM, CENTRE_GREEN, CENTRE_GREEN_DEEP),
        140: disc_button(32, ORANGE_LIGHT, ORANGE_DEEP, ORANGE_RIM, CENTRE_DARK),
        138: disc_button(32, GREY_LIGHT, GREY_DEEP, GREY_RIM, CENTRE_GREY),
        139: disc_mask(32),
        # Menu button, 24 x 24: normal (also disabled), down and over, mask.
        144: gear_button(24, STEEL_LIGHT, STEEL_DEEP, STEEL_RIM),
        155: gear_button(24, YELLOW_LIGHT, YELLOW_DEEP, YELLOW_RIM),
        145: gear_mask(24),
        153: window_skin(),
        1000: status_mark(),
    }
    for number, canvas in bitmaps.items():
        with open(os.path.join(out, f'bitmap{number}.bmp'), 'wb') as f:
            f.write(bmp24(canvas))
    with open(os.path.join(out, 'orvika2.ico'), 'wb') as f:
        f.write(ico([icon_image(s) for s in (16, 20, 24, 32, 40, 48, 64, 128, 256)]))


if __name__ == '__main__':
    main()
