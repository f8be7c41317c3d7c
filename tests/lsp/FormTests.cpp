// Form files through the server: their text as the form command prints it, a diagnostic for a form
// that cannot be read while its unit is open, hover on components and routines, and the version
// strings of a file.

#include <gtest/gtest.h>

#include <filesystem>

#include "LspClient.h"
#include "platform/Cp932.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class FormFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", workspace, fs::copy_options::recursive);
    }

    QuorlinRun Run(const std::vector<std::string>& args) { return RunQuorlin(args, workspace, folder / "cli/home"); }
    json FormText(LspClient& client, const std::string& file)
    {
        return client.Request("quorlin/formText", {{"uri", LspClient::Uri(workspace + "/" + file)}});
    }
    // The diagnostics published for a file, the latest first.
    json DiagnosticsOf(LspClient& client, const std::string& file)
    {
        std::string uri = LspClient::Uri(workspace + "/" + file);
        for (;;) {
            json params = client.WaitFor("textDocument/publishDiagnostics");
            if (params["uri"] == uri)
                return params["diagnostics"];
        }
    }
    // Opens a unit of the sample, stored in code page 932, as an editor sends it.
    void OpenUnit(LspClient& client, const std::string& file)
    {
        client.Open(workspace + "/" + file, platform::Cp932ToUtf8(TempFolder::Read(workspace + "/" + file)));
    }
    static std::string Damaged(const std::string& name)
    {
        return TempFolder::Read(fs::path(QUORLIN_SOURCE_DIR) / "tests/data/forms" / name / "input.dfm");
    }

    TempFolder folder;
    std::string workspace = folder / "Sample";
};

