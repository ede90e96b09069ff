"""crv.dialogs.openFile and saveFile in a real package: the test answers each dialog through the
keyboard as a user would, and the page reports what its calls resolved with."""
from harness import PAGE_TEMPLATE, poll

TYPES = "Text files|*.txt;All files|*.*"
# An ID of these tests' own: a package of another test run at the same time would hold the instance lock.
APP_ID = "test.file-dialogs"


def press_until_gone(desktop, window, *keys):
    """Presses the keys until the dialog closes: before its folder is listed, Return picks nothing."""
    gone = lambda: window not in desktop.windows(".*")

    def attempt():
        if gone():
            return True
        desktop.keys(window, *keys)
        return poll(gone, 1.0)
    assert poll(attempt, 15), "the dialog did not close"


def other_window(desktop, pid, known):
    """A visible window of the process that is none of known."""
    return poll(lambda: [w for w in desktop.windows(".*", pid=pid) if w not in known], 10)


def test_open_and_save_dialogs_answered_by_the_user(app):
    folder = app.tmp / "pick"
    folder.mkdir()
    for name in ("a.dat", "b.txt", "ünï.txt"):
        (folder / name).write_text(name)
    page = f"""
      const F = {str(folder)!r}, types = {TYPES!r};
      const r = {{}};
      r.first = await crv.dialogs.openFile({{title: 'Choose text', fileTypes: types, fileName: F + '/'}});
      r.chosen = await crv.dialogs.openFile({{fileTypes: types, fileName: F + '/'}});
      r.remembered = await crv.dialogs.openFile({{title: 'Again', fileTypes: types, fileName: F + '/'}});
      r.cancelled = await settle(crv.dialogs.openFile({{title: 'Cancel me'}}), 60000);
      r.replaced = await crv.dialogs.saveFile(
          {{title: 'Save over', overwritePrompt: true, fileName: F + '/b.txt'}});
      r.saved = await crv.dialogs.saveFile({{fileName: F + '/b.txt', fileTypes: 'broken'}});
      return r;
    """
    package = app.pack({"index.html": PAGE_TEMPLATE.replace("BODY", page)}, app_id=APP_ID)
    run = app.start(package)
    desk = app.desktop
    main = run.window("^Test App$", 40)

    # First call: the caller's title, and the first filter, under which b.txt is the first file listed.
    press_until_gone(desk, run.window("^Choose text$", 40), "Return")

    # Second call: the default title; the user takes the second filter, then types a path.
    dialog = run.window("^Open file$")
    desk.keys(dialog, "Tab", "Down")
    desk.screenshot(app.tmp / "open-dialog.png")
    desk.keys(dialog, "ctrl+l")
    desk._run("xdotool", "type", "--delay", "20", str(folder / "ünï.txt"))
    press_until_gone(desk, dialog, "Return")

    # Third call opens with the filter last chosen: all files, so a.dat comes first.
    press_until_gone(desk, run.window("^Again$"), "Return")
    press_until_gone(desk, run.window("^Cancel me$"), "Escape")

    # Saving over an existing file asks first when the page wants the question.
    dialog = run.window("^Save over$")
    desk.keys(dialog, "Return")
    question = other_window(desk, run.pid, {main, dialog})
    assert question, "no question before replacing the file"
    press_until_gone(desk, question[0], "Return")
    desk.wait_no_window("^Save over$")
    # ...and does not without it: the page's result arrives only if no question stops the dialog.
    press_until_gone(desk, run.window("^Save file$"), "Return")

    r = app.page_result(run)
    assert r == {"first": f"{folder}/b.txt", "chosen": f"{folder}/ünï.txt", "remembered": f"{folder}/a.dat",
                 "cancelled": {"ok": ""}, "replaced": f"{folder}/b.txt", "saved": f"{folder}/b.txt"}


def test_open_dialog_offers_a_bare_name_before_any_folder_is_known(app):
    # The name stands in the dialog's location field, in the working folder, so Return takes it.
    work = app.tmp / "work"
    work.mkdir()
    for name in ("a.txt", "named.txt"):
        (work / name).write_text(name)
    page = "return await crv.dialogs.openFile({title: 'Bare name', fileName: 'named.txt'});"
    run = app.start(app.pack({"index.html": PAGE_TEMPLATE.replace("BODY", page)}, app_id=APP_ID), cwd=work)
    press_until_gone(app.desktop, run.window("^Bare name$", 40), "Return")
    assert app.page_result(run) == f"{work}/named.txt"


def test_closing_the_application_while_a_dialog_shows(app):
    # Calls go on being served while the dialog waits; the page closes itself when the test says so.
    # The dialog goes with the window (else the process would wait for it), and the call that opened it
    # gets no answer from a module that is gone.
    page = """<title>Test App</title><script>
      window.addEventListener('load', async () => {
        crv.dialogs.saveFile({title: 'Left open'});
        while (!(await crv.files.fileExists({filePath: 'go'}))) await new Promise(d => setTimeout(d, 100));
        crv.app.close();
      });</script>"""
    run = app.start(app.pack({"index.html": page}, app_id=APP_ID))
    run.window("^Left open$", 40)
    (app.tmp / "go").write_text("")
    code, _, err = run.wait(20)
    assert code == 0, err


def test_the_session_ending_the_program_closes_an_open_dialog(app):
    # At log-out the session sends SIGTERM; a dialog waiting for an answer must not keep the process.
    page = """<title>Test App</title><script>
      window.addEventListener('load', () => crv.dialogs.openFile({title: 'Waiting'}));</script>"""
    run = app.start(app.pack({"index.html": page}, app_id=APP_ID))
    run.window("^Waiting$", 40)
    run.proc.terminate()
    code, _, err = run.wait(20)
    assert code == 0, err
