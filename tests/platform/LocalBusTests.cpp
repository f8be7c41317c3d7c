// The local bus between processes: delivery to every participant in turn, replies during a send,
// participants that went or hang, and the folder and credential checks that keep other users out.

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/LocalBus.h"
#include "support/BusParticipant.h"

namespace {

// Joins the channel under address in a child, reports "ready" and then each text it handles,
// prefixed with the child's name; with answer, sends "re:" + text from inside the handling.
ChildProcess* StartParticipant(const std::string& name, bool answer = false, const std::string& address = "")
{
    return new ChildProcess([name, answer, address](int report) {
        std::string error;
        std::unique_ptr<platform::LocalBus> bus;
        bus = platform::LocalBus::Join(
            "Test", address,
            [&](const std::string& text) {
                Report(report, name + ":" + text);
                if (answer && text.rfind("re:", 0) != 0)
                    bus->Send("re:" + text);
            },
            error);
        if (!bus)
            return 3;
        Report(report, "ready");
        for (;;) {
            pollfd wait{bus->Descriptor(), POLLIN, 0};
            poll(&wait, 1, -1);
            bus->Serve();
        }
    });
}

// The endpoint names of the channel "Test", in the order of joining.
std::vector<std::string> Endpoints(const PrivateRuntimeFolder& runtime)
{
    std::vector<std::string> names;
    for (const std::string& path : runtime.Endpoints("Test"))
        names.push_back(std::filesystem::path(path).filename().string());
    return names;
}

}  // namespace

TEST(LocalBus, EveryParticipantHandlesTheTextInJoinOrderTheSenderIncluded)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> first(StartParticipant("first"));
    ASSERT_EQ(first->ReadLine(), "ready");
    std::vector<std::string> heard;
    std::string error;
    auto bus = platform::LocalBus::Join("Test", "", [&](const std::string& text) { heard.push_back("me:" + text); },
                                        error);
    ASSERT_TRUE(bus) << error;
    std::unique_ptr<ChildProcess> last(StartParticipant("last"));
    ASSERT_EQ(last->ReadLine(), "ready");

    std::vector<std::string> endpoints = Endpoints(runtime);
    ASSERT_EQ(endpoints.size(), 3u);
    EXPECT_EQ(endpoints[1], bus->EndpointName());
    struct stat info {};
    ASSERT_EQ(stat(runtime.Channel("Test").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_EQ(bus->Send("日本語 text"), 3);
    EXPECT_EQ(first->ReadLine(), "first:日本語 text");
    EXPECT_EQ(heard, std::vector<std::string>{"me:日本語 text"});
    EXPECT_EQ(last->ReadLine(), "last:日本語 text");

    // A text too long for a message goes nowhere.
    EXPECT_EQ(bus->Send(std::string(platform::LocalBus::MaxText + 1, 'x')), 0);
    EXPECT_EQ(bus->Send(std::string(platform::LocalBus::MaxText, 'x')), 3);
    EXPECT_EQ(first->ReadLine(), "first:" + std::string(platform::LocalBus::MaxText, 'x'));
    EXPECT_EQ(heard.size(), 2u);

    bus.reset();
    EXPECT_EQ(Endpoints(runtime).size(), 2u);
}

TEST(LocalBus, RepliesSentWhileHandlingReachTheWaitingSender)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> first(StartParticipant("first", true));
    std::unique_ptr<ChildProcess> second(StartParticipant("second", true));
    ASSERT_EQ(first->ReadLine(), "ready");
    ASSERT_EQ(second->ReadLine(), "ready");
    std::vector<std::string> heard;
    std::string error;
    auto bus = platform::LocalBus::Join("Test", "", [&](const std::string& text) { heard.push_back(text); }, error);
    ASSERT_TRUE(bus) << error;

    EXPECT_EQ(bus->Send("ask"), 3);
    // Both answers came while the sender waited; each child also heard its own and the other's.
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::string>{"ask", "re:ask", "re:ask"}));
    std::vector<std::string> firstHeard;
    for (int i = 0; i < 3; ++i)
        firstHeard.push_back(first->ReadLine());
    std::sort(firstHeard.begin(), firstHeard.end());
    EXPECT_EQ(firstHeard, (std::vector<std::string>{"first:ask", "first:re:ask", "first:re:ask"}));
}

