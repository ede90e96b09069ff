"""Start-up of real packages: refusals with their dialogs and exit codes, the data folder, the loader
library, the browser's environment, the single-instance rule and the hand-over arguments."""
import shutil
import struct

import pytest

from harness import ARCHIVE_PASSWORD, poll

INI = "[App]\r\nID=test.app\r\nName=Test App\r\nDirName=app\r\n"
MAIN = "^Test App$"


def dismiss(app, run, title="^Error$"):
    """Answers the run's dialog with Return and returns its exit code, stdout and stderr."""
    dialog = run.window(title)
    app.desktop.keys(dialog, "Return")
    return run.wait()


def close_main(app, run, page=True):
    """Closes the main window with its close box, as a user does, and waits for the end. The page is
    asked each time; until its bridge is up the request goes unanswered, so it is repeated. Without a
    page that can answer (a test loader, a missing page) the process is asked to end, as the session
    does; it then ends in order with 0."""
    window = run.window(MAIN)
    if not page:
        run.proc.terminate()
        return run.wait()
    for _ in range(30):
        app.desktop.close(window)
        if poll(lambda: not run.running(), 1.0):
            break
    return run.wait()


def test_runtime_alone_refuses_with_message_5(app, tmp_path):
    bare = tmp_path / "bare"
    shutil.copyfile(app.runtime, bare)
    bare.chmod(0o755)
    run = app.start(bare)
    code, _, err = dismiss(app, run)
    assert code == 0
    assert "Error: This is not a valid Windows application. [Accept]" in err
    assert not any(app.data_home.iterdir()), "no folder may be created"


@pytest.mark.parametrize("lang, title, line", [
    ("fr_FR.UTF-8", "Erreur", "Erreur: Ce n'est pas une application Windows valide. [J'accepte]"),
    ("de_CH.UTF-8", "Error", "Error: Dies ist keine gültige Windows-Anwendung. [Akzeptieren]"),
    ("pt_BR.UTF-8", "Error", "Error: This is not a valid Windows application. [Accept]"),
])
def test_refusal_speaks_the_users_language(app, tmp_path, lang, title, line):
    bare = tmp_path / "bare"
    shutil.copyfile(app.runtime, bare)
    bare.chmod(0o755)
    run = app.start(bare, LANG=lang)
    code, _, err = dismiss(app, run, f"^{title}$")
    assert code == 0
    assert line in err


@pytest.mark.parametrize("ini", [
    None,                                              # no crv.ini at all
    "",                                                # empty file
    "[App]\r\nID=test.app\r\nName=\r\nDirName=app\r\n",  # empty Name
    "ID=test.app\r\nName=Test App\r\nDirName=app\r\n",   # keys before any section
])
def test_missing_identity_stops_silently(app, ini):
    entries = {"WebView2LoaderWin64.dll": app.loader("default"), "app/index.html": "x"}
    if ini is not None:
        entries["crv.ini"] = ini
    code, _, err = app.run(app.pack_by_hand(entries))
    assert (code, err) == (0, "")
    assert not app.data_dir().exists()


def test_damaged_archive_ends_with_error_box_and_code_1(app, tmp_path):
    damaged = tmp_path / "damaged"
    damaged.write_bytes(app.runtime.read_bytes() + b"this is not a zip archive" * 10)
    damaged.chmod(0o755)
    code, _, err = dismiss(app, app.start(damaged))
    assert code == 1
    assert err.startswith("Error: ")
    assert not app.data_dir().exists()


def stated_size(package, name, size):
    """Makes the archive's central directory state size as the entry's plain size."""
    data = bytearray(package.read_bytes())
    at = data.find(b"PK\x01\x02")
    while at >= 0:
        name_length = struct.unpack_from("<H", data, at + 28)[0]
        if data[at + 46:at + 46 + name_length] == name.encode():
            struct.pack_into("<I", data, at + 24, size)
        at = data.find(b"PK\x01\x02", at + 4)
    package.write_bytes(bytes(data))


