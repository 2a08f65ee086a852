"""The installed app in a session where no keyring runs and no notification server is on the bus.

The session bus starts the desktop's keyring daemon on the app's first read, and the daemon asks
for a password for a new keyring. The loading screen says that the sign-in waits on the keyring
and lets the student go on without it, to the sign-in screen. Without a notification server the app
starts as it does with one.
"""

from .installed_package import check_nothing_missing
from .locked_keyring import GO_ON, WAIT_MESSAGE

SESSION_WITHOUT = ("keyring", "notifications")


def run(run):
    ui = run.ui
    ui.wait_for(None, WAIT_MESSAGE, timeout=60)
    ui.screenshot("keyring-wait")
    ui.press("push button", GO_ON)
    ui.wait_for("heading", "Welcome back")
    ui.wait_for("push button", "Create an account")
    ui.screenshot("sign-in-without-keyring")
    check_nothing_missing(run)
    # The keyring's password prompt stays up and holds the keyboard, so the app is not asked to
    # quit by its shortcut; the run's end stops it.
