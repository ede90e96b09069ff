// Saves the note beside the program through window.crv and shows where it went.
const show = (text) => { document.getElementById("result").textContent = text; };

document.getElementById("save").onclick = async () => {
  const path = (await crv.folders.getAppExecutableDir()) + "note.txt";
  try {
    await crv.files.writeTextFile({ filePath: path, contents: document.getElementById("note").value });
    show("Saved to " + path);
  } catch (error) {
    show("Could not save: " + error);
  }
};
