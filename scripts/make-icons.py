#!/usr/bin/env python3
"""Draws the program's small images: the window icon (a database drum on a blue tile)
as resources/app.ico and, for the desktop entry, packaging/quorvel.png; the combo arrow and
check tick of the style sheet as PNG."""
import math, struct, sys, zlib, os

def png(w, h, pixels):
    raw = b''.join(b'\x00' + bytes(v for px in pixels[y*w:(y+1)*w] for v in px) for y in range(h))
    def chunk(t, d):
        c = struct.pack('>I', len(d)) + t + d
        return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def sample(fn, w, h, ss=4):
    out = []
    for y in range(h):
        for x in range(w):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    c = fn((x + (sx + .5) / ss) / w, (y + (sy + .5) / ss) / h)
                    a = c[3] / 255
                    for i in range(3):
                        acc[i] += c[i] * a
                    acc[3] += c[3]
            n = ss * ss
            alpha = acc[3] / n
            rgb = [int(acc[i] / (acc[3] / 255)) if acc[3] else 0 for i in range(3)]
            out.append((*rgb, int(alpha)))
    return out

def icon(u, v):
    # rounded blue tile
    r = .18
    dx = max(abs(u - .5) - (.5 - r), 0); dy = max(abs(v - .5) - (.5 - r), 0)
    if dx * dx + dy * dy > r * r:
        return (0, 0, 0, 0)
    bg = (59, 130, 246, 255) if v < .5 else (37, 99, 235, 255)
    # database drum: three stacked discs
    cx, rx, ry = .5, .28, .08
    for top in (.22, .42, .62):
        inside_body = abs(u - cx) <= rx and top <= v <= top + .14
        e_top = ((u - cx) / rx) ** 2 + ((v - top) / ry) ** 2
        e_bot = ((u - cx) / rx) ** 2 + ((v - top - .14) / ry) ** 2
        if e_top <= 1 and top == .22:
            return (191, 219, 254, 255)
        if inside_body or e_bot <= 1:
            edge = e_bot <= 1 and e_bot > .55 and v > top + .14
            return (30, 64, 175, 255) if edge else (255, 255, 255, 255)
    return bg

def arrow(u, v):
    # white triangle pointing down
    return (255, 255, 255, 255) if .25 <= v <= .75 and abs(u - .5) <= (.75 - v) else (0, 0, 0, 0)

def tick(u, v):
    def seg(ax, ay, bx, by):
        px, py = u - ax, v - ay; qx, qy = bx - ax, by - ay
        t = max(0, min(1, (px * qx + py * qy) / (qx * qx + qy * qy)))
        return math.hypot(px - t * qx, py - t * qy)
    d = min(seg(.18, .52, .42, .76), seg(.42, .76, .84, .26))
    return (255, 255, 255, 255) if d < .09 else (0, 0, 0, 0)

def ico(images):
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for size, data in images:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data); blobs += data
    return head + entries + blobs

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'resources')
with open(os.path.join(out, 'app.ico'), 'wb') as f:
    f.write(ico([(s, png(s, s, sample(icon, s, s))) for s in (16, 32, 48, 64)]))
with open(os.path.join(out, 'arrow-down.png'), 'wb') as f:
    f.write(png(12, 12, sample(arrow, 12, 12)))
with open(os.path.join(out, 'check.png'), 'wb') as f:
    f.write(png(14, 14, sample(tick, 14, 14)))
with open(os.path.join(out, '..', 'packaging', 'quorvel.png'), 'wb') as f:
    f.write(png(256, 256, sample(icon, 256, 256, 2)))
