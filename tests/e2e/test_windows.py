"""The Windows runtime under Wine: real packages made by crv-pack from crv-runtime.exe, with the test
browser loader in place of the real one. It serves the start page as the browser asks for it,
records what the runtime did and plays the page's call messages from a file."""
import json
import os
import pathlib
import shutil
import subprocess
import time

import pytest

from harness import poll, write_files

from winapp import CLOSE, PAGE, WIN_BUILD, call, win, wine_prefix  # noqa: F401  (fixtures)


def test_bare_runtime_refuses_with_message_5(win, tmp_path):
    bare = tmp_path / "bare.exe"
    shutil.copyfile(win.runtime, bare)
    proc = win.start(bare)
    dialog = win.desktop.wait_window("^Error$", timeout=60)
    win.desktop.keys(dialog, "Return")
    code, err = win.wait(proc)
    assert code == 0
    assert "This is not a valid Windows application." in err


def test_damaged_archive_ends_with_code_1_after_its_error_box(win, tmp_path):
    package = win.pack()
    data = bytearray(package.read_bytes())
    tail = data.rfind(b"PK\x05\x06")
    data[tail + 16:tail + 20] = b"\xff\xff\xff\x7f"  # central directory past the end
    damaged = tmp_path / "damaged.exe"
    damaged.write_bytes(bytes(data))
    proc = win.start(damaged)
    # The error box is the only window the program shows; answer it as a user would.
    box = win.desktop.wait_window(".", timeout=60)
    win.desktop.keys(box, "Return")
    code, err = win.wait(proc)
    assert code == 1, err


@pytest.mark.parametrize("missing", ["ID", "Name", "DirName"])
def test_missing_identity_key_stops_silently(win, tmp_path, missing):
    ini = {"ID": win.app_id, "Name": "Wine App", "DirName": "app"}
    del ini[missing]
    (tmp_path / "crv.ini").write_text("[App]\r\n" + "".join(f"{k}={v}\r\n" for k, v in ini.items()))
    site = write_files(tmp_path / "site", {"index.html": "<title>t</title>"})
    subprocess.run([str(win.bin_dir / "crv-pack"), str(site), "-o", str(tmp_path / "app.exe"), "--runtime",
                    str(win.runtime), "--ini", str(tmp_path / "crv.ini"), "--loader", str(win.loader())],
                   check=True, capture_output=True, timeout=60)
    code, err = win.wait(win.start(tmp_path / "app.exe"))
    assert code == 0 and "Error" not in err
    assert not win.log.exists(), "the browser must not be reached"


