#!/usr/bin/env python3
"""Makes the game's assets: the biker picture, the tile atlas and the hit sound.

Usage: tools/gen_assets.py [OUTPUT_FOLDER]   (default: assets/ beside this folder)

Only the standard library is used, and the output is the same on every run, so the committed
files can be checked against a fresh run.
"""

import math
import os
import struct
import sys
import wave

MAGENTA = (255, 0, 255)


# ---------------------------------------------------------------- pictures


class Picture:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        return self.pixels[y][x]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def paint(self, inside, colour, box=None, transparent=None):
        """Paints every pixel that the shape `inside(x, y)` covers, sampled 4 by 4 per pixel.

        Partly covered pixels are blended, except over the transparent colour: there a pixel is
        painted only when at least half covered, so no blended fringe ever touches the colour
        key and the outline stays crisp.
        """
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(
                    1
                    for sy in range(4)
                    for sx in range(4)
                    if inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)
                )
                if hits == 0:
                    continue
                old = self.pixels[y][x]
                if old == transparent:
                    if hits >= 8:
                        self.pixels[y][x] = colour
                else:
                    self.pixels[y][x] = mix(old, colour, hits / 16)

    def to_bmp(self):
        """A 24-bit bottom-up Windows bitmap."""
        row_size = (self.width * 3 + 3) & ~3
        image_size = row_size * self.height
        header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
        info = struct.pack(
            "<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, image_size, 2835, 2835, 0, 0
        )
        rows = []
        for y in range(self.height - 1, -1, -1):
            row = bytearray()
            for r, g, b in self.pixels[y]:
                row += bytes((b, g, r))
            row += bytes(row_size - len(row))
            rows.append(bytes(row))
        return header + info + b"".join(rows)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def shade(colour, factor):
    return tuple(max(0, min(255, int(round(c * factor)))) for c in colour)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner < (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def capsule(ax, ay, bx, by, r):
    """A thick line from (ax, ay) to (bx, by) with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= r * r

    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return inside


class Noise:
    """A small deterministic generator (a linear congruential one), so every run is the same."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF


# ---------------------------------------------------------------- the biker


def biker():
    pic = Picture(30, 30, MAGENTA)
    draw_biker(pic, 1, 0, 0, MAGENTA)
    return pic


def draw_biker(pic, scale, left, top, key=None):
    """Paints the biker, drawn on a 30 by 30 grid, scaled, with the grid's corner at (left, top)."""

    tyre = (28, 28, 34)
    rim = (200, 204, 214)
    hub = (120, 124, 136)
    frame_red = (214, 38, 46)
    frame_dark = (150, 22, 30)
    engine = (96, 100, 112)
    chrome = (228, 230, 236)
    jacket = (36, 92, 206)
    jacket_dark = (22, 58, 140)
    jeans = (40, 46, 70)
    boot = (24, 24, 28)
    glove = (30, 30, 34)
    helmet = (252, 204, 36)
    helmet_dark = (200, 150, 20)
    visor = (40, 50, 80)
    visor_glint = (170, 210, 255)

    def paint(shape, colour):
        def scaled(x, y):
            return shape((x - left) / scale, (y - top) / scale)

        pic.paint(scaled, colour, transparent=key)

    for cx in (6.0, 23.5):
        paint(circle(cx, 23.8, 6.0), tyre)
        paint(ring(cx, 23.8, 4.3, 3.4), rim)
        paint(capsule(cx - 3, 23.8, cx + 3, 23.8, 0.45), hub)
        paint(capsule(cx, 20.8, cx, 26.8, 0.45), hub)
        paint(circle(cx, 23.8, 1.3), chrome)

    # Swing arm, engine, frame with tank and seat, fork, exhaust, lamp.
    paint(capsule(6.0, 23.8, 13, 20.5, 1.1), frame_dark)
    paint(polygon([(11, 18.5), (17.5, 18.5), (17, 22.5), (12, 22.5)]), engine)
    paint(capsule(13.5, 20.5, 15.5, 20.5, 0.6), chrome)
    paint(polygon([(7, 15.5), (13, 15.5), (15, 14), (20.5, 12.5), (22.5, 15), (18, 18.8), (10, 18.8)]),
          frame_red)
    paint(polygon([(15, 14), (20.5, 12.5), (21.5, 14), (16, 15.6)]), shade(frame_red, 1.2))
    paint(capsule(7.2, 15.2, 12.5, 15.2, 1.0), boot)  # seat
    paint(capsule(23.5, 23.8, 20.8, 12.2, 1.0), chrome)
    paint(capsule(12.5, 23.4, 3.5, 21.6, 0.9), chrome)
    paint(capsule(23, 15.5, 27.5, 16.5, 0.9), frame_red)  # front mudguard
    paint(circle(23.2, 12.3, 1.2), (255, 240, 160))

    # Rider: torso leaning forward, leg bent to the peg, arm to the bars, helmet.
    paint(polygon([(9.5, 14.5), (12.5, 6), (17, 7.5), (14.5, 15)]), jacket)
    paint(capsule(10.5, 14.2, 14.5, 14.5, 1.0), jacket_dark)
    paint(capsule(12, 13.5, 17.5, 15.5, 1.9), jeans)
    paint(capsule(17.5, 15.5, 15.5, 20.5, 1.5), jeans)
    paint(capsule(14.5, 21.2, 17.8, 21.2, 1.1), boot)
    paint(capsule(15, 8.5, 20.5, 11.5, 1.25), jacket_dark)
    paint(circle(20.8, 11.6, 1.2), glove)
    paint(circle(16, 4.6, 4.0), helmet)
    paint(capsule(12.8, 6.6, 16.8, 8.4, 0.8), helmet_dark)
    paint(polygon([(17.2, 2.9), (20.3, 3.8), (20.1, 6.4), (16.9, 5.8)]), visor)
    paint(capsule(18.3, 3.9, 19.5, 4.3, 0.4), visor_glint)


# ---------------------------------------------------------------- the tile atlas

TILE = 32
PITCH = 33

SKY = (124, 196, 240)
SKY_LIGHT = (168, 220, 250)
DIRT = (150, 96, 56)
DIRT_DARK = (118, 72, 40)
DIRT_LIGHT = (178, 122, 74)
STONE = (128, 120, 110)
GRASS_TOP = (160, 232, 96)
GRASS = (88, 186, 58)
GRASS_DARK = (52, 132, 42)
RIM = (92, 56, 32)
RIM_EDGE = (58, 34, 20)
GRASS_BAND = 6


def sky_colour(x, y):
    # A few soft sparkles so the open background is not flat.
    for sx, sy in ((7, 9), (23, 24)):
        d = abs(x - sx) + abs(y - sy)
        if d == 0:
            return SKY_LIGHT
        if d == 1:
            return mix(SKY, SKY_LIGHT, 0.45)
    return SKY


def dirt_colours(seed):
    """The earth fill: speckles and a few pebbles, the same pattern in every earth tile."""
    noise = Noise(seed)
    cells = [[DIRT] * TILE for _ in range(TILE)]
    for y in range(TILE):
        for x in range(TILE):
            r = noise.next()
            if r < 0.10:
                cells[y][x] = DIRT_DARK
            elif r > 0.93:
                cells[y][x] = DIRT_LIGHT
    for px, py, radius in ((6, 8, 2.2), (22, 5, 1.6), (15, 19, 2.6), (27, 26, 1.8), (4, 27, 1.4)):
        for y in range(TILE):
            for x in range(TILE):
                d2 = (x + 0.5 - px) ** 2 + (y + 0.5 - py) ** 2
                if d2 <= radius * radius:
                    lit = (x + 0.5 - px) + (y + 0.5 - py) < 0
                    cells[y][x] = shade(STONE, 1.18 if lit else 0.92)
    return cells


DIRT_CELLS = dirt_colours(7)


def grass_colour(depth, x):
    """Grass by depth below the surface: a bright edge, the blade colour, then a ragged dark foot."""
    if depth < 1:
        return GRASS_TOP
    foot = GRASS_BAND - 1 - (1 if (x * 7) % 5 < 2 else 0)
    if depth < foot:
        return GRASS
    if depth < GRASS_BAND:
        return GRASS_DARK
    return None


def tile_pixels(number):
    """Colour of each pixel of a tile, as a function of (x, y) within the tile."""

    def earth(x, y):
        return DIRT_CELLS[y][x]

    def surface(top):
        # Open above the surface line top(x), grass just below it, earth beneath.
        def colour(x, y):
            t = top(x)
            if y < t:
                return sky_colour(x, y)
            return grass_colour(y - t, x) or earth(x, y)

        return colour

    def rimmed(distance):
        # Earth whose open side(s) carry a dark rock rim; distance(x, y) is how far a pixel lies
        # from the open edge (negative: beyond a rounded corner, open).
        def colour(x, y):
            d = distance(x, y)
            if d < 0:
                return sky_colour(x, y)
            if d < 1:
                return RIM_EDGE
            if d < 4:
                return shade(RIM, 1.0 + 0.06 * (d - 1))
            return earth(x, y)

        return colour

    last = TILE - 1
    corner = 6.0

    def rounded(dx, dy):
        # Distance inside a rounded outer corner whose open sides lie dx and dy pixels away.
        if dx < corner and dy < corner:
            return corner - math.hypot(corner - dx, corner - dy)
        return min(dx, dy)

    if number == 1:
        return sky_colour
    if number == 2:
        return earth
    if number == 3:
        return surface(lambda x: 0)
    if number == 10:  # rising to the right: the surface runs from bottom-left to top-right
        return surface(lambda x: last - x)
    if number == 5:  # falling to the right
        return surface(lambda x: x)
    if number == 9:  # under a rising incline: its grass reaches into the top-left corner
        return lambda x, y: (grass_colour(y + x, x) if x + y < GRASS_BAND else None) or earth(x, y)
    if number == 4:  # under a falling incline: grass in the top-right corner
        return lambda x, y: (
            grass_colour(y + last - x, x) if y + last - x < GRASS_BAND else None
        ) or earth(x, y)
    if number == 6:  # underside
        return rimmed(lambda x, y: last - y)
    if number == 8:  # underside meeting a face open to the right
        return rimmed(lambda x, y: rounded(last - x, last - y))
    if number == 12:  # underside meeting a face open to the left
        return rimmed(lambda x, y: rounded(x, last - y))
    if number == 7:  # inner corner: the rims below and to the right meet at its bottom-right
        return rimmed(lambda x, y: max(last - x, last - y))
    if number == 11:  # inner corner: the rims meet at its bottom-left
        return rimmed(lambda x, y: max(x, last - y))
    raise ValueError(number)


def atlas():
    pic = Picture(4 * PITCH + 1, 3 * PITCH + 1, (40, 40, 40))
    for number in range(1, 13):
        left = 1 + PITCH * ((number - 1) % 4)
        top = 1 + PITCH * ((number - 1) // 4)
        colour = tile_pixels(number)
        for y in range(TILE):
            for x in range(TILE):
                pic.set(left + x, top + y, colour(x, y))
    return pic


# ---------------------------------------------------------------- the hit sound

RATE = 22050


def hit_samples():
    """A short, sharp hit: a noise crack over a falling thump, about 0.2 s."""
    noise = Noise(12345)
    length = int(RATE * 0.2)
    samples = []
    phase = 0.0
    low = 0.0
    for n in range(length):
        t = n / RATE
        frequency = 70 + 130 * math.exp(-t / 0.03)
        phase += 2 * math.pi * frequency / RATE
        thump = math.sin(phase) * math.exp(-t / 0.05)
        white = noise.next() * 2 - 1
        low += 0.35 * (white - low)  # soften the hiss a little
        crack = (0.55 * white + 0.45 * low) * math.exp(-t / 0.012)
        attack = min(1.0, t / 0.001)
        release = min(1.0, (length - 1 - n) / (RATE * 0.01))
        samples.append((0.7 * thump + 0.6 * crack) * attack * release)
    peak = max(abs(s) for s in samples)
    return [int(round(s / peak * 0.85 * 32767)) for s in samples]


def write_wave(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in hit_samples()))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "assets")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Biker2.bmp"), "wb") as out:
        out.write(biker().to_bmp())
    with open(os.path.join(folder, "TilesFun2.bmp"), "wb") as out:
        out.write(atlas().to_bmp())
    write_wave(os.path.join(folder, "hit1.wav"))


if __name__ == "__main__":
    main()
