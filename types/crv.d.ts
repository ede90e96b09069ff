// TypeScript declarations of window.crv, the native functions that crv offers to packaged pages.
//
// How to use this file:
// - Plain JavaScript (editor help, or tsc with checkJs) and TypeScript scripts: put
//       /// <reference path="crv.d.ts" />
//   at the top of a file; `window.crv` and the bare global `crv` are then typed.
// - Module builds (bundlers, tsc with import/export): import the types you need, which also brings
//   the globals in:
//       import type { MenuItem } from "./crv";
//   or list the file under "files"/"include" in tsconfig.json.
// The file is a module (it exports its named types) whose `declare global` block adds `crv` to the
// global scope, so both ways work. Plain scripts and JSDoc reach the named types as
// `import("./crv").MenuItem`.
//
// Conventions that hold for every function:
// - Each function returns a promise that settles when the runtime answers. A rejection carries a
//   string: the error text (the fixed texts are quoted in the comments below) or a message of the
//   system.
// - Functions that take an options object must be given one, `{}` at least: a call without it is
//   never answered and its promise stays pending.
// - Option keys read as text also accept numbers and booleans, which are taken as their text
//   (`true` becomes "true"). `null` or an absent key gives the default. An object or array where
//   text is expected gets no answer, so the promise stays pending.
// - A required text key that is absent, null or empty rejects with the "Missing ..." text given.
// - Folder paths that the runtime returns end with the path separator: "/" on Linux, "\" on
//   Windows.

/** A value that the runtime reads as text: numbers and booleans are taken as their text. */
export type TextValue = string | number | boolean;

/**
 * A file or folder path resolved against the executable's folder:
 * - An absolute path is used unchanged: on Linux one that starts with "/"; on Windows one with a
 *   drive ("C:...", forward slashes kept) or a UNC prefix ("\\server\...").
 * - Any other path is taken under the folder of the running executable (not under the app's data
 *   folder), with "/" and "\" turned into the system's separator. On Windows this includes a path
 *   that starts with a single "/" or "\".
 */
export type AppPath = TextValue;

/** The 40 visual themes of the runtime's own windows (menu bar, dialogs), in sorted order. */
export type ThemeName =
    | "Amakrits"
    | "Amethyst Kamri"
    | "Aqua Graphite"
    | "Aqua Light Slate"
    | "Auric"
    | "Carbon"
    | "Charcoal Dark Slate"
    | "Cobalt XEMedia"
    | "Cyan Dusk"
    | "Cyan Night"
    | "Emerald Light Slate"
    | "Glossy"
    | "Glow"
    | "Golden Graphite"
    | "Iceberg Classico"
    | "Lavender Classico"
    | "Light"
    | "Luna"
    | "Metropolis UI Black"
    | "Metropolis UI Blue"
    | "Metropolis UI Dark"
    | "Metropolis UI Green"
    | "Obsidian"
    | "Onyx Blue"
    | "Ruby Graphite"
    | "Sapphire Kamri"
    | "Silver"
    | "Sky"
    | "Slate Classico"
    | "Smokey Quartz Kamri"
    | "Tablet Dark"
    | "Tablet Light"
    | "Turquoise Gray"
    | "Windows"
    | "Windows10"
    | "Windows10 Blue"
    | "Windows10 Dark"
    | "Windows10 Green"
    | "Windows10 Purple"
    | "Windows10 SlateGray";

/** Stacking of the main window: "ontop" keeps it above other windows. */
export type WindowStyle = "normal" | "ontop";

/** State of the main window. */
export type WindowState = "normal" | "minimized" | "maximized";

// ---- dialogs ----------------------------------------------------------------------------------

/** Options of {@link CrvDialogs.openFile}. */
export interface OpenFileOptions {
    /** Initial text of the file-name box. Default: empty. */
    fileName?: TextValue | null;
    /** Title of the dialog. Default: "Open file". */
    title?: TextValue | null;
    /**
     * Filters, as entries "Display name|mask" separated by ";", in the order offered, for example
     * "Text files|*.txt;All files|*.*". One mask per entry (";" always ends an entry); entries
     * without exactly one "|" are skipped. Default: empty (no filters). The dialog reopens on the
     * filter position the user chose last time.
     */
    fileTypes?: TextValue | null;
}

