"""The browser in the main window: pages served from the package, the document script, the dynamic
title, the window keys as the window manager sees them, new windows handed to a new instance, and a
browser that cannot be created."""
import json
import os
import re
import signal
import struct
import time
import zlib

import pytest

from harness import poll, web_site

MAIN = "^Test App$"


def png_1x1():
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"\x00\xff\x00\x00")) + chunk(b"IEND", b""))


def result_of(app, run, timeout=20.0):
    """The JSON a test page puts into its title after 'RESULT ' (DynamicAppTitle shows it)."""
    def seen():
        for window in app.desktop.windows("^RESULT ", pid=run.pid):
            return app.desktop.window_name(window)
        return None
    title = poll(seen, timeout)
    assert title, "the page did not report"
    return json.loads(title[len("RESULT "):])


REPORT = "document.title = 'RESULT ' + JSON.stringify(r);"

SERVING_PAGE = """<!doctype html><html><head><title>loading</title>
<script>window.__pageSawDocScript = window.__docScript === true;</script>
<link rel="stylesheet" href="CSS/Style.css">
<script src="js/app.js"></script>
<script src="file://ABSOLUTE"></script>
</head><body><img id="pic" src="img/my%20pic.png">
<script>
async function text(url) {
  try { const x = await fetch(url); return x.ok ? await x.text() : 'status ' + x.status; }
  catch (e) { return 'failed'; }
}
async function type(url) {
  try { const x = await fetch(url); return x.headers.get('content-type'); } catch (e) { return 'failed'; }
}
window.addEventListener('load', async () => {
  const r = {};
  r.docScriptFirst = window.__pageSawDocScript && window.__docScriptSawNoPageScript;
  r.script = window.__appJs === 1;
  r.style = getComputedStyle(document.body).marginLeft;
  r.img = document.getElementById('pic').naturalWidth;
  r.json = await text('data/Values.JSON');
  r.escaped = await text('a%2Fb.txt');
  r.query = await text('data.txt?x=1');
  r.beside = await text('beside.txt');
  r.absolute = window.__absolute;
  r.xhr = await new Promise(done => {
    const x = new XMLHttpRequest(); x.open('GET', 'data.txt');
    x.onload = () => done(x.responseText); x.onerror = () => done('failed'); x.send();
  });
  r.types = {};
  for (const ext of ['html', 'js', 'css', 'json', 'svg', 'png', 'txt', 'wasm', 'woff2'])
    r.types[ext] = await type('t/x.' + ext);
  """ + REPORT + """
});
</script></body></html>"""


def test_pages_scripts_styles_and_images_come_from_the_archive(app, tmp_path):
    absolute = tmp_path / "outside" / "abs.js"
    absolute.parent.mkdir()
    absolute.write_text("window.__absolute = 'absolute path';")
    files = {
        "index.html": SERVING_PAGE.replace("ABSOLUTE", str(absolute)),
        "css/style.css": "body { margin-left: 17px; }",
        "js/app.js": "window.__appJs = 1;",
        "img/my pic.png": png_1x1(),
        "data/values.json": '{"a": 1}',
        "data.txt": "plain data",
        "a/b.txt": "must not be found through %2F",
    }
    for ext in ["html", "js", "css", "json", "svg", "png", "txt", "wasm", "woff2"]:
        files[f"t/x.{ext}"] = "x"
    package = app.pack(files, settings={"DynamicAppTitle": "1"},
                       extra=["--script", str(app.write_app({"doc.js": (
                           "window.__docScript = true;"
                           "window.__docScriptSawNoPageScript = !document.querySelector('script');")},
                           folder="script") / "doc.js")])
    (package.parent / "beside.txt").write_text("beside the executable")
    r = result_of(app, app.start(package))
    assert r["docScriptFirst"] is True
    assert r["script"] is True
    assert r["style"] == "17px"
    assert r["img"] == 1
    assert r["json"] == '{"a": 1}'
    assert r["escaped"] in ("failed", "status 404")
    assert r["query"] in ("failed", "status 404")
    assert r["beside"] == "beside the executable"
    assert r["absolute"] == "absolute path"
    assert r["xhr"] == "plain data"
    # The system's registrations decide; Debian's media-types says application/javascript.
    assert r["types"].pop("js") in ("application/javascript; charset=utf-8", "text/javascript; charset=utf-8")
    assert r["types"] == {
        "html": "text/html; charset=utf-8",
        "css": "text/css; charset=utf-8", "json": "application/json; charset=utf-8",
        "svg": "image/svg+xml; charset=utf-8", "png": "image/png; charset=utf-8",
        "txt": "text/plain; charset=utf-8", "wasm": "application/wasm; charset=utf-8",
        "woff2": "font/woff2; charset=utf-8"}