TEST(LocalBus, ParticipantsThatWentAreRemovedAndHungOnesGivenUp)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> gone(StartParticipant("gone"));
    std::unique_ptr<ChildProcess> hung(StartParticipant("hung"));
    std::unique_ptr<ChildProcess> alive(StartParticipant("alive"));
    for (auto* child : {gone.get(), hung.get(), alive.get()})
        ASSERT_EQ(child->ReadLine(), "ready");
    auto endpointOf = [&](const ChildProcess& child) {
        std::string pid = "-" + std::to_string(child.Pid()) + "-";
        for (const std::string& name : Endpoints(runtime))
            if (name.find(pid) != std::string::npos)
                return name;
        return std::string();
    };
    std::string goneEndpoint = endpointOf(*gone);
    std::string hungEndpoint = endpointOf(*hung);
    ASSERT_FALSE(goneEndpoint.empty());
    kill(gone->Pid(), SIGKILL);
    gone->Wait();
    kill(hung->Pid(), SIGSTOP);

    std::string error;
    auto bus = platform::LocalBus::Join("Test", "", nullptr, error);
    ASSERT_TRUE(bus) << error;
    bus->SetReplyTimeout(300);
    EXPECT_EQ(bus->Send("hello"), 2);
    EXPECT_EQ(alive->ReadLine(), "alive:hello");
    std::vector<std::string> after = Endpoints(runtime);
    EXPECT_EQ(std::count(after.begin(), after.end(), goneEndpoint), 0) << "the gone participant's endpoint stays";
    EXPECT_EQ(std::count(after.begin(), after.end(), hungEndpoint), 1) << "a hung participant is not removed";

    // Once it runs again, the hung participant gets what was queued for it.
    kill(hung->Pid(), SIGCONT);
    EXPECT_EQ(hung->ReadLine(), "hung:hello");
}

TEST(LocalBus, TextsForAnAddressReachOnlyItsParticipants)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> first(StartParticipant("first", false, "A"));
    std::unique_ptr<ChildProcess> second(StartParticipant("second", false, "B"));
    std::unique_ptr<ChildProcess> third(StartParticipant("third", false, "A"));
    for (auto* child : {first.get(), second.get(), third.get()})
        ASSERT_EQ(child->ReadLine(), "ready");
    std::vector<std::string> heard;
    std::string error;
    auto bus = platform::LocalBus::Join("Test", "B", [&](const std::string& text) { heard.push_back(text); }, error);
    ASSERT_TRUE(bus) << error;

    EXPECT_EQ(bus->SendTo("A", "for A"), 2);
    EXPECT_EQ(first->ReadLine(), "first:for A");
    EXPECT_EQ(third->ReadLine(), "third:for A");
    EXPECT_EQ(bus->SendTo("B", "for B"), 2);
    EXPECT_EQ(heard, std::vector<std::string>{"for B"});
    EXPECT_EQ(bus->SendTo("C", "for C"), 0);

    // Moved, it hears what is for its new address only.
    ASSERT_TRUE(bus->MoveTo("A", error)) << error;
    EXPECT_EQ(bus->SendTo("B", "for B again"), 1);
    EXPECT_EQ(bus->SendTo("A", "for A again"), 3);
    EXPECT_EQ(bus->Send("for all"), 4);
    EXPECT_EQ(heard, (std::vector<std::string>{"for B", "for A again", "for all"}));
    EXPECT_EQ(second->ReadLine(), "second:for B");
    EXPECT_EQ(second->ReadLine(), "second:for B again");
    EXPECT_EQ(second->ReadLine(), "second:for all");
    EXPECT_EQ(first->ReadLine(), "first:for A again");
    EXPECT_EQ(first->ReadLine(), "first:for all");
    EXPECT_EQ(runtime.Endpoints("Test").size(), 4u);
}

