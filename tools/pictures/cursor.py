"""Turns the pixel drawing of the hand pointer into a 32 x 32, 16-colour palette PNG
(4 bits a pixel) with a transparent background, and writes the hot spot the drawing marks
as "X Y".

usage: cursor.py DRAWING.txt OUTPUT.png HOTSPOT_FILE
"""
import sys

from PIL import Image

SIZE_PX = 32
PALETTE_SIZE = 16
INKS = {  # drawing character -> RGBA
    "X": (0, 0, 0, 255),
    "@": (0, 0, 0, 255),
    "o": (255, 255, 255, 255),
    "-": (160, 160, 160, 255),
}


def main():
    drawing, out_png, out_hotspot = sys.argv[1:4]
    rows = [line.rstrip("\n") for line in open(drawing) if not line.startswith("#")]
    if len(rows) > SIZE_PX or any(len(r) > SIZE_PX for r in rows):
        sys.exit(f"{drawing}: the drawing is larger than {SIZE_PX} x {SIZE_PX}")
    img = Image.new("RGBA", (SIZE_PX, SIZE_PX), (0, 0, 0, 0))
    hotspots = []
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == " ":
                continue
            if ch not in INKS:
                sys.exit(f"{drawing}: unknown character {ch!r} at {x} {y}")
            img.putpixel((x, y), INKS[ch])
            if ch == "@":
                hotspots.append((x, y))
    if len(hotspots) != 1:
        sys.exit(f"{drawing}: mark exactly one hot spot with @")
    # Palette: transparent first, then the inks, then black up to 16 entries.
    colours = [(0, 0, 0, 0)] + sorted(set(INKS.values()))
    if len(colours) > PALETTE_SIZE:
        sys.exit(f"{drawing}: more than {PALETTE_SIZE} colours")
    unused = [(0, 0, 0, 255)] * (PALETTE_SIZE - len(colours))
    pal = Image.new("P", img.size, 0)
    pal.putpalette([c for rgba in colours + unused for c in rgba[:3]])
    index = {rgba: i for i, rgba in enumerate(colours)}
    for y in range(SIZE_PX):
        for x in range(SIZE_PX):
            pal.putpixel((x, y), index[img.getpixel((x, y))])
    pal.save(out_png, bits=PALETTE_SIZE.bit_length() - 1,
             transparency=bytes(c[3] for c in colours), optimize=False)
    with open(out_hotspot, "w") as f:
        f.write(f"{hotspots[0][0]} {hotspots[0][1]}\n")


if __name__ == "__main__":
    main()
