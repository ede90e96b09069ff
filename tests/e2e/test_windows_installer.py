"""A Windows package started where the browser runtime is missing, under Wine: the question, declining,
the stored installer started with the "runas" verb behind the splash, then the start afresh or the
message that the application cannot run. The test loader reports the runtime once a marker file
exists, which the test program, standing in for the installer, creates when it succeeds."""
import json

import pytest

from harness import poll
from winapp import CLOSE, call, win, wine_prefix  # noqa: F401  (fixtures)

NAME = "^Wine App$"


class Installation:
    """The files one test's runs share: the installer's record, the runtime marker, the go signal."""

    def __init__(self, win):
        self.win = win
        self.record = win.tmp / "installer.jsonl"
        self.marker = win.tmp / "runtime-installed"
        self.go = win.tmp / "go"

    def pack(self, installer=True, settings=None):
        extra = ["--installer", str(self.win.test_program())] if installer else ["--no-installer"]
        return self.win.pack(loader="no-runtime", settings={"AllowInstances": 1, **(settings or {})}, extra=extra)

    def start(self, package, exit_code=0, wait_for_go=False):
        extra = dict(CRV_TEST_PROGRAM_RECORD=self.win.windows_path(self.record),
                     CRV_TEST_RUNTIME_MARKER=self.win.windows_path(self.marker),
                     CRV_TEST_PROGRAM_EXIT=str(exit_code))
        if wait_for_go:
            extra["CRV_TEST_PROGRAM_GO"] = self.win.windows_path(self.go)
        # The process started afresh inherits these: it plays the close call and ends.
        return self.win.start(package, messages=[CLOSE], **extra)

    def runs(self):
        return [json.loads(line) for line in self.record.read_text().splitlines()] if self.record.exists() else []

    def answer(self, caption, key):
        box = self.win.desktop.wait_window(caption, timeout=60)
        self.win.desktop.keys(box, key)


@pytest.fixture
def inst(win):
    i = Installation(win)
    yield i
    i.go.touch()  # a waiting installer ends


def test_installation_not_offered_ends_with_message_6(win, inst):
    proc = inst.start(inst.pack(settings={"EdgeInstaller": 0}))
    inst.answer("^Error$", "Return")
    code, err = win.wait(proc)
    assert code == 0
    assert "The Microsoft WebView2 runtime is required to run this application." in err and "Confirm" not in err
    assert inst.runs() == []
    assert (win.data_dir() / "Win64" / "WebView2LoaderWin64.dll").exists(), "the folder stays"


def test_declining_removes_the_data_folder(win, inst):
    proc = inst.start(inst.pack())
    inst.answer("^Confirm$", "Escape")
    inst.answer("^Error$", "Return")
    code, err = win.wait(proc)
    assert code == 0
    assert "This application cannot continue and will be closed now." in err
    assert inst.runs() == [] and not win.data_dir().exists()


@pytest.mark.parametrize("installer", [False, True], ids=["no installer stored", "failing installer"])
def test_runtime_still_missing_after_the_installer_shows_message_9(win, inst, installer):
    proc = inst.start(inst.pack(installer=installer), exit_code=3)
    inst.answer("^Confirm$", "Return")
    inst.answer("^Error$", "Return")
    code, err = win.wait(proc)
    assert code == 0
    assert "You cancel the installation of Microsoft WebView2 runtime" in err
    assert inst.runs() == ([["/silent", "/install"]] if installer else [])
    assert not win.data_dir().exists(), "the next start asks again"


def test_successful_installation_behind_the_splash_starts_the_package_afresh(win, inst):
    package = inst.pack(settings={"InstallIndicatorType": 1})
    proc = inst.start(package, wait_for_go=True)
    inst.answer("^Confirm$", "Return")
    splash = win.desktop.wait_window(NAME, timeout=60)
    geometry = win.desktop.geometry(splash)
    assert (geometry["WIDTH"], geometry["HEIGHT"]) == (80, 80), geometry
    # The system's hot-track colour, and corners cut round.
    assert win.desktop.pixel(geometry["X"] + 40, geometry["Y"] + 2) == (0, 102, 204)
    assert win.desktop.pixel(geometry["X"], geometry["Y"]) != (0, 102, 204)
    assert poll(lambda: inst.runs() == [["/silent", "/install"]], 20), inst.runs()
    win.keep_screenshot("installer-splash.png")
    assert proc.poll() is None, "it waits for the installer"

    inst.go.touch()
    code, err = win.wait(proc)
    assert code == 0, err
    # The new process finds the runtime, opens its browser and plays the close call.
    assert poll(lambda: win.events("close"), 60), win.events()
    assert win.events("environment")
    assert not (win.data_dir() / "WebView2Installer.exe").exists()
    assert (win.data_dir() / "Win64" / "WebView2LoaderWin64.dll").exists(), "the data folder stays"
