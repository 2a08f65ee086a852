"""What an installed Orbelo package must hold, as checks on the text of its files."""

import os
import re
import struct

APP_ID = "com.orbelo.desktop"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256, 512)
_PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class PackageError(RuntimeError):
    pass


def dependency_names(field):
    """The package names of a control file's Depends field, every alternative of each entry, without
    version constraints or architecture qualifiers."""
    names = []
    for entry in filter(None, (e.strip() for e in field.split(","))):
        for alternative in entry.split("|"):
            name = re.match(r"\s*([a-z0-9][a-z0-9+.-]+)(:\S+)?\s*(\(.*\))?\s*$", alternative)
            if not name:
                raise PackageError("malformed dependency: %r" % alternative)
            names.append(name.group(1))
    return names


def desktop_keys(text):
    """The keys of the [Desktop Entry] group of a desktop file or the [D-BUS Service] group."""
    keys = {}
    group = None
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            if group is not None:
                break  # only the first group counts: later ones are actions
            group = line
            continue
        key, _, value = line.partition("=")
        keys[key.strip()] = value.strip()
    return keys


def check_desktop_entry(text):
    """The launcher: it opens `orbelo` with a URL, and takes the app's own scheme."""
    keys = desktop_keys(text)
    exec_line = keys.get("Exec", "").split()
    if not exec_line or os.path.basename(exec_line[0]) != "orbelo" or "%u" not in exec_line[1:]:
        raise PackageError("the desktop entry must run orbelo with %%u, not %r" % keys.get("Exec"))
    schemes = [m for m in keys.get("MimeType", "").split(";") if m]
    if "x-scheme-handler/" + APP_ID not in schemes:
        raise PackageError("the desktop entry does not take %s:// links (MimeType=%s)" % (APP_ID, keys.get("MimeType")))
    if keys.get("Icon") != APP_ID:
        raise PackageError("the desktop entry's icon is %r" % keys.get("Icon"))


def check_service_file(text, binary):
    """A D-Bus service file or autostart entry that starts the installed agent by its full path."""
    keys = desktop_keys(text)
    if keys.get("Exec") != binary:
        raise PackageError("Exec=%s, expected %s" % (keys.get("Exec"), binary))


def png_size(header):
    """(width, height) from the first bytes of a PNG file."""
    if len(header) < 24 or header[:8] != _PNG_SIGNATURE or header[12:16] != b"IHDR":
        raise PackageError("not a PNG file")
    return struct.unpack(">II", header[16:24])


def qml_imports(source_root):
    """The QML modules imported by the app's QML files under `source_root` (tests excluded)."""
    modules = set()
    for directory, subdirectories, files in os.walk(source_root):
        subdirectories[:] = [d for d in subdirectories
                             if not d.startswith((".", "build")) and d not in ("tests", "bench", "fuzz")]
        for name in files:
            if name.endswith(".qml"):
                with open(os.path.join(directory, name), encoding="utf-8") as f:
                    modules.update(re.findall(r"^\s*import\s+([A-Za-z][\w.]*)", f.read(), re.MULTILINE))
    return modules


def screenshot_images(component):
    """(file name, width, height) of each screenshot an AppStream component (an ElementTree
    element) lists; the size is None where the image does not state it."""
    images = []
    for image in component.iterfind("screenshots/screenshot/image"):
        size = (image.get("width"), image.get("height"))
        images.append((os.path.basename(image.text.strip()),
                       tuple(map(int, size)) if None not in size else None))
    return images
