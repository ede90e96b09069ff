"""window.crv in a real package: the protocol, the files and folders functions, the app, window and
power functions, and the rule that only the application's own pages reach native code. Every page
reports through crv.files.writeTextFile and ends with crv.app.close (harness.App.run_page)."""
import json

import pytest

from harness import SETTLE_JS, poll, web_site

MAIN = "^Test App$"


def test_protocol_ids_replies_and_calls_that_get_no_reply(app):
    r = app.run_page("""
      const r = {};
      r.hello = await crv.hello();
      r.isRuntime = await crv.isRuntime();
      // hello works only on the object: detached, 'this' is not window.crv.
      const detached = crv.hello;
      r.detached = await settle(Promise.resolve().then(() => detached()), 300).then(x => x.err ? 'threw' : x);
      // Raw messages: the id as text, an unknown id, no data, data not an object, a plain string.
      const replies = [];
      window.chrome.webview.addEventListener('message', m => replies.push(m.data));
      const post = m => window.chrome.webview.postMessage(m);
      post({id: '10001', uuid: 'as-text', data: {}});
      post({id: 99999, uuid: 'unknown', data: {}});
      post({id: 10001, uuid: 'no-data'});
      post({id: 10001, uuid: 'array-data', data: []});
      post({id: 10001, uuid: 'null-data', data: null});
      post({id: 'x1', uuid: 'bad-id', data: {}});
      post('crv-webbrowser-clicked');
      post({id: 60002, uuid: 'object-arg', data: {style: {}}});
      // The bridge goes on serving after all of that.
      r.after = await crv.hello();
      r.replies = replies.map(x => [x.uuid, x.success, x.result]);
      r.fileExistsWithoutArgs = await settle(crv.files.fileExists(), 500);
      // Two calls in flight settle with their own replies.
      const [a, b] = await Promise.all([crv.window.getTitle(), crv.hello()]);
      r.inFlight = [a, b];
      return r;
    """)
    assert r["hello"] == "2021.47" and r["isRuntime"] is True
    assert r["detached"] == "threw"
    assert r["after"] == "2021.47"
    # Of the raw messages only the id given as text was answered, with the uuid as sent; the other
    # replies seen are those of the page's own calls.
    assert [x for x in r["replies"] if len(x[0]) != 36] == [["as-text", True, "2021.47"]]
    assert r["fileExistsWithoutArgs"] == "pending"
    assert r["inFlight"] == ["Test App", "2021.47"]


def test_texts_with_quotes_backslashes_and_other_scripts_arrive_unchanged(app):
    r = app.run_page("""
      const title = 'a "quoted" \\\\ back\\\\slash / ünï 😀';
      await crv.window.setTitle({title: title});
      const back = await crv.window.getTitle();
      await crv.window.setTitle({});
      const empty = await crv.window.getTitle();
      await crv.window.setTitle({title: 12.50});
      const number = await crv.window.getTitle();
      return {same: back === title, back: back, empty: empty, number: number};
    """)
    assert r["same"], r["back"]
    assert r["empty"] == ""
    # A number is read as the text it was sent as.
    assert r["number"] == "12.5"


