#!/usr/bin/python3
"""Goes through every window of `corvane --demo` as a screen reader does, over AT-SPI.

In each window, every control that can take the focus must have a name, and no two of one
window may share one. Spinners must be spin controls that report their value, range and
step, take a value set through the value interface and announce it. After a load that
marks a field, the field's description names the mark; after Defaults it is gone. The rack
window and the Restore Backup dialog come last (rack_walk.py).

Usage: screen_reader_walk.py CORVANE [--count-only]
Run it on a display with a private session bus, e.g.
    xvfb-run -a dbus-run-session -- screen_reader_walk.py build/src/corvane
--count-only prints the unnamed controls per window and asserts nothing else.
"""

import os
import subprocess
import sys
import tempfile

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402
import pyatspi  # noqa: E402

import atspi_tools  # noqa: E402
from atspi_tools import (app_window, check, children, choose_file, count_unnamed, find,  # noqa: E402
                         labelled_by, press, settle, text_of, wait_for, walk)
import rack_walk  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
# The exit status when the application never showed on the bus: the display or the bus
# may have failed to start, and the runner tries once more.
NEVER_APPEARED = 2


def main():
    corvane = os.path.abspath(sys.argv[1])
    count_only = "--count-only" in sys.argv
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORM", None)
    # A window busy with its display may answer late: wait a while, not for ever.
    Atspi.set_timeout(3000, 15000)
    work = tempfile.mkdtemp(prefix="corvane-a11y-")
    env["CORVANE_BACKUP_DIR"] = os.path.join(work, "backups")
    proc = subprocess.Popen([corvane, "--demo"], env=env, cwd=work)
    try:
        run(count_only, work)
    finally:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
    return 1 if atspi_tools.failures else 0