TEST(LocalBus, AConnectionThatSendsNothingHoldsUpNoOther)
{
    PrivateRuntimeFolder runtime;
    // A receiver with a reply timeout far longer than the sender's: how long it waits for a
    // connection's text must not depend on it.
    ChildProcess receiver([](int report) {
        std::string error;
        auto bus = platform::LocalBus::Join(
            "Test", "", [&](const std::string& text) { Report(report, text); }, error);
        if (!bus)
            return 3;
        bus->SetReplyTimeout(60000);
        Report(report, "ready");
        for (;;) {
            pollfd wait{bus->Descriptor(), POLLIN, 0};
            poll(&wait, 1, -1);
            bus->Serve();
        }
    });
    ASSERT_EQ(receiver.ReadLine(), "ready");
    std::string endpoint = runtime.Endpoints("Test").at(0);
    int silent = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    endpoint.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    std::string error;
    auto bus = platform::LocalBus::Join("Test", "", nullptr, error);
    ASSERT_TRUE(bus) << error;
    bus->SetReplyTimeout(5000);
    EXPECT_EQ(bus->Send("hello"), 2);
    EXPECT_EQ(receiver.ReadLine(), "hello");
    // The silent connection is closed in the end, unread.
    pollfd wait{silent, POLLIN, 0};
    EXPECT_EQ(poll(&wait, 1, 5000), 1);
    char byte = 0;
    EXPECT_EQ(read(silent, &byte, 1), 0);
    close(silent);
}

TEST(LocalBus, FoldersOthersCanEnterOrOwnAreRefused)
{
    PrivateRuntimeFolder runtime;
    std::string folder = runtime.Path() + "/quorlin";
    std::string error;

    // Any bit for the group or for others is one too many, in the private folder and in a channel's.
    for (mode_t mode : {0755, 0750, 0705, 0720, 0701}) {
        char octal[8];
        std::snprintf(octal, sizeof(octal), "%04o", static_cast<unsigned>(mode));
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(chmod(folder.c_str(), mode), 0);
        EXPECT_FALSE(platform::LocalBus::Join("Test", "", nullptr, error)) << octal;
        EXPECT_NE(error.find(octal), std::string::npos) << error;
        ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
        ASSERT_EQ(mkdir((folder + "/Test").c_str(), 0700), 0);
        ASSERT_EQ(chmod((folder + "/Test").c_str(), mode), 0);
        EXPECT_FALSE(platform::LocalBus::Join("Test", "", nullptr, error)) << octal;
        EXPECT_NE(error.find(folder + "/Test: mode " + octal), std::string::npos) << error;
        std::filesystem::remove_all(folder);
    }

    std::string elsewhere = runtime.Path() + "/elsewhere";
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(symlink(elsewhere.c_str(), folder.c_str()), 0);
    EXPECT_FALSE(platform::LocalBus::Join("Test", "", nullptr, error));
    EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
    ASSERT_EQ(unlink(folder.c_str()), 0);

    EXPECT_FALSE(platform::LocalBus::Join("../Test", "", nullptr, error));

    if (geteuid() == 0) {
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
        EXPECT_FALSE(platform::LocalBus::Join("Test", "", nullptr, error));
        EXPECT_NE(error.find("owned by user 65534"), std::string::npos) << error;
        ASSERT_EQ(rmdir(folder.c_str()), 0);
    }

    EXPECT_TRUE(platform::LocalBus::Join("Test", "", nullptr, error)) << error;
}

TEST(LocalBus, ConnectionsFromAnotherUserAreNeverDelivered)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to run the other side under another user id";
    PrivateRuntimeFolder runtime;
    std::vector<std::string> heard;
    std::string error;
    auto bus = platform::LocalBus::Join("Test", "", [&](const std::string& text) { heard.push_back(text); }, error);
    ASSERT_TRUE(bus) << error;
    // Open the way for the other user, so that only the credential check stands between.
    std::string endpoint = runtime.Endpoints("Test").at(0);
    std::string address = std::filesystem::path(endpoint).parent_path().string();
    for (const std::string& folder : {runtime.Path(), runtime.Path() + "/quorlin", runtime.Channel("Test"), address})
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(chmod(endpoint.c_str(), 0777), 0);

    ChildProcess stranger([&](int report) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            return 3;
        int connection = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        endpoint.copy(address.sun_path, sizeof(address.sun_path) - 1);
        if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
            return 4;
        std::string frame = std::string(1, 5) + "intro";
        if (write(connection, frame.data(), frame.size()) != 6)
            return 5;
        Report(report, "sent");
        char answer = 0;
        return read(connection, &answer, 1) == 1 ? 6 : 0;
    });
    ASSERT_EQ(stranger.ReadLine(), "sent");
    pollfd wait{bus->Descriptor(), POLLIN, 0};
    ASSERT_EQ(poll(&wait, 1, 5000), 1);
    bus->Serve();
    EXPECT_EQ(stranger.Wait(), 0) << "the stranger was answered";
    EXPECT_TRUE(heard.empty());
}