class TestFiles:
    def test_write_test_and_delete_files_under_the_executables_folder(self, app):
        (app.tmp / "beside.txt").write_text("x")
        (app.tmp / "afolder").mkdir()
        absolute = app.tmp / "abs" / "file.txt"
        r = app.run_page(f"""
          const r = {{}};
          r.write = await crv.files.writeTextFile({{filePath: 'new/deeper/a.txt', contents: 'a\\nb\\r\\nc\\rd'}});
          r.empty = await crv.files.writeTextFile({{filePath: 'empty.txt'}});
          r.backslashes = await crv.files.writeTextFile({{filePath: 'new\\\\b.txt', contents: 'x\\n'}});
          r.absolute = await crv.files.writeTextFile({{filePath: '{absolute}', contents: 'abs'}});
          r.exists = [await crv.files.fileExists({{filePath: 'beside.txt'}}),
                      await crv.files.fileExists({{filePath: 'afolder'}}),
                      await crv.files.fileExists({{filePath: 'nothing.txt'}}),
                      await crv.folders.dirExists({{dirPath: 'afolder'}}),
                      await crv.folders.dirExists({{dirPath: 'beside.txt'}})];
          r.deleteMissing = await crv.files.deleteFile({{filePath: 'nothing.txt'}});
          r.deleteFolderAsFile = await crv.files.deleteFile({{filePath: 'afolder'}});
          r.deleteFile = await crv.files.deleteFile({{filePath: 'beside.txt'}});
          r.deleteDir = await crv.folders.deleteDir({{dirPath: 'new'}});
          r.deleteDirMissing = await crv.folders.deleteDir({{dirPath: 'new'}});
          r.missing = [await settle(crv.files.fileExists({{filePath: ''}})),
                       await settle(crv.files.deleteFile({{filePath: null}})),
                       await settle(crv.files.writeTextFile({{contents: 'x'}})),
                       await settle(crv.folders.dirExists({{}})),
                       await settle(crv.folders.deleteDir({{dirPath: ''}}))];
          r.objectContents = await settle(crv.files.writeTextFile({{filePath: 'obj.txt', contents: {{a: 1}}}}));
          r.objectPath = await settle(crv.files.fileExists({{filePath: ['a']}}), 500);
          return r;
        """)
        assert r["write"] is True and r["empty"] is True and r["backslashes"] is True and r["absolute"] is True
        assert r["exists"] == [True, False, False, True, False]
        assert (app.tmp / "empty.txt").read_bytes() == b"\xef\xbb\xbf"
        assert absolute.read_bytes() == b"\xef\xbb\xbfabs\r\n"
        assert [r["deleteMissing"], r["deleteFolderAsFile"], r["deleteFile"]] == [False, False, True]
        assert not (app.tmp / "beside.txt").exists() and (app.tmp / "afolder").is_dir()
        assert [r["deleteDir"], r["deleteDirMissing"]] == [True, False]
        assert not (app.tmp / "new").exists()
        assert r["missing"] == [{"err": "Missing filePath"}] * 3 + [{"err": "Missing dirPath"}] * 2
        # The contents are read in the guarded part: an error reply. A wrong path type: no reply.
        assert "err" in r["objectContents"] and r["objectContents"]["err"]
        assert r["objectPath"] == "pending"

    def test_text_file_format(self, app):
        app.run_page("""
          await crv.files.writeTextFile({filePath: 'lines.txt', contents: 'a\\nb\\r\\nc\\rd'});
          await crv.files.writeTextFile({filePath: 'ends.txt', contents: 'a\\n\\n'});
          await crv.files.writeTextFile({filePath: 'ü.txt', contents: 'é€😀'});
        """)
        assert (app.tmp / "lines.txt").read_bytes() == b"\xef\xbb\xbfa\r\nb\r\nc\r\nd\r\n"
        assert (app.tmp / "ends.txt").read_bytes() == b"\xef\xbb\xbfa\r\n\r\n"
        assert (app.tmp / "ü.txt").read_bytes() == "\ufeffé€😀\r\n".encode()

    def test_a_failed_write_keeps_the_old_file(self, app):
        (app.tmp / "locked").mkdir()
        (app.tmp / "locked" / "data.txt").write_bytes(b"precious")
        r = app.run_page("""
          return await settle(crv.files.writeTextFile({filePath: 'locked', contents: 'x'}));
        """)
        # A folder cannot be replaced by a file: the reason comes back, nothing is lost.
        assert "err" in r and "locked" in r["err"]
        assert (app.tmp / "locked" / "data.txt").read_bytes() == b"precious"

    def test_extract_files_of_the_package(self, app, tmp_path):
        target = tmp_path / "out" / "logo.png"
        target.parent.mkdir()
        kept = tmp_path / "out" / "kept.txt"
        kept.write_text("mine")
        r = app.run_page(f"""
          const r = {{}};
          r.ok = await crv.files.extractFile({{sourceFile: '/Images/Logo.PNG', targetFile: '{target}'}});
          r.notFound = await settle(crv.files.extractFile({{sourceFile: '/none.png', targetFile: '{kept}'}}));
          r.noSource = await settle(crv.files.extractFile({{sourceFile: '', targetFile: '{tmp_path}/x'}}));
          r.noTarget = await settle(crv.files.extractFile({{sourceFile: '/images/logo.png'}}));
          r.noFolder = await settle(crv.files.extractFile(
              {{sourceFile: '/images/logo.png', targetFile: '{tmp_path}/missing/x.png'}}));
          return r;
        """, files={"images/logo.png": b"\x89PNG\x00binary\xff"})
        assert r["ok"] is True and target.read_bytes() == b"\x89PNG\x00binary\xff"
        assert r["notFound"] == {"err": "File not found"}
        # A wrong name costs nothing: the file at the target stays as it was.
        assert kept.read_text() == "mine"
        assert r["noSource"] == {"err": "Missing sourceFile"} and not (tmp_path / "x").exists()
        assert r["noTarget"] == {"err": "Missing targetFile"}
        # No folder is made for the target; the reason comes back.
        assert "err" in r["noFolder"] and not (tmp_path / "missing").exists()

    def test_folder_getters_end_with_a_separator(self, app, tmp_path):
        config = tmp_path / "config"
        (config).mkdir()
        (config / "user-dirs.dirs").write_text(
            'XDG_DOCUMENTS_DIR="$HOME/Dokumente"\nXDG_DESKTOP_DIR="$HOME/Schreibtisch"\n')
        temp = tmp_path / "tmp"
        temp.mkdir()
        r = app.run_page("""
          return [await crv.folders.getTempDir(), await crv.folders.getUserDocumentsDir(),
                  await crv.folders.getUserDesktopDir(), await crv.folders.getAppExecutableDir(),
                  await crv.folders.getAppDataDir()];
        """, XDG_CONFIG_HOME=config, TMPDIR=temp)
        assert r == [f"{temp}/", f"{app.home}/Dokumente/", f"{app.home}/Schreibtisch/", f"{app.tmp}/",
                     f"{config}/"]


