#include <gtest/gtest.h>

#include "formtools/GadgetFixture.h"
#include "formtools/NameChangeFormUnit.h"

namespace {

using quorlin::TNameChangeForm;

class NameChangeTest : public GadgetFixture {
protected:
    // Opens the rename window and runs steps in it while it is shown.
    void WithRenameWindow(quorlin::TCodeForm& form, std::function<void(TNameChangeForm&)> steps)
    {
        desktop.QueueModal([steps](tk::Form& modal) { steps(dynamic_cast<TNameChangeForm&>(modal)); });
        form.ChaneNameMenuItem->Click();
        EXPECT_EQ(desktop.ModalRuns().back(), "NameChangeForm");
    }

    static void Choose(TNameChangeForm& window, const std::string& name)
    {
        window.CompoListBox->ClickItem(window.CompoListBox->Items().IndexOf(name));
    }

    static void Rename(TNameChangeForm& window, const std::string& newName)
    {
        window.PropNameEdit->SetText(newName);
        window.Button1->Click();
    }

    std::string original(const std::string& name) const
    {
        return ReadFile(std::string(QUORLIN_SOURCE_DIR) + "/tests/data/formtools/Gadgets/" + name);
    }
};

TEST_F(NameChangeTest, ARenameChangesTheRowTheDesignerAndOnSaveOnlyThatName)
{
    quorlin::TCodeForm& form = FormWithSelection({"Gadget1"});
    Lines rows;
    Lines properties;
    WithRenameWindow(form, [&](TNameChangeForm& window) {
        rows = window.CompoListBox->Items().Items();
        properties = window.PropListBox->Items().Items();
        Choose(window, "Gadget1");
        Rename(window, "OkGadget");
        rows.emplace_back(window.CompoListBox->Items()[0]);
        // Several renames in one opening.
        Choose(window, "Plain");
        Rename(window, "Simple");
        rows.emplace_back(window.CompoListBox->Items()[2]);
    });
    EXPECT_EQ(rows, (Lines{"Gadget1", "Gadget2", "Plain", "OkGadget", "Simple"}));
    ASSERT_EQ(properties.size(), gadget1Names.size());
    EXPECT_EQ(properties[0], "Name :String");
    EXPECT_EQ(properties[3], "Color :Integer");
    EXPECT_TRUE(desktop.Messages().empty());

    hostapi::HostRef<hostapi::TIModuleInterface> module(services->GetModuleInterface(Gadgets("GadgetForm.pas")));
    hostapi::HostRef<hostapi::TIFormInterface> designer(module->GetFormInterface());
    EXPECT_TRUE(hostapi::HostRef<hostapi::TIComponentInterface>(designer->FindComponent("OkGadget")));
    EXPECT_FALSE(hostapi::HostRef<hostapi::TIComponentInterface>(designer->FindComponent("Gadget1")));

    ASSERT_TRUE(host.SaveAll());
    std::string dfm = original("GadgetForm.dfm");
    dfm.replace(dfm.find("object Gadget1:"), 15, "object OkGadget:");
    dfm.replace(dfm.find("Action = Gadget1"), 16, "Action = OkGadget");
    dfm.replace(dfm.find("object Plain:"), 13, "object Simple:");
    EXPECT_EQ(ReadFile(Gadgets("GadgetForm.dfm")), dfm);
    std::string pas = ReadFile(Gadgets("GadgetForm.pas"));
    EXPECT_NE(pas.find("    OkGadget: TGadget;\r\n"), std::string::npos);
    EXPECT_NE(pas.find("    Simple: TBareGadget;\r\n"), std::string::npos);
    EXPECT_NE(pas.find("procedure Gadget1Click(Sender: TObject);"), std::string::npos);
}

TEST_F(NameChangeTest, RefusedNamesChangeNothing)
{
    quorlin::TCodeForm& form = FormWithSelection({"Gadget1"});
    Lines rows;
    std::string edited;
    WithRenameWindow(form, [&](TNameChangeForm& window) {
        Choose(window, "Gadget2");
        Rename(window, "Gadget1");   // another component's name
        Rename(window, "gadget1");   // the same, in other letters
        Rename(window, "Ok Gadget");  // not an identifier
        // A property row gives the edit its text: "Caption :String" is no name either.
        window.PropListBox->ClickItem(2);
        edited = window.PropNameEdit->Text();
        window.Button1->Click();
        rows = window.CompoListBox->Items().Items();
        // The same component stays chosen: a good name still works.
        Rename(window, "Second");
        rows.emplace_back(window.CompoListBox->Items()[1]);
    });
    EXPECT_EQ(edited, "Caption :String");
    EXPECT_EQ(rows, (Lines{"Gadget1", "Gadget2", "Plain", "Second"}));
    EXPECT_EQ(MessageTexts(), Lines(4, "Failed to Rename Component"));
}

TEST_F(NameChangeTest, WithoutAChosenComponentSetDoesNothing)
{
    quorlin::TCodeForm& form = FormWithSelection({});
    Lines properties{"not shown"};
    WithRenameWindow(form, [&](TNameChangeForm& window) {
        properties = window.PropListBox->Items().Items();
        Rename(window, "Anything");
        // A row whose component the designer no longer has.
        window.CompoListBox->Items().Set(2, "Ghost");
        Choose(window, "Ghost");
        Rename(window, "Anything");
        // Nothing selected in the designer does not keep renames from working.
        Choose(window, "Gadget2");
        Rename(window, "");
        Rename(window, "Second");
    });
    EXPECT_TRUE(properties.empty());
    EXPECT_EQ(MessageTexts(), (Lines{"Component not Found"}));
    hostapi::HostRef<hostapi::TIModuleInterface> module(services->GetModuleInterface(Gadgets("GadgetForm.pas")));
    hostapi::HostRef<hostapi::TIFormInterface> designer(module->GetFormInterface());
    EXPECT_TRUE(hostapi::HostRef<hostapi::TIComponentInterface>(designer->FindComponent("Second")));
}

TEST_F(NameChangeTest, AFormWithoutComponentsAndAUnitWithoutAForm)
{
    WriteFile("Empty.pas", "unit Empty;\r\n\r\ninterface\r\n\r\ntype\r\n  TEmptyForm = class(TForm)\r\n  end;\r\n\r\n"
                           "implementation\r\n\r\nend.\r\n");
    WriteFile("Empty.dfm", "object EmptyForm: TEmptyForm\r\nend\r\n");
    quorlin::TCodeForm& form = CreateForm();
    ASSERT_TRUE(host.OpenFile(folder / "Empty.pas"));
    Lines rows{"not shown"};
    WithRenameWindow(form, [&](TNameChangeForm& window) {
        rows = window.CompoListBox->Items().Items();
        Rename(window, "Anything");
    });
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(desktop.Messages().empty());
    EXPECT_FALSE(host.IsModified(folder / "Empty.pas"));

    // No form: the window is not opened.
    ASSERT_TRUE(host.OpenFile(Gadgets("NoForm.pas")));
    desktop.ClearRecords();
    form.ChaneNameMenuItem->Click();
    EXPECT_TRUE(desktop.ModalRuns().empty());
    EXPECT_TRUE(desktop.Messages().empty());
}

}  // namespace