def test_package_starts_serves_its_start_page_and_answers_the_bridge(win):
    page = "<!doctype html><title>Start</title><p>Hello from the archive</p>"
    package = win.pack({"index.html": page, "style.css": "p{}", "data/list.txt": "one", "pic.png": b"\x89PNG"},
                       settings={"Width": 640, "Height": 480})
    messages = [
        call(10001, "hello"), call(10002, "isRuntime"),
        call(30003, "write", filePath="data\\notes.txt", contents="one\ntwo"),
        call(30001, "exists", filePath="data/notes.txt"), call(30001, "missing", filePath="nope.txt"),
        call(30002, "delete", filePath="data/notes.txt"), call(30001, "gone", filePath="data/notes.txt"),
        call(30004, "extract", sourceFile="/style.css", targetFile="copy.css"),
        call(40001, "dirExists", dirPath="data"), call(40002, "deleteDir", dirPath="data"),
        call(40001, "dirGone", dirPath="data"),
        call(40003, "temp"), call(40004, "documents"), call(40005, "desktop"),
        call(40006, "exeDir"), call(40007, "appData"),
        call(50002, "inFullscreen"),
        call(60005, "title"), call(60006, "setTitle", title="Ünïcode title"), call(60005, "title2"),
        call(60001, "style"), call(60002, "setStyle", style="ontop"), call(60001, "style2"),
        call(60003, "state"), call(60004, "setState", state="maximized"), call(60003, "state2"),
        call(30001, "noPath"),
        '{"id": 30001, "uuid": "noData"}',
        '{"id": 10001, "uuid": "he said \\"hi\\" \\\\", "data": {}}',
        CLOSE,
    ]
    proc = win.start(package, messages=messages, requests=["file:///style.css", "file:///data/list.txt",
                                                           "file:///pic.png", "file:///nothing.txt"])
    code, err = win.wait(proc, timeout=90)
    assert code == 0, err

    env = win.events("environment")[0]
    assert env["WEBVIEW2_USER_DATA_FOLDER"].endswith("\\" + win.app_id + "\\Win64\\")
    assert env["WEBVIEW2_BROWSER_EXECUTABLE_FOLDER"] == "" and env["WEBVIEW2_RELEASE_CHANNEL_PREFERENCE"] == ""
    assert "--disable-logging" in env["WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS"]
    assert (win.data_dir() / "Win64" / "WebView2LoaderWin64.dll").exists()

    served = {r["url"]: r for r in win.events("response")}
    start = served[PAGE]
    assert start["status"] == 200 and dict(start["headers"])["Content-Type"] == "text/html; charset=utf-8"
    assert pathlib.Path(start["body"].replace("\\", "/")).read_bytes() == page.encode()
    assert dict(served["file:///style.css"]["headers"])["Content-Type"] == "text/css; charset=utf-8"
    assert dict(served["file:///data/list.txt"]["headers"])["Content-Type"] == "text/plain; charset=utf-8"
    # The registry's type for .png wins over the built-in table (Wine registers image/x-png).
    assert dict(served["file:///pic.png"]["headers"])["Content-Type"].startswith("image/")
    assert not served["file:///nothing.txt"]["answered"]

    r = win.replies()
    ok = {uuid: reply["result"] for uuid, reply in r.items() if reply["success"]}
    assert ok["hello"] == "2021.47" and ok["isRuntime"] is True
    assert ok["write"] is True and ok["exists"] is True and ok["missing"] is False
    assert ok["delete"] is True and ok["gone"] is False
    assert ok["extract"] is True and (win.tmp / "copy.css").read_text() == "p{}"
    assert ok["dirExists"] is True and ok["deleteDir"] is True and ok["dirGone"] is False
    for folder in ("temp", "documents", "desktop", "exeDir", "appData"):
        assert ok[folder].endswith("\\") and ok[folder][1] == ":", (folder, ok[folder])
    assert ok["exeDir"].lower().rstrip("\\").endswith(win.tmp.name.lower())
    assert ok["inFullscreen"] is False
    assert ok["title"] == "Wine App" and ok["setTitle"] is True and ok["title2"] == "Ünïcode title"
    assert ok["style"] == "normal" and ok["style2"] == "ontop"
    assert ok["state"] == "normal" and ok["state2"] == "maximized"
    assert r["noPath"] == {"uuid": "noPath", "success": False, "result": "Missing filePath"}
    assert "noData" not in r, "a call without its argument object gets no reply"
    assert ok['he said "hi" \\'] == "2021.47"


def test_text_file_is_utf8_with_mark_and_crlf(win):
    package = win.pack()
    messages = [call(30003, "write", filePath="ü.txt", contents="é€😀\nzwei"), CLOSE]
    code, err = win.wait(win.start(package, messages=messages), timeout=90)
    assert code == 0, err
    assert (win.tmp / "ü.txt").read_bytes() == "\ufeffé€😀\r\nzwei\r\n".encode()


def test_messages_from_other_sources_or_malformed_get_no_reply(win):
    package = win.pack()
    (win.tmp / "extra").mkdir()
    messages = ["not json at all", json.dumps([1, 2]), call(99999, "unknown"), call(10001, "ok"), CLOSE]
    proc = win.start(package, messages=messages)
    code, err = win.wait(proc, timeout=90)
    assert code == 0, err
    assert set(win.replies()) == {"ok"}


