"""Drives the running app through its accessibility tree, as a screen-reader user or a keyboard
user would: controls are found by their role and accessible name, pressed through their AT-SPI
actions, and typed into with synthesised key events.

Roles are AT-SPI role names as strings ("push button", "text", "heading", "list item", "menu",
"menu item", "dialog"), or a tuple of them for "any of these"; names match exactly, or as a
regular expression when given compiled.
"""

import os
import re
import subprocess
import warnings

from .waiting import Timeout, wait_until

DEFAULT_TIMEOUT = 30.0
# However long the server keeps making progress, no one wait lasts longer.
PROGRESS_LIMIT = 600.0

# Action names that mean "activate" in Qt's bridge and elsewhere, best first.
_ACTIVATE = ("press", "click", "activate", "toggle", "showmenu", "jump")
_TEXT_ROLES = ("text", "entry", "password text")

# The typelib marks the interface getters deprecated without offering others in their place.
warnings.filterwarnings("ignore", r"Atspi\..* is deprecated", DeprecationWarning)


def _atspi():
    # Imported late: libatspi reads DISPLAY and the session bus address on first use.
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi
    return Atspi


class UI:
    def __init__(self, process, screenshot_dir, display, timeout=DEFAULT_TIMEOUT, progress=None):
        self.process = process
        # With it, a wait's timeout counts from the server's last progress (waiting.wait_until),
        # up to PROGRESS_LIMIT in all.
        self.progress = progress
        self.screenshot_dir = screenshot_dir
        self.display = display
        self.timeout = timeout
        self._app = None
        self._shots = 0
        os.makedirs(screenshot_dir, exist_ok=True)

    # -- finding --------------------------------------------------------------------------------

    @property
    def app(self):
        """The app's accessible application object, found by the process id."""
        if self._app is None:
            Atspi = _atspi()

            def lookup():
                desktop = Atspi.get_desktop(0)
                for i in range(desktop.get_child_count()):
                    child = desktop.get_child_at_index(i)
                    if child is not None and child.get_process_id() == self.process.pid:
                        return child
                return None

            self._app = self._wait(lookup, "the app on the accessibility bus")
            # Read names and states afresh each time: they change under the scenario.
            self._app.set_cache_mask(Atspi.Cache.NONE)
        return self._app

    def find_all(self, role=None, name=None, within=None, showing=True):
        """Every element under `within` (the app) with the role and name, in tree order."""
        found = []
        self._walk(within or self.app, lambda node: self._matches(node, role, name, showing), found)
        return found

    def find(self, role=None, name=None, within=None, showing=True):
        """The first matching element, or None."""
        matches = self.find_all(role, name, within, showing)
        return matches[0] if matches else None

    def wait_for(self, role=None, name=None, within=None, timeout=None, showing=True):
        """The first matching element once there is one."""
        return self._wait(lambda: self.find(role, name, within, showing),
                          _describe(role, name), timeout)

    def wait_for_any(self, candidates, timeout=None):
        """(index, element) of the first of several (role, name) pairs to appear."""
        def first():
            for index, (role, name) in enumerate(candidates):
                element = self.find(role, name)
                if element is not None:
                    return index, element
            return None
        return self._wait(first, " or ".join(_describe(r, n) for r, n in candidates), timeout)

    def wait_gone(self, role=None, name=None, timeout=None):
        self._wait(lambda: self.find(role, name) is None, "%s to go away" % _describe(role, name), timeout)

    def wait_until(self, condition, what, timeout=None, follow_progress=True):
        """`follow_progress` False: `timeout` is a bound in itself, however the server is doing."""
        return self._wait(condition, what, timeout, follow_progress)

    # -- acting ---------------------------------------------------------------------------------

    def press(self, role, name=None, within=None, timeout=None):
        """Finds an enabled control and runs its activating action; the control pressed."""
        def ready():
            element = self.find(role, name, within)
            return element if element is not None and self.is_enabled(element) else None
        element = self._wait(ready, "%s, enabled" % _describe(role, name), timeout)
        self.activate(element)
        return element

    def activate(self, element):
        action = element.get_action_iface()
        if action is None:
            raise AssertionError("%s has no actions" % self.describe(element))
        names = [action.get_action_name(i).lower() for i in range(action.get_n_actions())]
        for wanted in _ACTIVATE:
            if wanted in names:
                action.do_action(names.index(wanted))
                return
        raise AssertionError("%s has no activating action (has %s)" % (self.describe(element), names))

    def focus(self, element):
        component = element.get_component_iface()
        if component is None or not component.grab_focus():
            raise AssertionError("cannot focus %s" % self.describe(element))
        self._wait(lambda: self.has_state(element, "focused"), "focus on %s" % self.describe(element))

    def fill(self, name, text, within=None, timeout=None):
        """Types `text` into the text field called `name`, replacing what it holds."""
        element = self._wait(lambda: self.text_field(name, within), "a text field %r" % name, timeout)
        self.focus(element)
        self.key("ctrl+a")
        self.key("BackSpace")
        self.type_text(text)
        # Password fields expose bullets, so only the length can be checked there.
        self._wait(lambda: len(self.text(element)) == len(text), "%r to hold the typed text" % name)
        return element

    def text_field(self, name, within=None):
        """The text field called `name`, or None. A field published without a name (Qt's bridge
        withholds a password field's; Qt's own file dialog names none) is the one that follows its
        label "name"."""
        for role in _TEXT_ROLES:
            element = self.find(role, name, within)
            if element is not None:
                return element
        label_seen = False
        for node in self._all_showing(within):
            role = node.get_role_name()
            if role == "label" and node.get_name() == name:
                label_seen = True
            elif label_seen and role in _TEXT_ROLES and not node.get_name():
                return node
        return None

    def type_text(self, text):
        """Types into the focused control, one key event per character."""
        Atspi = _atspi()
        for char in text:
            Atspi.generate_keyboard_event(0, char, Atspi.KeySynthType.STRING)

    def key(self, combo):
        """Presses a key with modifiers held, "ctrl+1", "Return", "Escape", "ctrl+shift+Tab"."""
        Atspi = _atspi()
        *modifiers, key = combo.split("+")
        mask = 0
        for modifier in modifiers:
            mask |= _MODIFIER_MASKS[modifier.lower()]
        if mask:
            Atspi.generate_keyboard_event(mask, None, Atspi.KeySynthType.LOCKMODIFIERS)
        try:
            keysym = _keysym(key)
            Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
        finally:
            if mask:
                Atspi.generate_keyboard_event(mask, None, Atspi.KeySynthType.UNLOCKMODIFIERS)

    # -- reading --------------------------------------------------------------------------------

    def text(self, element):
        iface = element.get_text_iface()
        if iface is None:
            return element.get_name() or ""
        return iface.get_text(0, iface.get_character_count()) or ""

    def has_state(self, element, state):
        Atspi = _atspi()
        value = getattr(Atspi.StateType, state.upper().replace(" ", "_"))
        return element.get_state_set().contains(value)

    def is_enabled(self, element):
        return self.has_state(element, "enabled") and self.has_state(element, "sensitive")

    def describe(self, element):
        try:
            return "%s %r" % (element.get_role_name(), element.get_name())
        except Exception:  # noqa: BLE001 - the element may be gone
            return "<gone>"

    def screenshot(self, label):
        """Saves the whole screen as "NN-label.png" in the screenshot dir once two captures in a
        row agree (the last change has reached the screen); the file's path."""
        self._shots += 1
        path = os.path.join(self.screenshot_dir, "%02d-%s.png" % (self._shots, label))
        previous = [None]

        def settled():
            image = subprocess.run(["import", "-display", self.display, "-window", "root", "png:-"],
                                   check=True, capture_output=True, timeout=30).stdout
            same = image == previous[0]
            previous[0] = image
            return same
        try:
            wait_until(settled, 5.0, "the screen to settle")
        except Timeout:
            pass  # an animation that never stops: keep the last capture
        with open(path, "wb") as f:
            f.write(previous[0])
        return path

    def choose(self, role, name, timeout=None):
        """Picks a control the way a keyboard user does: focus it, then Space."""
        element = self.wait_for(role, name, timeout=timeout)
        self.focus(element)
        self.key("space")
        return element

    def dump_tree(self, within=None):
        """The accessibility tree as indented lines: role, name, description and notable states."""
        lines = []
        notable = ("focused", "selected", "checked", "showing")

        def visit(node, depth):
            try:
                states = [s for s in notable if self.has_state(node, s)]
                if not self.is_enabled(node):
                    states.append("disabled")
                description = node.get_description()
                line = "%s%s %r" % ("  " * depth, node.get_role_name(), node.get_name())
                if description:
                    line += " — %s" % description
                if states:
                    line += " [%s]" % ", ".join(states)
                lines.append(line)
                for i in range(node.get_child_count()):
                    child = node.get_child_at_index(i)
                    if child is not None:
                        visit(child, depth + 1)
            except Exception as error:  # noqa: BLE001 - a dump must survive a changing tree
                lines.append("%s<unreadable: %s>" % ("  " * depth, error))

        visit(within or self.app, 0)
        return "\n".join(lines)

    # -- internals ------------------------------------------------------------------------------

    def _wait(self, condition, what, timeout=None, follow_progress=True):
        return wait_until(condition, timeout or self.timeout, what,
                          abort=lambda: self.process.poll() is not None,
                          progress=self.progress if follow_progress else None, limit=PROGRESS_LIMIT)

    def _matches(self, node, role, name, showing):
        if role is not None:
            actual_role = node.get_role_name()
            if actual_role not in role if isinstance(role, tuple) else actual_role != role:
                return False
        if name is not None:
            actual = node.get_name() or ""
            if isinstance(name, re.Pattern):
                if not name.search(actual):
                    return False
            elif actual != name:
                return False
        return not showing or self.has_state(node, "showing")

    def _all_showing(self, within=None):
        found = []
        self._walk(within or self.app, lambda node: self.has_state(node, "showing"), found)
        return found

    def _walk(self, node, predicate, found):
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is None:
                continue
            if predicate(child):
                found.append(child)
            self._walk(child, predicate, found)


_MODIFIER_MASKS = {"shift": 1 << 0, "ctrl": 1 << 2, "control": 1 << 2, "alt": 1 << 3, "super": 1 << 6}


def _keysym(key):
    if len(key) == 1:
        return ord(key)  # Latin-1 keysyms equal their code points
    named = {"Return": 0xFF0D, "Escape": 0xFF1B, "Tab": 0xFF09, "BackSpace": 0xFF08, "Delete": 0xFFFF,
             "Up": 0xFF52, "Down": 0xFF54, "Left": 0xFF51, "Right": 0xFF53, "Home": 0xFF50,
             "End": 0xFF57, "space": 0x20, "F10": 0xFFC7}
    if key not in named:
        raise ValueError("unknown key %r" % key)
    return named[key]


def _describe(role, name):
    what = " or ".join(role) if isinstance(role, tuple) else role or "element"
    if isinstance(name, re.Pattern):
        return "%s matching /%s/" % (what, name.pattern)
    return "%s %r" % (what, name) if name is not None else what
