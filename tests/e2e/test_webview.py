"""The browser loader stand-in (libcrvwebview.so) driven through its exports by the test host wvhost:
events, scripts, messages, resource serving, storage, security, windows, permissions, keys and bounds.

The host prints one JSON line per observation; pages drive it with messages {"host": command, ...}."""
import http.server
import json
import os
import pathlib
import subprocess
import threading
import time

import pytest

from harness import poll, write_files

INVALID_STATE = -2147019873  # HRESULT_FROM_WIN32(ERROR_INVALID_STATE)
E_INVALIDARG = -2147024809

POST = "var post = (m) => window.chrome.webview.postMessage(m);"


@pytest.fixture(scope="session")
def wv_bin():
    """The stand-in library and its test host, from CRV_BIN_DIR (else the release build)."""
    root = pathlib.Path(__file__).resolve().parents[2]
    bin_dir = pathlib.Path(os.environ.get("CRV_BIN_DIR", root / "build" / "release" / "bin"))
    library, host = bin_dir / "libcrvwebview.so", bin_dir.parent / "fixtures" / "wvhost"
    if not library.exists() or not host.exists():
        pytest.skip(f"build crvwebview and wvhost into {bin_dir.parent} first")
    return library, host


class Host:
    """One run of wvhost; collects its JSON lines as they come."""

    def __init__(self, wv_bin, desktop, tmp_path, site, *args, data="data"):
        library, host = wv_bin
        home = tmp_path / "home"
        home.mkdir(exist_ok=True)
        environment = dict(desktop.env, HOME=str(home), XDG_DATA_HOME=str(home / "share"),
                           XDG_CACHE_HOME=str(home / "cache"), LANG="C.UTF-8", NO_AT_BRIDGE="1", GDK_BACKEND="x11",
                           WEBVIEW2_USER_DATA_FOLDER=str(tmp_path / data) + "/")
        self.desktop = desktop
        self.events = []
        self.stderr_path = tmp_path / f"host-{len(list(tmp_path.glob('host-*.err')))}.err"
        with open(self.stderr_path, "w") as stderr:
            self.proc = subprocess.Popen([str(host), "--lib", str(library), "--root", str(site), *map(str, args)],
                                         env=environment, stdout=subprocess.PIPE, stderr=stderr, text=True)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.proc.stdout:
            try:
                self.events.append(json.loads(line))
            except ValueError:
                pass

    def all(self, name, **match):
        return [e for e in list(self.events) if e["event"] == name and all(e.get(k) == v for k, v in match.items())]

    def wait(self, name, timeout=15, **match):
        found = poll(lambda: self.all(name, **match), timeout)
        assert found, f"no {name} {match} in {self.events}"
        return found[0]

    def message(self, key, timeout=15):
        """The first page message that is a JSON object with the key, parsed."""
        def find():
            for event in self.all("WebMessage"):
                data = json.loads(event["json"])
                if isinstance(data, dict) and key in data:
                    return data
            return None
        found = poll(find, timeout)
        assert found, f"no message with {key!r} in {self.events}"
        return found

    def names(self):
        return [e["event"] for e in list(self.events)]

    def finish(self, timeout=15):
        try:
            self.proc.wait(timeout=timeout)
        finally:
            if self.proc.poll() is None:
                self.proc.kill()
                self.proc.wait()
            self._reader.join(5)
        return self.proc.returncode

    def window(self, pattern, timeout=10):
        return self.desktop.wait_window(pattern, timeout, pid=self.proc.pid)


@pytest.fixture
def run_host(wv_bin, desktop, tmp_path):
    hosts = []

    def start(files, *args, **kwargs):
        site = write_files(tmp_path / "site", files)
        host = Host(wv_bin, desktop, tmp_path, site, *args, **kwargs)
        hosts.append(host)
        return host
    yield start
    for host in hosts:
        ended_by_itself = host.proc.poll() is not None
        if not ended_by_itself:
            host.proc.kill()
        host.proc.wait()
        errors = host.stderr_path.read_text(errors="replace")
        assert "Sanitizer" not in errors, errors
        if ended_by_itself:
            assert host.proc.returncode == 0, errors[-2000:]


def page(script, head=""):
    return (f"<!doctype html><html><head><meta charset=utf-8>{head}</head>"
            f"<body><script>{POST}\n{script}</script></body></html>")


