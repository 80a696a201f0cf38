"""The skin's images, drawn here so that nothing is downloaded: a small PNG writer and a
few anti-aliased shapes (4 x 4 samples per pixel)."""

import struct
import zlib

SAMPLES = 4


def png_bytes(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, 0..255."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for r, g, b, a in pixels[y]:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def hex_rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# Shapes are predicates over a point (x, y) in pixel units.
def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment(ax, ay, bx, by, half_width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2
    return inside


def outline(x0, y0, x1, y1, w):
    outer = rounded_rect(x0, y0, x1, y1, 0.5)
    inner = rounded_rect(x0 + w, y0 + w, x1 - w, y1 - w, 0.1)
    return lambda x, y: outer(x, y) and not inner(x, y)


def render(width, height, layers):
    """layers: (shape, colour, alpha 0..1), painted in order over a transparent image."""
    pixels = []
    for py in range(height):
        line = []
        for px in range(width):
            r = g = b = a = 0.0
            for shape, colour, alpha in layers:
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if shape(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                            hits += 1
                cover = alpha * hits / (SAMPLES * SAMPLES)
                if cover == 0:
                    continue
                cr, cg, cb = hex_rgb(colour)
                out_a = cover + a * (1 - cover)
                r = (cr * cover + r * a * (1 - cover)) / out_a
                g = (cg * cover + g * a * (1 - cover)) / out_a
                b = (cb * cover + b * a * (1 - cover)) / out_a
                a = out_a
            line.append((round(r), round(g), round(b), round(a * 255)))
        pixels.append(line)
    return png_bytes(width, height, pixels)


WHITE = "#ffffff"


def logo():
    layers = [(rounded_rect(1, 1, 27, 27, 6), "#f0a30a", 1.0)]
    # Three signal bars and an antenna dot.
    for i, h in enumerate((6, 11, 16)):
        x = 7 + i * 5.5
        layers.append((rounded_rect(x, 22 - h, x + 3.5, 22, 1), WHITE, 1.0))
    layers.append((circle(21.5, 8, 2.2), WHITE, 1.0))
    return render(28, 28, layers)


def caption_icon(kind):
    c = WHITE
    if kind == "min":
        layers = [(segment(3.5, 12, 12.5, 12, 0.75), c, 1.0)]
    elif kind == "max":
        layers = [(outline(3, 3, 13, 13, 1.3), c, 1.0)]
    elif kind == "restore":
        layers = [(outline(5.5, 2.5, 13.5, 10.5, 1.2), c, 1.0),
                  (rounded_rect(2.5, 5.5, 10.5, 13.5, 0.1), "#1f4e79", 1.0),
                  (outline(2.5, 5.5, 10.5, 13.5, 1.2), c, 1.0)]
    else:
        layers = [(segment(3.5, 3.5, 12.5, 12.5, 0.8), c, 1.0),
                  (segment(12.5, 3.5, 3.5, 12.5, 0.8), c, 1.0)]
    return render(16, 16, layers)


def switch(on):
    track = "#2e9d5a" if on else "#b8c0ca"
    knob_x = 37 if on else 11
    layers = [
        (rounded_rect(1, 1, 47, 21, 10), track, 1.0),
        (circle(knob_x, 11.6, 8.6), "#000000", 0.18),
        (circle(knob_x, 11, 8.2), WHITE, 1.0),
    ]
    # A tick on the green track, a ring on the grey one: readable without colour.
    if on:
        layers += [(segment(9, 11.5, 12, 14.5, 1.1), WHITE, 1.0),
                   (segment(12, 14.5, 18, 7.5, 1.1), WHITE, 1.0)]
    else:
        ring = circle(36, 11, 4.2)
        hole = circle(36, 11, 2.6)
        layers.append((lambda x, y: ring(x, y) and not hole(x, y), WHITE, 1.0))
    return render(48, 22, layers)


def arrow(left):
    tip, back = (5, 11) if left else (11, 5)
    layers = [(segment(back, 3, tip, 8, 1.2), "#1f4e79", 1.0),
              (segment(tip, 8, back, 13, 1.2), "#1f4e79", 1.0)]
    return render(16, 16, layers)


def all_images():
    return {
        "logo.png": logo(),
        "btn_min.png": caption_icon("min"),
        "btn_max.png": caption_icon("max"),
        "btn_restore.png": caption_icon("restore"),
        "btn_close.png": caption_icon("close"),
        "switch_enable.png": switch(True),
        "switch_disable.png": switch(False),
        "tab_left.png": arrow(True),
        "tab_right.png": arrow(False),
    }


if __name__ == "__main__":
    print({k: len(v) for k, v in all_images().items()})
