"""The main menu in a real package: the tree a page builds, clicks by keyboard and mouse reaching the
page, updates, pictures from the package and from disk, and the failure replies. The menu reports the
tree it shows on standard error when CRV_DEBUG_MENU is set; the tests read the last report."""
import json
import os
import struct
import time
import zlib

from harness import PAGE_TEMPLATE, SETTLE_JS

# An id of its own: a package of another test run with the same id would take the start over.
APP_ID = "crv.test.menu"

# The page shows each step in its title and goes on when the test leaves a file named after it;
# clicks arrive in `clicks`.
STEPS_JS = SETTLE_JS + """
const clicks = [];
crv.events.onMainMenuItemClick = id => clicks.push(id);
async function step(name) {
  document.title = name;
  while (!(await crv.files.fileExists({filePath: name}))) await new Promise(d => setTimeout(d, 50));
}
async function nextClick(count) {
  for (let i = 0; i < 100 && clicks.length < count; i++) await new Promise(d => setTimeout(d, 50));
  return clicks[count - 1];
}
const pause = ms => new Promise(d => setTimeout(d, ms));
"""


def png(width, height, rgba):
    """A PNG of one colour."""
    row = b"\0" + bytes(rgba) * width
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data
                                + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(row * height))
            + chunk(b"IEND", b""))


def bmp(width, height, bgr):
    """A 24-bit BMP of one colour: another format the system's image loader reads."""
    row = bytes(bgr) * width
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)


def menu_reports(stderr):
    """Every tree the menu reported, oldest first: a list of item dicts (depth, label, tag, ...)."""
    reports, current = [], None
    for line in stderr.splitlines():
        if line.startswith("crv-menu: begin"):
            current = []
        elif line == "crv-menu: end" and current is not None:
            reports.append(current)
            current = None
        elif line.startswith("crv-menu: {") and current is not None:
            current.append(json.loads(line[len("crv-menu: "):]))
    return reports


def shown(report):
    """(depth, label) of the items a user sees, with the flags that matter."""
    return [(i["depth"], i["label"], i["tag"], i["enabled"], i["picture"]) for i in report if i["shown"]]


def run_page(app, body, files=None, **env):
    """harness.App.run_page with this file's application id."""
    package = app.pack({"index.html": PAGE_TEMPLATE.replace("BODY", body), **(files or {})}, app_id=APP_ID)
    run = app.start(package, **env)
    return app.page_result(run), run


