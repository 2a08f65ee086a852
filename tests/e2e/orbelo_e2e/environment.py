"""A private desktop session for one run of the app.

Everything lives in a throwaway directory: a home with its own XDG directories, a virtual X
server, a D-Bus session bus with python3-dbusmock's notification server on it, the accessibility
bus, an unlocked GNOME Keyring serving the Secret Service, a PulseAudio with a null sink, and the
local server with a fresh data dir on a free port. Nothing from the caller's session (display, buses, keyring, sound) is used, so a run needs
neither a display nor a login session.
"""

import os
import re
import shlex
import shutil
import signal
import subprocess
import tempfile
import time

from .waiting import Timeout, wait_until

SCREEN = "1400x900x24"
_SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
_NOTIFICATIONS = ("org.freedesktop.Notifications", "/org/freedesktop/Notifications")
KEYRING_PASSWORD = "e2e-keyring"

# Variables of the caller's session that must not leak into the private one.
_SESSION_VARIABLES = (
    "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
    "GNOME_KEYRING_CONTROL", "SSH_AUTH_SOCK", "SESSION_MANAGER", "XDG_SESSION_TYPE",
    "XDG_CURRENT_DESKTOP", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME",
)


class EnvironmentError(RuntimeError):
    pass


class Environment:
    """Starts the session's processes in order and stops them in reverse; a context manager."""

    def __init__(self, app, server, log_dir, startup_timeout=30.0, server_args=(), notifier=None, without=()):
        self.app_path = app
        self.without = set(without)  # "keyring", "notifications": services this session lacks
        self.notifier_path = notifier
        self.server_path = server
        self.server_args = list(server_args)
        self.log_dir = log_dir
        self.startup_timeout = startup_timeout
        self.root = None
        self.env = None
        self.display = None
        self.server_url = None
        self.certificate = None
        self.app = None
        self._processes = []  # (name, Popen), in start order
        self._logs = {}

    # -- lifecycle ------------------------------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        os.makedirs(self.log_dir, exist_ok=True)
        self.root = tempfile.mkdtemp(prefix="orbelo-e2e-")
        home = os.path.join(self.root, "home")
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items() if k not in _SESSION_VARIABLES}
        env.update({
            "HOME": home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        })
        self.env = env
        # The bus watches the user's service dir for activatable services only if it is there.
        os.makedirs(os.path.join(env["XDG_DATA_HOME"], "dbus-1", "services"))
        self._start_x()
        self._start_session_bus()
        if "notifications" not in self.without:
            self._start_notification_server()
        self._start_accessibility_bus()
        if "keyring" not in self.without:
            self._start_keyring()
        self._start_sound()
        self._start_server()
        # pyatspi (libatspi) reads these when it first connects, in this process.
        for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "HOME"):
            os.environ[key] = env[key]

    def stop(self):
        for name, process in reversed(self._processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self._processes.clear()
        for log in self._logs.values():
            log.close()
        self._logs.clear()
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None

    # -- the app --------------------------------------------------------------------------------

    def launch_app(self, extra_env=None):
        """Starts the app against the local server, with the accessibility bridge on."""
        self.app = self._spawn("app", self.app_command(), self.app_env(extra_env))
        return self.app

    def app_command(self):
        return [self.app_path, "--trust-certificate", self.certificate, "--server", self.server_url]

    def app_env(self, extra_env=None):
        env = dict(self.env)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_FORCE_STDERR_LOGGING": "1",
        })
        # libxkbcommon-x11 hands strndup a buffer without a terminating NUL within its bound, which
        # strict string checks report; the check stays on for everything else.
        asan = [o for o in env.get("ASAN_OPTIONS", "").split(":") if o and not o.startswith("strict_string_checks")]
        env["ASAN_OPTIONS"] = ":".join(asan)
        # Leaks are judged from the report after the run (leaks.py), not by the exit status.
        lsan = env.get("LSAN_OPTIONS", "")
        env["LSAN_OPTIONS"] = (lsan + ":" if lsan else "") + "exitcode=0"
        env.update(extra_env or {})
        return env

    def activate_app_window(self):
        """Gives the app's window the keyboard focus, as a window manager would on a desktop;
        without one the window never becomes active and its shortcuts stay off."""
        def search():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.app.pid)],
                                   env=self.env, capture_output=True, text=True, timeout=10)
            return found.stdout.split()[0] if found.stdout.split() else None
        try:
            window = wait_until(search, self.startup_timeout, "the app's window",
                                abort=lambda: self.app.poll() is not None)
            subprocess.run(["xdotool", "windowfocus", "--sync", window], env=self.env, check=True,
                           capture_output=True, timeout=10)
        except (Timeout, subprocess.TimeoutExpired, subprocess.CalledProcessError) as error:
            raise EnvironmentError("cannot focus the app's window: %s\n%s" % (error, self.log_text("app")))

    def quit_app(self, timeout=20.0):
        """Waits for the app to end after it was asked to quit; its exit status (leak checks count)."""
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Timeout("the app did not quit within %.0f s" % timeout)

    # -- notifications ----------------------------------------------------------------------------

    def register_notifier(self, clock_offset_seconds):
        """Makes the bus start the build's orbelo-notifier on the app's first call, as
        scripts/register-notifier does, with its clock `clock_offset_seconds` ahead. A click on a
        notification starts the app through a script that points it at the local server and keeps
        its process id and exit status (adopt_opened_app())."""
        opener = os.path.join(self.root, "open-orbelo")
        exports = "".join("export %s=%s\n" % (k, shlex.quote(v)) for k, v in self.app_env().items())
        # The app is the script's child, so that its exit status can be kept for the run.
        self._write_script(opener, "%s%s \"$@\" > %s 2>&1 &\necho $! > %s\nwait $!\necho $? > %s\n" % (
            exports, " ".join(map(shlex.quote, self.app_command())), shlex.quote(self.log_path("app")),
            shlex.quote(self._opened_path("pid")), shlex.quote(self._opened_path("status"))))
        agent = os.path.join(self.root, "orbelo-notifier")
        # The bus of this run was started before its own address was known: the agent is told it.
        self._write_script(agent, "export DBUS_SESSION_BUS_ADDRESS=%s ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS=%d\n"
                           "exec %s >> %s 2>&1\n" % (
                               shlex.quote(self.env["DBUS_SESSION_BUS_ADDRESS"]), clock_offset_seconds,
                               shlex.quote(self.notifier_path), shlex.quote(self.log_path("notifier"))))
        subprocess.run([os.path.join(_SOURCE_ROOT, "scripts", "register-notifier"), agent, opener],
                       env=self.env, check=True, timeout=10)
        self.bus_call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReloadConfig")

    def notify_calls(self):
        """The arguments of every Notify call the notification server took, oldest first; the
        server numbers notifications from 1 in that order."""
        from gi.repository import GLib
        reply = self.bus_call(*_NOTIFICATIONS, "org.freedesktop.DBus.Mock", "GetMethodCalls",
                               GLib.Variant("(s)", ("Notify",)))
        return [list(arguments) for _, arguments in reply[0]]

    def click_notification(self, notification_id):
        """The notification server reports a click on the notification (its default action)."""
        from gi.repository import GLib
        self.bus_call(*_NOTIFICATIONS, "org.freedesktop.DBus.Mock", "EmitSignal",
                       GLib.Variant("(sssav)", (_NOTIFICATIONS[0], "ActionInvoked", "us",
                                                [GLib.Variant("u", notification_id),
                                                 GLib.Variant("s", "default")])))

    def adopt_opened_app(self, timeout=60.0):
        """Waits for the app that a click on a notification starts and makes it the run's app
        (its log is "app", as the first one's was)."""
        pid = wait_until(lambda: _read_number(self._opened_path("pid")), timeout, "the app opened by the click")
        self.app = _OpenedApp(pid, self._opened_path("status"))
        return self.app

    def _opened_path(self, what):
        return os.path.join(self.root, "opened-app." + what)

    @staticmethod
    def _write_script(path, body):
        with open(path, "w") as f:
            f.write("#!/bin/sh\n" + body)
        os.chmod(path, 0o755)

    def bus_call(self, name, path, interface, method, arguments=None):
        """A method call on the session bus; its answer unpacked."""
        from gi.repository import Gio
        bus = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        try:
            reply = bus.call_sync(name, path, interface, method, arguments, None, Gio.DBusCallFlags.NONE,
                                  10000, None)
            return reply.unpack() if reply is not None else None
        finally:
            bus.close_sync(None)

    def log_path(self, name):
        return os.path.join(self.log_dir, name + ".log")

    def log_text(self, name):
        try:
            with open(self.log_path(name), errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    # -- the session's processes ----------------------------------------------------------------

    def _spawn(self, name, argv, env=None, **kwargs):
        if name in self._logs:  # a relaunch: the new run's log replaces the old one
            self._logs[name].close()
        log = open(self.log_path(name), "w")
        self._logs[name] = log
        try:
            process = subprocess.Popen(argv, env=env or self.env, stdout=log, stderr=subprocess.STDOUT,
                                       cwd=self.root, start_new_session=True, **kwargs)
        except OSError as error:
            raise EnvironmentError("cannot start %s: %s" % (argv[0], error))
        self._processes.append((name, process))
        return process

    def _read_fd_line(self, name, process, fd):
        """A line that a starting process writes to the pipe `fd`, within the start-up deadline."""
        deadline = time.monotonic() + self.startup_timeout
        data = b""
        os.set_blocking(fd, False)
        while b"\n" not in data:
            if process.poll() is not None:
                raise EnvironmentError("%s ended at start:\n%s" % (name, self.log_text(name)))
            if time.monotonic() > deadline:
                raise EnvironmentError("%s did not start:\n%s" % (name, self.log_text(name)))
            try:
                chunk = os.read(fd, 256)
                if chunk:
                    data += chunk
                    continue
            except BlockingIOError:
                pass
            time.sleep(0.05)
        os.close(fd)
        return data.decode().strip()

    def _start_x(self):
        read_end, write_end = os.pipe()
        process = self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                                       "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        self.display = ":" + self._read_fd_line("xvfb", process, read_end)
        self.env["DISPLAY"] = self.display

    def _start_session_bus(self):
        read_end, write_end = os.pipe()
        process = self._spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                       "--address=unix:dir=" + self.env["XDG_RUNTIME_DIR"],
                                       "--print-address=%d" % write_end], pass_fds=(write_end,))
        os.close(write_end)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._read_fd_line("dbus", process, read_end)

    def _start_notification_server(self):
        # Debian's python3, where python3-dbusmock is installed.
        process = self._spawn("notifications", ["/usr/bin/python3", "-m", "dbusmock", "--template",
                                                "notification_daemon"])
        self._wait_for_bus_name(_NOTIFICATIONS[0], process, "notifications")

    def _start_accessibility_bus(self):
        launcher = _first_existing("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")
        process = self._spawn("atspi", [launcher, "--launch-immediately"])
        # The registry daemon starts on the accessibility bus when the first client asks for it.
        self._wait_for_bus_name("org.a11y.Bus", process, "atspi")

    def _start_keyring(self):
        process = self._spawn("keyring", ["gnome-keyring-daemon", "--foreground", "--unlock",
                                          "--components=secrets"], stdin=subprocess.PIPE)
        process.stdin.write(KEYRING_PASSWORD.encode())
        process.stdin.close()
        self._wait_for_bus_name("org.freedesktop.secrets", process, "keyring")

    def _start_sound(self):
        """A PulseAudio of this run with a null sink, so that narration plays without a sound card."""
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], "pulse.sock")
        process = self._spawn("sound", ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                        "-L", "module-null-sink sink_name=null",
                                        "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket])
        try:
            wait_until(lambda: os.path.exists(socket), self.startup_timeout, "the sound server's socket",
                       abort=lambda: process.poll() is not None)
        except Timeout as timeout:
            raise EnvironmentError("%s\n%s" % (timeout, self.log_text("sound")))
        self.env["PULSE_SERVER"] = "unix:" + socket

    def _start_server(self):
        data_dir = os.path.join(self.root, "server")
        # --demo: the scenarios sign up with the fixed code 424242.
        process = self._spawn("server", [self.server_path, "--port", "0", "--data-dir", data_dir, "--demo"]
                              + self.server_args)
        try:
            text = wait_until(lambda: _server_ready(self.log_text("server")), self.startup_timeout,
                              "the local server to report its address",
                              abort=lambda: process.poll() is not None)
        except Timeout as timeout:
            raise EnvironmentError("%s\n%s" % (timeout, self.log_text("server")))
        self.server_url, self.certificate = text

    def _wait_for_bus_name(self, name, process, log_name):
        from gi.repository import Gio, GLib
        bus = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)

        def owned():
            reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                  "NameHasOwner", GLib.Variant("(s)", (name,)), None,
                                  Gio.DBusCallFlags.NONE, 5000, None)
            return reply.unpack()[0]

        try:
            wait_until(owned, self.startup_timeout, "%s on the session bus" % name,
                       abort=lambda: process.poll() is not None)
        except Timeout as timeout:
            raise EnvironmentError("%s\n%s" % (timeout, self.log_text(log_name)))
        finally:
            bus.close_sync(None)


