# SPDX-License-Identifier: GPL-3.0-or-later
"""The channel grid as a screen reader reads it through AT-SPI.

Run by atspi_grid_test.sh inside a private D-Bus session. Starts its own X
display (Xvfb) and AT-SPI bus, makes a channel data file with z-lm5-cli,
opens it in z-lm5, gives its window the keyboard (xdotool) and reads the window the way Orca does: the application,
its frame and menu bar, the grid as a table of 128 channels whose cell
(channel 3, Rx Tone) says what `z-lm5-cli grid` prints, and the focus
events one arrow key sends (one, on the next cell).

The window runs on Qt's xcb platform: the offscreen platform, that the
in-process tests use, has no AT-SPI bridge (the application never appears
on the bus).

Every wait returns as soon as what it waits for is there; its bound
(WAIT_SECONDS) is only there so that a broken bridge ends the test instead
of hanging it. Exit codes: 0 passed, 1 failed, 77 skipped (the set-up is
missing a piece; the message says which).
"""

import os
import select
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Gio, GLib

# Long enough for a loaded machine to start a Qt program; a wait that
# succeeds returns at once.
WAIT_SECONDS = 120
POLL_SECONDS = 0.05

SKIPPED = 77

# X key symbols of the arrow keys.
KEYSYM_LEFT = 0xFF51
KEYSYM_UP = 0xFF52
KEYSYM_RIGHT = 0xFF53
KEYSYM_DOWN = 0xFF54

RX_TONE_HEADER = "Rx Tone"
CLI_RX_TONE_FIELD = 3  # z-lm5-cli grid: CH, Receive, Transmit, Rx Tone, ...


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Session:
    """The processes the test starts; all are ended when it ends."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.processes = []

    def start(self, name, args, **kwargs):
        log = open(os.path.join(self.workdir, name + ".log"), "wb")
        process = subprocess.Popen(args, stdout=log, stderr=subprocess.STDOUT, **kwargs)
        self.processes.append((name, process, log))
        return process

    def log_of(self, name):
        with open(os.path.join(self.workdir, name + ".log"), "rb") as log:
            return log.read().decode("utf-8", "replace")

    def end(self):
        for _, process, log in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            log.close()


def pump():
    """Lets libatspi deliver what has arrived on the bus."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, probe, alive=None):
    """Returns probe()'s first true value; fails after WAIT_SECONDS."""
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        pump()
        if alive is not None:
            alive()
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("no %s after %d s" % (what, WAIT_SECONDS))
        time.sleep(POLL_SECONDS)


def start_display(session):
    """Starts Xvfb on a free display number and returns ":N"."""
    read_end, write_end = os.pipe()
    session.start(
        "xvfb",
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_end,),
    )
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + WAIT_SECONDS
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            os.close(read_end)
            raise Skip("Xvfb did not start: " + session.log_of("xvfb").strip())
        number += chunk
    os.close(read_end)
    return ":" + number.decode().strip()


def start_accessibility_bus(session):
    """Starts the AT-SPI bus launcher on this display and waits until it
    gives the bus's address. The launcher is ours, not one that D-Bus
    would start on demand without the display (the registry it starts
    generates the key presses on the display)."""
    launcher = session.start("at-spi-bus-launcher",
                             [os.environ["ZLM5_ATSPI_BUS_LAUNCHER"], "--launch-immediately"])
    connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def address():
        try:
            reply = connection.call_sync(
                "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                None, GLib.VariantType.new("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 5000, None)
        except GLib.Error:
            return None
        return reply.unpack()[0]

    def running():
        if launcher.poll() is not None:
            raise Failure("the AT-SPI bus launcher ended with %d" % launcher.returncode)

    try:
        return wait_for("answer from the AT-SPI bus", address, running)
    except Failure as failure:
        raise Skip("the accessibility bus did not come up (%s): %s"
                   % (failure, session.log_of("at-spi-bus-launcher").strip()))


def cli(cli_path, *args):
    result = subprocess.run([cli_path, *args], capture_output=True, text=True)
    check(result.returncode == 0,
          "z-lm5-cli %s ended with %d: %s" % (" ".join(args), result.returncode, result.stderr))
    return result.stdout


def find(node, role, depth=12):
    """The first descendant of node with the given role, depth first."""
    if depth < 0 or node is None:
        return None
    try:
        if node.getRole() == role:
            return node
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # an object that went away while we looked
        return None
    for child in children:
        found = find(child, role, depth - 1)
        if found is not None:
            return found
    return None