/** Options of {@link CrvDialogs.saveFile}. */
export interface SaveFileOptions {
    /** Initial text of the file-name box. Default: empty. */
    fileName?: TextValue | null;
    /** Title of the dialog. Default: "Save file". */
    title?: TextValue | null;
    /** Filters, as for {@link OpenFileOptions.fileTypes}. Default: empty. */
    fileTypes?: TextValue | null;
    /** Ask before returning a file that exists. Default: false. */
    overwritePrompt?: boolean | null;
}

/** Modal file dialogs. They only return a path; nothing is read or written. */
export interface CrvDialogs {
    /**
     * Shows the open-file dialog and resolves, after it closes, with the chosen file's full path,
     * or with "" when the user cancelled. Never rejects.
     */
    openFile(options: OpenFileOptions): Promise<string>;
    /**
     * Shows the save-file dialog and resolves, after it closes, with the chosen full path, or with
     * "" when the user cancelled. No extension is added. Never rejects.
     */
    saveFile(options: SaveFileOptions): Promise<string>;
}

// ---- files ------------------------------------------------------------------------------------

/** Options of {@link CrvFiles.fileExists} and {@link CrvFiles.deleteFile}. */
export interface FilePathOptions {
    /** The file (see {@link AppPath}). Required: "Missing filePath". */
    filePath: AppPath;
}

/** Options of {@link CrvFiles.writeTextFile}. */
export interface WriteTextFileOptions {
    /** The file to write (see {@link AppPath}). Required: "Missing filePath". */
    filePath: AppPath;
    /** The text. Default: empty. */
    contents?: TextValue | null;
}

/** Options of {@link CrvFiles.extractFile}. */
export interface ExtractFileOptions {
    /**
     * The packaged file, relative to the app's folder in the package and starting with "/", for
     * example "/images/logo.png"; ASCII letters match without case.
     * Required: "Missing sourceFile".
     */
    sourceFile: TextValue;
    /**
     * The file to write, used as given: a relative path is relative to the process's current
     * folder (not the executable's), and its folder must exist. Required: "Missing targetFile".
     */
    targetFile: TextValue;
}

/** Files on disk and in the package. */
export interface CrvFiles {
    /**
     * Resolves with whether a file (not a folder) exists at the path; links are followed.
     * Rejects with "Missing filePath".
     */
    fileExists(options: FilePathOptions): Promise<boolean>;
    /**
     * Deletes one file. Resolves with false, not a rejection, when it did not exist or could not
     * be deleted. Rejects with "Missing filePath".
     */
    deleteFile(options: FilePathOptions): Promise<boolean>;
    /**
     * Writes the text as UTF-8 with a byte-order mark and CR LF after every line (the last one
     * too), replacing an existing file and creating missing folders. Empty contents give a file of
     * the three byte-order-mark bytes. Rejects with "Missing filePath" or the system's message.
     */
    writeTextFile(options: WriteTextFileOptions): Promise<true>;
    /**
     * Copies a file of the package to disk, replacing the target. Rejects with
     * "Missing sourceFile", "Missing targetFile", "File not found" or the system's message when
     * the target cannot be written; a failed call leaves a file already at the target unchanged.
     */
    extractFile(options: ExtractFileOptions): Promise<true>;
}

// ---- folders ----------------------------------------------------------------------------------

/** Options of {@link CrvFolders.dirExists} and {@link CrvFolders.deleteDir}. */
export interface DirPathOptions {
    /** The folder (see {@link AppPath}). Required: "Missing dirPath". */
    dirPath: AppPath;
}

