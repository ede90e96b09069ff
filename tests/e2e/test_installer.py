"""A package started where the browser runtime is missing: the question, declining, the installer run
with administrator rights behind the splash, the start afresh, and the installer script for Linux.
A stand-in pkexec on PATH records its arguments and runs the program; the test loader reports the
runtime once a marker file exists, which is how a test installer "installs" it."""
import os
import signal
import subprocess

import pytest

from harness import poll

CONFIRM = ("Confirm: The Microsoft WebView2 runtime is required to run this application. "
           "Do you want to install it now? [Accept] [Cancel]")
DECLINED = "Error: This application cannot continue and will be closed now. [Accept]"
STILL_MISSING = ("Error: You cancel the installation of Microsoft WebView2 runtime, This application cannot "
                 "continue and will be closed now. [Accept]")
NOT_OFFERED = ("Error: The Microsoft WebView2 runtime is required to run this application. This application "
               "cannot continue and will be closed now. [Accept]")
SPLASH = "^Test App$"


class Machine:
    """What the runs of one test share: pkexec's record, the runtime marker and test installers."""

    def __init__(self, app):
        self.app = app
        self.tmp = app.tmp
        self.record = self.tmp / "pkexec.txt"
        self.marker = self.tmp / "runtime-installed"
        self.go = self.tmp / "go"
        bin_dir = self.tmp / "bin"
        bin_dir.mkdir()
        self.script(bin_dir / "pkexec", f'echo "$@" >> "{self.record}"\nexec "$@"')
        self.path = f"{bin_dir}:{os.environ['PATH']}"

    def script(self, path, body):
        path.write_text("#!/bin/sh\n" + body + "\n")
        path.chmod(0o755)
        return path

    def installer(self, body, name="installer.sh"):
        """A test installer: it records its pid, so the test can end it, then runs body."""
        return self.script(self.tmp / name, f'echo $$ > "{self.tmp}/{name}.pid"\n{body}')

    def pack(self, installer=None, settings=None):
        extra = ["--installer", str(installer)] if installer else ["--no-installer"]
        # Other runs of packages with this ID may hold the single-instance lock: the process started
        # afresh must not end at it.
        settings = {"AllowInstances": "1", **(settings or {})}
        return self.app.pack(loader="installable", settings=settings, extra=extra)

    def start(self, package, *args):
        return self.app.start(package, *args, PATH=self.path, CRV_TEST_RUNTIME_MARKER=self.marker)

    def accept(self, run):
        self.app.desktop.keys(run.window("^Confirm$"), "Return")

    def ran(self):
        return self.record.read_text().splitlines() if self.record.exists() else []

    def end_installer(self, name="installer.sh"):
        pid_file = self.tmp / f"{name}.pid"
        if pid_file.exists():
            try:
                os.kill(int(pid_file.read_text()), signal.SIGKILL)
            except ProcessLookupError:
                pass


@pytest.fixture
def machine(app):
    m = Machine(app)
    yield m
    m.end_installer()


def answer_error(app, run):
    app.desktop.keys(run.window("^Error$"), "Return")
    return run.wait()


def test_installation_not_offered_shows_message_6_and_keeps_the_folder(app, machine):
    run = machine.start(machine.pack(machine.installer("exit 0"), settings={"EdgeInstaller": "0"}))
    code, _, err = answer_error(app, run)
    assert code == 0
    assert err.splitlines() == [NOT_OFFERED], "no question before it"
    assert (app.data_dir() / "Win64" / "WebView2LoaderWin64.dll").exists()
    assert machine.ran() == []


@pytest.mark.parametrize("how", ["Escape", "close box"])
def test_declining_deletes_the_data_folder_with_earlier_browser_data(app, machine, how):
    earlier = app.data_dir() / "Win64" / "EBWebView" / "Local State"
    earlier.parent.mkdir(parents=True)
    earlier.write_text("{}")
    run = machine.start(machine.pack(machine.installer("exit 0")))
    question = run.window("^Confirm$")
    if how == "Escape":
        app.desktop.keys(question, "Escape")
    else:
        app.desktop.close(question)
    code, _, err = answer_error(app, run)
    assert code == 0
    assert err.splitlines() == [CONFIRM, DECLINED]
    assert not app.data_dir().exists()
    assert machine.ran() == []


@pytest.mark.parametrize("installer", [None, "exit 3"], ids=["no installer entry", "failing installer"])
def test_runtime_still_missing_after_the_installer_shows_message_9(app, machine, installer):
    package = machine.pack(machine.installer(installer) if installer else None)
    run = machine.start(package)
    machine.accept(run)
    code, _, err = answer_error(app, run)
    assert code == 0
    assert err.splitlines() == [CONFIRM, STILL_MISSING]
    assert machine.ran() == [f"{app.data_dir()}/WebView2Installer.exe /silent /install"]
    assert not app.data_dir().exists(), "the next start asks again"


def relaunched_process(app, first_pid):
    """The pid of the package's main window that a process other than first_pid shows."""
    def other():
        pids = {app.desktop.window_pid(w) for w in app.desktop.windows("^Test App$")} - {first_pid}
        return pids and pids.pop()
    pid = poll(other, 20)
    assert pid, "the package was not started again"
    return pid


