// Component rename through the server: from a field, a use or a text form's object line, its edits
// applied as an editor applies them equal `quorlin rename` on a second copy, byte for byte; a binary
// form is written by the server only once the client has applied the unit's edit, and never over
// what another program wrote meanwhile.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "LspClient.h"
#include "platform/Cp932.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The byte offset in UTF-8 text of a position whose character counts UTF-16 code units.
size_t OffsetOf(const std::string& text, const json& position)
{
    size_t at = 0;
    for (int line = position["line"].get<int>(); line > 0; --line)
        at = text.find('\n', at) + 1;
    for (int units = position["character"].get<int>(); units > 0 && at < text.size();) {
        auto lead = static_cast<unsigned char>(text[at]);
        size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units -= length == 4 ? 2 : 1;
        at += length;
    }
    return at;
}

// The text with a client's edits applied, as an editor applies them: all against the text before.
std::string Applied(std::string text, const json& edits)
{
    std::vector<std::tuple<size_t, size_t, std::string>> spans;
    for (const json& edit : edits)
        spans.emplace_back(OffsetOf(text, edit["range"]["start"]), OffsetOf(text, edit["range"]["end"]),
                           edit["newText"].get<std::string>());
    std::sort(spans.begin(), spans.end(), [](const auto& a, const auto& b) { return std::get<0>(a) > std::get<0>(b); });
    for (const auto& [start, end, newText] : spans)
        text.replace(start, end - start, newText);
    return text;
}

class RenameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::string& copy : {workspace, reference})
            fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", copy, fs::copy_options::recursive);
    }

    std::string File(const std::string& name) const { return workspace + "/" + name; }
    // The files of the sample are code page 932, those named in utf8 UTF-8; the client holds them as UTF-8.
    std::string Decoded(const std::string& path) const
    {
        std::string bytes = TempFolder::Read(path);
        return utf8.contains(fs::path(path).filename().string()) ? bytes : platform::Cp932ToUtf8(bytes);
    }
    std::string Encoded(const std::string& path, const std::string& text) const
    {
        return utf8.contains(fs::path(path).filename().string()) ? text : platform::Utf8ToCp932(text);
    }
    std::string ClientText(const std::string& name) const { return Decoded(File(name)); }
    void Open(LspClient& client, const std::string& name)
    {
        client.Open(File(name), ClientText(name));
        versions[File(name)] = 1;
    }
    json At(const std::string& name, int line, int character) const
    {
        return {{"textDocument", {{"uri", LspClient::Uri(File(name))}}}, {"position", {{"line", line}, {"character", character}}}};
    }
    json Prepare(LspClient& client, const std::string& name, int line, int character)
    {
        json answer = client.Request("textDocument/prepareRename", At(name, line, character));
        EXPECT_TRUE(answer.contains("result")) << answer.dump();
        return answer["result"];
    }
    json Rename(LspClient& client, const std::string& name, int line, int character, const std::string& newName)
    {
        json params = At(name, line, character);
        params["newName"] = newName;
        return client.Request("textDocument/rename", params);
    }
    // Applies a WorkspaceEdit's changes as an editor does and saves the files; an open one's new
    // text goes to the server.
    void ApplyAndSave(LspClient& client, const json& edit)
    {
        for (const auto& [uri, edits] : edit.at("changes").items()) {
            std::string path = uri.substr(std::string("file://").size());
            std::string text = Applied(Decoded(path), edits);
            folder.Write(fs::relative(path, folder.Path()).string(), Encoded(path, text));
            if (versions.contains(path)) {
                client.Notify("textDocument/didChange",
                              {{"textDocument", {{"uri", uri}, {"version", ++versions[path]}}},
                               {"contentChanges", {{{"text", text}}}}});
            }
        }
    }
    QuorlinRun RenameReference(const std::string& unit, const std::string& oldName, const std::string& newName)
    {
        return RunQuorlin({"rename", unit, oldName, newName}, reference, folder / "cli/home");
    }
    void ExpectLikeReference(const std::string& unit, const std::string& form)
    {
        for (const std::string& name : {unit, form})
            EXPECT_EQ(TempFolder::Read(File(name)), TempFolder::Read(reference + "/" + name)) << name;
    }
    // The line of a file of the workspace that holds text, 0-based.
    int LineOf(const std::string& name, const std::string& text) const
    {
        std::string content = ClientText(name);
        return static_cast<int>(std::count(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(content.find(text)), '\n'));
    }

    TempFolder folder;
    std::string workspace = folder / "Sample";
    std::string reference = folder / "Reference";
    std::map<std::string, int> versions;
    std::set<std::string> utf8;
};

