"""The program's icon: a DTU box with an antenna, one list of shapes written both as SVG (for
the desktop) and as PNGs of the usual sizes (for the window and the icon theme)."""

from images import hex_rgb, png_bytes, SAMPLES

GRID = 64  # the shapes' coordinates; the SVG's view box
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)

NAVY = "#1f4e79"
PANEL = "#16395a"
ORANGE = "#f0a30a"
GREEN = "#2e9d5a"
WHITE = "#ffffff"


class RoundRect:
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r

    def box(self):
        return self.x0, self.y0, self.x1, self.y1

    def inside(self, x, y):
        r = self.r
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (self.x0 <= x <= self.x1 and self.y0 <= y <= self.y1 and
                (x - cx) ** 2 + (y - cy) ** 2 <= r * r)

    def svg(self, colour):
        return (f'<rect x="{self.x0}" y="{self.y0}" width="{self.x1 - self.x0}" '
                f'height="{self.y1 - self.y0}" rx="{self.r}" fill="{colour}"/>')


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def box(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r

    def inside(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r ** 2

    def svg(self, colour):
        return f'<circle cx="{self.cx}" cy="{self.cy}" r="{self.r}" fill="{colour}"/>'


class Stroke:
    """A straight stroke with round ends: every point within half_width of the segment."""

    def __init__(self, ax, ay, bx, by, half_width):
        self.a, self.b, self.w = (ax, ay), (bx, by), half_width

    def box(self):
        (ax, ay), (bx, by), w = self.a, self.b, self.w
        return min(ax, bx) - w, min(ay, by) - w, max(ax, bx) + w, max(ay, by) + w

    def inside(self, x, y):
        (ax, ay), (bx, by) = self.a, self.b
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= self.w ** 2

    def svg(self, colour):
        (ax, ay), (bx, by) = self.a, self.b
        return (f'<line x1="{ax}" y1="{ay}" x2="{bx}" y2="{by}" stroke="{colour}" '
                f'stroke-width="{2 * self.w}" stroke-linecap="round"/>')


# Painted in order: the antenna behind the box, the box, its front panel with three lights,
# and the signal strokes beside the antenna's tip.
LAYERS = [
    (Stroke(45, 27, 45, 10, 2.5), NAVY),
    (Circle(45, 9, 4), ORANGE),
    (RoundRect(6, 26, 58, 58, 7), NAVY),
    (RoundRect(12, 35, 52, 49, 3), PANEL),
    (Circle(20, 42, 3), GREEN),
    (Circle(29, 42, 3), ORANGE),
    (Circle(38, 42, 3), ORANGE),
    (Stroke(46, 53, 52, 53, 1.2), WHITE),
    (Stroke(53, 4, 56, 9, 1.5), ORANGE),
    (Stroke(56, 14, 53, 19, 1.5), ORANGE),
    (Stroke(37, 4, 34, 9, 1.5), ORANGE),
    (Stroke(34, 14, 37, 19, 1.5), ORANGE),
]


def svg():
    body = "\n".join("  " + shape.svg(colour) for shape, colour in LAYERS)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{GRID}" height="{GRID}" '
            f'viewBox="0 0 {GRID} {GRID}">\n'
            f'  <title>dtuconfig</title>\n{body}\n</svg>\n').encode("utf-8")


def png(size):
    """The layers anti-aliased at size x size; each shape is sampled only inside its box."""
    scale = size / GRID
    rgba = [[[0.0, 0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    for shape, colour in LAYERS:
        cr, cg, cb = hex_rgb(colour)
        x0, y0, x1, y1 = shape.box()
        for py in range(max(0, int(y0 * scale)), min(size, int(y1 * scale) + 2)):
            for px in range(max(0, int(x0 * scale)), min(size, int(x1 * scale) + 2)):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if shape.inside((px + (sx + 0.5) / SAMPLES) / scale,
                                        (py + (sy + 0.5) / SAMPLES) / scale):
                            hits += 1
                if hits == 0:
                    continue
                cover = hits / (SAMPLES * SAMPLES)
                p = rgba[py][px]
                out_a = cover + p[3] * (1 - cover)
                for i, c in enumerate((cr, cg, cb)):
                    p[i] = (c * cover + p[i] * p[3] * (1 - cover)) / out_a
                p[3] = out_a
    pixels = [[(round(r), round(g), round(b), round(a * 255)) for r, g, b, a in row]
              for row in rgba]
    return png_bytes(size, size, pixels)


def icon_files():
    files = {"dtuconfig.svg": svg()}
    for size in PNG_SIZES:
        files[f"dtuconfig_{size}.png"] = png(size)
    return files


if __name__ == "__main__":
    print({k: len(v) for k, v in icon_files().items()})
