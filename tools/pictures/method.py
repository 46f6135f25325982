"""Finishes the measuring-method photograph: scales the ray-traced scene down, gives it
the tone, fall-off and grain of a snapshot, and letters three notes over it in ink.

usage: method.py SCENE.pov RENDER.png OUTPUT.jpg

The notes are placed by projecting points of the scene through the same camera as the
renderer, so they follow the square if the scene is changed. The numbers are read from
the #declare lines of SCENE.pov.
"""
import math
import random
import re
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

WIDTH_PX, HEIGHT_PX = 387, 500
INK_SCALE = 3  # the lettering is drawn this much larger, then scaled down
INK_RGB = (22, 30, 78)
FONT_FILE = "/usr/share/fonts/truetype/fifthhorseman/dkgBd.ttf"
SEED = 1907  # fixes the wobble of the pen and the grain, so every run gives the same file

# "Hold square perpendicular to wall, turn it until its shadow is pencil thin"
NOTE_HOLD = ["Hold square", "perpendicular", "to wall, turn it", "until its shadow",
             "is pencil thin"]
NOTE_HEIGHT = "Height of square"
# "Length of shadow - measure this"
NOTE_LENGTH = ["Length of shadow -", "measure this"]


def scene_numbers(pov_file):
    """The plain numbers the scene declares, by name."""
    numbers = {}
    pattern = re.compile(r"#declare\s+(\w+)\s*=\s*(-?\d+(?:\.\d+)?)\s*;")
    with open(pov_file) as f:
        for line in f:
            for name, value in pattern.findall(line):
                numbers.setdefault(name, float(value))
    return numbers


class Camera:
    """The renderer's perspective camera: angle is the horizontal field of view, the sky
    is +y, and the picture's height spans one unit of the image plane."""

    def __init__(self, n):
        self.location = np.array([n["CamX"], n["CamY"], n["CamZ"]])
        look_at = np.array([n["LookX"], n["LookY"], n["LookZ"]])
        self.direction = look_at - self.location
        self.direction /= np.linalg.norm(self.direction)
        self.right = np.cross([0.0, 1.0, 0.0], self.direction)
        self.right /= np.linalg.norm(self.right)
        self.up = np.cross(self.direction, self.right)
        aspect = WIDTH_PX / HEIGHT_PX
        self.focal = 0.5 * aspect / math.tan(math.radians(n["CamAngle"]) / 2)

    def project(self, point):
        v = np.asarray(point, dtype=float) - self.location
        depth = v @ self.direction
        return (WIDTH_PX / 2 + (v @ self.right) / depth * self.focal * HEIGHT_PX,
                HEIGHT_PX / 2 - (v @ self.up) / depth * self.focal * HEIGHT_PX)


def photo_finish(img, rng):
    """Warm sunlit tone, a gentle S-curve, lens fall-off towards the corners and grain."""
    a = np.asarray(img, dtype=np.float64) / 255.0
    a = np.clip(a * np.array([1.02, 1.0, 0.965]), 0, 1) ** 0.95
    yy, xx = np.mgrid[0:HEIGHT_PX, 0:WIDTH_PX]
    r = np.hypot((xx - WIDTH_PX / 2) / (WIDTH_PX / 2), (yy - HEIGHT_PX / 2) / (HEIGHT_PX / 2))
    a = a * (1 - 0.08 * r ** 2)[..., None]
    grain = rng.normal(0, 0.012, (HEIGHT_PX, WIDTH_PX, 1))
    a = np.clip(a + grain, 0, 1)
    return Image.fromarray((a * 255 + 0.5).astype(np.uint8), "RGB")


