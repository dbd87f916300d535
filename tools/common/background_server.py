"""Runs a loopback test server in the background and ends it again.

The server is started as its own session and writes "pid port" to a state file once it
serves; start waits for that file, a bounded time, and reports a server that ended first
with what it wrote to stderr (a taken port, say). stop ends the process the file names.
"""

import os
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

START_TIMEOUT_S = 10
POLL_S = 0.05


def write_state(path, port):
    """Tells start that this server serves on port; the file appears whole or not at all."""
    temporary = path + ".tmp"
    Path(temporary).write_text("%d %d\n" % (os.getpid(), port))
    os.replace(temporary, path)


def start(name, command, state):
    """Runs command in the background until it has written state; 0, or 1 with the reason."""
    state = Path(state)
    state.unlink(missing_ok=True)
    with tempfile.TemporaryFile() as errors:
        child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=errors, start_new_session=True)
        deadline = time.monotonic() + START_TIMEOUT_S
        while time.monotonic() < deadline:
            if state.exists():
                print("%s: %s" % (name, state.read_text().strip()))
                return 0
            if child.poll() is not None:
                errors.seek(0)
                sys.stderr.write(errors.read().decode(errors="replace"))
                return child.returncode or 1
            time.sleep(POLL_S)
    child.kill()
    print("%s did not start within %d s" % (name, START_TIMEOUT_S), file=sys.stderr)
    return 1


def stop(state):
    """Ends the server that state names, if there is one."""
    state = Path(state)
    if not state.exists():
        return 0
    pid = int(state.read_text().split()[0])
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    state.unlink(missing_ok=True)
    return 0
