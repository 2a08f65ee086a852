"""Polling with a deadline: every wait in a scenario is on some state, never a fixed sleep."""

import time

POLL_INTERVAL = 0.1


class Timeout(AssertionError):
    pass


def wait_until(condition, timeout, what, abort=None, interval=POLL_INTERVAL, progress=None, limit=None):
    """Polls `condition` until it returns a true value, which is returned.

    Raises Timeout naming `what` after `timeout` seconds, or at once when `abort` returns true
    (for example when the process being waited for has ended). Exceptions from `condition` count
    as "not yet": the accessibility tree changes under the poll.

    With `progress` (a function answering a snapshot of the scenario's progress, such as
    ServerProgress), `timeout` counts from the last change of that snapshot instead, up to `limit`
    seconds in all: a slow machine that keeps working is waited for, a stuck one is not.
    """
    start = time.monotonic()
    deadline = start + timeout
    last_seen = progress() if progress is not None else None
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
        now = time.monotonic()
        if progress is not None:
            seen = progress()
            if seen != last_seen:
                last_seen = seen
                deadline = max(deadline, min(now + timeout, start + max(limit or 0, timeout)))
        if now >= deadline:
            detail = " (last error: %s)" % last_error if last_error else ""
            still = " (%.0f s without progress)" % timeout if progress is not None else ""
            raise Timeout("timed out after %.0f s waiting for %s%s%s" % (now - start, what, still, detail))
        time.sleep(interval)