@pytest.mark.parametrize("case", ["huge", "lying"])
def test_settings_past_the_size_limit_end_with_error_box_and_code_1(app, case):
    # The limit is 1 MiB: a 2 MiB file, or a small one whose entry claims 1 GiB.
    ini = INI + ("; " + "x" * 1000 + "\r\n") * 2000 if case == "huge" else INI
    package = app.pack_by_hand({"crv.ini": ini, "WebView2LoaderWin64.dll": app.loader("default"),
                                "app/index.html": "x"})
    if case == "lying":
        stated_size(package, "crv.ini", 1 << 30)
    code, _, err = dismiss(app, app.start(package))
    assert code == 1
    assert err.startswith("Error: ") and "crv.ini" in err
    assert not app.data_dir().exists()


def test_hand_made_package_opens_main_window_and_sets_up_data_folder(app):
    package = app.pack_by_hand({"crv.ini": INI, "WebView2LoaderWin64.dll": app.loader("default"),
                                "app/index.html": "<p>hi</p>"})
    run = app.start(package)
    assert app.desktop.window_name(run.window(MAIN)) == "Test App"
    loader = app.data_dir() / "Win64" / "WebView2LoaderWin64.dll"
    assert loader.read_bytes() == app.loader("default").read_bytes()
    # The browser may already have made its own data folder (WebKit) beside the loader.
    left = [p.name for p in loader.parent.iterdir() if p.name != "WebKit"]
    assert left == ["WebView2LoaderWin64.dll"], "no temporary file left"
    code, _, _ = close_main(app, run)
    assert code == 0
    assert loader.exists(), "the data folder stays for the next start"


def test_packaged_app_starts_like_a_hand_made_one(app):
    run = app.start(app.pack({"index.html": "<p>hi</p>"}))
    assert close_main(app, run)[0] == 0


def test_browser_environment_is_set_before_the_runtime_check(app, tmp_path):
    record = tmp_path / "env.txt"
    package = app.pack(loader="env_recorder")
    run = app.start(package, CRV_TEST_RECORD=record, WEBVIEW2_BROWSER_EXECUTABLE_FOLDER="/elsewhere",
                    WEBVIEW2_RELEASE_CHANNEL_PREFERENCE="1")
    run.window(MAIN)
    seen = dict(line.split("=", 1) for line in record.read_text().splitlines())
    assert seen == {
        "WEBVIEW2_USER_DATA_FOLDER": f"{app.data_dir()}/Win64/",
        "WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS":
            "--disable-logging --disable-features=RendererCodeIntegrity --enable-features=msSpeechRecognition",
        "WEBVIEW2_BROWSER_EXECUTABLE_FOLDER": "<unset>",
        "WEBVIEW2_RELEASE_CHANNEL_PREFERENCE": "<unset>",
    }
    assert close_main(app, run, page=False)[0] == 0


RUNTIME_ARGUMENTS = "--disable-logging --disable-features=RendererCodeIntegrity --enable-features=msSpeechRecognition"


@pytest.mark.parametrize("inherited", [
    # A WebDriver's or a developer's arguments reach the browser after the runtime's own.
    "--remote-debugging-port=9222",
    # A new window's start inherits the whole value and does not double it.
    RUNTIME_ARGUMENTS + " --remote-debugging-port=9222",
])
def test_browser_arguments_already_in_the_environment_are_kept(app, tmp_path, inherited):
    record = tmp_path / "env.txt"
    run = app.start(app.pack(loader="env_recorder"), CRV_TEST_RECORD=record,
                    WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS=inherited)
    run.window(MAIN)
    seen = dict(line.split("=", 1) for line in record.read_text().splitlines())
    assert seen["WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS"] == RUNTIME_ARGUMENTS + " --remote-debugging-port=9222"
    assert close_main(app, run, page=False)[0] == 0


def test_loader_is_extracted_once_and_never_replaced(app):
    first = app.pack(loader="env_recorder")
    assert close_main(app, app.start(first), page=False)[0] == 0
    extracted = app.data_dir() / "Win64" / "WebView2LoaderWin64.dll"
    assert extracted.read_bytes() == app.loader("env_recorder").read_bytes()

    # A later package of the same ID carries another loader: the one on disk is kept.
    second = app.pack(loader="no_runtime", out="package2")
    assert close_main(app, app.start(second), page=False)[0] == 0
    assert extracted.read_bytes() == app.loader("env_recorder").read_bytes()