class TestWindow:
    def test_style_state_and_title(self, app):
        r = app.run_page("""
          const r = {};
          r.style0 = await crv.window.getStyle();
          await crv.window.setStyle({style: 'ontop'});
          r.style1 = await crv.window.getStyle();
          r.others = [];
          for (const s of ['OnTop', 'other', undefined]) {
            await crv.window.setStyle({style: 'ontop'});
            await crv.window.setStyle(s === undefined ? {} : {style: s});
            r.others.push(await crv.window.getStyle());
          }
          r.state0 = await crv.window.getState();
          r.capital = await crv.window.setState({state: 'Maximized'});
          r.state1 = await crv.window.getState();
          await crv.window.setState({state: 'maximized'});
          r.state2 = await crv.window.getState();
          await crv.window.setState({});
          r.state3 = await crv.window.getState();
          return r;
        """)
        assert (r["style0"], r["style1"], r["others"]) == ("normal", "ontop", ["normal"] * 3)
        assert r["capital"] is True
        assert [r["state0"], r["state1"], r["state2"], r["state3"]] == ["normal", "normal", "maximized", "normal"]

    def test_on_top_and_a_minimize_by_the_user_reach_the_window_manager_and_the_page(self, app):
        page = """<title>Ready</title><script>
          window.addEventListener('load', async () => {
            await crv.window.setStyle({style: 'ontop'});
            document.title = 'On top';
            let state = '';
            for (let i = 0; i < 300 && state !== 'minimized'; i++) {
              state = await crv.window.getState();
              await new Promise(done => setTimeout(done, 100));
            }
            await crv.files.writeTextFile({filePath: 'result.json', contents: JSON.stringify(state)});
            crv.app.close();
          });</script>"""
        run = app.start(app.pack({"index.html": page}, settings={"DynamicAppTitle": "1"}))
        window = app.desktop.wait_window("^On top$", 20, pid=run.pid)
        assert poll(lambda: "ABOVE" in app.desktop.prop(window, "_NET_WM_STATE"), 5)
        app.desktop._run("xdotool", "windowminimize", str(window))
        assert app.page_result(run) == "minimized"

    def test_full_screen_on_and_off(self, app):
        # The page shows each step in its title and goes on when the test leaves a file named after it.
        page = """<title>Windowed</title><script>""" + SETTLE_JS + """
          async function step(name) {
            document.title = name;
            while (!(await crv.files.fileExists({filePath: name}))) await new Promise(d => setTimeout(d, 100));
          }
          window.addEventListener('load', async () => {
            const r = [await crv.app.inFullscreen()];
            r.push(await settle(crv.app.enterFullscreen(), 300));
            crv.app.enterFullscreen();
            r.push(await crv.app.inFullscreen());
            await step('Full');
            crv.app.exitFullscreen();
            crv.app.exitFullscreen();
            r.push(await crv.app.inFullscreen());
            await step('Back');
            await crv.files.writeTextFile({filePath: 'result.json', contents: JSON.stringify(r)});
            crv.app.close();
          });</script>"""
        run = app.start(app.pack({"index.html": page}, settings={"DynamicAppTitle": "1", "WindowBorder": "3"}))

        def window_becomes(title, check):
            window = app.desktop.wait_window(f"^{title}$", 20, pid=run.pid)
            props = lambda: [app.desktop.prop(window, p) for p in ("_NET_WM_STATE", "_MOTIF_WM_HINTS",
                                                                   "_NET_WM_WINDOW_TYPE")]
            seen = poll(lambda: check(*props()), 10) or props()
            (app.tmp / title).write_text("")
            return seen
        # Maximized without border, then back with the border of WindowBorder (3: dialog).
        undecorated = "= 0x2, 0x0, 0x0,"
        full = window_becomes("Full", lambda state, motif, _: "MAXIMIZED_VERT" in state and undecorated in motif)
        back = window_becomes("Back", lambda state, motif, kind: "MAXIMIZED" not in state
                              and undecorated not in motif and "DIALOG" in kind)
        assert full is True and back is True, (full, back)
        # enterFullscreen and exitFullscreen never reply.
        assert app.page_result(run) == [False, "pending", True, False]

    def test_started_in_full_screen(self, app):
        assert app.run_page("return await crv.app.inFullscreen();", settings={"WindowStyle": "1"}) is True


