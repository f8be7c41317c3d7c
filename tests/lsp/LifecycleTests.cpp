// The server's life and its answers to bad input: the right JSON-RPC error and going on, or a clean
// exit; never a crash or a hang.

#include <gtest/gtest.h>

#include "LspClient.h"
#include "support/TempFolder.h"

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string home = folder / "home";
    std::string workspace = folder.Write("ws/Unit1.pas",
                                         "unit Unit1;\ninterface\nimplementation\nprocedure Foo;\nbegin\nend;\nend.\n");

    static int ErrorCode(const json& response) { return response.at("error").at("code").get<int>(); }
};

TEST_F(LifecycleTest, ShutdownAndExitEndTheServerWithStatusZero)
{
    LspClient client(home);
    json result = client.Request("initialize", {{"processId", nullptr}, {"rootUri", LspClient::Uri(folder / "ws")},
                                                {"capabilities", json::object()}});
    EXPECT_EQ(result["result"]["capabilities"]["positionEncoding"], "utf-16");
    EXPECT_EQ(result["result"]["capabilities"]["textDocumentSync"]["change"], 2);
    client.Notify("initialized", json::object());
    json shutdown = client.Request("shutdown", nullptr);
    EXPECT_TRUE(shutdown.contains("result") && shutdown["result"].is_null());
    // After shutdown, requests are refused.
    EXPECT_EQ(ErrorCode(client.Request("workspace/symbol", {{"query", ""}})), -32600);
    client.Notify("exit", nullptr);
    EXPECT_EQ(client.Wait(10000), 0);
}

TEST_F(LifecycleTest, EndOfInputOrExitWithoutShutdownEndsWithStatusOne)
{
    {
        LspClient client(home);
        client.Initialize(folder / "ws");
        client.CloseInput();
        EXPECT_EQ(client.Wait(10000), 1);
    }
    {
        LspClient client(home);
        client.Initialize(folder / "ws");
        client.Notify("exit", nullptr);
        EXPECT_EQ(client.Wait(10000), 1);
    }
}

TEST_F(LifecycleTest, BadMessagesGetTheirErrorsAndTheServerGoesOn)
{
    LspClient client(home);
    EXPECT_EQ(ErrorCode(client.Request("workspace/symbol", {{"query", ""}})), -32002);
    client.Initialize(folder / "ws");
    EXPECT_EQ(ErrorCode(client.Request("initialize", {{"capabilities", json::object()}})), -32600);

    std::string broken = "{\"jsonrpc\": \"2.0\", \"id\": 5, \"method\": ";
    client.SendRaw("Content-Length: " + std::to_string(broken.size()) + "\r\n\r\n" + broken);
    json parseError = client.Read();
    EXPECT_EQ(ErrorCode(parseError), -32700);
    EXPECT_TRUE(parseError["id"].is_null());

    client.Send({{"jsonrpc", "2.0"}, {"id", 6}, {"method", 42}});
    EXPECT_EQ(ErrorCode(client.ResponseTo(6)), -32600);
    client.Send(json::array({1, 2}));
    EXPECT_EQ(ErrorCode(client.Read()), -32600);
    EXPECT_EQ(ErrorCode(client.Request("textDocument/codeLens", json::object())), -32601);
    // Unknown notifications are passed over without an answer.
    client.Notify("$/setTrace", {{"value", "off"}});

    std::string unit = LspClient::Uri(folder / "ws/Unit1.pas");
    EXPECT_EQ(ErrorCode(client.Request("textDocument/definition", {{"textDocument", {{"uri", unit}}},
                                                                   {"position", {{"line", 99}, {"character", 0}}}})),
              -32602);
    EXPECT_EQ(ErrorCode(client.Request("textDocument/references", {{"textDocument", {{"uri", unit}}},
                                                                   {"position", {{"line", -1}, {"character", 0}}}})),
              -32602);
    EXPECT_EQ(ErrorCode(client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", "file:///etc/passwd"}}}})),
              -32602);
    EXPECT_EQ(ErrorCode(client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", "untitled:Unit9"}}}})),
              -32602);
    EXPECT_EQ(ErrorCode(client.Request("textDocument/documentSymbol", json::object())), -32602);
    // A character past a line's end is the line's end.
    json definition = client.Request("textDocument/definition", {{"textDocument", {{"uri", unit}}},
                                                                 {"position", {{"line", 3}, {"character", 500}}}});
    EXPECT_TRUE(definition.contains("result"));

    json symbols = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", unit}}}});
    ASSERT_EQ(symbols["result"].size(), 1u);
    EXPECT_EQ(client.Finish(), 0);
}

TEST_F(LifecycleTest, AGigabyteMessageIsSkippedAndAnsweredWithoutKeepingIt)
{
    LspClient client(home);
    client.Initialize(folder / "ws");
    client.SendRaw("Content-Length: 1073741824\r\n\r\n{\"jsonrpc\": \"2.0\", \"id\": 1, ");
    json refused = client.Read();
    EXPECT_EQ(ErrorCode(refused), -32600);
    // The client goes away in the middle of the body: the server ends cleanly.
    client.CloseInput();
    EXPECT_EQ(client.Wait(10000), 1);
}

TEST_F(LifecycleTest, BrokenFramingOrAClientGoneMidMessageEndTheServerCleanly)
{
    for (std::string bytes : {std::string("Content-Type: text/plain\r\n\r\n{}"), std::string("hello\r\n\r\n"),
                              std::string("Content-Length: 12x\r\n\r\n"), std::string(10000, 'x'),
                              std::string("Content-Length: 100\r\n\r\n{\"jsonrpc\""),
                              std::string("Content-Length: 100\r\nContent-Le")}) {
        LspClient client(home);
        client.Initialize(folder / "ws");
        client.SendRaw(bytes);
        client.CloseInput();
        EXPECT_EQ(client.Wait(10000), 1) << bytes.substr(0, 40);
    }
}

TEST_F(LifecycleTest, ACancelledRequestIsAnsweredAsCancelled)
{
    LspClient client(home);
    client.Initialize(folder / "ws");
    // Both messages arrive together, so the cancellation is seen before the request is served.
    json request = {{"jsonrpc", "2.0"}, {"id", 77}, {"method", "workspace/symbol"}, {"params", {{"query", "Foo"}}}};
    json cancel = {{"jsonrpc", "2.0"}, {"method", "$/cancelRequest"}, {"params", {{"id", 77}}}};
    std::string a = request.dump();
    std::string b = cancel.dump();
    client.SendRaw("Content-Length: " + std::to_string(a.size()) + "\r\n\r\n" + a + "Content-Length: "
                   + std::to_string(b.size()) + "\r\n\r\n" + b);
    json answer = client.ResponseTo(77);
    // A server may have answered before it saw the cancellation; it must not answer twice.
    if (answer.contains("error"))
        EXPECT_EQ(ErrorCode(answer), -32800);
    else
        EXPECT_EQ(answer["result"].size(), 1u);
    EXPECT_EQ(client.Finish(), 0);
}

}  // namespace
