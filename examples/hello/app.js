// A tour of window.crv: the runtime's version, well-known folders, a file, the window.
const $ = (id) => document.getElementById(id);
const show = (text) => { $("result").textContent = text; };

async function start() {
  if (!window.crv) {
    $("status").textContent = "Running in a plain browser: window.crv is not here.";
    return;
  }
  $("status").textContent = "Running inside crv " + (await crv.hello()) + ".";
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
}

start();
