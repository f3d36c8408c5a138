"""Drives the program through the accessibility interface (AT-SPI), as a screen reader would.

The program's session bus starts the accessibility bus on demand (its launcher is a
D-Bus activatable service; the launcher in turn starts the registry), so nothing has to
be started here: the client only has to talk to the same session bus as the program.
The AT-SPI library binds to one bus for the life of the process, so a test process
drives one Session.

Every look-up polls until a deadline, and every call to the program has a short D-Bus
timeout, so a program that hangs fails the test instead of stalling it.
"""

import os
import re
import time
import unittest
import warnings

from harness import Session

_bound_bus = None
pyatspi = None
Atspi = None

CALL_TIMEOUT_MS = 2000


def _quiet_client_library():
    # The client library wraps calls that the AT-SPI library has since deprecated; the
    # test runner resets warning filters per run, so this is done when a client is made.
    warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")
    warnings.filterwarnings("ignore", category=ImportWarning)


def _bind(session):
    """Points this process's AT-SPI client at the session's bus (once per process)."""
    global _bound_bus, pyatspi, Atspi
    if _bound_bus is not None:
        if _bound_bus != session.bus_address:
            raise RuntimeError("the AT-SPI client is already bound to another session's bus")
        return
    if not os.path.exists("/usr/share/dbus-1/services/org.a11y.Bus.service"):
        raise RuntimeError("the accessibility bus launcher is not installed (at-spi2-core)")
    # The library finds the accessibility bus through the X root window or the session bus.
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = session.bus_address
    os.environ["DISPLAY"] = session.display_name
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi as atspi_module
    import pyatspi as pyatspi_module
    pyatspi, Atspi = pyatspi_module, atspi_module
    pyatspi.setTimeout(CALL_TIMEOUT_MS, 15000)
    _bound_bus = session.bus_address


def poll(look, timeout, what):
    """The first true result of look(); errors from the bus count as 'not yet'."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = look()
            if value:
                return value
        except Exception as error:  # the bus reports a vanished or busy object as an error
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise TimeoutError(f"timed out waiting for {what}{detail}")
        time.sleep(0.1)


def children(accessible):
    result = []
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            result.append(child)
    return result


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


def role_name(accessible):
    return accessible.getRoleName()


def has_state(accessible, state):
    return accessible.getState().contains(state)


def interfaces(accessible):
    return set(pyatspi.utils.listInterfaces(accessible))


def action_names(accessible):
    if "Action" not in interfaces(accessible):
        return []
    action = accessible.queryAction()
    return [action.getName(index) for index in range(action.nActions)]


class Client:
    """An assistive-technology client on a Session's desktop."""

    def __init__(self, session, timeout=10.0):
        _quiet_client_library()
        _bind(session)
        self.session = session
        self.timeout = timeout
        self.pyatspi = pyatspi

    # -- finding things ---------------------------------------------------------------
    def application(self, name="alarmclock", timeout=None):
        def look():
            desktop = pyatspi.Registry.getDesktop(0)
            for app in children(desktop):
                if app.name == name:
                    # Read everything from the program itself, never from a stale cache.
                    Atspi.Accessible.set_cache_mask(app, Atspi.Cache.NONE)
                    return app
            return None

        return poll(look, timeout or self.timeout, f"the application {name!r} on the desktop")

    def window(self, app, title, timeout=None):
        """A showing top-level window of the application, by exact title or a regex."""
        matches = title.search if isinstance(title, re.Pattern) else title.__eq__

        def look():
            for window in children(app):
                if matches(window.name) and has_state(window, pyatspi.STATE_SHOWING):
                    return window
            return None

        return poll(look, timeout or self.timeout, f"a window titled {title!r}")

    def control(self, parent, role, name, timeout=None):
        """The first descendant with this role and exact name."""
        def look():
            for accessible in descendants(parent):
                if accessible.getRole() == role and accessible.name == name:
                    return accessible
            return None

        return poll(look, timeout or self.timeout,
                    f"a {getattr(role, 'value_nick', role)} named {name!r}")

    # -- operating things -------------------------------------------------------------
    def press(self, accessible):
        """Runs the control's press (or click) action, as a screen reader's 'activate' does."""
        action = accessible.queryAction()
        for index in range(action.nActions):
            if action.getName(index).lower() in ("press", "click", "activate"):
                if not action.doAction(index):
                    raise RuntimeError(f"the program refused to press {accessible.name!r}")
                return
        raise RuntimeError(f"{accessible.name!r} offers no press action: {action_names(accessible)}")

    def set_text(self, field, text):
        """Replaces a text field's contents and waits until the field reports them."""
        field.queryEditableText().setTextContents(text)
        poll(lambda: self.text_of(field) == text, self.timeout,
             f"the field {field.name!r} to hold {text!r}")

    @staticmethod
    def text_of(field):
        return field.queryText().getText(0, -1)


MAIN_TITLE = re.compile(r"\[Hozel\] Ver8\.1\[win8\.1\]$")


class ProgramTest(unittest.TestCase):
    """One running program per test class, looked at through AT-SPI.

    A class sets FAKE_TIME to start the wall clock there, and LISTEN_FOR_BELLS to hear
    the X server's bells; prepare() runs once the main window is found.
    """

    FAKE_TIME = None
    LISTEN_FOR_BELLS = False

    @classmethod
    def setUpClass(cls):
        cls.session = Session(os.environ.get("CLOCK_PROGRAM", ""), fake_time=cls.FAKE_TIME)
        cls.session.__enter__()
        try:
            if cls.LISTEN_FOR_BELLS:
                cls.bells = cls.session.listen_for_bells()
            cls.atspi = Client(cls.session)
            cls.app = cls.atspi.application("alarmclock")
            cls.main = cls.atspi.window(cls.app, MAIN_TITLE)
            cls.prepare()
        except BaseException:
            cls.session.close()
            raise

    @classmethod
    def prepare(cls):
        pass

    @classmethod
    def tearDownClass(cls):
        cls.session.close()
