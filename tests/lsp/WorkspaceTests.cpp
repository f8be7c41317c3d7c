// The workspace: its units in any letter case and the units its projects list elsewhere; the
// search over all their routines, definitions, lexical references, diagnostics and changed files.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "LspClient.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class SampleWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", workspace, fs::copy_options::recursive);
    }

    json Symbols(LspClient& client, const std::string& query)
    {
        return client.Request("workspace/symbol", {{"query", query}})["result"];
    }
    static std::vector<std::string> Names(const json& symbols)
    {
        std::vector<std::string> names;
        for (const json& symbol : symbols)
            names.push_back(symbol["name"]);
        return names;
    }
    json At(const std::string& file, int line, int character)
    {
        return {{"textDocument", {{"uri", LspClient::Uri(workspace + "/" + file)}}},
                {"position", {{"line", line}, {"character", character}}}};
    }
    static json Position(int line, int character) { return {{"line", line}, {"character", character}}; }

    TempFolder folder;
    std::string workspace = folder / "Sample";
};

TEST_F(SampleWorkspaceTest, TheSearchRanksWholeNamesPrefixesWordStartsSubstringsAndSubsequences)
{
    folder.Write("Sample/Ranks.pas", "unit Ranks;\ninterface\nimplementation\n"
                                     "procedure Area;\nbegin\nend;\n"          // the whole name
                                     "procedure AreaOfAll;\nbegin\nend;\n"     // a prefix
                                     "procedure TotalArea;\nbegin\nend;\n"     // a word's start
                                     "procedure Sub_area;\nbegin\nend;\n"      // a word's start after '_'
                                     "procedure Hectarea;\nbegin\nend;\n"      // a substring
                                     "procedure AlReadyAt;\nbegin\nend;\n"     // a subsequence
                                     "procedure Other;\nbegin\nend;\n"
                                     "end.\n");
    LspClient client(folder / "home");
    client.Initialize(workspace);
    json found = Symbols(client, "area");
    std::vector<std::string> expected = {"Area",     "TShape.Area", "AreaOfAll",    "Sub_area",
                                         "TotalArea", "Hectarea",   "AlReadyAt", "TShape.Create"};
    EXPECT_EQ(Names(found), expected);
    EXPECT_EQ(found[1]["kind"], 6);
    EXPECT_EQ(found[1]["containerName"], "Shapes");
    EXPECT_EQ(found[1]["location"]["uri"], LspClient::Uri(workspace + "/Shapes.pas"));
    EXPECT_EQ(found[1]["location"]["range"]["start"]["line"], 47);

    // Units are symbols of their own, at their file.
    found = Symbols(client, "UTILS");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0]["name"], "Utils");
    EXPECT_EQ(found[0]["kind"], 2);
    EXPECT_EQ(found[0]["location"]["uri"], LspClient::Uri(workspace + "/Lib/Utils.pas"));

    EXPECT_EQ(Names(Symbols(client, "tshcr")), std::vector<std::string>{"TShape.Create"});
    EXPECT_TRUE(Symbols(client, "nothing like it").empty());
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(SampleWorkspaceTest, TheSearchHonoursItsLimitAndAnEmptyQueryGivesTheFirstResults)
{
    LspClient client(folder / "home");
    json answer = client.Request("initialize", {{"processId", nullptr},
                                                {"rootUri", LspClient::Uri(workspace)},
                                                {"capabilities", json::object()},
                                                {"initializationOptions", {{"workspaceSymbolLimit", 3}}}});
    ASSERT_TRUE(answer.contains("result"));
    client.Notify("initialized", json::object());
    json all = Symbols(client, "");
    ASSERT_EQ(all.size(), 3u);
    for (const json& symbol : all)
        EXPECT_FALSE(symbol["name"].get<std::string>().empty());
    EXPECT_EQ(Symbols(client, "a").size(), 3u);
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(SampleWorkspaceTest, UnitsInAnyLetterCaseAndUnitsAProjectListsElsewhereBelongToTheWorkspace)
{
    folder.Write("Sample/OLD/UNIT1.PAS", "UNIT UNIT1;\nINTERFACE\nIMPLEMENTATION\nPROCEDURE OLDSTYLE;\nBEGIN\nEND;\nEND.\n");
    folder.Write("Sample/Tool.lpr", "program Tool;\nprocedure LazarusMain;\nbegin\nend;\nbegin\nend.\n");
    folder.Write("Sample/readme.txt", "procedure NotAUnit;\n");
    std::string shared = folder.Write("Shared/Common.pas", "unit Common;\ninterface\nimplementation\n"
                                                           "procedure SharedHelper;\nbegin\nend;\nend.\n");
    folder.Write("Sample/Other.dpr", "program Other;\nuses\n  Common in '..\\Shared\\Common.pas',\n"
                                     "  Gone in 'Gone.pas';\nbegin\nend.\n");
    LspClient client(folder / "home");
    client.Initialize(workspace);
    EXPECT_EQ(Names(Symbols(client, "OldStyle")), std::vector<std::string>{"OLDSTYLE"});
    EXPECT_EQ(Names(Symbols(client, "NotAUnit")), std::vector<std::string>{});
    json helper = Symbols(client, "SharedHelper");
    ASSERT_EQ(helper.size(), 1u);
    EXPECT_EQ(helper[0]["location"]["uri"], LspClient::Uri(shared));
    // A unit the project lists is answered for even though it lies outside the folder.
    json outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", LspClient::Uri(shared)}}}});
    EXPECT_EQ(outline["result"].size(), 1u);
    // From the project's uses clause to the unit's file.
    json definition = client.Request("textDocument/definition", At("Other.dpr", 2, 4))["result"];
    EXPECT_EQ(definition["uri"], LspClient::Uri(shared));

    // The missing unit is reported on the project's line when the project is open.
    client.Open(workspace + "/Other.dpr", TempFolder::Read(workspace + "/Other.dpr"));
    json diagnostics = client.WaitFor("textDocument/publishDiagnostics");
    ASSERT_EQ(diagnostics["diagnostics"].size(), 1u);
    EXPECT_EQ(diagnostics["diagnostics"][0]["range"]["start"]["line"], 3);
    EXPECT_EQ(diagnostics["diagnostics"][0]["severity"], 1);
    EXPECT_NE(diagnostics["diagnostics"][0]["message"].get<std::string>().find("Gone.pas"), std::string::npos);
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(SampleWorkspaceTest, DefinitionsLeadFromDeclarationsAndUsesClausesToWhatTheToolWindowFinds)
{
    LspClient client(folder / "home");
    client.Initialize(workspace);
    // A method declared in the class: the implementation header the jump finds.
    json definition = client.Request("textDocument/definition", At("MainForm.pas", 16, 16))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["uri"], LspClient::Uri(workspace + "/MainForm.pas"));
    EXPECT_EQ(definition[0]["range"]["start"], Position(38, 10));
    EXPECT_EQ(definition[0]["range"]["end"], Position(38, 27));
    // A routine declared in the interface section.
    definition = client.Request("textDocument/definition", At("MainForm.pas", 28, 12))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["range"]["start"], Position(61, 10));
    // A constructor whose class lists more methods after it.
    definition = client.Request("textDocument/definition", At("Shapes.pas", 18, 17))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["range"]["start"]["line"], 30);
    // A unit of the implementation's uses clause: the file the project lists, in Lib.
    definition = client.Request("textDocument/definition", At("MainForm.pas", 33, 3))["result"];
    EXPECT_EQ(definition["uri"], LspClient::Uri(workspace + "/Lib/Utils.pas"));
    // The same name in the project file.
    definition = client.Request("textDocument/definition", At("Sample.dpr", 7, 3))["result"];
    EXPECT_EQ(definition["uri"], LspClient::Uri(workspace + "/Lib/Utils.pas"));
    // A unit nobody has: no answer.
    definition = client.Request("textDocument/definition", At("MainForm.pas", 7, 3))["result"];
    EXPECT_TRUE(definition.is_null());
    // Not on a name at all.
    definition = client.Request("textDocument/definition", At("MainForm.pas", 1, 0))["result"];
    EXPECT_TRUE(definition.is_null());
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(SampleWorkspaceTest, ReferencesAreWholeNamesOutsideCommentsStringsAndDirectives)
{
    folder.Write("Sample/Refs.pas", "unit Refs;\n"
                                    "interface\n"
                                    "implementation\n"
                                    "{$IFDEF clamp} (* Clamp *) // Clamp\n"
                                    "procedure Use;\n"
                                    "begin\n"
                                    "  CLAMP(1, 2, 3); Clamped := 'Clamp'#13; Utils.clamp(0, 0, 0);\n"
                                    "  x := $C1amp; { Clamp\n"
                                    "  Clamp } Clamp2 := 1;\n"
                                    "end;\n"
                                    "end.\n");
    LspClient client(folder / "home");
    client.Initialize(workspace);
    json references = client.Request("textDocument/references", At("Lib/Utils.pas", 6, 10))["result"];
    std::set<std::tuple<std::string, int, int>> found;
    for (const json& location : references) {
        std::string file = fs::relative(location["uri"].get<std::string>().substr(7), workspace).string();
        found.emplace(file, location["range"]["start"]["line"], location["range"]["start"]["character"]);
    }
    std::set<std::tuple<std::string, int, int>> expected = {
        {"Lib/Utils.pas", 6, 9}, {"Lib/Utils.pas", 18, 14}, {"Lib/Utils.pas", 21, 9},
        {"MainForm.pas", 50, 12}, {"Refs.pas", 6, 2}, {"Refs.pas", 6, 47},
    };
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(client.Request("textDocument/references", At("Lib/Utils.pas", 5, 0))["result"].empty());
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(SampleWorkspaceTest, ChangedFilesAreSeenWhenTheClientReportsThem)
{
    LspClient client(folder / "home");
    client.Initialize(workspace, {{"workspace", {{"didChangeWatchedFiles", {{"dynamicRegistration", true}}}}}});
    // The server asks to be told of the units' changes.
    json registration = client.Read();
    EXPECT_EQ(registration["method"], "client/registerCapability");
    EXPECT_EQ(registration["params"]["registrations"][0]["method"], "workspace/didChangeWatchedFiles");
    client.Send({{"jsonrpc", "2.0"}, {"id", registration["id"]}, {"result", nullptr}});

    EXPECT_EQ(Names(Symbols(client, "Percent")), std::vector<std::string>{"Percent"});
    std::string added = folder.Write("Sample/Added.pas", "unit Added;\ninterface\nimplementation\n"
                                                         "procedure Brand_New;\nbegin\nend;\nend.\n");
    std::string utils = workspace + "/Lib/Utils.pas";
    std::string text = TempFolder::Read(utils);
    folder.Write("Sample/Lib/Utils.pas", text.replace(text.rfind("function Percent("), 16, "function Fraction"));
    fs::remove(workspace + "/Shapes.pas");
    client.Notify("workspace/didChangeWatchedFiles",
                  {{"changes", {{{"uri", LspClient::Uri(added)}, {"type", 1}},
                                {{"uri", LspClient::Uri(utils)}, {"type", 2}},
                                {{"uri", LspClient::Uri(workspace + "/Shapes.pas")}, {"type", 3}}}}});
    EXPECT_EQ(Names(Symbols(client, "Brand_New")), std::vector<std::string>{"Brand_New"});
    EXPECT_EQ(Names(Symbols(client, "Percent")), std::vector<std::string>{});
    EXPECT_EQ(Names(Symbols(client, "Fraction")), std::vector<std::string>{"Fraction"});
    EXPECT_TRUE(Symbols(client, "TShape").empty());
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(SampleWorkspaceTest, ALineTooLongForTheReaderIsReportedWhereTheListEnds)
{
    std::string file = workspace + "/Long.pas";
    std::string text = "unit Long;\ninterface\nimplementation\nprocedure Before;\nbegin\nend;\n"
                       "const S = '" + std::string(1009, 'x') + "';\nprocedure After;\nbegin\nend;\nend.\n";
    folder.Write("Sample/Long.pas", text);
    LspClient client(folder / "home");
    client.Initialize(workspace);
    client.Open(file, text);
    json diagnostics = client.WaitFor("textDocument/publishDiagnostics");
    ASSERT_EQ(diagnostics["diagnostics"].size(), 1u);
    const json& warning = diagnostics["diagnostics"][0];
    EXPECT_EQ(warning["severity"], 2);
    EXPECT_EQ(warning["range"]["start"]["line"], 6);
    EXPECT_EQ(warning["message"], file + ":7: the routine list ends here: the line is 1022 bytes or longer");
    json outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", LspClient::Uri(file)}}}});
    EXPECT_EQ(outline["result"].size(), 1u);
    // One byte less (1,021 and CR LF), and the list goes on.
    client.Notify("textDocument/didChange", {{"textDocument", {{"uri", LspClient::Uri(file)}, {"version", 2}}},
                                             {"contentChanges", {{{"range", {{"start", Position(6, 11)},
                                                                             {"end", Position(6, 12)}}},
                                                                  {"text", ""}}}}});
    EXPECT_TRUE(client.WaitFor("textDocument/publishDiagnostics")["diagnostics"].empty());
    outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", LspClient::Uri(file)}}}});
    EXPECT_EQ(outline["result"].size(), 2u);
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
