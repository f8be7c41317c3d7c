// quorlin send and quorlin listen in separate processes, as two terminals would run them.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/LocalBus.h"
#include "support/BusParticipant.h"

namespace {

const std::string quorlinBinary = std::string(QUORLIN_BINARY_DIR) + "/bin/quorlin";

// quorlin with arguments, its standard output (and error, when asked) readable line by line.
ChildProcess* Quorlin(std::vector<std::string> arguments, bool withErrors = false)
{
    return new ChildProcess([arguments, withErrors](int report) {
        dup2(report, STDOUT_FILENO);
        if (withErrors)
            dup2(report, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(quorlinBinary.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(quorlinBinary.c_str(), argv.data());
        return 127;
    });
}

// Waits until the channel has that many participants.
bool WaitForParticipants(const PrivateRuntimeFolder& runtime, size_t count)
{
    for (int turn = 0; turn < 500; ++turn) {
        if (runtime.Endpoints("GlobalConnection").size() == count)
            return true;
        usleep(10000);
    }
    return false;
}

}  // namespace

TEST(MessageCommands, ListenersPrintWhatIsForThemAndAnswerCallbacks)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> quorlin(Quorlin({"listen", "--group", "Quorlin", "--count", "2"}));
    std::unique_ptr<ChildProcess> other(Quorlin({"listen", "--group=Other"}));
    ASSERT_TRUE(WaitForParticipants(runtime, 2));

    std::unique_ptr<ChildProcess> send(Quorlin({"send", "--group", "Tool", "Version", "CALLBACK", "Quorlin"}));
    std::vector<std::string> answers{send->ReadLine(), send->ReadLine(), send->ReadLine()};
    EXPECT_EQ(send->Wait(), 0);
    std::sort(answers.begin(), answers.end());
    EXPECT_EQ(answers, (std::vector<std::string>{"Other_Version_RETURN_Tool", "Quorlin_Version_RETURN_Tool",
                                                 "Tool_Version_RETURN_Tool"}));
    EXPECT_EQ(quorlin->ReadLine(), "Tool_Version_CALLBACK_Quorlin");

    // Japanese text travels in code page 932 and is shown in UTF-8 again; --raw shows the bytes.
    send.reset(Quorlin({"send", "挨拶", "ノート", "ALL"}));
    EXPECT_EQ(send->ReadLine(), "Console_挨拶_ノート_ALL");
    EXPECT_EQ(send->Wait(), 0);
    EXPECT_EQ(quorlin->ReadLine(), "Console_挨拶_ノート_ALL");
    EXPECT_EQ(other->ReadLine(), "Console_挨拶_ノート_ALL");
    EXPECT_EQ(quorlin->Wait(), 0) << "listen --count 2 ends after two messages";

    send.reset(Quorlin({"--raw", "send", "\x88\xa5", "x", "Other"}));
    EXPECT_EQ(send->Wait(), 0);
    EXPECT_EQ(other->ReadLine(), "Console_挨_x_Other");
    ASSERT_TRUE(WaitForParticipants(runtime, 1));
    kill(other->Pid(), SIGTERM);
    EXPECT_EQ(other->Wait(), 0);
    EXPECT_TRUE(WaitForParticipants(runtime, 0)) << "a listener ended by a signal leaves no endpoint";
}

TEST(MessageCommands, FieldsThatWouldNotTravelWholeAreRefusedAndReceivedControlsShownEscaped)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> listener(Quorlin({"listen"}));
    std::unique_ptr<ChildProcess> raw(Quorlin({"--raw", "listen"}));
    ASSERT_TRUE(WaitForParticipants(runtime, 2));

    for (const std::vector<std::string>& refused : {
             std::vector<std::string>{"send", "Get_Version", "Note", "ALL"},
             {"send", "ダウンロード", "Note", "ALL"},
             {"send", "Hi\nConsole_Forged_Note_ALL", "Note", "ALL"},
             {"--raw", "send", "Hi", "Note\x1b[2J", "ALL"},
             {"send", "--group", "A_B", "Hi", "Note", "ALL"},
             {"listen", "--group", "A_B"},
         }) {
        std::unique_ptr<ChildProcess> send(Quorlin(refused, true));
        EXPECT_NE(send->ReadLine().find("quorlin: Message Field Error: "), std::string::npos) << refused[1];
        EXPECT_EQ(send->Wait(2000), 1) << refused[1];
    }

    // Another program may still send such bytes: the listeners show them on one line each (the
    // first line each prints: nothing refused reached them).
    std::string error;
    auto other = platform::LocalBus::Join("GlobalConnection", "Evil", nullptr, error);
    ASSERT_TRUE(other) << error;
    EXPECT_EQ(other->Send(std::string("Evil_Hi\nQuorlin_Version\x1b[2J") + '\0' + "_ALL"), 3);
    EXPECT_EQ(listener->ReadLine(), "Evil_Hi\\x0aQuorlin_Version\\x1b[2J\\x00_ALL");
    EXPECT_EQ(raw->ReadLine(), "Evil_Hi\\x0aQuorlin_Version\\x1b[2J\\x00_ALL");
    // A "\" as the second byte of a character is no separator and travels.
    std::unique_ptr<ChildProcess> send(Quorlin({"send", "ソフト", "Note", "ALL"}));
    EXPECT_EQ(send->Wait(), 0);
    EXPECT_EQ(listener->ReadLine(), "Console_ソフト_Note_ALL");
    EXPECT_EQ(raw->ReadLine(), "Console_\x83\x5c\x83\x74\x83\x67_Note_ALL");
}

TEST(MessageCommands, RefusedMessagesAndWrongArguments)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> send(Quorlin({"send", std::string(246, 'c'), "x", "ALL"}, true));
    EXPECT_EQ(send->ReadLine(), "quorlin: Message Length Error");
    EXPECT_EQ(send->Wait(), 1);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"send", "Version", "CALLBACK"}, {"listen", "extra"}, {"listen", "--count", "0"},
          {"units", "--group", "x", "a.dpr"}}) {
        send.reset(Quorlin(wrong, true));
        EXPECT_EQ(send->Wait(), 2);
    }

    // A bus folder that the group or others may enter is refused at once by both commands.
    ASSERT_EQ(chmod(runtime.Path().c_str(), 0700), 0);
    std::string folder = runtime.Path() + "/quorlin";
    std::filesystem::create_directory(folder);
    for (unsigned mode : {0750u, 0705u}) {
        std::filesystem::permissions(folder, std::filesystem::perms(mode));
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"listen"}, {"send", "Version", "Note", "ALL"}}) {
            send.reset(Quorlin(command, true));
            std::string said = send->ReadLine();
            EXPECT_NE(said.find("cannot take part in messages"), std::string::npos) << command[0] << ": " << said;
            EXPECT_EQ(send->Wait(2000), 1) << command[0] << " with the folder's mode " << std::oct << mode;
        }
    }
}

TEST(MessageCommands, ListenWithJsonGivesEachMessagesFieldsInUtf8)
{
    PrivateRuntimeFolder runtime;
    std::unique_ptr<ChildProcess> listener(Quorlin({"--raw", "listen", "--json", "--group", "Json", "--count", "1"}));
    ASSERT_TRUE(WaitForParticipants(runtime, 1));
    std::unique_ptr<ChildProcess> send(Quorlin({"send", "--group", "Tool", "挨拶", "ノート", "Json"}));
    EXPECT_EQ(send->Wait(), 0);
    EXPECT_EQ(listener->ReadLine(), R"({"from":"Tool","command":"挨拶","kind":"ノート","to":"Json"})");
    EXPECT_EQ(listener->Wait(), 0);
}
