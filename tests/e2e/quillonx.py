"""Runs the built quillon on a private X server and drives it as a user would: keys, clicks at
the fixed-pixel layout's coordinates, windows found by their names. Each session has its own
home, config, documents and runtime folders in a temporary directory.

Every wait is bounded; a failed step saves a screenshot next to the test's output and names it.
"""

import fcntl
import os
import re
import shutil
import socket
import struct
import subprocess
import tempfile
import time

# The sanitized Debug build takes long to put up a window on a shared machine.
WINDOW_TIMEOUT = 60
FILE_TIMEOUT = 60

# The main window's client area (the background picture) lies below the menu bar.
MAIN_CLIENT_SIZE = (870, 546)
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:")


class StepFailed(Exception):
    pass


def run(command, timeout=30, check=True, env=None):
    """COMMAND's standard output; a non-zero exit (when CHECK) or a timeout is a failed step."""
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=timeout, env=env)
    except subprocess.TimeoutExpired:
        raise StepFailed(f"{command[0]} did not finish within {timeout} s")
    if check and done.returncode != 0:
        raise StepFailed(f"{' '.join(command)} exited {done.returncode}: {done.stderr.strip()}")
    return done.stdout


def wait_for(what, probe, timeout):
    """PROBE's first true answer, asked every 0.3 s until TIMEOUT seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        answer = probe()
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise StepFailed(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.3)


class XServer:
    """An Xvfb on a free display number, so parallel tests never collide."""

    def __init__(self, log_path, size="1280x1024"):
        self.process = None
        # A free number as xvfb-run finds one: no lock file and no socket. The lock here keeps
        # our own tests, started together, from picking the same number.
        with open(os.path.join(tempfile.gettempdir(), "quillon-e2e-xvfb.lock"), "w") as lock, \
                open(log_path, "w") as log:
            fcntl.flock(lock, fcntl.LOCK_EX)
            for number in range(20, 90):  # below the numbers xvfb-run and xshot take
                if not os.path.exists(f"/tmp/.X{number}-lock") and \
                        not os.path.exists(f"/tmp/.X11-unix/X{number}") and self._start(number, size, log):
                    return
        raise StepFailed(f"no Xvfb took clients; see {log_path}")

    def _start(self, number, size, log):
        """Starts the server on NUMBER; false (and nothing left running) when it takes no clients."""
        self.display = f":{number}"
        # -noreset: a server that resets when its last client leaves (the readiness probe, a
        # program that ended) refuses the next client while it does.
        self.process = subprocess.Popen(
            ["Xvfb", self.display, "-screen", "0", f"{size}x24", "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.DEVNULL, stderr=log)
        def ready():
            if self.process.poll() is not None:
                raise StepFailed(f"Xvfb {self.display} ended")  # another server took the number
            return os.path.exists(f"/tmp/.X11-unix/X{number}") and subprocess.run(
                ["xdotool", "getmouselocation"], capture_output=True, timeout=10,
                env=dict(os.environ, DISPLAY=self.display)).returncode == 0
        try:
            wait_for("the X server", ready, 10)
            return True
        except (StepFailed, subprocess.TimeoutExpired):
            self.stop()
            return False

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def request_close(display, window):
    """Sends WINDOW the close request a window manager's close button sends (WM_PROTOCOLS /
    WM_DELETE_WINDOW). xdotool of Debian 12 has no command for it, and Xvfb runs without a
    window manager, so this speaks the few X requests it needs over the server's socket."""
    with socket.socket(socket.AF_UNIX) as x:
        x.settimeout(10)
        x.connect(f"/tmp/.X11-unix/X{display.lstrip(':')}")
        x.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = read_exactly(x, 8)
        if head[0] != 1:
            raise StepFailed("the X server refused the connection")
        read_exactly(x, struct.unpack_from("<H", head, 6)[0] * 4)

        def atom(name):
            padded = name.encode() + b"\0" * (-len(name) % 4)
            x.sendall(struct.pack("<BBHHxx", 16, 0, 2 + len(padded) // 4, len(name)) + padded)
            reply = read_exactly(x, 32)
            if reply[0] != 1:
                raise StepFailed(f"the X server refused a request (code {reply[1]})")
            return struct.unpack_from("<I", reply, 8)[0]
        protocols, delete = atom("WM_PROTOCOLS"), atom("WM_DELETE_WINDOW")
        event = struct.pack("<BBHII5I", 33, 32, 0, int(window), protocols, delete, 0, 0, 0, 0)
        x.sendall(struct.pack("<BBHII", 25, 0, 11, int(window), 0) + event)
        atom("WM_PROTOCOLS")  # a round trip: an error for the event would have come first


def read_exactly(connection, count):
    data = b""
    while len(data) < count:
        chunk = connection.recv(count - len(data))
        if not chunk:
            raise StepFailed("the X server closed the connection")
        data += chunk
    return data


class Window:
    def __init__(self, session, wid):
        self.session = session
        self.id = wid

    def geometry(self):
        """(x, y, width, height) on the screen; without a window manager there is no frame."""
        values = dict(line.split("=", 1) for line in
                      self.session.x(["getwindowgeometry", "--shell", self.id]).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def keys(self, *keys):
        # No window manager: focus by hand, then type through XTEST into the focused window.
        self.session.x(["windowfocus", "--sync", self.id])
        for key in keys:
            self.session.x(["key", "--clearmodifiers", key])
            time.sleep(0.2)

    def type(self, text):
        self.session.x(["windowfocus", "--sync", self.id])
        self.session.x(["type", "--delay", "30", text])

    def click(self, x, y, count=1):
        """COUNT clicks at (X, Y) of the window's own area."""
        self.move(x, y)
        self.session.x(["click", "--repeat", str(count), "--delay", "80", "1"])
        time.sleep(0.2)

    def wait_gone(self, timeout=WINDOW_TIMEOUT):
        def gone():
            return self.id not in self.session.x(["search", "--onlyvisible", "--name", "."], check=False).split()
        wait_for(f"window {self.id} to go", gone, timeout)

    def close(self):
        request_close(self.session.xserver.display, self.id)

    def move(self, x, y):
        """Moves the pointer to (X, Y) of the window's own area."""
        left, top, _, _ = self.geometry()
        self.session.x(["mousemove", "--sync", str(left + x), str(top + y)])


class MainWindow(Window):
    def client_origin(self):
        """The screen position of the client area's top-left corner."""
        x, y, _, height = self.geometry()
        return x, y + height - MAIN_CLIENT_SIZE[1]

    def open_menu(self):
        """Clicks the first title of the menu bar, which lies above the client area."""
        _, _, _, height = self.geometry()
        self.click(20, (height - MAIN_CLIENT_SIZE[1]) // 2)

    def click_client(self, x, y, count=1):
        """Clicks at (X, Y) of the client area, which lies below the menu bar."""
        _, _, _, height = self.geometry()
        self.click(x, height - MAIN_CLIENT_SIZE[1] + y, count)


class Session:
    """One user of the program: private folders, a private X server and the programs started."""

    def __init__(self, program, output, name):
        self.program = program
        self.name = name
        self.output = os.path.join(output, name)
        shutil.rmtree(self.output, ignore_errors=True)
        os.makedirs(self.output)
        self.xserver = XServer(os.path.join(self.output, "xvfb.log"))
        self.root = tempfile.mkdtemp(prefix="quillon-e2e-")
        folders = {k: os.path.join(self.root, k) for k in
                   ("home", "config", "cache", "data", "runtime", "documents")}
        for path in folders.values():
            os.makedirs(path, mode=0o700)
        self.home, self.config, self.documents = folders["home"], folders["config"], folders["documents"]
        with open(os.path.join(self.config, "user-dirs.dirs"), "w") as dirs:
            dirs.write(f'XDG_DOCUMENTS_DIR="{self.documents}"\n')
        self.env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=self.config,
                        XDG_CACHE_HOME=folders["cache"], XDG_DATA_HOME=folders["data"],
                        XDG_RUNTIME_DIR=folders["runtime"], DISPLAY=self.xserver.display,
                        QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8", LANG="C.UTF-8")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("XAUTHORITY", None)
        self.programs = []
        self.shots = 0

    # --- paths ---------------------------------------------------------------------------

    @property
    def picture_folder(self):
        return os.path.join(self.documents, "Quillon files", "Picture")

    @property
    def video_folder(self):
        return os.path.join(self.documents, "Quillon files", "Video")

    @property
    def capture_config(self):
        return os.path.join(self.config, "Quillon", "CapConfig.dat")

    # --- programs and windows ---------------------------------------------------------------

    def x(self, arguments, check=True):
        """xdotool ARGUMENTS on this session's display."""
        return run(["xdotool"] + arguments, check=check, env=self.env).strip()

    def start(self, *arguments):
        log = open(os.path.join(self.output, f"quillon-{len(self.programs) + 1}.log"), "w")
        process = subprocess.Popen([self.program, *arguments], env=self.env, stdout=log,
                                   stderr=subprocess.STDOUT, cwd=self.home)
        self.programs.append((process, log))
        return process

    def wait_exit(self, process, timeout=WINDOW_TIMEOUT):
        """Waits for PROCESS to end by itself; fails unless it ends with status 0 and a log
        without sanitizer reports (leaks are reported at a normal exit only)."""
        try:
            status = process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise StepFailed(f"quillon did not end within {timeout} s")
        for entry in self.programs:
            if entry[0] is process:
                entry[1].close()
                self._check_log(entry[1].name)
        if status != 0:
            raise StepFailed(f"quillon ended with status {status}")

    def window(self, pattern, timeout=WINDOW_TIMEOUT):
        """The visible window whose whole name matches the regular expression PATTERN (the
        last one xdotool lists when there are several). Polled rather than `search --sync`, so
        that a program that has died fails the wait at once."""
        def probe():
            for process, log in self.programs:
                if process.poll() is not None and process.returncode not in (0, -15):
                    raise StepFailed(f"quillon ended with {process.returncode}; see {log.name}")
            found = self.x(["search", "--onlyvisible", "--name", f"^{pattern}$"], check=False).split()
            return found[-1] if found else None
        return Window(self, wait_for(f'a window named "{pattern}"', probe, timeout))

    def visible_windows(self):
        return set(self.x(["search", "--onlyvisible", "--class", "."], check=False).split())

    def wait_popup(self, before, timeout=WINDOW_TIMEOUT):
        """A window shown since BEFORE (a set of visible_windows()): a popup menu has no name."""
        return Window(self, wait_for("a new window", lambda: min(self.visible_windows() - before, default=None),
                                     timeout))

    def main_window(self):
        window = self.window("Quillon")
        return MainWindow(self, window.id)

    def screenshot(self, label):
        self.shots += 1
        path = os.path.join(self.output, f"{self.shots:02d}-{label}.png")
        run(["import", "-window", "root", path], env=self.env)
        return path

    # --- files ---------------------------------------------------------------------------

    def wait_for_file(self, folder, pattern, timeout=FILE_TIMEOUT, settle=True):
        """The one file in FOLDER whose whole name matches PATTERN, once its size has stopped
        changing (at once when not SETTLE)."""
        def probe():
            names = [n for n in os.listdir(folder) if re.fullmatch(pattern, n)] \
                if os.path.isdir(folder) else []
            if len(names) > 1:
                raise StepFailed(f"more than one file named like {pattern}: {names}")
            return names[0] if names else None
        name = wait_for(f"a file named like {pattern} in {folder}", probe, timeout)
        path = os.path.join(folder, name)
        if not settle:
            return path
        sizes = []

        def settled():
            sizes.append(os.path.getsize(path))
            return len(sizes) >= 3 and sizes[-1] == sizes[-2] == sizes[-3] and sizes[-1] > 0
        wait_for(f"{name} to be complete", settled, timeout)
        return path

    # --- ending ----------------------------------------------------------------------------

    def _end(self, process, log):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(20)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        log.close()

    def _check_log(self, path):
        with open(path, errors="replace") as text:
            content = text.read()
        for mark in SANITIZER_MARKS:
            if mark in content:
                raise StepFailed(f"sanitizer report in {path}")

    def close(self, failed):
        for process, log in self.programs:
            self._end(process, log)
        self.xserver.stop()
        if not failed:
            for _, log in self.programs:
                self._check_log(log.name)
            shutil.rmtree(self.root, ignore_errors=True)
        else:
            print(f"kept the session's folders in {self.root}")


def run_case(case, program, output):
    """Runs CASE(session); on a failed step saves a screenshot and returns 1."""
    session = Session(program, output, case.__name__)
    failed = True
    try:
        case(session)
        failed = False
    except StepFailed as failure:
        print(f"FAILED: {failure}")
        try:
            print(f"screenshot: {session.screenshot('failure')}")
        except StepFailed as shot:
            print(f"no screenshot: {shot}")
    finally:
        try:
            session.close(failed)
        except StepFailed as failure:
            print(f"FAILED: {failure}")
            failed = True
    return 1 if failed else 0


# --- pictures ---------------------------------------------------------------------------------

def bmp_header(path):
    """(width, height, bits per pixel) of an uncompressed BMP whose size matches its header."""
    with open(path, "rb") as file:
        data = file.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise StepFailed(f"{path} is no BMP file")
    file_size, offset = struct.unpack_from("<I4xI", data, 2)
    info_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if file_size != len(data) or info_size < 40 or planes != 1 or compression != 0:
        raise StepFailed(f"{path}: bad BMP header (size {file_size} of {len(data)}, "
                         f"info {info_size}, planes {planes}, compression {compression})")
    row = (width * bits // 8 + 3) & ~3
    if offset + row * abs(height) > len(data):
        raise StepFailed(f"{path}: pixel rows end past the file")
    return width, abs(height), bits


class Picture:
    """A picture's RGB pixels, read through ImageMagick."""

    def __init__(self, path, crop=None, resize=None):
        command = ["convert", path]
        if resize:
            command += ["-resize", f"{resize[0]}x{resize[1]}!"]
        if crop:
            x, y, width, height = crop
            command += ["-crop", f"{width}x{height}+{x}+{y}", "+repage"]
        data = subprocess.run(command + ["-depth", "8", "ppm:-"], capture_output=True,
                              timeout=60).stdout
        parts = data.split(maxsplit=4)
        if len(parts) < 5 or parts[0] != b"P6":
            raise StepFailed(f"ImageMagick could not read {path}")
        self.width, self.height = int(parts[1]), int(parts[2])
        self.pixels = parts[4]
        if len(self.pixels) != self.width * self.height * 3:
            raise StepFailed(f"{path}: short pixel data")

    def rgb(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.pixels[at:at + 3])

    def redness(self, x, y):
        r, g, b = self.rgb(x, y)
        return r - (g + b) // 2


def rms_difference(first, second):
    """Root mean square difference of two equal-sized pictures, 0 to 255."""
    if (first.width, first.height) != (second.width, second.height):
        raise StepFailed("pictures of different sizes compared")
    total = sum((a - b) * (a - b) for a, b in zip(first.pixels, second.pixels))
    return (total / len(first.pixels)) ** 0.5