/** Folders on disk. Every path returned ends with "/" on Linux and "\" on Windows. */
export interface CrvFolders {
    /**
     * Resolves with whether a folder exists at the path; links are followed.
     * Rejects with "Missing dirPath".
     */
    dirExists(options: DirPathOptions): Promise<boolean>;
    /**
     * Deletes the folder with everything in it, without confirmation and not into a recycle bin.
     * Resolves with false, not a rejection, when it could not be deleted.
     * Rejects with "Missing dirPath".
     */
    deleteDir(options: DirPathOptions): Promise<boolean>;
    /** The user's temporary folder. Linux: $TMPDIR, else /tmp/. */
    getTempDir(): Promise<string>;
    /** The user's documents folder. Linux: the XDG documents folder. */
    getUserDocumentsDir(): Promise<string>;
    /** The user's desktop folder. Linux: the XDG desktop folder. */
    getUserDesktopDir(): Promise<string>;
    /** The folder of the running executable, against which relative paths are resolved. */
    getAppExecutableDir(): Promise<string>;
    /**
     * The user's (roaming) application-data folder, shared by all programs; not a folder of this
     * app. Linux: $XDG_CONFIG_HOME, else ~/.config/.
     */
    getAppDataDir(): Promise<string>;
}

// ---- app --------------------------------------------------------------------------------------

/** The application and full screen. */
export interface CrvApp {
    /**
     * Closes the application. Never settles: do not await it. This is what lets the window close
     * after {@link CrvEvents.onCloseQuery}.
     */
    close(): Promise<never>;
    /**
     * Whether the window is in full screen, as far as the runtime knows: it starts so when the
     * package's settings ask for it and changes only through enterFullscreen and exitFullscreen.
     */
    inFullscreen(): Promise<boolean>;
    /**
     * Removes the window's border and maximizes it; nothing when already in full screen.
     * Never settles.
     */
    enterFullscreen(): Promise<never>;
    /**
     * Restores the window state normal and the border from the package's settings; nothing when
     * not in full screen. Never settles.
     */
    exitFullscreen(): Promise<never>;
}

// ---- window -----------------------------------------------------------------------------------

/** Options of {@link CrvWindow.setStyle}. */
export interface SetStyleOptions {
    /**
     * "ontop" (exactly) keeps the window above others; any other value makes it normal.
     * Default: "normal".
     */
    style?: WindowStyle | null;
}

/** Options of {@link CrvWindow.setState}. */
export interface SetStateOptions {
    /**
     * The new state, matched with letter case; any other value changes nothing.
     * Default: "normal".
     */
    state?: WindowState | null;
}

/** Options of {@link CrvWindow.setTitle}. */
export interface SetTitleOptions {
    /** The caption. Default: empty, which clears it. */
    title?: TextValue | null;
}

/** The main window. */
export interface CrvWindow {
    /** Resolves with "ontop" when the window stays above others, else "normal". */
    getStyle(): Promise<WindowStyle>;
    /** Sets the stacking style. Always resolves with true. */
    setStyle(options: SetStyleOptions): Promise<true>;
    /** The window's state, also after the user changed it. */
    getState(): Promise<WindowState>;
    /** Sets the window's state. Always resolves with true, also for a state not recognised. */
    setState(options: SetStateOptions): Promise<true>;
    /** The window's caption. */
    getTitle(): Promise<string>;
    /**
     * Sets the caption; it stays until the next change (or the next page title, when the package
     * makes the caption follow the page title). Always resolves with true.
     */
    setTitle(options: SetTitleOptions): Promise<true>;
}

// ---- shell ------------------------------------------------------------------------------------

/** Options of {@link CrvShell.execute}. */
export interface ShellExecuteOptions {
    /**
     * A program, document, folder or address, used as given (not resolved against the
     * executable's folder). Required: "Missing filePath".
     */
    filePath: TextValue;
    /** The program's arguments as one text. Default: empty. */
    arguments?: TextValue | null;
}

/** Options of {@link CrvShell.explore}. */
export interface ShellExploreOptions {
    /** The file or folder to show, used as given. Required: "Missing filePath". */
    filePath: TextValue;
}

/** Options of {@link CrvShell.command}. */
export interface ShellCommandOptions {
    /** The command line. Required: "Missing command". */
    command: TextValue;
    /** The folder it runs in. Default: empty, the runtime's current folder. */
    workingDir?: TextValue | null;
    /**
     * true or "true" shows the command in a window (a console on Windows, a terminal where the
     * Linux desktop has one); anything else keeps it hidden. Default: hidden.
     */
    showWindow?: TextValue | null;
}

