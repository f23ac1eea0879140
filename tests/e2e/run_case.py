#!/usr/bin/env python3
"""End-to-end cases of the real quillon under Xvfb: run_case.py CASE --program QUILLON --output DIR.

Coordinates come from the program's fixed-pixel layout: in the main window's client area (below
the menu bar) the gallery sits at (8, 120), the video window at (249, 34) and the recording
counter at (737, 516); the photo-measure window's tool strip is 30 pixels high with its buttons
at y = 5, and a 1280 x 1024 picture is fitted to a 640 x 512 canvas right below the strip.
"""

import argparse
import csv
import os
import re
import struct
import subprocess
import sys
import time

from quillonx import (Picture, StepFailed, bmp_header, rms_difference, run, run_case, wait_for)

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT_EVERY_TOOL = os.path.join(HERE, "..", "tools", "cases", "csv-every-kind.script")
MEASURE_PROGRAM = None

STRIP_HEIGHT = 30
CANVAS = (640, 512)                # a 1280 x 1024 picture in the restored photo-measure window
LARGE_PICTURE_WINDOW = (647, 575)  # that window's client size
FIRST_GALLERY_CELL = (8 + 55, 120 + 42)
RATE_BOX = (620, 16)
MEASURE_BUTTON = (152, 17)
SAVE_BUTTON = (78, 17)
UNDO_BUTTON = (272, 17)
VIDEO_WINDOW = (249, 34, 610, 480)
COUNTER = (737, 516, 133, 30)      # the green seconds of a recording
CAPTURE_CONFIG_SIZE_AT = 52        # width, then height, little-endian 32-bit
AVI_HEADER_ROOM = 64 * 1024        # more than the headers of an AVI without frames


def avi_closed(path):
    """Whether the AVI at PATH has its index and a RIFF size that covers the whole file."""
    with open(path, "rb") as clip:
        data = clip.read()
    return len(data) > 8 and data[:4] == b"RIFF" and b"idx1" in data \
        and struct.unpack_from("<I", data, 4)[0] == len(data) - 8


def check(condition, message):
    if not condition:
        raise StepFailed(message)


def stamp_of(name, pattern):
    match = re.fullmatch(pattern, name)
    check(match, f"{name} is not named like {pattern}")
    return time.mktime(time.strptime(match.group(1), "%Y-%m-%d_%H%M%S"))


def take_still(session, main, number=1):
    main.keys("F2")
    return session.wait_for_file(session.picture_folder, rf"Still_.*_N{number:04d}\.bmp")


def still(session):
    """F2 writes a 24-bit BMP of the capture size, named by its time and running number."""
    started = int(time.time())
    program = session.start("--simulate-microscope")
    main = session.main_window()
    path = take_still(session, main)
    stamp = stamp_of(os.path.basename(path), r"Still_(\d{4}-\d\d-\d\d_\d{6})_N0001\.bmp")
    check(started - 1 <= stamp <= time.time() + 1, f"{path} is not named for the time it was taken")
    check(bmp_header(path) == (1280, 1024, 24), f"{path} is {bmp_header(path)}, not 1280 x 1024 x 24")
    picture = Picture(path)
    check(len(set(picture.pixels[::3001])) > 8, f"{path} holds a blank picture")
    # Closed as from the title bar, the program takes the camera down and ends cleanly.
    main.close()
    session.wait_exit(program)


def record(session, main, number):
    """F3, a few seconds of frames, then the clip's path."""
    main.keys("F3")
    path = session.wait_for_file(session.video_folder, rf"Video_.*_N{number:04d}\.avi", settle=False)
    # A loaded machine takes seconds to restart the stream at the clip's frame rate.
    wait_for("frames in the clip", lambda: os.path.getsize(path) > AVI_HEADER_ROOM, 60)
    time.sleep(2)
    return path


def check_clip(path):
    """Fails unless the clip is closed and decodes to its end with frames of 1280 x 1024."""
    check(avi_closed(path), f"{path} was left open (no index, or a RIFF size short of the file)")
    decoded = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "null", "-"],
                             capture_output=True, text=True, timeout=120)
    check(decoded.returncode == 0 and not decoded.stderr.strip(),
          f"{path} does not decode to its end: {decoded.stderr.strip()}")
    fields = dict(line.split("=", 1) for line in run(
        ["ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
         "stream=width,height,nb_read_frames", "-of", "default=noprint_wrappers=1", path],
        timeout=120).split())
    check((fields.get("width"), fields.get("height")) == ("1280", "1024"),
          f"{path} has frames of {fields.get('width')} x {fields.get('height')}")
    frames = fields.get("nb_read_frames", "")
    print(f"{os.path.basename(path)}: {frames} frames")
    check(frames.isdigit() and int(frames) > 0, f"{path} has no frames")


