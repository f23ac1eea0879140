#!/usr/bin/env python3
"""quillon-measure takes the picture and --save names as the system's bytes: a Latin-1 name
from a memory stick opens, saves, keeps its shapes beside it for --load, and is named as given
when it is missing."""
import os
import struct
import subprocess
import sys
import tempfile


def bmp(width, height):
    row = b"".join(bytes((x * 7 % 256, 90, 160)) for x in range(width))
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def main(tool):
    with tempfile.TemporaryDirectory() as folder:
        base = os.fsencode(folder)
        picture = base + b"/Pr\xe9paration_\xff\xfe.bmp"
        saved = base + b"/mesur\xe9.bmp"
        with open(picture, "wb") as out:
            out.write(bmp(64, 48))
        script = b"tool 0 1\nclick 10 10\nclick 50 40\n"
        run = subprocess.run([tool, b"--save", saved, picture], input=script, capture_output=True)
        if run.returncode != 0 or not run.stdout.endswith(b"saved\n") or not os.path.isfile(saved):
            sys.exit(f"open and save failed: {run.returncode} {run.stdout!r} {run.stderr!r}")
        run = subprocess.run([tool, b"--load", picture + b".quillon.json", picture], input=b"",
                             capture_output=True)
        if run.returncode != 0:
            sys.exit(f"the shapes kept beside it do not load: {run.returncode} {run.stderr!r}")
        missing = base + b"/absent_\xe9.bmp"
        run = subprocess.run([tool, missing], input=b"", capture_output=True)
        if run.returncode != 1 or missing + b": no such file" not in run.stderr:
            sys.exit(f"missing file not named as given: {run.returncode} {run.stderr!r}")


if __name__ == "__main__":
    main(os.fsencode(sys.argv[1]))
