#include <gtest/gtest.h>

#include "formtools/GadgetFixture.h"
#include "formtools/RyFormUnit.h"
#include "refhost/Recorder.h"

namespace {

class SelectedPropertiesTest : public GadgetFixture {};

TEST_F(SelectedPropertiesTest, TheFirstDeliveredClassPropertyIsListedInItsPlaceAndEventsAreLeftOut)
{
    quorlin::TCodeForm& form = FormWithSelection({"Gadget1"});
    tk::Strings types;
    tk::Strings names;
    form.ListSelectedProperties(types, names);
    EXPECT_EQ(names.Items(), gadget1Names);
    EXPECT_EQ(types.Items(), gadget1Types);

    // The lists are appended to, not emptied.
    form.ListSelectedProperties(types, names);
    ASSERT_EQ(names.Count(), 20);
    Lines all = names.Items();
    EXPECT_EQ(Lines(all.begin() + 10, all.end()), gadget1Names);
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(SelectedPropertiesTest, AReferenceToAComponentIsExpandedWithEverythingItHas)
{
    // Gadget2's first class property refers to Gadget1: all of Gadget1's properties are listed,
    // its events and class properties as UnKnown, and nothing of Gadget2's Font and Glyph.
    quorlin::TCodeForm& form = FormWithSelection({"Gadget2", "Gadget1"});
    tk::Strings types;
    tk::Strings names;
    form.ListSelectedProperties(types, names);
    EXPECT_EQ(names.Items(), (Lines{"Name", "Tag", "Caption", "Name", "Tag", "Caption", "Action", "Font", "Enabled",
                                    "Accel", "OnClick", "Glyph", "Ratio", "Value", "Enabled", "Accel", "Ratio",
                                    "Value"}));
    EXPECT_EQ(types.Items(), (Lines{"String", "Integer", "String", "String", "Integer", "String", "UnKnown",
                                    "UnKnown", "Integer", "UnKnown", "UnKnown", "UnKnown", "Float", "Variant",
                                    "Integer", "UnKnown", "Float", "Variant"}));
}

TEST_F(SelectedPropertiesTest, NothingSelectedListsNothing)
{
    quorlin::TCodeForm& form = FormWithSelection({});
    tk::Strings types;
    tk::Strings names;
    form.ListSelectedProperties(types, names);
    EXPECT_TRUE(names.Empty());
    EXPECT_TRUE(types.Empty());
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(SelectedPropertiesTest, TheFormFileInFrontMeansItsUnit)
{
    FormWithSelection({"Plain"});
    ASSERT_TRUE(host.OpenFile(Gadgets("GadgetForm.dfm")));
    ASSERT_TRUE(host.ShowFile(Gadgets("GadgetForm.dfm")));
    quorlin::TRyFormInt formInt;
    hostapi::HostRef<hostapi::TIFormInterface> formInterface = formInt.OpenFormInterface();
    ASSERT_TRUE(formInterface);
    EXPECT_EQ(formInt.FileName, Gadgets("GadgetForm.pas"));
    hostapi::HostRef<hostapi::TIComponentInterface> selected(formInterface->GetSelComponent(0));
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->GetComponentType(), "TBareGadget");
}

TEST_F(SelectedPropertiesTest, HostObjectsAreReleasedInTheReverseOrderOfObtaining)
{
    quorlin::TCodeForm& form = FormWithSelection({"Gadget1"});
    refhost::Recorder recorder;
    hostapi::HostRef<hostapi::TIToolServices> recorded(recorder.Wrap(host.CreateToolServices()));
    quorlin::ToolServices = recorded.Get();
    tk::Strings types;
    tk::Strings names;
    form.ListSelectedProperties(types, names);
    Lines obtainedAndReleased;
    for (const std::string& line : recorder.Log()) {
        for (const char* wanted : {"Release ", "GetModuleInterface", "GetFormInterface", "GetSelComponent",
                                   "GetPropValue"}) {
            if (line.find(wanted) != std::string::npos) {
                obtainedAndReleased.push_back(line);
                break;
            }
        }
    }
    EXPECT_EQ(obtainedAndReleased, (Lines{
        "ToolServices.GetModuleInterface(" + Gadgets("GadgetForm.pas") + ")",
        "Module(GadgetForm.pas).GetFormInterface",
        "Form(GadgetForm.dfm).GetSelComponent(0)",
        "Component(TGadget).GetPropValue(3)",
        "Component(TGadget).GetPropValue(4)",
        "Release Component(TGadgetFont)",
        "Release Component(TGadget)",
        "Release Form(GadgetForm.dfm)",
        "Release Module(GadgetForm.pas)",
    }));
}

}  // namespace
