"""What a window manager makes of the program's windows, as a user meets them.

Runs on a private X display with a window manager (openbox), a notification area and the accessibility bus
(run-on-display.sh xvfb-openbox). Reads from the X server how the window manager stacks the windows
(_NET_CLIENT_LIST_STACKING), which window each belongs to (WM_TRANSIENT_FOR) and which has the keyboard
(_NET_ACTIVE_WINDOW), and what the windows hold as a screen reader does.

At first start the main window stays on top; the options and the About window must be over it, and the options
must take what is typed. Ctrl+H must bring the Message History over it, and Export as CSV a file dialog over
that. A second start must bring a window hidden to the tray back over another program's window, with the
keyboard, say in the status list that the program runs already, and end by itself.

    WindowManagerTest.py PAGEWING
"""

import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from program import application, find, lines, named, start, wait_for  # noqa: E402


def xprop(*arguments):
    return subprocess.run(["xprop", *arguments], capture_output=True, text=True).stdout


def windows(prop, window=None):
    """The window ids in a property of a window, or of the root window."""
    where = ["-id", str(window)] if window else ["-root"]
    return [int(found, 16) for found in re.findall(r"0x[0-9a-f]+", xprop(*where, prop))]


def managed():
    """The windows the window manager manages, bottom to top, by title."""
    stacking = windows("_NET_CLIENT_LIST_STACKING")
    titles = [xprop("-id", str(window), "WM_NAME").split("=", 1)[-1].strip().strip('"') for window in stacking]
    return dict(zip(titles, stacking)), stacking


def window_titled(title):
    return wait_for(f'the window "{title}"', lambda: managed()[0].get(title))


def over(upper, lower):
    stacking = managed()[1]
    return lower in stacking and upper in stacking and stacking.index(upper) > stacking.index(lower)


def active():
    return next(iter(windows("_NET_ACTIVE_WINDOW")), None)


def click(window, x, y):
    """A click at a point of a window, a negative y counting from its bottom; the program's windows have no
    frame, so the point is the window's."""
    geometry = dict(line.split("=") for line in subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", str(window)], capture_output=True, text=True).stdout.split())
    y = y if y >= 0 else int(geometry["HEIGHT"]) + y
    subprocess.run(["xdotool", "mousemove", str(int(geometry["X"]) + x), str(int(geometry["Y"]) + y), "click", "1"])


def keys(*arguments):
    subprocess.run(["xdotool", *arguments])


def expect_over(dialog, owner, main):
    assert windows("WM_TRANSIENT_FOR", dialog) == [owner], f"{dialog:#x} does not belong to {owner:#x}"
    wait_for(f"{dialog:#x} over the main window", lambda: over(dialog, main))


def dialogs_open_over_the_main_window(pagewing, work):
    env, program = start(pagewing, work)
    try:
        main = window_titled("Lumenfold Pagewing")
        options = window_titled("User and Server Information")
        about = wait_for("the About window", lambda: next(
            (window for title, window in managed()[0].items() if title.startswith("About ")), None))
        assert "_NET_WM_STATE_ABOVE" in xprop("-id", str(main), "_NET_WM_STATE"), "not on top at first start"
        expect_over(options, main, main)
        expect_over(about, main, main)
        wait_for("the options to take the keyboard", lambda: active() == options)
        keys("type", "123")
        app = wait_for("the program on the accessibility bus", lambda: application(program.pid))
        uin = find(app, named("text", "ICQ Number")).queryText()
        wait_for("the typing in ICQ Number", lambda: uin.getText(0, -1) == "123")

        keys("key", "Escape")
        wait_for("the main window to take the keyboard back", lambda: active() == main)
        keys("key", "ctrl+h")
        history = window_titled("Message History")
        expect_over(history, main, main)
        wait_for("the history to take the keyboard", lambda: active() == history)
        click(history, 349, -22)  # Export as CSV, in the button bar along the bottom
        export = window_titled("Export as CSV")
        expect_over(export, history, main)
        wait_for("the file dialog to take the keyboard", lambda: active() == export)
        keys("key", "Escape")
    finally:
        program.kill()


def a_second_start_brings_the_hidden_window_forward(pagewing, work):
    # Not on top, so that only being raised puts it over another program's window; an account on a closed port.
    env, program = start(pagewing, work, "[Settings]\nLoginURL=127.0.0.1\nLoginPort=1\nICQUIN=100200300\n"
                         "ICQPassword=pagewing\nShowHelp=0\nTopMost=False\n")
    other = subprocess.Popen(["xlogo", "-geometry", "600x600+0+0"], stderr=subprocess.DEVNULL)
    try:
        main = window_titled("Lumenfold Pagewing")
        other_window = window_titled("xlogo")
        click(main, 290, 12)  # the caption's button that hides the window, to the tray
        wait_for("the window to hide", lambda: main not in managed()[1] and active() != main)
        assert subprocess.run([pagewing], env=env, timeout=10).returncode == 0, "the second start failed"
        wait_for("the window over the other program's", lambda: over(main, other_window))
        wait_for("the window to take the keyboard", lambda: active() == main)
        status = find(application(program.pid), named("list", "Status"))
        wait_for("the line of the second start",
                 lambda: any(line.endswith(" already running!") for line in lines(status)))
    finally:
        program.kill()
        other.kill()


if __name__ == "__main__":
    for check in (dialogs_open_over_the_main_window, a_second_start_brings_the_hidden_window_forward):
        with tempfile.TemporaryDirectory() as folder:
            check(sys.argv[1], folder)
    print("WindowManagerTest: the dialogs over the main window, and a second start brings it forward")
