"""The program on a Wayland compositor, as the smoke test (wayland_smoke.sh)
sees it from outside.

  wayland_smoke.py drive
      Works the running program through the accessibility bus (AT-SPI), as a
      screen reader's user would: the main window is there at its fixed size;
      "使い方" opens the two usage boxes, each closed with its OK button; "終了"
      ends the program. Fails naming the step that did not happen.

  wayland_smoke.py wire CLIENT_LOG APP_ID
      Reads the Wayland requests and events the program logged (WAYLAND_DEBUG)
      and checks what the compositor was told: every window's application id,
      the main window's fixed size, each window mapped (configured, then a
      buffer committed), the two usage boxes shown and taken down.

Runs on Debian's python3, whose python3-pyatspi gives the accessibility bus.
"""

import re
import sys
import time

MAIN_TITLE = "Tesserak"
USAGE_TITLE = "TSK(Tesserak)説明"
# The first words of each usage box, in the order they come.
USAGE_OPENINGS = (
    "Tesserakは１つのファイルを複数のドライブに分割して保存する為のツールです。",
    "■■注意事項■■",
)
# Each step waits at most this long for the program to answer.
STEP_SECONDS = 30


def fail(message):
    print(f"wayland_smoke: {message}", file=sys.stderr)
    sys.exit(1)


def wait_for(what, find):
    """find() until it gives something, at most STEP_SECONDS."""
    deadline = time.monotonic() + STEP_SECONDS
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail(f"no {what} within {STEP_SECONDS} s")


def drive():
    import pyatspi
    from gi.repository import GLib

    def children(node):
        # A window that goes away mid-walk leaves dead references behind.
        try:
            return [child for child in node if child is not None]
        except GLib.Error:
            return []

    def role(node):
        try:
            return node.getRoleName()
        except GLib.Error:
            return ""

    def states(node):
        try:
            return set(node.getState().getStates())
        except GLib.Error:
            return set()

    def program():
        desktop = pyatspi.Registry.getDesktop(0)
        return next((a for a in children(desktop) if a.name == "tesserak"), None)

    def windows(app, window_role, title):
        return [w for w in children(app) if role(w) == window_role and w.name == title and
                pyatspi.STATE_SHOWING in states(w)]

    def button(window, name=None):
        for node in children(window):
            if role(node) == "push button" and (name is None or node.name == name):
                return node
            found = button(node, name)
            if found is not None:
                return found
        return None

    def press(node, what):
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            fail(f"{what} offers no press (actions: {names})")
        if not action.doAction(names.index("Press")):
            fail(f"{what} refused the press")

    def usage_box(app, opening):
        for box in windows(app, "alert", USAGE_TITLE):
            texts = [n.name for n in children(box) if role(n) == "label"]
            if any(t.startswith(opening) for t in texts):
                return box
        return None

    app = wait_for("program named tesserak on the accessibility bus", program)
    main = wait_for(f"main window '{MAIN_TITLE}'",
                    lambda: next(iter(windows(app, "dialog", MAIN_TITLE)), None))
    # The template's frame has no sizing border: Qt was asked for a fixed size.
    if pyatspi.STATE_RESIZABLE in states(main):
        fail("the main window says it can be resized")
    usage = wait_for("button '使い方'", lambda: button(main, "使い方"))
    press(usage, "the button '使い方'")
    for number, opening in enumerate(USAGE_OPENINGS, start=1):
        box = wait_for(f"usage box {number} beginning '{opening}'",
                       lambda: usage_box(app, opening))
        ok = wait_for(f"button in usage box {number}", lambda: button(box))
        press(ok, f"the button '{ok.name}' of usage box {number}")
        wait_for(f"close of usage box {number}", lambda: not usage_box(app, opening))
    if windows(app, "alert", USAGE_TITLE):
        fail("a usage box is still open after the second")
    exit_button = wait_for("button '終了'", lambda: button(main, "終了"))
    press(exit_button, "the button '終了'")
    print("wayland_smoke: main window found, both usage boxes opened and closed, 終了 pressed")


# One line of libwayland's debug log: "[time] -> object@id.message(arguments)"
# for a request the program sent, without the arrow for an event it got.
LOG_LINE = re.compile(r"^\[\s*[\d.]+\]\s+(->\s+)?(\w+)@(\d+)\.(\w+)\((.*)\)\s*$")
NEW_ID = re.compile(r"new id (\w+)@(\d+)")


