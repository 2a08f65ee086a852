#!/usr/bin/python3
"""Runs an end-to-end scenario: the built app against a fresh local server, driven through AT-SPI.

    tests/e2e/run_e2e.py --app build/Orbelo/App/orbelo \
        --server build/LocalServer/orbelo-local-server --out build/e2e signup_shell

Needs Debian's python3 with python3-pyatspi (its Atspi typelib), Xvfb, dbus-daemon, at-spi2-core,
gnome-keyring and imagemagick (scripts/setup installs them). Screenshots and logs go under
<out>/<scenario>/.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from orbelo_e2e.runner import run_scenario  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True, help="the orbelo executable")
    parser.add_argument("--server", required=True, help="the orbelo-local-server executable")
    parser.add_argument("--notifier", help="the orbelo-notifier executable, for the scenarios with reminders")
    parser.add_argument("--out", required=True, help="where screenshots and logs go")
    parser.add_argument("scenario", help="a module under orbelo_e2e/scenarios")
    args = parser.parse_args()
    out_dir = os.path.join(os.path.abspath(args.out), args.scenario)
    notifier = os.path.abspath(args.notifier) if args.notifier else None
    return run_scenario(args.scenario, os.path.abspath(args.app), os.path.abspath(args.server), out_dir,
                        notifier=notifier)


if __name__ == "__main__":
    sys.exit(main())