TEST_F(FormFileTest, AFormsTextIsWhatTheFormCommandPrintsAndADamagedOneGetsItsMessage)
{
    LspClient client(folder / "home");
    client.Initialize(workspace);
    // A text form and a binary one in a 16-bit resource, both with Shift-JIS captions.
    for (const char* file : {"MainForm.dfm", "ViewOptions.dfm"}) {
        QuorlinRun printed = Run({"form", "--text", file});
        ASSERT_EQ(printed.Status, 0) << printed.Err;
        json answer = FormText(client, file);
        ASSERT_TRUE(answer.contains("result")) << answer.dump();
        EXPECT_EQ(answer["result"], printed.Out) << file;
    }
    EXPECT_NE(FormText(client, "ViewOptions.dfm")["result"].get<std::string>().find("Caption = #"), std::string::npos);

    folder.Write("Sample/Broken.dfm", Damaged("damaged-text-number"));
    QuorlinRun refused = Run({"form", "--text", workspace + "/Broken.dfm"});
    EXPECT_EQ(refused.Status, 1);
    json failed = FormText(client, "Broken.dfm");
    EXPECT_EQ(failed["error"]["code"], -32803);
    EXPECT_EQ("quorlin: " + failed["error"]["message"].get<std::string>() + "\n", refused.Err);
    EXPECT_EQ(failed["error"]["message"], workspace + "/Broken.dfm: damaged form at offset 30: number out of range");

    // Only form files of the workspace are read.
    EXPECT_EQ(FormText(client, "MainForm.pas")["error"]["code"], -32602);
    json outside = client.Request("quorlin/formText", {{"uri", LspClient::Uri(folder.Write("Other.dfm", "object A: TA\nend\n"))}});
    EXPECT_EQ(outside["error"]["code"], -32602);
    EXPECT_EQ(FormText(client, "Missing.dfm")["error"]["code"], -32803);
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(FormFileTest, AnOpenUnitsDamagedFormGetsTheReadersMessageAtItsOffsetUntilItReadsOrTheUnitCloses)
{
    // The bad number stands on the second line, at its 9th byte.
    folder.Write("Sample/MainForm.dfm", Damaged("damaged-text-number"));
    LspClient client(folder / "home");
    client.Initialize(workspace);
    OpenUnit(client, "MainForm.pas");
    json diagnostics = DiagnosticsOf(client, "MainForm.dfm");
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0]["message"], workspace + "/MainForm.dfm: damaged form at offset 30: number out of range");
    EXPECT_EQ(diagnostics[0]["data"]["offset"], 30);
    EXPECT_EQ(diagnostics[0]["severity"], 1);
    EXPECT_EQ(diagnostics[0]["range"]["start"], json({{"line", 1}, {"character", 8}}));

    // Mended on disk: the client's watcher tells, and the diagnostic is withdrawn.
    fs::copy_file(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample/MainForm.dfm", workspace + "/MainForm.dfm",
                  fs::copy_options::overwrite_existing);
    client.Notify("workspace/didChangeWatchedFiles",
                  {{"changes", {{{"uri", LspClient::Uri(workspace + "/MainForm.dfm")}, {"type", 2}}}}});
    EXPECT_TRUE(DiagnosticsOf(client, "MainForm.dfm").empty());

    // A damaged binary form has no lines: the diagnostic stands at the start, the offset in its text.
    folder.Write("Sample/ViewOptions.dfm", Damaged("real-damaged-binary"));
    OpenUnit(client, "ViewOptions.pas");
    diagnostics = DiagnosticsOf(client, "ViewOptions.dfm");
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0]["message"], workspace + "/ViewOptions.dfm: damaged form at offset 186: a property name expected");
    EXPECT_EQ(diagnostics[0]["range"]["start"], json({{"line", 0}, {"character", 0}}));

    client.Notify("textDocument/didClose", {{"textDocument", {{"uri", LspClient::Uri(workspace + "/ViewOptions.pas")}}}});
    EXPECT_TRUE(DiagnosticsOf(client, "ViewOptions.dfm").empty());
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(FormFileTest, HoverShowsARoutinesEntryAndItsJumpOrAComponentsClassAndStoredValues)
{
    LspClient client(folder / "home");
    client.Initialize(workspace);
    OpenUnit(client, "MainForm.pas");
    auto hover = [&](int line, int character) {
        json answer = client.Request("textDocument/hover",
                                     {{"textDocument", {{"uri", LspClient::Uri(workspace + "/MainForm.pas")}}},
                                      {"position", {{"line", line}, {"character", character}}}});
        EXPECT_TRUE(answer.contains("result")) << answer.dump();
        return answer["result"].is_null() ? std::string() : answer["result"]["contents"]["value"].get<std::string>();
    };
    std::string jump = "```pascal\nTForm1.Button1Click(Sender: TObject);\n```\n\n[MainForm.pas:45]("
                       + LspClient::Uri(workspace + "/MainForm.pas") + "#L45)";
    EXPECT_EQ(hover(17, 16), jump);  // in the class declaration
    EXPECT_EQ(hover(44, 20), jump);  // on its own header
    EXPECT_EQ(hover(51, 3), "```pascal\nTForm1.AddLine(const S: string);\n```\n\n[MainForm.pas:56]("
                                + LspClient::Uri(workspace + "/MainForm.pas") + "#L56)");

    // A component, declared or used: the form's values, Shift-JIS caption shown as text, no children.
    std::string button = "**Button1**: TButton\n\n```pascal\nobject Button1: TButton\r\n  Left = 152\r\n  Top = 38\r\n"
                         "  Width = 75\r\n  Height = 25\r\n  Caption = '加える'\r\n  TabOrder = 1\r\n"
                         "  OnClick = Button1Click\r\nend\r\n```";
    EXPECT_EQ(hover(14, 5), button);
    std::string form = hover(26, 3);
    EXPECT_EQ(form.substr(0, form.find("```")), "**Form1**: TForm1\n\n");
    EXPECT_NE(form.find("Caption = 'サンプル'"), std::string::npos);
    EXPECT_EQ(form.find("object Label1"), std::string::npos);
    EXPECT_EQ(hover(49, 25).substr(0, 18), "**Edit1**: TEdit\n\n");

    // Neither: a keyword, a blank, a field that is no component.
    EXPECT_EQ(hover(39, 1), "");
    EXPECT_EQ(hover(1, 0), "");
    EXPECT_EQ(hover(19, 5), "");
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(FormFileTest, VersionInfoGivesTheEightStringsOfTheVersionInfoCommand)
{
    std::string addin = (fs::path(QUORLIN_BINARY_DIR) / "bin/libquorlin.so").string();
    QuorlinRun printed = Run({"version-info", addin});
    ASSERT_EQ(printed.Status, 0) << printed.Err;
    LspClient client(folder / "home");
    client.Initialize(workspace);
    json answer = client.Request("workspace/executeCommand",
                                 {{"command", "quorlin.versionInfo"}, {"arguments", {LspClient::Uri(addin)}}});
    ASSERT_TRUE(answer.contains("result")) << answer.dump();
    ASSERT_EQ(answer["result"].size(), 8u);
    std::string lines;
    for (const json& entry : answer["result"])
        lines += entry.get<std::string>() + "\n";
    EXPECT_EQ(lines, printed.Out);

    // A file without a resource says so as the command does; a missing one is refused.
    printed = Run({"version-info", workspace + "/MainForm.pas"});
    answer = client.Request("workspace/executeCommand",
                            {{"command", "quorlin.versionInfo"}, {"arguments", {LspClient::Uri(workspace + "/MainForm.pas")}}});
    EXPECT_EQ(answer["result"], json::array({printed.Out.substr(0, printed.Out.size() - 1)}));
    answer = client.Request("workspace/executeCommand",
                            {{"command", "quorlin.versionInfo"}, {"arguments", {LspClient::Uri(workspace + "/None.exe")}}});
    EXPECT_EQ(answer["error"]["code"], -32803);
    EXPECT_EQ(client.Request("workspace/executeCommand", {{"command", "quorlin.nothing"}})["error"]["code"], -32602);
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
