"""crv-pack from the command line: the package it writes, its errors, and that it never leaves a
half-written output or a temporary file behind. Needs no display."""
import os
import pathlib
import shutil
import signal
import subprocess
import time
import zipfile

import pytest

from harness import ARCHIVE_PASSWORD, write_files as write_site

PASSWORD = ARCHIVE_PASSWORD.encode()




def crv_pack(bin_dir, *args, timeout=60):
    return subprocess.run([str(bin_dir / "crv-pack"), *map(str, args)], capture_output=True, text=True,
                          timeout=timeout)


def leftovers(folder):
    """Temporary files of crv-pack in a folder (they are hidden and carry a random suffix)."""
    return sorted(p.name for p in folder.iterdir() if p.name.startswith("."))


@pytest.fixture
def site(tmp_path):
    return write_site(tmp_path / "site", {"index.html": "<title>t</title>", "js/app.js": "let a = 1;",
                                          "img/dot.bin": bytes(range(256)) * 4})


def test_package_is_runtime_plus_archive_with_expected_entries(bin_dir, site, tmp_path):
    (site / "js" / "again.js").symlink_to("app.js")
    script = write_site(tmp_path / "extra", {"page.js": "console.log(1)", "setup.exe": b"MZ-installer"})
    out = tmp_path / "out"
    out.mkdir()
    result = crv_pack(bin_dir, site, "-o", out / "pkg", "--id", "com.example.t", "--name", "Tëst App",
                      "--dir-name", "web", "--set", "Width=900", "--set", "Theme=Carbon = dark",
                      "--script", script / "page.js", "--installer", script / "setup.exe", "--zip", out / "pkg.zip")
    assert result.returncode == 0, result.stderr
    assert result.stderr == ""

    package, archive = (out / "pkg").read_bytes(), (out / "pkg.zip").read_bytes()
    assert package == (bin_dir / "crv-runtime").read_bytes() + archive
    assert os.access(out / "pkg", os.X_OK)
    assert leftovers(out) == []

    with zipfile.ZipFile(out / "pkg.zip") as z:
        assert z.namelist() == ["crv.ini", "crv-webviewjs", "WebView2LoaderWin64.dll", "WebView2Installer.exe",
                                "web/", "web/img/", "web/img/dot.bin", "web/index.html", "web/js/",
                                "web/js/again.js", "web/js/app.js"]
        assert all(i.flag_bits == 0x0009 and i.compress_type == zipfile.ZIP_STORED for i in z.infolist())
        assert z.read("crv.ini", pwd=PASSWORD) == ("\ufeff[App]\r\nID=com.example.t\r\nName=Tëst App\r\n"
                                                   "DirName=web\r\nIndexHtml=index.html\r\nWidth=900\r\n"
                                                   "Theme=Carbon = dark\r\n").encode()
        assert z.read("crv-webviewjs", pwd=PASSWORD) == b"console.log(1)"
        assert z.read("WebView2LoaderWin64.dll", pwd=PASSWORD) == (bin_dir / "libcrvwebview.so").read_bytes()
        assert z.read("WebView2Installer.exe", pwd=PASSWORD) == b"MZ-installer"
        assert z.read("web/js/again.js", pwd=PASSWORD) == b"let a = 1;"
        assert z.read("web/img/dot.bin", pwd=PASSWORD) == bytes(range(256)) * 4


def test_linux_package_carries_the_installer_script_unless_told_not_to(bin_dir, site, tmp_path):
    def entries(*extra):
        result = crv_pack(bin_dir, site, "-o", tmp_path / "pkg", "--id", "I", "--name", "N", "--zip",
                          tmp_path / "pkg.zip", *extra)
        assert (result.returncode, result.stderr) == (0, "")
        with zipfile.ZipFile(tmp_path / "pkg.zip") as z:
            return {n: z.read(n, pwd=PASSWORD) for n in z.namelist() if n.startswith("WebView2")}

    script = (bin_dir / "WebView2Installer.sh").read_bytes()
    assert script.startswith(b"#!/bin/sh")
    assert entries()["WebView2Installer.exe"] == script
    assert "WebView2Installer.exe" not in entries("--no-installer")
    assert "WebView2LoaderWin64.dll" in entries("--no-installer")