def close_until(app, window, done):
    """Presses the close box until done() holds: the page answers only once its bridge is up."""
    def attempt():
        app.desktop.close(window)
        return poll(done, 0.5)
    return poll(attempt, 20)


class TestClose:
    def test_close_box_runs_the_default_handler_which_closes(self, app):
        run = app.start(app.pack())
        assert close_until(app, run.window(MAIN), lambda: not run.running())
        assert run.wait()[0] == 0

    def test_a_page_that_declines_closes_later_itself(self, app):
        page = """<title>Test App</title><script>
          let asked = 0;
          crv.events.onCloseQuery = function () {
            if (++asked === 1) { document.title = 'Declined'; setTimeout(() => crv.app.close(), 500); }
          };</script>"""
        run = app.start(app.pack({"index.html": page}, settings={"DynamicAppTitle": "1"}))
        assert close_until(app, run.window(MAIN), lambda: app.desktop.windows("^Declined$", pid=run.pid))
        assert run.wait()[0] == 0


@pytest.mark.parametrize("function", ["logoff", "reboot", "shutdown"])
def test_power_action_refused_by_the_system_rejects_with_its_message(app, function):
    # The system bus is pointed at a socket that does not exist: nothing can ever be switched off.
    r = app.run_page(f"return await settle(crv.system.{function}(), 10000);",
                     DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/crv-test-bus")
    assert "err" in r, r
    text = r["err"]
    assert text and text == text.rstrip(" .\r\n\t")


def test_only_the_applications_own_pages_reach_native_code(app, tmp_path):
    """A web page the window was led to has window.crv too, but its calls run nothing."""
    site = tmp_path / "remote"
    site.mkdir()
    target = tmp_path / "written-by-remote.txt"
    (site / "remote.html").write_text("""<title>Remote</title><script>""" + SETTLE_JS + """
      window.addEventListener('load', async () => {
        const r = {hasCrv: typeof window.crv === 'object'};
        r.write = await settle(crv.files.writeTextFile({filePath: '%s', contents: 'x'}), 1500);
        r.hello = await settle(crv.hello(), 500);
        document.title = 'RESULT ' + JSON.stringify(r);
      });</script>""" % target)
    with web_site(site) as base:
        url = f"{base}/remote.html"
        package = app.pack({"index.html": f"<title>Index</title><script>location.href = '{url}';</script>"},
                           settings={"DynamicAppTitle": "1"})
        run = app.start(package)
        window = app.desktop.wait_window("^RESULT ", 20, pid=run.pid)
        r = json.loads(app.desktop.window_name(window)[len("RESULT "):])
        assert r == {"hasCrv": True, "write": "pending", "hello": "pending"}
        assert not target.exists()
