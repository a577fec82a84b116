"""The screen reader's walk through the rack window and the Restore Backup dialog.

The rack opens from the editor's menu; Scan finds the demo's unit and a second unit is
typed into the add box and added with Enter. Every button has a shortcut key of its own,
Tab goes along the window as it reads, Ctrl+A in the table selects every row, a row is
heard as one sentence when the listener moves onto it, and a change of a row reaches the
bus as a name change of the line under the table. A backup of the rows then shows in the
editor's Restore Backup dialog.
"""

import subprocess

import pyatspi

from atspi_tools import (app_window, check, find, labelled_by, press, pump, settle, states,
                         wait_for, walk)

# What Tab reaches, in order, while no action runs (Stop is off then).
TAB_ORDER = ["Scan", "Listen", "Port, device or address to add", "Add", "Open Rack...",
             "Save Rack...", "Units", "Write File...", "Write Own Files", "Verify...",
             "Backup", "Restore Last Backup", "Restore Image...", "Open in Editor",
             "Select Failed", "What the current unit said"]


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80"] + list(names), check=True)


def focused(window):
    """The name of what has the focus in `window`: a table, not its cell (the current cell
    says it is focused whether its table has the focus or not)."""
    for n in walk(window):
        if n.getRoleName() != "table cell" and states(n).contains(pyatspi.STATE_FOCUSED):
            return n.name
    return None


def cell(table, row, column):
    return table.queryTable().getAccessibleAt(row, column)


def heard_row(table, row):
    """The sentence a row should be heard as, from what its cells show."""
    port, model, channel, state, result = (cell(table, row, c).name for c in (0, 2, 3, 4, 5))
    parts = [port.split(",")[0], "model " + (model or "unknown"),
             "channel " + (channel or "unknown")]
    return ", ".join(parts + [p for p in (state, result) if p])


def idle(rack):
    scan = find(rack, "push button", "Scan")
    return scan is not None and states(scan).contains(pyatspi.STATE_ENABLED)


def visit(app, editor, judge, count_only):
    press(find(editor, "menu item", "Rack...", showing=False))
    rack = wait_for(lambda: app_window(app, "Rack"), "the rack window")
    table = find(rack, "table", "Units")
    press(find(rack, "push button", "Scan"))
    wait_for(lambda: table.queryTable().nRows >= 1 and idle(rack), "Scan to find the unit", 60)
    judge("rack", rack)
    if count_only:
        return rack

    bindings = {}

    def shortcut(button):
        action = button.queryAction()
        key = action.getKeyBinding(0).lower() if action.nActions else ""
        check(key, "rack: %r has no shortcut key" % button.name)
        check(not key or key not in bindings,
              "rack: %r and %r share %s" % (bindings.get(key), button.name, key))
        bindings[key] = button.name

    # Stop has its key while an action runs, the others while none does.
    for b in (n for n in walk(rack) if n.getRoleName() == "push button" and n.name != "Stop"):
        shortcut(b)
    add = find(rack, "text", "Port, device or address to add")
    check(labelled_by(add) == ["Unit:"], "the add box is labelled Unit: %r" % labelled_by(add))

    # The keys go to the window under the pointer: a click on what the unit said is safe.
    said = find(rack, "text", "What the current unit said")
    x, y, w, h = said.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    subprocess.run(["xdotool", "search", "--name", "^Rack$", "windowraise", "mousemove",
                    "--window", "%1", str(x + w // 2), str(y + h // 2), "click", "1"], check=True)
    add.queryComponent().grabFocus()
    wait_for(lambda: focused(rack) == add.name, "the add box to take the focus")
    subprocess.run(["xdotool", "type", "--delay", "80", "COM2"], check=True)
    keys("Return")
    added = settle(lambda: table.queryTable().nRows == 2)
    check(added, "Enter in the add box adds COM2: %d rows" % table.queryTable().nRows)
    if not added:
        return rack

    # Tab from Scan through the window; in the table, Down and Ctrl+A.
    find(rack, "push button", "Scan").queryComponent().grabFocus()
    wait_for(lambda: focused(rack) == "Scan", "Scan to take the focus")
    reached, on_cells = ["Scan"], []

    def on_focus(event):
        if event.detail1 and event.source.getRoleName() == "table cell":
            on_cells.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    for _ in TAB_ORDER[1:]:
        keys("Tab")
        settle(lambda: focused(rack) != reached[-1], 2)
        reached.append(focused(rack))
        if reached[-1] == "Units":
            keys("Home", "Down")
            pump(0.5)
            check(on_cells and on_cells[-1] == heard_row(table, 1),
                  "Down in the table says the row: %r, not %r"
                  % (on_cells[-1:], heard_row(table, 1)))
            keys("ctrl+a")
            check(settle(lambda: table.queryTable().nSelectedRows == 2),
                  "Ctrl+A selects every row: %d" % table.queryTable().nSelectedRows)
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    check(reached == TAB_ORDER, "rack: Tab goes %r" % reached)

    for row in range(table.queryTable().nRows):
        check(cell(table, row, 0).name == heard_row(table, row),
              "row %d is heard as %r, not %r" % (row, cell(table, row, 0).name,
                                                 heard_row(table, row)))

    # Backup on both rows: the line under the table is renamed with each change.
    names = []

    def on_name(event):
        if event.source.getRoleName() == "label":
            names.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    press(find(rack, "push button", "Backup"))
    stop = find(rack, "push button", "Stop")
    check(settle(lambda: states(stop).contains(pyatspi.STATE_ENABLED)),
          "Stop is on while the backup runs")
    shortcut(stop)
    wait_for(lambda: cell(table, 0, 5).name and cell(table, 1, 5).name and idle(rack),
             "the backups to end", 90)
    pump(0.5)
    pyatspi.Registry.deregisterEventListener(on_name, "object:property-change:accessible-name")
    for row in range(2):
        check(heard_row(table, row) in names,
              "the change of row %d is heard: %r not in %r" % (row, heard_row(table, row), names))
    visit_restore_backup(app, editor, judge)
    return rack


def visit_restore_backup(app, editor, judge):
    press(find(editor, "menu item", "Restore Backup...", showing=False))
    dialog = wait_for(lambda: app_window(app, "Restore Backup"), "the Restore Backup dialog")
    judge("restore backup", dialog)
    backups = find(dialog, "list", "Backups")
    items = [n.name for n in walk(backups) if n.getRoleName() == "list item"]
    check(any("COM1" in i for i in items), "the rack's backup of COM1 is listed: %r" % items)
    press(find(dialog, "push button", "Cancel"))
    wait_for(lambda: app_window(app, "Restore Backup") is None, "the dialog to close")