def test_document_scripts_run_first_in_every_frame_and_can_be_removed(run_host):
    early = "post({where: window === top ? 'top' : 'frame', marker: window.marker || null, " \
            "webview: typeof window.chrome.webview});"
    # The page adds two scripts, removes the second by the id the host passes on, and moves on.
    manage = """
    window.chrome.webview.addEventListener('message', (e) => {
      if (e.data.tag !== 'gone') return;
      post({host: 'removeScript', id: e.data.scriptAdded});
      post({host: 'navigate', uri: 'file:///second.html'});
    });
    addEventListener('load', () => {  // once the frame has its document
      post({host: 'addScript', tag: 'later', script: "window.later = 'yes'"});
      post({host: 'addScript', tag: 'gone', script: "window.marker = 'gone'"});
    });
    """
    host = run_host({
        "index.html": page(manage, head=f"<script>{POST}{early}</script>").replace(
            "<body>", "<body><iframe src='frame.html'></iframe>"),
        "frame.html": f"<script>{POST}{early}</script>",
        "second.html": page("post({second: [window.marker || null, window.later || null]});"),
    }, "--script", "window.marker = 'added'")
    top = host.wait("WebMessage", source="file:///index.html")
    frame = host.wait("WebMessage", source="file:///frame.html")
    assert json.loads(top["json"]) == {"where": "top", "marker": "added", "webview": "object"}
    assert json.loads(frame["json"]) == {"where": "frame", "marker": "added", "webview": "object"}
    assert host.wait("FrameNavigationStarting")["uri"] == "file:///frame.html"
    assert host.wait("FrameNavigationCompleted")["success"] is True
    assert host.message("second")["second"] == ["added", "yes"]
    added = [e["id"] for e in host.all("scriptAdded")]
    assert len(set(added)) == 2 and all(added)


def test_execute_script_answers_json(run_host):
    cases = {
        "sum": ("1 + 2", True, 3),
        "undefined": ("undefined", True, None),
        "object": ("({a: [1, 'x'], b: null})", True, {"a": [1, "x"], "b": None}),
        "string": ("'t\\u00e9xt'", True, "t\u00e9xt"),
        "function": ("(function () {})", True, None),  # no JSON form: null
        "throws": ("throw new Error('boom')", False, None),
        "page": ("document.title", True, "Exec"),
    }
    commands = "".join(f"post({{host: 'exec', tag: {json.dumps(tag)}, script: {json.dumps(script)}}});"
                       for tag, (script, _, _) in cases.items())
    host = run_host({"index.html": page(commands, head="<title>Exec</title>")})
    for tag, (_, ok, value) in cases.items():
        result = host.wait("exec", tag=tag)
        assert result["ok"] == ok, tag
        assert json.loads(result["result"]) == value, tag


def test_messages_both_ways(run_host):
    script = """
    const seen = [];
    window.chrome.webview.addEventListener('message', (e) => {
      seen.push([typeof e.data, e.data]);
      if (seen.length === 3) post({seen});
    });
    post({host: 'post', tag: 'object', json: '{"a": [1, {"b": "\\u00e9"}]}'});
    post({host: 'postString', tag: 'string', text: 'plain "text"'});
    post({host: 'post', tag: 'number', json: '42'});
    post({host: 'post', tag: 'invalid', json: '{not json'});
    post('hello');
    post(7);
    """
    host = run_host({"index.html": page(script)}, "--from-thread")
    assert host.message("seen")["seen"] == [["object", {"a": [1, {"b": "\u00e9"}]}], ["string", 'plain "text"'],
                                            ["number", 42]]
    assert host.wait("posted", tag="invalid")["ok"] is False
    text = host.wait("WebMessage", json='"hello"')
    assert (text["source"], text["string"]) == ("file:///index.html", "hello")
    number = host.wait("WebMessage", json="7")
    assert (number["string"], number["stringResult"]) == (None, E_INVALIDARG)


def test_messages_posted_while_a_frames_message_is_handled_go_to_the_top_document(run_host):
    top = """
    const seen = [];
    window.chrome.webview.addEventListener('message', (e) => {
      seen.push(e.data.n);
      if (seen.length === 3) post({seen});
    });
    post({host: 'post', json: '{"n": "top 1"}'});
    addEventListener('load', () => post({host: 'post', json: '{"n": "top 2"}'}));
    """
    frame = """
    window.chrome.webview.addEventListener('message', (e) => post({frameGot: e.data}));
    post({host: 'post', json: '{"n": "from the frame"}'});
    """
    host = run_host({"index.html": page(top).replace("<body>", "<body><iframe src='frame.html'></iframe>"),
                     "frame.html": page(frame)})
    assert sorted(host.message("seen")["seen"]) == ["from the frame", "top 1", "top 2"]
    time.sleep(0.3)
    assert not [e for e in host.all("WebMessage") if "frameGot" in e["json"]]


