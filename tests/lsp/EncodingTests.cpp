// Code page 932 and UTF-8 units with Japanese text: names reach the client as UTF-8 and positions
// are right in UTF-16 and in UTF-8 columns; open documents go back into the file's encoding.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "LspClient.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const fs::path samples = fs::path(QUORLIN_SOURCE_DIR) / "tests/data/lsp";

struct Case {
    const char* File;
    bool Utf8Columns;
};

void PrintTo(const Case& given, std::ostream* out)
{
    *out << given.File << (given.Utf8Columns ? ", UTF-8 columns" : ", UTF-16 columns");
}

class JapaneseUnitTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        fs::copy_file(samples / GetParam().File, folder / GetParam().File);
        fs::copy_file(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample/Shapes.pas", folder / "Shapes.pas");
        json capabilities = json::object();
        if (GetParam().Utf8Columns)
            capabilities["general"]["positionEncodings"] = {"utf-8", "utf-16"};
        json answer = client.Request("initialize", {{"processId", nullptr}, {"rootUri", LspClient::Uri(folder.Path())},
                                                    {"capabilities", capabilities}});
        ASSERT_EQ(answer["result"]["capabilities"]["positionEncoding"], GetParam().Utf8Columns ? "utf-8" : "utf-16");
        client.Notify("initialized", json::object());
    }

    // A column in the negotiated unit: the UTF-16 and the UTF-8 count of the same place.
    int Column(int utf16, int utf8) const { return GetParam().Utf8Columns ? utf8 : utf16; }
    json Position(int line, int character) const { return {{"line", line}, {"character", character}}; }
    json At(int line, int character) const
    {
        return {{"textDocument", {{"uri", uri}}}, {"position", Position(line, character)}};
    }

    TempFolder folder;
    LspClient client{folder / "home"};
    std::string uri = LspClient::Uri(folder / GetParam().File);
};

TEST_P(JapaneseUnitTest, OutlineReferencesAndDefinitionStandOnTheRightColumns)
{
    json outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
    ASSERT_EQ(outline.size(), 2u);
    EXPECT_EQ(outline[0]["name"], "表示");
    EXPECT_EQ(outline[0]["detail"], "(const 文字: string); { 画面に出す }");
    EXPECT_EQ(outline[0]["kind"], 12);
    EXPECT_EQ(outline[0]["selectionRange"]["start"], Position(14, 10));
    EXPECT_EQ(outline[0]["selectionRange"]["end"], Position(14, Column(12, 16)));
    EXPECT_EQ(outline[0]["range"]["end"], Position(14, Column(41, 59)));
    EXPECT_EQ(outline[1]["name"], "Total");
    EXPECT_EQ(outline[1]["detail"], ": Integer; // 合計");
    EXPECT_EQ(outline[1]["selectionRange"]["start"], Position(19, 9));

    // Outside comments and strings, also after a character whose second byte is '}' in code page 932.
    json references = client.Request("textDocument/references", At(7, 11))["result"];
    std::set<std::pair<int, int>> found;
    for (const json& location : references) {
        EXPECT_EQ(location["uri"], uri);
        const json& range = location["range"];
        found.emplace(range["start"]["line"].get<int>(), range["start"]["character"].get<int>());
        EXPECT_EQ(range["end"]["character"].get<int>() - range["start"]["character"].get<int>(), 5);
    }
    std::set<std::pair<int, int>> expected = {{7, 9}, {16, Column(23, 31)}, {19, 9}, {22, Column(22, 24)}};
    EXPECT_EQ(found, expected);

    // From a call after Japanese text to the routine's header.
    json definition = client.Request("textDocument/definition", At(16, Column(25, 33)))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["range"]["start"], Position(19, 9));
    // From the interface's declaration to the implementation.
    definition = client.Request("textDocument/definition", At(7, 12))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["range"]["start"], Position(19, 9));
    // A unit in the uses clause.
    definition = client.Request("textDocument/definition", At(12, 4))["result"];
    EXPECT_EQ(definition["uri"], LspClient::Uri(folder / "Shapes.pas"));
    EXPECT_EQ(client.Finish(), 0);
}

