"""Every window, menu item and control is reachable through AT-SPI under a meaningful name.

The program runs on its own X server and is looked at only as a screen reader sees it:
buttons and menu items by their captions, labels by their text, input fields by what
they hold. Fields must take text through the accessibility interface, and buttons and
menu items must offer a press action.
"""

import collections
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from accessibility import ProgramTest, action_names, children, descendants, interfaces  # noqa: E402

MAIN_TITLE = re.compile(r"^\d{4}/\d\d/\d\d \d+:\d\d:\d\d     \[Hozel\] Ver8\.1\[win8\.1\]$")
MENU = ["アラーム間隔設定", "発表アラーム", "アラーム時刻設定", "アラームOFF", "終了"]

LABEL, FIELD, BUTTON = "label", "field", "push button"

# What each dialog holds: (role, accessible name) of every control. The empty label of
# the alarm time dialog is its notice, blank until the alarm time.
DIALOGS = {
    "アラーム時刻設定": ("アラーム時刻設定 Ver.10", [
        (LABEL, "アラーム時刻設定"),
        (FIELD, "アラーム時刻 時"), (LABEL, "時"),
        (FIELD, "アラーム時刻 分"), (LABEL, "分"),
        (BUTTON, "時刻設定"),
        (LABEL, ""),
    ]),
    "アラーム間隔設定": ("時間間隔Ver.10", [
        (LABEL, "アラーム間隔設定"),
        (FIELD, "間隔 分"), (LABEL, "分"),
        (FIELD, "間隔 秒"), (LABEL, "秒"),
        (BUTTON, "START"),
    ]),
    "発表アラーム": ("発表時間設定Ver.10", [
        (LABEL, "アラーム設定"),
        (LABEL, "１鈴目"), (FIELD, "１鈴目 分"), (LABEL, "分"), (FIELD, "１鈴目 秒"), (LABEL, "秒"),
        (LABEL, "２鈴目"), (FIELD, "２鈴目 分"), (LABEL, "分"), (FIELD, "２鈴目 秒"), (LABEL, "秒"),
        (LABEL, "３鈴目"), (FIELD, "３鈴目 分"), (LABEL, "分"), (FIELD, "３鈴目 秒"), (LABEL, "秒"),
        (BUTTON, "START"),
    ]),
}


def kind(accessible):
    role = accessible.getRoleName()
    # A single-line input field is reported as "text" or, by newer bridges, "entry".
    return FIELD if role in ("text", "entry") else role


def controls(window):
    """(role, name) of every control in the window, and the controls themselves."""
    found = [a for a in descendants(window) if kind(a) in (LABEL, FIELD, BUTTON)]
    return [(kind(a), a.name) for a in found], found


class AccessibleControls(ProgramTest):
    def test_main_window_title_is_date_time_and_product(self):
        self.assertRegex(self.main.name, MAIN_TITLE)

    def menu_items(self):
        bars = [a for a in children(self.main) if a.getRoleName() == "menu bar"]
        self.assertEqual(len(bars), 1, "the main window has no single menu bar")
        return children(bars[0])

    def assert_dialog(self, title, expected):
        window = self.atspi.window(self.app, title)
        found, accessibles = controls(window)
        self.assertEqual(collections.Counter(found), collections.Counter(expected),
                         f"controls of {title!r}")
        for (role, name), accessible in zip(found, accessibles):
            if role == BUTTON:
                self.assertIn("press", [n.lower() for n in action_names(accessible)],
                              f"button {name!r} of {title!r} cannot be pressed")
            if role == FIELD:
                self.assertIn("EditableText", interfaces(accessible),
                              f"field {name!r} of {title!r} cannot be edited")
        return window, accessibles

    def test_1_main_window_menu_bar(self):
        items = self.menu_items()
        self.assertEqual([item.name for item in items], MENU)
        for item in items:
            self.assertEqual(item.getRoleName(), "menu item", item.name)
            self.assertEqual(item.childCount, 0, f"{item.name!r} opens a submenu")
            self.assertIn("press", [n.lower() for n in action_names(item)],
                          f"menu item {item.name!r} cannot be pressed")

    def test_2_start_up_dialog_has_empty_fields(self):
        title, expected = DIALOGS["アラーム時刻設定"]
        _, accessibles = self.assert_dialog(title, expected)
        fields = [a for a in accessibles if kind(a) == FIELD]
        self.assertEqual([self.atspi.text_of(f) for f in fields], ["", ""])

    def test_3_each_menu_item_shows_its_dialog_with_named_controls(self):
        items = {item.name: item for item in self.menu_items()}
        for caption, (title, expected) in DIALOGS.items():
            with self.subTest(dialog=title):
                self.atspi.press(items[caption])
                _, accessibles = self.assert_dialog(title, expected)
                # Every field takes text from an assistive technology and reports it back.
                for field in (a for a in accessibles if kind(a) == FIELD):
                    self.atspi.set_text(field, "12")
                    self.atspi.set_text(field, "")
        # The three dialogs are now open together with the main window.
        titles = {window.name for window in children(self.app)}
        self.assertTrue({title for title, _ in DIALOGS.values()} <= titles, titles)


if __name__ == "__main__":
    unittest.main()
