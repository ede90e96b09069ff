"""The windows a Windows package shows the user, under Wine: the common file dialogs answered from
the keyboard, the menu bar clicked by keyboard and mouse, and the themes on the menu bar and on a
message box. Screenshots of each are kept in build/screenshots/windows."""
import json
import time

from harness import poll
from winapp import CLOSE, call, win, wine_prefix  # noqa: F401  (fixtures)

NAME = "^Wine App$"
TYPES = "Text files|*.txt;All files|*.*"
CARBON_MENU_BAR = (0x2F, 0x33, 0x3A)


def press_until_answered(win, window, uuid, *keys):
    """Presses the keys until the call's reply is posted: a dialog still listing its folder may miss
    them."""
    answered = lambda: uuid in win.replies()

    def attempt():
        if answered():
            return True
        win.desktop.keys(window, *keys)
        return poll(answered, 1.5)
    assert poll(attempt, 20), f"the dialog of {uuid} did not answer"


def test_file_dialogs_answered_by_typing_a_path_and_cancelled_with_escape(win):
    folder = win.tmp / "pick"
    folder.mkdir()
    for name in ("a.dat", "b.txt", "ünï.txt"):
        (folder / name).write_text(name)
    where = win.windows_path(folder)
    messages = [
        call(20001, "typed", title="Choose text", fileTypes=TYPES, fileName=where + "\\"),
        call(20002, "cancelled", title="Cancel me"),
        call(20002, "saved", title="Save as", fileTypes=TYPES, fileName=where + "\\ünï-new.txt"),
        CLOSE,
    ]
    proc = win.start(win.pack(), messages=messages)
    desk = win.desktop
    dialog = desk.wait_window("^Choose text$", timeout=60)
    desk._run("xdotool", "windowactivate", "--sync", str(dialog))
    time.sleep(1.5)  # keys typed while the dialog still fills its list are lost
    # xdotool does not type letters outside the keyboard map into Wine reliably: the save dialog's
    # offered name carries them.
    desk._run("xdotool", "type", "--delay", "30", where + "\\b.txt")
    win.keep_screenshot("open-dialog.png")
    press_until_answered(win, dialog, "typed", "Return")
    press_until_answered(win, desk.wait_window("^Cancel me$", timeout=30), "cancelled", "Escape")
    press_until_answered(win, desk.wait_window("^Save as$", timeout=30), "saved", "Return")
    code, err = win.wait(proc, timeout=60)
    assert code == 0, err
    r = {uuid: reply["result"] for uuid, reply in win.replies().items()}
    assert r == {"typed": where + "\\b.txt", "cancelled": "", "saved": where + "\\ünï-new.txt"}


MENU = [{"id": 1, "caption": "&File", "items": [{"id": 2, "caption": "&Open"}, {"id": 3, "caption": "-"},
                                                {"id": 4, "caption": "-"}, {"id": 5, "caption": "E&xit"}]},
        {"id": 6, "caption": "&Help", "items": [{"id": 7, "caption": "&About", "image": "app/pic.png"}]}]


def clicks(win):
    return [e["script"] for e in win.events("execute-script") if "onMainMenuItemClick" in e["script"]]


def test_menu_bar_built_updated_and_clicked_by_keyboard_and_mouse(win):
    import base64
    png = base64.b64decode("iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAIAAACQkWg2AAAAHklEQVR4nGP4z8BAEmIY1TCqYVTDqIZRDaMaBpMGAKNfq+GKHN5YAAAAAElFTkSuQmCC")
    messages = [
        call(12001, "menu", items=json.dumps(MENU)),
        call(12002, "update", id=5, caption="&Quit", enabled=False),
        call(12002, "unknownId", id=99, caption="x"),
        call(12002, "wrongId", id="x"),
        call(12001, "wrongJson", items="not json"),
        call(12001, "again", items=json.dumps(MENU)),
    ]
    proc = win.start(win.pack({"index.html": "<title>t</title>", "pic.png": png}), messages=messages)
    window = win.desktop.wait_window(NAME, timeout=60)
    assert poll(lambda: win.events("done"), 30), win.events()
    r = win.replies()
    assert {k: (v["success"], v["result"]) for k, v in r.items()} == {
        "menu": (True, True), "update": (True, True), "unknownId": (True, True),
        "wrongId": (False, "Wrong item ID"), "wrongJson": (False, "Wrong menu items JSON"), "again": (True, True)}

    desk = win.desktop
    desk._run("xdotool", "windowactivate", "--sync", str(window))
    # The access keys: Alt+F opens File, O picks Open.
    desk._run("xdotool", "key", "alt+f")
    time.sleep(0.5)
    win.keep_screenshot("menu-file.png")
    desk._run("xdotool", "key", "o")
    assert poll(lambda: clicks(win), 10), "the keyboard click reached no page"
    # The mouse: Help is the second caption of the bar at the top of the window.
    desk._run("xdotool", "mousemove", "--window", str(window), "55", "10", "click", "1")
    poll(lambda: len(desk.windows(".*")) > 0, 1)
    win.keep_screenshot("menu-open.png")
    desk._run("xdotool", "key", "Down", "Return")
    assert poll(lambda: len(clicks(win)) == 2, 10), clicks(win)
    assert clicks(win) == ["crv.events.onMainMenuItemClick(2);", "crv.events.onMainMenuItemClick(7);"]
    win.kill(proc)


CARBON_FACE, CARBON_MENU_BAR = "#444444", "#262626"


def test_switching_the_theme_repaints_the_open_menu_bar_at_once(win):
    messages = [call(12001, "menu", items=json.dumps(MENU)), call(80003, "carbon", name="Carbon")]
    proc = win.start(win.pack(), messages=messages, CRV_TESTLOADER_MESSAGE_GAP_MS="300")
    window = win.desktop.wait_window(NAME, timeout=60)
    width = win.desktop.geometry(window)["WIDTH"]
    menu_bar = lambda: win.desktop.dominant_colour(window, f"{width - 150}x8+120+4")  # right of the captions
    assert poll(lambda: win.events("done"), 30)
    poll(lambda: menu_bar() == CARBON_MENU_BAR, 5)
    win.desktop._run("xdotool", "windowactivate", "--sync", str(window))
    win.desktop._run("xdotool", "key", "alt+f")
    time.sleep(0.5)
    win.keep_screenshot("menu-carbon.png")
    assert menu_bar() == CARBON_MENU_BAR
    assert win.replies()["carbon"]["result"] is True
    win.kill(proc)


def test_start_up_message_box_wears_the_theme(win):
    proc = win.start(win.pack(loader="no-runtime", settings={"EdgeInstaller": 0, "Theme": "Carbon"}))
    box = win.desktop.wait_window("^Error$", timeout=60)
    time.sleep(0.5)
    win.keep_screenshot("error-box-carbon.png")
    # Dialogs are filled with the palette's face colour, as forms are.
    assert win.desktop.dominant_colour(box) == CARBON_FACE
    win.desktop.keys(box, "Return")
    code, err = win.wait(proc)
    assert code == 0, err
