"""Runs one scenario in a fresh environment and reports what it saw when it fails."""

import importlib
import json
import os
import ssl
import sys
import urllib.request
import traceback
import uuid

from .environment import Environment
from .leaks import project_leaks
from .progress import ServerProgress
from .ui import UI


_SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))


class Run:
    """What a scenario works with: the environment, the UI driver and a few conveniences."""

    def __init__(self, environment, ui, out_dir):
        self.env = environment
        self.ui = ui
        self.out_dir = out_dir

    @staticmethod
    def new_email():
        """A fresh address at the test domain, where the local server accepts the fixed code."""
        return "e2e-%s@example.com" % uuid.uuid4().hex[:12]

    def put_in_documents(self, name, text):
        """Writes `text` as ~/Documents/`name` in the run's home, where a file dialog opens."""
        documents = os.path.join(self.env.root, "home", "Documents")
        os.makedirs(documents, exist_ok=True)
        with open(os.path.join(documents, name), "w") as document:
            document.write(text)
        return documents

    def control(self, path, body=None):
        """A call to the local server's control API (open in demo mode): GET, or POST with `body`."""
        return self.api("POST" if body is not None else "GET", path, body=body)

    def api(self, method, path, token=None, body=None):
        """A call to the local server as a client of its API would make it; the JSON answer."""
        context = ssl.create_default_context(cafile=self.env.certificate)
        request = urllib.request.Request(self.env.server_url.rstrip("/") + path, method=method,
                                         data=None if body is None else json.dumps(body).encode())
        request.add_header("Content-Type", "application/json")
        if token:
            request.add_header("Authorization", "Bearer " + token)
        with urllib.request.urlopen(request, context=context, timeout=30) as reply:
            return json.loads(reply.read())

    def quit_app(self):
        """Quits with the app's own shortcut and checks that it ended cleanly (leak checks included)."""
        self.ui.key("ctrl+q")
        status = self.env.quit_app()
        if status != 0:
            raise AssertionError("the app exited with status %d" % status)
        leaks = project_leaks(self.env.log_text("app"), _SOURCE_ROOT)
        if leaks:
            raise AssertionError("the app leaked:\n\n" + "\n\n".join(leaks))


def run_scenario(name, app, server, out_dir, notifier=None):
    """0 when the scenario passes; otherwise 1, with the tree and the logs printed."""
    scenario = importlib.import_module("orbelo_e2e.scenarios." + name)
    screenshots = os.path.join(out_dir, "screenshots")
    server_args = getattr(scenario, "SERVER_ARGS", [])
    with Environment(app, server, log_dir=os.path.join(out_dir, "logs"), server_args=server_args,
                     notifier=notifier, without=getattr(scenario, "SESSION_WITHOUT", ())) as environment:
        process = environment.launch_app(getattr(scenario, "APP_ENV", None))
        ui = UI(process, screenshots, environment.display,
                progress=ServerProgress(environment.log_path("server")))
        try:
            environment.activate_app_window()
            scenario.run(Run(environment, ui, out_dir))
        except BaseException:
            traceback.print_exc()
            _report_failure(environment, ui, out_dir)
            return 1
    print("%s passed; screenshots in %s" % (name, screenshots))
    return 0


def _report_failure(environment, ui, out_dir):
    sections = []
    if environment.app is not None and environment.app.poll() is None:
        try:
            ui.screenshot("failure")
        except Exception as error:  # noqa: BLE001 - the report goes on without it
            sections.append(("screenshot", str(error)))
        try:
            tree = ui.dump_tree()
        except Exception as error:  # noqa: BLE001
            tree = "<no tree: %s>" % error
        sections.append(("accessibility tree", tree))
        with open(os.path.join(out_dir, "accessibility-tree.txt"), "w") as f:
            f.write(tree + "\n")
    elif environment.app is not None:
        sections.append(("app", "exited with status %s" % environment.app.returncode))
    for log in ("app", "server"):
        sections.append(("%s log (%s)" % (log, environment.log_path(log)), environment.log_text(log)[-20000:]))
    for title, text in sections:
        sys.stdout.write("\n===== %s =====\n%s\n" % (title, text))
    sys.stdout.flush()