def test_a_built_menu_shows_and_its_clicks_reach_the_page(app):
    (app.tmp / "pics").mkdir()
    (app.tmp / "pics" / "disk.bmp").write_bytes(bmp(24, 24, (255, 0, 0)))
    page = """<title>Start</title><script>""" + STEPS_JS + """
      window.addEventListener('load', async () => {
        const r = {before: window.innerHeight};
        r.set = await crv.mainMenu.setItems({items: JSON.stringify([
          {id: 1, caption: 'File', image: 'app/img/green.png'},
          {id: 2, caption: 'Edit', items: [
            {id: 7, caption: 'Copy', image: 'pics/disk.bmp'},
            {id: 8, caption: '-'},
            {id: '9', caption: 'Paste', enabled: 'FALSE', image: 'app/img/green.png'}]}])});
        await pause(300);
        r.after = window.innerHeight;
        await step('Open');
        r.keyboard = await nextClick(1);
        // A top-level command item with an id that is no integer, clicked with the mouse.
        r.again = await crv.mainMenu.setItems({items: '[{"id": "abc", "caption": "Zed"}, {"id": 3, "caption": "Zoo"}]'});
        await step('Mouse');
        r.mouse = await nextClick(2);
        await step('Alt');
        r.alt = await nextClick(3);
        r.clicks = clicks;
        await crv.files.writeTextFile({filePath: 'result.json', contents: JSON.stringify(r)});
        crv.app.close();
      });</script>"""
    files = {"index.html": page, "img/green.png": png(32, 32, (0, 160, 0, 255))}
    run = app.start(app.pack(files, settings={"DynamicAppTitle": "1"}, app_id=APP_ID), CRV_DEBUG_MENU="1")
    desktop = app.desktop

    window = desktop.wait_window("^Open$", 20, pid=run.pid)
    # The bar takes its room from the client area; the window keeps the size of the settings.
    size = desktop.geometry(window)
    assert (size["WIDTH"], size["HEIGHT"]) == (800, 600)
    # Alt with the heading's access key opens its submenu; the item's own key runs it.
    desktop.keys(window, "alt+e")
    # CRV_MENU_SCREENSHOT=file.png keeps a picture of the open submenu, to look at.
    shot = os.environ.get("CRV_MENU_SCREENSHOT")
    if shot:
        time.sleep(0.5)
        desktop.screenshot(shot)
    desktop._run("xdotool", "key", "--clearmodifiers", "c")
    (app.tmp / "Open").write_text("")

    window = desktop.wait_window("^Mouse$", 10, pid=run.pid)
    # The bar is at the top of the window, its first item at the left.
    desktop.click(window, 12, 8)
    (app.tmp / "Mouse").write_text("")
    window = desktop.wait_window("^Alt$", 10, pid=run.pid)
    desktop.keys(window, "alt+o")  # "Zoo": Z is taken by "Zed"
    (app.tmp / "Alt").write_text("")

    r = app.page_result(run)
    reports = menu_reports(run.wait()[2])
    assert r["set"] is True and r["again"] is True
    assert 10 < r["before"] - r["after"] < 60, r
    assert [r.get("keyboard"), r.get("mouse"), r.get("alt")] == [7, 0, 3], r
    assert r["clicks"] == [7, 0, 3]

    first = next(rep for rep in reports if len(rep) == 5)
    assert shown(first) == [(0, "_File", 1, True, "16x16"), (0, "_Edit", 2, True, ""),
                            (1, "_Copy", 7, True, "16x16"), (1, "-", 8, True, ""),
                            (1, "_Paste", 9, False, "16x16 grey")]
    assert [(i["image"], i["imageIndex"]) for i in first if i["image"]] == [
        ("MainMenuImg0", 0), ("MainMenuImg1", 1), ("MainMenuImg2", 2)]
    assert shown(reports[-1]) == [(0, "_Zed", 0, True, ""), (0, "Z_oo", 3, True, "")]


def test_updates_find_the_first_item_with_the_id_and_pictures_count_from_zero(app):
    (app.tmp / "beside.png").write_bytes(png(8, 16, (0, 0, 255, 255)))
    body = """
      const pause = ms => new Promise(d => setTimeout(d, ms));
      const r = {};
      r.set = await crv.mainMenu.setItems({items: JSON.stringify([
        {id: 5, caption: 'One', items: [{id: 6, caption: 'Inner', image: 'app/a.png'}, {id: 1, caption: '-'},
                                        {id: 2, caption: '-'}, {id: 3, caption: 'Last'}, {id: 4, caption: '-'}]},
        {id: 5, caption: 'Two', image: 'app/a.png', enabled: 0},
        {id: 10, caption: 'Empty heading', items: []}])});
      r.updates = [
        await crv.mainMenu.updateItem({id: 5, caption: 'Renamed', enabled: 'false'}),
        await crv.mainMenu.updateItem({id: '5', image: 'beside.png'}),
        await crv.mainMenu.updateItem({id: '6', enabled: 'TRUE', caption: '', image: 'missing.png'}),
        await crv.mainMenu.updateItem({id: 3, caption: '-'}),
        await crv.mainMenu.updateItem({id: 2, caption: 'Back'}),
        await crv.mainMenu.updateItem({id: 10, enabled: 1.5}),
        await crv.mainMenu.updateItem({id: 99, caption: 'Nobody'})];
      await pause(300);
      r.again = await crv.mainMenu.setItems({items: '[{"id": 1, "caption": "Only", "image": "app/a.png"}]'});
      await pause(300);
      return r;
    """
    r, run = run_page(app, body, files={"a.png": png(16, 16, (200, 0, 0, 255))}, CRV_DEBUG_MENU="1")
    assert r == {"set": True, "updates": [True] * 7, "again": True}, r
    reports = menu_reports(run.wait()[2])
    updated = next(rep for rep in reports if any(i["label"] == "_Back" for i in rep))
    # Only the first item with id 5 changed; a picture taken by an update is the next in the list.
    # Items and lines turn into each other; of the lines only those between two items show.
    assert shown(updated) == [(0, "_Renamed", 5, False, "16x16 grey"), (1, "_Inner", 6, True, "16x16"),
                              (1, "-", 1, True, ""), (1, "_Back", 2, True, ""),
                              (0, "_Two", 5, False, "16x16 grey"), (0, "_Empty heading", 10, True, "")]
    assert [(i["label"], i["image"]) for i in updated if i["image"]] == [
        ("_Renamed", "MainMenuImg2"), ("_Inner", "MainMenuImg0"), ("_Two", "MainMenuImg1")]
    # A new menu numbers its pictures from 0 again.
    assert [(i["label"], i["image"], i["imageIndex"]) for i in reports[-1]] == [("_Only", "MainMenuImg0", 0)]


