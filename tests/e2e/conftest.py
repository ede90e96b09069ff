"""Shared fixtures of the end-to-end tests: the built binaries, a private home, one X display."""
import os
import pathlib

import pytest

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
