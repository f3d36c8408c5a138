"""The Debian package from end to end.

Builds the package from this build tree with CPack, checks what it holds (the launcher
entry, the metadata, the icon in every size against the icon's pixel data, the declared
dependencies), installs it on the machine with apt, starts the installed program on a
private X server and waits for its window, then purges the package and checks that none
of its files or folders is left behind.

Installing on the machine needs root (CI runs as root on a disposable machine); without
it, or when the package is already installed here, that part is skipped (exit code 77)
after the file checks.
"""

import configparser
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ET
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import Session  # noqa: E402

PACKAGE = "alarmclock"
APP_ID = os.environ["APP_ID"]
WORK = os.environ["PACKAGE_WORK_DIR"]
ICON_SIZES = (32, 64, 128, 256)
BLUE, YELLOW = (0, 0, 255), (255, 255, 0)
SKIPPED = 77

EXPECTED_FILES = {
    "/usr/bin/alarmclock",
    f"/usr/share/applications/{APP_ID}.desktop",
    f"/usr/share/metainfo/{APP_ID}.metainfo.xml",
    f"/usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
} | {f"/usr/share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES}

started = time.monotonic()


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def step(text):
    print(f"[{time.monotonic() - started:6.1f} s] {text}", flush=True)


def run(*command, env=None):
    result = subprocess.run(command, capture_output=True, text=True, env=env)
    if result.returncode != 0:
        raise Failure(f"{' '.join(command)} exited {result.returncode}:\n"
                      f"{result.stdout}{result.stderr}")
    return result.stdout


# -- the icon's pixel data ---------------------------------------------------------
def icon_rows():
    with open(os.environ["ICON_HEADER"], encoding="utf-8") as header:
        rows = re.findall(r'^\s*"([.Y]+)",\s*$', header.read(), re.MULTILINE)
    check(len(rows) == 32 and all(len(row) == 32 for row in rows),
          "the icon header does not hold 32 rows of 32 pixels")
    return rows


def expected_colour(rows, size, x, y):
    scale = size // 32
    return YELLOW if rows[y // scale][x // scale] == "Y" else BLUE


# -- PNG ---------------------------------------------------------------------------
def read_png(path):
    """Width, height and rows of (r, g, b) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as file:
        data = file.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG file")
    offset, header, idat = 8, None, b""
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        offset += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour_type, _, _, interlace = header
    check(depth == 8 and colour_type in (2, 6) and interlace == 0,
          f"{path}: unexpected PNG format (depth {depth}, colour type {colour_type})")
    channels = 3 if colour_type == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        filter_type = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if filter_type == 1:
                line[i] = (line[i] + left) & 0xFF
            elif filter_type == 2:
                line[i] = (line[i] + up) & 0xFF
            elif filter_type == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif filter_type == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[i] = (line[i] + predictor) & 0xFF
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def check_png(path, size, rows):
    width, height, pixels = read_png(path)
    check((width, height) == (size, size),
          f"{path} is {width} x {height}, not {size} x {size}")
    for y in range(size):
        for x in range(size):
            want = expected_colour(rows, size, x, y)
            check(pixels[y][x] == want,
                  f"{path}: pixel ({x}, {y}) is {pixels[y][x]}, not {want}")


# -- SVG ---------------------------------------------------------------------------
def check_svg(path, rows):
    root = ET.parse(path).getroot()
    ns = "{http://www.w3.org/2000/svg}"
    check(root.tag == f"{ns}svg", f"{path} is not an SVG document")
    check(root.get("viewBox") == "0 0 32 32", f"{path}: viewBox is {root.get('viewBox')}")
    painted = [[None] * 32 for _ in range(32)]

    def paint(element, inherited_fill):
        fill = element.get("fill", inherited_fill)
        if element.tag == f"{ns}rect":
            x, y = int(element.get("x", "0")), int(element.get("y", "0"))
            width, height = int(element.get("width")), int(element.get("height"))
            colour = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
            for row in range(y, y + height):
                for column in range(x, x + width):
                    painted[row][column] = colour
        for child in element:
            paint(child, fill)

    paint(root, None)
    for y in range(32):
        for x in range(32):
            want = expected_colour(rows, 32, x, y)
            check(painted[y][x] == want,
                  f"{path}: square ({x}, {y}) is {painted[y][x]}, not {want}")


# -- the package -------------------------------------------------------------------
def build_package():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    run(os.environ["CPACK_COMMAND"], "-G", "DEB", "--config", os.environ["CPACK_CONFIG"],
        "-B", WORK)
    debs = [name for name in os.listdir(WORK) if name.endswith(".deb")]
    check(len(debs) == 1, f"CPack made {debs}, not one .deb")
    return os.path.join(WORK, debs[0])


def package_paths(deb):
    """Files and folders of the package, as absolute paths."""
    files, folders = set(), set()
    for line in run("dpkg-deb", "-c", deb).splitlines():
        mode, name = line.split()[0], line.split()[-1]
        path = "/" + name.lstrip("./").rstrip("/")
        if path != "/":
            (folders if mode.startswith("d") else files).add(path)
    return files, folders


def check_control(deb):
    fields = run("dpkg-deb", "-f", deb, "Package", "Section", "Depends")
    step(f"control fields:\n{fields.rstrip()}")
    check(f"Package: {PACKAGE}" in fields, "wrong package name")
    check("Section: utils" in fields, "the package is not in section utils")
    depends = {d.strip().split()[0] for d in fields.split("Depends:", 1)[1].split(",")}
    # Found by dpkg-shlibdeps from the linked libraries, and declared by hand.
    for needed in ("libc6", "libqt6widgets6", "libqt6gui6", "libqt6core6",
                   "fonts-ipafont-gothic", "qt6-qpa-plugins"):
        check(needed in depends, f"Depends lacks {needed}: {sorted(depends)}")


def check_contents(deb, files, rows):
    check(files == EXPECTED_FILES,
          f"the package holds {sorted(files)}, expected {sorted(EXPECTED_FILES)}")
    root = os.path.join(WORK, "root")
    run("dpkg-deb", "-x", deb, root)

    desktop_path = f"{root}/usr/share/applications/{APP_ID}.desktop"
    run("desktop-file-validate", desktop_path)
    entry = configparser.RawConfigParser(strict=True)
    entry.optionxform = str
    entry.read(desktop_path, encoding="utf-8")
    section = entry["Desktop Entry"]
    check(section.get("Exec") == "alarmclock", f"Exec line is {section.get('Exec')!r}")
    check(section.get("Icon") == APP_ID, f"Icon is {section.get('Icon')!r}")
    check(section.get("Name[ja]") and section.get("Comment[ja]"),
          "no Japanese Name or Comment")

    metainfo_path = f"{root}/usr/share/metainfo/{APP_ID}.metainfo.xml"
    run("appstreamcli", "validate", "--no-net", metainfo_path)
    # The tree as installed: the metadata's launcher entry must be there too.
    run("appstreamcli", "validate-tree", "--no-net", root)
    check(ET.parse(metainfo_path).getroot().findtext("id") == APP_ID,
          "the metadata's id is not the program's")

    for size in ICON_SIZES:
        check_png(f"{root}/usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png", size, rows)
    check_svg(f"{root}/usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg", rows)
    return section


def installed_status():
    result = subprocess.run(["dpkg-query", "-W", "-f=${db:Status-Status}", PACKAGE],
                            capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else "not-installed"


def apt(*args):
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    return run("apt-get", "-y", "-o", "DPkg::Lock::Timeout=300", *args, env=env)


def install_run_and_purge(deb, files, folders, entry):
    existed = {path for path in files | folders if os.path.lexists(path)}
    installed = False
    try:
        step("installing the package with apt")
        apt("install", "--no-install-recommends", deb)
        installed = True
        check(installed_status() == "installed", "apt did not install the package")
        listed = set(run("dpkg", "-L", PACKAGE).split())
        check(files <= listed, f"dpkg does not list {sorted(files - listed)}")

        step("starting the installed program on a private X server")
        with Session("/usr/bin/alarmclock") as session:
            window = session.find_window(r"\[Hozel\]", timeout=30)
            step(f"window: {session.title_of(window)!r}")
            wm_class = window.get_wm_class()
            check(wm_class and wm_class[1] == entry.get("StartupWMClass"),
                  f"window class {wm_class} does not match the launcher entry's "
                  f"StartupWMClass {entry.get('StartupWMClass')!r}")
            check(session.app.poll() is None, "the program ended on its own")
    finally:
        if installed or installed_status() != "not-installed":
            step("purging the package")
            apt("remove", "--purge", PACKAGE)

    check(installed_status() == "not-installed", "the package is still known to dpkg")
    left = sorted(path for path in files if os.path.lexists(path))
    check(not left, f"files left behind: {left}")
    left = sorted(path for path in folders - existed if os.path.lexists(path))
    check(not left, f"folders the package made are left behind: {left}")
    info = [name for name in os.listdir("/var/lib/dpkg/info")
            if name.startswith(f"{PACKAGE}.") or name.startswith(f"{PACKAGE}:")]
    check(not info, f"dpkg still keeps {info}")


def main():
    rows = icon_rows()
    step("building the package with CPack")
    deb = build_package()
    step(f"built {os.path.basename(deb)}")
    check_control(deb)
    files, folders = package_paths(deb)
    entry = check_contents(deb, files, rows)
    step("the package's files are valid")

    if os.geteuid() != 0:
        step("SKIPPED installing on the machine: that needs root")
        return SKIPPED
    if installed_status() != "not-installed":
        step(f"SKIPPED installing on the machine: {PACKAGE} is already installed here "
             f"(remove it with 'apt-get remove --purge {PACKAGE}' to run this part)")
        return SKIPPED
    install_run_and_purge(deb, files, folders, entry)
    step("installed, started and purged without a trace")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print(f"FAIL: {failure}", flush=True)
        sys.exit(1)
