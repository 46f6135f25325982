"""Draws the graduations of the carpenter's square as a transparent PNG that the scene
lays over the steel.  The picture covers the square's plane, 60 cm along the body by 40 cm
along the tongue, with the outer corner at the bottom left.

usage: method_marks.py OUTPUT.png
"""
import sys

from PIL import Image, ImageDraw, ImageFont

PX_PER_CM = 20
BODY_LENGTH_CM, BODY_WIDTH_CM = 60.0, 5.0
TONGUE_LENGTH_CM, TONGUE_WIDTH_CM = 40.0, 3.8
INCH_CM = 2.54
MARK_RGBA = (236, 232, 214, 255)
FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def main():
    w = round(BODY_LENGTH_CM * PX_PER_CM)
    h = round(TONGUE_LENGTH_CM * PX_PER_CM)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(img)
    font = ImageFont.truetype(FONT_FILE, round(0.55 * PX_PER_CM))

    def px(u_cm, v_cm):  # square coordinates (cm) to picture pixels
        return (u_cm * PX_PER_CM, h - v_cm * PX_PER_CM)

    def tick_length(i):  # i counts quarter inches
        return 0.9 if i % 4 == 0 else 0.55 if i % 2 == 0 else 0.35

    # Body: ticks hang from the inner edge (5 cm from the wall) and rise from the outer one.
    i = 1
    while i * INCH_CM / 4 < BODY_LENGTH_CM - 0.3:
        u = i * INCH_CM / 4
        if u > TONGUE_WIDTH_CM + 0.2:
            for edge, sign in ((BODY_WIDTH_CM, -1), (0.0, 1)):
                draw.line([px(u, edge), px(u, edge + sign * tick_length(i))], fill=MARK_RGBA,
                          width=2)
            if i % 4 == 0:
                x, y = px(u, BODY_WIDTH_CM / 2)
                draw.text((x, y), str(i // 4), font=font, fill=MARK_RGBA, anchor="mm")
        i += 1
    # Tongue: ticks along both long edges, numbers down the middle.
    i = 1
    while i * INCH_CM / 4 < TONGUE_LENGTH_CM - 0.3:
        v = i * INCH_CM / 4
        if v > BODY_WIDTH_CM + 0.2:
            for edge, sign in ((0.0, 1), (TONGUE_WIDTH_CM, -1)):
                draw.line([px(edge, v), px(edge + sign * tick_length(i), v)], fill=MARK_RGBA,
                          width=2)
            if i % 4 == 0:
                x, y = px(TONGUE_WIDTH_CM / 2, v)
                draw.text((x, y), str(i // 4), font=font, fill=MARK_RGBA, anchor="mm")
        i += 1
    img.save(sys.argv[1])


if __name__ == "__main__":
    main()
