#!/usr/bin/python3
"""The running clock as a screen reader meets it over AT-SPI.

Run on the clock's display and session bus (DISPLAY, DBUS_SESSION_BUS_ADDRESS) with
the clock started under QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Checks the clock window
and its strip buttons, opens the settings dialog through the Settings button's press
action, then selects every tab by its action, a key and the wheel, and checks the
events, states and that every field of every page is reached from the application,
named by its label; then turns pages with Ctrl+Page Down from a field and with a
tab's access key, each leading the keyboard into the page. Prints each fault
and exits with 1 when there is any.

Usage: atspi_walk.py LANGUAGE CLOCKNAME [--minute | --alert CAPTION]
       atspi_walk.py LANGUAGE CLOCKNAME --press-move | --move-absent
  --minute also waits for the next minute twice, with the dialog in front and with
  the clock focused, and checks that only the second change comes with an event.
  --alert only waits for the notice CAPTION of a due alarm and checks its role.
  --press-move only presses the clock's Move button, once the window manager can
  take the move; --move-absent only checks that Move offers nothing to press.
"""

import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

TEXTS = {
    "en": {
        "buttons": ["Close", "Settings", "Move"],
        "tabs": ["General", "Appearance", "Clocks", "Alarms"],
        "date": r"(Mon|Tues|Wednes|Thurs|Fri|Satur|Sun)day",
        "dialog": "Ovra Clock Configuration",
        # Fields of each page, as their labels name them.
        "fields": [
            ["Clock Always On Top", "Time Standard"],
            ["Hour Circle Width(10 ~ 50)"],
            ["Find a Place", "Select Time Zone", "Display Name"],
            ["Alarm Time (H)", "Alarm Time (M)", "Action", "Sound", "Playtime"],
        ],
        "clocks_key": "alt+c",
    },
    "de": {
        "buttons": ["Schließen", "Einstellungen", "Verschieben"],
        "tabs": ["Allgemein", "Darstellung", "Uhren", "Alarme"],
        "date": r"(Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag|Sonntag)",
        "dialog": "Ovra Clock – Einstellungen",
        "fields": [
            ["Uhr immer im Vordergrund", "Zeitnorm"],
            ["Breite des Stundenrings (10 ~ 50)"],
            ["Ort suchen", "Zeitzone wählen", "Anzeigename"],
            ["Alarmzeit (Std.)", "Alarmzeit (Min.)", "Aktion", "Klang", "Spieldauer"],
        ],
        "clocks_key": "alt+u",
    },
}

# Roles of the controls a user works; each must be named.
CONTROL_ROLES = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.COMBO_BOX, Atspi.Role.TEXT,
    Atspi.Role.ENTRY, Atspi.Role.LIST, Atspi.Role.PAGE_TAB_LIST, Atspi.Role.PAGE_TAB,
    Atspi.Role.SPIN_BUTTON, Atspi.Role.RADIO_BUTTON,
}

faults = []
events = []


def fault(text):
    faults.append(text)
    print("FAULT:", text, flush=True)


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(predicate, seconds=15.0):
    """Whatever predicate returns first that is true, or None when the time is up."""
    deadline = time.monotonic() + seconds
    while True:
        pump()
        try:
            value = predicate()
        except GLib.Error:
            value = None
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.1)


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def walk(node, depth=0):
    yield node, depth
    for child in children(node):
        if child is not None:
            yield from walk(child, depth + 1)


def states(node):
    return node.get_state_set()


def actions(node):
    if "Action" not in node.get_interfaces():
        return []
    return [Atspi.Action.get_action_name(node, i)
            for i in range(Atspi.Action.get_n_actions(node))]


def press(node, name="Press"):
    names = actions(node)
    if name not in names:
        fault(f"{node.get_name()!r} offers no {name} action, only {names}")
        return
    Atspi.Action.do_action(node, names.index(name))