def test_ini_file_is_stored_as_given_and_names_the_folder(bin_dir, site, tmp_path):
    ini = tmp_path / "my.ini"
    ini.write_bytes(b"; hand-written\n[App]\nID=x.y\nName=X\nDirName=files\n")
    result = crv_pack(bin_dir, site, "-o", tmp_path / "pkg", "--ini", ini, "--zip", tmp_path / "pkg.zip")
    assert result.returncode == 0, result.stderr
    with zipfile.ZipFile(tmp_path / "pkg.zip") as z:
        assert z.read("crv.ini", pwd=PASSWORD) == ini.read_bytes()
        assert "files/index.html" in z.namelist()

    result = crv_pack(bin_dir, site, "-o", tmp_path / "pkg2", "--ini", ini, "--dir-name", "app")
    assert result.returncode == 2
    assert "differs from DirName=files" in result.stderr


USAGE_ERRORS = [
    # (arguments after APP_DIR and -o, exit code, text in the message)
    (["--name", "N"], 2, "no application ID"),
    (["--id", "I"], 2, "no application name"),
    (["--id", "I", "--name", "N", "--set", "Width"], 2, "--set needs KEY=VALUE"),
    (["--id", "I", "--name", "N", "--set", "=5"], 2, "--set needs a key"),
    (["--id", "I", "--name", "N", "--set", "ID=other"], 2, "use --id"),
    (["--id", "I", "--name", "N\r\nPassword=x"], 2, "line break"),
    (["--id", "I", "--name", "N", "--set", "Title=a\nb"], 2, "line break"),
    (["--id", "I", "--name", "N", "--dir-name", "a/b"], 2, "one folder name"),
    (["--id", "I", "--ini", "{tmp}/any.ini"], 2, "cannot be combined"),
    (["--id", "I", "--name", "N", "--bogus"], 2, "unknown option --bogus"),
    (["--id", "I", "--name", "N", "--runtime", "{tmp}/none"], 1, "runtime"),
    (["--id", "I", "--name", "N", "--loader", "{tmp}/none"], 1, "loader"),
    (["--id", "I", "--name", "N", "--script", "{tmp}/none"], 1, "script"),
    (["--id", "I", "--name", "N", "--installer", "{tmp}"], 1, "is not a file"),
    (["--id", "I", "--name", "N", "--installer", "{tmp}/none", "--no-installer"], 2, "exclude each other"),
    (["--id", "I", "--name", "N", "--target", "macos"], 2, "--target is linux or windows"),
    (["--id", "I", "--name", "N", "--target", "windows", "--runtime", "{bin}/crv-runtime"], 2,
     "does not match the runtime"),
    (["--run", "--target", "windows", "--runtime", "{tmp}/site/index.html", "--loader", "{tmp}/site/index.html"], 2,
     "--run starts only packages for the system crv-pack runs on"),
]


@pytest.mark.parametrize("args,code,text", USAGE_ERRORS, ids=[e[2] for e in USAGE_ERRORS])
def test_errors_exit_with_a_clear_message_and_write_nothing(bin_dir, site, tmp_path, args, code, text):
    out = tmp_path / "out"
    out.mkdir()
    args = [a.replace("{tmp}", str(tmp_path)).replace("{bin}", str(bin_dir)) for a in args]
    result = crv_pack(bin_dir, site, "-o", out / "pkg", *args)
    assert (result.returncode, result.stdout) == (code, "")
    assert result.stderr.startswith("crv-pack: ")
    assert text in result.stderr
    assert list(out.iterdir()) == []