TEST_P(JapaneseUnitTest, EditsOfTheOpenDocumentReachTheOutlineAndLostCharactersAreReported)
{
    std::string text = TempFolder::Read(folder / GetParam().File);
    bool cp932 = std::string(GetParam().File) == "Japanese.pas";
    // What an editor shows and sends: the file's text in UTF-8.
    std::string shown = TempFolder::Read(samples / "Nihongo.pas");
    if (!cp932)
        shown = text;
    else
        shown.replace(shown.find("Nihongo"), 7, "Japanese");
    client.Open(folder / GetParam().File, shown);
    json diagnostics = client.WaitFor("textDocument/publishDiagnostics");
    EXPECT_EQ(diagnostics["diagnostics"].size(), 0u) << diagnostics.dump();

    // A new routine after the implementation line, written in Japanese.
    client.Notify("textDocument/didChange",
                  {{"textDocument", {{"uri", uri}, {"version", 2}}},
                   {"contentChanges", {{{"range", {{"start", Position(10, 0)}, {"end", Position(10, 0)}}},
                                        {"text", "procedure 新規(値: 整数);\n"}}}}});
    client.WaitFor("textDocument/publishDiagnostics");
    json outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
    ASSERT_EQ(outline.size(), 3u);
    EXPECT_EQ(outline[0]["name"], "新規");
    EXPECT_EQ(outline[0]["detail"], "(値: 整数);");
    EXPECT_EQ(outline[0]["selectionRange"]["end"], Position(10, Column(12, 16)));
    EXPECT_EQ(outline[1]["selectionRange"]["start"], Position(15, 10));

    // Replacing "画面" in the header's comment with a character code page 932 does not hold.
    json start = Position(15, Column(34, 42));
    json end = Position(15, Column(36, 48));
    client.Notify("textDocument/didChange",
                  {{"textDocument", {{"uri", uri}, {"version", 3}}},
                   {"contentChanges", {{{"range", {{"start", start}, {"end", end}}}, {"text", "😀"}}}}});
    diagnostics = client.WaitFor("textDocument/publishDiagnostics");
    EXPECT_EQ(diagnostics["version"], 3);
    outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
    if (cp932) {
        ASSERT_EQ(diagnostics["diagnostics"].size(), 1u);
        EXPECT_EQ(diagnostics["diagnostics"][0]["severity"], 1);
        EXPECT_EQ(diagnostics["diagnostics"][0]["range"]["start"], start);
        EXPECT_NE(diagnostics["diagnostics"][0]["message"].get<std::string>().find("code page 932"), std::string::npos);
        EXPECT_EQ(outline[1]["detail"], "(const 文字: string); { ?に出す }");
    } else {
        EXPECT_EQ(diagnostics["diagnostics"].size(), 0u);
        EXPECT_EQ(outline[1]["detail"], "(const 文字: string); { 😀に出す }");
    }
    // Closing forgets the edits: the file on disk is what counts again, and was never written.
    client.Notify("textDocument/didClose", {{"textDocument", {{"uri", uri}}}});
    EXPECT_EQ(client.WaitFor("textDocument/publishDiagnostics")["diagnostics"].size(), 0u);
    outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
    EXPECT_EQ(outline.size(), 2u);
    EXPECT_EQ(TempFolder::Read(folder / GetParam().File), text);
    EXPECT_EQ(client.Finish(), 0);
}

// The line and column of a byte offset of UTF-8 text, counted here on their own: CR LF, LF and CR
// end lines; columns in UTF-16 code units or UTF-8 bytes.
json PositionAt(const std::string& text, size_t offset, bool utf8Columns)
{
    int line = 0;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    int column = 0;
    for (size_t i = lineStart; i < offset;) {
        auto c = static_cast<unsigned char>(text[i]);
        int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        column += utf8Columns ? bytes : bytes == 4 ? 2 : 1;
        i += static_cast<size_t>(bytes);
    }
    return {{"line", line}, {"character", column}};
}