def clip(session):
    """F3 starts a clip and F4 ends it: the AVI is named for its start and plays to its end. A
    clip still recording when the window is closed is closed as well, and the program ends
    cleanly."""
    started = int(time.time())
    program = session.start("--simulate-microscope")
    main = session.main_window()
    path = record(session, main, 1)
    main.keys("F4")
    wait_for("the clip to be closed", lambda: avi_closed(path), 60)
    stamp = stamp_of(os.path.basename(path), r"Video_(\d{4}-\d\d-\d\d_\d{6})_N0001\.avi")
    check(started - 1 <= stamp <= time.time() + 1, f"{path} is not named for the time it was started")
    check_clip(path)

    path = record(session, main, 2)
    main.close()
    session.wait_exit(program)
    check_clip(path)


def client_area(session, main, area, label):
    """AREA (x, y, width, height) of the main window's client area, from a screenshot."""
    x, y = main.client_origin()
    return Picture(session.screenshot(label), crop=(x + area[0], y + area[1], *area[2:]))


def brightness(picture):
    return sum(picture.pixels) / len(picture.pixels)


def green_shows(picture):
    return any(picture.pixels[i + 1] > 200 and picture.pixels[i] < 60 and picture.pixels[i + 2] < 60
               for i in range(0, len(picture.pixels), 3))


def unplug(session):
    """The simulated microscope's snapshot button takes a still; unplugged during a recording,
    the clip is closed and plays, the live picture gives way to the connect message and the
    seconds counter goes; plugged in again, the preview comes back and F2 works."""
    folder = os.path.join(session.root, "microscope")
    os.makedirs(folder)
    present = os.path.join(folder, "present")
    open(present, "w").close()
    program = session.start(f"--simulate-microscope={folder}")
    main = session.main_window()
    open(os.path.join(folder, "snapshot"), "w").close()
    path = session.wait_for_file(session.picture_folder, r"Still_.*_N0001\.bmp")
    check(bmp_header(path) == (1280, 1024, 24), f"the snapshot is {bmp_header(path)}")
    live = brightness(client_area(session, main, VIDEO_WINDOW, "live"))

    clip = record(session, main, 1)
    check(green_shows(client_area(session, main, COUNTER, "recording")), "no seconds counter while recording")
    os.remove(present)
    wait_for("the clip to be closed", lambda: avi_closed(clip), 60)
    check_clip(clip)
    time.sleep(1)
    check(brightness(client_area(session, main, VIDEO_WINDOW, "unplugged")) < live / 3,
          "the live picture stays after unplugging")
    check(not green_shows(client_area(session, main, COUNTER, "counter-gone")),
          "the seconds counter stays after the clip was closed")

    open(present, "w").close()
    wait_for("the live picture again",
             lambda: brightness(client_area(session, main, VIDEO_WINDOW, "plugged-in")) > live * 2 / 3, 60)
    path = take_still(session, main, 2)
    check(bmp_header(path) == (1280, 1024, 24), f"the still after plugging in is {bmp_header(path)}")
    main.close()
    session.wait_exit(program)


def capture_config_size(session, expected):
    """Waits for CapConfig.dat (88 bytes) to hold EXPECTED as width and height."""
    def written():
        path = session.capture_config
        if not os.path.isfile(path) or os.path.getsize(path) != 88:
            return None
        with open(path, "rb") as config:
            return struct.unpack_from("<ii", config.read(), CAPTURE_CONFIG_SIZE_AT) == expected
    wait_for(f"CapConfig.dat of 88 bytes with {expected[0]} x {expected[1]}", written, 30)


