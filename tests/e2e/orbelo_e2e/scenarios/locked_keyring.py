"""A keyring that waits for its password: the loading screen says so and lets the student go on.

The student's sign-in is in the keyring; with the keyring locked, the app's first read waits on the
unlock prompt. After a few seconds the loading screen names the wait and offers to go on without
the stored sign-in, which leads to the sign-in screen; signing in then works for this run.
"""

import subprocess

from .. import flows

PASSWORD = "mitochondria 4 ever"
WAIT_MESSAGE = "Unlock your keyring to continue — Orbelo keeps your sign-in there."
GO_ON = "Continue without remembering sign-in"


def run(run):
    ui = run.ui
    email = run.new_email()
    flows.sign_up(ui, email, PASSWORD, shots=False)
    flows.land_after_sign_up(run, flows.finish_onboarding, timeout=30)
    run.quit_app()

    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.secrets",
                    "/org/freedesktop/secrets", "org.freedesktop.Secret.Service.Lock",
                    "array:objpath:/org/freedesktop/secrets/collection/login"],
                   env=run.env.env, check=True, capture_output=True, timeout=10)
    ui = flows.relaunch(run)
    ui.wait_for(None, WAIT_MESSAGE, timeout=30)
    ui.screenshot("keyring-wait")
    ui.press("push button", GO_ON)
    ui.wait_for("heading", "Welcome back")
    # The student closes the keyring's own unlock prompt, which holds the keyboard while it is up;
    # the read the app left waiting ends then.
    subprocess.run(["pkill", "-f", "gcr-prompter"], env=run.env.env, timeout=10)
    ui.screenshot("signed-out-without-keyring")
    flows.sign_in(ui, email, PASSWORD, shots=False)
    flows.wait_for_shell(ui)
    run.quit_app()