def test_second_instance_stops_silently_unless_allowed(win):
    package = win.pack(settings={"Width": 640, "Height": 480})
    first = win.start(package)
    window = win.desktop.wait_window("^Wine App$", timeout=60)
    geometry = win.desktop.geometry(window)
    # The size set is the outer one on Windows: the client area the X window shows is smaller.
    assert 600 <= geometry["WIDTH"] < 640 and 420 <= geometry["HEIGHT"] < 480, geometry
    code, err = win.wait(win.start(package), timeout=60)
    assert code == 0
    assert len(win.desktop.windows("^Wine App$")) == 1
    win.kill(first)


def test_refusing_loader_leaves_the_window_up(win):
    package = win.pack(loader="refuses")
    proc = win.start(package)
    window = win.desktop.wait_window("^Wine App$", timeout=60)
    assert poll(lambda: proc.poll() is None, 3.0) and proc.poll() is None
    win.desktop.close(window)
    win.kill(proc)


def test_pack_refuses_a_windows_package_without_loader_and_warns_about_a_linux_one(win, tmp_path):
    site = write_files(tmp_path / "site", {"index.html": "<title>t</title>"})
    base = [str(win.bin_dir / "crv-pack"), str(site), "-o", str(tmp_path / "app.exe"), "--runtime", str(win.runtime),
            "--id", "I", "--name", "N", "--zip", str(tmp_path / "app.zip")]
    cases = [([], 2, "WebView2Loader.dll from build/native/x64/"),
             (["--loader", str(win.bin_dir / "libcrvwebview.so")], 0, "is a Linux library in a Windows package"),
             (["--loader", str(win.loader())], 0, None)]
    for extra, code, message in cases:
        result = subprocess.run(base + extra, capture_output=True, text=True, timeout=60)
        assert result.returncode == code, result.stderr
        if message:
            assert message in result.stderr
        else:
            assert result.stderr == ""


def test_power_actions_reject_with_the_systems_message_through_the_test_seam(win):
    package = win.pack()
    messages = [call(11001, "logoff"), call(11002, "reboot"), call(11003, "shutdown"), CLOSE]
    code, err = win.wait(win.start(package, messages=messages, CRV_TEST_REFUSE_POWER="1"), timeout=90)
    assert code == 0, err
    replies = win.replies()
    for uuid in ("logoff", "reboot", "shutdown"):
        assert replies[uuid]["success"] is False and replies[uuid]["result"], replies[uuid]


def test_loader_is_extracted_once(win):
    package = win.pack()
    code, err = win.wait(win.start(package, messages=[CLOSE]), timeout=90)
    assert code == 0, err
    loader = win.data_dir() / "Win64" / "WebView2LoaderWin64.dll"
    first = loader.stat().st_mtime_ns
    time.sleep(1.1)
    code, err = win.wait(win.start(package, messages=[CLOSE]), timeout=90)
    assert code == 0, err
    assert loader.stat().st_mtime_ns == first


def test_allowed_instances_start_maximized_as_the_window_manager_reports(win):
    package = win.pack(settings={"AllowInstances": 1, "WindowState": 1})
    first = win.start(package)
    window = win.desktop.wait_window("^Wine App$", timeout=60)
    assert poll(lambda: "_NET_WM_STATE_MAXIMIZED_VERT" in win.desktop.prop(window, "_NET_WM_STATE"), 10)
    assert "_NET_WM_STATE_MAXIMIZED_HORZ" in win.desktop.prop(window, "_NET_WM_STATE")
    second = win.start(package)
    assert poll(lambda: len(win.desktop.windows("^Wine App$")) == 2, 60), "a second window"
    for proc in (first, second):
        win.kill(proc)


def test_borderless_window_has_no_frame(win):
    package = win.pack(settings={"WindowBorder": 0, "Width": 400, "Height": 300})
    proc = win.start(package)
    window = win.desktop.wait_window("^Wine App$", timeout=60)
    geometry = win.desktop.geometry(window)
    # Without a border the client area is the whole window.
    assert (geometry["WIDTH"], geometry["HEIGHT"]) == (400, 300), geometry
    win.kill(proc)