def resolution(session):
    """F11 keeps 640 x 480 in CapConfig.dat across a restart; the Video Setting dialog sets
    1280 x 1024 back, and each still is of the size in force."""
    program = session.start("--simulate-microscope")
    main = session.main_window()
    main.keys("F11")
    capture_config_size(session, (640, 480))
    main.close()
    session.wait_exit(program)

    session.start("--simulate-microscope")
    main = session.main_window()
    path = take_still(session, main)
    check(bmp_header(path) == (640, 480, 24), f"the still after a restart is {bmp_header(path)}")

    # Setting > Video Settings: the menu after File opens with its first item lit; Video
    # Settings is two further down, past a separator.
    shown = session.visible_windows()
    main.open_menu()
    session.wait_popup(shown)
    session.x(["key", "Right", "Down", "Down", "Return"])
    dialog = session.window("Video Setting")
    # The device list has the focus; the resolution list is next and shows 640*480.
    dialog.keys("Tab", "Down", "Return")
    capture_config_size(session, (1280, 1024))
    path = take_still(session, main, 2)
    check(bmp_header(path) == (1280, 1024, 24), f"the still after the Video Setting dialog is {bmp_header(path)}")


def canvas_of(session, window, label):
    """The window's fitted canvas, from a screenshot."""
    x, y, _, _ = window.geometry()
    return Picture(session.screenshot(label), crop=(x, y + STRIP_HEIGHT, *CANVAS))


def shows_picture(session, window, path, label):
    """Fails unless WINDOW's canvas shows PATH fitted (the caption at its foot aside)."""
    canvas = canvas_of(session, window, label)
    expected = Picture(path, resize=CANVAS)
    difference = rms_difference(canvas, expected)
    print(f"{label}: the canvas differs from {os.path.basename(path)} by {difference:.1f} (RMS)")
    check(difference < 20, f"the canvas does not show {os.path.basename(path)} (difference {difference:.1f})")
    return canvas


def gallery_open(session):
    """A double click on the gallery's picture opens it in the photo-measure window."""
    session.start("--simulate-microscope")
    main = session.main_window()
    path = take_still(session, main)
    time.sleep(1)
    main.click_client(*FIRST_GALLERY_CELL, count=2)
    window = session.window("Photo Measure")
    size = window.geometry()[2:]
    check(size == LARGE_PICTURE_WINDOW, f"the photo-measure window is {size}, not sized for 1280 x 1024")
    shows_picture(session, window, path, "photo-measure")


def line_points(start, end, steps=24):
    """Points along the line from START to END, its ends left out (labels and marks sit there)."""
    for i in range(2, steps - 1):
        t = i / steps
        yield round(start[0] + (end[0] - start[0]) * t), round(start[1] + (end[1] - start[1]) * t)


def red_along(picture, start, end, reach):
    """The share of points along the line with a red pixel within REACH of them."""
    points = list(line_points(start, end))
    red = sum(1 for x, y in points if max(
        picture.redness(x + dx, y + dy) for dx in range(-reach, reach + 1)
        for dy in range(-reach, reach + 1)) > 60)
    return red / len(points)


