#!/usr/bin/python3
"""The rules check_package.py applies to a package's files, on good and broken examples."""

import os
import struct
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from package_rules import (  # noqa: E402
    PackageError, check_desktop_entry, check_service_file, dependency_names, png_size, qml_imports,
    screenshot_images)

ENTRY = """[Desktop Entry]
Type=Application
Name=Orbelo
Exec=orbelo %u
Icon=com.orbelo.desktop
MimeType=x-scheme-handler/com.orbelo.desktop;
"""


def png_header(width, height):
    return b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" + struct.pack(">II", width, height) + b"\x08\x06"


class DependencyNames(unittest.TestCase):
    def test_alternatives_versions_and_qualifiers(self):
        self.assertEqual(dependency_names("libc6 (>= 2.34), gnome-keyring | keepassxc, python3:any, libqt6core6 (>= 6.4.2)"),
                         ["libc6", "gnome-keyring", "keepassxc", "python3", "libqt6core6"])

    def test_empty_field_and_trailing_comma(self):
        self.assertEqual(dependency_names(""), [])
        self.assertEqual(dependency_names("sox, "), ["sox"])

    def test_malformed_entry(self):
        with self.assertRaises(PackageError):
            dependency_names("sox, Not A Package")


class DesktopEntry(unittest.TestCase):
    def test_installed_entry(self):
        check_desktop_entry(ENTRY)

    def test_the_scheme_must_be_the_apps_own(self):
        with self.assertRaises(PackageError):
            check_desktop_entry(ENTRY.replace("x-scheme-handler/com.orbelo.desktop;", "x-scheme-handler/orbelo;"))
        with self.assertRaises(PackageError):
            check_desktop_entry(ENTRY.replace("MimeType=x-scheme-handler/com.orbelo.desktop;\n", ""))

    def test_the_scheme_among_other_types(self):
        check_desktop_entry(ENTRY.replace("MimeType=", "MimeType=text/plain;"))

    def test_exec_must_take_the_url(self):
        with self.assertRaises(PackageError):
            check_desktop_entry(ENTRY.replace("Exec=orbelo %u", "Exec=orbelo"))
        with self.assertRaises(PackageError):
            check_desktop_entry(ENTRY.replace("Exec=orbelo %u", "Exec=orbelo-notifier %u"))
        check_desktop_entry(ENTRY.replace("Exec=orbelo %u", "Exec=/usr/bin/orbelo %u"))

    def test_icon_names_the_app(self):
        with self.assertRaises(PackageError):
            check_desktop_entry(ENTRY.replace("Icon=com.orbelo.desktop", "Icon=orbelo"))

    def test_keys_of_a_later_group_do_not_count(self):
        text = ENTRY.replace("MimeType=x-scheme-handler/com.orbelo.desktop;\n", "")
        with self.assertRaises(PackageError):
            check_desktop_entry(text + "[Desktop Action new]\nMimeType=x-scheme-handler/com.orbelo.desktop;\n")


class ServiceFile(unittest.TestCase):
    def test_full_installed_path(self):
        check_service_file("[D-BUS Service]\nName=com.orbelo.desktop.Notifier\nExec=/usr/bin/orbelo-notifier\n",
                           "/usr/bin/orbelo-notifier")

    def test_the_build_time_prefix_is_refused(self):
        with self.assertRaises(PackageError):
            check_service_file("[D-BUS Service]\nExec=/usr/local/bin/orbelo-notifier\n", "/usr/bin/orbelo-notifier")
        with self.assertRaises(PackageError):
            check_service_file("[D-BUS Service]\nName=com.orbelo.desktop.Notifier\n", "/usr/bin/orbelo-notifier")


class PngSize(unittest.TestCase):
    def test_size_from_the_header(self):
        self.assertEqual(png_size(png_header(48, 48)), (48, 48))
        self.assertEqual(png_size(png_header(512, 256)), (512, 256))

    def test_not_a_png(self):
        with self.assertRaises(PackageError):
            png_size(b"<svg xmlns='http://www.w3.org/2000/svg'/>" + b" " * 24)
        with self.assertRaises(PackageError):
            png_size(png_header(16, 16)[:23])  # cut before the height ends


class QmlImports(unittest.TestCase):
    def test_modules_of_the_app_not_of_its_tests(self):
        with tempfile.TemporaryDirectory() as root:
            for path, text in (("App/Main.qml", "import QtQuick\nimport QtQuick.Controls.Basic\n"),
                               ("App/View.qml", "// import NotAModule\n  import QtQml.Models 2.15\nimport \"parts\"\n"),
                               ("App/tests/tst_View.qml", "import QtTest\n"),
                               ("build-asan/Copy.qml", "import BuildOnly\n")):
                os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
                with open(os.path.join(root, path), "w") as f:
                    f.write(text)
            self.assertEqual(qml_imports(root), {"QtQuick", "QtQuick.Controls.Basic", "QtQml.Models"})


class Screenshots(unittest.TestCase):
    def test_file_names_and_stated_sizes(self):
        component = ElementTree.fromstring(
            "<component><screenshots><screenshot type='default'>"
            "<image type='source' width='1200' height='800'> https://orbelo.app/s/0.1.0/a.png </image>"
            "</screenshot><screenshot><caption>b</caption><image width='640'>https://orbelo.app/s/0.1.0/b.png</image>"
            "</screenshot></screenshots></component>")
        self.assertEqual(screenshot_images(component), [("a.png", (1200, 800)), ("b.png", None)])

    def test_none_listed(self):
        self.assertEqual(screenshot_images(ElementTree.fromstring("<component/>")), [])


if __name__ == "__main__":
    unittest.main()