class _OpenedApp:
    """The app as a click on a notification started it: not a child of this process, so its
    status comes from the script that started it. Enough of Popen for the run."""

    def __init__(self, pid, status_path):
        self.pid = pid
        self._status_path = status_path
        self.returncode = None

    def poll(self):
        if self.returncode is None:
            self.returncode = _read_number(self._status_path)
        return self.returncode

    def wait(self, timeout):
        try:
            return wait_until(lambda: self.poll() is not None and (self.returncode,), timeout,
                              "the opened app to end")[0]
        except Timeout:
            raise subprocess.TimeoutExpired("orbelo", timeout)


def _read_number(path):
    """The whole number written in the file, or None while it is missing or still empty."""
    try:
        with open(path) as f:
            text = f.read().strip()
    except FileNotFoundError:
        return None
    return int(text) if text.isdigit() else None


def _server_ready(log):
    url = re.search(r"listening on (https://\S+)", log)
    certificate = re.search(r"^  certificate: (.+)$", log, re.MULTILINE)
    return (url.group(1), certificate.group(1).strip()) if url and certificate else None


def _first_existing(*paths):
    for path in paths:
        if os.path.exists(path):
            return path
    raise EnvironmentError("none of %s exists (install at-spi2-core)" % ", ".join(paths))