@pytest.mark.parametrize("dynamic, expected", [("1", "Page Title"), ("0", "Test App")])
def test_dynamic_title(app, dynamic, expected):
    run = app.start(app.pack({"index.html": "<title>Page Title</title><p>x"},
                             settings={"DynamicAppTitle": dynamic}))
    assert poll(lambda: app.desktop.windows(f"^{expected}$", pid=run.pid), 20)
    if dynamic == "0":
        # The page has loaded and reported its title by now; the caption stays the name.
        assert app.desktop.windows(MAIN, pid=run.pid)


def test_empty_title_is_shown_as_it_is(app):
    page = "<title>First</title><script>setTimeout(() => { document.title = ''; }, 300);</script>"
    run = app.start(app.pack({"index.html": page}, settings={"DynamicAppTitle": "1"}))
    app.desktop.wait_window("^First$", 20, pid=run.pid)
    assert poll(lambda: app.desktop.windows("^$", pid=run.pid), 10)


class TestStartPage:
    PAGES = {"index.html": "<title>Index</title>", "page2.html": "<title>Page 2</title>"}

    @pytest.mark.parametrize("args, title", [
        (("test.app", "file:///page2.html"), "Page 2"),
        (("TEST.APP", "file:///page2.html"), "Index"),
        (("test.app", "file:///page2.html", "x"), "Index"),
        ((), "Index"),
    ])
    def test_hand_over_arguments_choose_the_page(self, app, args, title):
        package = app.pack(self.PAGES, settings={"DynamicAppTitle": "1", "AllowInstances": "1"})
        run = app.start(package, *args)
        assert poll(lambda: app.desktop.windows(f"^{title}$", pid=run.pid), 20)

    def test_index_html_setting_names_the_start_page(self, app):
        package = app.pack(self.PAGES, settings={"DynamicAppTitle": "1"}, extra=["--index", "page2.html"])
        run = app.start(package)
        assert poll(lambda: app.desktop.windows("^Page 2$", pid=run.pid), 20)


def test_new_window_on_a_local_page_starts_a_hand_over_instance(app):
    pages = {"index.html": ('<title>Index</title><body style="margin:0">'
                            '<a href="page2.html" target="_blank" style="display:block;height:100vh">open</a>'),
             "page2.html": "<title>Page 2</title>"}
    first = app.start(app.pack(pages, settings={"DynamicAppTitle": "1"}))
    window = app.desktop.wait_window("^Index$", 20, pid=first.pid)
    app.desktop.click(window, 200, 200)
    # The page opens in a new process (the hand-over passes the single-instance rule), not in this one.
    second = app.desktop.wait_window("^Page 2$", 20)
    pid = app.desktop.window_pid(second)
    try:
        assert pid != first.pid
        assert app.desktop.windows("^Index$", pid=first.pid)
    finally:
        os.kill(pid, signal.SIGTERM)


def test_a_loaded_page_that_does_nothing_leaves_the_window_asleep(app):
    # The loading bar is hidden once the page has loaded; it must not go on animating unseen.
    run = app.start(app.pack({"index.html": "<title>Idle</title><p>idle"}, settings={"DynamicAppTitle": "1"}))
    app.desktop.wait_window("^Idle$", 20, pid=run.pid)
    status = f"/proc/{run.pid}/task/{run.pid}/status"

    def wakeups():
        with open(status) as file:
            return next(int(line.split()[1]) for line in file if line.startswith("voluntary_ctxt_switches"))

    time.sleep(1)
    before = wakeups()
    time.sleep(2)
    # An animation wakes the window's thread 60 times a second; a few wakeups are the desktop's own.
    woken = wakeups() - before
    assert woken < 20, f"the idle window woke {woken} times in 2 s"


def test_failed_browser_creation_leaves_the_window_up(app):
    run = app.start(app.pack(loader="refuses"))
    run.window(MAIN)
    assert poll(lambda: not run.running(), 2) is None, "the window must stay up"
    run.proc.terminate()
    assert run.wait()[0] == 0
    assert "Failed to create" not in run.wait()[2]


