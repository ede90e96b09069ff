"""Runs of Windows packages under Wine: crv-pack makes them from crv-runtime.exe with a test browser
loader in place of the real one, which serves the start page as the browser would ask for it, records
what the runtime did and plays the page's call messages from a file."""
import json
import os
import pathlib
import shutil
import subprocess

import pytest

from harness import write_files

ROOT = pathlib.Path(__file__).resolve().parents[2]
WIN_BUILD = pathlib.Path(os.environ.get("CRV_WINDOWS_BUILD_DIR", ROOT / "build" / "windows"))
PAGE = "file:///index.html"
SCREENSHOTS = ROOT / "build" / "screenshots" / "windows"


@pytest.fixture(scope="session")
def wine_prefix():
    """The build tree's Wine prefix, made once by the Windows build (a first start takes long)."""
    prefix = WIN_BUILD / "wineprefix"
    if not shutil.which("wine") or not (prefix / "system.reg").exists():
        pytest.skip("no Windows build with a Wine prefix: run 'make windows' first")
    return prefix


class WinApp:
    """Packs test apps with the Windows runtime and runs them under Wine on the test display."""

    def __init__(self, bin_dir, desktop, prefix, tmp_path, app_id):
        self.bin_dir = bin_dir
        self.desktop = desktop
        self.prefix = prefix
        self.tmp = tmp_path
        self.app_id = app_id
        self.log = tmp_path / "loader.jsonl"
        self.procs = []
        user = os.environ.get("USER") or os.environ.get("LOGNAME") or "root"
        self.local_app_data = prefix / "drive_c" / "users" / user / "AppData" / "Local"

    @property
    def runtime(self):
        return self.bin_dir / "crv-runtime.exe"

    @staticmethod
    def loader(variant="full"):
        return WIN_BUILD / "tests" / "fixtures" / "win32loader" / variant / "WebView2LoaderWin64.dll"

    @staticmethod
    def test_program():
        """A Windows program that records its arguments (see tests/fixtures/win32program)."""
        return WIN_BUILD / "bin" / "crvtestprogram.exe"

    def pack(self, files=None, *, name="Wine App", loader="full", settings=None, out="app.exe", extra=()):
        site = write_files(self.tmp / "site", files or {"index.html": "<title>t</title>"})
        args = [str(self.bin_dir / "crv-pack"), str(site), "-o", str(self.tmp / out), "--runtime",
                str(self.runtime), "--id", self.app_id, "--name", name, "--dir-name", "app",
                "--loader", str(self.loader(loader))]
        for key, value in (settings or {}).items():
            args += ["--set", f"{key}={value}"]
        args += list(extra)
        subprocess.run(args, check=True, capture_output=True, timeout=60)
        return self.tmp / out

    def start(self, package, messages=(), requests=(), close_when_done=False, args=(), **extra):
        env = dict(self.desktop.env, **extra, WINEPREFIX=str(self.prefix), WINEDEBUG="-all",
                   CRV_TESTLOADER_LOG=str(self.log), CRV_TESTLOADER_BODIES=str(self.tmp / "bodies"))
        (self.tmp / "bodies").mkdir(exist_ok=True)
        if messages:
            lines = "".join(f"{PAGE}\t{json.dumps(m) if not isinstance(m, str) else m}\n" for m in messages)
            (self.tmp / "messages.txt").write_text(lines, encoding="utf-8")
            env["CRV_TESTLOADER_MESSAGES"] = str(self.tmp / "messages.txt")
        if requests:
            env["CRV_TESTLOADER_REQUESTS"] = "|".join(requests)
        if close_when_done:
            env["CRV_TESTLOADER_CLOSE_WHEN_DONE"] = "1"
        proc = subprocess.Popen(["wine", str(package), *args], cwd=self.tmp, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True, errors="replace")
        self.procs.append(proc)
        return proc

    @staticmethod
    def kill(proc):
        """Ends a run that cannot end by itself (no page answers the close request)."""
        proc.kill()
        proc.wait(timeout=30)

    @staticmethod
    def wait(proc, timeout=60):
        out, err = proc.communicate(timeout=timeout)
        return proc.returncode, err

    @staticmethod
    def windows_path(path):
        """The path as a Windows program sees it (Wine maps the root folder to drive Z:)."""
        return "Z:" + str(path).replace("/", "\\")

    def keep_screenshot(self, name):
        """A screenshot of the display, kept in build/screenshots for a person to look at."""
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        path = SCREENSHOTS / name
        self.desktop.screenshot(path)
        return path

    def events(self, kind=None):
        if not self.log.exists():
            return []
        rows = [json.loads(line) for line in self.log.read_text(encoding="utf-8").splitlines() if line.strip()]
        return [r for r in rows if kind is None or r["event"] == kind]

    def replies(self):
        """The posted replies by uuid."""
        return {r["json"]["uuid"]: r["json"] for r in self.events("post") if isinstance(r.get("json"), dict)}

    def data_dir(self):
        return self.local_app_data / self.app_id

    def stop_all(self):
        for proc in self.procs:
            if proc.poll() is None:
                proc.kill()
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        shutil.rmtree(self.data_dir(), ignore_errors=True)


@pytest.fixture
def win(bin_dir, desktop, wine_prefix, tmp_path, request):
    if not (bin_dir / "crv-runtime.exe").exists():
        pytest.skip("crv-runtime.exe is not built: run 'make windows' first")
    app_id = "test.wine." + request.node.name.replace("[", ".").replace("]", "")[:60]
    a = WinApp(bin_dir, desktop, wine_prefix, tmp_path, app_id)
    yield a
    a.stop_all()


def call(number, uuid, **data):
    return {"id": number, "uuid": uuid, "data": data}


CLOSE = call(50001, "close")
