#include <gtest/gtest.h>

#include "formtools/CompoListFormUnit.h"
#include "formtools/GadgetFixture.h"
#include "platform/HostFolder.h"

namespace {

using quorlin::TCompoListForm;

class CompoListTest : public GadgetFixture {
protected:
    // Opens the palette list and runs steps in it while it is shown.
    void WithPaletteWindow(std::function<void(TCompoListForm&)> steps)
    {
        quorlin::TCodeForm& form = CreateForm();
        desktop.QueueModal([steps](tk::Form& modal) { steps(dynamic_cast<TCompoListForm&>(modal)); });
        form.CompoDisplayMenu->Click();
        ASSERT_EQ(desktop.ModalRuns(), (Lines{"CompoListForm"}));
    }

    static void Click(tk::ListBox& list, const std::string& row) { list.ClickItem(list.Items().IndexOf(row)); }

    // An explanation file as the window writes it: code page 932 lines, each ended by CR LF.
    std::string Explanation(const std::string& name) const { return ReadFile(platform::HostFolder() + name); }
};

TEST_F(CompoListTest, PackagesInHostOrderAndEachOnesClassesSorted)
{
    Lines packages;
    Lines gadgets;
    std::string gadgetCount;
    Lines empty{"not shown"};
    std::string emptyCount;
    WithPaletteWindow([&](TCompoListForm& window) {
        packages = window.PackageList->Items().Items();
        Click(*window.PackageList, "Test Gadgets");
        gadgets = window.CompoList->Items().Items();
        gadgetCount = window.NofCompoLabel->Caption();
        Click(*window.PackageList, "Empty Pack");
        empty = window.CompoList->Items().Items();
        emptyCount = window.NofCompoLabel->Caption();
    });
    ASSERT_GE(packages.size(), 3u);
    EXPECT_EQ(Lines(packages.end() - 3, packages.end()), (Lines{"Test Gadgets", "Empty Pack", "../Outside"}));
    EXPECT_EQ(packages.front(), "Common Controls");
    EXPECT_EQ(gadgets, (Lines{"tbaregadget", "TGadget"}));
    EXPECT_EQ(gadgetCount, "2");
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(emptyCount, "0");
}

TEST_F(CompoListTest, ExplanationsAreKeptPerPackageAndComponent)
{
    Lines shown;
    WithPaletteWindow([&](TCompoListForm& window) {
        Click(*window.PackageList, "Test Gadgets");
        Click(*window.CompoList, "TGadget");
        shown.push_back(window.CompoMemo->Text());
        window.CompoMemo->Lines().Assign({"ガジェット", "second line"});
        window.UpdateButton->Click();
        Click(*window.CompoList, "tbaregadget");
        shown.push_back(window.CompoMemo->Text());
        // Another package leaves the memo as it is until one of its components is clicked.
        Click(*window.CompoList, "TGadget");
        Click(*window.PackageList, "Empty Pack");
        shown.push_back(window.CompoMemo->Text());
        // A package chosen but no component: the package's own file.
        window.CompoMemo->Lines().Assign({"package note"});
        window.UpdateButton->Click();
    });
    EXPECT_EQ(shown, (Lines{"", "", "ガジェット\r\nsecond line\r\n"}));
    EXPECT_EQ(Explanation("Test GadgetsTGadget_説明.txt"), "ガジェット\r\nsecond line\r\n");
    EXPECT_EQ(Explanation("Empty Pack_説明.txt"), "package note\r\n");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(CompoListTest, ExplanationFilesStayInTheHostFolder)
{
    WithPaletteWindow([&](TCompoListForm& window) {
        EXPECT_EQ(window.ExplanationFileName(), platform::HostFolder() + "_説明.txt");
        window.UpdateButton->Click();  // nothing chosen: an empty file of that name
        Click(*window.PackageList, "../Outside");
        Click(*window.CompoList, "tbaregadget");
        window.CompoMemo->Lines().Assign({"inside"});
        window.UpdateButton->Click();
    });
    EXPECT_EQ(Explanation("_説明.txt"), "");
    EXPECT_EQ(Explanation("Outsidetbaregadget_説明.txt"), "inside\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/../Outsidetbaregadget_説明.txt"));
}

TEST_F(CompoListTest, AFileThatCannotBeWrittenIsReportedAndTheTextStays)
{
    std::filesystem::create_directory(platform::HostFolder() + "Empty PackTGadget_説明.txt");
    std::string kept;
    WithPaletteWindow([&](TCompoListForm& window) {
        Click(*window.PackageList, "Empty Pack");
        // A class chosen from the list of another package is still joined to the chosen package.
        window.CompoList->Items().Add("TGadget");
        Click(*window.CompoList, "TGadget");
        window.CompoMemo->Lines().Assign({"text"});
        window.UpdateButton->Click();
        kept = window.CompoMemo->Text();
    });
    EXPECT_EQ(MessageTexts(),
              (Lines{"ﾌｧｲﾙ " + platform::HostFolder() + "Empty PackTGadget_説明.txt を作成できません"}));
    EXPECT_EQ(kept, "text\r\n");
}

}  // namespace