def test_successful_installation_behind_the_splash_starts_the_package_afresh(app, machine):
    installer = machine.installer(f'while [ ! -e "{machine.go}" ]; do sleep 0.05; done\ntouch "{machine.marker}"')
    # A hand-over start: its arguments must not reach the new process.
    run = machine.start(machine.pack(installer), "test.app", "file:///elsewhere.html")
    machine.accept(run)

    splash = run.window(SPLASH)
    geometry = app.desktop.geometry(splash)
    assert (geometry["WIDTH"], geometry["HEIGHT"]) == (80, 80)
    x, y = geometry["X"], geometry["Y"]
    assert abs(x + 40 - 640) <= 1 and abs(y + 40 - 512) <= 1, "centred on the 1280x1024 screen"
    # The system hot-track colour, and corners cut round.
    assert app.desktop.pixel(x + 40, y + 2) == (0, 102, 204)
    assert app.desktop.pixel(x, y) != (0, 102, 204)
    assert machine.ran() == [f"{app.data_dir()}/WebView2Installer.exe /silent /install"]

    app.desktop.keys(splash, "alt+F4")
    app.desktop.close(splash)
    assert not poll(lambda: not app.desktop.windows(SPLASH, pid=run.pid), 1.0), "the splash cannot be closed"

    machine.go.touch()
    assert run.proc.wait(timeout=20) == 0
    relaunched = relaunched_process(app, run.pid)
    try:
        with open(f"/proc/{relaunched}/cmdline", "rb") as cmdline:
            assert cmdline.read().split(b"\0")[:-1] == [str(app.tmp / "package").encode()]
    finally:
        os.kill(relaunched, signal.SIGTERM)
    _, _, err = run.wait()
    assert err.splitlines()[0] == CONFIRM
    assert not (app.data_dir() / "WebView2Installer.exe").exists()
    assert (app.data_dir() / "Win64" / "WebView2LoaderWin64.dll").exists(), "the data folder stays"


def test_installer_left_by_an_earlier_attempt_is_run_not_extracted_again(app, machine):
    package = machine.pack(machine.installer("exit 3"))
    left = app.data_dir() / "WebView2Installer.exe"
    left.parent.mkdir(parents=True)
    machine.script(left, f'touch "{machine.marker}"')
    run = machine.start(package)
    machine.accept(run)
    assert run.proc.wait(timeout=20) == 0
    os.kill(relaunched_process(app, run.pid), signal.SIGTERM)
    assert not left.exists()


def test_termination_while_the_installer_runs_ends_the_wait(app, machine):
    installer = machine.installer(f'while [ ! -e "{machine.go}" ]; do sleep 0.05; done')
    run = machine.start(machine.pack(installer))
    machine.accept(run)
    run.window(SPLASH)
    run.proc.terminate()
    assert run.proc.wait(timeout=20) == 0
    machine.end_installer()  # it holds the output pipes; this process left it running
    _, _, err = run.wait()
    assert err.splitlines() == [CONFIRM], "no message keeps it from ending"
    assert not app.data_dir().exists()


# The Linux installer: which package manager it uses, and how it fails.
MANAGERS = [
    # (stand-ins on PATH, commands they record)
    (["apt-get", "dnf"], ["apt-get update -q", "apt-get install -y -q libwebkit2gtk-4.1-0"]),
    (["dnf", "zypper"], ["dnf install -y webkit2gtk4.1"]),
    (["pacman"], ["pacman -S --noconfirm --needed webkit2gtk-4.1"]),
    (["zypper"], ["zypper --non-interactive install libwebkit2gtk-4_1-0"]),
]


@pytest.mark.skipif(os.geteuid() != 0, reason="the script needs administrator rights")
@pytest.mark.parametrize("managers,commands", MANAGERS, ids=[m[0][0] for m in MANAGERS])
def test_linux_installer_uses_the_systems_package_manager(bin_dir, tmp_path, managers, commands):
    record = tmp_path / "record.txt"
    stubs = tmp_path / "stubs"
    stubs.mkdir()
    os.symlink("/usr/bin/id", stubs / "id")
    for name in managers:
        (stubs / name).write_text(f'#!/bin/sh\necho "{name} $*" >> "{record}"\n')
        (stubs / name).chmod(0o755)
    result = subprocess.run(["/bin/sh", str(bin_dir / "WebView2Installer.sh"), "/silent", "/install"],
                            env={"PATH": str(stubs)}, capture_output=True, text=True, timeout=30)
    assert result.returncode == 0, result.stderr
    assert record.read_text().splitlines() == commands


@pytest.mark.parametrize("args,stub,code,text", [
    (["/silent", "/install"], None, 1, "no known package manager"),
    (["/silent", "/install"], "exit 100", 1, "apt-get could not install libwebkit2gtk-4.1-0"),
    (["/quiet"], None, 2, 'unknown argument "/quiet"'),
])
@pytest.mark.skipif(os.geteuid() != 0, reason="the script needs administrator rights")
def test_linux_installer_fails_cleanly(bin_dir, tmp_path, args, stub, code, text):
    stubs = tmp_path / "stubs"
    stubs.mkdir()
    os.symlink("/usr/bin/id", stubs / "id")
    if stub:
        (stubs / "apt-get").write_text(f"#!/bin/sh\n{stub}\n")
        (stubs / "apt-get").chmod(0o755)
    result = subprocess.run(["/bin/sh", str(bin_dir / "WebView2Installer.sh"), *args], env={"PATH": str(stubs)},
                            capture_output=True, text=True, timeout=30)
    assert result.returncode == code
    assert result.stderr.startswith("WebView2Installer: ") and text in result.stderr