@pytest.mark.parametrize("deferred", [False, True], ids=["at-once", "deferred"])
def test_requests_are_served_by_the_host_or_from_disk(run_host, tmp_path, deferred):
    outside = write_files(tmp_path / "outside", {"note.txt": "from disk"})
    script = f"""
    const text = (r) => r.ok ? r.text() : Promise.reject(r.status);
    Promise.allSettled([
      fetch('data/v.json').then((r) => r.json().then((j) => [j, r.headers.get('x-served-by'),
                                                             r.headers.get('content-type')])),
      fetch('{outside}/note.txt?x=1').then(text),
      fetch('missing.txt').then(text),
      new Promise((ok, fail) => {{ const x = new XMLHttpRequest(); x.open('GET', 'data/v.json');
        x.onload = () => ok(JSON.parse(x.responseText)); x.onerror = () => fail('xhr'); x.send(); }}),
    ]).then((r) => post({{results: r.map((x) => x.status === 'fulfilled' ? x.value : 'failed'),
                          text: document.getElementById('t').textContent}}));
    """
    host = run_host({
        "index.html": page(script).replace("<body>", "<body><p id=t>h\u00e9llo \u4e16\u754c</p>"),
        "data/v.json": '{"v": 1}',
    }, *(["--defer"] if deferred else []))
    result = host.message("results")
    assert result["results"] == [[{"v": 1}, "wvhost", "application/json; charset=utf-8"], "from disk", "failed",
                                 {"v": 1}]
    assert result["text"] == "h\u00e9llo \u4e16\u754c"  # the charset of the host's header counts
    served = {e["uri"]: e["served"] for e in host.all("request")}
    assert served["file:///index.html"] and served["file:///data/v.json"]
    assert served[f"file://{outside}/note.txt?x=1"] is False
    assert served["file:///missing.txt"] is False
    assert host.wait("request", uri="file:///index.html")["context"] == 1  # the document


