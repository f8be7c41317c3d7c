// The four-field messages of named groups: how a text splits, what is too long to send, and the
// automatic answer to a "CALLBACK" whoever it is for.

#include <poll.h>

#include <algorithm>

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
    // The other program: group "Peer", reports every message that reaches its receiver.
    ChildProcess peer([](int report) {
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
    ASSERT_EQ(peer.ReadLine(), "ready");

    std::vector<std::string> heard;
    int refused = 0;
    platform::GroupMessenger messenger(
        [&](const platform::GroupMessage& message) { heard.push_back(message.From + "|" + message.Kind); },
        [&] { ++refused; });
    messenger.SetGroup("Tool");
    EXPECT_EQ(messenger.Send("Version", "CALLBACK", "Peer"), platform::GroupMessenger::SendResult::NotJoined);
    std::string error;
    ASSERT_TRUE(messenger.Join("GlobalConnection", error)) << error;

    // For the peer: it answers, and so does the sender itself, both to the sender's group.
    EXPECT_EQ(messenger.Send("Version", "CALLBACK", "Peer"), platform::GroupMessenger::SendResult::Sent);
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::string>{"Peer|RETURN", "Tool|RETURN"}));
    EXPECT_EQ(peer.ReadLine(), "Tool|Version|CALLBACK|Peer");

    // For another group: nobody's receiver hears it, the answers still come.
    heard.clear();
    EXPECT_EQ(messenger.Send("Version", "CALLBACK", "Other"), platform::GroupMessenger::SendResult::Sent);
    EXPECT_EQ(heard.size(), 2u);

    // Command, Kind and To may have 250 bytes together; the whole text 255.
    std::string fields250(244, 'c');
    EXPECT_EQ(messenger.Send(fields250, "x", "Peer"), platform::GroupMessenger::SendResult::TooLong);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(messenger.Send(std::string(243, 'c'), "x", "Peer"), platform::GroupMessenger::SendResult::Sent);
    EXPECT_EQ(peer.ReadLine(), "Tool|" + std::string(243, 'c') + "|x|Peer");
    messenger.SetGroup(std::string(20, 'g'));
    EXPECT_EQ(messenger.Send(std::string(240, 'c'), "x", "Peer"), platform::GroupMessenger::SendResult::TooLong);
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(messenger.Send("Version", "x", "ALL_Peer"), platform::GroupMessenger::SendResult::Sent);
    EXPECT_EQ(peer.ReadLine(), std::string(20, 'g') + "|Version|x|ALL");
}
