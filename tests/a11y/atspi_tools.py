"""What the screen reader's walks share: finding, waiting for and pressing things over AT-SPI,
and the failures they found."""

import os
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

# Children a screen reader reaches through their parent, not by Tab.
CONTAINERS = {"combo box", "list", "table", "tree table", "menu bar", "menu", "scroll bar"}

# What the walks found wrong, in the order found.
failures = []


def check(ok, text):
    if not ok:
        failures.append(text)
        print("FAIL: " + text, flush=True)


def pump(seconds=0.0):
    """Lets the bus deliver events for `seconds`."""
    end = time.monotonic() + seconds
    ctx = GLib.MainContext.default()
    while True:
        while ctx.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(condition, what, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            value = condition()
        except GLib.Error:
            value = None
        if value:
            return value
        pump(0.1)
    shot = os.environ.get("CORVANE_A11Y_SHOT")
    if shot:
        subprocess.run(["sh", "-c", "xwd -root -silent | convert xwd:- png:'%s.failed.png'" % shot])
    raise SystemExit("gave up waiting for " + what)


def settle(condition, seconds=5.0):
    """True as soon as `condition` holds, False when it has not within `seconds`."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= end:
            return False
        pump(0.05)
    return True


def states(node):
    return node.getState()


def children(node):
    try:
        return [c for c in node if c is not None]
    except GLib.Error:
        return []


def walk(node):
    yield node
    for c in children(node):
        yield from walk(c)


def find(root, role=None, name=None, showing=True):
    for n in walk(root):
        if role and n.getRoleName() != role:
            continue
        if name is not None and n.name != name:
            continue
        if showing and not states(n).contains(pyatspi.STATE_SHOWING):
            continue
        return n
    return None


def controls(window):
    """The controls of `window` that Tab can reach: focusable and showing."""
    out = []

    def visit(node):
        for c in children(node):
            s = states(c)
            if not s.contains(pyatspi.STATE_SHOWING):
                continue
            if s.contains(pyatspi.STATE_FOCUSABLE):
                out.append(c)
            if c.getRoleName() not in CONTAINERS:
                visit(c)

    visit(window)
    return out


def count_unnamed(title, window, counts):
    unnamed, seen, twice = [], {}, []
    for c in controls(window):
        label = "%s %r" % (c.getRoleName(), c.name)
        if not c.name.strip():
            unnamed.append(c.getRoleName())
        elif c.name in seen:
            twice.append(label)
        seen[c.name] = c
    counts.append((title, len(controls(window)), len(unnamed)))
    return unnamed, twice


def app_window(app, title_part, role=None):
    for w in children(app):
        if title_part in w.name and (role is None or w.getRoleName() == role):
            if states(w).contains(pyatspi.STATE_SHOWING):
                return w
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "Press", "click", "toggle"):
        if wanted in names:
            try:
                action.doAction(names.index(wanted))
            except GLib.Error:
                pass  # a slow answer from a busy window; the effect shows anyway
            return
    raise SystemExit("no press action on %s %r: %s" % (node.getRoleName(), node.name, names))


def labelled_by(node):
    return [r.getTarget(i).name for r in node.getRelationSet()
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(r.getNTargets())]


def text_of(node):
    t = node.queryText()
    return t.getText(0, -1)


def choose_file(app, title, path):
    """Types `path` into the file dialog that opened and accepts it."""
    dialog = wait_for(lambda: next((w for w in children(app) if w.getRoleName() == "dialog"
                                    and title in w.name and
                                    states(w).contains(pyatspi.STATE_SHOWING)), None),
                      "the file dialog")
    entry = wait_for(lambda: next((n for n in walk(dialog) if n.getRoleName() == "text" and
                                   states(n).contains(pyatspi.STATE_EDITABLE) and
                                   states(n).contains(pyatspi.STATE_SHOWING)), None),
                     "the file name box")
    entry.queryEditableText().setTextContents(path)
    pump(0.3)
    for name in ("Open", "Save", "&Open", "&Save"):
        button = find(dialog, "push button", name)
        if button:
            press(button)
            break
    wait_for(lambda: dialog not in children(app) or
             not states(dialog).contains(pyatspi.STATE_SHOWING), "the file dialog to close")
