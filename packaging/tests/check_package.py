#!/usr/bin/python3
"""Builds the Debian package from a built tree, unpacks it into an empty root and checks it.

    packaging/tests/check_package.py --build build-asan --out build-asan/package-test

The checks: the files a desktop needs are where it looks for them (binaries, desktop entry with
the URL scheme, D-Bus service and autostart entry naming the installed agent, hicolor icons of
their stated size, AppStream metainfo with its screenshots), the validators pass, every library
and QML module the installed binaries use comes from a package the control file depends on, and
the installed server and app, run from the unpacked root, reach the sign-in screen (the e2e
harness's `installed_package` scenario), also in a session where no keyring daemon runs and no
notification server is on the bus (`installed_without_services`).
"""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from package_rules import (  # noqa: E402
    APP_ID, ICON_SIZES, PackageError, check_desktop_entry, check_service_file, dependency_names,
    png_size, qml_imports, screenshot_images)

# The app's own QML modules, compiled into the binary.
OWN_QML_MODULES = {"DesignKit", "OrbeloModels", "OrbeloMedia", "OrbeloViews"}


def run(argv, **kwargs):
    return subprocess.run(argv, check=True, capture_output=True, text=True, **kwargs).stdout


def build_package(build_dir, out_dir):
    run(["cpack", "-G", "DEB", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-B", out_dir])
    found = glob.glob(os.path.join(out_dir, "orbelo_*.deb"))
    if len(found) != 1:
        raise PackageError("expected one orbelo_*.deb in %s, found %s" % (out_dir, found))
    return found[0]


def check_layout(root):
    expected = ["usr/bin/orbelo", "usr/bin/orbelo-notifier", "usr/bin/orbelo-local-server",
                "usr/share/applications/%s.desktop" % APP_ID,
                "usr/share/dbus-1/services/%s.Notifier.service" % APP_ID,
                "etc/xdg/autostart/orbelo-notifier.desktop",
                "usr/share/icons/hicolor/scalable/apps/%s.svg" % APP_ID,
                "usr/share/metainfo/%s.metainfo.xml" % APP_ID]
    missing = [path for path in expected if not os.path.isfile(os.path.join(root, path))]
    if missing:
        raise PackageError("missing from the package: " + ", ".join(missing))
    for binary in expected[:3]:
        if not os.access(os.path.join(root, binary), os.X_OK):
            raise PackageError(binary + " is not executable")
    for size in ICON_SIZES:
        icon = os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, APP_ID))
        with open(icon, "rb") as f:
            if png_size(f.read(32)) != (size, size):
                raise PackageError("%s is not %d×%d" % (icon, size, size))

    with open(os.path.join(root, expected[3])) as f:
        check_desktop_entry(f.read())
    for path in expected[4:6]:
        with open(os.path.join(root, path)) as f:
            check_service_file(f.read(), "/usr/bin/orbelo-notifier")


def check_validators(root):
    for entry in ("usr/share/applications/%s.desktop" % APP_ID, "etc/xdg/autostart/orbelo-notifier.desktop"):
        result = subprocess.run(["desktop-file-validate", os.path.join(root, entry)], capture_output=True, text=True)
        if result.returncode != 0 or result.stdout.strip():
            raise PackageError("desktop-file-validate %s:\n%s%s" % (entry, result.stdout, result.stderr))
    metainfo = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % APP_ID)
    result = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo], capture_output=True, text=True)
    if result.returncode != 0:
        raise PackageError("appstreamcli validate:\n" + result.stdout + result.stderr)
    # The screenshots it lists are the ones published from packaging/screenshots, of their size.
    screenshots = os.path.join(SOURCE_ROOT, "packaging", "screenshots")
    images = screenshot_images(ElementTree.parse(metainfo).getroot())
    if not images:
        raise PackageError("the metainfo lists no screenshots")
    for name, size in images:
        path = os.path.join(screenshots, name)
        if not os.path.isfile(path):
            raise PackageError("screenshot %s is not in packaging/screenshots" % name)
        with open(path, "rb") as f:
            if size is not None and png_size(f.read(32)) != size:
                raise PackageError("screenshot %s is not %d×%d" % ((name,) + size))


def owners(paths):
    """{path: the installed Debian package that holds it}, for the paths some package holds; each
    path is looked up as given and with its links resolved (/lib is a link to /usr/lib)."""
    candidates = {}
    for path in paths:
        for form in (path, os.path.realpath(path)):
            candidates[form] = path
    result = subprocess.run(["dpkg-query", "-S"] + sorted(candidates), capture_output=True, text=True)
    found = {}
    for line in result.stdout.splitlines():
        package, _, held = line.partition(": ")
        if held in candidates:
            found[candidates[held]] = package.split(":")[0]
    return found


