#!/usr/bin/env python3
"""Draws the program icon (assets/corvane.ico): the program's mark, the same
as the movie's logo and the splash's — a teal ring broken like a "C", with an
amber signal arc and dot in its opening, on a navy rounded tile. 16, 32 and 48 pixels,
32-bit BGRA. Run by hand when the artwork changes; the .ico is committed."""
import math, struct, sys

def render(size):
    ss = 4  # supersampling per axis
    px = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    u = (x + (sx + 0.5) / ss) / size
                    v = (y + (sy + 0.5) / ss) / size
                    c = sample(u, v)
                    a = c[3]
                    for i in range(3):
                        acc[i] += c[i] * a
                    acc[3] += a
            n = ss * ss
            a = acc[3] / n
            if a > 0:
                rgb = [acc[i] / acc[3] for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[2], rgb[1], rgb[0], a))
        px.append(row)
    return px

def sample(u, v):
    # The program's mark, as the movie draws it (tools/art/make_movie.py,
    # logo()) on a 28-unit tile: a teal ring broken like a "C", open to the
    # right, with an amber signal arc and dot in the opening, on a navy tile.
    k = 1 / 28.0
    # navy rounded tile, a vertical gradient #1A2D45 to #12202F
    r = 8 * k
    dx = max(abs(u - 0.5) - (0.5 - r), 0)
    dy = max(abs(v - 0.5) - (0.5 - r), 0)
    if dx * dx + dy * dy > r * r:
        return (0, 0, 0, 0)
    base = (26 + (18 - 26) * v, 45 + (32 - 45) * v, 69 + (47 - 69) * v)
    d = math.hypot(u - 0.5, v - 0.5)
    ang = math.degrees(math.atan2(v - 0.5, u - 0.5))  # clockwise, 0 at three o'clock
    def on_arc(radius, width, start, sweep):
        a = (ang - start) % 360
        if a <= sweep and abs(d - radius) <= width / 2:
            return True
        # round caps at both ends
        for e in (start, start + sweep):
            ex = 0.5 + radius * math.cos(math.radians(e))
            ey = 0.5 + radius * math.sin(math.radians(e))
            if math.hypot(u - ex, v - ey) <= width / 2:
                return True
        return False
    if on_arc(8.2 * k, 3.2 * k, 50, 260):
        return (47, 208, 192, 1)  # accent #2FD0C0
    if on_arc(3.9 * k, 2 * k, -42, 84) or d <= 1.6 * k:
        return (245, 196, 81, 1)  # amber #F5C451
    return (*base, 1)

def ico(sizes):
    images = []
    for s in sizes:
        px = render(s)
        xor = bytearray()
        for row in reversed(px):
            for b, g, r, a in row:
                xor += bytes((int(b), int(g), int(r), int(round(a * 255))))
        mask_row = ((s + 31) // 32) * 4
        andmask = bytes(mask_row * s)
        header = struct.pack('<IiiHHIIiiII', 40, s, s * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        images.append((s, header + bytes(xor) + andmask))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack('<BBBBHHII', s if s < 256 else 0, s if s < 256 else 0, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for s, data in images:
        out += data
    return bytes(out)

if __name__ == '__main__':
    path = sys.argv[1] if len(sys.argv) > 1 else 'assets/corvane.ico'
    with open(path, 'wb') as f:
        f.write(ico([16, 32, 48]))