def test_storage_survives_a_restart_in_the_data_folder(run_host, tmp_path):
    write = """
    localStorage.setItem('k', 'kept');
    const open = indexedDB.open('db', 1);
    open.onupgradeneeded = () => open.result.createObjectStore('s');
    open.onsuccess = () => {
      const tx = open.result.transaction('s', 'readwrite');
      tx.objectStore('s').put('stored', 'key');
      tx.oncomplete = () => { post({written: true}); post({host: 'quit'}); };
    };
    """
    read = """
    const open = indexedDB.open('db', 1);
    open.onupgradeneeded = () => open.result.createObjectStore('s');
    open.onsuccess = () => {
      const get = open.result.transaction('s').objectStore('s').get('key');
      get.onsuccess = () => { post({read: [localStorage.getItem('k'), get.result || null]}); post({host: 'quit'}); };
    };
    """
    files = {"write.html": page(write), "read.html": page(read)}
    first = run_host(files, "--start", "file:///write.html")
    first.message("written")
    assert first.finish() == 0
    assert list((tmp_path / "data").rglob("*.localstorage")), "localStorage is not under the data folder"
    second = run_host(files, "--start", "file:///read.html")
    assert second.message("read")["read"] == ["kept", "stored"]
    assert second.finish() == 0
    other = run_host(files, "--start", "file:///read.html", data="other-data")
    assert other.message("read")["read"] == [None, None]


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def test_a_remote_page_reaches_neither_the_app_nor_the_disk(run_host, tmp_path):
    secret = write_files(tmp_path / "secret", {"s.txt": "secret", "p.png": b"\x89PNG\r\n\x1a\n"})
    probes = {"schemeFetch": "crvfile:///s.txt", "fileFetch": f"file://{secret}/s.txt",
              "schemeImg": "crvfile:///p.png", "fileImg": f"file://{secret}/p.png",
              "schemeFrame": "crvfile:///s.txt", "fileFrame": f"file://{secret}/s.txt"}
    remote = write_files(tmp_path / "remote", {"remote.html": page(f"""
    const probes = {json.dumps(probes)};
    const tries = Object.entries(probes).map(([name, url]) => new Promise((done) => {{
      if (name.endsWith('Fetch')) fetch(url).then((r) => r.text()).then((t) => done([name, 'read ' + t]),
                                                                         () => done([name, 'blocked']));
      if (name.endsWith('Img')) {{ const i = new Image(); i.onload = () => done([name, 'loaded']);
                                   i.onerror = () => done([name, 'blocked']); i.src = url; }}
      if (name.endsWith('Frame')) {{ const f = document.createElement('iframe'); f.src = url;
        document.body.appendChild(f);
        setTimeout(() => {{ let r = 'opaque'; try {{ if (f.contentDocument) r = 'read ' +
          f.contentDocument.body.textContent; }} catch (e) {{}} done([name, r]); }}, 700); }}
    }}));
    Promise.all(tries).then((r) => post({{probes: Object.fromEntries(r)}}));
    """)})
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), lambda *a: _QuietHandler(*a, directory=str(remote)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        host = run_host({"s.txt": "app secret", "p.png": b"\x89PNG\r\n\x1a\n"},
                        "--start", f"http://127.0.0.1:{server.server_address[1]}/remote.html")
        results = host.message("probes")["probes"]
    finally:
        server.shutdown()
    assert results == {"schemeFetch": "blocked", "fileFetch": "blocked", "schemeImg": "blocked",
                       "fileImg": "blocked", "schemeFrame": "opaque", "fileFrame": "opaque"}
    assert host.all("request") == []  # the app's handler never even heard of the attempts
    assert host.all("NavigationStarting")[-1]["uri"].startswith("http://127.0.0.1:")


@pytest.mark.parametrize("handled", [True, False], ids=["handled", "browser-window"])
def test_new_windows(run_host, handled):
    script = """
    const w = window.open('', '_blank', 'width=320,height=240');
    if (w) { w.document.write('<title>popup-window</title>'); w.document.close(); }
    post({opened: w !== null});
    """
    host = run_host({"index.html": page(script)}, *(["--handle-new-windows"] if handled else []))
    request = host.wait("NewWindowRequested")
    assert (request["uri"], request["user"]) == ("about:blank", False)
    assert host.message("opened")["opened"] is not handled
    if handled:
        time.sleep(0.5)
        assert not host.desktop.windows("^popup-window$", host.proc.pid)
    else:
        host.window("^popup-window$")


@pytest.mark.parametrize("state, code", [(1, 2), (2, 1), (0, 1)], ids=["allow", "deny", "browser-default"])
def test_permission_state_decides(run_host, state, code):
    # Geolocation granted but without a location source fails with 2 (unavailable); refused, with 1.
    script = "navigator.geolocation.getCurrentPosition(() => post({geo: 0}), (e) => post({geo: e.code}));"
    host = run_host({"index.html": page(script)}, "--permission", state)
    assert host.wait("PermissionRequested") == {"event": "PermissionRequested", "kind": 3,
                                                "uri": "file:///index.html"}
    assert host.message("geo")["geo"] == code


def test_navigation_events_titles_and_failures(run_host):
    script = """
    if (!sessionStorage.step) {
      sessionStorage.step = 1;
      setTimeout(() => { location.href = 'cancelled.html'; }, 50);
      setTimeout(() => { location.hash = 'part'; }, 400);
      setTimeout(() => { location.href = 'missing.html'; }, 700);
    }
    """
    host = run_host({"index.html": page(script, head="<title>First \u00e9</title>"),
                     "cancelled.html": page("")}, "--cancel", "cancelled")
    host.wait("NavigationCompleted", id=3)
    names = [e for e in host.names() if e not in ("request", "ready", "GotFocus", "WebMessage")]
    first = names[:names.index("NavigationCompleted") + 1]
    assert first == ["NavigationStarting", "SourceChanged", "ContentLoading", "HistoryChanged",
                     "NavigationCompleted"]
    assert host.all("NavigationStarting")[0] == {"event": "NavigationStarting", "uri": "file:///index.html",
                                                 "user": True, "redirect": False, "id": 1, "cancel": False}
    assert host.all("DocumentTitleChanged")[0]["title"] == "First \u00e9"
    # Cancelled: completed as failed with OPERATION_CANCELED, and the page stays.
    assert host.wait("NavigationStarting", id=2)["cancel"] is True
    assert host.wait("NavigationCompleted", id=2) == {"event": "NavigationCompleted", "success": False,
                                                      "status": 14, "id": 2}
    assert not host.all("request", uri="file:///cancelled.html")
    # A fragment changes the source without a new document.
    assert host.wait("SourceChanged", source="file:///index.html#part")["newDocument"] is False
    # A missing document: its error page loads, then the navigation completes as failed.
    assert host.wait("ContentLoading", id=3)["errorPage"] is True
    assert host.wait("NavigationCompleted", id=3)["success"] is False
    assert host.wait("SourceChanged", source="file:///missing.html")["newDocument"] is True


def test_view_fills_the_bounds_it_is_given(run_host):
    script = """
    post({size: [innerWidth, innerHeight]});
    post({host: 'geometry'});
    addEventListener('resize', () => { post({resized: [innerWidth, innerHeight]}); post({host: 'geometry'}); });
    post({host: 'bounds', x: 100, y: 50, width: 300, height: 200});
    """
    host = run_host({"index.html": page(script)}, "--bounds", "15,25,500,300")
    assert host.message("size")["size"] == [500, 300]
    first = host.wait("geometry")
    assert (first["windowX"], first["windowY"], first["width"], first["height"]) == (15, 25, 500, 300)
    assert host.message("resized")["resized"] == [300, 200]
    moved = poll(lambda: [g for g in host.all("geometry") if g["width"] == 300])
    assert moved and (moved[0]["windowX"], moved[0]["windowY"], moved[0]["height"]) == (100, 50, 200)


def test_accelerator_keys_reach_the_host_first(run_host):
    script = """
    addEventListener('keydown', (e) => post({key: (e.ctrlKey ? 'C-' : '') + (e.altKey ? 'A-' : '') + e.key}), true);
    post({ready: true});
    """
    host = run_host({"index.html": page(script)}, "--handle-key", "0x53")  # S: Ctrl+S stays with the host
    host.message("ready")
    host.desktop.keys(host.window("^wvhost$"), "a", "ctrl+s", "alt+f", "F5", "Left")
    host.wait("WebMessage", json='{"key":"ArrowLeft"}')
    poll(lambda: len(host.all("AcceleratorKeyPressed")) >= 14)
    keys = [(e["kind"], e["key"], e["lParam"]) for e in host.all("AcceleratorKeyPressed")]
    # (kind, virtual key, lParam): scan code = X keycode - 8, bit 24 extended, 29 Alt, 30 was down, 31 up
    assert keys == [
        (0, 0x41, 0x001E0001), (1, 0x41, 0xC01E0001),  # a
        (0, 0x11, 0x001D0001), (0, 0x53, 0x001F0001),  # Ctrl, S
        (1, 0x11, 0xC01D0001), (1, 0x53, 0xC01F0001),
        (2, 0x12, 0x20380001), (2, 0x46, 0x20210001),  # Alt, F: system keys
        (3, 0x12, 0xE0380001), (1, 0x46, 0xC0210001),
        (0, 0x74, 0x003F0001), (1, 0x74, 0xC03F0001),  # F5
        (0, 0x25, 0x01690001), (1, 0x25, 0xC1690001),  # Left, an extended key
    ]
    seen = [json.loads(e["json"])["key"] for e in host.all("WebMessage") if '"key"' in e["json"]]
    assert seen == ["a", "C-Control", "A-Alt", "A-f", "F5", "ArrowLeft"]  # no Ctrl+S


def test_state_zoom_capture_close_request_and_close(run_host):
    script = """
    post({host: 'state'});
    post({host: 'capture'});
    post({host: 'zoom', value: 1.5});
    setTimeout(() => { post({host: 'state'}); window.close(); }, 200);
    setTimeout(() => post({host: 'close'}), 400);
    """
    host = run_host({"index.html": page(script, head="<title>State</title>")})
    state = host.wait("state")
    assert (state["source"], state["zoom"]) == ("file:///index.html", 1.0)
    assert state["browserPid"] != state["ownPid"]  # the host may end that process: never its own
    capture = host.wait("capture")
    assert capture["ok"] and capture["bytes"] > 100 and capture["magic"] == "137 80 78 71 "
    assert host.wait("ZoomFactorChanged")["zoom"] == 1.5
    assert host.wait("state", zoom=1.5)["title"] == "State"
    host.wait("WindowCloseRequested")  # window.close() asks; the view stays until the host closes it
    closed = host.wait("closed")
    assert closed == {"event": "closed", "close": 0, "after": INVALID_STATE, "viewsLeft": 0}


def test_script_dialogs_answered_by_the_host(run_host):
    script = "post({answers: [confirm('accept:'), confirm('no'), prompt('accept:typed', 'x'), prompt('no', 'x')]});"
    host = run_host({"index.html": page(script)}, "--no-default-dialogs")
    assert host.message("answers")["answers"] == [True, False, "typed", None]
    assert [e["kind"] for e in host.all("ScriptDialogOpening")] == [1, 1, 2, 2]
