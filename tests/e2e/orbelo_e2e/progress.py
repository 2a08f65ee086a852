"""How far the local server's work has come, read from its log as it grows: waits for generated
content follow it rather than fixed limits, since on a busy machine the work takes longer but keeps
moving."""

import re

# "job <id> <type> complete" / "failed: …", written as each job ends.
_JOB_ENDED = re.compile(rb"\bjob \S+ \S+ (complete|failed)")
# One request answered: "id=… method=… path=… status=…".
_REQUEST = re.compile(rb"\bmethod=(\S+) path=(\S+) status=(\S+)")


class ServerProgress:
    """A snapshot of the server's progress that changes whenever a job ends or a request is
    answered that was not answered before (a new path, method or status): an app polling one job
    over and over makes no progress, a job moving on or the app taking its next step does."""

    def __init__(self, log_path):
        self._log_path = log_path
        self._offset = 0
        self._partial = b""
        self._jobs_ended = 0
        self._requests = set()

    def __call__(self):
        try:
            with open(self._log_path, "rb") as log:
                log.seek(self._offset)
                data = log.read()
        except OSError:
            data = b""
        self._offset += len(data)
        lines = (self._partial + data).split(b"\n")
        self._partial = lines.pop()
        for line in lines:
            if _JOB_ENDED.search(line):
                self._jobs_ended += 1
            request = _REQUEST.search(line)
            if request:
                self._requests.add(request.groups())
        return self._jobs_ended, len(self._requests)
