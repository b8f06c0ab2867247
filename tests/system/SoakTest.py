"""Nothing lost, nothing sent twice by itself, nothing called delivered without its deliverable answer, nothing
left waiting: many messages through the faults of a network, a server and a user.

Runs on a private X display with the accessibility bus (run-on-display.sh xvfb-atspi). Starts the program and
sends each message as a user does, through what a screen reader reaches: the number and the message typed into
their boxes, then Send pressed. Some messages go through `pagewing --send` instead, handed to the window or sent
with a login of the command's own while no window runs. Meanwhile, chosen by a seeded random generator, the
simulator is killed and started again (answering, closing each connection right after the login, or taking each
request and closing without an answer, or never answering) or left down a while, and the window is killed with SIGKILL and started
again. The faults end with the window killed while its requests wait for an answer, and again with the last
messages queued while the simulator is gone; then the simulator answers again, the window starts once more,
and the history drains. The simulator's output and `pagewing --history --json` are counted against each other.

    SoakTest.py PAGEWING GATEWAY_SIM
    PAGEWING_SOAK_MESSAGES (default 40) and PAGEWING_SOAK_SEED (default 1) choose the run.
"""

import collections
import json
import os
import random
import re
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from program import application, find, lines, named, start, wait_for  # noqa: E402

FAULTS = ([], ["--drop-after-request"], ["--close-after-ready"], ["--deliver", "silent"])
WAITING = ("queued", "sending", "no answer yet")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Gateway:
    """The simulator on one port, killed and started again with other faults; every run's output is kept."""

    def __init__(self, program, port, work):
        self.program, self.port, self.work = program, port, work
        self.runs = 0
        self.process = None

    def start(self, faults):
        self.runs += 1
        base = f"{self.work}/gateway-{self.runs}"
        self.process = subprocess.Popen(
            [self.program, "--listen", f"127.0.0.1:{self.port}", "--verbose", *faults],
            stdout=open(f"{base}.sms", "w"), stderr=open(f"{base}.trace", "w"))
        wait_for("the simulator to listen", lambda: "authorization server on" in open(f"{base}.trace").read())

    def kill(self):
        if self.process:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
            self.process = None

    def received(self):
        """How many times each message reached a gateway, by its text."""
        return collections.Counter(self.messages(".sms", r"^SMS to [^:]*: (.*)$"))

    def answered_deliverable(self):
        return set(self.messages(".trace", r": answered deliverable: (.*)$"))

    def messages(self, suffix, pattern):
        """The messages' texts in the lines of every run that match; the simulator writes the SMS text as sent,
        the sender's name, ":", CR LF and the message, on one line."""
        for run in range(1, self.runs + 1):
            for sms in re.findall(pattern, open(f"{self.work}/gateway-{run}{suffix}").read(), re.MULTILINE):
                yield sms.split("\\r\\n", 1)[-1]


class Window:
    """The program's window, typed into and clicked through the accessibility bus, as a screen reader does."""

    def __init__(self, pagewing, work, settings):
        self.pagewing, self.work, self.settings = pagewing, work, settings
        self.process = None

    def start(self):
        self.env, self.process = start(self.pagewing, self.work, self.settings)
        app = wait_for("the window on the accessibility bus", lambda: application(self.process.pid), 30)
        number = wait_for("the number box", lambda: find(app, named("combo box", "Mobile number")))
        self.number = find(number, lambda node: node.getRoleName() == "text").queryEditableText()
        self.message = find(app, named("text", "Message")).queryEditableText()
        self.status = find(app, named("list", "Status"))
        self.send_button = find(app, named("push button", "Send Message")).queryAction()

    def send(self, number, text):
        """True once the window has taken the message: the press returns after its click was handled."""
        try:
            self.number.setTextContents(number)
            self.message.setTextContents(text)
            self.send_button.doAction(0)
            return True
        except Exception:  # the window was killed under the press
            return False

    def ready(self):
        return any(line.endswith("    Ready to send Message") for line in lines(self.status))

    def kill(self):
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()

    def cpu_seconds(self):
        fields = open(f"/proc/{self.process.pid}/stat").read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def history(pagewing, env):
    printed = subprocess.run([pagewing, "--history", "--json", "--limit", "1000000"], env=env,
                             capture_output=True, text=True).stdout
    return [json.loads(line) for line in printed.splitlines()]


def is_lost(rows, received, exit):
    """Whether a message went missing: one given to the window must have its one row, never "not sent", and
    one given to a command must end as the command said. An outcome that tells of an answer needs a request
    that reached a gateway; a command that said nothing was sent (2, 3, 4) must not have sent it."""
    answered = len(rows) == 1 and rows[0]["state"] in ("delivered", "not delivered", "refused")
    if answered and received == 0:
        return True
    if exit is None:
        return len(rows) != 1 or rows[0]["state"] == "not sent"
    if exit in (0, 1):
        return not answered
    if exit in (2, 3, 4):
        return received > 0 or any(row["state"] != "not sent" for row in rows)
    return False


