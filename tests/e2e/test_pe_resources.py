"""crv-pack with a Windows runtime: the icon and version values that it gives the copy of the runtime,
read back by icoutils, by a version-block reader of these tests, and by the program itself under
Wine. The runtime here is a mingw-built program that carries the runtime's own resources and prints
what the system's resource and version functions tell it. Needs no display."""
import os
import shutil
import struct
import subprocess
import zipfile

import pytest

from harness import ARCHIVE_PASSWORD, write_files

KEYS = ["CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright", "LegalTrademarks",
        "OriginalFilename", "ProgramID", "ProductName", "ProductVersion", "Comments"]
TABLE = "040904E4"
MIB = 1024 * 1024


# --- ICO files -------------------------------------------------------------------------------------

def bmp_image(size, colour):
    """A 32-bit icon image: BITMAPINFOHEADER (double height), BGRA rows, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytes(colour) * (size * size)
    mask = bytes(((size + 31) // 32) * 4 * size)
    return header + pixels + mask


def make_ico(sizes, pad_to=None):
    """An ICO file with one image per size (each its own colour), optionally padded with zeros."""
    images = [bmp_image(s, (i * 40 % 256, 90, 200 - i * 10 % 200, 255)) for i, s in enumerate(sizes)]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    if pad_to is not None:
        out += bytes(pad_to - len(out))
    return out


def ico_images(data):
    """[(width, height, image bytes)] of ICO data."""
    _, _, count = struct.unpack_from("<HHH", data, 0)
    result = []
    for i in range(count):
        width, height, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        result.append((width, height, data[offset:offset + size]))
    return result


# --- version blocks --------------------------------------------------------------------------------

def read_version_node(block, at):
    """One node of a version block: (key, value, children, end). Text values are str with every unit."""
    length, value_length, kind = struct.unpack_from("<HHH", block, at)
    end = at + length
    pos = at + 6
    key_units = []
    while True:
        (unit,) = struct.unpack_from("<H", block, pos)
        pos += 2
        if unit == 0:
            break
        key_units.append(unit)
    key = struct.pack(f"<{len(key_units)}H", *key_units).decode("utf-16-le")
    pos = (pos + 3) & ~3
    value_bytes = value_length * 2 if kind == 1 else value_length
    raw = block[pos:pos + value_bytes]
    value = raw.decode("utf-16-le") if kind == 1 else raw
    pos = (pos + value_bytes + 3) & ~3
    children = []
    while pos + 6 <= end:
        child = read_version_node(block, pos)
        children.append(child)
        pos = (child[3] + 3) & ~3
    return key, value, children, end


def read_version(block):
    """The fixed part, the string tables and the translation list of a VS_VERSIONINFO block."""
    key, fixed, children, _ = read_version_node(block, 0)
    assert key == "VS_VERSION_INFO"
    fields = struct.unpack_from("<13I", fixed)
    assert fields[0] == 0xFEEF04BD
    info = {"file_version": (fields[2], fields[3]), "product_version": (fields[4], fields[5]),
            "os": fields[8], "type": fields[9], "tables": {}, "translations": []}
    for name, _, tables, _ in children:
        if name == "StringFileInfo":
            for table, _, strings, _ in tables:
                info["tables"][table] = {k: v for k, v, _, _ in strings}
        elif name == "VarFileInfo":
            for var, value, _, _ in tables:
                if var == "Translation":
                    info["translations"] = [struct.unpack_from("<HH", value, i) for i in range(0, len(value), 4)]
    return info


def shared_leaves_pe(count=200, data_size=0x10000):
    """A PE32 image whose one resource type has count names that share a directory of count
    languages, each leaf the same data_size bytes: a few KB that describe count * count copies."""
    names, langs = 0x18, 0x18 + 16 + 8 * count
    leaf = langs + 16 + 8 * count
    data_at = leaf + 16
    area = bytearray(data_at + data_size)
    struct.pack_into("<HHII", area, 12, 0, 1, 3, 0x80000000 | names)
    struct.pack_into("<HH", area, names + 12, 0, count)
    struct.pack_into("<HH", area, langs + 12, 0, count)
    for i in range(count):
        struct.pack_into("<II", area, names + 16 + 8 * i, i + 1, 0x80000000 | langs)
        struct.pack_into("<II", area, langs + 16 + 8 * i, i, leaf)
    struct.pack_into("<II", area, leaf, 0x1000 + data_at, data_size)
    pe = bytearray(0x200)
    pe[0:2] = b"MZ"
    struct.pack_into("<I", pe, 0x3C, 0x40)
    struct.pack_into("<IHHIIIHH", pe, 0x40, 0x4550, 0x14C, 1, 0, 0, 0, 224, 0x0102)
    optional = 0x58
    struct.pack_into("<H", pe, optional, 0x10B)
    struct.pack_into("<II", pe, optional + 32, 0x1000, 0x200)
    struct.pack_into("<II", pe, optional + 56, 0x1000 + len(area), 0x200)
    struct.pack_into("<I", pe, optional + 92, 16)
    struct.pack_into("<II", pe, optional + 96 + 16, 0x1000, len(area))
    struct.pack_into("<8sIIII", pe, optional + 224, b".rsrc", len(area), 0x1000, len(area), 0x200)
    return bytes(pe + area)


def reserved(text, length=256):
    return text + "\0" * (length - len(text))


# --- tools -----------------------------------------------------------------------------------------

def crv_pack(bin_dir, *args):
    return subprocess.run([str(bin_dir / "crv-pack"), *map(str, args)], capture_output=True, text=True, timeout=60)


def wrestool(*args):
    return subprocess.run(["wrestool", *map(str, args)], capture_output=True, check=True, timeout=30).stdout


def resource_list(exe):
    """[(type, name, language)] as wrestool lists them."""
    entries = []
    for line in wrestool("-l", exe).decode().splitlines():
        fields = dict(part.split("=", 1) for part in line.split()[:3])
        entries.append((fields["--type"], fields["--name"].strip("'"), int(fields["--language"])))
    return entries


@pytest.fixture(scope="session")
def pe_runtime(fixture_dir):
    path = fixture_dir / "tiny-res.exe"
    if not path.exists():
        pytest.skip("tiny-res.exe was not built (needs mingw-w64 and its windres)")
    return path


@pytest.fixture(scope="session", autouse=True)
def icoutils():
    if not (shutil.which("wrestool") and shutil.which("icotool")):
        pytest.skip("icoutils is not installed (scripts/deps.sh installs it)")


@pytest.fixture(scope="session")
def wine(tmp_path_factory):
    """Environment for running Windows programs under Wine, with a prefix made once for the session."""
    if not shutil.which("wine"):
        pytest.skip("wine is not installed (scripts/deps.sh installs it)")
    env = dict(os.environ, WINEPREFIX=str(tmp_path_factory.mktemp("wine-prefix")), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    # The first start builds the prefix, which takes a while.
    subprocess.run(["wineboot", "--init"], env=env, capture_output=True, timeout=600)
    yield env
    subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=60)


@pytest.fixture
def pack(bin_dir, pe_runtime, tmp_path):
    """crv-pack on a small site with the PE runtime; returns (result, package path)."""
    site = write_files(tmp_path / "site", {"index.html": "<title>t</title>"})
    loader = tmp_path / "loader.dll"
    loader.write_bytes(b"MZ-loader")

    def run(*extra, runtime=pe_runtime, out="pkg.exe"):
        result = crv_pack(bin_dir, site, "-o", tmp_path / out, "--id", "demo.app", "--name", "Demo",
                          "--runtime", runtime, "--loader", loader, *extra)
        return result, tmp_path / out
    return run


def leftovers(folder):
    return sorted(p.name for p in folder.iterdir() if p.name.startswith("."))


# --- tests -----------------------------------------------------------------------------------------

def test_icon_and_version_values_reach_the_package(pack, tmp_path):
    ico = make_ico([16, 32, 48, 256])
    (tmp_path / "app.ico").write_bytes(ico)
    result, package = pack("--icon", tmp_path / "app.ico", "--version", "ProductName=Demo",
                           "--version", "companyname=ACME Ltd.", "--version", "ProductVersion=2.1",
                           "--version", "Comments=100% done, %s %1 kept", "--version", "FileDescription=Démo ✓",
                           "--zip", tmp_path / "pkg.zip")
    assert result.returncode == 0, result.stderr
    assert result.stderr == ""
    assert leftovers(tmp_path) == []

    # Still the image followed by the archive, which opens.
    archive = (tmp_path / "pkg.zip").read_bytes()
    assert package.read_bytes().endswith(archive)
    with zipfile.ZipFile(package) as z:
        assert z.read("crv.ini", pwd=ARCHIVE_PASSWORD.encode()).startswith("\ufeff[App]".encode())

    entries = resource_list(package)
    assert [e for e in entries if e[0] in ("3", "14")] == \
        [("3", str(i), 1033) for i in range(1, 5)] + [("14", "MAINICON", 1033)]
    assert [e for e in entries if e[0] == "16"] == [("16", "1", 0), ("16", "1", 1033)]

    # The icon group, put back together by wrestool, holds our images; icotool reads them.
    wrestool("-x", "--type=14", "--name=MAINICON", "-o", tmp_path / "out.ico", package)
    assert ico_images((tmp_path / "out.ico").read_bytes()) == ico_images(ico)
    listing = subprocess.run(["icotool", "-l", tmp_path / "out.ico"], capture_output=True, text=True,
                             check=True).stdout
    assert [line.split()[2] for line in listing.splitlines()] == \
        ["--width=16", "--width=32", "--width=48", "--width=256"]

    new = read_version(wrestool("-x", "--raw", "--type=16", "--language=0", package))
    old = read_version(wrestool("-x", "--raw", "--type=16", "--language=1033", package))
    assert new["translations"] == [(0x0409, 0x04E4)]
    assert (new["file_version"], new["os"], new["type"]) == (((1 << 16), 0), 4, 1)
    strings = new["tables"][TABLE]
    assert list(strings) == KEYS
    assert strings["ProductName"] == reserved("Demo")
    assert strings["CompanyName"] == reserved("ACME Ltd.")
    assert strings["Comments"] == reserved("100% done, %s %1 kept")
    assert strings["FileDescription"] == reserved("Démo ✓")
    assert strings["ProductVersion"] == reserved("2.1", 8)
    assert strings["FileVersion"] == reserved("1.0.0.0", 8)
    assert strings["LegalCopyright"] == reserved("")
    assert old["tables"][TABLE]["ProductName"] == reserved(" " * 255)


def test_the_edited_program_runs_under_wine_and_sees_its_resources(pack, tmp_path, wine):
    (tmp_path / "app.ico").write_bytes(make_ico([24, 64, 20]))
    result, package = pack("--icon", tmp_path / "app.ico", "--version", "ProductName=Démo 100%",
                           "--version", "OriginalFileName=demo.exe")
    assert result.returncode == 0, result.stderr
    run = subprocess.run(["wine", package], env=wine, capture_output=True, timeout=300)
    assert run.returncode == 0, run.stderr.decode(errors="replace")
    lines = dict(line.split("=", 1) for line in run.stdout.decode().splitlines() if "=" in line)
    assert lines["icons"].strip() == "3"
    assert [int(lines[f"icon{i}"]) for i in (1, 2, 3)] == [len(bmp_image(s, (0, 0, 0, 0))) for s in (24, 64, 20)]
    assert lines["translation"].strip() == TABLE
    assert lines["ProductName"].strip() == "Démo 100%"
    assert lines["OriginalFilename"].strip() == "demo.exe"
    assert lines["FileVersion"].strip() == "1.0.0.0"
    assert lines["CompanyName"].strip() == ""


@pytest.mark.parametrize("sizes", [[32], [16, 20, 24, 32, 40, 48, 64, 96, 128, 160, 192, 256]],
                         ids=["fewer images", "more images"])
def test_every_old_image_gives_way(pack, tmp_path, sizes):
    (tmp_path / "app.ico").write_bytes(make_ico(sizes))
    result, package = pack("--icon", tmp_path / "app.ico")
    assert result.returncode == 0, result.stderr
    icons = [e for e in resource_list(package) if e[0] == "3"]
    assert sorted(icons, key=lambda e: int(e[1])) == [("3", str(i), 1033) for i in range(1, len(sizes) + 1)]
    # Without --version the version block stays as the runtime has it.
    assert [e for e in resource_list(package) if e[0] == "16"] == [("16", "1", 1033)]


def test_an_icon_of_exactly_one_mib_is_taken_and_one_byte_more_is_not(pack, tmp_path):
    (tmp_path / "mib.ico").write_bytes(make_ico([48], pad_to=MIB))
    result, package = pack("--icon", tmp_path / "mib.ico")
    assert result.returncode == 0, result.stderr
    assert ("3", "1", 1033) in resource_list(package)

    (tmp_path / "big.ico").write_bytes(make_ico([48], pad_to=MIB + 1))
    result, package = pack("--icon", tmp_path / "big.ico", out="big.exe")
    assert (result.returncode, result.stderr) == (1, f'crv-pack: Cannot give the package the icon '
                                                     f'"{tmp_path / "big.ico"}": Icon file is too large\n')
    assert not package.exists()
    assert leftovers(tmp_path) == []


def test_an_overlong_value_is_cut_with_a_warning(pack):
    result, package = pack("--version", "ProductName=" + "n" * 300, "--version", "FileVersion=12.34.56.78")
    assert result.returncode == 0, result.stderr
    assert "warning: the FileVersion value" in result.stderr
    assert "warning: the ProductName value" in result.stderr
    strings = read_version(wrestool("-x", "--raw", "--type=16", "--language=0", package))["tables"][TABLE]
    assert strings["ProductName"] == reserved("n" * 255)
    assert strings["FileVersion"] == reserved("12.34.5", 8)


ERRORS = [
    # (arguments, runtime: "pe", "tiny" (no resources), "elf" or "package", exit code, text in the message)
    (["--icon", "{tmp}/none.ico"], "pe", 1, "The icon"),
    (["--icon", "{tmp}/bad.ico"], "pe", 1, "Icon file is invalid"),
    (["--icon", "{tmp}/mz.ico"], "pe", 1, "Icon file is invalid"),
    (["--icon", "{tmp}/good.ico"], "tiny", 1, "FindResource failed (1)"),
    (["--version", "ProductName=x"], "tiny", 1, "has no version information"),
    (["--icon", "{tmp}/good.ico"], "package", 1, "already carries an appended archive"),
    (["--icon", "{tmp}/good.ico"], "shared", 1, "the resource directory is damaged"),
    (["--icon", "{tmp}/good.ico"], "elf", 2, "is not a Windows executable"),
    (["--version", "ProductName=x"], "elf", 2, "is not a Windows executable"),
    (["--version", "Vendor=x"], "pe", 2, "--version knows no key \"Vendor\""),
    (["--version", "ProductName"], "pe", 2, "--version needs KEY=VALUE"),
    (["--version", "ProductName=a", "--version", "PRODUCTNAME=b"], "pe", 2, "ProductName is given twice"),
    (["--icon", "{tmp}/good.ico", "--icon", "{tmp}/good.ico"], "pe", 2, "--icon is given twice"),
]


@pytest.mark.parametrize("args,runtime,code,text", ERRORS, ids=[f"{e[1]}: {e[3]}" for e in ERRORS])
def test_errors_leave_nothing_behind(pack, bin_dir, pe_runtime, fixture_dir, tmp_path, args, runtime, code, text):
    (tmp_path / "bad.ico").write_bytes(b"\0\0\1\0\2\0" + bytes(16))
    (tmp_path / "mz.ico").write_bytes(b"MZ" + make_ico([16])[2:])
    (tmp_path / "good.ico").write_bytes(make_ico([16]))
    (tmp_path / "shared.exe").write_bytes(shared_leaves_pe())
    runtimes = {"pe": pe_runtime, "tiny": fixture_dir / "tiny.exe", "elf": bin_dir / "crv-runtime",
                "shared": tmp_path / "shared.exe"}
    if runtime == "package":
        result, runtimes["package"] = pack(out="first.exe")
        assert result.returncode == 0, result.stderr
    if not runtimes[runtime].exists():
        pytest.skip(f"{runtimes[runtime].name} was not built")

    before = sorted(p.name for p in tmp_path.iterdir())
    result, package = pack(*[a.replace("{tmp}", str(tmp_path)) for a in args], runtime=runtimes[runtime])
    assert result.returncode == code, result.stderr
    assert result.stderr.startswith("crv-pack: ")
    assert text in result.stderr
    assert sorted(p.name for p in tmp_path.iterdir()) == before
