"""The app as the Debian package installs it reaches the sign-in screen.

Run by packaging/tests/check_package.py with the binaries of the unpacked package: the server
answers from its installed path and the app finds every QML module and plugin it needs in the
system's Qt, not in the build tree.
"""

import re

# What Qt prints when a module or plugin the app needs is not installed.
_MISSING = re.compile(r'module "[^"]+" is not installed|Could not find the Qt platform plugin|'
                      r'Cannot load library .*Qt|plugin .* not found', re.IGNORECASE)


def check_nothing_missing(run):
    missing = _MISSING.findall(run.env.log_text("app"))
    assert not missing, "the installed app misses: %s" % missing


def run(run):
    ui = run.ui
    ui.wait_for("heading", "Welcome back", timeout=60)
    ui.wait_for("push button", "Create an account")
    ui.screenshot("sign-in")
    check_nothing_missing(run)
    run.quit_app()
