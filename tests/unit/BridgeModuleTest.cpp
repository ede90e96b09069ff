// The bridge module's replies as the page receives them: a real browser form on a form, its browser
// made by the fake loader library, which records every reply posted; a package archive built here.
#include "bridge/BrowserExternalModule.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "FakeLoader.h"
#include "FakeWebMessage.h"
#include "browser/BrowserForm.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "shared/PackageFormat.h"
#include "shared/ProjectIni.h"
#include "shared/WindowBorder.h"
#include "shared/ZipReader.h"
#include "shared/ZipWriter.h"

using namespace Corvane::Shared;
using namespace Corvane::Browser;
using namespace Corvane::Bridge;
using namespace WebView2;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string& kFakeLoader = FakeLoader::kPath;
using FakeLoader::PumpUntil;
const std::string kPosted = "PostWebMessageAsJson ";
// An entry with every byte value, so that text handling on the way would show.
const std::string kEntryBytes = [] {
    std::string bytes = "head\r\n";
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}();

FakeBrowser::TState& Fake() {
    if (!FakeLoader::FakeState()) throw std::runtime_error("cannot load " + kFakeLoader);
    return FakeLoader::Fake();
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The call message the page's script posts.
std::string CallText(int id, const std::string& uuid, const json& data) {
    return json{{"id", id}, {"uuid", uuid}, {"data", data}}.dump();
}

class BridgeModule : public testing::Test {
protected:
    void SetUp() override {
        // Power actions must not reach the system: they stop at a bus that is not there.
        setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/crv-test-bus", 1);
        Fake().Reset();
        EdgeLoaderDllPath = kFakeLoader;

        std::string pattern = (fs::temp_directory_path() / "crv-bridge-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;

        const fs::path package = dir / "package.zip";
        {
            TZipWriter writer(package.string(), kArchivePassword);
            writer.AddFolder("app/");
            writer.AddData("app/index.html", "<p>x</p>");
            writer.AddData("app/data/blob.bin", kEntryBytes);
            writer.Finish();
        }
        const std::string bytes = ReadFile(package);
        packageBytes.assign(bytes.begin(), bytes.end());
        zip.SetPassword(kArchivePassword);
        zip.Open(packageBytes.data(), packageBytes.size());
        ASSERT_TRUE(zip.IsOpen());
        ini.LoadFromText("[App]\nDirName=app\nWindowBorder=3\n");

        form.SetBounds(0, 0, 400, 300);
        // Made only now: the browser asks the loader for its environment as soon as it exists.
        browserForm = std::make_unique<TBrowserForm>();
        browserForm->SetAlign(Platform::TAlign::Client);
        browserForm->SetParent(&form);
        ASSERT_TRUE(PumpUntil([this] { return browserForm->EdgeBrowser().DefaultInterface() != nullptr; }));
        browserForm->AppDirPath = (dir / "").string();

        module.BrowserForm = browserForm.get();
        module.MainForm = &form;
        module.ExeZip = &zip;
        module.ProjectINI = &ini;
        module.OnAppCloseRequest = [this](TBrowserExternalModule*) { ++closeRequests; };
        Fake().ClearCalls();
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir.empty()) fs::remove_all(dir, ignored);
    }

    // Hands one message to the module as the browser would; the replies it posted.
    std::vector<std::string> Deliver(const std::string& message) {
        Fake().ClearCalls();
        const auto args = ComPtr<ICoreWebView2WebMessageReceivedEventArgs>::Attach(
            new TestMessages::TFakeMessage("file:///app/index.html", message, false));
        TWebMessageReceivedEventArgs wrapped(args.Get());
        // Calls that end without reply say so on stderr; that text is not what is tested here.
        testing::internal::CaptureStderr();
        module.EdgeBrowserWebMessageReceived(&browserForm->EdgeBrowser(), wrapped);
        lastStderr = testing::internal::GetCapturedStderr();
        return Fake().CallsStartingWith(kPosted);
    }
    // The one reply to a call, "" when there was none or more than one.
    std::string Reply(int id, const json& data = json::object(), const std::string& uuid = "u") {
        const auto replies = Deliver(CallText(id, uuid, data));
        EXPECT_EQ(replies.size(), 1u) << id << " " << data.dump();
        return replies.size() == 1 ? replies[0] : std::string();
    }
    // The reply parsed, checked to be a reply to uuid "u".
    json Parsed(int id, const json& data = json::object()) {
        const std::string text = Reply(id, data);
        const json reply = json::parse(text, nullptr, false);
        EXPECT_TRUE(reply.is_object() && reply.size() == 3 && reply.value("uuid", "") == "u") << text;
        return reply;
    }

    fs::path dir;
    std::vector<std::uint8_t> packageBytes;
    TZipReader zip;
    Corvane::Shared::TProjectIni ini;
    Platform::TForm form;
    std::unique_ptr<TBrowserForm> browserForm;
    TBrowserExternalModule module;
    int closeRequests = 0;
    std::string lastStderr; // of the last Deliver
};

} // namespace

