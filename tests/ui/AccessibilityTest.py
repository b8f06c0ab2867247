"""What a screen reader reads of the main window, through the accessibility bus (AT-SPI).

Runs on a private X display with a private session bus and the accessibility bus (run-on-display.sh
xvfb-atspi). Starts the gateway simulator and Pagewing, sends a message through the running window with
`pagewing --send`, and reads the status list as a screen reader does: a list named "Status" whose items are
the lines, with each new line announced as a new child. Then the simulator goes away, and the Send button,
which then queues what it is given, must say so in its description and stay enabled.

    AccessibilityTest.py PAGEWING GATEWAY_SIM
"""

import os
import re
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from program import application, find, lines, named, start, wait_for  # noqa: E402


def main(pagewing, simulator):
    work = tempfile.mkdtemp()
    gateway = subprocess.Popen([simulator, "--listen", "127.0.0.1:0"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    port = re.search(r"authorization server on 127\.0\.0\.1:(\d+)", gateway.stderr.readline()).group(1)
    env, window = start(pagewing, work, f"[Settings]\nLoginURL=127.0.0.1\nLoginPort={port}\nICQUIN=100200300\n"
                        "ICQPassword=pagewing\nShowHelp=0\nShowing=True\n")
    try:
        app = wait_for("the program on the accessibility bus", lambda: application(window.pid))
        status = wait_for("the status list", lambda: find(app, named("list", "Status")))
        send = find(app, named("push button", "Send Message"))
        wait_for("Ready to send Message", lambda: any(l.endswith("Ready to send Message") for l in lines(status)))
        assert send.getState().contains(pyatspi.STATE_ENABLED), "Send reads as disabled while ready"

        announced = []

        def on_children_changed(event):
            if event.source == status and event.any_data is not None:
                announced.append(event.any_data.name)

        pyatspi.Registry.registerEventListener(on_children_changed, "object:children-changed:add")
        command = []

        def send_and_wait():
            if not command:
                command.append(subprocess.Popen([pagewing, "--send", "Ann Lee +15551234567", "Hello"], env=env,
                                                stdout=subprocess.DEVNULL))
            elif command[0].poll() is not None and any("successfully delivered" in a for a in announced):
                pyatspi.Registry.stop()
                return False
            return True

        GLib.timeout_add(1000, send_and_wait)
        GLib.timeout_add_seconds(20, pyatspi.Registry.stop)
        pyatspi.Registry.start()
        assert command and command[0].wait() == 0, "pagewing --send did not deliver"
        assert any(a.endswith(": Message successfully delivered") for a in announced), \
            f"the delivery was not announced; announced: {announced}"
        assert lines(status)[-1].endswith(": Message successfully delivered"), lines(status)[-3:]

        gateway.kill()
        wait_for("Send to say it queues once the server is gone",
                 lambda: send.description == "Queue: sent when connected")
        assert send.getState().contains(pyatspi.STATE_ENABLED), "Send reads as disabled while it queues"
        print(f"AccessibilityTest: {status.childCount} status lines read, {len(announced)} announced")
    finally:
        window.kill()
        gateway.kill()


if __name__ == "__main__":
    main(*sys.argv[1:3])
