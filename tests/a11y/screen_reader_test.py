#!/usr/bin/python3
"""The input grid as a screen reader reads it, through AT-SPI: each column named by its
heading, a name cut short on screen read whole, and computed cells said to be read-only.

The program runs on a private X display and session bus with the accessibility bus of
at-spi2-core; the test reads it with pyatspi, as Orca does.
usage: screen_reader_test.py QLN QLNTOOL"""

import os
import signal
import subprocess
import sys
import tempfile
import time

LONG_NAME = ("Reading the collected letters of a long forgotten correspondent slowly "
             "with notes in the margins and an index of every person and place they name")


def daemon(arguments, env):
    """Starts a daemon that writes one line (its address or display) and returns both."""
    process = subprocess.Popen(arguments, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               env=env, text=True)
    return process, process.stdout.readline().strip()


def wait_for(find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    return None


def tables_of(node, found):
    import pyatspi
    if node is None:
        return found
    if node.getRole() == pyatspi.ROLE_TABLE:
        found.append(node)
        return found
    for i in range(node.childCount):
        tables_of(node.getChildAtIndex(i), found)
    return found


def main():
    qln, qlntool = sys.argv[1:3]
    started = []
    with tempfile.TemporaryDirectory() as home:
        try:
            return run(qln, qlntool, home, started)
        finally:
            for process in reversed(started):
                process.send_signal(signal.SIGTERM)
                process.wait(timeout=20)


def run(qln, qlntool, home, started):
    if True:
        env = dict(os.environ)
        bus, address = daemon(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env)
        started.append(bus)
        display, number = daemon(["Xvfb", "-displayfd", "1", "-nolisten", "tcp",
                                  "-screen", "0", "1280x1024x24"], env)
        started.append(display)
        plan = os.path.join(home, "plan.qln")
        env.update({"DBUS_SESSION_BUS_ADDRESS": address, "DISPLAY": ":" + number,
                    "XDG_CONFIG_HOME": os.path.join(home, "config"),
                    "XDG_DATA_HOME": os.path.join(home, "data"),
                    "XDG_RUNTIME_DIR": home,
                    "QT_QPA_PLATFORM": "xcb", "QLN_NO_SPLASH": "1", "QLN_TODAY": "20261208",
                    "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
        os.environ.update(env)
        started.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher",
                                         "--launch-immediately"], env=env,
                                        stderr=subprocess.DEVNULL))
        settings = os.path.join(home, "config", "Tarnwick Software")
        os.makedirs(settings)
        with open(os.path.join(settings, "qln.conf"), "w") as conf:
            conf.write("[datahrpl]\nlastrundate=20261207\nshldAskSrtp=0\nqlnDtFlRt=%s\n" % plan)
        subprocess.run([qlntool, "sample", "developer", plan, "--today", "2026-12-08"],
                       env=env, check=True, stdout=subprocess.DEVNULL)
        subprocess.run([qlntool, "import", plan, "--csv", "-", "--today", "2026-12-08"],
                       env=env, check=True, stdout=subprocess.DEVNULL,
                       input="date,activity,hours,kind\n2026-12-07,%s,1.5,day\n" % LONG_NAME,
                       text=True)
        started.append(subprocess.Popen([qln], env=env, stderr=subprocess.DEVNULL))
        return read_grid()


def read_grid():
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)

    def program():
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "qln":
                return app
        return None

    app = wait_for(program)
    if app is None:
        print("FAIL: the program never reached the accessibility bus")
        return 1
    grids = wait_for(lambda: [t for t in tables_of(app, []) if t.name.startswith("Input")])
    if not grids:
        print("FAIL: no table named after the input pane's title; tables: %s"
              % [t.name for t in tables_of(app, [])])
        return 1
    grid = grids[0]
    table = grid.queryTable()
    headers = {}
    for column in range(table.nColumns):
        header = table.getColumnHeader(column)
        headers[header.name if header is not None else ""] = column
    failures = []
    if "Time Parts %" not in headers:
        failures.append("no column header \"Time Parts %%\" among %s" % sorted(headers))
    name_column = headers.get("Activities")
    if name_column is None:
        failures.append("no column header \"Activities\" among %s" % sorted(headers))
    else:
        names = [table.getAccessibleAt(row, name_column).name for row in range(table.nRows)]
        row = next((r for r, n in enumerate(names) if n.endswith(LONG_NAME)), None)
        if row is None:
            failures.append("the long name is not read whole; names: %s" % names[:40])
        elif "Time Parts %" in headers:
            part = table.getAccessibleAt(row, headers["Time Parts %"])
            # As a reader finds the heading of the cell it is on.
            column = table.getColumnAtIndex(part.getIndexInParent())
            heard = "%s: %s" % (table.getColumnHeader(column).name, part.name)
            if not heard.startswith("Time Parts %: "):
                failures.append("the part cell reads as %r" % heard)
            if part.description == "read-only":
                failures.append("a time part, which takes typing, is said to be read-only")
    priority = headers.get("Current Priorities")
    if priority is not None:
        described = {table.getAccessibleAt(r, priority).description
                     for r in range(5, min(table.nRows, 12))}
        if described != {"read-only"}:
            failures.append("computed priority cells say %s" % described)
    else:
        failures.append("no column header \"Current Priorities\"")
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("The input grid reads with its headings, whole names and read-only results.")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
