#!/usr/bin/env python3
"""Draws the program icon (assets/corvane.ico): a teal ring broken like a
"C", with a signal dot inside, on a dark rounded tile. 16, 32 and 48 pixels,
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
    # dark rounded tile
    r = 0.18
    dx = max(abs(u - 0.5) - (0.5 - r), 0)
    dy = max(abs(v - 0.5) - (0.5 - r), 0)
    if dx * dx + dy * dy > r * r:
        return (0, 0, 0, 0)
    t = v
    base = (18 + 20 * t, 30 + 26 * t, 48 + 30 * t)
    cx, cy = 0.5, 0.5
    d = math.hypot(u - cx, v - cy)
    ang = math.degrees(math.atan2(v - cy, u - cx))
    # the "C" ring, open towards the right
    if 0.26 <= d <= 0.37 and not (-40 < ang < 40):
        k = (ang + 180) / 360
        return (40 + 60 * k, 200 + 40 * (1 - k), 210, 1)
    # signal arcs inside the opening
    for rr, w in ((0.16, 0.045),):
        if abs(d - rr) < w / 2 and -55 < ang < 55:
            return (250, 200, 80, 1)
    if d < 0.065:
        return (250, 200, 80, 1)
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
