"""Packages driven by WebKitWebDriver through Selenium: a session on the package as the browser binary,
window.crv while driven, the session's end closing the program, the example of the README, and a
normal start that takes no session."""
import contextlib
import os
import pathlib
import re
import shutil
import socket
import subprocess
import sys
import urllib.request

import pytest

from harness import poll

webdriver = pytest.importorskip("selenium.webdriver", reason="python3-selenium is not installed")
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.webkitgtk.options import Options  # noqa: E402

DRIVER = "WebKitWebDriver"
EXAMPLE = pathlib.Path(__file__).resolve().parents[2] / "examples" / "webdriver"
INDEX = """<!doctype html><html><head><title>Notes</title></head><body>
<input id="note"><button id="save">Save</button><p id="result"></p>
<a id="about" href="about.html">About</a>
<button id="window" onclick="window.open('about.html')">New window</button>
<script>
document.getElementById('save').onclick = async () => {
  const path = (await crv.folders.getAppExecutableDir()) + 'note.txt';
  await crv.files.writeTextFile({filePath: path, contents: document.getElementById('note').value});
  document.getElementById('result').textContent = 'Saved to ' + path;
};
// The session's end is the close box: the page is asked, and writes down that it was.
crv.events.onCloseQuery = async () => {
  await crv.files.writeTextFile({filePath: 'closed.txt', contents: 'asked'});
  crv.app.close();
};
</script></body></html>"""
ABOUT = """<!doctype html><html><head><title>About Notes</title></head><body><p id="version"></p>
<script>crv.hello().then(v => { document.getElementById('version').textContent = v; });</script>
</body></html>"""


@pytest.fixture(autouse=True)
def needs_driver():
    if not shutil.which(DRIVER):
        pytest.skip(f"{DRIVER} is not installed (scripts/deps.sh installs webkit2gtk-driver)")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening_ports(pid):
    """The TCP ports on which the process holds a listening socket."""
    inodes = set()
    for fd in pathlib.Path(f"/proc/{pid}/fd").iterdir():
        with contextlib.suppress(OSError):
            target = os.readlink(fd)
            if target.startswith("socket:["):
                inodes.add(target[8:-1])
    ports = set()
    for table in ("tcp", "tcp6"):
        for line in pathlib.Path(f"/proc/{pid}/net/{table}").read_text().splitlines()[1:]:
            fields = line.split()
            if fields[3] == "0A" and fields[9] in inodes:
                ports.add(int(fields[1].rsplit(":", 1)[1], 16))
    return ports


def programs(package):
    """The running processes of the package (not the browser's own helper processes)."""
    found = []
    for entry in pathlib.Path("/proc").iterdir():
        with contextlib.suppress(OSError):
            if entry.name.isdigit() and pathlib.Path(os.readlink(entry / "exe")) == package and alive(entry.name):
                found.append(int(entry.name))
    return found


def alive(pid):
    """Running, and not a zombie that its parent has yet to collect."""
    with contextlib.suppress(OSError):
        return "\nState:\tZ" not in pathlib.Path(f"/proc/{pid}/status").read_text()
    return False


@contextlib.contextmanager
def driver_service(app, *args):
    """WebKitWebDriver on a free port, in the tests' private home and display; yields its URL. What it
    and the programs it starts write goes to driver.log."""
    port = free_port()
    log = open(app.tmp / "driver.log", "wb")
    proc = subprocess.Popen([DRIVER, f"--port={port}", *args], env=app.env(), stdout=log, stderr=log)
    try:
        url = f"http://127.0.0.1:{port}"
        assert poll(lambda: can_connect(port), timeout=10), "the driver did not start"
        yield url
    finally:
        proc.kill()
        proc.wait(timeout=10)
        log.close()


def can_connect(port):
    with contextlib.suppress(OSError), socket.create_connection(("127.0.0.1", port), timeout=1):
        return True
    return False


def package_options(package):
    options = Options()
    options.binary_location = str(package)
    options.set_capability("browserName", None)
    return options


