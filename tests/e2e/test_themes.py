"""Themes: the list and its order, switching from the page, the start-up setting, and what a theme
does to the look of the runtime's own windows (measured on screenshots)."""
import pytest

from harness import poll

NAMES = [
    "Amakrits", "Amethyst Kamri", "Aqua Graphite", "Aqua Light Slate", "Auric", "Carbon", "Charcoal Dark Slate",
    "Cobalt XEMedia", "Cyan Dusk", "Cyan Night", "Emerald Light Slate", "Glossy", "Glow", "Golden Graphite",
    "Iceberg Classico", "Lavender Classico", "Light", "Luna", "Metropolis UI Black", "Metropolis UI Blue",
    "Metropolis UI Dark", "Metropolis UI Green", "Obsidian", "Onyx Blue", "Ruby Graphite", "Sapphire Kamri",
    "Silver", "Sky", "Slate Classico", "Smokey Quartz Kamri", "Tablet Dark", "Tablet Light", "Turquoise Gray",
    "Windows", "Windows10", "Windows10 Blue", "Windows10 Dark", "Windows10 Green", "Windows10 Purple",
    "Windows10 SlateGray",
]

# An ID of its own: one instance per ID runs at a time, and other test files start "test.app".
APP_ID = "test.themes"

# Window and menu bar colours of some palettes.
CARBON_WINDOW, CARBON_MENU_BAR = "#303030", "#262626"
SKY_WINDOW = "#dff0fb"


def dominant_colour(app, window, crop=None):
    return app.desktop.dominant_colour(window, crop)


def test_list_switch_and_exact_names_and_a_new_start_forgets(app):
    page = """<title>Test App</title><script>
      window.addEventListener('load', async () => {
        const r = {start: await crv.themes.getTheme(), list: await crv.themes.getThemes(), steps: []};
        for (const name of ['Windows10 Dark', 'carbon', 'No Such Theme', '', 'Windows', 'WINDOWS10 blue']) {
          r.steps.push([name, await crv.themes.setTheme({name: name}), await crv.themes.getTheme()]);
        }
        r.steps.push(['(none)', await crv.themes.setTheme({}), await crv.themes.getTheme()]);
        await crv.files.writeTextFile({filePath: 'result.json', contents: JSON.stringify(r)});
        crv.app.close();
      });</script>"""
    package = app.pack({"index.html": page}, app_id=APP_ID)
    r = app.page_result(app.start(package))
    assert r["start"] == "Windows"
    assert r["list"] == NAMES
    assert r["steps"] == [
        ["Windows10 Dark", True, "Windows10 Dark"],
        # The theme is found without case, but the reply compares the names exactly.
        ["carbon", False, "Carbon"],
        ["No Such Theme", False, "Carbon"],
        ["", False, "Carbon"],
        ["Windows", True, "Windows"],
        ["WINDOWS10 blue", False, "Windows10 Blue"],
        ["(none)", False, "Windows10 Blue"],
    ]

    # The choice is not kept: the next start has the system look again.
    again = app.page_result(app.start(package))
    assert again["start"] == "Windows"


def test_theme_setting_chooses_the_start_up_theme(app):
    run = app.start(app.pack({"index.html": """<script>window.addEventListener('load', async () => {
        await crv.files.writeTextFile({filePath: 'result.json',
                                       contents: JSON.stringify(await crv.themes.getTheme())});
        crv.app.close();
      });</script>"""}, app_id=APP_ID, settings={"Theme": "Carbon"}))
    assert app.page_result(run) == "Carbon"
    # The style sheet loads without a complaint from the toolkit.
    assert run.wait()[2] == ""


@pytest.mark.parametrize("theme, colour", [(None, None), ("windows", None), ("Carbon", CARBON_WINDOW),
                                           ("Sky", SKY_WINDOW)])
def test_start_up_dialogs_wear_the_theme(app, theme, colour):
    # Without a browser runtime (and no installer offered) the start-up shows an error box, after
    # the theme was applied.
    settings = {"EdgeInstaller": "0", **({"Theme": theme} if theme else {})}
    run = app.start(app.pack(loader="no_runtime", app_id=APP_ID, settings=settings))
    dialog = run.window("^Error$")
    seen = dominant_colour(app, dialog)
    app.desktop.keys(dialog, "Return")
    code, _, err = run.wait()
    # Nothing but the dialog's own line: the style sheet loads without complaint.
    assert code == 0 and len(err.splitlines()) == 1 and err.startswith("Error: "), err
    if colour:
        assert seen == colour
    else:
        # The desktop's own look: a light background of the desktop theme, not one of ours.
        assert seen not in (CARBON_WINDOW, SKY_WINDOW) and int(seen[1:3], 16) > 0xc0, seen


def test_switching_repaints_the_open_menu_bar_at_once_and_leaves_the_page_alone(app):
    # The page shows each step in its title and goes on when the test leaves a file named after it.
    page = """<title>Menu</title><body style="background: #008000"><script>
      async function step(name) {
        document.title = name;
        while (!(await crv.files.fileExists({filePath: name}))) await new Promise(d => setTimeout(d, 100));
      }
      window.addEventListener('load', async () => {
        const items = [{id: 1, caption: 'File', items: [{id: 2, caption: 'Open'}]}];
        await crv.mainMenu.setItems({items: JSON.stringify(items)});
        await step('Plain');
        await crv.themes.setTheme({name: 'Carbon'});
        await step('Carbon');
        await crv.themes.setTheme({name: 'Windows'});
        await step('Back');
        crv.app.close();
      });</script></body>"""
    run = app.start(app.pack({"index.html": page}, app_id=APP_ID, settings={"DynamicAppTitle": "1"}))
    page_colour = "#008000"

    def colours(title, menu_bar_done):
        """(menu bar, page) colours at the page's step, once menu_bar_done(menu bar colour) holds or
        after a few seconds."""
        window = app.desktop.wait_window(f"^{title}$", 20, pid=run.pid)
        width, height = app.desktop.geometry(window)["WIDTH"], app.desktop.geometry(window)["HEIGHT"]
        menu_bar = lambda: dominant_colour(app, window, f"{width - 100}x8+100+2")  # right of the captions
        poll(lambda: menu_bar_done(menu_bar()), 5)
        seen = menu_bar(), dominant_colour(app, window, f"{width}x20+0+{height // 2}")
        (app.tmp / title).write_text("")
        return seen

    plain = colours("Plain", lambda c: c != page_colour)
    carbon = colours("Carbon", lambda c: c == CARBON_MENU_BAR)
    back = colours("Back", lambda c: c == plain[0])
    assert run.wait()[0] == 0
    assert plain[0] not in (page_colour, CARBON_MENU_BAR)
    assert (carbon, back) == ((CARBON_MENU_BAR, page_colour), plain)