TEST_F(BridgeModule, RepliesAreTheExactTextOfTheFormat) {
    const struct {
        int id;
        json data;
        const char* reply;
    } cases[] = {
        {10001, json::object(), R"({"uuid": "u", "success": true, "result": "2021.47"})"},
        {10002, json::object(), R"({"uuid": "u", "success": true, "result": true})"},
        {30001, json::object(), R"({"uuid": "u", "success": false, "result": "Missing filePath"})"},
        {30001, {{"filePath", ""}}, R"({"uuid": "u", "success": false, "result": "Missing filePath"})"},
        {30002, {{"filePath", nullptr}}, R"({"uuid": "u", "success": false, "result": "Missing filePath"})"},
        {30003, json::object(), R"({"uuid": "u", "success": false, "result": "Missing filePath"})"},
        {40001, json::object(), R"({"uuid": "u", "success": false, "result": "Missing dirPath"})"},
        {40002, json::object(), R"({"uuid": "u", "success": false, "result": "Missing dirPath"})"},
        {30004, json::object(), R"({"uuid": "u", "success": false, "result": "Missing sourceFile"})"},
        {30004,
         {{"sourceFile", "/data/blob.bin"}},
         R"({"uuid": "u", "success": false, "result": "Missing targetFile"})"},
        {50002, json::object(), R"({"uuid": "u", "success": true, "result": false})"},
        {60001, json::object(), R"({"uuid": "u", "success": true, "result": "normal"})"},
        {60003, json::object(), R"({"uuid": "u", "success": true, "result": "normal"})"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Reply(c.id, c.data), c.reply) << c.id << " " << c.data.dump();
}

TEST_F(BridgeModule, EachCallGetsOneReplyWithItsOwnUuid) {
    const std::string uuids[] = {"0b7e2f3a-1c4d-4e5f-9a8b-7c6d5e4f3a2b",
                                 "ffffffff-ffff-4fff-bfff-ffffffffffff", "x"};
    for (const auto& uuid : uuids)
        EXPECT_EQ(Reply(10001, json::object(), uuid),
                  R"({"uuid": ")" + uuid + R"(", "success": true, "result": "2021.47"})");
    // The id may come as text, and members in any order.
    EXPECT_EQ(Deliver(R"({"data": {}, "uuid": "v", "id": "10002"})"),
              std::vector<std::string>{R"({"uuid": "v", "success": true, "result": true})"});

    module.ExeZip = nullptr;
    EXPECT_EQ(Reply(10002), R"({"uuid": "u", "success": true, "result": false})");
}

TEST_F(BridgeModule, AnyUuidComesBackAsTheSameJsonString) {
    for (const std::string uuid : {"quote\" and back\\slash", R"(u", "success": false, "uuid": "v)"}) {
        const std::string text = Reply(10001, json::object(), uuid);
        const json reply = json::parse(text, nullptr, false);
        ASSERT_TRUE(reply.is_object()) << text;
        EXPECT_EQ(reply["uuid"], uuid) << text;
        EXPECT_EQ(reply["success"], true) << text;
        EXPECT_EQ(reply["result"], "2021.47") << text;
    }
}

TEST_F(BridgeModule, AReplyTheBrowserRefusesIsReportedWithItsUuid) {
    Fake().Script.PostWebMessage = E_FAIL;
    EXPECT_EQ(Deliver(CallText(10001, "0b7e-refused", json::object())).size(), 1u);
    EXPECT_NE(lastStderr.find("\"0b7e-refused\" could not be posted"), std::string::npos) << lastStderr;
}

TEST_F(BridgeModule, TheBrowserFormTakesTheClickMessageOnlyOutsideTheRuntime) {
    int passedOn = 0;
    browserForm->OnWebMessage = [&passedOn](TCustomEdgeBrowser*, TWebMessageReceivedEventArgs&) {
        ++passedOn;
    };
    const std::string click = "\"crv-webbrowser-clicked\"";
    const struct {
        bool isRuntime, withPackage;
        std::string message;
        bool isString, passedOn;
    } cases[] = {
        // In the runtime the click message is ordinary: the bridge gets it and answers nothing.
        {true, true, click, true, true},
        {false, true, click, true, false},
        {true, false, click, true, false},
        {false, false, "\"crv-webbrowser-clicked \"", true, true},
        {false, false, CallText(10001, "u", json::object()), false, true},
    };
    for (const auto& c : cases) {
        browserForm->IsRuntime = c.isRuntime;
        browserForm->ExeZip = c.withPackage ? &zip : nullptr;
        const auto args = ComPtr<ICoreWebView2WebMessageReceivedEventArgs>::Attach(
            new TestMessages::TFakeMessage("file:///app/index.html", c.message, c.isString));
        TWebMessageReceivedEventArgs wrapped(args.Get());
        const int before = passedOn;
        browserForm->EdgeBrowser().OnWebMessageReceived(&browserForm->EdgeBrowser(), wrapped);
        EXPECT_EQ(passedOn - before, c.passedOn ? 1 : 0) << c.message << " " << c.isRuntime << c.withPackage;
    }
}

TEST_F(BridgeModule, SomeCallsAreNeverAnswered) {
    for (const auto& message : {
             CallText(99999, "u", json::object()),
             CallText(12001, "u", {{"items", json::array()}}), // items must be JSON text
             CallText(50001, "u", json::object()),
             CallText(50003, "u", json::object()),
             CallText(50004, "u", json::object()),
             std::string(R"({"id": 30001, "uuid": "u"})"), // a call without arguments loses "data"
             CallText(60006, "u", {{"title", json::array()}}),
         })
        EXPECT_EQ(Deliver(message), std::vector<std::string>{}) << message;
    EXPECT_EQ(closeRequests, 1);
    // And the module goes on answering.
    EXPECT_EQ(Reply(10001), R"({"uuid": "u", "success": true, "result": "2021.47"})");
}

TEST_F(BridgeModule, FileAndFolderTestsResolveAgainstTheApplicationFolder) {
    fs::create_directories(dir / "sub" / "inner");
    WriteFile(dir / "sub" / "here.txt", "x");
    const std::string absolute = (dir / "sub" / "here.txt").string();
    const struct {
        int id;
        const char* key;
        std::string path;
        bool result;
    } cases[] = {
        {30001, "filePath", "sub/here.txt", true}, {30001, "filePath", "sub\\here.txt", true},
        {30001, "filePath", absolute, true},       {30001, "filePath", "sub/missing.txt", false},
        {30001, "filePath", "sub", false}, // a folder is not a file
        {40001, "dirPath", "sub/inner", true},     {40001, "dirPath", "sub/here.txt", false},
        {40001, "dirPath", "nowhere", false},
    };
    for (const auto& c : cases) {
        const json reply = Parsed(c.id, {{c.key, c.path}});
        EXPECT_EQ(reply["success"], true) << c.path;
        EXPECT_EQ(reply["result"], c.result) << c.id << " " << c.path;
    }
}

TEST_F(BridgeModule, TitlesComeBackAsTheSameText) {
    const std::string titles[] = {
        "Quote \" backslash \\ slash / and \xF0\x9F\x98\x80 beyond the basic plane",
        "tab\tline\nend \xC3\xA4\xE2\x82\xAC\\\\\"\"",
        "",
    };
    for (const auto& title : titles) {
        EXPECT_EQ(Reply(60006, {{"title", title}}), R"({"uuid": "u", "success": true, "result": true})");
        EXPECT_EQ(form.Caption(), title);
        const json reply = Parsed(60005);
        EXPECT_EQ(reply["success"], true);
        EXPECT_EQ(reply["result"], title);
    }
    // A number is taken as the text it was sent as.
    Deliver(R"({"id": 60006, "uuid": "u", "data": {"title": 12.50}})");
    EXPECT_EQ(Parsed(60005)["result"], "12.50");
}

TEST_F(BridgeModule, StyleAndStateFollowTheMainWindow) {
    const struct {
        int set;
        json data;
        int get;
        const char* after;
    } steps[] = {
        {60002, {{"style", "ontop"}}, 60001, "ontop"},
        {60002, {{"style", "OnTop"}}, 60001, "normal"},
        {60002, {{"style", "ontop"}}, 60001, "ontop"},
        {60002, json::object(), 60001, "normal"},
        {60004, {{"state", "maximized"}}, 60003, "maximized"},
        {60004, {{"state", "huge"}}, 60003, "maximized"}, // unknown: left as it was
        {60004, {{"state", "minimized"}}, 60003, "minimized"},
        {60004, {{"state", "Maximized"}}, 60003, "minimized"},
        {60004, json::object(), 60003, "normal"},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(Reply(s.set, s.data), R"({"uuid": "u", "success": true, "result": true})");
        EXPECT_EQ(Parsed(s.get)["result"], s.after) << s.data;
    }
    EXPECT_FALSE(form.StayOnTop());
}

TEST_F(BridgeModule, FullScreenIsEnteredAndLeftWithoutReply) {
    EXPECT_EQ(Reply(50002), R"({"uuid": "u", "success": true, "result": false})");
    // A second call changes nothing, so one exit is enough.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Deliver(CallText(50003, "u", json::object())), std::vector<std::string>{});
    EXPECT_EQ(Reply(50002), R"({"uuid": "u", "success": true, "result": true})");
    EXPECT_EQ(form.BorderStyle(), Platform::TBorderStyle::None);
    EXPECT_EQ(form.WindowState(), Platform::TWindowState::Maximized);

    EXPECT_EQ(Deliver(CallText(50004, "u", json::object())), std::vector<std::string>{});
    EXPECT_EQ(Reply(50002), R"({"uuid": "u", "success": true, "result": false})");
    EXPECT_EQ(form.BorderStyle(), Corvane::Shared::BorderStyleFromSetting(3));
    EXPECT_EQ(form.WindowState(), Platform::TWindowState::Normal);
}

TEST_F(BridgeModule, ExtractFileCopiesAnEntryOfTheApplicationFolder) {
    const fs::path target = dir / "out.bin";
    WriteFile(target, "older content");
    // DirName comes first: "/data/blob.bin" names the entry app/data/blob.bin.
    EXPECT_EQ(Reply(30004, {{"sourceFile", "/data/blob.bin"}, {"targetFile", target.string()}}),
              R"({"uuid": "u", "success": true, "result": true})");
    EXPECT_EQ(ReadFile(target), kEntryBytes);

    WriteFile(target, "kept");
    for (const char* missing : {"/data/none.bin", "data/blob.bin", "/index.htm"}) {
        EXPECT_EQ(Reply(30004, {{"sourceFile", missing}, {"targetFile", target.string()}}),
                  R"({"uuid": "u", "success": false, "result": "File not found"})")
            << missing;
        EXPECT_EQ(ReadFile(target), "kept") << missing;
    }

    // The target's folder is not made.
    const fs::path unreachable = dir / "no" / "such" / "out.bin";
    const json reply = Parsed(30004, {{"sourceFile", "/index.html"}, {"targetFile", unreachable.string()}});
    EXPECT_EQ(reply["success"], false);
    EXPECT_NE(reply["result"].get<std::string>().find(unreachable.string()), std::string::npos) << reply;
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST_F(BridgeModule, PowerActionsReportTheRefusalAsText) {
    const char* bus = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (!bus || std::string(bus) != "unix:path=/nonexistent/crv-test-bus")
        GTEST_SKIP() << "the system bus cannot be pointed elsewhere";
    for (const int id : {11001, 11002, 11003}) {
        const json reply = Parsed(id);
        EXPECT_EQ(reply["success"], false) << id;
        ASSERT_TRUE(reply["result"].is_string()) << id;
        const std::string text = reply["result"];
        EXPECT_NE(text.find("connect"), std::string::npos) << id << ": " << text;
        EXPECT_EQ(std::string(" .\r\n").find(text.back()), std::string::npos) << id << ": " << text;
    }
}