class Pen:
    """Draws slightly unsteady ink lines and lettering on a large transparent layer."""

    def __init__(self, rnd):
        self.rnd = rnd
        self.layer = Image.new("L", (WIDTH_PX * INK_SCALE, HEIGHT_PX * INK_SCALE), 0)
        self.draw = ImageDraw.Draw(self.layer)

    def line(self, a, b, width_px=1.6):
        """A hand-drawn stroke: a little wobble across it and a varying pressure."""
        (x0, y0), (x1, y1) = a, b
        length = math.hypot(x1 - x0, y1 - y0)
        nx, ny = -(y1 - y0) / length, (x1 - x0) / length
        phase1, phase2 = self.rnd.uniform(0, 6.3), self.rnd.uniform(0, 6.3)
        amp = min(0.9, 0.012 * length + 0.2)
        steps = max(8, int(length / 2))
        pts = []
        for i in range(steps + 1):
            t = i / steps
            off = amp * (math.sin(2 * math.pi * t + phase1) * 0.7
                         + math.sin(5 * math.pi * t + phase2) * 0.3) * math.sin(math.pi * t)
            pts.append(((x0 + (x1 - x0) * t + nx * off) * INK_SCALE,
                        (y0 + (y1 - y0) * t + ny * off) * INK_SCALE))
        for i in range(steps):
            t = (i + 0.5) / steps
            w = width_px * (0.85 + 0.25 * math.sin(math.pi * t)) * INK_SCALE
            self.draw.line([pts[i], pts[i + 1]], fill=255, width=max(1, round(w)))
            r = w / 2
            self.draw.ellipse([pts[i][0] - r, pts[i][1] - r, pts[i][0] + r, pts[i][1] + r],
                              fill=255)

    def text(self, xy, text, size_px, angle_deg=0.0):
        """One line of lettering with its baseline at xy (left end), tilted a little."""
        font = ImageFont.truetype(FONT_FILE, round(size_px * INK_SCALE))
        x, y = xy
        x *= INK_SCALE
        y *= INK_SCALE
        for ch in text:
            advance = font.getlength(ch)
            glyph = Image.new("L", (round(advance + size_px * INK_SCALE), round(
                size_px * INK_SCALE * 2)), 0)
            gd = ImageDraw.Draw(glyph)
            base = glyph.height * 0.7
            gd.text((size_px * INK_SCALE * 0.5, base), ch, font=font, fill=255, anchor="ls")
            jitter_angle = angle_deg + self.rnd.uniform(-3, 3)
            glyph = glyph.rotate(jitter_angle, resample=Image.Resampling.BICUBIC,
                                 center=(size_px * INK_SCALE * 0.5, base))
            dy = self.rnd.uniform(-0.35, 0.35) * INK_SCALE
            px = x - size_px * INK_SCALE * 0.5
            py = y - base + dy
            self.layer.paste(255, (round(px), round(py)), glyph)
            # the baseline follows the tilt of the line
            x += advance * math.cos(math.radians(angle_deg))
            y -= advance * math.sin(math.radians(angle_deg))

    def width(self, text, size_px):
        font = ImageFont.truetype(FONT_FILE, round(size_px * INK_SCALE))
        return font.getlength(text) / INK_SCALE

    def ink(self):
        return self.layer.resize((WIDTH_PX, HEIGHT_PX), Image.Resampling.LANCZOS)


def bracket(pen, a, b, toward, tick_px=6.0):
    """A dimension bracket from a to b whose end ticks point along the unit vector
    `toward` (at the thing measured)."""
    pen.line(a, b)
    for p in (a, b):
        pen.line(p, (p[0] + toward[0] * tick_px, p[1] + toward[1] * tick_px))


def offset(p, v, d):
    return (p[0] + v[0] * d, p[1] + v[1] * d)


