// A tour of window.crv: the runtime's version, well-known folders, a file, the window, a menu bar,
// dialogs, a command and the themes.
const $ = (id) => document.getElementById(id);
const show = (text) => { $("result").textContent = text; };

async function start() {
  if (!window.crv) {
    $("status").textContent = "Running in a plain browser: window.crv is not here.";
    return;
  }
  const version = await crv.hello();
  $("status").dataset.version = version;
  $("status").textContent = "Running inside crv " + version + ".";
  const folders = {
    "Executable": crv.folders.getAppExecutableDir(),
    "Documents": crv.folders.getUserDocumentsDir(),
    "Desktop": crv.folders.getUserDesktopDir(),
    "Temporary": crv.folders.getTempDir(),
  };
  for (const [name, path] of Object.entries(folders)) {
    const term = document.createElement("dt");
    const value = document.createElement("dd");
    term.textContent = name;
    value.textContent = await path;
    $("folders").append(term, value);
  }

  await buildMenu();
  await fillThemes();
  // The caption follows the page's title (DynamicAppTitle): it shows the version once all is filled in
  // and drawn.
  await new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn)));
  document.title = "Hello from crv " + version;

  $("note").onclick = async () => {
    const path = (await crv.folders.getUserDesktopDir()) + "crv-note.txt";
    try {
      await crv.files.writeTextFile({ filePath: path, contents: "Written by crv at " + new Date() });
      show("Wrote " + path);
    } catch (error) {
      show("Could not write the note: " + error);
    }
  };
  $("fullscreen").onclick = async () => {
    // Full screen calls never reply: do not wait for them.
    if (await crv.app.inFullscreen()) crv.app.exitFullscreen();
    else crv.app.enterFullscreen();
  };
  $("ontop").onclick = async () => {
    const onTop = (await crv.window.getStyle()) === "ontop";
    await crv.window.setStyle({ style: onTop ? "normal" : "ontop" });
    $("ontop").textContent = onTop ? "Keep on top" : "Stop keeping on top";
  };
  $("open").onclick = openFile;
  $("command").onclick = async () => {
    show(await crv.shell.command({ command: "uname -a" }));
  };
}

async function openFile() {
  const path = await crv.dialogs.openFile({ title: "Open a file", fileTypes: "Web pages|*.html;All files|*" });
  show(path ? "You chose " + path : "No file chosen.");
}

// The menu bar: ids name the commands; a heading (an item with "items") reports no clicks.
const commands = {
  1: openFile,
  2: () => crv.app.close(),
  3: () => $("fullscreen").click(),
  9: () => show("crv " + $("status").dataset.version + ": web pages as one desktop program."),
};

async function buildMenu() {
  const themes = ["Windows", "Light", "Carbon", "Windows10 Dark"];
  const menu = [
    { id: 100, caption: "File", items: [
      { id: 1, caption: "Open…" },
      { id: "-1", caption: "-" },
      { id: 2, caption: "Quit" },
    ] },
    { id: 200, caption: "View", items: [
      { id: 3, caption: "Full screen" },
      { id: 300, caption: "Theme", items: themes.map((name, i) => ({ id: 30 + i, caption: name })) },
    ] },
    { id: 900, caption: "Help", items: [{ id: 9, caption: "About" }] },
  ];
  await crv.mainMenu.setItems({ items: JSON.stringify(menu) });
  crv.events.onMainMenuItemClick = (id) => {
    if (id >= 30 && id < 30 + themes.length) setTheme(themes[id - 30]);
    else if (commands[id]) commands[id]();
  };
}

async function fillThemes() {
  const select = $("theme");
  for (const name of await crv.themes.getThemes()) select.add(new Option(name, name));
  select.value = await crv.themes.getTheme();
  select.onchange = () => setTheme(select.value);
}

async function setTheme(name) {
  await crv.themes.setTheme({ name });
  $("theme").value = await crv.themes.getTheme();
}

start();
