#!/usr/bin/python3
"""The quiz as a screen reader meets it, over a real AT-SPI bus (run by screen_reader.sh
inside a private D-Bus session and X server).

The window is a frame named "Vandora", the map holds the 34 countries as named push
buttons; Tab from "Start new quiz" to the map makes the first country the last focus a
screen reader hears (after the map itself); pressing a country through its action is
answered at once, the answer's message box appears as an alert with its text, its OK
button closes it and the score moves on; an answer from the keyboard leaves the country
the keys lit as the last focus heard when the window has the focus back; closing the
window ends the program with 0.

Usage: screen_reader.py VANDORA XPROBE
Every wait is bounded: it ends as soon as what it waits for is there.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

vandora, probe = sys.argv[1:3]
program = None


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    if program is not None and program.poll() is None:
        program.kill()
    sys.exit(1)


def ok(message):
    print("ok: " + message, flush=True)


def wait_for(what, found, timeout=20.0):
    """Runs the bus's events until found() gives something, and returns it. `what` may be
    a function, to say at the end what was seen."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + timeout
    while True:
        while context.pending():
            context.iteration(False)
        value = found()
        if value:
            return value
        if time.monotonic() > deadline:
            fail("timed out after %g s waiting for %s" % (timeout, what() if callable(what) else what))
        context.iteration(False)
        time.sleep(0.02)


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def find(accessible, role, name=None):
    """The first descendant with that role (and name), depth first."""
    for child in children(accessible):
        if child is None:
            continue
        if child.getRoleName() == role and (name is None or child.name == name):
            return child
        inner = find(child, role, name)
        if inner is not None:
            return inner
    return None


def press(accessible):
    """Its first action; the call must be answered, whatever the press opens."""
    try:
        return accessible.queryAction().doAction(0)
    except GLib.Error as error:
        fail("pressing '%s' got no answer: %s" % (accessible.name, error.message))


# Asking for the desktop starts the accessibility bus, so that Qt finds it at start.
desktop = pyatspi.Registry.getDesktop(0)
focus = []
pyatspi.Registry.registerEventListener(
    lambda event: focus.append((event.source.getRoleName(), event.source.name)), "focus:")

program = subprocess.Popen([probe, "launch", "Vandora", "20000", vandora],
                           stdout=subprocess.PIPE, text=True)
mapped = program.stdout.readline().split()  # "WIN PID MS" once the window is mapped
if not mapped:
    fail("no window titled 'Vandora' was mapped")
window = mapped[0]

app = wait_for("the quiz on the accessibility bus",
               lambda: next((a for a in children(desktop) if a is not None and a.name == "vandora"), None))
frame = wait_for("the quiz's window", lambda: find(app, "frame", "Vandora"))
ok("the window is a frame named 'Vandora'")

world = wait_for("the map", lambda: find(frame, "filler", "Map of Europe"))
countries = [c for c in children(world) if c.getRoleName() == "push button"]
names = [c.name for c in countries]
if len(countries) != 34 or not all(names) or "Norway" not in names:
    fail("the map holds %d push buttons: %s" % (len(countries), names))
ok("the map holds the 34 countries as named push buttons")

# Tab from the button: the map takes the focus and lights its first country, which must be
# what a screen reader hears last.
subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
subprocess.run([probe, "wait-focus", window, "5000"], check=True, stdout=subprocess.DEVNULL)
start = find(frame, "push button", "Start new quiz")
wait_for("the keyboard focus on 'Start new quiz'", lambda: start.getState().contains(pyatspi.STATE_FOCUSED))
focus.clear()
subprocess.run(["xdotool", "key", "Tab"], check=True)
wait_for(lambda: "the map's focus, then %s's (heard: %s)" % (names[0], focus),
         lambda: ("filler", "Map of Europe") in focus and focus[-1] == ("push button", names[0]), timeout=5)
ok("Tab to the map: a screen reader hears '%s' last (%s)" % (names[0], focus))

# The quiz's questions spell one country otherwise than its button's name.
QUESTION_SPELLINGS = {"Lithaunia": "Lithuania"}


def asked_country():
    """The button name of the country the question line asks for, once there is a question."""
    asked = next((l.name.split(" : ", 1)[1] for l in children(frame)
                  if l.getRoleName() == "label" and l.name.startswith("Click on country : ")), None)
    return QUESTION_SPELLINGS.get(asked, asked)


def open_box():
    """The program's message box (a window of its own, so a child of the application), or
    None; False while the box's objects go as they are read."""
    try:
        return next((c for c in children(app) if c is not None and c.getRoleName() == "alert"), None)
    except GLib.Error:
        return False


def answer_box():
    """The answer's message box, once it is there and says a right answer was given."""
    alert = wait_for("the answer's message box", open_box)
    texts = [l.name for l in children(alert) if l.getRoleName() == "label"]
    if "Correct country selected!" not in texts:
        fail("the message box says %s" % texts)
    return alert


def score_is(line):
    wait_for("the score line " + line,
             lambda: any(l.name == line for l in children(frame) if l.getRoleName() == "label"))


# An answer from the keyboard, as a screen reader user gives it: Page Down until the asked
# country is heard, Enter, OK. Back in the window (given the focus again, as a window
# manager does), the country the keys lit is again the last word, after the map.
press(start)
asked = wait_for("the question", asked_country)
for _ in range(len(names)):
    if focus[-1] == ("push button", asked):
        break
    heard = len(focus)
    subprocess.run(["xdotool", "key", "Next"], check=True)
    wait_for("a country's focus after Page Down", lambda: len(focus) > heard, timeout=5)
else:
    fail("Page Down went round the map without reaching '%s' (heard: %s)" % (asked, focus[-3:]))
subprocess.run(["xdotool", "key", "Return"], check=True)
press(find(answer_box(), "push button", "OK"))
wait_for("the box to close", lambda: open_box() is None)
focus.clear()
subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
wait_for(lambda: "the map's focus, then %s's (heard: %s)" % (asked, focus),
         lambda: ("filler", "Map of Europe") in focus and focus[-1] == ("push button", asked), timeout=5)
score_is("1/34")
ok("'%s' answered from the keyboard; back from the box a screen reader hears it last" % asked)

# An answer through the accessibility bus: the press is answered at once, whatever box
# the click opens.
asked = wait_for("the next question", asked_country)
if not press(countries[names.index(asked)]):
    fail("pressing '%s' was refused" % asked)
press(find(answer_box(), "push button", "OK"))
score_is("2/34")
ok("pressing '%s' was answered at once; its box said 'Correct country selected!' and OK closed it" % asked)

subprocess.run([probe, "close", window], check=True)
try:
    status = program.wait(timeout=10)
except subprocess.TimeoutExpired:
    fail("the program still runs 10 s after its window was closed")
program = None
if status != 0:
    fail("the program ended with exit code %d" % status)
ok("closing the window ended the program with exit code 0")
