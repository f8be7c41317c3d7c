#include <gtest/gtest.h>

#include "formtools/GadgetFixture.h"
#include "formtools/PropertListFormUnit.h"

namespace {

using quorlin::TPropertyListForm;

class PropertyListTest : public GadgetFixture {};

TEST_F(PropertyListTest, NamesAloneOrWithTypeWordsFollowTheMemoText)
{
    quorlin::TCodeForm& form = FormWithSelection({"Gadget1"});
    form.Memo1->Lines().Add("before");
    form.PropertyListMenuItem->Click();  // closed by its close box: names alone, the default
    desktop.QueueModal([](tk::Form& modal) {
        auto& choice = dynamic_cast<TPropertyListForm&>(modal);
        choice.RadioType->Click();
        choice.PanelEx2->Click();
    });
    form.PropertyListMenuItem->Click();

    Lines expected{"before"};
    expected.insert(expected.end(), gadget1Names.begin(), gadget1Names.end());
    for (size_t k = 0; k < gadget1Names.size(); ++k)
        expected.push_back(gadget1Names[k] + " :" + gadget1Types[k]);
    EXPECT_EQ(MemoLines(form), expected);
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"PropertyListForm", "PropertyListForm"}));
}

TEST_F(PropertyListTest, TheSelectionAtTheCommandCountsNotTheOneWhileTheWindowIsOpen)
{
    quorlin::TCodeForm& form = FormWithSelection({});
    desktop.QueueModal([this](tk::Form& modal) {
        host.SelectComponents(Gadgets("GadgetForm.pas"), {"Gadget1"});
        dynamic_cast<TPropertyListForm&>(modal).PanelEx2->Click();
    });
    form.PropertyListMenuItem->Click();
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"PropertyListForm"}));
    EXPECT_TRUE(MemoLines(form).empty());
}

}  // namespace
