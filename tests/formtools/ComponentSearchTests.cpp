#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"
#include "controls/MemoEx.h"
#include "formtools/SearchCompoFormUnit.h"

namespace {

using Lines = std::vector<std::string>;

class ComponentSearchTest : public ToolWindowFixture {
protected:
    // The next search window is answered with OK after className was typed.
    void QueueSearch(const std::string& className)
    {
        desktop.QueueModal([className](tk::Form& modal) {
            auto& search = dynamic_cast<quorlin::TSearchCompoForm&>(modal);
            search.ClassNameEdit->SetText(className);
            search.PanelEx2->Click();
        });
    }

    static Lines MemoLines(const quorlin::TCodeForm& form) { return form.Memo1->Lines().Items(); }
};

TEST_F(ComponentSearchTest, CancelWritesNothingAndLeavesTheUnitList)
{
    quorlin::TCodeForm& form = CreateForm();
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    desktop.QueueModal([](tk::Form& modal) {
        auto& search = dynamic_cast<quorlin::TSearchCompoForm&>(modal);
        search.ClassNameEdit->SetText("TButton");
        search.PanelEx1->Click();
    });
    form.N1Click(nullptr);
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"SearchCompoForm"}));
    EXPECT_TRUE(MemoLines(form).empty());
    EXPECT_TRUE(form.UnitCombo->Items().Empty());
    EXPECT_TRUE(host.OpenFiles().empty());
}

TEST_F(ComponentSearchTest, UnitsOpenedForTheSearchAreClosedAgain)
{
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    quorlin::TCodeForm& form = CreateForm();
    form.Memo1->Lines().Add("earlier text");
    ASSERT_TRUE(host.OpenFile(Sample("Shapes.pas")));
    QueueSearch("");
    form.N1Click(nullptr);

    // The refreshed unit list opened its first unit; the search closed what it opened itself.
    EXPECT_EQ(Entries(*form.UnitCombo).size(), 4u);
    EXPECT_EQ(host.OpenFiles(), (Lines{Sample("Shapes.pas"), Sample("Consts.pas")}));
    EXPECT_EQ(MemoLines(form), (Lines{"earlier text", "SearchResult :"}));
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(ComponentSearchTest, AUnitThatCannotBeOpenedIsReportedAndTheSearchGoesOn)
{
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    quorlin::TCodeForm& form = CreateForm();
    form.MakeUnitList();
    std::filesystem::remove(Sample("Shapes.pas"));
    form.SearchComponents(Sample("Shapes.dfm"), {"TButton"});
    std::string cannotOpen = "ファイルを開くことができません。:" + Sample("Shapes.pas");
    EXPECT_EQ(MemoLines(form), (Lines{cannotOpen}));
    EXPECT_EQ(MessageTexts(), (Lines{cannotOpen, "Error of FormModuleInt :" + Sample("Shapes.pas")}));
}

}  // namespace
