// The four-field messages of named groups: how a text splits, what is refused (too long, or a field
// that would not travel whole), and the automatic answer to a "CALLBACK" whoever it is for.

#include <poll.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/GroupMessages.h"
#include "support/BusParticipant.h"

namespace {

std::vector<std::string> Fields(const platform::GroupMessage& message)
{
    return {message.From, message.Command, message.Kind, message.To};
}

// The other program: group "Peer", reports every message that reaches its receiver.
ChildProcess* StartPeer()
{
    return new ChildProcess([](int report) {
        platform::GroupMessenger messenger(
            [report](const platform::GroupMessage& message) {
                Report(report, message.From + "|" + message.Command + "|" + message.Kind + "|" + message.To);
            },
            nullptr);
        messenger.SetGroup("Peer");
        std::string error;
        if (!messenger.Join("GlobalConnection", error))
            return 3;
        Report(report, "ready");
        for (;;) {
            pollfd wait{messenger.Bus()->Descriptor(), POLLIN, 0};
            poll(&wait, 1, -1);
            messenger.Bus()->Serve();
        }
    });
}

}  // namespace

TEST(GroupMessages, FieldsRunToTheNextSeparator)
{
    using Strings = std::vector<std::string>;
    EXPECT_EQ(Fields(platform::SplitGroupMessage("Tool_Version_CALLBACK_Quorlin")),
              (Strings{"Tool", "Version", "CALLBACK", "Quorlin"}));
    // A "_" in a field moves the rest one field on; what follows a fourth "_" is dropped.
    EXPECT_EQ(Fields(platform::SplitGroupMessage("Tool_Get_Version_x_Quorlin")),
              (Strings{"Tool", "Get", "Version", "x"}));
    EXPECT_EQ(Fields(platform::SplitGroupMessage("Tool_Version_x")), (Strings{"Tool", "Version", "x", ""}));
    EXPECT_EQ(Fields(platform::SplitGroupMessage(" a _ b __")), (Strings{" a ", " b ", "", ""}));
    EXPECT_EQ(Fields(platform::SplitGroupMessage("")), (Strings{"", "", "", ""}));
}

TEST(GroupMessages, LongMessagesAreRefusedAndAnswersComeDuringTheSend)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> peer(StartPeer());
    ASSERT_EQ(peer->ReadLine(), "ready");

    std::vector<std::string> heard;
    std::vector<std::string> refusals;
    platform::GroupMessenger messenger(
        [&](const platform::GroupMessage& message) { heard.push_back(message.From + "|" + message.Kind); },
        [&](const std::string& why) { refusals.push_back(why); });
    messenger.SetGroup("Tool");
    EXPECT_EQ(messenger.Send("Version", "CALLBACK", "Peer"), platform::GroupMessenger::SendResult::NotJoined);
    std::string error;
    ASSERT_TRUE(messenger.Join("GlobalConnection", error)) << error;

    // For the peer: it answers, and so does the sender itself, both to the sender's group.
    EXPECT_EQ(messenger.Send("Version", "CALLBACK", "Peer"), platform::GroupMessenger::SendResult::Sent);
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::string>{"Peer|RETURN", "Tool|RETURN"}));
    EXPECT_EQ(peer->ReadLine(), "Tool|Version|CALLBACK|Peer");

    // For another group: nobody's receiver hears it, the answers still come.
    heard.clear();
    EXPECT_EQ(messenger.Send("Version", "CALLBACK", "Other"), platform::GroupMessenger::SendResult::Sent);
    EXPECT_EQ(heard.size(), 2u);

    // Command, Kind and To may have 250 bytes together; the whole text 255.
    std::string fields250(244, 'c');
    EXPECT_EQ(messenger.Send(fields250, "x", "Peer"), platform::GroupMessenger::SendResult::TooLong);
    EXPECT_EQ(refusals, std::vector<std::string>{"Message Length Error"});
    EXPECT_EQ(messenger.Send(std::string(243, 'c'), "x", "Peer"), platform::GroupMessenger::SendResult::Sent);
    EXPECT_EQ(peer->ReadLine(), "Tool|" + std::string(243, 'c') + "|x|Peer");
    messenger.SetGroup(std::string(20, 'g'));
    EXPECT_EQ(messenger.Send(std::string(240, 'c'), "x", "Peer"), platform::GroupMessenger::SendResult::TooLong);
    EXPECT_EQ(refusals.size(), 2u);
}

TEST(GroupMessages, FieldsThatWouldNotTravelWholeAreRefused)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> peer(StartPeer());
    ASSERT_EQ(peer->ReadLine(), "ready");
    std::vector<std::string> refusals;
    platform::GroupMessenger messenger(nullptr, [&](const std::string& why) { refusals.push_back(why); });
    messenger.SetGroup("Tool");
    std::string error;
    ASSERT_TRUE(messenger.Join("GlobalConnection", error)) << error;

    using Result = platform::GroupMessenger::SendResult;
    // A "_" would move the rest on: this one would reach Peer although it is for Other.
    EXPECT_EQ(messenger.Send("Note", "x_Peer", "Other"), Result::BadField);
    EXPECT_EQ(messenger.Send("Version", "x", "ALL_Peer"), Result::BadField);
    // "ダウンロード" in code page 932: its first character's second byte is "_".
    EXPECT_EQ(messenger.Send("\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68", "x", "Peer"), Result::BadField);
    EXPECT_EQ(messenger.Send("Hi\nTool_Forged_x_Peer", "x", "Peer"), Result::BadField);
    EXPECT_EQ(messenger.Send("Hi", std::string("x\0y", 3), "Peer"), Result::BadField);
    EXPECT_EQ(messenger.Send("Hi", "x", "Peer\x1b[2J"), Result::BadField);
    EXPECT_EQ(messenger.Send("Hi\x7f", "x", "Peer"), Result::BadField);
    messenger.SetGroup("To_ol");
    EXPECT_EQ(messenger.Send("Hi", "x", "Peer"), Result::BadField);
    EXPECT_EQ(refusals, (std::vector<std::string>{
                            "Message Field Error: Kind holds \"_\", which separates the fields",
                            "Message Field Error: To holds \"_\", which separates the fields",
                            "Message Field Error: Command holds a character whose second byte is \"_\" (0x83 0x5F), "
                            "which separates the fields",
                            "Message Field Error: Command holds the control character 0x0A",
                            "Message Field Error: Kind holds the control character 0x00",
                            "Message Field Error: To holds the control character 0x1B",
                            "Message Field Error: Command holds the control character 0x7F",
                            "Message Field Error: Group holds \"_\", which separates the fields",
                        }));

    // Two-byte characters whose second byte is a "\" or a "[" travel, as does a lead byte that ends
    // a field; the peer hears nothing of the refused ones.
    messenger.SetGroup("Tool");
    std::string soft = "\x83\x5c\x83\x74\x83\x67";
    EXPECT_EQ(messenger.Send(soft + "\x95\x5b", "x", "Peer"), Result::Sent);
    EXPECT_EQ(peer->ReadLine(), "Tool|" + soft + "\x95\x5b|x|Peer");
    EXPECT_EQ(messenger.Send("\x83", "x", "Peer"), Result::Sent);
    EXPECT_EQ(peer->ReadLine(), "Tool|\x83|x|Peer");
    EXPECT_EQ(refusals.size(), 8u);
}
