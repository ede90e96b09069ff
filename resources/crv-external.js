// window.crv: the page's half of the bridge. Each call is posted as {id, uuid, data} and settles
// when the reply with the same uuid arrives.
window.crv = {
    call: function (funcID, args) {
        function uuidv4() {
            return "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx".replace(/[xy]/g, function (c) {
                var r = (Math.random() * 16) | 0;
                return (c === "x" ? r : (r & 0x3) | 0x8).toString(16);
            });
        }
        var uuid = uuidv4();
        return new Promise(function (resolve, reject) {
            function exec(message) {
                if (message.data.uuid !== uuid) return;
                window.chrome.webview.removeEventListener("message", exec);
                if (message.data.success) resolve(message.data.result);
                else reject(message.data.result);
            }
            window.chrome.webview.addEventListener("message", exec);
            window.chrome.webview.postMessage({id: funcID, uuid: uuid, data: args});
        });
    },
    hello: function () { return this.call(10001, {}); },
    isRuntime: function () { return this.call(10002, {}); },
    dialogs: {
        openFile: function (args) { return window.crv.call(20001, args); },
        saveFile: function (args) { return window.crv.call(20002, args); }
    },
    files: {
        fileExists: function (args) { return window.crv.call(30001, args); },
        deleteFile: function (args) { return window.crv.call(30002, args); },
        writeTextFile: function (args) { return window.crv.call(30003, args); },
        extractFile: function (args) { return window.crv.call(30004, args); }
    },
    folders: {
        dirExists: function (args) { return window.crv.call(40001, args); },
        deleteDir: function (args) { return window.crv.call(40002, args); },
        getTempDir: function () { return window.crv.call(40003, {}); },
        getUserDocumentsDir: function () { return window.crv.call(40004, {}); },
        getUserDesktopDir: function () { return window.crv.call(40005, {}); },
        getAppExecutableDir: function () { return window.crv.call(40006, {}); },
        getAppDataDir: function () { return window.crv.call(40007, {}); }
    },
    app: {
        close: function () { return window.crv.call(50001, {}); },
        inFullscreen: function () { return window.crv.call(50002, {}); },
        enterFullscreen: function () { return window.crv.call(50003, {}); },
        exitFullscreen: function () { return window.crv.call(50004, {}); }
    },
    window: {
        getStyle: function () { return window.crv.call(60001, {}); },
        setStyle: function (args) { return window.crv.call(60002, args); },
        getState: function () { return window.crv.call(60003, {}); },
        setState: function (args) { return window.crv.call(60004, args); },
        getTitle: function () { return window.crv.call(60005, {}); },
        setTitle: function (args) { return window.crv.call(60006, args); }
    },
    shell: {
        execute: function (args) { return window.crv.call(70001, args); },
        explore: function (args) { return window.crv.call(70002, args); },
        command: function (args) { return window.crv.call(70003, args); },
        windows: function () { return window.crv.call(70004, {}); }
    },
    themes: {
        getTheme: function () { return window.crv.call(80001, {}); },
        getThemes: function () { return window.crv.call(80002, {}); },
        setTheme: function (args) { return window.crv.call(80003, args); }
    },
    base64: {
        decodeToFile: function (args) { return window.crv.call(90001, args); }
    },
    system: {
        logoff: function () { return window.crv.call(11001, {}); },
        reboot: function () { return window.crv.call(11002, {}); },
        shutdown: function () { return window.crv.call(11003, {}); }
    },
    mainMenu: {
        setItems: function (args) { return window.crv.call(12001, args); },
        updateItem: function (args) { return window.crv.call(12002, args); }
    },
    events: {
        onCloseQuery: function () { window.crv.app.close(); },
        onMainMenuItemClick: function (itemId) {}
    }
};
