"""The figures of one wrk run (`wrk --latency`), read from its report."""

import dataclasses
import re

_UNITS_MS = {"us": 0.001, "ms": 1.0, "s": 1000.0, "m": 60_000.0, "h": 3_600_000.0}


@dataclasses.dataclass
class WrkResult:
    requests_per_second: float
    p50_ms: float
    p99_ms: float
    # Answers outside 2xx/3xx, and connect/read/write/timeout errors of the sockets.
    non_2xx: int
    socket_errors: int


def _milliseconds(text):
    match = re.fullmatch(r"([\d.]+)(us|ms|s|m|h)", text)
    if not match:
        raise ValueError(f"not a wrk duration: {text!r}")
    return float(match.group(1)) * _UNITS_MS[match.group(2)]


def parse(report):
    """Reads a wrk report; raises ValueError when it lacks the rate or the latency distribution
    (wrk ran without --latency, or failed before measuring)."""
    rate = re.search(r"^Requests/sec:\s+([\d.]+)", report, re.M)
    p50 = re.search(r"^\s+50(?:\.0+)?%\s+(\S+)", report, re.M)
    p99 = re.search(r"^\s+99(?:\.0+)?%\s+(\S+)", report, re.M)
    if not (rate and p50 and p99):
        raise ValueError("not a wrk --latency report:\n" + report)
    sockets = re.search(r"Socket errors: connect (\d+), read (\d+), write (\d+), timeout (\d+)", report)
    non_2xx = re.search(r"Non-2xx or 3xx responses: (\d+)", report)
    return WrkResult(
        requests_per_second=float(rate.group(1)),
        p50_ms=_milliseconds(p50.group(1)),
        p99_ms=_milliseconds(p99.group(1)),
        non_2xx=int(non_2xx.group(1)) if non_2xx else 0,
        socket_errors=sum(int(n) for n in sockets.groups()) if sockets else 0,
    )