def test_driven_package_runs_crv_and_ends_with_the_session(app):
    package = app.pack({"index.html": INDEX, "about.html": ABOUT}, name="Notes")
    with driver_service(app) as url:
        driver = webdriver.Remote(command_executor=url, options=package_options(package))
        opened = []
        try:
            (pid,) = programs(package)
            assert driver.capabilities["browserName"] == "Notes"
            assert (driver.title, driver.current_url) == ("Notes", "crvfile:///index.html")

            # A click whose handler calls window.crv: the reply reaches the page, the file is on disk.
            driver.find_element(By.ID, "note").send_keys("Buy milk")
            driver.find_element(By.ID, "save").click()
            result = poll(lambda: driver.find_element(By.ID, "result").text)
            assert result == f"Saved to {app.tmp}/note.txt"
            assert (app.tmp / "note.txt").read_bytes() == "\ufeffBuy milk\r\n".encode()
            # Scripts the driver runs reach window.crv too.
            version = driver.execute_async_script("crv.hello().then(arguments[0]);")
            assert re.fullmatch(r"\d+\.\d+", version)
            assert driver.get_screenshot_as_png().startswith(b"\x89PNG\r\n\x1a\n")

            # The second page, by its link and by its address.
            driver.find_element(By.ID, "about").click()
            assert poll(lambda: driver.find_element(By.ID, "version").text) == version
            assert (driver.title, driver.current_url) == ("About Notes", "crvfile:///about.html")
            driver.get("crvfile:///index.html")
            assert driver.title == "Notes"

            # A window the page opens is a start of the program by the page, not the driver's.
            driver.find_element(By.ID, "window").click()
            opened = poll(lambda: [p for p in programs(package) if p != pid], timeout=15)
            assert opened, "the page's new window did not start"
            app.desktop.wait_window("^Notes$", pid=opened[0])
            assert b"WEBKIT_INSPECTOR_SERVER" not in pathlib.Path(f"/proc/{opened[0]}/environ").read_bytes()
            assert listening_ports(opened[0]) == set()
        finally:
            for other in opened or ():
                os.kill(other, 15)
            driver.quit()
        assert poll(lambda: not alive(pid), timeout=15), "the program did not end with the session"
    assert (app.tmp / "closed.txt").read_text(encoding="utf-8-sig").strip() == "asked"


def test_readme_example_drives_the_example_app(app):
    package = app.tmp / "notes-app"
    subprocess.run([str(app.bin_dir / "crv-pack"), str(EXAMPLE / "app"), "-o", str(package), "--id",
                    "example.notes", "--name", "Notes", "--loader", str(app.loader("default"))],
                   check=True, capture_output=True, timeout=60)
    run = subprocess.run([sys.executable, str(EXAMPLE / "drive.py"), str(package)], env=app.env(),
                         capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stderr
    assert run.stdout.splitlines() == [f"Saved to {app.tmp}/note.txt", "crvfile:///index.html", "About Notes"]
    assert (app.tmp / "note.txt").read_bytes() == "\ufeffBuy milk\r\n".encode()


def test_normal_start_refuses_a_session(app):
    # Started by hand with an inspector address, the browser listens on it by itself: a driver can
    # reach the program, and only the program's refusal keeps it out.
    port = free_port()
    package = app.pack({"index.html": INDEX, "about.html": ABOUT}, name="Notes")
    run = app.start(package, WEBKIT_INSPECTOR_SERVER=f"127.0.0.1:{port}")
    window = run.window("^Notes$")
    assert poll(lambda: port in listening_ports(run.pid)), "the browser did not listen on the address"
    with driver_service(app, f"--target=127.0.0.1:{port}") as url:
        request = urllib.request.Request(url + "/session", data=b'{"capabilities": {}}', method="POST",
                                         headers={"Content-Type": "application/json"})
        with pytest.raises(OSError):  # refused with an error, or left without an answer
            with urllib.request.urlopen(request, timeout=5) as response:
                pytest.fail(f"the driver got a session: {response.read()!r}")
    assert run.running() and app.desktop.window_name(window) == "Notes"