def test_a_settings_file_larger_than_the_runtime_takes_is_refused(bin_dir, site, tmp_path):
    ini = tmp_path / "big.ini"
    ini.write_bytes(b"[App]\r\nID=I\r\nName=N\r\nDirName=app\r\n" + b";" * (1 << 20))
    out = tmp_path / "out"
    out.mkdir()
    result = crv_pack(bin_dir, site, "-o", out / "pkg", "--ini", ini)
    assert result.returncode == 1
    assert result.stderr.startswith("crv-pack: ") and "larger than 1048576 bytes" in result.stderr
    assert list(out.iterdir()) == []


@pytest.mark.parametrize("command,code,text", [
    (["{site}", "--id", "I", "--name", "N"], 2, "no output"),
    (["-o", "{tmp}/pkg", "--id", "I", "--name", "N"], 2, "no APP_DIR"),
    (["{tmp}/none", "-o", "{tmp}/pkg", "--id", "I", "--name", "N"], 1, "application folder"),
    (["{site}/index.html", "-o", "{tmp}/pkg", "--id", "I", "--name", "N"], 1, "is not a folder"),
    (["{site}", "-o", "{tmp}/no/such/pkg", "--id", "I", "--name", "N"], 1, "Cannot write to the folder"),
])
def test_bad_app_dir_and_output(bin_dir, site, tmp_path, command, code, text):
    command = [a.replace("{tmp}", str(tmp_path)).replace("{site}", str(site)) for a in command]
    result = crv_pack(bin_dir, *command)
    assert result.returncode == code and result.stderr.startswith("crv-pack: ") and text in result.stderr, \
        result.stderr
    assert not (tmp_path / "pkg").exists()


@pytest.mark.skipif(os.geteuid() == 0, reason="root writes into read-only folders")
def test_unwritable_output_folder_leaves_nothing(bin_dir, site, tmp_path):
    out = tmp_path / "ro"
    out.mkdir()
    out.chmod(0o555)
    try:
        result = crv_pack(bin_dir, site, "-o", out / "pkg", "--id", "I", "--name", "N")
    finally:
        out.chmod(0o755)
    assert result.returncode == 1 and "Cannot write to the folder" in result.stderr
    assert list(out.iterdir()) == []


def test_failure_while_writing_keeps_the_old_output_and_removes_temporary_files(bin_dir, site, tmp_path):
    # Reading this file fails with an I/O error, after the temporary files exist.
    (site / "bad.bin").symlink_to("/proc/self/mem")
    out = tmp_path / "out"
    out.mkdir()
    (out / "pkg").write_bytes(b"old package")
    result = crv_pack(bin_dir, site, "-o", out / "pkg", "--id", "I", "--name", "N", "--zip", out / "pkg.zip")
    assert result.returncode == 1
    assert result.stderr.startswith("crv-pack: ") and "bad.bin" in result.stderr
    assert (out / "pkg").read_bytes() == b"old package"
    assert sorted(p.name for p in out.iterdir()) == ["pkg"]


def test_interrupt_removes_temporary_files(bin_dir, site, tmp_path):
    with open(site / "big.bin", "wb") as big:
        big.truncate(1 << 30)  # sparse: takes seconds to pack, no disk
    out = tmp_path / "out"
    out.mkdir()
    proc = subprocess.Popen([str(bin_dir / "crv-pack"), str(site), "-o", str(out / "pkg"), "--id", "I",
                             "--name", "N"], stderr=subprocess.PIPE)
    def writing():
        try:
            return any(p.stat().st_size > 0 for p in out.iterdir())
        except FileNotFoundError:
            return False

    deadline = time.monotonic() + 20
    while not writing() and time.monotonic() < deadline:
        time.sleep(0.02)
    assert proc.poll() is None, "crv-pack ended before it could be interrupted"
    proc.send_signal(signal.SIGINT)
    assert proc.wait(timeout=20) == -signal.SIGINT
    assert list(out.iterdir()) == []