def test_shell_base64_themes_and_menu_answer(win):
    package = win.pack()
    messages = [
        call(70003, "command", command="echo out& echo err 1>&2& echo done"),
        call(70003, "noFolder", command="echo x", workingDir="C:\\no\\such\\folder"),
        call(70004, "windows"),
        call(90001, "base64", filePath="decoded\\b.bin", contents="aGVs bG8="),
        call(90001, "badBase64", filePath="bad.bin", contents="a=b"),
        call(80002, "themes"), call(80003, "setTheme", name="Carbon"), call(80001, "theme"),
        call(12001, "menu", items=json.dumps([{"id": 1, "caption": "&File", "items": [{"id": 2, "caption": "Open"}]}])),
        call(12002, "menuUpdate", id=2, caption="Open…", enabled=False),
        CLOSE,
    ]
    code, err = win.wait(win.start(package, messages=messages), timeout=90)
    assert code == 0, err
    r = win.replies()
    assert r["command"]["success"] and r["command"]["result"].split() == ["out", "err", "done"]
    assert r["noFolder"] == {"uuid": "noFolder", "success": True, "result": ""}
    # Every top-level window with a caption, hidden ones too, as EnumWindows gives them.
    assert r["windows"]["success"] and "Wine App" in r["windows"]["result"]
    assert r["base64"]["success"] and (win.tmp / "decoded" / "b.bin").read_bytes() == b"hello"
    assert r["badBase64"] == {"uuid": "badBase64", "success": False, "result": "Invalid base64 text"}
    assert "Windows" in r["themes"]["result"] and len(r["themes"]["result"]) == 40
    assert r["setTheme"]["result"] is True and r["theme"]["result"] == "Carbon"
    assert r["menu"]["success"] and r["menuUpdate"]["success"]


def test_command_output_in_the_ansi_code_page_and_execute_passes_its_arguments(win):
    program = win.tmp / "recorder.exe"
    shutil.copyfile(win.test_program(), program)
    record = win.tmp / "record.jsonl"
    # Output is read in the ANSI code page (Wine's default: 1252).
    (win.tmp / "ansi.txt").write_bytes("Grüße".encode("cp1252"))
    messages = [
        call(70003, "ansi", command="type ansi.txt", workingDir=win.windows_path(win.tmp)),
        call(70001, "execute", filePath=win.windows_path(program), arguments='one "two words"'),
        call(70001, "noFile", filePath="C:\\no\\such\\program.exe"),
        CLOSE,
    ]
    code, err = win.wait(win.start(win.pack(), messages=messages,
                                   CRV_TEST_PROGRAM_RECORD=win.windows_path(record)), timeout=90)
    assert code == 0, err
    r = win.replies()
    assert r["ansi"] == {"uuid": "ansi", "success": True, "result": "Grüße"}
    assert r["execute"]["success"] and r["execute"]["result"] is True, r["execute"]
    assert poll(lambda: record.exists() and record.read_text().strip(), 20)
    assert json.loads(record.read_text().splitlines()[0]) == ["one", "two words"]
    assert r["noFile"]["success"] is False and r["noFile"]["result"], r["noFile"]


@pytest.mark.parametrize("lang, text", [("de_DE.UTF-8", "Dies ist keine gültige Windows-Anwendung."),
                                        ("fr_FR.UTF-8", "Ce n'est pas une application Windows valide."),
                                        ("pt_BR.UTF-8", "This is not a valid Windows application.")])
def test_start_up_messages_follow_the_users_language(win, tmp_path, lang, text):
    bare = tmp_path / "bare.exe"
    shutil.copyfile(win.runtime, bare)
    proc = win.start(bare, LANG=lang, LC_ALL=lang)
    win.desktop.keys(win.desktop.wait_window(".", timeout=60), "Return")
    code, err = win.wait(proc)
    assert code == 0 and text in err, err
