"""shell.* and base64.decodeToFile in a real package: command output, starting programs, the window
list, the file manager over D-Bus, and decoding base64 text into files beside the executable."""
import base64
import os
import subprocess
import sys

import pytest

from harness import poll

# A file manager that takes ShowItems on the session bus and writes down the URIs it was given.
FAKE_FILE_MANAGER = r"""
import sys
from gi.repository import Gio, GLib
XML = '''<node><interface name="org.freedesktop.FileManager1">
<method name="ShowItems"><arg type="as" name="uris" direction="in"/><arg type="s" name="startup" direction="in"/></method>
</interface></node>'''
record = sys.argv[1]
def call(conn, sender, path, iface, method, params, invocation):
    with open(record, "a") as f:
        f.write("\n".join(params.unpack()[0]) + "\n")
    invocation.return_value(None)
def acquired(conn, name):
    print("ready", flush=True)
def bus_acquired(conn, name):
    conn.register_object("/org/freedesktop/FileManager1", Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0], call)
Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.FileManager1", Gio.BusNameOwnerFlags.NONE,
                 bus_acquired, acquired, None)
GLib.MainLoop().run()
"""


def run_page(app, body, **env):
    """app.run_page for a package that does not wait for another instance of the same ID."""
    return app.run_page(body, settings={"AllowInstances": "1"}, **env)


def test_command_output_reaches_the_page(app):
    r = run_page(app, r"""
      const c = args => settle(crv.shell.command(args), 5000);
      return {
        both: await c({command: 'echo out; echo err >&2; echo out2'}),
        unknown: await c({command: 'crv-no-such-command-4711'}),
        quotes: await c({command: `printf '%s' '"quoted" \\ back ünï €'`}),
        noDir: await c({command: 'echo hi', workingDir: '/nonexistent/crv'}),
        dir: await c({command: 'pwd', workingDir: '/'}),
        hiddenByText: await c({command: 'echo hidden', showWindow: 'yes'}),
        shownWithoutTerminal: await c({command: 'echo shown', showWindow: true}),
        failing: await c({command: 'echo partial; exit 3'}),
        missing: [await c({}), await c({command: ''}), await c({workingDir: '/'})],
      };
    """, PATH="/usr/bin:/bin")
    assert r["both"] == {"ok": "out\nerr\nout2\n"}
    # A command that does not exist resolves with the interpreter's complaint.
    assert "crv-no-such-command-4711" in r["unknown"]["ok"] and "not found" in r["unknown"]["ok"]
    assert r["quotes"] == {"ok": '"quoted" \\ back ünï €'}
    assert r["noDir"] == {"ok": ""}
    assert r["dir"] == {"ok": "/\n"}
    assert r["hiddenByText"] == {"ok": "hidden\n"}
    # No terminal program on PATH: the command runs hidden, its output still comes back.
    assert r["shownWithoutTerminal"] == {"ok": "shown\n"}
    assert r["failing"] == {"ok": "partial\n"}
    assert r["missing"] == [{"err": "Missing command"}] * 3


def test_execute_and_window_list(app):
    script = app.tmp / "tool.sh"
    script.write_text('#!/bin/sh\nprintf "%s|" "$@" > "$(dirname "$0")/tool-args.txt"\n')
    script.chmod(0o755)
    r = run_page(app, f"""
      const r = {{}};
      r.run = await settle(crv.shell.execute({{filePath: '{script}', arguments: 'one "two words" 3'}}), 3000);
      r.noFile = await settle(crv.shell.execute({{filePath: '/nonexistent/crv.txt'}}), 3000);
      r.noPath = [await settle(crv.shell.execute({{arguments: 'x'}})), await settle(crv.shell.execute({{filePath: ''}}))];
      r.windows = await crv.shell.windows();
      await crv.window.setTitle({{title: ' \\t '}});
      r.blank = await crv.shell.windows();
      await crv.window.setTitle({{title: '  Padded  '}});
      r.padded = await crv.shell.windows();
      return r;
    """)
    assert r["run"] == {"ok": True}
    assert poll(lambda: (app.tmp / "tool-args.txt").exists() and (app.tmp / "tool-args.txt").read_text())
    assert (app.tmp / "tool-args.txt").read_text() == "one|two words|3|"
    assert r["noFile"] == {"err": "No such file or directory"}
    assert r["noPath"] == [{"err": "Missing filePath"}] * 2
    # The main window's caption is the page's title; the list holds strings only.
    assert "Test App" in r["windows"] and all(isinstance(c, str) for c in r["windows"])
    assert not any(c.strip() == "" for c in r["blank"]) and "Test App" not in r["blank"]
    assert "  Padded  " in r["padded"]


