"""The start password prompt: a small fixed window titled with the application's name that closes by
itself on the key release that makes its text the password, and ends the application when closed."""
import contextlib
import ctypes
import time

import pytest

from harness import PAGE_TEMPLATE

NAME = "Locked App"
# Its own ID: a package of another ID running at the same time cannot hold the single-instance lock.
APP_ID = "test.password"
TITLE = f"^{NAME}$"
PAGE = PAGE_TEMPLATE.replace("BODY", "return {title: await crv.window.getTitle()};")
# Long enough for the prompt to have handled keys sent before it.
SETTLE = 0.4


def pack(app):
    return app.pack({"index.html": PAGE}, app_id=APP_ID, name=NAME, settings={"Password": "Secret"})


def xdo(app, *args):
    app.desktop._run("xdotool", *map(str, args))


def prompt_of(app, run):
    """The run's prompt window, activated for typing."""
    window = run.window(TITLE)
    assert app.desktop.geometry(window)["WIDTH"] == 308, "the main window came instead of the prompt"
    xdo(app, "windowactivate", "--sync", window)
    return window


def type_text(app, text):
    xdo(app, "type", "--delay", 30, text)


@contextlib.contextmanager
def no_key_repeat(app):
    """The X server repeats no held key while the block runs, so a key can be held for a while."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = x11.XOpenDisplay(app.desktop.display.encode())
    assert display, "cannot open the display"
    try:
        x11.XAutoRepeatOff(ctypes.c_void_p(display))
        x11.XSync(ctypes.c_void_p(display), 0)
        yield
    finally:
        x11.XAutoRepeatOn(ctypes.c_void_p(display))
        x11.XCloseDisplay(ctypes.c_void_p(display))


def still_open(app, run, window):
    time.sleep(SETTLE)
    return run.running() and window in app.desktop.windows(TITLE)


def opened_app(app, run):
    """The page of the application reported: the prompt let it through."""
    assert app.page_result(run) == {"title": NAME}
    assert run.wait()[2] == ""


def test_prompt_is_a_fixed_dialog_centred_on_the_screen(app):
    run = app.start(pack(app))
    window = prompt_of(app, run)
    desk = app.desktop
    geometry = desk.geometry(window)
    assert (geometry["WIDTH"], geometry["HEIGHT"]) == (308, 71)
    # Centred on the 1280 x 1024 screen, give or take the frame and its title bar.
    assert abs(geometry["X"] + 154 - 640) <= 10 and abs(geometry["Y"] + 35 - 512) <= 50
    assert desk.window_name(window) == NAME
    assert "_NET_WM_WINDOW_TYPE_DIALOG" in desk.prop(window, "_NET_WM_WINDOW_TYPE")
    hints = desk.prop(window, "WM_NORMAL_HINTS")
    assert "minimum size: 308 by 71" in hints and "maximum size: 308 by 71" in hints
    # The frame may be moved and closed, not minimised or maximised.
    functions = int(desk.prop(window, "_MOTIF_WM_HINTS").split("=")[1].split(",")[1], 16)
    assert functions & 0x20 and not functions & (0x08 | 0x10), hex(functions)
    desk.close(window)
    assert run.wait() == (0, "", "")


def test_the_last_key_release_of_the_password_opens_the_app(app):
    run = app.start(pack(app))
    window = prompt_of(app, run)
    type_text(app, "Secre")
    with no_key_repeat(app):
        xdo(app, "keydown", "t")
        # The text is the password now, but only the key's release tests it.
        assert still_open(app, run, window)
        xdo(app, "keyup", "t")
    opened_app(app, run)


def test_wrong_text_enter_and_escape_keep_the_prompt_until_the_text_is_corrected(app):
    run = app.start(pack(app))
    window = prompt_of(app, run)
    # The same letters in another case.
    type_text(app, "secret")
    assert still_open(app, run, window)
    # No default and no cancel button; Tab leaves the focus in the only control that takes it.
    xdo(app, "key", "Return", "Escape", "KP_Enter", "Tab")
    assert still_open(app, run, window)
    xdo(app, "key", "ctrl+a", "BackSpace")
    # One character more: "t" goes up only after "1" went down, so no release sees the password alone.
    type_text(app, "Secre")
    with no_key_repeat(app):
        xdo(app, "keydown", "t", "keydown", "1", "keyup", "t", "keyup", "1")
    assert still_open(app, run, window)
    xdo(app, "key", "BackSpace")
    opened_app(app, run)


@pytest.mark.parametrize("how", ["close box", "alt+F4"])
def test_closing_the_prompt_ends_the_app_silently(app, how):
    run = app.start(pack(app))
    window = prompt_of(app, run)
    type_text(app, "Secr")
    if how == "close box":
        app.desktop.close(window)
    else:
        xdo(app, "key", "alt+F4")
    assert run.wait() == (0, "", "")
    # The page never ran.
    assert not (app.tmp / "result.json").exists()


def test_hand_over_start_shows_no_prompt(app):
    package = pack(app)
    run = app.start(package, APP_ID, "file:///index.html")
    # Nobody types here: the page reports only if no prompt held it up.
    opened_app(app, run)