def test_output_inside_app_dir_is_not_packed(bin_dir, site, tmp_path):
    for _ in range(2):
        result = crv_pack(bin_dir, site, "-o", site / "pkg", "--id", "I", "--name", "N", "--zip",
                          tmp_path / "pkg.zip")
        assert result.returncode == 0, result.stderr
    with zipfile.ZipFile(tmp_path / "pkg.zip") as z:
        assert [n for n in z.namelist() if n.startswith("app/") and "pkg" in n] == []
    assert leftovers(site) == []


def test_warnings_for_missing_start_page_and_missing_loader(bin_dir, site, tmp_path):
    result = crv_pack(bin_dir, site, "-o", tmp_path / "pkg", "--id", "I", "--name", "N", "--index", "start.html")
    assert result.returncode == 0
    assert result.stderr == f'crv-pack: warning: the start page "start.html" is not in "{site}"\n'

    result = crv_pack(bin_dir, site, "-o", tmp_path / "pkg", "--id", "I", "--name", "N",
                      "--index", "js/app.js?debug=1")
    assert (result.returncode, result.stderr) == (0, "")

    # A crv-pack with no loader beside it.
    lonely = tmp_path / "lonely"
    lonely.mkdir()
    shutil.copy(bin_dir / "crv-pack", lonely)
    result = subprocess.run([str(lonely / "crv-pack"), str(site), "-o", str(tmp_path / "pkg"), "--id", "I",
                             "--name", "N", "--runtime", str(bin_dir / "crv-runtime"), "--zip",
                             str(tmp_path / "pkg.zip")], capture_output=True, text=True, timeout=60)
    assert result.returncode == 0
    assert "the package will report the browser runtime as missing" in result.stderr
    assert "the package cannot install the browser runtime" in result.stderr
    names = zipfile.ZipFile(tmp_path / "pkg.zip").namelist()
    assert "WebView2LoaderWin64.dll" not in names and "WebView2Installer.exe" not in names


def test_run_starts_the_package_and_ends_with_its_exit_code(bin_dir, site, tmp_path):
    # A stand-in runtime: a script that notes where it was started from and ends with 7.
    runtime = tmp_path / "runtime.sh"
    runtime.write_text(f'#!/bin/sh\necho "$0" >> "{tmp_path}/started"\nexit 7\n')
    runtime.chmod(0o755)
    temp = tmp_path / "temp"
    temp.mkdir()

    def run(*extra):
        return subprocess.run([str(bin_dir / "crv-pack"), "--run", str(site), "--runtime", str(runtime), *extra],
                              capture_output=True, text=True, timeout=60, env=dict(os.environ, TMPDIR=str(temp)))

    result = run()
    assert result.returncode == 7, result.stderr
    started = pathlib.Path((tmp_path / "started").read_text().split()[0])
    assert started.parent.parent == temp and started.name == "site"
    assert list(temp.iterdir()) == [], "the temporary package is removed"

    # With -o the package is kept where it was asked for.
    result = run("-o", tmp_path / "kept")
    assert result.returncode == 7, result.stderr
    assert (tmp_path / "started").read_text().split()[1] == str(tmp_path / "kept")
    assert (tmp_path / "kept").read_bytes().startswith(runtime.read_bytes())


@pytest.mark.parametrize("existing,extra,code,text", [
    ("file in it", [], 1, "is not empty"),
    ("a file", [], 1, "is not a folder"),
    (None, ["--run"], 2, "--init DIR takes no other arguments"),
    (None, ["other"], 2, "--init DIR takes no other arguments"),
])
def test_init_refuses_a_folder_with_content_and_other_arguments(bin_dir, tmp_path, existing, extra, code, text):
    target = tmp_path / "starter"
    if existing == "file in it":
        write_site(target, {"mine.txt": "keep"})
    elif existing == "a file":
        target.write_text("keep")
    result = crv_pack(bin_dir, "--init", target, *extra)
    assert (result.returncode, result.stdout) == (code, "")
    assert text in result.stderr
    if existing == "file in it":
        assert [p.name for p in target.iterdir()] == ["mine.txt"]
    elif existing is None:
        assert not target.exists()
