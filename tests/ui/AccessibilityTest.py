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


def wait_for(what, condition, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"{os.path.basename(sys.argv[0])}: {what} did not happen within {seconds} s")


def find(node, predicate):
    if predicate(node):
        return node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        found = child and find(child, predicate)
        if found:
            return found
    return None


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def named(role, name):
    return lambda node: node.getRoleName() == role and node.name == name


def lines(status):
    return [status.getChildAtIndex(i).name for i in range(status.childCount)]


def main(pagewing, simulator):
    work = tempfile.mkdtemp()
    env = dict(os.environ, XDG_CONFIG_HOME=f"{work}/config", XDG_RUNTIME_DIR=f"{work}/runtime")
    os.makedirs(f"{work}/runtime", mode=0o700)
    gateway = subprocess.Popen([simulator, "--listen", "127.0.0.1:0"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    port = re.search(r"authorization server on 127\.0\.0\.1:(\d+)", gateway.stderr.readline()).group(1)
    settings = f"{work}/config/Lumenfold Pagewing"
    os.makedirs(settings, mode=0o700)
    with open(f"{settings}/Lumenfold Pagewing.ini", "w") as ini:
        ini.write(f"[Settings]\nLoginURL=127.0.0.1\nLoginPort={port}\nICQUIN=100200300\n"
                  "ICQPassword=pagewing\nShowHelp=0\nShowing=True\n")
    window = subprocess.Popen([pagewing], env=env)
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
