// The tool window among other running programs: the messages it records and answers, and its icon
// in the notification area with the pop-up menu a click opens.

#include <algorithm>

#include "controls/MemoEx.h"
#include "platform/EventSources.h"
#include "platform/GroupMessages.h"
#include "services/MessageCtrl.h"
#include "services/TrayFace.h"
#include "support/BusParticipant.h"
#include "support/ToolWindowFixture.h"

namespace {

// Another program of group "Tool": sends one message, reports every message its receiver gets
// during the send, then "done".
ChildProcess* SendFromTool(const std::string& command, const std::string& kind, const std::string& to)
{
    return new ChildProcess([=](int report) {
        platform::GroupMessenger tool(
            [report](const platform::GroupMessage& message) {
                Report(report, message.From + "_" + message.Command + "_" + message.Kind + "_" + message.To);
            },
            nullptr);
        tool.SetGroup("Tool");
        std::string error;
        if (!tool.Join("GlobalConnection", error))
            return 3;
        tool.Send(command, kind, to);
        Report(report, "done");
        return 0;
    });
}

// Serves the tool window's messages until the child has sent; answers what the child reported.
std::vector<std::string> ServeUntilDone(ChildProcess& child)
{
    std::vector<std::string> lines;
    for (int turns = 0; turns < 100; ++turns) {
        platform::EventSources::Instance().Serve(50);
        std::string line = child.ReadLine(0);
        while (!line.empty()) {
            if (line == "done")
                return lines;
            lines.push_back(line);
            line = child.ReadLine(0);
        }
    }
    ADD_FAILURE() << "the other program never finished sending";
    return lines;
}

}  // namespace

class InstanceMessagesTest : public ToolWindowFixture {
protected:
    PrivateRuntimeFolder runtime;
};

TEST_F(InstanceMessagesTest, VersionQueriesAreRecordedAndAnsweredWhoeverTheyAreFor)
{
    quorlin::TCodeForm& form = CreateForm();
    EXPECT_EQ(form.MessageCtrl1->Group(), "Quorlin");
    EXPECT_EQ(form.MessageCtrl1->JoinError(), "");
    form.Memo1->Lines().Clear();

    std::unique_ptr<ChildProcess> tool(SendFromTool("Version", "CALLBACK", "Quorlin"));
    std::vector<std::string> answers = ServeUntilDone(*tool);
    EXPECT_EQ(form.Memo1->Lines().Items(),
              (std::vector<std::string>{"Receive Message From : Tool(Version)", "Ver1.1"}));
    std::sort(answers.begin(), answers.end());
    EXPECT_EQ(answers, (std::vector<std::string>{"Quorlin_Version_RETURN_Tool", "Tool_Version_RETURN_Tool"}));

    // Not for the tool window: nothing recorded, the answer still goes out.
    tool.reset(SendFromTool("Version", "CALLBACK", "Other"));
    answers = ServeUntilDone(*tool);
    EXPECT_EQ(form.Memo1->Lines().Count(), 2);
    EXPECT_EQ(std::count(answers.begin(), answers.end(), "Quorlin_Version_RETURN_Tool"), 1);

    // A program without a message loop takes no part.
    auto participants = [this] { return runtime.Endpoints("GlobalConnection").size(); };
    auto before = participants();
    quorlin::TMessageCtrl quiet(nullptr);
    platform::EventSources::Instance().SetListener({});
    quiet.Loaded();
    EXPECT_NE(quiet.JoinError(), "");
    EXPECT_EQ(participants(), before);
    platform::EventSources::Instance().SetListener([](int, bool) {});

    // A plain message to all is recorded without the version line; the window answers nothing.
    tool.reset(SendFromTool("Hello", "Note", "ALL"));
    answers = ServeUntilDone(*tool);
    EXPECT_EQ(form.Memo1->Lines().Items().back(), "Receive Message From : Tool(Hello)");
    EXPECT_EQ(form.Memo1->Lines().Count(), 3);
    EXPECT_EQ(answers, std::vector<std::string>{"Tool_Hello_Note_ALL"});

    // Too long to travel, or a field that would not arrive whole: said, and nothing sent.
    form.MessageCtrl1->Send(std::string(208, 'c'), std::string(40, 'k'), "ALL");
    form.MessageCtrl1->Send("Hello", "Note", "Quorlin_ALL");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Message Length Error", "Message Field Error: To holds \"_\", "
                                                                                 "which separates the fields"}));
    EXPECT_EQ(form.Memo1->Lines().Count(), 3);
    // Its own message to its own group reaches it, as the others'.
    form.MessageCtrl1->Send("Version", "Note", "Quorlin");
    EXPECT_EQ(form.Memo1->Lines().Items().back(), "Ver1.1");
}

TEST_F(InstanceMessagesTest, TrayIconClicksOpenTheMenuAtTheWorkAreasCorner)
{
    quorlin::TCodeForm& form = CreateForm();
    const auto& icons = platform::DefaultTrayArea().Icons();
    ASSERT_EQ(icons.size(), 1u);
    const platform::NotifyIconData& icon = icons.begin()->second;
    EXPECT_EQ(icon.Size, 88u);
    EXPECT_EQ(icon.Id, 1u);
    EXPECT_EQ(icon.Flags, platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP);
    EXPECT_EQ(icon.CallbackMessage, platform::RegisterWindowMessage("trayconnection"));
    EXPECT_STREQ(icon.Tip, "Quorlin");

    desktop.SetWorkArea({100, 20, 1180, 964});
    desktop.QueuePopupChoice(std::nullopt);
    desktop.QueuePopupChoice(std::nullopt);
    platform::TrayWindow* window = icon.Window;
    for (uint32_t action : {platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP, platform::WM_RBUTTONDOWN,
                            platform::WM_RBUTTONUP, platform::WM_LBUTTONDBLCLK})
        window->TrayMessage(icon.CallbackMessage, icon.Id, action);
    window->TrayMessage(icon.CallbackMessage + 1, icon.Id, platform::WM_LBUTTONDOWN);
    EXPECT_EQ(desktop.Popups(), (std::vector<std::string>{"CtrlMenu", "CtrlMenu"}));
    for (const tk::Point& at : desktop.PopupPositions())
        EXPECT_EQ(std::make_pair(at.X, at.Y), std::make_pair(1280, 984));

    delete &form;
    tk::Application::Instance().ProcessMessages();
    EXPECT_TRUE(platform::DefaultTrayArea().Icons().empty());
}

TEST(TrayFace, TipsAreCutTo63BytesWithoutSplittingACharacter)
{
    {
        quorlin::TTrayFace face(nullptr);
        face.SetTips(std::string(70, 't'));
        face.Loaded();
        EXPECT_EQ(std::string(face.IconData().Tip), std::string(63, 't'));
        // A new picture: the area hears of it with the tip only.
        face.SetICON(7);
        const auto& shown = platform::DefaultTrayArea().Icons().begin()->second;
        EXPECT_EQ(shown.Icon, platform::ApplicationIcon);
    }
    EXPECT_TRUE(platform::DefaultTrayArea().Icons().empty());
    quorlin::TTrayFace face(nullptr);
    face.SetTips(std::string(62, 't') + "\x82\xa0");
    face.Loaded();
    EXPECT_EQ(std::string(face.IconData().Tip), std::string(62, 't'));
}
