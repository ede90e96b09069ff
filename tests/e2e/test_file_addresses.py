"""Absolute file:/// addresses in the app's pages: elements, styles, scripts, fetch(), XHR, workers and
module imports are answered from the archive, then beside the executable, then from the path on disk;
a remote page that asks for the same addresses gets nothing."""
import json

from harness import poll, web_site, write_files

# The README's answer to "is this one of the app's pages", the same on both systems.
APP_PAGE = "/file:$/.test(location.protocol)"

KINDS = ("image", "style", "script", "fetch", "xhr", "worker", "module")

# probe(base, name) loads every kind of file below base and says what each one held; a file that did
# not load gives null.
PROBE_JS = """
const within = (promise, ms) => Promise.race([promise, new Promise(done => setTimeout(() => done(null), ms))]);
const element = (tag, props) => new Promise(done => {
  const e = document.createElement(tag); Object.assign(e, props);
  e.onload = () => done(e); e.onerror = () => done(null); document.head.appendChild(e);
});
const guard = (f) => within(f().catch(() => null), 5000);
async function probe(base, name) {
  return {
    image: await guard(async () => { const e = await element('img', {src: base + 'pic.svg'}); return e && e.naturalWidth; }),
    style: await guard(async () => { await element('link', {rel: 'stylesheet', href: base + 'style.css'});
      return getComputedStyle(document.body).getPropertyValue('--' + name).trim() || null; }),
    script: await guard(async () => { await element('script', {src: base + 'script.js'}); return window['from_' + name] || null; }),
    fetch: await guard(async () => { const x = await fetch(base + 'data.txt'); return x.ok ? x.text() : null; }),
    xhr: await guard(() => new Promise(done => {
      const x = new XMLHttpRequest(); x.open('GET', base + 'data.txt');
      x.onload = () => done(x.status === 200 ? x.responseText : null); x.onerror = () => done(null); x.send(); })),
    worker: await guard(() => new Promise(done => {
      const w = new Worker(base + 'worker.js'); w.onmessage = e => done(e.data); w.onerror = () => done(null); })),
    module: await guard(async () => (await import(base + 'module.js')).default),
  };
}
"""


def probe_all(sources):
    """Script that leaves in r whether the page is one of the app's and what each source gave."""
    return (PROBE_JS + f"const r = {{appPage: {APP_PAGE}}};"
            f" for (const [name, base] of Object.entries({json.dumps(sources)})) r[name] = await probe(base, name);")


def source_files(base, name, width):
    """The probed files of one source; each says which source it is (the image by its width)."""
    return {
        "pic.svg": f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="1"></svg>',
        "style.css": f"body {{ --{name}: {name}; }}",
        "script.js": f"window.from_{name} = '{name}';",
        "data.txt": name,
        # Each loads a second file through the same kind of address.
        "worker.js": f"importScripts('{base}part.js'); postMessage(self.part);",
        "part.js": f"self.part = '{name}';",
        "module.js": f"import name from '{base}dep.js'; export default name;",
        "dep.js": f"export default '{name}';",
    }


def expected(name, width):
    return {"image": width, "style": name, "script": name, "fetch": name, "xhr": name, "worker": name,
            "module": name}


def test_package_pages_get_absolute_file_addresses_from_archive_beside_and_disk(app, tmp_path):
    absolute = tmp_path / "elsewhere"
    sources = {"archive": "file:///inside/", "beside": "file:///nearby/",
               "absolute": f"file://{absolute}/"}
    files = {f"inside/{name}": content
             for name, content in source_files(sources["archive"], "archive", 1).items()}
    beside = source_files(sources["beside"], "beside", 2)
    write_files(tmp_path / "nearby", beside)
    # The archive comes first: the same names beside the executable are never read.
    write_files(tmp_path / "inside", dict.fromkeys(beside, "beside, in the archive's place"))
    write_files(absolute, source_files(sources["absolute"], "absolute", 3))

    r = app.run_page(probe_all(sources) + "return r;", files=files, timeout=60)
    assert r.pop("appPage") is True
    assert r == {name: expected(name, width) for name, width in (("archive", 1), ("beside", 2), ("absolute", 3))}


def test_remote_page_gets_nothing_local(app, tmp_path):
    on_disk = tmp_path / "secret"
    write_files(on_disk, source_files(f"file://{on_disk}/", "absolute", 3))
    # The browser's own name for the app's addresses is no way in either.
    sources = {"archive": "file:///inside/", "absolute": f"file://{on_disk}/", "private": "crvfile:///inside/"}
    site = tmp_path / "remote"
    site.mkdir()
    (site / "remote.html").write_text(
        "<!doctype html><title>Remote</title><script>(async () => {" + probe_all(sources) +
        " document.title = 'RESULT ' + JSON.stringify(r); })();</script>")
    with web_site(site) as base:
        files = {f"inside/{name}": content
                 for name, content in source_files("file:///inside/", "archive", 1).items()}
        files["index.html"] = f"<title>Index</title><script>location.href = '{base}/remote.html';</script>"
        run = app.start(app.pack(files, settings={"DynamicAppTitle": "1"}))

        def seen():
            for window in app.desktop.windows("^RESULT ", pid=run.pid):
                return app.desktop.window_name(window)
            return None
        title = poll(seen, 60)
    assert title, "the remote page did not report"
    r = json.loads(title[len("RESULT "):])
    assert r.pop("appPage") is False
    assert r == dict.fromkeys(sources, dict.fromkeys(KINDS))