def application_of(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def describe(accessible):
    try:
        return "%s %r" % (accessible.getRoleName(), accessible.name)
    except Exception:
        return "(gone)"


def open_window(session, z_lm5, channel_file):
    """Starts z-lm5 on channel_file; returns its process, its AT-SPI
    application and frame, and a probe that fails once the process ended."""
    config = os.path.join(session.workdir, "config")
    env = dict(os.environ)
    env.update({
        "QT_QPA_PLATFORM": "xcb",
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        "QT_ACCESSIBILITY": "1",
        "LC_ALL": "C.UTF-8",
        "LANGUAGE": "",
        "XDG_CONFIG_HOME": config,
        "XDG_DATA_HOME": os.path.join(session.workdir, "data"),
        "XDG_CACHE_HOME": os.path.join(session.workdir, "cache"),
        "HOME": session.workdir,
    })
    window = session.start("z-lm5", [z_lm5, channel_file], env=env)

    def alive():
        if window.poll() is not None:
            raise Failure("z-lm5 ended with %d before it could be read: %s"
                          % (window.returncode, session.log_of("z-lm5")))

    app = wait_for("application of z-lm5 on the AT-SPI bus", lambda: application_of(window.pid), alive)
    frame = wait_for("frame in z-lm5's application", lambda: find(app, pyatspi.ROLE_FRAME, 1), alive)
    activate(window.pid, frame, alive)
    return window, app, frame, alive


def activate(pid, frame, alive):
    """Gives the window the keyboard, as a window manager does when the
    user switches to it. The private display has no window manager, and
    the window does not take the X input focus by itself."""

    def windows():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                               capture_output=True, text=True)
        return found.stdout.split()

    for window_id in wait_for("visible X window of z-lm5", windows, alive):
        subprocess.run(["xdotool", "windowfocus", window_id], check=True)
    wait_for("active state of z-lm5's frame",
             lambda: frame.getState().contains(pyatspi.STATE_ACTIVE), alive)


def check_menu_bar(frame):
    menu_bar = find(frame, pyatspi.ROLE_MENU_BAR)
    check(menu_bar is not None, "the window has no menu bar")
    names = [menu_bar.getChildAtIndex(i).name for i in range(menu_bar.childCount)]
    print("menu bar:", names)
    expected = ["File", "Edit", "Program", "Port", "View", "Help"]
    check(names == expected, "the menu bar reads %r, not %r" % (names, expected))


# z-lm5-cli grid prints its fields in the order of the grid's columns.
CLI_HEADERS = ["CH", "Receive(MHz)", "Transmit(MHz)", "Rx Tone", "Tx Tone", "W/N", "Scan",
               "Tx Power", "Opt Signal", "PTTID", "BusyLock", "Name"]


def column_headers(table):
    headers = []
    for column in range(table.nColumns):
        header = table.getColumnHeader(column)
        name = header.name if header is not None else table.getColumnDescription(column)
        headers.append(name.strip())
    return headers


def check_channel_cells(table, grid_lines):
    """Channel 3's cells read what z-lm5-cli grid prints for channel 3."""
    check(len(grid_lines) >= 128, "z-lm5-cli grid printed %d lines" % len(grid_lines))
    fields = grid_lines[2].split("\t")
    check(fields[CLI_RX_TONE_FIELD] == "67.0",
          "z-lm5-cli grid shows %r as channel 3's Rx Tone" % fields[CLI_RX_TONE_FIELD])

    headers = column_headers(table)
    print("column headers:", headers)
    check(RX_TONE_HEADER in headers, "no column is headed %r: %r" % (RX_TONE_HEADER, headers))
    # The channel numbers head the rows; the PTTID column is hidden.
    shown = [h for h in CLI_HEADERS if h not in ("CH", "PTTID")]
    check(headers == shown, "the columns are headed %r, not %r" % (headers, shown))

    row_header = table.getRowHeader(2)
    row_name = row_header.name if row_header is not None else table.getRowDescription(2)
    check(row_name == "Channel " + fields[0], "channel 3's row is headed %r" % row_name)

    row = {}
    for column, header in enumerate(headers):
        cell = table.getAccessibleAt(2, column)
        check(cell is not None, "no cell at channel 3, %s" % header)
        row[header] = cell.name
    print("channel 3:", row)
    check(row[RX_TONE_HEADER] == fields[CLI_RX_TONE_FIELD],
          "channel 3's Rx Tone reads %r, z-lm5-cli grid shows %r"
          % (row[RX_TONE_HEADER], fields[CLI_RX_TONE_FIELD]))
    for header, text in row.items():
        expected = fields[CLI_HEADERS.index(header)]
        check(text == expected, "channel 3's %s reads %r, z-lm5-cli grid shows %r" % (header, text, expected))


def cell_position(table, cell):
    """(row, column) of a cell of the table, from its index in the table."""
    index = cell.getIndexInParent()
    return table.getRowAtIndex(index), table.getColumnAtIndex(index)


class FocusRecorder:
    """Records the cells that gain focus, as Orca hears of them."""

    EVENT = "object:state-changed:focused"

    def __init__(self):
        self.gained = []
        pyatspi.Registry.registerEventListener(self.on_event, self.EVENT)

    def on_event(self, event):
        if event.detail1 == 1:
            self.gained.append(event.source)

    def stop(self):
        pyatspi.Registry.deregisterEventListener(self.on_event, self.EVENT)


