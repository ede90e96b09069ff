"""scripts/check-layers.sh: the real tree passes, and an include reaching up a layer is reported with
its place. Needs no build."""
import pathlib
import shutil
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SCRIPT = ROOT / "scripts" / "check-layers.sh"


def check(root):
    return subprocess.run([str(SCRIPT), str(root)], capture_output=True, text=True, timeout=60)


def test_real_tree_passes():
    result = check(ROOT)
    assert result.returncode == 0, result.stdout + result.stderr
    assert result.stdout == ""


@pytest.mark.parametrize("file, include, allowed", [
    ("shared/Base64.cpp", '#include "runtime/MainForm.h"', False),
    ("webview/Text.h", '#include "browser/BrowserForm.h"', False),
    ("abi/Utf.cpp", '  #  include "platform/Process.h"', False),
    ("bridge/AppPath.cpp", '#include "browser/BrowserForm.h"', True),
])
def test_planted_include(tmp_path, file, include, allowed):
    shutil.copytree(ROOT / "src", tmp_path / "src")
    target = tmp_path / "src" / file
    lines = target.read_text().splitlines()
    lines.insert(2, include)
    target.write_text("\n".join(lines) + "\n")

    result = check(tmp_path)
    if allowed:
        assert (result.returncode, result.stdout) == (0, "")
    else:
        assert result.returncode == 1
        assert result.stdout.splitlines() == [f"src/{file}:3: {include}"]
