"""Shared fixtures of the end-to-end tests: the built binaries, one X display with a window manager
for the whole run, and a private home for every test."""
import os
import pathlib
import shutil
import subprocess
import time

import pytest

from harness import App, Desktop

ROOT = pathlib.Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def bin_dir() -> pathlib.Path:
    """Folder holding crv-runtime, crv-pack and libcrvwebview.so (CRV_BIN_DIR, else the release build)."""
    path = pathlib.Path(os.environ.get("CRV_BIN_DIR", ROOT / "build" / "release" / "bin"))
    if not (path / "crv-pack").exists():
        pytest.exit(f"no build in {path}: run 'make build' first", returncode=2)
    return path


@pytest.fixture(scope="session")
def fixture_dir(bin_dir) -> pathlib.Path:
    """Folder of the binaries built only for tests (test loaders, PE fixture)."""
    return bin_dir.parent / "fixtures"


@pytest.fixture(scope="session")
def desktop(tmp_path_factory):
    """One Xvfb display with openbox for the whole run; faster than one per test."""
    for tool in ("Xvfb", "openbox", "xdotool", "wmctrl"):
        if not shutil.which(tool):
            pytest.skip(f"{tool} is not installed (scripts/deps.sh installs it)")
    runtime_dir = tmp_path_factory.mktemp("xdg-runtime")
    os.chmod(runtime_dir, 0o700)
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        display = ":" + pipe.readline().strip()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=str(runtime_dir))
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    desk = Desktop(display, str(runtime_dir))
    desk.wait_for_wm()
    yield desk
    wm.terminate()
    xvfb.terminate()
    wm.wait(timeout=10)
    xvfb.wait(timeout=10)


@pytest.fixture
def app(bin_dir, fixture_dir, desktop, tmp_path):
    """Builds and runs packages in a private home under tmp_path."""
    a = App(bin_dir, fixture_dir, desktop, tmp_path)
    yield a
    a.stop_all()
