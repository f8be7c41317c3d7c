// Code actions and the generator commands through the server: each edit, applied to the client's
// text, gives what the matching quorlin command makes of a second copy of the same files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "LspClient.h"
#include "platform/Cp932.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string WithBreak(std::string text, const std::string& lineBreak)
{
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + lineBreak.size()))
        text.replace(at, 1, lineBreak);
    return text;
}

class CodeActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::string& copy : {workspace, second}) {
            fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", copy, fs::copy_options::recursive);
            fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "tests/data/cli-inputs/Swap/Swap.pas", copy + "/Swap.pas");
        }
        fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "tests/data/cli/class-def-brace-comments/input/table.prp",
                 workspace + "/Box.prp");
        fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "tests/data/cli/methods-table/input/table.met",
                 workspace + "/Items.met");
        client.Initialize(workspace);
    }

    // The quorlin command on the second copy.
    QuorlinRun Run(const std::vector<std::string>& args) { return RunQuorlin(args, second, folder / "cli/home"); }
    // A unit of the workspace as an editor has it: its code page 932 text as UTF-8.
    std::string Opened(const std::string& file)
    {
        std::string text = platform::Cp932ToUtf8(TempFolder::Read(workspace + "/" + file));
        client.Open(workspace + "/" + file, text);
        return text;
    }
    // The file of the second copy, as the editor would show it.
    std::string Second(const std::string& file) { return platform::Cp932ToUtf8(TempFolder::Read(second + "/" + file)); }
    json Actions(const std::string& file, json start, json end, json context = {{"diagnostics", json::array()}})
    {
        json answer = client.Request("textDocument/codeAction",
                                     {{"textDocument", {{"uri", LspClient::Uri(workspace + "/" + file)}}},
                                      {"range", {{"start", std::move(start)}, {"end", std::move(end)}}},
                                      {"context", std::move(context)}});
        EXPECT_TRUE(answer.contains("result")) << answer.dump();
        return answer["result"];
    }
    json Command(const std::string& command, json argument)
    {
        return client.Request("workspace/executeCommand",
                              {{"command", command}, {"arguments", json::array({std::move(argument)})}});
    }
    // The text with an edit of one file applied; its text edits are insertions at a line's start.
    std::string Applied(std::string text, const json& edit, const std::string& file)
    {
        const json& edits = edit["changes"][LspClient::Uri(workspace + "/" + file)];
        EXPECT_EQ(edit["changes"].size(), 1u);
        EXPECT_EQ(edits.size(), 1u);
        const json& change = edits[0];
        EXPECT_EQ(change["range"]["start"], change["range"]["end"]);
        EXPECT_EQ(change["range"]["start"]["character"], 0);
        size_t at = 0;
        for (int line = change["range"]["start"]["line"]; line > 0; --line)
            at = text.find('\n', at) + 1;
        return text.insert(at, change["newText"].get<std::string>());
    }
    static json At(int line, int character) { return {{"line", line}, {"character", character}}; }

    TempFolder folder;
    std::string workspace = folder / "Sample";
    std::string second = folder / "Second";
    LspClient client{folder / "home"};
};