/** Programs, documents and command lines. */
export interface CrvShell {
    /**
     * Opens the file as the desktop does: a program starts with the arguments, anything else
     * opens in its default application. Resolves once started, without waiting for it. Linux: an
     * executable file starts directly, the arguments split by the usual shell quoting rules.
     * Rejects with "Missing filePath" or the system's message.
     */
    execute(options: ShellExecuteOptions): Promise<true>;
    /**
     * Opens the file manager on the path's folder with the path selected. Linux: the desktop's
     * file manager, or the containing folder when it cannot select items.
     * Rejects with "Missing filePath" or the system's message.
     */
    explore(options: ShellExploreOptions): Promise<true>;
    /**
     * Runs the command line through the command interpreter (Windows: cmd.exe /C; Linux:
     * /bin/sh -c) and resolves, after it ends, with everything it wrote to standard output and
     * standard error, line breaks included. The exit code is not reported: a failing or unknown
     * command resolves with its error output. The window does not respond until the command ends,
     * so avoid commands that wait for input. Rejects only with "Missing command".
     */
    command(options: ShellCommandOptions): Promise<string>;
    /**
     * The captions of the desktop's top-level windows (hidden ones too), blank captions left out.
     * Linux: the X11 client list; on Wayland only this program's own windows.
     */
    windows(): Promise<string[]>;
}

// ---- themes -----------------------------------------------------------------------------------

/** Options of {@link CrvThemes.setTheme}. */
export interface SetThemeOptions {
    /** The theme's name, for example "Carbon". Default: empty (matches none). */
    name?: ThemeName | (string & {}) | null;
}

/**
 * The visual theme of the runtime's own windows (menu bar, dialogs, message boxes); web content
 * is not affected. "Windows" is the system's own look (Linux: the desktop's GTK theme). The
 * package's settings choose the theme at start; a change made here is not kept after a restart.
 */
export interface CrvThemes {
    /** The active theme's name. */
    getTheme(): Promise<ThemeName>;
    /** All 40 theme names, sorted without regard to letter case. */
    getThemes(): Promise<ThemeName[]>;
    /**
     * Makes the theme active at once for all windows. Resolves with true when the active theme's
     * name then equals `name` exactly; an unknown name changes nothing and gives false. A name in
     * other letter case ("carbon") switches the theme but still gives false. Never rejects.
     */
    setTheme(options: SetThemeOptions): Promise<boolean>;
}

// ---- base64 -----------------------------------------------------------------------------------

/** Options of {@link CrvBase64.decodeToFile}. */
export interface DecodeToFileOptions {
    /** The file to write (see {@link AppPath}). Required: "Missing filePath". */
    filePath: AppPath;
    /** Base64 text (standard alphabet, "=" padding). Default: empty, which writes an empty file. */
    contents?: TextValue | null;
}

/** Binary data from the page. */
export interface CrvBase64 {
    /**
     * Writes exactly the decoded bytes, replacing an existing file and creating missing folders.
     * Rejects with "Missing filePath" or the message of the failure (text that is not base64, a
     * file that cannot be written).
     */
    decodeToFile(options: DecodeToFileOptions): Promise<true>;
}

// ---- system -----------------------------------------------------------------------------------

/**
 * Ending the user's session or the computer, forced: other programs are not asked. Each resolves
 * with true once the system accepted the request (it then ends the runtime on its own schedule)
 * and rejects with the system's message when it refused. Linux: the requests go to the login
 * manager (systemd-logind), which may refuse them by policy.
 */
export interface CrvSystem {
    /** Logs the user off. Linux: ends the login session that the runtime runs in. */
    logoff(): Promise<true>;
    /** Restarts the computer. */
    reboot(): Promise<true>;
    /** Shuts the computer down. Linux: powers it off. */
    shutdown(): Promise<true>;
}

// ---- mainMenu ---------------------------------------------------------------------------------

