"""Draws the maker's banner: "Brontile LLC" in bold serif letters shaded from orange at
the top to yellow at the bottom, over a faint grey shadow, as an interlaced GIF89a with a
128-entry palette whose one transparent entry is the background.

usage: banner.py OUTPUT.gif
"""
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

WIDTH_PX, HEIGHT_PX = 524, 68
SCALE = 4  # supersampling factor for smooth letter edges
FONT_FILE = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf"
FONT_PX = 84
TEXT = "Brontile LLC"
SHADOW_OFFSET_PX = (4, 4)
SHADOW_BLUR_PX = 1.2
SHADOW_RGB = (96, 96, 96)
SHADOW_OPACITY = 0.5
OUTLINE_RGB = (150, 56, 0)
TOP_RGB = (226, 80, 0)        # deep orange at the top of the letters
MIDDLE_RGB = (250, 150, 10)
BOTTOM_RGB = (255, 226, 40)   # warm yellow at the foot of the letters
# The window's background; edge pixels are blended into it because GIF transparency is
# all or nothing.
MATTE_RGB = (239, 239, 239)
OPAQUE_FROM = 0.40  # coverage from which an edge pixel is kept rather than made transparent
PALETTE_COLOURS = 128


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gradient(width, top, bottom):
    """A vertical orange-to-yellow ramp spanning the letters from top to bottom."""
    img = Image.new("RGB", (width, bottom - top))
    draw = ImageDraw.Draw(img)
    for y in range(bottom - top):
        t = y / max(1, bottom - top - 1)
        rgb = lerp(TOP_RGB, MIDDLE_RGB, t / 0.55) if t < 0.55 else \
            lerp(MIDDLE_RGB, BOTTOM_RGB, (t - 0.55) / 0.45)
        draw.line([(0, y), (width, y)], fill=rgb)
    return img


def main():
    out = sys.argv[1]
    w, h = WIDTH_PX * SCALE, HEIGHT_PX * SCALE
    font = ImageFont.truetype(FONT_FILE, FONT_PX * SCALE)
    left, top, right, bottom = font.getbbox(TEXT, stroke_width=SCALE)
    text_w = right - left + SHADOW_OFFSET_PX[0] * SCALE
    text_h = bottom - top + SHADOW_OFFSET_PX[1] * SCALE
    origin = ((w - text_w) // 2 - left, (h - text_h) // 2 - top)

    def mask(offset=(0, 0), stroke=0):
        m = Image.new("L", (w, h), 0)
        ImageDraw.Draw(m).text((origin[0] + offset[0], origin[1] + offset[1]), TEXT,
                               font=font, fill=255, stroke_width=stroke, stroke_fill=255)
        return m

    letters = mask()
    outlined = mask(stroke=SCALE)
    shadow = mask((SHADOW_OFFSET_PX[0] * SCALE, SHADOW_OFFSET_PX[1] * SCALE), SCALE // 2)
    shadow = shadow.filter(ImageFilter.GaussianBlur(SHADOW_BLUR_PX * SCALE))
    shadow = shadow.point(lambda v: round(v * SHADOW_OPACITY))

    bbox = letters.getbbox()
    fill = Image.new("RGB", (w, h), TOP_RGB)
    fill.paste(gradient(w, bbox[1], bbox[3]), (0, bbox[1]))
    fill.paste(BOTTOM_RGB, (0, bbox[3], w, h))

    # Paint over the matte: shadow, then the dark outline, then the shaded letters.
    img = Image.new("RGB", (w, h), MATTE_RGB)
    img.paste(SHADOW_RGB, (0, 0, w, h), shadow)
    img.paste(OUTLINE_RGB, (0, 0, w, h), outlined)
    img.paste(fill, (0, 0), letters)
    coverage = ImageChops.lighter(outlined, shadow)

    img = img.resize((WIDTH_PX, HEIGHT_PX), Image.Resampling.LANCZOS)
    coverage = coverage.resize((WIDTH_PX, HEIGHT_PX), Image.Resampling.BOX)

    transparent_index = PALETTE_COLOURS - 1
    pal = img.quantize(colors=PALETTE_COLOURS - 1, method=Image.Quantize.MEDIANCUT,
                       dither=Image.Dither.NONE)
    palette = pal.getpalette()[: 3 * (PALETTE_COLOURS - 1)]
    palette += [0] * (3 * (PALETTE_COLOURS - 1) - len(palette)) + list(MATTE_RGB)
    pal.putpalette(palette)
    clear = coverage.point(lambda v: 255 if v < OPAQUE_FROM * 255 else 0)
    pal.paste(transparent_index, (0, 0, WIDTH_PX, HEIGHT_PX), clear)
    pal.save(out, format="GIF", interlace=True, transparency=transparent_index,
             optimize=False)


if __name__ == "__main__":
    main()