TEST_F(RenameTest, ATextFormsRenameFromAFieldAUseOrAnObjectLineEqualsTheRenameCommand)
{
    LspClient client(folder / "home");
    json initialized = client.Request("initialize", {{"processId", nullptr}, {"rootUri", LspClient::Uri(workspace)},
                                                     {"capabilities", json::object()}});
    EXPECT_EQ(initialized["result"]["capabilities"]["renameProvider"], json({{"prepareProvider", true}}));
    client.Notify("initialized", json::object());
    Open(client, "MainForm.pas");

    json button = {{"range", {{"start", {{"line", 14}, {"character", 4}}}, {"end", {{"line", 14}, {"character", 11}}}}},
                   {"placeholder", "Button1"}};
    EXPECT_EQ(Prepare(client, "MainForm.pas", 14, 6), button);
    EXPECT_EQ(Prepare(client, "MainForm.pas", 14, 11), button);
    // Not components of the form: a private field, a keyword, a blank, the form itself, a type.
    for (auto [line, character] : {std::pair{19, 5}, {16, 5}, {1, 0}, {26, 3}, {14, 15}})
        EXPECT_TRUE(Prepare(client, "MainForm.pas", line, character).is_null()) << line << ":" << character;

    // From its field: the server writes nothing itself, the edits applied equal the command's files.
    std::string unitBefore = TempFolder::Read(File("MainForm.pas"));
    std::string formBefore = TempFolder::Read(File("MainForm.dfm"));
    json renamed = Rename(client, "MainForm.pas", 14, 6, "OkButton");
    ASSERT_TRUE(renamed.contains("result")) << renamed.dump();
    EXPECT_EQ(TempFolder::Read(File("MainForm.pas")), unitBefore);
    EXPECT_EQ(TempFolder::Read(File("MainForm.dfm")), formBefore);
    const json& changes = renamed["result"]["changes"];
    EXPECT_EQ(changes[LspClient::Uri(File("MainForm.pas"))],
              json::array({{{"range", {{"start", {{"line", 14}, {"character", 4}}}, {"end", {{"line", 14}, {"character", 11}}}}},
                            {"newText", "OkButton"}}}));
    ASSERT_TRUE(changes.contains(LspClient::Uri(File("MainForm.dfm")))) << changes.dump();
    ApplyAndSave(client, renamed["result"]);
    QuorlinRun command = RenameReference("MainForm.pas", "Button1", "OkButton");
    ASSERT_EQ(command.Status, 0) << command.Err;
    ExpectLikeReference("MainForm.pas", "MainForm.dfm");

    // From a use in a routine, behind Japanese text: columns in UTF-16 code units.
    int use = LineOf("MainForm.pas", "StrToIntDef(Edit1");
    std::string edited = Applied(ClientText("MainForm.pas"),
                                 json::array({{{"range", {{"start", {{"line", use}, {"character", 2}}}, {"end", {{"line", use}, {"character", 2}}}}},
                                               {"newText", "{値} "}}}));
    client.Notify("textDocument/didChange", {{"textDocument", {{"uri", LspClient::Uri(File("MainForm.pas"))}, {"version", ++versions[File("MainForm.pas")]}}},
                                             {"contentChanges", {{{"text", edited}}}}});
    for (const std::string& copy : {workspace, reference})
        folder.Write(fs::relative(copy + "/MainForm.pas", folder.Path()).string(), platform::Utf8ToCp932(edited));
    EXPECT_EQ(Prepare(client, "MainForm.pas", use, 29),
              json({{"range", {{"start", {{"line", use}, {"character", 27}}}, {"end", {{"line", use}, {"character", 32}}}}},
                    {"placeholder", "Edit1"}}));
    renamed = Rename(client, "MainForm.pas", use, 29, "NameEdit");
    ASSERT_TRUE(renamed.contains("result")) << renamed.dump();
    ApplyAndSave(client, renamed["result"]);
    command = RenameReference("MainForm.pas", "Edit1", "NameEdit");
    ASSERT_EQ(command.Status, 0) << command.Err;
    ExpectLikeReference("MainForm.pas", "MainForm.dfm");

    // From the object line of the form file, open in the editor.
    Open(client, "MainForm.dfm");
    int object = LineOf("MainForm.dfm", "object Memo1");
    EXPECT_EQ(Prepare(client, "MainForm.dfm", object, 12)["range"],
              json({{"start", {{"line", object}, {"character", 9}}}, {"end", {{"line", object}, {"character", 14}}}}));
    EXPECT_TRUE(Prepare(client, "MainForm.dfm", object, 17).is_null());
    EXPECT_TRUE(Prepare(client, "MainForm.dfm", object + 1, 4).is_null());
    renamed = Rename(client, "MainForm.dfm", object, 12, "LogMemo");
    ASSERT_TRUE(renamed.contains("result")) << renamed.dump();
    ApplyAndSave(client, renamed["result"]);
    command = RenameReference("MainForm.pas", "Memo1", "LogMemo");
    ASSERT_EQ(command.Status, 0) << command.Err;
    ExpectLikeReference("MainForm.pas", "MainForm.dfm");

    // A name the designer refuses: the rename window's message, and nothing changes.
    unitBefore = TempFolder::Read(File("MainForm.pas"));
    formBefore = TempFolder::Read(File("MainForm.dfm"));
    json refused = Rename(client, "MainForm.pas", 12, 6, "LogMemo");
    QuorlinRun command2 = RenameReference("MainForm.pas", "Label1", "LogMemo");
    EXPECT_EQ(command2.Status, 1);
    EXPECT_EQ(refused["error"]["code"], -32803);
    EXPECT_EQ(refused["error"]["message"], "Failed to Rename Component");
    EXPECT_EQ("quorlin: " + refused["error"]["message"].get<std::string>() + "\n", command2.Err);
    EXPECT_EQ(TempFolder::Read(File("MainForm.pas")), unitBefore);
    EXPECT_EQ(TempFolder::Read(File("MainForm.dfm")), formBefore);
    EXPECT_EQ(Prepare(client, "MainForm.pas", 12, 6)["placeholder"], "Label1");
    EXPECT_EQ(Rename(client, "MainForm.pas", 0, 2, "Other")["error"]["code"], -32803);
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(RenameTest, ARealUnitInUtf8WithLfLineBreaksIsRenamedAsTheRenameCommandRenamesIt)
{
    fs::path data = fs::path(QUORLIN_SOURCE_DIR) / "tests/data";
    for (const std::string& copy : {workspace, reference}) {
        fs::copy_file(data / "lsp/lazarus/lazunicodeunit.pas", copy + "/lazunicodeunit.pas");
        fs::copy_file(data / "forms/real-dfm/input.dfm", copy + "/lazunicodeunit.dfm");
    }
    utf8 = {"lazunicodeunit.pas", "lazunicodeunit.dfm"};
    LspClient client(folder / "home");
    client.Initialize(workspace);
    Open(client, "lazunicodeunit.pas");
    int use = LineOf("lazunicodeunit.pas", "Memo1.Lines.Clear");
    EXPECT_EQ(Prepare(client, "lazunicodeunit.pas", use, 3)["placeholder"], "Memo1");

    for (auto [oldName, newName] : {std::pair{"Memo1", "OutputMemo"}, {"Button1", "RunButton"}}) {
        int line = LineOf("lazunicodeunit.pas", std::string(oldName) + ": T");
        json renamed = Rename(client, "lazunicodeunit.pas", line, 5, newName);
        ASSERT_TRUE(renamed.contains("result")) << renamed.dump();
        ApplyAndSave(client, renamed["result"]);
        QuorlinRun command = RenameReference("lazunicodeunit.pas", oldName, newName);
        ASSERT_EQ(command.Status, 0) << command.Err;
        ExpectLikeReference("lazunicodeunit.pas", "lazunicodeunit.dfm");
    }
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(RenameTest, ABinaryFormIsWrittenOnlyOnceTheClientHasAppliedTheUnitsEdit)
{
    LspClient client(folder / "home");
    client.Initialize(workspace);
    Open(client, "ViewOptions.pas");
    std::string unitBefore = TempFolder::Read(File("ViewOptions.pas"));
    std::string formBefore = TempFolder::Read(File("ViewOptions.dfm"));
    int field = LineOf("ViewOptions.pas", "CancelButton: TButton");

    // The unit's edit comes as the server's request; the rename itself has nothing to apply.
    json params = At("ViewOptions.pas", field, 6);
    params["newName"] = "CloseButton";
    client.Send({{"jsonrpc", "2.0"}, {"id", "rename"}, {"method", "textDocument/rename"}, {"params", params}});
    json apply = client.WaitForRequest("workspace/applyEdit");
    EXPECT_EQ(client.ResponseTo("rename")["result"], json({{"changes", json::object()}}));
    EXPECT_EQ(TempFolder::Read(File("ViewOptions.dfm")), formBefore);
    // Another rename of that form waits until the client has answered.
    EXPECT_EQ(Rename(client, "ViewOptions.pas", field - 1, 6, "AcceptButton")["error"]["code"], -32803);

    ApplyAndSave(client, apply["params"]["edit"]);
    client.Answer(apply["id"], {{"applied", true}});
    // Messages are taken in order: once a later request is answered, the answer has been acted on.
    EXPECT_EQ(Prepare(client, "ViewOptions.pas", field, 6)["placeholder"], "CloseButton");
    QuorlinRun command = RenameReference("ViewOptions.pas", "CancelButton", "CloseButton");
    ASSERT_EQ(command.Status, 0) << command.Err;
    ExpectLikeReference("ViewOptions.pas", "ViewOptions.dfm");
    EXPECT_NE(TempFolder::Read(File("ViewOptions.dfm")), formBefore);
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(RenameTest, ABinaryFormStaysAsItWasWhenTheClientRefusesFailsOrDies)
{
    std::string unitBefore = TempFolder::Read(File("ViewOptions.pas"));
    std::string formBefore = TempFolder::Read(File("ViewOptions.dfm"));
    int field = LineOf("ViewOptions.pas", "CancelButton: TButton");
    LspClient client(folder / "home");
    client.Initialize(workspace);
    Open(client, "ViewOptions.pas");
    auto renameAndWait = [&](const std::string& newName) {
        json params = At("ViewOptions.pas", field, 6);
        params["newName"] = newName;
        client.Send({{"jsonrpc", "2.0"}, {"id", newName}, {"method", "textDocument/rename"}, {"params", params}});
        json apply = client.WaitForRequest("workspace/applyEdit");
        EXPECT_TRUE(client.ResponseTo(newName).contains("result"));
        return apply;
    };

    // Refused, then failed: the unit's edit was not applied, so the form is not written.
    client.Answer(renameAndWait("CloseButton")["id"], {{"applied", false}, {"failureReason", "the user said no"}});
    EXPECT_EQ(Prepare(client, "ViewOptions.pas", field, 6)["placeholder"], "CancelButton");
    EXPECT_EQ(TempFolder::Read(File("ViewOptions.dfm")), formBefore);
    client.Send({{"jsonrpc", "2.0"}, {"id", renameAndWait("QuitButton")["id"]},
                 {"error", {{"code", -32603}, {"message", "the buffer is read-only"}}}});
    EXPECT_EQ(Prepare(client, "ViewOptions.pas", field, 6)["placeholder"], "CancelButton");
    EXPECT_EQ(TempFolder::Read(File("ViewOptions.dfm")), formBefore);

    // Gone between the two: the server ends by itself, and the form stays as it was.
    renameAndWait("CloseButton");
    client.CloseInput();
    EXPECT_EQ(client.Wait(10000), 1);
    EXPECT_EQ(TempFolder::Read(File("ViewOptions.dfm")), formBefore);
    EXPECT_EQ(TempFolder::Read(File("ViewOptions.pas")), unitBefore);
    for (const fs::directory_entry& entry : fs::directory_iterator(workspace))
        EXPECT_EQ(entry.path().filename().string().find(".quorlin-"), std::string::npos) << entry.path();
}

TEST_F(RenameTest, ABinaryFormWrittenByAnotherMeanwhileIsKeptAndTheUnitsEditTakenBack)
{
    LspClient client(folder / "home");
    client.Initialize(workspace);
    Open(client, "ViewOptions.pas");
    std::string unitText = ClientText("ViewOptions.pas");
    int field = LineOf("ViewOptions.pas", "CancelButton: TButton");
    json params = At("ViewOptions.pas", field, 6);
    params["newName"] = "CloseButton";
    client.Send({{"jsonrpc", "2.0"}, {"id", "rename"}, {"method", "textDocument/rename"}, {"params", params}});
    json apply = client.WaitForRequest("workspace/applyEdit");
    // Another program writes the form before the client answers.
    std::string other = TempFolder::Read(File("ViewOptions.dfm")) + std::string(4, '\0');
    folder.Write("Sample/ViewOptions.dfm", other);

    ApplyAndSave(client, apply["params"]["edit"]);
    client.Answer(apply["id"], {{"applied", true}});
    json undo = client.WaitForRequest("workspace/applyEdit");
    json shown = client.WaitFor("window/showMessage");
    EXPECT_EQ(shown["type"], 1);
    EXPECT_NE(shown["message"].get<std::string>().find("ViewOptions.dfm"), std::string::npos) << shown.dump();
    ApplyAndSave(client, undo["params"]["edit"]);
    client.Answer(undo["id"], {{"applied", true}});
    EXPECT_EQ(ClientText("ViewOptions.pas"), unitText);
    EXPECT_EQ(TempFolder::Read(File("ViewOptions.dfm")), other);
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
