"""Reduces the 32 x 32 rendering of the window icon to a palette PNG of at most 256
colours, keeping the soft edge of the disc as partial transparency.

usage: icon.py RENDERING.png OUTPUT.png
"""
import sys

from PIL import Image

MAX_COLOURS = 256


def main():
    img = Image.open(sys.argv[1]).convert("RGBA")
    if img.size != (32, 32):
        sys.exit(f"{sys.argv[1]}: expected 32 x 32, got {img.size}")
    # Fully transparent pixels all become one colour, so they share one palette entry.
    clear = Image.new("RGBA", img.size, (0, 0, 0, 0))
    img = Image.composite(img, clear, img.getchannel("A").point(lambda a: 255 if a else 0))
    pal = img.quantize(colors=MAX_COLOURS, method=Image.Quantize.FASTOCTREE,
                       dither=Image.Dither.NONE)
    pal.save(sys.argv[2], optimize=False)


if __name__ == "__main__":
    main()
