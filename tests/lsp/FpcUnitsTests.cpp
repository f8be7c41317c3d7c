// Every request on two small units of fpc-source as they are (tests/data/lsp/fpc): keyword case as
// their authors wrote it, comments in braces before the classes, the same method names in both.

#include <gtest/gtest.h>

#include <filesystem>

#include "LspClient.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

json Position(int line, int character)
{
    return {{"line", line}, {"character", character}};
}

TEST(FpcUnitsTest, RealUnitsAnswerEveryRequest)
{
    TempFolder folder;
    fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "tests/data/lsp/fpc", folder / "ws");
    std::string nullstream = folder / "ws/nullstream.pp";
    std::string iostream = folder / "ws/iostream.pp";
    auto at = [](const std::string& file, int line, int character) {
        return json{{"textDocument", {{"uri", LspClient::Uri(file)}}}, {"position", Position(line, character)}};
    };
    LspClient client(folder / "home");
    client.Initialize(folder / "ws");

    json outline = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", LspClient::Uri(nullstream)}}}})["result"];
    ASSERT_EQ(outline.size(), 8u);
    EXPECT_EQ(outline[0]["name"], "TNullStream.GetSize");
    EXPECT_EQ(outline[0]["detail"], " : int64;");
    EXPECT_EQ(outline[0]["kind"], 6);
    EXPECT_EQ(outline[7]["name"], "TNullStream.Create");
    EXPECT_EQ(outline[7]["kind"], 9);
    EXPECT_EQ(outline[7]["selectionRange"]["start"], Position(114, 12));

    // From the class's declarations, in any keyword case, to the headers.
    json definition = client.Request("textDocument/definition", at(nullstream, 34, 14))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["range"]["start"], Position(50, 9));
    definition = client.Request("textDocument/definition", at(nullstream, 42, 17))["result"];
    ASSERT_EQ(definition.size(), 1u);
    EXPECT_EQ(definition[0]["range"]["start"], Position(114, 12));
    // A unit that is not in the workspace.
    EXPECT_TRUE(client.Request("textDocument/definition", at(nullstream, 22, 6))["result"].is_null());

    // Both units' SetSize, then what holds its letters only in order.
    json found = client.Request("workspace/symbol", {{"query", "setsize"}})["result"];
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0]["name"], "TIOStream.SetSize");
    EXPECT_EQ(found[1]["name"], "TNullStream.SetSize");
    EXPECT_EQ(found[2]["name"], "TNullStream.GetSize");

    // The class's name: its declaration and its methods' headers, not the comment before it.
    json references = client.Request("textDocument/references", at(nullstream, 29, 4))["result"];
    EXPECT_EQ(references.size(), 9u);
    for (const json& location : references)
        EXPECT_NE(location["range"]["start"]["line"], 27);
    EXPECT_EQ(client.Request("textDocument/references", at(iostream, 26, 4))["result"].size(), 8u);
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