TEST_F(CodeActionTest, SwapAssignmentsInsertsWhatTheSwapCommandInsertsBelowTheSelection)
{
    // Lines 9 to 15 of a Shift-JIS unit: assignments, halves of ones and a Japanese name and comment.
    std::string text = Opened("Swap.pas");
    QuorlinRun swapped = Run({"swap", "Swap.pas", "--block", "9-15", "--cursor", "16"});
    ASSERT_EQ(swapped.Status, 0) << swapped.Err;
    json actions = Actions("Swap.pas", At(8, 0), At(15, 0));
    ASSERT_EQ(actions.size(), 1u) << actions.dump();
    EXPECT_EQ(actions[0]["title"], "Swap assignments");
    EXPECT_EQ(actions[0]["kind"], "refactor.rewrite");
    EXPECT_EQ(Applied(text, actions[0]["edit"], "Swap.pas"), Second("Swap.pas"));
    EXPECT_NE(Second("Swap.pas").find("  Data.Caption := 名前;\r\n"), std::string::npos);

    // A selection ending inside its last line takes that line; asked again, the same edit: the
    // server's buffer was put back, and the file was not written.
    EXPECT_EQ(Actions("Swap.pas", At(8, 2), At(14, 5)), actions);
    json uses = client.Request("textDocument/references", {{"textDocument", {{"uri", LspClient::Uri(workspace + "/Swap.pas")}}},
                                                           {"position", At(8, 3)},
                                                           {"context", {{"includeDeclaration", true}}}});
    EXPECT_EQ(std::count_if(uses["result"].begin(), uses["result"].end(),
                            [&](const json& use) { return use["uri"] == LspClient::Uri(workspace + "/Swap.pas"); }),
              1)
        << uses.dump();
    EXPECT_EQ(TempFolder::Read(workspace + "/Swap.pas"), TempFolder::Read(fs::path(QUORLIN_SOURCE_DIR) / "tests/data/cli-inputs/Swap/Swap.pas"));

    // No selection, one without an assignment, or one whose kind was not asked for: no swap.
    EXPECT_EQ(Actions("Swap.pas", At(8, 3), At(8, 3)), json::array());
    EXPECT_EQ(Actions("Swap.pas", At(14, 0), At(15, 0)), json::array());
    EXPECT_EQ(Actions("Swap.pas", At(8, 0), At(15, 0), {{"diagnostics", json::array()}, {"only", {"quickfix"}}}),
              json::array());
    EXPECT_EQ(Actions("Swap.pas", At(8, 0), At(15, 0), {{"diagnostics", json::array()}, {"only", {"refactor"}}}), actions);

    // The client's unsaved text counts, and the copy takes the line breaks the client's text has.
    client.Open(workspace + "/Swap.pas", "unit Lf;\ninterface\nimplementation\nbegin\n  a := b;  // 名前\n  c := d\nend.\n");
    json lf = Actions("Swap.pas", At(4, 0), At(6, 0));
    ASSERT_EQ(lf.size(), 1u);
    EXPECT_EQ(lf[0]["edit"]["changes"][LspClient::Uri(workspace + "/Swap.pas")][0]["newText"], "  b := a;\n  d := c;\n");
    EXPECT_EQ(lf[0]["edit"]["changes"][LspClient::Uri(workspace + "/Swap.pas")][0]["range"]["start"], At(6, 0));
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(CodeActionTest, DataAccessRoutinesOfAComponentAreWhatTheDbAccessCommandPrints)
{
    std::string text = Opened("MainForm.pas");
    QuorlinRun dataSet = Run({"db-access", "MainForm.pas", "--select", "Edit1"});
    QuorlinRun grid = Run({"db-access", "MainForm.pas", "--select", "Edit1", "--grid"});
    ASSERT_EQ(dataSet.Status, 0) << dataSet.Err;
    ASSERT_EQ(grid.Status, 0) << grid.Err;

    // On a use of Edit1 (line 50), and on its declaration in the form class (line 14).
    for (json cursor : {At(49, 25), At(13, 6)}) {
        json actions = Actions("MainForm.pas", cursor, cursor);
        ASSERT_EQ(actions.size(), 2u) << actions.dump();
        EXPECT_EQ(actions[0]["title"], "Insert data-access routines for Edit1");
        EXPECT_EQ(actions[1]["title"], "Insert data-access routines for Edit1 as a control grid");
        const json& edit = actions[0]["edit"]["changes"][LspClient::Uri(workspace + "/MainForm.pas")][0];
        EXPECT_EQ(edit["range"]["start"], At(cursor["line"], 0));
        EXPECT_EQ(edit["newText"], WithBreak(dataSet.Out, "\r\n"));
        EXPECT_EQ(actions[1]["edit"]["changes"][LspClient::Uri(workspace + "/MainForm.pas")][0]["newText"],
                  WithBreak(grid.Out, "\r\n"));
    }
    EXPECT_NE(dataSet.Out.find("// テーブルに指定されたクラスを書き込む\n"), std::string::npos);
    EXPECT_NE(grid.Out.find("    FieldAsString[ 'Text' ] := Text;\n"), std::string::npos);

    // Another component gives its own routines; a name that is no component, none.
    QuorlinRun button = Run({"db-access", "MainForm.pas", "--select", "Button1"});
    json actions = Actions("MainForm.pas", At(14, 6), At(14, 6));
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0]["edit"]["changes"][LspClient::Uri(workspace + "/MainForm.pas")][0]["newText"],
              WithBreak(button.Out, "\r\n"));
    EXPECT_EQ(Actions("MainForm.pas", At(49, 4), At(49, 4)), json::array());
    EXPECT_EQ(Actions("MainForm.pas", At(18, 6), At(18, 6)), json::array());
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(CodeActionTest, GeneratorCommandsSendAndAnswerTheEditOfTheirCommandsText)
{
    std::string text = Opened("MainForm.pas");
    QuorlinRun classDef = Run({"class-def", workspace + "/Box.prp", "--class", "TBox", "--base", "TComponent", "--comments", "2"});
    ASSERT_EQ(classDef.Status, 0) << classDef.Err;
    json answer = Command("quorlin.classDefinition", {{"uri", LspClient::Uri(workspace + "/MainForm.pas")},
                                                      {"position", At(25, 4)},
                                                      {"table", "Box.prp"},
                                                      {"className", "TBox"},
                                                      {"baseName", "TComponent"},
                                                      {"comments", 2}});
    ASSERT_TRUE(answer.contains("result")) << answer.dump();
    const json& inserted = answer["result"]["changes"][LspClient::Uri(workspace + "/MainForm.pas")][0];
    EXPECT_EQ(inserted["range"]["start"], At(25, 0));
    EXPECT_EQ(inserted["newText"], WithBreak(classDef.Out, "\r\n"));
    EXPECT_NE(classDef.Out.find("    FWidth:Longint;    { in pixels }\n"), std::string::npos);
    // The same edit went to the client to apply, before the answer.
    std::vector<json> requests = client.Notifications("workspace/applyEdit");
    ASSERT_EQ(requests.size(), 1u);
    json firstId = requests[0]["id"];
    EXPECT_EQ(requests[0]["params"]["edit"], answer["result"]);

    QuorlinRun methods = Run({"methods", workspace + "/Items.met", "--class", "TItems"});
    ASSERT_EQ(methods.Status, 0) << methods.Err;
    answer = Command("quorlin.methodBodies", {{"uri", LspClient::Uri(workspace + "/MainForm.pas")},
                                              {"position", At(58, 0)},
                                              {"table", LspClient::Uri(workspace + "/Items.met")},
                                              {"className", "TItems"}});
    ASSERT_TRUE(answer.contains("result")) << answer.dump();
    EXPECT_EQ(answer["result"]["changes"][LspClient::Uri(workspace + "/MainForm.pas")][0]["newText"],
              WithBreak(methods.Out, "\r\n"));
    EXPECT_NE(methods.Out.find("function TItems.GetItem(idx :Longint) :String;virtual;\n"), std::string::npos);
    requests = client.Notifications("workspace/applyEdit");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0]["id"], firstId);

    // A Shift-JIS snippet, as lines and as a selection without a final line break.
    std::string snippet = platform::Utf8ToCp932("// 合計を表示する\r\nShowTotal(FTotal);");
    folder.Write("Sample/Snippet.txt", snippet);
    folder.Write("Second/Snippet.txt", snippet);
    for (bool selected : {false, true}) {
        fs::copy_file(workspace + "/MainForm.pas", second + "/MainForm.pas", fs::copy_options::overwrite_existing);
        std::vector<std::string> args = {"insert", "MainForm.pas", "--cursor", "52", "--text", "Snippet.txt"};
        if (selected)
            args.push_back("--selected");
        QuorlinRun run = Run(args);
        ASSERT_EQ(run.Status, 0) << run.Err;
        answer = Command("quorlin.insertSnippet", {{"uri", LspClient::Uri(workspace + "/MainForm.pas")},
                                                   {"position", At(51, 7)},
                                                   {"file", workspace + "/Snippet.txt"},
                                                   {"selected", selected}});
        ASSERT_TRUE(answer.contains("result")) << answer.dump();
        EXPECT_EQ(Applied(text, answer["result"], "MainForm.pas"), Second("MainForm.pas")) << selected;
    }
    EXPECT_EQ(client.Notifications("workspace/applyEdit").size(), 2u);

    // A UTF-8 snippet goes into the code page 932 unit as the same characters, not as its bytes.
    folder.Write("Sample/Utf8.txt", "// 合計を表示する\n");
    answer = Command("quorlin.insertSnippet",
                     {{"uri", LspClient::Uri(workspace + "/MainForm.pas")}, {"position", At(51, 0)}, {"file", "Utf8.txt"}});
    EXPECT_EQ(answer["result"]["changes"][LspClient::Uri(workspace + "/MainForm.pas")][0]["newText"], "// 合計を表示する\r\n");
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(CodeActionTest, BadArgumentsGetClearErrorsAndNothingIsSent)
{
    Opened("MainForm.pas");
    std::string uri = LspClient::Uri(workspace + "/MainForm.pas");
    json good = {{"uri", uri}, {"position", At(25, 0)}, {"table", "Items.met"}, {"className", "TItems"}};
    auto code = [&](const std::string& command, const json& argument) {
        json answer = Command(command, argument);
        EXPECT_TRUE(answer.contains("error")) << command << " " << argument.dump();
        return answer["error"];
    };
    auto without = [&](const std::string& field) {
        json argument = good;
        argument.erase(field);
        return argument;
    };
    auto with = [&](const std::string& field, json value) {
        json argument = good;
        argument[field] = std::move(value);
        return argument;
    };
    for (const json& argument : {without("uri"), without("position"), without("table"), without("className"),
                                 with("className", ""), with("className", 7), with("uri", "https://example.org/A.pas"),
                                 with("position", At(400, 0)), with("position", At(-1, 0))})
        EXPECT_EQ(code("quorlin.methodBodies", argument)["code"], -32602) << argument.dump();
    EXPECT_EQ(client.Request("workspace/executeCommand",
                             {{"command", "quorlin.methodBodies"}, {"arguments", {uri, 25, "Items.met", "TItems"}}})["error"]["code"],
              -32602);
    EXPECT_EQ(code("quorlin.classDefinition", with("table", "Box.prp"))["code"], -32602);  // no base name
    json classArgument = with("table", "Box.prp");
    classArgument["baseName"] = "TComponent";
    classArgument["comments"] = 3;
    EXPECT_EQ(code("quorlin.classDefinition", classArgument)["code"], -32602);
    EXPECT_EQ(code("quorlin.insertSnippet", {{"uri", uri}, {"position", At(25, 0)}, {"file", "Items.met"}, {"selected", "yes"}})["code"],
              -32602);

    // A file that cannot be read is named as the command names it; the first line takes nothing.
    QuorlinRun missing = Run({"methods", workspace + "/None.met", "--class", "TItems"});
    json error = code("quorlin.methodBodies", with("table", "None.met"));
    EXPECT_EQ(error["code"], -32803);
    EXPECT_EQ("quorlin: " + error["message"].get<std::string>() + "\n", missing.Err);
    EXPECT_EQ(code("quorlin.insertSnippet", {{"uri", uri}, {"position", At(25, 0)}, {"file", folder.Path()}})["code"], -32803);
    error = code("quorlin.methodBodies", with("position", At(0, 3)));
    EXPECT_EQ(error["code"], -32803);
    EXPECT_EQ(error["message"], "nothing can go in front of the first line");
    EXPECT_TRUE(client.Notifications("workspace/applyEdit").empty());

    // The server goes on as before.
    json answer = Command("quorlin.methodBodies", good);
    EXPECT_TRUE(answer.contains("result")) << answer.dump();
    EXPECT_EQ(client.Notifications("workspace/applyEdit").size(), 1u);
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
