"""crv as users get it: an install tree (cmake --install, what `make install` runs), the Debian package
(cpack, what `make package` runs), each with the crv-pack in it packing on its own, and the starter
app of --init started with --run."""
import json
import os
import shutil
import subprocess
import zipfile

import pytest

from harness import ARCHIVE_PASSWORD, PAGE_TEMPLATE, write_files

PASSWORD = ARCHIVE_PASSWORD.encode()
# A page that reports the runtime's version and closes the program.
HELLO_PAGE = PAGE_TEMPLATE.replace("BODY", "return await crv.hello();")
DATA_FILES = {"crv-runtime", "libcrvwebview.so", "WebView2Installer.sh"}


@pytest.fixture(scope="module")
def build_tree(bin_dir):
    tree = bin_dir.parent
    if not (tree / "cmake_install.cmake").exists():
        pytest.skip(f"{tree} is not a CMake build tree")
    return tree


def run(*args, **kwargs):
    return subprocess.run([str(a) for a in args], capture_output=True, text=True, timeout=120, **kwargs)


def entries(archive):
    with zipfile.ZipFile(archive) as z:
        return {n: z.read(n, pwd=PASSWORD) for n in z.namelist() if not n.endswith("/")}


def pack_and_start(app, crv_pack, data_dir, tmp_path):
    """Packs the hello page with crv-pack's defaults alone, checks the package holds the files of
    data_dir, starts it and returns what the page reported."""
    site = write_files(tmp_path / "site", {"index.html": HELLO_PAGE})
    package = tmp_path / "hello"
    result = run(crv_pack, site, "-o", package, "--id", "test.app", "--name", "Hello", "--zip",
                 tmp_path / "hello.zip")
    assert (result.returncode, result.stderr) == (0, ""), result.stderr
    stored = entries(tmp_path / "hello.zip")
    assert stored["WebView2LoaderWin64.dll"] == (data_dir / "libcrvwebview.so").read_bytes()
    assert stored["WebView2Installer.exe"] == (data_dir / "WebView2Installer.sh").read_bytes()
    assert package.read_bytes().startswith((data_dir / "crv-runtime").read_bytes())
    return app.page_result(app.start(package))


def test_install_tree_packs_for_linux_and_windows_from_wherever_it_is_moved(build_tree, bin_dir, app, tmp_path):
    stage = tmp_path / "stage"
    result = run("cmake", "--install", build_tree, "--prefix", "/opt/crv", env=dict(os.environ, DESTDIR=str(stage)))
    assert result.returncode == 0, result.stderr
    # Moved away from where it was installed, the tree still finds its own files.
    prefix = tmp_path / "moved"
    shutil.move(stage / "opt" / "crv", prefix)
    data = prefix / "lib" / "crv"
    assert DATA_FILES <= {p.name for p in data.iterdir()}
    assert os.access(prefix / "bin" / "crv-pack", os.X_OK) and os.access(data / "crv-runtime", os.X_OK)
    for name in ("share/crv/types/crv.d.ts", "share/crv/examples/hello/index.html", "share/man/man1/crv-pack.1.gz"):
        assert (prefix / name).is_file(), name
    crv_pack = prefix / "bin" / "crv-pack"

    assert pack_and_start(app, crv_pack, data, tmp_path) == "2021.47"

    if not (bin_dir / "crv-runtime.exe").exists():
        pytest.skip("crv-runtime.exe is not built: run 'make windows' first")
    assert (data / "crv-runtime.exe").read_bytes() == (bin_dir / "crv-runtime.exe").read_bytes()
    site = write_files(tmp_path / "win-site", {"index.html": "<title>t</title>"})
    loader = tmp_path / "WebView2Loader.dll"
    loader.write_bytes(b"MZ stand-in loader")
    windows = [crv_pack, site, "-o", tmp_path / "app.exe", "--target", "windows", "--id", "I", "--name", "N",
               "--zip", tmp_path / "app.zip"]

    result = run(*windows)
    assert result.returncode == 2 and not (tmp_path / "app.exe").exists()
    assert "WebView2Loader.dll from build/native/x64/" in result.stderr and "--loader" in result.stderr
    assert str(data / "WebView2Loader.dll") in result.stderr

    # Given with --loader, or copied into the data folder once.
    for extra in (["--loader", loader], []):
        result = run(*windows, *extra)
        assert (result.returncode, result.stderr) == (0, "")
        stored = entries(tmp_path / "app.zip")
        assert stored["WebView2LoaderWin64.dll"] == loader.read_bytes()
        assert "WebView2Installer.exe" not in stored
        assert (tmp_path / "app.exe").read_bytes().startswith((data / "crv-runtime.exe").read_bytes())
        shutil.copy(loader, data / "WebView2Loader.dll")


def test_debian_package_holds_the_install_and_its_crv_pack_works_unpacked(build_tree, app, tmp_path):
    if not shutil.which("cpack") or not shutil.which("dpkg-deb"):
        pytest.skip("cpack and dpkg-deb are needed")
    result = run("cpack", "-G", "DEB", "-B", tmp_path / "out", cwd=build_tree)
    assert result.returncode == 0, result.stdout + result.stderr
    (deb,) = (tmp_path / "out").glob("crv_*_amd64.deb")

    fields = {name: run("dpkg-deb", "-f", deb, name).stdout.strip() for name in ("Depends", "Recommends")}
    assert "libgtk-3-0" in fields["Depends"] and "libzip" in fields["Depends"]
    assert "webkit" not in fields["Depends"], "a package without WebKitGTK offers its installation"
    assert fields["Recommends"] == "libwebkit2gtk-4.1-0"

    listing = run("dpkg-deb", "-c", deb).stdout
    for name in ("./usr/bin/crv-pack", *(f"./usr/lib/crv/{f}" for f in DATA_FILES), "./usr/share/crv/types/crv.d.ts",
                 "./usr/share/man/man1/crv-pack.1.gz", "./usr/share/doc/crv/copyright"):
        assert f" {name}\n" in listing, name

    root = tmp_path / "root"
    assert run("dpkg-deb", "-x", deb, root).returncode == 0
    # The binaries are stripped in the package: the runtime must still find its archive.
    assert pack_and_start(app, root / "usr" / "bin" / "crv-pack", root / "usr" / "lib" / "crv", tmp_path) == "2021.47"


def test_init_writes_a_starter_app_that_run_packs_and_starts(bin_dir, app, tmp_path):
    starter = tmp_path / "my app"
    result = run(bin_dir / "crv-pack", "--init", starter)
    assert result.returncode == 0, result.stderr
    assert f"--run '{starter}'" in result.stdout
    assert sorted(p.name for p in starter.iterdir()) == ["app.js", "crv.d.ts", "index.html"]
    script = (starter / "app.js").read_text()
    assert script.startswith('/// <reference path="crv.d.ts" />')
    assert (starter / "crv.d.ts").read_bytes() == (bin_dir / "crv.d.ts").read_bytes()

    # What the user would see in the page, reported once the starter script is done.
    report = tmp_path / "status.txt"
    (starter / "app.js").write_text(script + f"""
started.then(async () => {{
  await crv.files.writeTextFile({{filePath: {json.dumps(str(report))}, contents: status.textContent}});
  crv.app.close();
}});
""")
    temp = tmp_path / "temp"
    temp.mkdir()
    result = run(bin_dir / "crv-pack", "--run", starter, env=app.env(TMPDIR=temp))
    assert result.returncode == 0, result.stderr
    assert report.read_text(encoding="utf-8-sig").rstrip() == "Running inside crv 2021.47."
    assert list(temp.iterdir()) == []
