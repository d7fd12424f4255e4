#!/usr/bin/env python3
"""Checks screenshots of the main window against its skin.

usage: window_pixels.py BACKDROP CASE...   with CASE = NAME:PERCENT:SKIN.bmp:WINDOW.ppm

BACKDROP is the screen's colour as rrggbb; WINDOW.ppm is the window's
rectangle cut from the screen; SKIN.bmp the skin bitmap drawn for PERCENT.
Each button must cover its socket (the flat recess the skin draws under it)
centre on centre, within one pixel times the scale; the see-through outline
must be the outline of the first case, a 100 % one, scaled. Prints
one line a case and ends with status 1 when a check fails.
"""
import struct
import sys

KEY = (200, 0, 0)
SOCKETS = {'code button': (20, 22, 26), 'menu button': (26, 29, 35)}


class Picture:
    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def at(self, x, y):
        return self.pixels[y * self.width + x]


def read_bmp(path):
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    assert bits == 24, path
    row = (width * 3 + 3) & ~3
    pixels = [None] * (width * abs(height))
    for y in range(abs(height)):
        source = offset + (abs(height) - 1 - y if height > 0 else y) * row
        for x in range(width):
            b, g, r = data[source + 3 * x:source + 3 * x + 3]
            pixels[y * width + x] = (r, g, b)
    return Picture(width, abs(height), pixels)


def read_ppm(path):
    data = open(path, 'rb').read()
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        start = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start:position])
    assert fields[0] == b'P6' and fields[3] == b'255', path
    width, height = int(fields[1]), int(fields[2])
    body = data[position + 1:]
    pixels = [tuple(body[i:i + 3]) for i in range(0, 3 * width * height, 3)]
    return Picture(width, height, pixels)


def largest_patch(picture, colour, width, height):
    """The largest four-connected patch of exactly this colour: the socket,
    not a stray blend elsewhere that happens to match it."""
    seen = set()
    best = []
    for y in range(height):
        for x in range(width):
            if (x, y) in seen or picture.at(x, y) != colour:
                continue
            patch, pending = [], [(x, y)]
            seen.add((x, y))
            while pending:
                px, py = pending.pop()
                patch.append((px, py))
                for nx, ny in ((px + 1, py), (px - 1, py), (px, py + 1), (px, py - 1)):
                    if 0 <= nx < width and 0 <= ny < height and (nx, ny) not in seen and picture.at(nx, ny) == colour:
                        seen.add((nx, ny))
                        pending.append((nx, ny))
            if len(patch) > len(best):
                best = patch
    return best


def box_centre(points):
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return ((min(xs) + max(xs) + 1) / 2, (min(ys) + max(ys) + 1) / 2), max(xs) - min(xs) + 1


def check_buttons(name, percent, skin, shot, backdrop):
    """The pixels where the screen differs from the skin are the buttons."""
    sockets = {}
    for button, colour in SOCKETS.items():
        points = largest_patch(skin, colour, min(skin.width, shot.width), min(skin.height, shot.height))
        if not points:
            return [f'no {button} socket in the skin']
        sockets[button] = box_centre(points)
    drawn = {button: [] for button in SOCKETS}
    for y in range(shot.height):
        for x in range(shot.width):
            inside = x < skin.width and y < skin.height and skin.at(x, y) != KEY
            expected = skin.at(x, y) if inside else backdrop
            if shot.at(x, y) != expected:
                nearest = min(sockets, key=lambda b: (x + 0.5 - sockets[b][0][0]) ** 2 + (y + 0.5 - sockets[b][0][1]) ** 2)
                drawn[nearest].append((x, y))
    errors = []
    tolerance = percent / 100
    for button, ((sx, sy), socket_width) in sockets.items():
        if not drawn[button]:
            errors.append(f'no {button} drawn')
            continue
        (bx, by), width = box_centre(drawn[button])
        print(f'  {name}: {button} centre ({bx}, {by}), {width} px wide; socket centre ({sx}, {sy}), {socket_width} px')
        if abs(bx - sx) > tolerance or abs(by - sy) > tolerance:
            errors.append(f'{button} centre ({bx}, {by}) is off its socket centre ({sx}, {sy})')
        if width < 0.75 * socket_width:
            errors.append(f'{button} is {width} px wide in a socket of {socket_width} px: not drawn for {percent} %')
    return errors


def outside(shot, backdrop):
    return [[shot.at(x, y) == backdrop for x in range(shot.width)] for y in range(shot.height)]


def check_outline(percent, mask, reference):
    """Every pixel whose place at 100 % is a pixel or more from the outline
    is see-through exactly when it is there."""
    height, width = len(reference), len(reference[0])
    if abs(len(mask[0]) - width * percent / 100) > 1 or abs(len(mask) - height * percent / 100) > 1:
        return [f'window {len(mask[0])} x {len(mask)}, expected the 100 % {width} x {height} scaled by {percent} %']
    wrong = 0
    for y, row in enumerate(mask):
        for x, see_through in enumerate(row):
            u, v = int((x + 0.5) * 100 / percent), int((y + 0.5) * 100 / percent)
            near = {reference[j][i] for j in range(max(0, v - 1), min(height, v + 2))
                    for i in range(max(0, u - 1), min(width, u + 2))}
            if len(near) == 1 and see_through not in near:
                wrong += 1
    return [f'{wrong} pixels off the scaled 100 % outline'] if wrong else []


def main():
    backdrop = tuple(bytes.fromhex(sys.argv[1]))
    reference = None
    failed = False
    for case in sys.argv[2:]:
        name, percent, skin_path, shot_path = case.split(':')
        percent = int(percent)
        skin, shot = read_bmp(skin_path), read_ppm(shot_path)
        errors = check_buttons(name, percent, skin, shot, backdrop)
        mask = outside(shot, backdrop)
        if percent == 100 and reference is None:
            reference = mask
        if reference is not None:
            errors += check_outline(percent, mask, reference)
        else:
            errors.append('no 100 % case before it to compare the outline with')
        for error in errors:
            print(f'FAIL: {name}: {error}')
        if not errors:
            print(f'ok: {name}: {shot.width} x {shot.height}, buttons over their sockets, outline scaled')
        failed = failed or bool(errors)
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
