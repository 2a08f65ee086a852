"""Reads LeakSanitizer's report from the app's log.

The app runs with LeakSanitizer reporting but not failing the exit: the GL driver that Mesa
loads for Xvfb leaves a few allocations behind and unloads itself before the report, so its
frames show as "<unknown module>" and no suppression can name them. The harness fails the run
instead on any leak whose stack passes through the project's own code.
"""

import re

# A source path relative to the build dir: "../Orbelo/…", not the toolchain's "../../../../src/…".
_OWN_SOURCE = re.compile(r" \.\./(?!\.\./)")
_BLOCK = re.compile(r"^(Direct|Indirect) leak of .*?(?=^\s*$)", re.MULTILINE | re.DOTALL)
# An unsymbolized frame names only its module, "(/path/libX.so+0x…)". The project's shared
# libraries live under the build dir, and an address in a library that was unloaded before the
# report (the GL driver) is attributed to whichever module was mapped below it, so a module path
# says nothing about whose code leaked: only source locations count.
_MODULE = re.compile(r"\(\S+\+0x[0-9a-f]+\)")


def project_leaks(log, source_root):
    """The report's leak blocks with a frame in the project's sources (built with relative paths
    under the build dir, or absolute under `source_root`)."""
    if "ERROR: LeakSanitizer" not in log:
        return []
    report = log[log.index("ERROR: LeakSanitizer"):] + "\n\n"
    found = []
    for match in _BLOCK.finditer(report):
        block = match.group(0)
        frames = [_MODULE.sub("", line) for line in block.splitlines() if re.match(r"\s*#\d+ ", line)]
        if any(_OWN_SOURCE.search(frame) or source_root in frame for frame in frames):
            found.append(block.strip())
    return found