def run(count_only, work):
    desktop = pyatspi.Registry.getDesktop(0)
    try:
        app = wait_for(lambda: next((a for a in children(desktop) if a.name == "corvane"),
                                    None), "the application on the accessibility bus")
    except SystemExit as e:
        print(e, flush=True)
        raise SystemExit(NEVER_APPEARED)
    editor = wait_for(lambda: app_window(app, "Synchronizer Parameters"), "the editor")
    unit = wait_for(lambda: app_window(app, "Simulated Synchronizer"), "the unit window")
    counts = []

    def judge(title, window):
        unnamed, twice = count_unnamed(title, window, counts)
        if count_only:
            print("%s: unnamed %s; twice %s" % (title, unnamed, twice), flush=True)
        else:
            check(not unnamed, "%s: %d unnamed controls (%s)" % (title, len(unnamed),
                                                                 ", ".join(unnamed)))
            check(not twice, "%s: names used twice: %s" % (title, ", ".join(twice)))

    judge("editor", editor)
    judge("unit window", unit)

    if not count_only:
        check_spinner(editor)
        # The caption beside a box labels it.
        for box, caption in (("Model value", "Model"), ("Start Title value", "Title"),
                             ("Comment", "Comment (15 chars.)")):
            check(labelled_by(find(editor, name=box)) == [caption],
                  "%s is labelled by %r: %r" % (box, caption,
                                                labelled_by(find(editor, name=box))))

    def visit(label, title, opened_by, closed_by, then=None):
        """Opens the window called `title`, judges it, closes it with its `closed_by`."""
        press(opened_by)
        if then:
            then()
        window = wait_for(lambda: app_window(app, title), "the %s window" % title)
        judge(label, window)
        press(find(window, "push button", closed_by))
        wait_for(lambda: app_window(app, title) is None, "the %s window to close" % title)

    # LOAD before any unit was found: the problem window says what to do.
    visit("problem", "Problem", find(editor, "push button", "LOAD from Synchronizer"), "OK")
    # About, from the editor's Help menu.
    visit("About", "About", find(editor, "menu item", "About", showing=False), "OK")

    # The finder; RESET pressed first, then Try Specific: the unit is found and loaded.
    press(find(editor, "menu item", "Find Synchronizer", showing=False))
    finder = wait_for(lambda: app_window(app, "Find Synchronizer"), "the finder")
    judge("finder", finder)
    status = find(finder, name="Finder status")
    # The debug window: the hidden key sequence typed in the finder shows it, typed again
    # hides it. Without a window manager the keys go to the window under the pointer.
    def type_hidden_keys():
        subprocess.run(["xdotool", "search", "--name", "Find Synchronizer", "windowraise",
                        "mousemove", "--window", "%1", "5", "40", "click", "1", "key",
                        "--delay", "100", "ctrl+g", "ctrl+t"], check=True)

    type_hidden_keys()
    debug = wait_for(lambda: app_window(app, "Debug"), "the debug window")
    judge("debug", debug)
    type_hidden_keys()
    wait_for(lambda: app_window(app, "Debug") is None, "the debug window to hide")
    # The progress window, while a probe listens; Cancel ends it.
    press(find(finder, "push button", "Try Specific Serial Port"))
    progress = wait_for(lambda: app_window(app, "Testing COM1"), "the progress window")
    judge("progress", progress)
    press(find(progress, "push button", "Cancel"))
    wait_for(lambda: app_window(app, "Testing COM1") is None, "the probe to end", 60)

    # A unit whose model cell cannot be read: a load marks it red.
    cells = os.path.join(work, "marked.cells")
    with open(os.path.join(HERE, "marked.cells")) as src, open(cells, "w") as dst:
        dst.write(src.read())
    press(find(unit, "push button", "Load cells from file..."))
    choose_file(app, "Load cells from file", cells)

    if count_only:
        # The order every version knows: the button, then RESET while the probe listens.
        press(find(finder, "push button", "Try Specific Serial Port"))
        wait_for(lambda: app_window(app, "Testing COM1"), "the probe")
        press(find(unit, "push button", "RESET"))
    else:
        press(find(unit, "push button", "RESET"))
        wait_for(lambda: "RESET heard on COM1" in text_of(status), "RESET heard in the finder")
        if os.environ.get("CORVANE_A11Y_SHOT"):
            subprocess.run(["sh", "-c", "xwd -root -silent | convert xwd:- png:'%s'"
                            % os.environ["CORVANE_A11Y_SHOT"]], check=False)
        press(find(finder, "push button", "Try Specific Serial Port"))
    report = wait_for(lambda: next((w for w in children(app) if w.getRoleName() == "alert"),
                                   None), "the load's report", 60)
    judge("load report", report)
    if not count_only:
        # The box shows the report in short lines; a listener hears whole sentences.
        said = " ".join(n.name for n in walk(report) if n.getRoleName() == "label")
        check("There were some errors reading the synchronizer. The fields with red borders "
              "had unrecognized characters in them. Fields with yellow borders" in said,
              "the report is heard in sentences: %r" % said[:200])
    model = find(editor, "text", "Model value")
    channel = find(editor, "text", "Channel value")
    if not count_only:
        check(settle(lambda: model.description == "unreadable; set to its default"),
              "a red mark is said: %r" % model.description)
        check(settle(lambda: channel.description == "out of range; corrected"),
              "a yellow mark is said: %r" % channel.description)
    press(find(report, "push button", "OK"))
    wait_for(lambda: report not in children(app), "the report to close")
    press(find(editor, "push button", "Defaults"))
    if not count_only:
        check(settle(lambda: (model.description, channel.description) == ("", "")),
              "Defaults clears the marks: %r" % ((model.description, channel.description),))

    # The settings-file preview, from LOAD from File.
    settings = os.path.join(HERE, "..", "data", "settings", "defaults.txt")
    visit("preview", "File Input", find(editor, "push button", "LOAD from File"), "Cancel",
          then=lambda: choose_file(app, "", settings))

    # The line monitor, from the editor's menu.
    press(find(editor, "menu item", "Line Monitor", showing=False))
    monitor = wait_for(lambda: app_window(app, "Line Monitor"), "the line monitor")
    judge("line monitor", monitor)

    # The rack window, from the editor's menu, and the Restore Backup dialog.
    rack_walk.visit(app, editor, judge, count_only)

    print("%-14s %9s %8s" % ("window", "controls", "unnamed"))
    for title, total, unnamed in counts:
        print("%-14s %9d %8d" % (title, total, unnamed))


def check_spinner(editor):
    spinner = find(editor, name="Start Title")
    check(spinner.getRoleName() == "spin button",
          "Start Title is a spin button, not a %s" % spinner.getRoleName())
    value = spinner.queryValue()
    check((value.minimumValue, value.maximumValue, value.minimumIncrement) == (1, 98, 1),
          "Start Title's range and step: %r" % ((value.minimumValue, value.maximumValue,
                                                  value.minimumIncrement),))
    heard = []

    def on_change(event):
        if event.source.name == "Start Title":
            heard.append(event.type)

    pyatspi.Registry.registerEventListener(on_change, "object:property-change:accessible-value",
                                           "object:value-changed")
    value.currentValue = 7
    settle(lambda: heard)
    pyatspi.Registry.deregisterEventListener(on_change, "object:property-change:accessible-value",
                                             "object:value-changed")
    check(value.currentValue == 7, "Start Title took 7: %r" % value.currentValue)
    check(settle(lambda: text_of(find(editor, "text", "Start Title value")) == "7"),
          "the box beside follows the spinner")
    check(bool(heard), "the change of Start Title was announced")


if __name__ == "__main__":
    sys.exit(main())
