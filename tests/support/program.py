"""What the tests that drive the real program share: a profile of its own for each run, and what a screen
reader reads of it (AT-SPI, through Debian's python3-pyatspi)."""

import os
import subprocess
import sys
import time

import pyatspi


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


def start(pagewing, work, settings=None):
    """The program in a profile of its own in work: none at all, as at first start, or these settings, which a
    later start in the same profile finds as the program left them."""
    env = dict(os.environ, XDG_CONFIG_HOME=f"{work}/config", XDG_RUNTIME_DIR=f"{work}/runtime",
               XDG_DATA_HOME=f"{work}/data")
    os.makedirs(f"{work}/runtime", mode=0o700, exist_ok=True)
    folder = f"{work}/config/Lumenfold Pagewing"
    if settings and not os.path.exists(folder):
        os.makedirs(folder, mode=0o700)
        with open(os.open(f"{folder}/Lumenfold Pagewing.ini", os.O_WRONLY | os.O_CREAT, 0o600), "w") as ini:
            ini.write(settings)
    return env, subprocess.Popen([pagewing], env=env)