def soak(pagewing, simulator, messages, seed):
    rng = random.Random(seed)
    work = tempfile.mkdtemp()
    gateway = Gateway(simulator, free_port(), work)
    window = Window(pagewing, work, f"[Settings]\nLoginURL=127.0.0.1\nLoginPort={gateway.port}\n"
                    "ICQUIN=100200300\nICQPassword=pagewing\nShowHelp=0\nShowing=True\nTopMost=False\n")
    gateway.start([])
    window.start()
    given, commands, down_for = {}, [], 0

    def window_sends(numbers, state):
        """The window sends these messages, and they reach the state."""
        texts = [f"soak {seed} {number}" for number in numbers]
        for number, text in zip(numbers, texts):
            if window.send(f"+1555{number:07d}", text):
                given[text] = "window"
        wait_for(f"the last messages {state}", lambda: all(
            row["state"] == state for row in history(pagewing, window.env) if row["text"] in texts))

    try:
        for number in range(messages):
            fault = rng.random()
            if fault < 0.05:
                window.kill()
                window.start()
            elif fault < 0.10:
                gateway.kill()
                down_for = rng.choice((0, rng.randint(1, 5)))
            if gateway.process is None and down_for == 0:
                gateway.start(rng.choice(FAULTS))
            down_for = max(down_for - 1, 0)
            text = f"soak {seed} {number}"
            destination = f"+1555{number:07d}"
            if rng.random() < 0.1:
                commands.append((text, subprocess.Popen([pagewing, "--send", destination, "--timeout", "120", text],
                                                        env=window.env, stdout=subprocess.DEVNULL,
                                                        stderr=subprocess.DEVNULL)))
                given[text] = "command"
            elif window.send(destination, text):
                given[text] = "window"
            time.sleep(rng.uniform(0, 0.03))
        # The faults end with the hardest, each at least once: the window killed while its requests wait for
        # an answer that never comes, then killed again with the last messages queued while no gateway runs.
        # Then a gateway that answers, and the window started again, which takes the queued ones up.
        gateway.kill()
        gateway.start(["--deliver", "silent"])
        window.kill()
        window.start()
        wait_for("the window to log in", window.ready)
        window_sends(range(messages, messages + 3), "sending")
        window.kill()
        gateway.kill()
        window.start()
        window_sends(range(messages + 3, messages + 6), "queued")
        window.kill()
        last_fault = time.monotonic()
        gateway.start([])
        window.start()
        cpu_before = window.cpu_seconds()

        def drained():
            rows = [row for row in history(pagewing, window.env) if row["text"] in given]
            done = all(command.poll() is not None for _, command in commands)
            return done and not any(row["state"] in WAITING for row in rows) and rows

        rows = wait_for("the history to drain", drained, 180)
        drain = time.monotonic() - last_fault
        cpu = window.cpu_seconds() - cpu_before
    finally:
        for _, command in commands:
            command.kill()
        window.kill()
        gateway.kill()

    received = gateway.received()
    deliverable = gateway.answered_deliverable()
    by_text = collections.defaultdict(list)
    for row in rows:
        by_text[row["text"]].append(row)
    exits = {text: command.returncode for text, command in commands}
    lost = [text for text in given if is_lost(by_text[text], received[text], exits.get(text))]
    twice = [text for text in given if received[text] > 1]
    false_delivered = [row["text"] for row in rows if row["state"] == "delivered" and row["text"] not in deliverable]
    stuck = [row["text"] for row in rows if row["state"] in WAITING]
    states = collections.Counter(row["state"] for row in rows)
    print(f"SoakTest: {len(given)} messages (seed {seed}), {gateway.runs} gateway runs; {dict(states)}; "
          f"lost {len(lost)}, sent twice {len(twice)}, delivered without a deliverable answer "
          f"{len(false_delivered)}, left waiting {len(stuck)}; drained {drain:.1f} s after the last fault, the "
          f"window using {cpu:.2f} s of CPU meanwhile")
    problems = {"lost": lost, "sent twice": twice, "delivered without a deliverable answer": false_delivered,
                "left waiting": stuck}
    for what, texts in problems.items():
        for text in texts[:10]:
            rows_of = [(row["state"], row["origin"], row["detail"]) for row in by_text[text]]
            print(f"SoakTest: {what}: {text} ({given.get(text)}), sent {received[text]} times, rows {rows_of}",
                  file=sys.stderr)
    return not any(problems.values())


if __name__ == "__main__":
    ok = soak(sys.argv[1], sys.argv[2], int(os.environ.get("PAGEWING_SOAK_MESSAGES", "40")),
              int(os.environ.get("PAGEWING_SOAK_SEED", "1")))
    sys.exit(0 if ok else 1)
