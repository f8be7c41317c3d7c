#pragma once
// The tool-window fixture with the gadget project of tests/data/formtools beside the sample: a
// form of components whose classes its catalogue file describes with few properties of every
// kind, installed in the host folder.

#include <filesystem>
#include <string>
#include <vector>

#include "support/ToolWindowFixture.h"
#include "controls/MemoEx.h"

class GadgetFixture : public ToolWindowFixture {
protected:
    using Lines = std::vector<std::string>;

    void SetUp() override
    {
        ToolWindowFixture::SetUp();
        std::filesystem::copy(std::string(QUORLIN_SOURCE_DIR) + "/tests/data/formtools/Gadgets",
                              folder.Path() + "/Gadgets", std::filesystem::copy_options::recursive);
        std::filesystem::copy(folder.Path() + "/Gadgets/Gadgets.cat", folder.Path() + "/Gadgets.cat");
    }

    std::string Gadgets(const std::string& name) const
    {
        return refhost::Host::NormalizeFileName(folder.Path() + "/Gadgets/" + name);
    }

    // The tool window with the gadget project open, its form's unit in front and the named
    // components selected in the designer (none: not even the form).
    quorlin::TCodeForm& FormWithSelection(const std::vector<std::string>& selection)
    {
        EXPECT_TRUE(host.OpenProject(Gadgets("Gadgets.dpr")));
        quorlin::TCodeForm& form = CreateForm();
        form.MakeUnitList();
        EXPECT_TRUE(host.OpenFile(Gadgets("GadgetForm.pas")));
        EXPECT_TRUE(host.ShowFile(Gadgets("GadgetForm.pas")));
        EXPECT_TRUE(host.SelectComponents(Gadgets("GadgetForm.pas"), selection));
        return form;
    }

    static Lines MemoLines(const quorlin::TCodeForm& form) { return form.Memo1->Lines().Items(); }

    // Gadget1's properties as the form tools list them: events left out, the first class property
    // whose object the host delivers (Font; Action holds nothing) in its place, Glyph passed over.
    const Lines gadget1Names{"Name", "Tag", "Caption", "Color", "Name", "OnChange", "Enabled", "Accel", "Ratio",
                             "Value"};
    const Lines gadget1Types{"String", "Integer", "String", "Integer", "String", "UnKnown", "Integer", "UnKnown",
                             "Float", "Variant"};
};
