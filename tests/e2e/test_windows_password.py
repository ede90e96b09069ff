"""The start password prompt of a Windows package under Wine: a fixed dialog with a masked edit that
closes itself on the key release that makes the text the password; Enter and Escape do nothing, and
the close box ends the program with 0."""
import time

import pytest

from winapp import CLOSE, win, wine_prefix  # noqa: F401  (fixtures)

NAME = "Locked App"
TITLE = f"^{NAME}$"
# Long enough for the prompt to have handled keys sent before it.
SETTLE = 0.5


def start(win):
    package = win.pack(name=NAME, settings={"Password": "Secret"})
    return win.start(package, messages=[CLOSE])


def prompt_of(win):
    window = win.desktop.wait_window(TITLE, timeout=60)
    win.desktop._run("xdotool", "windowactivate", "--sync", str(window))
    return window


def xdo(win, *args):
    win.desktop._run("xdotool", *map(str, args))


def still_open(win, proc):
    time.sleep(SETTLE)
    return proc.poll() is None and not win.events("environment")


def test_prompt_is_a_fixed_dialog_with_the_asked_client_size(win):
    proc = start(win)
    window = prompt_of(win)
    geometry = win.desktop.geometry(window)
    # X shows the client area: the frame is drawn by the program on Windows.
    assert (geometry["WIDTH"], geometry["HEIGHT"]) == (308, 71), geometry
    assert abs(geometry["X"] + 154 - 640) <= 20 and abs(geometry["Y"] + 35 - 512) <= 40, "centred"
    # Moved and closed, not minimised, maximised or resized.
    functions = int(win.desktop.prop(window, "_MOTIF_WM_HINTS").split("=")[1].split(",")[1], 16)
    assert functions & 0x20 and not functions & (0x02 | 0x08 | 0x10), hex(functions)
    xdo(win, "type", "--delay", 40, "Sec")
    win.keep_screenshot("password-prompt.png")
    win.desktop.close(window)
    code, err = win.wait(proc)
    assert code == 0 and not win.events("environment"), "the app never started"


def test_only_the_exact_password_typed_key_by_key_lets_the_app_start(win):
    proc = start(win)
    prompt_of(win)
    xdo(win, "type", "--delay", 40, "secret")
    assert still_open(win, proc), "another case is refused"
    xdo(win, "key", "Return", "Escape")
    assert still_open(win, proc), "Enter and Escape do nothing"
    xdo(win, "key", "ctrl+a", "BackSpace")
    # "Secre1", then "t" before the "1": no key release ever sees the password alone.
    xdo(win, "type", "--delay", 40, "Secre1")
    xdo(win, "key", "Left", "t")
    assert still_open(win, proc), "an extra character is refused"
    xdo(win, "key", "End", "BackSpace")
    code, err = win.wait(proc, timeout=60)
    assert code == 0, err
    assert win.events("environment") and win.events("close"), "the app started and played its close"
