"""What the end-to-end tests drive: packages built from small test apps, runs of them in a private
home, and the X display where their windows and dialogs appear."""
import contextlib
import http.server
import json
import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import threading
import time

ARCHIVE_PASSWORD = "tqwm7pz1vcha5xk8lyfr2ebg6ju0nhs3wkqa"


def poll(predicate, timeout=10.0, interval=0.05):
    """Calls predicate until it returns something true, or returns None after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            return None
        time.sleep(interval)


@contextlib.contextmanager
def web_site(folder):
    """Serves folder over http on 127.0.0.1 while the block runs; yields the base URL."""
    handler = lambda *a, **k: http.server.SimpleHTTPRequestHandler(*a, directory=str(folder), **k)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield f"http://127.0.0.1:{server.server_address[1]}"
    finally:
        server.shutdown()


def write_files(root, files):
    """Writes files (relative path -> text or bytes) below root and returns root."""
    for name, content in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content if isinstance(content, bytes) else content.encode())
    root.mkdir(parents=True, exist_ok=True)
    return root


# A test page: runs BODY, reports its value through the bridge and closes the application.
SETTLE_JS = """function settle(promise, ms) {
  return Promise.race([promise.then(v => ({ok: v}), e => ({err: e})),
                       new Promise(done => setTimeout(() => done('pending'), ms || 800))]);
}"""
PAGE_TEMPLATE = """<!doctype html><html><head><title>Test App</title><script>
""" + SETTLE_JS + """
window.addEventListener('load', async () => {
  let r;
  try { r = await (async () => { BODY })(); } catch (e) { r = {exception: String(e)}; }
  await crv.files.writeTextFile({filePath: 'result.json', contents: JSON.stringify(r === undefined ? null : r)});
  crv.app.close();
});
</script></head><body></body></html>"""


class Desktop:
    """The X display of the run, with its window manager."""

    def __init__(self, display, runtime_dir):
        self.display = display
        self.env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime_dir)

    def _run(self, *args, check=False):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=check, timeout=30)

    def wait_for_wm(self):
        found = poll(lambda: "window id" in self._run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout)
        assert found, "the window manager did not start"

    def windows(self, name_pattern, pid=None):
        """Visible windows whose title matches the regular expression (optionally of one process)."""
        args = ["xdotool", "search", "--onlyvisible"]
        if pid is not None:
            args += ["--all", "--pid", str(pid)]  # every criterion must match, not any
        for _ in range(10):
            result = self._run(*args, "--name", name_pattern)
            # A window destroyed while xdotool walks the tree aborts the search with an X error.
            if "X Error" not in result.stderr:
                break
            time.sleep(0.05)
        else:
            raise AssertionError(f"xdotool search keeps failing: {result.stderr.strip()}")
        return [int(w) for w in result.stdout.split()]

    def wait_window(self, name_pattern, timeout=15.0, pid=None):
        windows = poll(lambda: self.windows(name_pattern, pid), timeout)
        assert windows, f"no window named {name_pattern!r} appeared"
        return windows[0]

    def wait_no_window(self, name_pattern, timeout=10.0):
        return poll(lambda: not self.windows(name_pattern), timeout)

    def window_name(self, window):
        return self._run("xdotool", "getwindowname", str(window)).stdout.rstrip("\n")

    def keys(self, window, *keys):
        """Activates the window and types the keys into it (xdotool key names: Return, Escape, alt+F4)."""
        self._run("xdotool", "windowactivate", "--sync", str(window))
        self._run("xdotool", "key", "--clearmodifiers", *keys)

    def close(self, window):
        """Asks the window to close, as its close box does (through the window manager)."""
        self._run("wmctrl", "-i", "-c", hex(window))

    def geometry(self, window):
        """The window's client area as the X server reports it: dict with X, Y, WIDTH, HEIGHT."""
        out = self._run("xdotool", "getwindowgeometry", "--shell", str(window)).stdout
        return {k: int(v) for k, v in (line.split("=", 1) for line in out.split()) if k != "SCREEN"}

    def window_pid(self, window):
        return int(self._run("xdotool", "getwindowpid", str(window)).stdout)

    def prop(self, window, name):
        """The text xprop prints for one property of the window."""
        return self._run("xprop", "-id", str(window), name).stdout.strip()

    def click(self, window, x, y):
        """Clicks at (x, y) inside the window."""
        self._run("xdotool", "windowactivate", "--sync", str(window))
        self._run("xdotool", "mousemove", "--window", str(window), str(x), str(y), "click", "1")

    def screenshot(self, path):
        self._run("import", "-window", "root", str(path))

    def dominant_colour(self, window, crop=None):
        """The most frequent colour ("#rrggbb") of the window, or of a crop of it ("WxH+X+Y")."""
        with tempfile.TemporaryDirectory() as folder:
            shot = pathlib.Path(folder) / "window.png"
            self._run("import", "-window", str(window), str(shot), check=True)
            args = ["convert", str(shot)] + (["-crop", crop, "+repage"] if crop else [])
            histogram = subprocess.run(args + ["-format", "%c", "histogram:info:-"], capture_output=True,
                                       text=True, check=True).stdout
        counts = [(int(m.group(1)), m.group(2).lower())
                  for m in re.finditer(r"^\s*(\d+):.*?(#[0-9A-Fa-f]{6})", histogram, re.M)]
        return max(counts)[1]

    def pixel(self, x, y):
        """The colour of one screen pixel as (r, g, b)."""
        out = self._run("import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-",
                        check=True).stdout
        values = out.splitlines()[1].split("(")[1].split(")")[0].split(",")
        return tuple(round(float(v)) for v in values[:3])