def test_missing_loader_entry_leaves_an_empty_file_and_reports_no_runtime(app):
    # The installation flow itself is tested in test_installer.py.
    ini = INI + "EdgeInstaller=0\r\n"
    code, _, err = dismiss(app, app.start(app.pack_by_hand({"crv.ini": ini, "app/index.html": "x"})))
    assert code == 0 and "WebView2 runtime is required" in err
    assert (app.data_dir() / "Win64" / "WebView2LoaderWin64.dll").read_bytes() == b""


def test_unknown_theme_is_reported_and_start_up_goes_on(app):
    run = app.start(app.pack(settings={"Theme": "No Such Look"}))
    dialog = run.window("^Error$")
    app.desktop.keys(dialog, "Return")
    assert close_main(app, run)[0] == 0
    assert "Style 'No Such Look' not found" in run.wait()[2]


def test_theme_name_in_other_case_selects_the_system_look_silently(app):
    run = app.start(app.pack(settings={"Theme": "windows"}))
    code, _, err = close_main(app, run)
    assert (code, err) == (0, "")


class TestInstances:
    def test_second_start_ends_silently_while_first_runs(self, app):
        package = app.pack()
        first = app.start(package)
        first.window(MAIN)
        assert app.run(package) == (0, "", "")
        assert len(app.desktop.windows(MAIN)) == 1
        assert close_main(app, first)[0] == 0
        # The lock went with its holder.
        assert close_main(app, app.start(package))[0] == 0

    def test_hand_over_start_runs_beside_the_first(self, app):
        package = app.pack({"index.html": "<title>t</title>", "other.html": "<title>o</title>"})
        first = app.start(package)
        first.window(MAIN)
        second = app.start(package, "test.app", "file:///other.html")
        second.window(MAIN)
        assert close_main(app, second)[0] == 0
        assert close_main(app, first)[0] == 0

    @staticmethod
    def close_prompt(app, run):
        """Closes the run's password prompt (the small window of that title) with its close box."""
        prompt = run.window(MAIN)
        assert app.desktop.geometry(prompt)["HEIGHT"] == 71, "no password prompt"
        app.desktop.close(prompt)
        return run.wait()

    @pytest.mark.parametrize("args", [("test.app",), ("test.app", "a", "b")])
    def test_id_without_url_skips_only_the_prompt(self, app, args):
        package = app.pack(settings={"Password": "secret"})
        # The protected app asks for the password on a normal start...
        assert self.close_prompt(app, app.start(package)) == (0, "", "")
        # ...but a start with the ID first skips the prompt,
        first = app.start(package, *args)
        assert app.desktop.geometry(first.window(MAIN))["HEIGHT"] != 71
        # and is still subject to the single-instance rule.
        assert app.run(package, *args) == (0, "", "")
        assert close_main(app, first)[0] == 0

    def test_first_argument_is_compared_with_case(self, app):
        package = app.pack(settings={"Password": "secret"})
        assert self.close_prompt(app, app.start(package, "TEST.APP")) == (0, "", "")

    def test_allow_instances_lets_any_number_run(self, app):
        package = app.pack(settings={"AllowInstances": "1"})
        runs = [app.start(package) for _ in range(2)]
        assert poll(lambda: len(app.desktop.windows(MAIN)) == 2)
        for run in runs:
            assert close_main(app, run)[0] == 0

    def test_allow_instances_true_is_not_a_number_and_counts_as_false(self, app):
        package = app.pack(settings={"AllowInstances": "true"})
        first = app.start(package)
        first.window(MAIN)
        assert app.run(package) == (0, "", "")
        assert close_main(app, first)[0] == 0


def test_data_folder_that_cannot_be_made_ends_with_error_box_and_code_1(app, tmp_path):
    blocker = tmp_path / "not-a-folder"
    blocker.write_text("a file where the data folder's parent should be")
    code, _, err = dismiss(app, app.start(app.pack(), XDG_DATA_HOME=blocker))
    assert code == 1
    assert err.startswith(f"Error: Cannot create the folder {blocker}/test.app/")
