"""The shell helpers of scripts/lib/desktop.sh for the Python measuring scripts, so that the simulator's
start-up line is read, and a profile is written, in one place only."""
import os
import signal
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _shell(script, *arguments, **popen):
    return subprocess.Popen(["bash", "-c", f"source scripts/lib/desktop.sh && {script}", "desktop.sh", *arguments],
                            cwd=ROOT, **popen)


def write_profile(folder, port, *keys):
    """A profile in folder with the simulator's address and demo account, and further KEY=VALUE settings."""
    if _shell('write_profile "$@"', folder, str(port), *keys).wait() != 0:
        raise RuntimeError("could not write the profile")


class Simulator:
    """The gateway simulator on a free loopback port, its output files in folder, until stop()."""

    def __init__(self, folder, *options):
        # The shell prints the port that start_gateway found and waits, so the simulator stays its child.
        self._process = _shell('start_gateway "$@" && echo "$port" && wait', folder, *options,
                               stdout=subprocess.PIPE, text=True, start_new_session=True)
        self.port = self._process.stdout.readline().strip()
        if not self.port:
            raise RuntimeError("the simulator did not start")

    def stop(self):
        os.killpg(self._process.pid, signal.SIGTERM)
        self._process.wait()