TEST_P(JapaneseUnitTest, EditsAcrossLineBreaksAndCharactersGiveWhatTheWholeTextGives)
{
    bool cp932 = std::string(GetParam().File) == "Japanese.pas";
    std::string text = TempFolder::Read(samples / "Nihongo.pas");
    if (cp932)
        text.replace(text.find("Nihongo"), 7, "Japanese");
    client.Open(folder / GetParam().File, text);
    client.WaitFor("textDocument/publishDiagnostics");

    // Each change is sent with the positions of the text as the changes before it left it, and made
    // here too; several in one message are taken in their order.
    int version = 1;
    struct Change {
        size_t From;
        size_t To;
        std::string Text;
    };
    auto change = [&](std::vector<Change> changes, bool backwards = false) {
        json sent = json::array();
        for (const Change& each : changes) {
            json start = PositionAt(text, each.From, GetParam().Utf8Columns);
            json end = PositionAt(text, each.To, GetParam().Utf8Columns);
            if (backwards)
                std::swap(start, end);
            sent.push_back({{"range", {{"start", start}, {"end", end}}}, {"text", each.Text}});
            text.replace(each.From, each.To - each.From, each.Text);
        }
        client.Notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", ++version}}},
                                                 {"contentChanges", sent}});
        return client.WaitFor("textDocument/publishDiagnostics")["diagnostics"];
    };
    auto after = [&](const std::string& found) { return text.find(found) + found.size(); };
    bool utf8 = GetParam().Utf8Columns;

    // A Japanese line split, and two lines joined.
    change({{after("{ 日本語"), after("{ 日本語"), "\r\n"}, {after("interface"), after("interface") + 1, ""}});
    // A CR before an LF makes one line break of the two; a lone CR ends a line, an LF after it joins it.
    change({{text.find('\n'), text.find('\n'), "\r"}, {after("Shapes;"), after("Shapes;"), " { 合計 \r の }"}});
    change({{after("合計 \r"), after("合計 \r"), "\n"}});
    // A new routine of several lines, and a range over three lines replaced by Japanese text.
    change({{text.find("function Total: Integer; //"), text.find("function Total: Integer; //"),
             "procedure 新規(値: 整数);\nbegin\nend;\n\n"},
            {after("{ 画面"), after("WriteLn('"), "へ }\n  { 途中の行 }\nbegin\n  WriteLn('新しい"}});
    // A range given backwards.
    change({{text.find("{ 途中の行 }"), after("{ 途中の行 }"), "{ 行 }"}}, true);

    // Characters the code page cannot hold: the first one is reported, and when it goes the next.
    json first = change({{after("名目"), after("名目"), "😀"}});
    json firstAt = PositionAt(text, text.find("😀"), utf8);
    json second = change({{after("// 合計"), after("// 合計"), "🎉"}});
    json lost = change({{text.find("😀"), after("😀"), ""}});
    if (cp932) {
        ASSERT_EQ(first.size(), 1u);
        ASSERT_EQ(second.size(), 1u);
        ASSERT_EQ(lost.size(), 1u);
        EXPECT_EQ(first[0]["range"]["start"], firstAt);
        EXPECT_EQ(second[0]["range"]["start"], firstAt);
        EXPECT_EQ(lost[0]["range"]["start"], PositionAt(text, text.find("🎉"), utf8));
    } else {
        EXPECT_TRUE(first.empty() && second.empty() && lost.empty());
    }
    json edited = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
    ASSERT_EQ(edited.size(), 3u);
    EXPECT_EQ(edited[1]["name"], "新規");
    EXPECT_EQ(edited[1]["selectionRange"]["start"], PositionAt(text, text.find("新規"), utf8));

    // The same text opened whole.
    client.Notify("textDocument/didClose", {{"textDocument", {{"uri", uri}}}});
    client.WaitFor("textDocument/publishDiagnostics");
    client.Open(folder / GetParam().File, text);
    EXPECT_EQ(client.WaitFor("textDocument/publishDiagnostics")["diagnostics"], lost);
    EXPECT_EQ(client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"], edited);
    EXPECT_EQ(client.Finish(), 0);
}

// Named, so that each case can be run by its name (the test runner does so one by one).
INSTANTIATE_TEST_SUITE_P(CodePagesAndColumns, JapaneseUnitTest,
                         ::testing::Values(Case{"Japanese.pas", false}, Case{"Japanese.pas", true},
                                           Case{"Nihongo.pas", false}, Case{"Nihongo.pas", true}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string file = info.param.File;
                             return file.substr(0, file.find('.')) + (info.param.Utf8Columns ? "Utf8" : "Utf16");
                         });

TEST(UnreadableBytesTest, BytesValidInNeitherEncodingShowAsReplacementCharacters)
{
    TempFolder folder;
    std::string bad = folder.Write("Bad.pas", "unit Bad;\ninterface\nimplementation\nprocedure Odd\x80\xFF(x: \xFD);\n"
                                              "begin\nend;\nprocedure Even;\nbegin\nend;\nend.\n");
    std::string bom = folder.Write("Bom.pas", "\xEF\xBB\xBFunit Bom; interface implementation\nprocedure Bom;\nbegin\nend;\nend.\n");
    LspClient client(folder / "home");
    client.Initialize(folder.Path());
    json outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", LspClient::Uri(bad)}}}})["result"];
    ASSERT_EQ(outline.size(), 2u);
    EXPECT_EQ(outline[0]["name"], "Odd\uFFFD\uFFFD");
    EXPECT_EQ(outline[0]["detail"], "(x: \uFFFD);");
    EXPECT_EQ(outline[0]["range"]["end"]["character"], 22);
    EXPECT_EQ(outline[1]["name"], "Even");
    // The byte order mark is no column of the first line.
    json references = client.Request("textDocument/references", {{"textDocument", {{"uri", LspClient::Uri(bom)}}},
                                                                 {"position", {{"line", 1}, {"character", 11}}}})["result"];
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[0]["range"]["start"], json({{"line", 0}, {"character", 5}}));
    EXPECT_EQ(references[1]["range"]["start"], json({{"line", 1}, {"character", 10}}));
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