def test_failures_and_calls_that_get_no_reply(app):
    body = """
      const set = items => settle(crv.mainMenu.setItems(items === undefined ? {} : {items: items}), 400);
      const upd = data => settle(crv.mainMenu.updateItem(data), 400);
      const good = JSON.stringify([{id: 1, caption: 'A'}]);
      const r = {};
      r.missing = [await set(), await set(null), await set('')];
      r.noItemsYet = await upd({id: 1});
      await set(good);
      r.keptAfterMissing = [await set(''), await upd({id: 1})];
      r.wrongJson = [await set('not json'), await upd({id: 1}), await set('{"id": 1}'), await set('"[]"')];
      r.wrongItem = [];
      for (const items of [[{id: 1, caption: 'A'}, {caption: 'B'}, {id: 3, caption: 'C'}],
                           [{id: 1}], [{id: {}, caption: 'A'}], [{id: 1, caption: ['A']}],
                           [{id: 1, caption: 'A', items: {}}], [{id: 1, caption: 'A', items: [{id: 2}]}]]) {
        await set(good);
        r.wrongItem.push([await set(JSON.stringify(items)), await upd({id: 1})]);
      }
      await set(good);
      r.ids = [await upd({}), await upd({id: null}), await upd({id: ''}), await upd({id: 'x'}),
               await upd({id: -1}), await upd({id: '-1'}), await upd({id: 1.5}), await upd({id: 99})];
      r.empty = [await set('[]'), await upd({id: 1})];
      // Failures that end the call without a reply.
      r.noReply = [await set([{id: 1, caption: 'A'}]), await set('[1]'),
                   await set('[{"id": 1, "caption": "A", "enabled": "maybe"}]'),
                   await set('[{"id": 1, "caption": "A", "image": "app/bad.png"}]'),
                   await upd({id: {}})];
      // A menu nested deeper than any real one, as a 3 MB message, is rejected, not recursed into.
      const nested = depth => '[{"id": 1, "caption": "A", "items": '.repeat(depth) + '[]' + '}]'.repeat(depth);
      r.nesting = [await set(nested(50)),
                   await settle(crv.mainMenu.setItems({items: nested(100000)}), 10000)];
      r.stillServing = await crv.hello();
      return r;
    """
    r, _ = run_page(app, body, files={"bad.png": "this is no picture"})
    ok, missing = {"ok": True}, {"err": "Missing menu items"}
    no_items, wrong_json, wrong_item = {"err": "No menu items"}, {"err": "Wrong menu items JSON"}, {
        "err": "Wrong menu item JSON"}
    assert r["missing"] == [missing] * 3
    assert r["noItemsYet"] == no_items
    assert r["keptAfterMissing"] == [missing, ok]
    assert r["wrongJson"] == [wrong_json, no_items, wrong_json, wrong_json]
    # A wrong item, wherever it is, leaves no item behind.
    assert r["wrongItem"] == [[wrong_item, no_items]] * 6
    assert r["ids"] == [{"err": "Missing item ID"}] * 3 + [{"err": "Wrong item ID"}] * 4 + [ok]
    assert r["empty"] == [ok, no_items]
    assert r["noReply"] == ["pending"] * 5
    assert r["nesting"] == [ok, {"err": "Wrong menu items JSON: The JSON nests deeper than 200 levels"}]
    assert r["stillServing"] == "2021.47"