def press(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def focused_cell(table):
    """(row, column) of the cell that has the focus, or None."""
    for row in range(table.nRows):
        for column in range(table.nColumns):
            cell = table.getAccessibleAt(row, column)
            if cell is not None and cell.getState().contains(pyatspi.STATE_FOCUSED):
                return row, column
    return None


def is_cell_at(table, accessible, position):
    return accessible.getRole() == pyatspi.ROLE_TABLE_CELL and cell_position(table, accessible) == position


def walk_to(table, recorder, alive, target):
    """Moves the focus with the arrow keys to the cell at target."""
    row, column = wait_for("cell of the grid with the focus", lambda: focused_cell(table), alive)
    print("focus on", describe(table.getAccessibleAt(row, column)), "at", (row, column))
    if (row, column) == target:
        return
    del recorder.gained[:]
    for _ in range(abs(target[0] - row)):
        press(KEYSYM_DOWN if target[0] > row else KEYSYM_UP)
    for _ in range(abs(target[1] - column)):
        press(KEYSYM_RIGHT if target[1] > column else KEYSYM_LEFT)
    wait_for("focus event on the cell at %r" % (target,),
             lambda: any(is_cell_at(table, c, target) for c in recorder.gained), alive)


def check_arrow_focus(table, recorder, alive):
    """From channel 2's Rx Tone, Down moves the focus once, to channel 3's
    Rx Tone, and the event names the cell by its text."""
    rx_tone = column_headers(table).index(RX_TONE_HEADER)
    walk_to(table, recorder, alive, (1, rx_tone))

    # Down, then Right. The window sends its events in the order it handles
    # the keys, so everything that came before the focus event of Right
    # came from Down.
    del recorder.gained[:]
    press(KEYSYM_DOWN)
    press(KEYSYM_RIGHT)
    below, target = (2, rx_tone), (2, rx_tone + 1)
    wait_for("focus event on the cell at %r" % (target,),
             lambda: any(is_cell_at(table, c, target) for c in recorder.gained), alive)
    seen = [cell_position(table, c) if c.getRole() == pyatspi.ROLE_TABLE_CELL else describe(c)
            for c in recorder.gained]
    names = [c.name for c in recorder.gained]
    print("focus events after Down and Right:", seen, names)
    check(seen == [below, target],
          "Down and Right from channel 2's Rx Tone gave focus events on %r, not on %r"
          % (seen, [below, target]))
    check(names[0] == "67.0", "the focus event after Down names %r, not channel 3's Rx Tone 67.0" % names[0])
    target_cell = table.getAccessibleAt(*target)
    check(names[1] == target_cell.name,
          "the focus event after Right names %r, the cell reads %r" % (names[1], target_cell.name))
    check(target_cell.getState().contains(pyatspi.STATE_FOCUSED),
          "the cell at %r had a focus event but does not say it has the focus" % (target,))


def check_grid(frame, grid_lines, recorder, alive):
    grid = find(frame, pyatspi.ROLE_TABLE)
    check(grid is not None, "the window has no table: a screen reader cannot read the grid")
    print("grid:", describe(grid))
    table = grid.queryTable()
    check(table.nRows == 128, "the grid is a table of %d rows, not 128" % table.nRows)
    check_channel_cells(table, grid_lines)
    check_arrow_focus(table, recorder, alive)


def run(z_lm5, z_lm5_cli):
    with tempfile.TemporaryDirectory(prefix="zlm5-atspi-") as workdir:
        session = Session(workdir)
        try:
            os.environ["DISPLAY"] = start_display(session)
            start_accessibility_bus(session)

            channel_file = os.path.join(workdir, "three.sin")
            cli(z_lm5_cli, "new", "-o", channel_file)
            cli(z_lm5_cli, "edit", channel_file, "3,1=146.52", "3,3=67.0")
            grid_lines = cli(z_lm5_cli, "grid", channel_file).splitlines()

            # Listening before the window starts, the window's bridge knows
            # from its first moment that a reader wants focus events.
            recorder = FocusRecorder()
            try:
                window, app, frame, alive = open_window(session, z_lm5, channel_file)
                print("frame:", describe(frame))
                check_menu_bar(frame)
                check_grid(frame, grid_lines, recorder, alive)
            finally:
                recorder.stop()
        finally:
            session.end()


def main():
    if len(sys.argv) != 3:
        print("usage: atspi_grid_test.py Z-LM5 Z-LM5-CLI", file=sys.stderr)
        return 2
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        run(sys.argv[1], sys.argv[2])
    except Skip as skip:
        print("SKIP:", skip, file=sys.stderr)
        return SKIPPED
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