class Toplevel:
    """What the program told the compositor about one window."""

    def __init__(self, surface):
        self.surface = surface  # the wl_surface id
        self.title = None
        self.app_id = None
        self.min_size = None
        self.max_size = None
        self.acked = False
        self.attached = False
        self.mapped = False
        self.destroyed = False


def read_toplevels(log_path):
    """Every toplevel window of the log, in the order they were made."""
    surfaces = {}  # xdg_surface id -> wl_surface id
    by_xdg_surface = {}  # xdg_surface id -> its live Toplevel
    by_toplevel = {}  # xdg_toplevel id -> its live Toplevel
    by_surface = {}  # wl_surface id -> its live Toplevel
    toplevels = []
    with open(log_path, encoding="utf-8", errors="replace") as log:
        for line in log:
            match = LOG_LINE.match(line)
            if not match:
                continue
            sent, interface, number, message, arguments = match.groups()
            number = int(number)
            new = NEW_ID.search(arguments)
            if sent and interface == "xdg_wm_base" and message == "get_xdg_surface":
                surface = re.search(r"wl_surface@(\d+)", arguments)
                surfaces[int(new.group(2))] = int(surface.group(1))
            elif sent and interface == "xdg_surface" and message == "get_toplevel":
                window = Toplevel(surfaces.get(number))
                toplevels.append(window)
                by_toplevel[int(new.group(2))] = window
                by_xdg_surface[number] = window
                by_surface[window.surface] = window
            elif interface == "xdg_toplevel" and number in by_toplevel:
                window = by_toplevel[number]
                text = re.fullmatch(r'"(.*)"', arguments)
                size = re.fullmatch(r"(-?\d+), (-?\d+)", arguments)
                if sent and message == "set_title" and text:
                    window.title = text.group(1)
                elif sent and message == "set_app_id" and text:
                    window.app_id = text.group(1)
                elif sent and message == "set_min_size" and size:
                    window.min_size = (int(size.group(1)), int(size.group(2)))
                elif sent and message == "set_max_size" and size:
                    window.max_size = (int(size.group(1)), int(size.group(2)))
                elif sent and message == "destroy":
                    window.destroyed = True
                    del by_toplevel[number]
            elif sent and interface == "xdg_surface" and number in by_xdg_surface:
                if message == "ack_configure":
                    by_xdg_surface[number].acked = True
                elif message == "destroy":
                    window = by_xdg_surface.pop(number)
                    by_surface.pop(window.surface, None)
            elif sent and interface == "wl_surface" and number in by_surface:
                window = by_surface[number]
                if message == "attach" and window.acked and "wl_buffer@" in arguments:
                    window.attached = True
                elif message == "commit" and window.attached:
                    window.mapped = True
    return toplevels


def wire(log_path, app_id):
    toplevels = read_toplevels(log_path)
    if not toplevels:
        fail(f"the program made no window on the compositor (log {log_path})")
    for window in toplevels:
        if window.app_id != app_id:
            fail(f"window '{window.title}' announced the application id "
                 f"{window.app_id!r}, not {app_id!r}")
        if not window.mapped:
            fail(f"window '{window.title}' was never mapped (configured, then a buffer "
                 "attached and committed)")
    mains = [w for w in toplevels if w.title == MAIN_TITLE]
    if len(mains) != 1:
        fail(f"{len(mains)} windows titled '{MAIN_TITLE}', not one")
    main = mains[0]
    # A fixed size: the compositor is told the window cannot be resized (and so
    # has nothing to maximise to).
    if main.min_size is None or main.min_size != main.max_size or 0 in main.min_size:
        fail(f"the main window's sizes are min {main.min_size} and max {main.max_size}, "
             "not one fixed size")
    boxes = [w for w in toplevels if w.title == USAGE_TITLE]
    if len(boxes) != len(USAGE_OPENINGS) or not all(w.destroyed for w in boxes):
        fail(f"{len(boxes)} usage boxes shown, {sum(w.destroyed for w in boxes)} taken "
             f"down; {len(USAGE_OPENINGS)} of each expected")
    if not main.destroyed:
        fail("the main window was not taken down at the end")
    width, height = main.min_size
    print(f"wayland_smoke: {len(toplevels)} windows with application id {app_id}, "
          f"each mapped; the main window fixed at {width} x {height}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["drive"] and len(sys.argv) == 2:
        drive()
    elif sys.argv[1:2] == ["wire"] and len(sys.argv) == 4:
        wire(sys.argv[2], sys.argv[3])
    else:
        fail("usage: wayland_smoke.py drive | wire CLIENT_LOG APP_ID")
