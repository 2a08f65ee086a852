"""deploy/try-cluster end to end: two server processes on a throwaway PostgreSQL behind haproxy.
One account is served by both processes, a process killed outright is taken out of the rotation,
and stopping (or failing to start) leaves no process and no directory behind.

  test_try_cluster.py <orbelo-local-server>
"""

import os
import pathlib
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "bench" / "cluster"))

from orbelo_client import OrbeloClient  # noqa: E402

SCRIPT = str(ROOT / "deploy" / "try-cluster")
SERVER = None
TIMEOUT = 60


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_until(predicate, what):
    deadline = time.monotonic() + TIMEOUT
    while not predicate():
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    # A child of nobody here that has ended but not been reaped yet counts as gone.
    return "State:\tZ" not in pathlib.Path(f"/proc/{pid}/status").read_text()


class Cluster:
    def __init__(self):
        self.workdir = tempfile.mkdtemp(prefix="orbelo-try-cluster-test-")
        # PostgreSQL runs as its own user under root and must pass through to its directory.
        os.chmod(self.workdir, 0o711)
        self.state = pathlib.Path(self.workdir) / "cluster"
        self.port = free_port()
        self.env = dict(os.environ, ORBELO_CLUSTER_DIR=str(self.state))

    def run(self, *arguments, check=True):
        return subprocess.run([SCRIPT, *arguments], env=self.env, check=check, capture_output=True, text=True,
                              timeout=300)

    def start(self, processes, server=None):
        return self.run("start", "--port", str(self.port), "--server", server or SERVER, str(processes),
                        check=False)

    def pids(self):
        return [int(p.read_text()) for p in sorted(self.state.glob("*.pid"))]

    def url(self):
        return f"https://127.0.0.1:{self.port}"

    def client(self):
        return OrbeloClient(self.url(), str(self.state / "data" / "server-cert.pem"))

    def status(self, path, token=None):
        """The status of one GET on a connection of its own."""
        client = self.client()
        try:
            return client.request("GET", path, headers={"Authorization": "Bearer " + token} if token else {})[0]
        finally:
            client.close()

    def stats(self):
        """haproxy's view of each server: name -> (status, sessions so far)."""
        with socket.socket(socket.AF_UNIX) as s:
            s.connect(str(self.state / "haproxy.sock"))
            s.sendall(b"show stat\n")
            data = b""
            while chunk := s.recv(65536):
                data += chunk
        rows = [line.split(",") for line in data.decode().splitlines() if line and not line.startswith("#")]
        return {r[1]: (r[17], int(r[7])) for r in rows if r[0] == "orbelo_servers" and r[1] != "BACKEND"}

    def remove(self):
        self.run("stop", check=False)
        shutil.rmtree(self.workdir, ignore_errors=True)


class TryClusterTest(unittest.TestCase):
    def test_two_processes_serve_one_account_and_survive_losing_one(self):
        cluster = Cluster()
        self.addCleanup(cluster.remove)
        started = cluster.start(2)
        self.assertEqual(started.returncode, 0, started.stderr)
        self.assertIn(cluster.url(), started.stdout)
        self.assertEqual((cluster.state / "token-secret").stat().st_mode & 0o777, 0o600)
        self.assertEqual({name: status for name, (status, _) in cluster.stats().items()},
                         {"orbelo1": "UP", "orbelo2": "UP"})
        self.assertEqual(cluster.run("start", "--port", str(free_port()), "--server", SERVER, "1",
                                     check=False).returncode, 1, "a second cluster in the same directory")

        # Signed up on one connection, then every token used on connections of their own: with
        # leastconn both processes get some, and each must know the session and trust the token.
        signing = cluster.client()
        self.addCleanup(signing.close)
        device, session = signing.sign_up("cluster-student@example.com")
        for _ in range(6):
            self.assertEqual(cluster.status("/api/bootstrap", signing.token(device, session)), 200)
        self.assertTrue(all(sessions > 0 for _, sessions in cluster.stats().values()), cluster.stats())

        # A process gone without a word: haproxy's check finds it, and new connections go to the other.
        victim = int((cluster.state / "server-1.pid").read_text())
        os.kill(victim, 9)
        wait_until(lambda: cluster.stats()["orbelo1"][0].startswith("DOWN"), "haproxy to see orbelo1 down")
        for _ in range(4):
            self.assertEqual(cluster.status("/readyz"), 200)

        pids = cluster.pids()
        stopped = cluster.run("stop")
        self.assertEqual(stopped.returncode, 0, stopped.stderr)
        self.assertEqual([pid for pid in pids if alive(pid)], [])
        self.assertFalse(cluster.state.exists())

    def test_a_failed_start_leaves_nothing_behind(self):
        cluster = Cluster()
        self.addCleanup(cluster.remove)
        # A server that exits at once: try-cluster gives up only after PostgreSQL has started.
        started = cluster.start(2, server="/bin/false")
        self.assertNotEqual(started.returncode, 0)
        self.assertIn("exited", started.stderr)
        self.assertFalse(cluster.state.exists(), "the PostgreSQL cluster and the data dir are removed")


if __name__ == "__main__":
    SERVER = sys.argv.pop(1)
    unittest.main()
