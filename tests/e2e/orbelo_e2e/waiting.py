"""Polling with a deadline: every wait in a scenario is on some state, never a fixed sleep."""

import time

POLL_INTERVAL = 0.1


class Timeout(AssertionError):
    pass


def wait_until(condition, timeout, what, abort=None, interval=POLL_INTERVAL):
    """Polls `condition` until it returns a true value, which is returned.

    Raises Timeout naming `what` after `timeout` seconds, or at once when `abort` returns true
    (for example when the process being waited for has ended). Exceptions from `condition` count
    as "not yet": the accessibility tree changes under the poll.
    """
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except Exception as error:  # noqa: BLE001 - a stale object or a busy bus is retried
            last_error = error
        if abort is not None and abort():
            raise Timeout("gave up waiting for %s: the process ended" % what)
        if time.monotonic() >= deadline:
            detail = " (last error: %s)" % last_error if last_error else ""
            raise Timeout("timed out after %.0f s waiting for %s%s" % (timeout, what, detail))
        time.sleep(interval)
