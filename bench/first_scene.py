#!/usr/bin/env python3
"""Time from a program's start to the first picture of its window that shows a
landscape, measured from outside: the window is dumped with xwd every 20 ms
(no window manager needed) and a picture counts as the scene when the spread
of its pixel values is above 0.05 and its mean green above 0.4 (a black or
single-coloured start screen is neither). Also the peak resident memory
(VmHWM) after the process has run HOLD seconds past that picture.

    first_scene.py [--timeout S] [--hold S] -- PROGRAM ARGS...

Prints one JSON object: {"first_scene_ms": N or null, "peak_rss_MB": M}.
Uses only the standard library, xdotool and xwd.
"""

import argparse
import json
import os
import signal
import struct
import subprocess
import sys
import time

SPREAD_MIN = 0.05
GREEN_MIN = 0.4
POLL_S = 0.020
SAMPLES = 4000  # pixels looked at per picture: enough for a mean and a spread


def windows_of(pid):
    """The program's windows, largest first ([] while none is mapped)."""
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                       capture_output=True, text=True)
    ids = [w for w in r.stdout.split() if w.strip()]
    sized = []
    for w in ids:
        g = subprocess.run(["xdotool", "getwindowgeometry", w], capture_output=True, text=True)
        for line in g.stdout.splitlines():
            if "Geometry:" in line:
                x, _, y = line.split()[-1].partition("x")
                sized.append((int(x) * int(y), w))
    return [w for _, w in sorted(sized, reverse=True)]


def picture_figures(data):
    """(spread, mean green) of an xwd dump of a true-colour window, both 0..1,
    over a sample of about SAMPLES pixels; None when the dump is not readable."""
    if len(data) < 100:
        return None
    for order in (">", "<"):
        h = struct.unpack(order + "25I", data[:100])
        if h[1] == 7:
            break
    else:
        return None
    header_size, width, height = h[0], h[4], h[5]
    byte_order, bpp, bytes_per_line = h[7], h[11], h[12]
    masks, ncolors = h[14:17], h[19]
    if bpp not in (24, 32) or width == 0 or height == 0:
        return None
    start = header_size + 12 * ncolors
    px = bpp // 8
    fmt = ("<" if byte_order == 0 else ">") + ("I" if px == 4 else "")
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    step = max(1, int((width * height / SAMPLES) ** 0.5))
    words = None
    if px == 4 and bytes_per_line % 4 == 0 and (byte_order == 0) == (sys.byteorder == "little"):
        words = memoryview(data)[start:start + height * bytes_per_line].cast("I")
    n = total = total2 = green = 0
    for y in range(0, height, step):
        row = start + y * bytes_per_line
        for x in range(0, width, step):
            o = row + x * px
            if words is not None:
                v = words[(y * bytes_per_line + x * px) // 4]
            elif px == 4:
                (v,) = struct.unpack_from(fmt, data, o)
            else:
                b = data[o:o + 3]
                v = int.from_bytes(b, "little" if byte_order == 0 else "big")
            rgb = [((v & m) >> s) / 255.0 for m, s in zip(masks, shifts)]
            total += sum(rgb)
            total2 += sum(c * c for c in rgb)
            green += rgb[1]
            n += 1
    if n == 0:
        return None
    mean = total / (3 * n)
    spread = max(0.0, total2 / (3 * n) - mean * mean) ** 0.5
    return spread, green / n


def peak_rss_mb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--timeout", type=float, default=30.0)
    ap.add_argument("--hold", type=float, default=5.0)
    ap.add_argument("command", nargs=argparse.REMAINDER)
    a = ap.parse_args()
    cmd = a.command[1:] if a.command and a.command[0] == "--" else a.command
    if not cmd:
        ap.error("no program given")

    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    first = None
    window = None
    tick = t0
    while first is None and proc.poll() is None and time.monotonic() - t0 < a.timeout:
        if window is None:
            window = next(iter(windows_of(proc.pid)), None)
        if window is not None:
            taken = time.monotonic()
            shot = subprocess.run(["xwd", "-silent", "-id", window], capture_output=True)
            fig = picture_figures(shot.stdout) if shot.returncode == 0 else None
            if shot.returncode != 0:
                window = None  # gone or replaced: look again
            elif fig and fig[0] > SPREAD_MIN and fig[1] > GREEN_MIN:
                first = taken - t0
        tick += POLL_S
        time.sleep(max(0.0, tick - time.monotonic()))
    if first is not None:
        time.sleep(a.hold)
    rss = peak_rss_mb(proc.pid)
    try:
        os.killpg(proc.pid, signal.SIGTERM)
        proc.wait(timeout=5)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()
    json.dump({"first_scene_ms": None if first is None else round(first * 1000),
               "peak_rss_MB": None if rss is None else round(rss, 1)}, sys.stdout)
    print()
    return 0 if first is not None else 1


if __name__ == "__main__":
    sys.exit(main())