def check_dependencies(root, deb):
    depends = dependency_names(run(["dpkg-deb", "-f", deb, "Depends"]))
    # One look-up in the local package index for all of them.
    shown = subprocess.run(["apt-cache", "show", "--no-all-versions"] + depends, capture_output=True, text=True)
    unknown = sorted(set(depends) - set(re.findall(r"^Package: (\S+)$", shown.stdout, re.MULTILINE)))
    # A virtual package (qt6-websockets-abi) is real when some package provides it.
    unknown = [name for name in unknown if not _provided(name)]
    if unknown:
        raise PackageError("dependencies that are no Debian package: " + ", ".join(unknown))

    # Each library that an installed binary or one of the package's private libraries links is the
    # package's own or from a package it depends on.
    linked = {}  # system path -> (binary, library)
    binaries = [os.path.join(root, "usr/bin", name) for name in ("orbelo", "orbelo-notifier", "orbelo-local-server")]
    for path in binaries + sorted(glob.glob(os.path.join(root, "usr/lib/**/*.so*"), recursive=True)):
        binary = os.path.relpath(path, root)
        needed = set(re.findall(r"\(NEEDED\)\s+Shared library: \[(.+)\]", run(["readelf", "-d", path])))
        for line in run(["ldd", path]).splitlines():
            match = re.match(r"\s*(\S+) => (.*) \(0x", line)
            if not match:
                continue
            name, library = match.groups()
            if library == "not found":
                raise PackageError("%s: %s is not found" % (binary, name))
            if name in needed and not library.startswith(root + os.sep):
                linked[library] = (binary, name)
    owner = owners(linked)
    for library, (binary, name) in sorted(linked.items()):
        if library not in owner:
            raise PackageError("%s: %s (%s) belongs to no package" % (binary, name, library))
        if owner[library] not in depends:
            raise PackageError("%s links %s from %s, which the package does not depend on"
                               % (binary, name, owner[library]))

    # Each QML module the screens import, other than the app's own, comes from a dependency.
    qml_dir = run(["qtpaths6", "--query", "QT_INSTALL_QML"]).strip()
    modules = {module: os.path.join(qml_dir, *module.split("."), "qmldir")
               for module in qml_imports(SOURCE_ROOT) - OWN_QML_MODULES}
    owner = owners(modules.values())
    for module, qmldir in sorted(modules.items()):
        if qmldir not in owner:
            raise PackageError("QML module %s is not installed here (%s)" % (module, qmldir))
        if owner[qmldir] not in depends:
            raise PackageError("QML module %s comes from %s, which the package does not depend on"
                               % (module, owner[qmldir]))


def _provided(name):
    showpkg = run(["apt-cache", "showpkg", name])
    providers = showpkg.partition("Reverse Provides:")[2].strip()
    return bool(providers)


def run_installed(root, out_dir):
    e2e = os.path.join(SOURCE_ROOT, "tests", "e2e", "run_e2e.py")
    bin_dir = os.path.join(root, "usr", "bin")
    # In a full desktop session, then in one without a keyring and a notification server.
    for scenario in ("installed_package", "installed_without_services"):
        result = subprocess.run(["/usr/bin/python3", e2e, "--app", os.path.join(bin_dir, "orbelo"),
                                 "--server", os.path.join(bin_dir, "orbelo-local-server"),
                                 "--notifier", os.path.join(bin_dir, "orbelo-notifier"),
                                 "--out", out_dir, scenario])
        if result.returncode != 0:
            raise PackageError("the installed app failed the %s scenario" % scenario)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="a configured and built tree")
    parser.add_argument("--out", required=True, help="where the package, the root and the run's logs go")
    args = parser.parse_args()
    out_dir = os.path.abspath(args.out)
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)
    root = tempfile.mkdtemp(prefix="orbelo-root-")
    try:
        deb = build_package(os.path.abspath(args.build), out_dir)
        run(["dpkg-deb", "-x", deb, root])
        check_layout(root)
        check_validators(root)
        check_dependencies(root, deb)
        run_installed(root, out_dir)
    except (PackageError, subprocess.CalledProcessError) as error:
        detail = getattr(error, "stderr", None) or ""
        print("FAIL: %s\n%s" % (error, detail), file=sys.stderr)
        return 1
    finally:
        shutil.rmtree(root, ignore_errors=True)
    print("package checked: " + os.path.basename(deb))
    return 0


if __name__ == "__main__":
    sys.exit(main())