/** One item of the main menu, as given to {@link CrvMainMenu.setItems}. Other keys are ignored. */
export interface MenuItem {
    /**
     * The page's id, reported to {@link CrvEvents.onMainMenuItemClick}: a signed 32-bit integer,
     * or a string holding one; any other text becomes 0. Ids need not be unique. An item with the
     * id -1 cannot be updated.
     */
    id: number | string;
    /** The text shown; "-" draws a separator line. */
    caption: TextValue;
    /**
     * false disables the item: a boolean, "true"/"false" in any letter case, or a number (0 is
     * false). Any other text makes the whole setItems call stay pending. Default: enabled.
     */
    enabled?: boolean | number | string;
    /**
     * A picture (any common image format), looked up in this order: the package entry of that
     * name, which includes the app's folder in the package (for example "app/images/open.png");
     * the path under the executable's folder; the path as given. A picture found nowhere is left
     * out without error.
     */
    image?: string;
    /**
     * The submenu. When present, even empty, the item is a heading that reports no clicks;
     * without it the item is a command that reports clicks.
     */
    items?: MenuItem[];
}

/** Options of {@link CrvMainMenu.setItems}. */
export interface SetMenuItemsOptions {
    /**
     * The top-level items as JSON text: pass `JSON.stringify(items)` with `items` a
     * {@link MenuItem} array. An array given directly is not accepted (no answer).
     */
    items: string;
}

/** Options of {@link CrvMainMenu.updateItem}. Absent or empty keys leave that part unchanged. */
export interface UpdateMenuItemOptions {
    /**
     * The item's id; the first item with it (depth first) is changed.
     * Required: "Missing item ID".
     */
    id: number | string;
    /** The new text; cannot be emptied this way. */
    caption?: TextValue | null;
    /** Enabled state, with the values of {@link MenuItem.enabled}. */
    enabled?: boolean | number | string | null;
    /** A new picture, looked up as {@link MenuItem.image}. */
    image?: string | null;
}

/** A native menu bar on the main window, which has none until the first setItems. */
export interface CrvMainMenu {
    /**
     * Replaces the whole menu (an empty array leaves no items, and the bar hides). Rejects with
     * "Missing menu items" (menu unchanged), "Wrong menu items JSON" (not a JSON array) or
     * "Wrong menu item JSON" (an item without `id` or `caption`, or whose `items` is not an
     * array); after either of the last two the menu is empty.
     */
    setItems(options: SetMenuItemsOptions): Promise<true>;
    /**
     * Changes one item's caption, enabled state or picture. Resolves with true, also when no item
     * has the id. Rejects with "Missing item ID", "Wrong item ID" (not an integer, or -1) or
     * "No menu items".
     */
    updateItem(options: UpdateMenuItemOptions): Promise<true>;
}

// ---- events -----------------------------------------------------------------------------------

/** Functions that the runtime calls in the page. Assign your own to take part. */
export interface CrvEvents {
    /**
     * Called each time the user asks the window to close. The window closes only when the page
     * calls {@link CrvApp.close}; the default does so at once. Replace it to ask first, and call
     * `crv.app.close()` when the answer is yes.
     */
    onCloseQuery: () => void;
    /**
     * Called with the item's id when the user clicks a command item of the main menu. The
     * default does nothing.
     */
    onMainMenuItemClick: (itemId: number) => void;
}

// ---- window.crv -------------------------------------------------------------------------------

/** The object `window.crv`, present in every page of a package before the page's scripts run. */
export interface Crv {
    /**
     * Posts a call with a function id and resolves with the answer's result, or rejects with it
     * when the call failed. The functions below are built on it. `args` must be an object.
     */
    call<T = unknown>(funcID: number, args: object): Promise<T>;
    /** Resolves with the runtime's version text, "2021.47". Call it on the object: crv.hello(). */
    hello(this: Crv): Promise<string>;
    /** Resolves with true inside a package. Call it on the object: `crv.isRuntime()`. */
    isRuntime(this: Crv): Promise<boolean>;
    dialogs: CrvDialogs;
    files: CrvFiles;
    folders: CrvFolders;
    app: CrvApp;
    window: CrvWindow;
    shell: CrvShell;
    themes: CrvThemes;
    base64: CrvBase64;
    system: CrvSystem;
    mainMenu: CrvMainMenu;
    events: CrvEvents;
}

declare global {
    interface Window {
        crv: Crv;
    }
    /** The same object as `window.crv`. */
    var crv: Crv;
}