class Run:
    """One running process of a package."""

    def __init__(self, proc, desktop):
        self.proc = proc
        self.desktop = desktop
        self._out = None

    @property
    def pid(self):
        return self.proc.pid

    def wait(self, timeout=20.0):
        """Waits for the end; returns (exit code, stdout, stderr)."""
        if self._out is None:
            out, err = self.proc.communicate(timeout=timeout)
            self._out = (self.proc.returncode, out, err)
        return self._out

    def running(self):
        return self.proc.poll() is None

    def window(self, name_pattern, timeout=15.0):
        return self.desktop.wait_window(name_pattern, timeout, pid=self.pid)


class App:
    """Builds packages of test apps and runs them with a private home below tmp_path."""

    def __init__(self, bin_dir, fixture_dir, desktop, tmp_path):
        self.bin_dir = pathlib.Path(bin_dir)
        self.fixture_dir = pathlib.Path(fixture_dir)
        self.desktop = desktop
        self.tmp = pathlib.Path(tmp_path)
        self.home = self.tmp / "home"
        self.data_home = self.home / ".local" / "share"
        self.data_home.mkdir(parents=True)
        self.runs = []

    @property
    def runtime(self):
        return self.bin_dir / "crv-runtime"

    def loader(self, name):
        """Path of a loader library: 'default' is the real stand-in, others are test loaders."""
        if name == "default":
            return self.bin_dir / "libcrvwebview.so"
        return self.fixture_dir / "loaders" / f"{name}.so"

    def write_app(self, files, folder="site"):
        return write_files(self.tmp / folder, files)

    def pack(self, files=None, *, app_id="test.app", name="Test App", dir_name="app", settings=None,
             loader="default", out="package", extra=()):
        """Packs files (relative path -> text or bytes) with crv-pack and returns the package path."""
        site = self.write_app(files or {"index.html": "<title>t</title>"})
        output = self.tmp / out
        args = [str(self.bin_dir / "crv-pack"), str(site), "-o", str(output), "--id", app_id, "--name", name,
                "--dir-name", dir_name]
        for key, value in (settings or {}).items():
            args += ["--set", f"{key}={value}"]
        if loader:
            args += ["--loader", str(self.loader(loader))]
        args += list(extra)
        subprocess.run(args, check=True, capture_output=True, timeout=60)
        return output

    def pack_by_hand(self, entries, out="package"):
        """A package made without crv-pack: `zip -0 -P` over the entries, then runtime + zip."""
        staging = self.tmp / (out + ".staging")
        for name, content in entries.items():
            path = staging / name
            path.parent.mkdir(parents=True, exist_ok=True)
            if isinstance(content, pathlib.Path):
                shutil.copyfile(content, path)
            else:
                path.write_bytes(content if isinstance(content, bytes) else content.encode())
        archive = self.tmp / (out + ".zip")
        subprocess.run(["zip", "-q", "-0", "-r", "-P", ARCHIVE_PASSWORD, str(archive), "."], cwd=staging,
                       check=True)
        output = self.tmp / out
        output.write_bytes(self.runtime.read_bytes() + archive.read_bytes())
        output.chmod(0o755)
        return output

    def env(self, **extra):
        env = dict(self.desktop.env)
        for key in list(env):
            if key.startswith(("LC_", "WEBVIEW2_", "XDG_DATA", "XDG_CONFIG")) or key in ("LANG", "LANGUAGE"):
                del env[key]
        env.update(HOME=str(self.home), XDG_DATA_HOME=str(self.data_home), LANG="C.UTF-8", NO_AT_BRIDGE="1",
                   GDK_BACKEND="x11")
        env.update({k: str(v) for k, v in extra.items()})
        return env

    def start(self, package, *args, cwd=None, **env):
        proc = subprocess.Popen([str(package), *map(str, args)], env=self.env(**env), cwd=cwd,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        run = Run(proc, self.desktop)
        self.runs.append(run)
        return run

    def run(self, package, *args, timeout=20.0, **env):
        """Runs a package that is expected to end by itself; returns (exit code, stdout, stderr)."""
        return self.start(package, *args, **env).wait(timeout)

    def page_result(self, run, name="result.json", timeout=30.0):
        """Waits for the run to end by itself and returns the JSON its page wrote beside the package
        with crv.files.writeTextFile (a UTF-8 text file with byte-order mark)."""
        code, _, err = run.wait(timeout)
        path = self.tmp / name
        assert code == 0 and path.exists(), f"the page did not report (exit {code}): {err}"
        return json.loads(path.read_text(encoding="utf-8-sig"))

    def run_page(self, body, *, files=None, settings=None, timeout=30.0, **env):
        """Packs a page whose script runs body (the inside of an async function, which returns what
        the test checks), then writes that value to result.json and closes the application; starts
        it and returns the value. In body, settle(promise, ms) gives {ok: value}, {err: reason} or
        'pending' when the promise has not settled within ms milliseconds."""
        page = PAGE_TEMPLATE.replace("BODY", body)
        package = self.pack({"index.html": page, **(files or {})}, settings=settings)
        return self.page_result(self.start(package, **env), timeout=timeout)

    def data_dir(self, app_id="test.app"):
        return self.data_home / app_id

    def stop_all(self):
        for run in self.runs:
            if run.running():
                run.proc.kill()
            try:
                run.proc.communicate(timeout=10)
            except (subprocess.TimeoutExpired, ValueError):
                pass