def unit(a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = math.hypot(dx, dy)
    return dx / n, dy / n


def normal(a, b, towards):
    """The unit normal of the line a-b on the side that the direction `towards` points."""
    ux, uy = unit(a, b)
    nx, ny = -uy, ux
    if nx * towards[0] + ny * towards[1] < 0:
        nx, ny = -nx, -ny
    return nx, ny


def main():
    pov_file, render_file, out_file = sys.argv[1:4]
    n = scene_numbers(pov_file)
    cam = Camera(n)
    rnd = random.Random(SEED)
    rng = np.random.default_rng(SEED)

    side = math.radians(n["SunSide"])
    along = np.array([math.sin(side), math.cos(side), 0.0])   # the body, towards the sun
    out = np.array([0.0, 0.0, -1.0])                          # out of the wall
    across = np.array([math.cos(side), -math.sin(side), 0.0])  # in the wall, across the line
    height = n["TongueLength"]
    incidence = math.radians(n["SunIncidence"])
    sun = (math.sin(incidence) * along + math.cos(incidence) * out
           + math.sin(math.radians(n["OffPlaneAngle"])) * across)
    tongue_tip = height * out  # the outer corner of its end throws the farthest shadow
    shadow_tip = tongue_tip - sun * (tongue_tip[2] / sun[2])  # along the sun ray onto z = 0

    photo = Image.open(render_file).convert("RGB")
    photo = photo.resize((WIDTH_PX, HEIGHT_PX), Image.Resampling.LANCZOS)
    photo = photo_finish(photo, rng)

    pen = Pen(rnd)
    size = 16.0

    # 1: the instruction, top left, clear of the arm.
    y = 24
    for line in NOTE_HOLD:
        pen.text((7 + rnd.uniform(-1, 1), y), line, size, angle_deg=rnd.uniform(-1.2, 1.2))
        y += 19

    # 2: a bracket over the tongue, from the wall to its tip, held off its upper edge by a
    # few pixels; the label above it, following its slant.
    base = cam.project(n["TongueWidth"] * along)
    tip = cam.project(n["TongueWidth"] * along + height * out)
    ux, uy = unit(tip, base)
    up = normal(tip, base, (0, -1))
    base, tip = offset(base, up, 9), offset(tip, up, 9)
    bracket(pen, base, tip, (-up[0], -up[1]))
    slope = math.degrees(math.atan2(-(base[1] - tip[1]), base[0] - tip[0]))
    w = pen.width(NOTE_HEIGHT, size)
    mid = ((base[0] + tip[0]) / 2, (base[1] + tip[1]) / 2)
    start = offset((mid[0] - ux * w / 2, mid[1] - uy * w / 2), up, 7)
    pen.text(start, NOTE_HEIGHT, size, angle_deg=slope)

    # 3: a line beside the shadow, from the corner down to the shadow's end, held off to
    # its left, with the label to the left of the line.
    top = cam.project(n["TongueWidth"] / 2 * along)
    end = cam.project(shadow_tip)
    left = normal(top, end, (-1, 0))
    top, end = offset(top, left, 9), offset(end, left, 9)
    bracket(pen, top, end, (-left[0], -left[1]))
    y = (top[1] + end[1]) / 2 + 10
    t = (y - top[1]) / (end[1] - top[1])
    x_line = top[0] + (end[0] - top[0]) * t
    for line in NOTE_LENGTH:
        w = pen.width(line, size)
        pen.text((x_line - 12 - w + rnd.uniform(-1, 1), y), line, size,
                 angle_deg=rnd.uniform(-1.5, 1.5))
        y += 19

    # Ink soaks into the paint: multiply it over the photograph.
    ink = pen.ink()
    a = np.asarray(photo, dtype=np.float64)
    k = np.asarray(ink, dtype=np.float64)[..., None] / 255.0 * 0.92
    a = a * (1 - k) + a * k * (np.array(INK_RGB) / 255.0)
    out_img = Image.fromarray(np.clip(a + 0.5, 0, 255).astype(np.uint8), "RGB")
    out_img.save(out_file, "JPEG", quality=90, progressive=False, optimize=True,
                 subsampling="4:2:0")


if __name__ == "__main__":
    main()