def app():
    desktop = Atspi.get_desktop(0)
    for a in children(desktop):
        if a is not None and a.get_name() == "Ovra Clock":
            return a
    return None


def window_named(application, prefix):
    for w in children(application):
        if w is not None and (w.get_name() or "").startswith(prefix):
            return w
    return None


def on_event(event):
    try:
        events.append((event.type, event.source.get_role(), event.source.get_name(),
                       event.detail1))
    except GLib.Error:
        pass


def events_of(kind):
    return [e for e in events if e[0].startswith(kind)]


def check_clock(clock, t, clock_name):
    if clock.get_role() not in (Atspi.Role.WINDOW, Atspi.Role.FRAME):
        fault(f"the clock's role is {clock.get_role_name()}")
    expected = f"Ovra Clock – {clock_name}"
    if clock.get_name() != expected:
        fault(f"the clock is named {clock.get_name()!r}, not {expected!r}")
    description = clock.get_description()
    if not re.search(r"\b\d{1,2}:\d\d\b", description) or not re.search(t["date"], description):
        fault(f"the clock's description {description!r} gives no time and day")
    if re.search(r"\d:\d\d:\d\d", description):
        fault(f"the clock's description {description!r} has the seconds")
    buttons = children(clock)
    names = [b.get_name() for b in buttons]
    if names != t["buttons"]:
        fault(f"the strip's buttons are {names}, not {t['buttons']}")
    for b in buttons:
        if b.get_role() != Atspi.Role.PUSH_BUTTON:
            fault(f"strip button {b.get_name()!r} has the role {b.get_role_name()}")
    for b in buttons[:2]:  # Move's action depends on the window manager
        if "Press" not in actions(b):
            fault(f"strip button {b.get_name()!r} cannot be pressed: {actions(b)}")
    return buttons


def check_minute(clock, focused):
    """The next minute changes the clock's description; an event says so only while
    the clock has the keyboard."""
    if focused:
        for how in ("windowactivate", "windowfocus"):
            subprocess.run(["xdotool", "search", "--name", "^Ovra Clock \\{", how],
                           check=False)
        if not wait_for(lambda: states(clock).contains(Atspi.StateType.FOCUSED), 5):
            fault("the clock did not take the keyboard")
            return
    elif states(clock).contains(Atspi.StateType.FOCUSED):
        fault("the clock has the keyboard while its dialog is in front")
        return
    before = clock.get_description()
    events.clear()
    if not wait_for(lambda: clock.get_description() != before, 65):
        fault(f"the description stayed {before!r} over a minute")
        return
    # The clock sends the event before it answers the read that saw the change, so
    # by now it is here if it was sent at all.
    said = wait_for(lambda: [e for e in events_of("object:property-change:accessible-description")
                             if e[2] == clock.get_name()], 5 if focused else 0)
    if focused and not said:
        fault("no description event came with the next minute")
    if not focused and said:
        fault("the clock announced the minute without having the keyboard")


def page_tabs(strip):
    """The strip's tabs; the page in front follows them among its children."""
    return [c for c in children(strip) if c is not None and c.get_role() == Atspi.Role.PAGE_TAB]


def shown_controls(application):
    """Every control a screen reader reaches from the application and that is shown."""
    found = []
    for node, _ in walk(application):
        if node.get_role() in CONTROL_ROLES and states(node).contains(Atspi.StateType.SHOWING):
            found.append(node)
    return found


def focused_control(application):
    for node in shown_controls(application):
        if states(node).contains(Atspi.StateType.FOCUSED):
            return node
    return None


def check_page(application, i, t):
    """The page in front, read from the application down: every field named by its
    label, and each where its parent says it is, so "where am I" finds it."""
    controls = shown_controls(application)
    names = [(n.get_name() or "").strip() for n in controls]
    for name in t["fields"][i]:
        if name not in names:
            fault(f"page {i}: no field named {name!r} among {names}")
    for other, fields in enumerate(t["fields"]):
        for name in fields:
            if other != i and name in names:
                fault(f"page {i}: the field {name!r} of page {other} is shown too")
    for node, name in zip(controls, names):
        if not name:
            fault(f"page {i}: a {node.get_role_name()} has no name")
        parent = node.get_parent()
        index = node.get_index_in_parent()
        if parent is None or index < 0 or parent.get_child_at_index(index) != node:
            fault(f"page {i}: {name!r} is not listed by its parent")