def test_decode_base64_into_files(app):
    absolute = app.tmp / "abs" / "x.bin"
    (app.tmp / "kept.bin").write_bytes(b"precious")
    data = base64.b64encode(bytes(range(256)) * 4).decode()
    r = run_page(app, f"""
      const d = args => settle(crv.base64.decodeToFile(args), 3000);
      return {{
        abc: await d({{filePath: 'abc.txt', contents: 'YWJj'}}),
        empty: await d({{filePath: 'empty.bin', contents: ''}}),
        absent: await d({{filePath: 'absent.bin'}}),
        nested: await d({{filePath: 'new/deeper\\\\bytes.bin', contents: '{data}'}}),
        wrapped: await d({{filePath: 'wrapped.txt', contents: 'YW\\r\\nJj\\nZA'}}),
        absolute: await d({{filePath: '{absolute}', contents: 'YQ=='}}),
        invalid: await d({{filePath: 'kept.bin', contents: 'YW*j'}}),
        objectContents: await d({{filePath: 'kept.bin', contents: {{a: 1}}}}),
        missing: [await d({{contents: 'YWJj'}}), await d({{filePath: ''}})],
      }};
    """)
    assert r["abc"] == r["empty"] == r["absent"] == r["nested"] == r["wrapped"] == r["absolute"] == {"ok": True}
    # Relative paths land beside the executable; missing folders are made.
    assert (app.tmp / "abc.txt").read_bytes() == b"abc"
    assert (app.tmp / "empty.bin").read_bytes() == b"" and (app.tmp / "absent.bin").read_bytes() == b""
    assert (app.tmp / "new" / "deeper" / "bytes.bin").read_bytes() == bytes(range(256)) * 4
    assert (app.tmp / "wrapped.txt").read_bytes() == b"abcd"
    assert absolute.read_bytes() == b"a"
    # Refused text changes nothing on disk.
    assert r["invalid"] == {"err": "Invalid base64 text"}
    assert "err" in r["objectContents"] and "contents" in r["objectContents"]["err"]
    assert (app.tmp / "kept.bin").read_bytes() == b"precious"
    assert r["missing"] == [{"err": "Missing filePath"}] * 2


@pytest.fixture
def session_bus(tmp_path):
    """A private session bus; yields its address."""
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, text=True)
    address = bus.stdout.readline().strip()
    yield address
    bus.terminate()
    bus.wait(timeout=10)


def test_explore_asks_the_file_manager_to_show_the_file(app, session_bus):
    record = app.tmp / "shown.txt"
    manager = subprocess.Popen([sys.executable, "-c", FAKE_FILE_MANAGER, str(record)], stdout=subprocess.PIPE,
                               text=True, env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=session_bus))
    try:
        assert manager.stdout.readline().strip() == "ready"
        target = app.tmp / "a folder" / "x y.txt"
        r = run_page(app, f"""
          return [await settle(crv.shell.explore({{filePath: '{target}'}}), 8000),
                  await settle(crv.shell.explore({{}}))];
        """, DBUS_SESSION_BUS_ADDRESS=session_bus)
        assert r == [{"ok": True}, {"err": "Missing filePath"}]
        # The file's URI, spaces escaped; it need not exist.
        assert record.read_text() == "file://" + str(target).replace(" ", "%20") + "\n"
    finally:
        manager.terminate()
        manager.wait(timeout=10)


@pytest.mark.parametrize("bus", ["absent", "no-file-manager"])
def test_explore_answers_without_a_file_manager(app, bus, request):
    address = "unix:path=/nonexistent/crv-bus" if bus == "absent" else request.getfixturevalue("session_bus")
    (app.tmp / "here.txt").write_text("x")
    r = run_page(app, f"""
      return await settle(crv.shell.explore({{filePath: '{app.tmp / "here.txt"}'}}), 15000);
    """, DBUS_SESSION_BUS_ADDRESS=address)
    # Nothing on this desktop opens folders either: the refusal comes back as text.
    assert r != "pending"
    assert r == {"ok": True} or (isinstance(r.get("err"), str) and r["err"])
