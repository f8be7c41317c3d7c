#include "services/HistoryUnit.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "platform/HostFolder.h"
#include "toolkit/Application.h"
#include "toolkit/ScriptedDesktop.h"

namespace {

using namespace quorlin;

class HistoryFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        tk::Application::Instance().SetDesktop(&desktop_);
        platform::SetHostFolder(folder_.Path() + "/");
        projects_.SetIniName("Quorlin.Dat");
        jumps_.SetIniName("Quorlin.Jmp");
        jumps_.AddItem("MethodJumpHistory", "procedure TForm1.zeta;");
        jumps_.AddItem("MethodJumpHistory", "procedure TForm1.Alpha;");
        jumps_.AddItem("MethodJumpHistory", "procedure TForm1.beta;");
    }
    void TearDown() override { tk::Application::Instance().SetDesktop(nullptr); }

    std::vector<std::string> Shown(THistoryForm& form) { return form.HistoryList->Items().Items(); }

    TempFolder folder_;
    tk::ScriptedDesktop desktop_;
    TMRUEx projects_{nullptr};
    TMRUEx jumps_{nullptr};
};

TEST_F(HistoryFormTest, LayoutAndFilling)
{
    THistoryForm form(nullptr, &projects_, &jumps_);
    EXPECT_EQ(form.Name(), "HistoryForm");
    EXPECT_EQ(form.Width(), 580);
    EXPECT_EQ(form.Height(), 409);
    EXPECT_EQ(form.GetBorderIcons(), tk::biSystemMenu);
    EXPECT_EQ(form.HistoryList->Height() + 35, form.ClientHeight());
    EXPECT_EQ(form.SortPanel->Width(), 151);
    EXPECT_EQ(form.ClosePanel->Width(), 155);
    EXPECT_EQ(form.OpenPanel->Width(), form.ClientWidth() - 151 - 155);
    EXPECT_EQ(form.ClosePanel->Caption(), "閉じる［ESCAPE］");
    EXPECT_EQ(form.FindComponent("WinSave1"), form.WinSave1);

    EXPECT_FALSE(form.LoadProjects());  // empty history: the caller shows nothing
    projects_.AddItem("ProjectHistory", "/p/Two.dpr");
    projects_.AddItem("ProjectHistory", "/p/One.dpr");
    EXPECT_TRUE(form.LoadProjects());
    EXPECT_EQ(form.Kind, 0);
    EXPECT_EQ(form.Caption(), "プロジェクトの選択");
    EXPECT_EQ(form.OpenPanel->Caption(), "プロジェクトを開く［RETURN］");
    EXPECT_EQ(Shown(form), (std::vector<std::string>{"/p/One.dpr", "/p/Two.dpr"}));

    EXPECT_TRUE(form.LoadJumps());
    EXPECT_EQ(form.Kind, 1);
    EXPECT_EQ(form.Caption(), "ジャンプ履歴の選択");
    EXPECT_EQ(form.OpenPanel->Caption(), "選択位置にジャンプ［RETURN］");
    EXPECT_EQ(Shown(form).size(), 3u);
}

TEST_F(HistoryFormTest, ChoosingAndCancelling)
{
    // Enter after moving down chooses the second entry.
    desktop_.QueueModal([](tk::Form& f) {
        auto& form = static_cast<THistoryForm&>(f);
        form.SetActive(true);
        EXPECT_EQ(form.HistoryList->ItemIndex(), 0);
        form.HistoryList->HandleKeyDown(tk::VK_DOWN, 0);
        form.HistoryList->HandleKeyDown(tk::VK_RETURN, 0);
    });
    {
        THistoryForm form(nullptr, &projects_, &jumps_);
        ASSERT_TRUE(form.LoadJumps());
        EXPECT_EQ(form.ShowModal(), tk::mrOk);
        EXPECT_EQ(form.Result(), "procedure TForm1.Alpha;");
    }
    desktop_.QueueModal([](tk::Form& f) {
        auto& form = static_cast<THistoryForm&>(f);
        form.HistoryList->ClickItem(2);
        form.HistoryList->DblClick();
    });
    {
        THistoryForm form(nullptr, &projects_, &jumps_);
        ASSERT_TRUE(form.LoadJumps());
        EXPECT_EQ(form.ShowModal(), tk::mrOk);
        EXPECT_EQ(form.Result(), "procedure TForm1.zeta;");
    }
    desktop_.QueueModal([](tk::Form& f) {
        auto& form = static_cast<THistoryForm&>(f);
        form.HistoryList->HandleKeyDown(tk::VK_SPACE, 0);
        EXPECT_EQ(form.Result(), "procedure TForm1.beta;");
        form.HistoryList->HandleKeyDown(tk::VK_ESCAPE, 0);
    });
    {
        THistoryForm form(nullptr, &projects_, &jumps_);
        ASSERT_TRUE(form.LoadJumps());
        EXPECT_EQ(form.ShowModal(), tk::mrCancel);
        EXPECT_EQ(form.Result(), "");
    }
    desktop_.QueueModal([](tk::Form& f) { static_cast<THistoryForm&>(f).OpenPanel->Click(); });
    desktop_.QueueModal([](tk::Form& f) { static_cast<THistoryForm&>(f).ClosePanel->Click(); });
    {
        THistoryForm form(nullptr, &projects_, &jumps_);
        ASSERT_TRUE(form.LoadJumps());
        EXPECT_EQ(form.ShowModal(), tk::mrOk);
        EXPECT_EQ(form.Result(), "procedure TForm1.beta;");
        EXPECT_EQ(form.ShowModal(), tk::mrCancel);
        EXPECT_EQ(form.Result(), "");
    }
}

TEST_F(HistoryFormTest, SortingChangesOnlyTheDisplay)
{
    THistoryForm form(nullptr, &projects_, &jumps_);
    ASSERT_TRUE(form.LoadJumps());
    std::vector<std::string> history = Shown(form);

    form.HistoryList->HandleKeyDown(tk::VK_F1, 0);
    EXPECT_TRUE(form.Sorted);
    EXPECT_EQ(Shown(form), (std::vector<std::string>{"procedure TForm1.Alpha;", "procedure TForm1.beta;",
                                                     "procedure TForm1.zeta;"}));
    EXPECT_EQ(form.SortPanel->BevelOuter, tk::Bevel::Lowered);
    EXPECT_EQ(form.SortPanel->BevelInner, tk::Bevel::Lowered);

    form.SortPanel->Click();
    EXPECT_FALSE(form.Sorted);
    EXPECT_EQ(Shown(form), history);
    EXPECT_EQ(form.SortPanel->BevelOuter, tk::Bevel::Raised);
    tk::Strings stored;
    jumps_.ReadItems(stored, "MethodJumpHistory");
    EXPECT_EQ(stored.Items(), history);

    // The panels light up under the mouse.
    tk::Color before = form.OpenPanel->GetColor();
    form.OpenPanel->MouseEnter();
    EXPECT_EQ(form.OpenPanel->GetColor(), tk::clYellow);
    form.OpenPanel->MouseLeave();
    EXPECT_EQ(form.OpenPanel->GetColor(), before);
}

}  // namespace
