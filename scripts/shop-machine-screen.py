#!/usr/bin/env python3
"""Checks a screenshot of the kiosk's start screen against the screen-fit rule.

    shop-machine-screen.py SCREENSHOT PROGRAM-FOLDER

The kiosk draws its backdrop-sized window scaled by one factor, min(screen width / backdrop
width, screen height / backdrop height), centred, with black bars where the proportions differ.
The first and the last slot of the first page must show the thumbnails of the first category's
first and twelfth pictures where that factor puts them, and the bars must be black. Positions
come from the kiosk folder's own quindle.ini, in pixels of the backdrop. Prints the figures;
exit status 0 when the screen shows the fitted layout, 1 when not, 77 without a screenshot.
"""
import os
import subprocess
import sys

# Mean difference of the colour channels (0 to 255) over blocks, as the system tests allow it.
TOLERANCE = 14.0
BLOCKS = (32, 24)


def caseless(folder, name):
    for entry in os.listdir(folder):
        if entry.lower() == name.lower():
            return os.path.join(folder, entry)
    raise SystemExit(f"{folder} has no {name}")


def settings(path):
    values = {}
    with open(path, encoding="utf-8", errors="replace") as text:
        for line in text:
            key, sep, value = line.partition("=")
            if sep and not line.lstrip().startswith((";", "[")):
                values[key.strip().lower()] = [part.strip() for part in value.strip().split(",")]
    return values


def pixels(file, crop, size):
    """The crop (left, top, width, height) of an image, shrunk to size, as RGB bytes."""
    left, top, width, height = crop
    ppm = subprocess.run(
        ["convert", file, "-crop", f"{width}x{height}+{left}+{top}", "+repage",
         "-resize", f"{size[0]}x{size[1]}!", "-depth", "8", "ppm:-"],
        check=True, capture_output=True).stdout
    header = ppm.split(maxsplit=4)
    return header[4][-size[0] * size[1] * 3:]


def image_size(file):
    out = subprocess.run(["identify", "-format", "%w %h", file], check=True, capture_output=True, text=True)
    return tuple(int(n) for n in out.stdout.split()[:2])


def difference(a, b):
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    shot, program = sys.argv[1], sys.argv[2]
    if not os.path.isfile(shot):
        print(f"SKIPPED: no screenshot {shot} (the shop machine check did not take one)")
        return 77
    with open(caseless(program, "quindleFolder.ini"), encoding="utf-8") as pointer:
        kiosk = caseless(program, pointer.readline().strip())
    config = settings(caseless(kiosk, "quindle.ini"))
    backdrop = caseless(caseless(kiosk, "Interface"), config["backdrop"][0])
    columns, rows, width, height, left, top, column_gap, row_gap = (int(n) for n in config["grid"][:8])
    caption = int(config["showfilename"][1]) if config.get("showfilename", [""])[0].lower() == "bottom" else 0
    category = caseless(kiosk, config["btn1"][0])
    pictures = sorted((name for name in os.listdir(category) if name.lower().endswith(".jpg") and "_" not in name),
                      key=str.lower)

    screen_w, screen_h = image_size(shot)
    back_w, back_h = image_size(backdrop)
    factor = min(screen_w / back_w, screen_h / back_h)
    bar_x = (screen_w - back_w * factor) / 2
    bar_y = (screen_h - back_h * factor) / 2
    print(f"screen {screen_w}x{screen_h}, backdrop {back_w}x{back_h}: factor {factor:.6g}, "
          f"bars {bar_x:g} px left and right, {bar_y:g} px top and bottom")

    def slot_distance(number, scale, origin_x, origin_y):
        """How far the screen is from showing slot number's thumbnail at that scale and origin."""
        picture = os.path.join(category, pictures[number - 1])
        thumbnail = os.path.join(category, "_" + pictures[number - 1])
        if not os.path.exists(thumbnail):
            thumbnail = picture
        column, row = (number - 1) % columns, (number - 1) // columns
        slot_x = left + column * (width + column_gap)
        slot_y = top + row * (height + row_gap)
        # The picture kept in proportion, never enlarged, centred in the slot; the caption over
        # its foot and the edge pixels that blend with their surroundings are left out.
        pic_w, pic_h = image_size(thumbnail)
        fit = min(width / pic_w, height / pic_h, 1.0)
        fitted_w, fitted_h = round(pic_w * fit), round(pic_h * fit)
        fitted_x = slot_x + (width - fitted_w) // 2
        fitted_y = slot_y + (height - fitted_h) // 2
        inset = 4
        vis_x0, vis_y0 = fitted_x + inset, fitted_y + inset
        vis_x1 = fitted_x + fitted_w - inset
        vis_y1 = min(fitted_y + fitted_h, slot_y + height - caption) - inset
        on_screen = (round(origin_x + vis_x0 * scale), round(origin_y + vis_y0 * scale),
                     round((vis_x1 - vis_x0) * scale), round((vis_y1 - vis_y0) * scale))
        in_picture = (round((vis_x0 - fitted_x) / fit), round((vis_y0 - fitted_y) / fit),
                      round((vis_x1 - vis_x0) / fit), round((vis_y1 - vis_y0) / fit))
        inside = (on_screen[0] >= 0 and on_screen[1] >= 0 and on_screen[0] + on_screen[2] <= screen_w
                  and on_screen[1] + on_screen[3] <= screen_h)
        slot_on_screen = (origin_x + slot_x * scale, origin_y + slot_y * scale, width * scale, height * scale)
        if not inside:
            return slot_on_screen, 255.0
        return slot_on_screen, difference(pixels(shot, on_screen, BLOCKS), pixels(thumbnail, in_picture, BLOCKS))

    failures = 0
    # The first slot and the last one that the first page fills.
    for number in (1, min(columns * rows, len(pictures))):
        area, distance = slot_distance(number, factor, bar_x, bar_y)
        _, unscaled = slot_distance(number, 1.0, 0, 0)
        verdict = "shown" if distance < TOLERANCE else "NOT shown"
        print(f"slot {number} ({pictures[number - 1]}): expected at {area[2]:g}x{area[3]:g}+{area[0]:g}+{area[1]:g}, "
              f"difference {distance:.1f} ({verdict}; tolerance {TOLERANCE}); "
              f"drawn unscaled at the top-left it would differ by {unscaled:.1f}")
        failures += distance >= TOLERANCE

    bars = []
    if bar_x >= 2:
        inner = int(bar_x) - 1
        bars += [("left", (0, 0, inner, screen_h)), ("right", (screen_w - inner, 0, inner, screen_h))]
    if bar_y >= 2:
        inner = int(bar_y) - 1
        bars += [("top", (0, 0, screen_w, inner)), ("bottom", (0, screen_h - inner, screen_w, inner))]
    for name, area in bars:
        brightest = max(pixels(shot, area, (min(area[2], 64), min(area[3], 64))))
        black = brightest <= 8
        print(f"{name} bar {area[2]}x{area[3]}+{area[0]}+{area[1]}: brightest channel {brightest} "
              f"({'black' if black else 'NOT black'})")
        failures += not black
    if not bars:
        print("the proportions match: no bars")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