def measure_jpeg(session):
    """A measured line saved as JPEG opens again and its pixels show the line."""
    source = os.path.join(session.home, "sample.bmp")
    run(["convert", "-size", "1280x1024", "gradient:gray80-gray45", "-type", "TrueColor",
         f"BMP3:{source}"])
    saved = os.path.join(session.home, "measured.jpg")
    program = session.start(source)
    window = session.window("Photo Measure")
    shows_picture(session, window, source, "opened")

    window.click(*RATE_BOX)
    window.keys("ctrl+a")
    window.type("100")
    shown = session.visible_windows()
    window.click(*MEASURE_BUTTON)
    session.wait_popup(shown)
    # The tool menu holds the keyboard; its first item is the straight line.
    session.x(["key", "Down", "Return"])
    start, end = (100, 100), (500, 400)
    window.click(start[0], STRIP_HEIGHT + start[1])
    window.move(300, STRIP_HEIGHT + 250)
    window.click(end[0], STRIP_HEIGHT + end[1])

    window.click(*SAVE_BUTTON)
    chooser = session.window("Save As")
    chooser.keys("ctrl+a")
    chooser.type(saved)
    chooser.keys("Return")
    saved_box = session.window("Quillon")
    saved_box.keys("Return")
    saved_box.wait_gone()
    # Closing asks first; Yes ends the program.
    window.close()
    session.window("Quillon").keys("y")
    session.wait_exit(program)

    check(os.path.isfile(saved), f"{saved} was not written")
    written = Picture(saved)
    check((written.width, written.height) == (1280, 1024), f"{saved} is {written.width} x {written.height}")
    along = red_along(written, (2 * start[0], 2 * start[1]), (2 * end[0], 2 * end[1]), 2)
    print(f"saved: {along:.0%} of the line is red")
    check(along > 0.9, f"only {along:.0%} of the line is red in {saved}")
    red_pixels = sum(1 for i in range(0, len(written.pixels), 3 * 7)
                     if written.pixels[i] - (written.pixels[i + 1] + written.pixels[i + 2]) // 2 > 60)
    check(red_pixels < written.width * written.height // 7 // 50, f"{saved} is red far beyond its line")

    session.start(saved)
    reopened = session.window("Photo Measure")
    canvas = shows_picture(session, reopened, saved, "reopened")
    along = red_along(canvas, start, end, 2)
    print(f"reopened: {along:.0%} of the line is red")
    check(along > 0.8, f"only {along:.0%} of the line shows in the reopened window")


def german_picture(session):
    """Under a German locale a picture opens in a German window: the program found its German
    language file (installed, in ../share/quillon/lang, when no copy lies beside it)."""
    source = os.path.join(session.home, "sample.bmp")
    run(["convert", "-size", "1280x1024", "gradient:gray80-gray45", "-type", "TrueColor",
         f"BMP3:{source}"])
    session.env.pop("LC_ALL", None)
    session.env.pop("LC_MESSAGES", None)
    session.env["LANG"] = "de_DE.UTF-8"
    program = session.start(source)
    # Either title ends the wait, so a program speaking English fails at once.
    window = session.window("Bildvermessung|Photo Measure")
    title = session.x(["getwindowname", window.id])
    session.screenshot("german")
    check(title == "Bildvermessung", f'the photo-measure window is titled "{title}", not in German')
    window.close()
    session.window("Quillon").keys("y")
    session.wait_exit(program)


def export_table(session, window, path):
    """Ctrl+E in WINDOW exports its shapes to PATH; the rows of that table."""
    window.keys("ctrl+e")
    chooser = session.window("Save As")
    chooser.keys("ctrl+a")
    chooser.type(path)
    chooser.keys("Return")
    chooser.wait_gone()
    wait_for(f"{path} to be written", lambda: os.path.isfile(path), 30)
    with open(path, newline="", encoding="utf-8") as table:
        return list(csv.reader(table, strict=True))


def measure_reopen(session):
    """Shapes of every tool, measured and saved by quillon-measure, come back editable when the
    picture opens in the window: its export holds the same rows, and after Undo one row less."""
    source = os.path.join(session.home, "sample.bmp")
    run(["convert", "-size", "1280x1024", "gradient:gray80-gray45", "-type", "TrueColor",
         f"BMP3:{source}"])
    measured = os.path.join(session.home, "measured.csv")
    with open(SCRIPT_EVERY_TOOL) as script:
        done = subprocess.run([MEASURE_PROGRAM, "--save", os.path.join(session.home, "rendered.jpg"),
                               "--csv", measured, source], stdin=script, capture_output=True,
                              text=True, env=session.env, timeout=120)
    check(done.returncode == 0, f"quillon-measure failed: {done.stdout}{done.stderr}")
    check(os.path.isfile(source + ".quillon.json"), "no measurement file beside the picture")
    with open(measured, newline="", encoding="utf-8") as table:
        expected = list(csv.reader(table, strict=True))

    program = session.start(source)
    window = session.window("Photo Measure")
    canvas = canvas_of(session, window, "reopened")
    plain = rms_difference(canvas, Picture(source, resize=CANVAS))
    print(f"reopened: the canvas differs from the plain picture by {plain:.1f} (RMS)")
    check(plain > 2, "the reopened window shows the picture without its shapes")
    reopened = export_table(session, window, os.path.join(session.home, "reopened.csv"))
    check(reopened == expected, f"the reopened shapes export {reopened}, not {expected}")
    print(f"reopened: {len(reopened) - 1} shapes export as quillon-measure measured them")

    window.click(*UNDO_BUTTON)
    undone = export_table(session, window, os.path.join(session.home, "undone.csv"))
    check(undone == expected[:-1], f"after Undo the export is {undone}")
    window.close()
    session.window("Quillon").keys("y")
    session.wait_exit(program)


CASES = {case.__name__.replace("_", "-"): case for case in
         (still, clip, resolution, gallery_open, measure_jpeg, measure_reopen, unplug, german_picture)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--program", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--measure", help="quillon-measure, for the cases that prepare shapes with it")
    arguments = parser.parse_args()
    global MEASURE_PROGRAM
    MEASURE_PROGRAM = arguments.measure
    return run_case(CASES[arguments.case], os.path.abspath(arguments.program), arguments.output)


if __name__ == "__main__":
    sys.exit(main())