def tab_strip(dialog):
    for node, _ in walk(dialog):
        if node.get_role() == Atspi.Role.PAGE_TAB_LIST:
            return node
    return None


def selected_tab(strip):
    for i, tab in enumerate(page_tabs(strip)):
        if states(tab).contains(Atspi.StateType.SELECTED):
            return i
    return -1


def check_switch(strip, how, act, expected):
    t_tabs = [tab.get_name() for tab in page_tabs(strip)]
    events.clear()
    act()
    if wait_for(lambda: selected_tab(strip) == expected, 5) is None:
        fault(f"{how}: tab {selected_tab(strip)} is selected, not {expected}")
    if not wait_for(lambda: [e for e in events_of("object:state-changed:selected")
                             if e[2] == t_tabs[expected] and e[3] == 1], 5):
        fault(f"{how}: no selected-state event from tab {expected}")


def check_tabs(application, dialog, t):
    strip = tab_strip(dialog)
    if strip is None:
        fault("the dialog has no page-tab list")
        return
    tabs = page_tabs(strip)
    names = [tab.get_name() for tab in tabs]
    if names != t["tabs"]:
        fault(f"the tabs are {names}, not {t['tabs']}")
    for i, tab in enumerate(tabs):
        if tab.get_role() != Atspi.Role.PAGE_TAB:
            fault(f"tab {i} has the role {tab.get_role_name()}")
        if states(tab).contains(Atspi.StateType.SELECTED) != (i == 0):
            fault(f"tab {i} selected: {states(tab).contains(Atspi.StateType.SELECTED)}")
        if not states(tab).contains(Atspi.StateType.SELECTABLE):
            fault(f"tab {i} is not selectable")
    if not wait_for(lambda: states(tabs[0]).contains(Atspi.StateType.FOCUSED), 5):
        fault("the first tab does not have the focus when the dialog opens")

    # Every page, selected by its tab's action, read from the application down.
    for i, tab in enumerate(tabs):
        if i:
            check_switch(strip, f"the press action of tab {i}", lambda: press(tab), i)
        check_page(application, i, t)

    # By key and by wheel, as a user switches pages.
    subprocess.run(["xdotool", "search", "--name", "^" + re.escape(t["dialog"]),
                    "windowactivate", "--sync"], check=False)
    press(tabs[0])
    wait_for(lambda: selected_tab(strip) == 0, 5)
    check_switch(strip, "the Right key", lambda: subprocess.run(["xdotool", "key", "Right"]), 1)
    ext = Atspi.Component.get_extents(tabs[1], Atspi.CoordType.SCREEN)
    subprocess.run(["xdotool", "mousemove", str(ext.x + ext.width // 2),
                    str(ext.y + ext.height // 2)], check=False)
    check_switch(strip, "the wheel", lambda: subprocess.run(["xdotool", "click", "5"]), 2)

    # With the keyboard in a field: Ctrl+Page Down turns the page and leads into it,
    # and a tab's access key does the same.
    press(tabs[0])
    wait_for(lambda: selected_tab(strip) == 0, 5)
    subprocess.run(["xdotool", "key", "Tab"], check=False)
    field = wait_for(lambda: focused_control(application), 5)
    if field is None or field.get_name() not in t["fields"][0]:
        fault(f"Tab from the strip reached {field and field.get_name()!r}, not a field of page 0")
    check_switch(strip, "Ctrl+Page Down in a field",
                 lambda: subprocess.run(["xdotool", "key", "ctrl+Next"]), 1)
    field = wait_for(lambda: focused_control(application), 5)
    if field is None or field.get_name() not in t["fields"][1]:
        fault(f"after Ctrl+Page Down the keyboard is on {field and field.get_name()!r}")
    check_switch(strip, "the clocks tab's access key",
                 lambda: subprocess.run(["xdotool", "key", t["clocks_key"]]), 2)
    field = wait_for(lambda: focused_control(application), 5)
    if field is None or field.get_name() != t["fields"][2][0]:
        fault(f"after the access key the keyboard is on {field and field.get_name()!r}")

    # Typing in "Find a Place": the match the arrow keys reach is announced.
    events.clear()
    subprocess.run(["xdotool", "type", "--delay", "60", "kath"], check=False)
    subprocess.run(["xdotool", "key", "Down"], check=False)
    if not wait_for(lambda: [e for e in events_of("object:state-changed:focused")
                             if "Kathmandu" in (e[2] or "") and e[3] == 1], 5):
        fault("the place found by typing is not announced: "
              f"{[e for e in events if 'focused' in e[0]]}")
    subprocess.run(["xdotool", "key", "Escape"], check=False)


def check_alert(application, caption):
    """A due alarm's notice: an alert named by its caption."""
    notice = wait_for(lambda: window_named(application, caption), 20)
    if notice is None:
        fault(f"no window {caption!r} among {[w.get_name() for w in children(application)]}")
    elif notice.get_role() != Atspi.Role.ALERT:
        fault(f"the notice {caption!r} has the role {notice.get_role_name()}, not alert")
    print(f"{len(faults)} fault(s)", flush=True)
    return 1 if faults else 0


def check_move(clock, t, pressed):
    """The Move button is pressed, or found to offer no action."""
    buttons = children(clock)
    move = buttons[2] if len(buttons) == 3 else None
    if move is None or move.get_name() != t["buttons"][2]:
        fault(f"no {t['buttons'][2]!r} button among {[b.get_name() for b in buttons]}")
    elif not pressed and actions(move):
        fault(f"Move offers {actions(move)} where no window manager can move by the keys")
    elif pressed:
        press(move)


def main():
    language, clock_name = sys.argv[1], sys.argv[2]
    t = TEXTS[language]
    listener = Atspi.EventListener.new(on_event)
    for kind in ("object:state-changed:selected", "object:property-change:accessible-description",
                 "object:state-changed:focused"):
        listener.register(kind)

    application = wait_for(app, 20)
    if application is None:
        fault("no application 'Ovra Clock' on the accessibility bus")
        return 1
    if "--alert" in sys.argv:
        return check_alert(application, sys.argv[sys.argv.index("--alert") + 1])
    clock = wait_for(lambda: window_named(application, "Ovra Clock – "), 10)
    if clock is None:
        fault(f"no clock window among {[w.get_name() for w in children(application)]}")
        return 1
    if "--press-move" in sys.argv or "--move-absent" in sys.argv:
        check_move(clock, t, "--press-move" in sys.argv)
        return 1 if faults else 0
    buttons = check_clock(clock, t, clock_name)

    # The Settings button's press action opens the dialog, as a click does.
    if len(buttons) > 1:
        press(buttons[1])
    dialog = wait_for(lambda: window_named(application, t["dialog"]), 10)
    if dialog is None:
        fault("pressing Settings opened no dialog")
    else:
        check_tabs(application, dialog, t)
        if "--minute" in sys.argv:
            check_minute(clock, focused=False)
            # OK closes the dialog, so that the window manager lets the clock have
            # the keyboard.
            ok = [n for n, _ in walk(dialog)
                  if n.get_role() == Atspi.Role.PUSH_BUTTON and n.get_name() == "OK"]
            if ok:
                press(ok[0])
            if not wait_for(lambda: window_named(application, t["dialog"]) is None, 10):
                fault("OK did not close the dialog")
            check_minute(clock, focused=True)
    print(f"{len(faults)} fault(s)", flush=True)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
