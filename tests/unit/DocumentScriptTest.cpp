// Tests of the script that the browser form registers for every document.
#include "browser/BrowserForm.h"

#include <gtest/gtest.h>

using Corvane::Browser::BuildDocumentScript;

namespace {

const std::string kDragOver =
    "\rwindow.addEventListener(\"dragover\", function(e){e.preventDefault();},false);";
const std::string kDrop = "\rwindow.addEventListener(\"drop\", function(e){e.preventDefault();}, false);";
const std::string kClick = "\rwindow.addEventListener(\"click\", function () "
                           "{window.chrome.webview.postMessage(\"crv-webbrowser-clicked\");});";

} // namespace

TEST(DocumentScript, PiecesInOrderEachAfterACarriageReturn) {
    std::string bridge = "\r";
    bridge += Corvane::Browser::BrowserExternalScript();
    const struct {
        bool withExternal, isRuntime;
        std::string app, expected;
    } cases[] = {
        {true, true, "app();", bridge + kDragOver + kDrop + "\rapp();"},
        // The application's script goes in unchanged, surrounding blanks included.
        {false, true, "  app();\n", kDragOver + kDrop + "\r  app();\n"},
        // Only blanks and line breaks: not added.
        {false, true, " \r\n\t ", kDragOver + kDrop},
        {false, true, "", kDragOver + kDrop},
        // Outside runtime mode the application's script is never added; the click listener is.
        {false, false, "app();", kDragOver + kDrop + kClick},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildDocumentScript(c.withExternal, c.isRuntime, c.app), c.expected) << c.app;
}

TEST(DocumentScript, TheBridgeScriptIsBuiltIntoTheProgram) {
    const std::string script = Corvane::Browser::BrowserExternalScript();
    EXPECT_NE(script.find("window.crv = {"), std::string::npos);
    EXPECT_NE(script.find("onCloseQuery: function () { window.crv.app.close(); }"), std::string::npos);
}