class TestWindowKeys:
    def start(self, app, settings):
        run = app.start(app.pack(settings=settings))
        window = run.window(MAIN)
        return run, window

    def test_defaults_centred_sizeable_800_by_600(self, app):
        _, w = self.start(app, {})
        g = poll(lambda: (lambda g: g if g["WIDTH"] == 800 else None)(app.desktop.geometry(w)), 5)
        assert g and (g["WIDTH"], g["HEIGHT"]) == (800, 600)
        # Centred on the 1280 x 1024 screen (the frame shifts the client area a little).
        assert abs(g["X"] + 400 - 640) <= 20 and abs(g["Y"] + 300 - 512) <= 40
        state = app.desktop.prop(w, "_NET_WM_STATE")
        assert "MAXIMIZED" not in state and "ABOVE" not in state
        hints = app.desktop.prop(w, "WM_NORMAL_HINTS")
        assert "program specified maximum size" not in hints or "32767" in hints

    def test_size_limits_and_designed_position(self, app):
        _, w = self.start(app, {"WindowPosition": "1", "Left": "100", "Top": "80", "Width": "800",
                                "MinWidth": "1000", "MaxHeight": "500", "Height": "700"})
        g = poll(lambda: (lambda g: g if g["WIDTH"] == 1000 else None)(app.desktop.geometry(w)), 5)
        assert g, app.desktop.geometry(w)
        assert g["HEIGHT"] == 500
        hints = app.desktop.prop(w, "WM_NORMAL_HINTS")
        assert "minimum size: 1000 by" in hints and "maximum size: 32767 by 500" in hints

    @pytest.mark.parametrize("settings, maximized, above, decorated", [
        ({"WindowState": "1"}, True, False, True),
        ({"WindowState": "2"}, False, False, True),
        ({"WindowOrder": "1"}, False, True, True),
        ({"WindowStyle": "1", "WindowBorder": "3", "WindowState": "0"}, True, False, False),
        ({"WindowBorder": "0"}, False, False, False),
    ])
    def test_states_stacking_and_full_screen(self, app, settings, maximized, above, decorated):
        _, w = self.start(app, settings)
        def state():
            s = app.desktop.prop(w, "_NET_WM_STATE")
            return s if ("MAXIMIZED_VERT" in s) == maximized and ("ABOVE" in s) == above else None
        assert poll(state, 5), app.desktop.prop(w, "_NET_WM_STATE")
        motif = app.desktop.prop(w, "_MOTIF_WM_HINTS")
        assert ("0x2, 0x0" in motif) == (not decorated), motif

    @pytest.mark.parametrize("border, kind, resizable", [
        ("1", "_NET_WM_WINDOW_TYPE_NORMAL", False),
        ("2", "_NET_WM_WINDOW_TYPE_NORMAL", True),
        ("3", "_NET_WM_WINDOW_TYPE_DIALOG", False),
        ("4", "_NET_WM_WINDOW_TYPE_UTILITY", False),
        ("5", "_NET_WM_WINDOW_TYPE_UTILITY", True),
    ])
    def test_border_styles(self, app, border, kind, resizable):
        _, w = self.start(app, {"WindowBorder": border})
        assert kind in app.desktop.prop(w, "_NET_WM_WINDOW_TYPE")
        hints = app.desktop.prop(w, "WM_NORMAL_HINTS")
        fixed = re.search(r"minimum size: (\d+) by (\d+).*maximum size: \1 by \2", hints, re.S)
        assert (fixed is None) == resizable, hints


def test_remote_page_cannot_start_the_program_on_a_local_page(app, tmp_path):
    """A web page the window was led to asks for a new window on a local page: nothing starts."""

    site = tmp_path / "remote"
    site.mkdir()
    (site / "remote.html").write_text(
        "<title>Remote</title><script>setTimeout(() => {"
        " window.open('file:///index.html'); document.title = 'Remote asked'; }, 300);</script>")
    with web_site(site) as base:
        url = f"{base}/remote.html"
        package = app.pack({"index.html": f"<title>Index</title><script>location.href = '{url}';</script>"},
                           settings={"DynamicAppTitle": "1"})
        run = app.start(package)
        app.desktop.wait_window("^Remote asked$", 20, pid=run.pid)
        # Give a started instance time to show up, then look for a window of any other process.
        others = lambda: [w for w in app.desktop.windows("^(Index|Test App|Remote.*)$")
                          if app.desktop.window_pid(w) != run.pid]
        assert poll(others, 3) is None
        assert len(app.desktop.windows(".", pid=run.pid)) == 1


def test_close_box_asks_the_page_and_the_window_stays_until_it_answers(app):
    page = ("<title>Open</title><script>window.crv = {events: {onCloseQuery() {"
            " document.title = 'Asked ' + (++window.asked); }}}; window.asked = 0;</script>")
    run = app.start(app.pack({"index.html": page}, settings={"DynamicAppTitle": "1"}))
    window = app.desktop.wait_window("^Open$", 20, pid=run.pid)
    app.desktop.close(window)
    app.desktop.wait_window("^Asked 1$", 10, pid=run.pid)
    app.desktop.close(window)
    app.desktop.wait_window("^Asked 2$", 10, pid=run.pid)
    assert run.running()


def test_page_follows_every_resize_of_the_window(app):
    # The page reports its size each time it changes; a view that lags one resize behind would show
    # the previous size.
    page = """<title>Test App</title><script>
    const sizes = [];
    addEventListener('resize', () => {
      sizes.push([innerWidth, innerHeight]);
      if (innerHeight === 400)
        crv.files.writeTextFile({filePath: 'result.json', contents: JSON.stringify(sizes)}).then(() => crv.app.close());
    });
    </script>"""
    run = app.start(app.pack({"index.html": page}, settings={"Width": "800", "Height": "600"}))
    window = run.window(MAIN)
    for height in (500, 400):
        app.desktop._run("xdotool", "windowsize", "--sync", str(window), "700", str(height))
    assert app.page_result(run)[-1] == [700, 400]
