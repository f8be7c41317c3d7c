#include <gtest/gtest.h>

#include <sstream>

#include "support/TempFolder.h"
#include "hostapi/HostRef.h"
#include "refhost/Catalogue.h"
#include "refhost/RefHost.h"

namespace refhost::test {
namespace {

using hostapi::HostRef;
using hostapi::TPropValue;

const std::string SampleFolder = std::string(QUORLIN_SOURCE_DIR) + "/examples/Sample/";

struct OpenForm {
    OpenForm(Host& host, const std::string& unit)
        : services(host.CreateToolServices()), opened(services->OpenFile(unit)),
          module(services->GetModuleInterface(unit)), form(module ? module->GetFormInterface() : nullptr)
    {
    }
    HostRef<hostapi::TIToolServices> services;
    bool opened;
    HostRef<hostapi::TIModuleInterface> module;
    HostRef<hostapi::TIFormInterface> form;
};

std::vector<std::string> PropNames(hostapi::TIComponentInterface* component)
{
    std::vector<std::string> names;
    for (int i = 0; i < component->GetPropCount(); ++i)
        names.push_back(component->GetPropName(i));
    return names;
}

int PropIndex(hostapi::TIComponentInterface* component, const std::string& name)
{
    for (int i = 0; i < component->GetPropCount(); ++i) {
        if (component->GetPropName(i) == name)
            return i;
    }
    return -1;
}

TEST(RefHostForm, SampleFormComponentsInStreamOrder)
{
    Host host;
    OpenForm open(host, SampleFolder + "MainForm.pas");
    ASSERT_TRUE(open.form);
    EXPECT_EQ(open.form->FileName(), SampleFolder + "MainForm.dfm");
    HostRef root(open.form->GetFormComponent());
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetComponentType(), "TForm1");
    std::vector<std::string> seen;
    for (int i = 0; i < root->GetComponentCount(); ++i) {
        HostRef component(root->GetComponent(i));
        TPropValue name;
        ASSERT_TRUE(component->GetPropValueByName("Name", name));
        seen.push_back(name.Text + ":" + component->GetComponentType());
        EXPECT_EQ(component->GetComponentCount(), 0);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Label1:TLabel", "Edit1:TEdit", "Button1:TButton", "Memo1:TMemo"}));
    EXPECT_FALSE(root->GetComponent(4));
    EXPECT_FALSE(root->GetComponent(-1));
}

TEST(RefHostForm, PropertiesTakeStoredValuesOrDefaults)
{
    Host host;
    OpenForm open(host, SampleFolder + "MainForm.pas");
    HostRef button(open.form->FindComponent("button1"));
    ASSERT_TRUE(button);
    std::vector<std::string> names = PropNames(button.Get());
    ASSERT_GE(names.size(), 10u);
    EXPECT_EQ(names[0], "Name");  // ancestors first
    TPropValue value;
    ASSERT_TRUE(button->GetPropValueByName("Caption", value));
    EXPECT_EQ(value.Text, "\x89\xc1\x82\xa6\x82\xe9");  // stored, code page 932
    ASSERT_TRUE(button->GetPropValueByName("Left", value));
    EXPECT_EQ(value.Ordinal, 152);
    ASSERT_TRUE(button->GetPropValueByName("Enabled", value));  // not stored: the default
    EXPECT_EQ(value.Text, "True");
    EXPECT_EQ(value.Ordinal, 1);
    int onClick = PropIndex(button.Get(), "OnClick");
    ASSERT_GE(onClick, 0);
    EXPECT_EQ(button->GetPropType(onClick), hostapi::ptMethod);
    ASSERT_TRUE(button->GetPropValue(onClick, value));
    EXPECT_EQ(value.Text, "Button1Click");

    // A class property gives its object: the font with the properties stored under "Font.".
    HostRef root(open.form->GetFormComponent());
    int font = PropIndex(root.Get(), "Font");
    ASSERT_GE(font, 0);
    EXPECT_EQ(root->GetPropType(font), hostapi::ptClass);
    TPropValue fontValue;
    ASSERT_TRUE(root->GetPropValue(font, fontValue));
    HostRef fontObject(fontValue.Component);
    ASSERT_TRUE(fontObject);
    EXPECT_EQ(fontObject->GetComponentType(), "TFont");
    ASSERT_TRUE(fontObject->GetPropValueByName("Height", value));
    EXPECT_EQ(value.Ordinal, -12);
    ASSERT_TRUE(root->GetPropValueByName("Font.Name", value));
    EXPECT_EQ(value.Text, "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");

    // A component reference that is not set is not delivered.
    HostRef label(open.form->FindComponent("Label1"));
    int focusControl = PropIndex(label.Get(), "FocusControl");
    ASSERT_GE(focusControl, 0);
    EXPECT_FALSE(label->GetPropValue(focusControl, value));
    EXPECT_FALSE(label->GetPropValue(9999, value));
}

TEST(RefHostForm, SelectionIsTheDesignersAndFocusMovesIt)
{
    Host host;
    OpenForm open(host, SampleFolder + "MainForm.pas");
    ASSERT_EQ(open.form->GetSelCount(), 1);
    HostRef first(open.form->GetSelComponent(0));
    EXPECT_EQ(first->GetComponentType(), "TForm1");
    ASSERT_TRUE(host.SelectComponents(SampleFolder + "MainForm.pas", {"Memo1", "Edit1"}));
    EXPECT_EQ(open.form->GetSelCount(), 2);
    HostRef memo(open.form->GetSelComponent(0));
    EXPECT_EQ(memo->GetComponentType(), "TMemo");
    EXPECT_FALSE(host.SelectComponents(SampleFolder + "MainForm.pas", {"Nothing1"}));
    HostRef button(open.form->FindComponent("Button1"));
    EXPECT_TRUE(button->Focus());
    EXPECT_EQ(host.SelectedComponents(SampleFolder + "MainForm.dfm"), std::vector<std::string>{"Button1"});
    EXPECT_FALSE(open.form->GetSelComponent(1));
}

TEST(RefHostForm, UnitWithoutFormAndDamagedForm)
{
    TempFolder folder;
    std::string plain = folder.Write("Plain.pas", "unit Plain;\r\nend.\r\n");
    std::string broken = folder.Write("Broken.pas", "unit Broken;\r\nend.\r\n");
    folder.Write("Broken.dfm", "object Form1: TForm1\r\n  Caption = 'open\r\nend\r\n");
    Host host;
    OpenForm withoutForm(host, plain);
    ASSERT_TRUE(withoutForm.module);
    EXPECT_FALSE(withoutForm.form);
    EXPECT_EQ(host.FormProblem(plain), "");
    OpenForm damaged(host, broken);
    ASSERT_TRUE(damaged.module);
    EXPECT_FALSE(damaged.form);
    EXPECT_EQ(host.FormProblem(broken), folder / "Broken.dfm" + ": damaged form at offset 34: string not closed on its line");
}

TEST(RefHostForm, InstalledPackagesFromTheCatalogue)
{
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_GT(services->GetModuleCount(), 3);
    bool standard = false;
    for (int m = 0; m < services->GetModuleCount(); ++m) {
        if (services->GetModuleName(m) != "Standard")
            continue;
        standard = true;
        std::vector<std::string> classes;
        for (int c = 0; c < services->GetComponentCount(m); ++c)
            classes.push_back(services->GetComponentName(m, c));
        EXPECT_NE(std::find(classes.begin(), classes.end(), "TButton"), classes.end());
        EXPECT_EQ(services->GetComponentName(m, static_cast<int>(classes.size())), "");
    }
    EXPECT_TRUE(standard);
    EXPECT_EQ(services->GetComponentCount(-1), 0);
}

// Every class of the catalogue reaches the root through classes it describes, so that each has its
// ancestors' properties (a component its name first); every class a package registers is a component.
TEST(RefHostForm, EveryCatalogueClassReachesItsAncestors)
{
    Host host;
    const Catalogue& catalogue = host.Components();
    std::istringstream lines(TempFolder::Read(std::string(QUORLIN_SOURCE_DIR) + "/data/components.cat"));
    int classes = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("class ", 0) != 0)
            continue;
        std::string name = line.substr(6, line.find(':') - 6);
        ++classes;
        EXPECT_TRUE(catalogue.InheritsFrom(name, "TPersistent")) << name;
        if (catalogue.InheritsFrom(name, "TComponent")) {
            std::vector<PublishedProperty> properties = catalogue.Properties(name);
            EXPECT_TRUE(!properties.empty() && properties[0].Name == "Name") << name;
        }
    }
    EXPECT_GT(classes, 100);
    for (const CataloguePackage& package : catalogue.Packages()) {
        for (const std::string& name : package.Classes)
            EXPECT_TRUE(catalogue.InheritsFrom(name, "TComponent")) << package.Name << ": " << name;
    }
}

// A timer's class descends from one the catalogue once lacked; a gizmo's class it does not know at
// all: both are listed, found and renamed by their names, the gizmo with what the file stores.
TEST(RefHostForm, ComponentsOfEveryClassGoByTheirNames)
{
    TempFolder folder;
    std::string unit = folder.Write("Spin.pas", "unit Spin;\r\ninterface\r\ntype\r\n  TForm1 = class(TForm)\r\n"
                                                "    Timer1: TTimer;\r\n    Gizmo1: TGizmo;\r\n  end;\r\n"
                                                "implementation\r\nend.\r\n");
    std::string form = folder.Write("Spin.dfm", "object Form1: TForm1\r\n"
                                                "  object Timer1: TTimer\r\n    Interval = 250\r\n  end\r\n"
                                                "  object Gizmo1: TGizmo\r\n    Speed = 3\r\n    Target = Timer1\r\n"
                                                "    OnSpin = Gizmo1Spin\r\n    Font.Size = 9\r\n  end\r\nend\r\n");
    Host host;
    OpenForm open(host, unit);
    ASSERT_TRUE(open.form);
    HostRef root(open.form->GetFormComponent());
    std::vector<std::string> names;
    for (int i = 0; i < root->GetComponentCount(); ++i) {
        HostRef component(root->GetComponent(i));
        TPropValue name;
        EXPECT_TRUE(component->GetPropValueByName("Name", name));
        names.push_back(name.Text);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Timer1", "Gizmo1"}));

    HostRef timer(open.form->FindComponent("timer1"));
    ASSERT_TRUE(timer);
    TPropValue value;
    ASSERT_TRUE(timer->GetPropValueByName("Interval", value));
    EXPECT_EQ(value.Ordinal, 250);
    ASSERT_TRUE(timer->GetPropValueByName("Enabled", value));
    EXPECT_EQ(value.Text, "True");
    HostRef gizmo(open.form->FindComponent("Gizmo1"));
    ASSERT_TRUE(gizmo);
    EXPECT_EQ(PropNames(gizmo.Get()), (std::vector<std::string>{"Name", "Speed", "Target", "OnSpin", "Font"}));
    EXPECT_EQ(gizmo->GetPropType(0), hostapi::ptLString);
    EXPECT_TRUE(gizmo->Focus());
    EXPECT_EQ(host.SelectedComponents(unit), std::vector<std::string>{"Gizmo1"});

    TPropValue name;
    name.Text = "Ticker";
    ASSERT_TRUE(timer->SetPropByName("Name", name));
    name.Text = "Spinner";
    ASSERT_TRUE(gizmo->SetPropByName("Name", name));
    ASSERT_TRUE(host.SaveFile(unit));
    EXPECT_EQ(TempFolder::Read(form), "object Form1: TForm1\r\n"
                                      "  object Ticker: TTimer\r\n    Interval = 250\r\n  end\r\n"
                                      "  object Spinner: TGizmo\r\n    Speed = 3\r\n    Target = Ticker\r\n"
                                      "    OnSpin = Gizmo1Spin\r\n    Font.Size = 9\r\n  end\r\nend\r\n");
}

}  // namespace
}  // namespace refhost::test

namespace refhost::test {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// A copy of the sample's main unit and form, with a second label that refers to the edit box.
struct RenameCase {
    RenameCase()
    {
        std::string dfm = TempFolder::Read(SampleFolder + "MainForm.dfm");
        dfm = Replaced(dfm, "    TabOrder = 2\r\n  end\r\n",
                       "    TabOrder = 2\r\n  end\r\n  object Label2: TLabel\r\n    FocusControl = Edit1\r\n  end\r\n");
        std::string pas = Replaced(TempFolder::Read(SampleFolder + "MainForm.pas"), "    Memo1: TMemo;\r\n",
                                   "    Memo1: TMemo;\r\n    Label2: TLabel; { Edit1 is its focus }\r\n");
        form = folder.Write("MainForm.dfm", dfm);
        unit = folder.Write("MainForm.pas", pas);
    }
    TempFolder folder;
    std::string form;
    std::string unit;
};

TEST(RefHostFormRename, WrittenBackWithEveryOtherByteKept)
{
    RenameCase sample;
    std::string formBefore = TempFolder::Read(sample.form);
    std::string unitBefore = TempFolder::Read(sample.unit);
    Host host;
    OpenForm open(host, sample.unit);
    HostRef edit(open.form->FindComponent("Edit1"));
    TPropValue name;
    name.Text = "AmountEdit";
    ASSERT_TRUE(edit->SetPropByName("Name", name));
    EXPECT_TRUE(open.form->FormModified());
    EXPECT_TRUE(host.IsModified(sample.unit));
    EXPECT_EQ(TempFolder::Read(sample.form), formBefore);  // kept until the unit is saved
    TPropValue now;
    ASSERT_TRUE(edit->GetPropValueByName("Name", now));
    EXPECT_EQ(now.Text, "AmountEdit");
    HostRef label(open.form->FindComponent("Label2"));
    ASSERT_TRUE(label->GetPropValueByName("FocusControl", now));
    EXPECT_EQ(now.Text, "AmountEdit");
    HostRef(now.Component);

    ASSERT_TRUE(host.SaveFile(sample.unit));
    EXPECT_FALSE(open.form->FormModified());
    EXPECT_EQ(TempFolder::Read(sample.form), Replaced(formBefore, "Edit1", "AmountEdit"));
    // The field is renamed; the comment and the method body's Edit1.Text are not.
    std::string unitAfter = Replaced(unitBefore, "    Edit1: TEdit;", "    AmountEdit: TEdit;");
    EXPECT_EQ(TempFolder::Read(sample.unit), unitAfter);
    EXPECT_NE(unitAfter.find("StrToIntDef(Edit1.Text"), std::string::npos);
}

TEST(RefHostFormRename, RefusedNamesChangeNothing)
{
    RenameCase sample;
    std::string formBefore = TempFolder::Read(sample.form);
    Host host;
    OpenForm open(host, sample.unit);
    HostRef button(open.form->FindComponent("Button1"));
    HostRef root(open.form->GetFormComponent());
    // Names the form class already uses: its fields, methods and properties in any section, a
    // property its ancestor publishes, and its own name.
    for (const char* refused : {"", "1Button", "Ok Button", "Memo1", "memo1", "begin", "Button-1", "\x83\x7b\x83\x5e\x83\x93",
                                "FTotal", "total", "FormCreate", "button1click", "AddLine", "Caption", "Tag", "TForm1"}) {
        TPropValue name;
        name.Text = refused;
        EXPECT_FALSE(button->SetPropByName("Name", name)) << refused;
    }
    TPropValue name;
    name.Text = "NewForm";
    EXPECT_FALSE(root->SetPropByName("Name", name));
    EXPECT_FALSE(button->SetPropByName("Caption", name));
    EXPECT_FALSE(open.form->FormModified());
    EXPECT_FALSE(host.IsModified(sample.unit));
    ASSERT_TRUE(host.SaveFile(sample.unit));
    EXPECT_EQ(TempFolder::Read(sample.form), formBefore);
    // A new case of the same name is a rename; a name only a routine's parameter or local has is free.
    name.Text = "BUTTON1";
    EXPECT_TRUE(button->SetPropByName("Name", name));
    EXPECT_TRUE(open.form->FormModified());
    name.Text = "Value";
    EXPECT_TRUE(button->SetPropByName("Name", name));
}

TEST(RefHostFormRename, InheritedComponentsKeepTheirAncestorsNames)
{
    TempFolder folder;
    std::string unit = folder.Write("Derived.pas", "unit Derived;\r\ninterface\r\ntype\r\n"
                                                   "  TDerivedForm = class(TBaseForm)\r\n    btnMore: TButton;\r\n  end;\r\n"
                                                   "implementation\r\nend.\r\n");
    std::string form = folder.Write("Derived.dfm", "inherited DerivedForm: TDerivedForm\r\n"
                                                   "  inherited pnlBody: TPanel\r\n"
                                                   "    object btnMore: TButton\r\n    end\r\n"
                                                   "  end\r\nend\r\n");
    Host host;
    OpenForm open(host, unit);
    ASSERT_TRUE(open.form);
    HostRef body(open.form->FindComponent("pnlBody"));
    TPropValue name;
    name.Text = "pnlBodyZq";
    EXPECT_FALSE(body->SetPropByName("Name", name));
    EXPECT_FALSE(open.form->FormModified());
    // What the descendant adds is its own to rename, inside an inherited object too.
    HostRef more(open.form->FindComponent("btnMore"));
    name.Text = "btnLess";
    ASSERT_TRUE(more->SetPropByName("Name", name));
    ASSERT_TRUE(host.SaveFile(unit));
    EXPECT_EQ(TempFolder::Read(form), "inherited DerivedForm: TDerivedForm\r\n  inherited pnlBody: TPanel\r\n"
                                      "    object btnLess: TButton\r\n    end\r\n  end\r\nend\r\n");
}

TEST(RefHostFormRename, ClosingTheUnitDropsTheDesigner)
{
    RenameCase sample;
    std::string formBefore = TempFolder::Read(sample.form);
    Host host;
    host.SetQuerySave([](const std::string&) { return SaveAnswer::Discard; });
    OpenForm open(host, sample.unit);
    HostRef memo(open.form->FindComponent("Memo1"));
    TPropValue name;
    name.Text = "LogMemo";
    ASSERT_TRUE(memo->SetPropByName("Name", name));
    ASSERT_TRUE(host.CloseFile(sample.unit));
    EXPECT_EQ(memo->GetComponentType(), "");
    EXPECT_FALSE(memo->SetPropByName("Name", name));
    EXPECT_FALSE(open.form->GetFormComponent());
    EXPECT_EQ(TempFolder::Read(sample.form), formBefore);
}

// The files whose buffers a front end is told changed.
struct ChangedBuffers : HostListener {
    void BufferChanged(const std::string& fileName) override { files.push_back(fileName); }
    std::vector<std::string> files;
};

TEST(RefHostFormRename, OpenBuffersOfTheFormAndTheUnitShowTheRename)
{
    RenameCase sample;
    std::string formBefore = TempFolder::Read(sample.form);
    std::string formAfter = Replaced(formBefore, "Edit1", "AmountEdit");
    Host host;
    ChangedBuffers changed;
    host.AddListener(&changed);
    ASSERT_TRUE(host.OpenFile(sample.form));
    OpenForm open(host, sample.unit);
    HostRef edit(open.form->FindComponent("Edit1"));
    TPropValue name;
    name.Text = "AmountEdit";
    ASSERT_TRUE(edit->SetPropByName("Name", name));
    EXPECT_EQ(host.Text(sample.form), formAfter);
    EXPECT_NE(host.Text(sample.unit).find("    AmountEdit: TEdit;\r\n"), std::string::npos);
    EXPECT_EQ(changed.files, (std::vector<std::string>{sample.unit, sample.form}));
    // The designer saves the form with the unit; its buffer holds no edits of its own, and closing
    // it keeps the designer's change.
    EXPECT_FALSE(host.IsModified(sample.form));
    ASSERT_TRUE(host.CloseFile(sample.form));
    ASSERT_TRUE(host.SaveFile(sample.unit));
    EXPECT_EQ(TempFolder::Read(sample.form), formAfter);

    // While the form's buffer holds edits a rename is refused; once they are saved the form is
    // read again from them.
    ASSERT_TRUE(host.OpenFile(sample.form));
    std::string edited = Replaced(formAfter, "    Text = '0'", "    Text = 'Edited'");
    ASSERT_NE(edited, formAfter);
    ASSERT_TRUE(host.SetText(sample.form, edited));
    HostRef memo(open.form->FindComponent("Memo1"));
    name.Text = "LogMemo";
    EXPECT_FALSE(memo->SetPropByName("Name", name));
    EXPECT_EQ(host.Text(sample.form), edited);
    ASSERT_TRUE(host.SaveFile(sample.form));
    OpenForm reread(host, sample.unit);
    HostRef amount(reread.form->FindComponent("AmountEdit"));
    TPropValue text;
    ASSERT_TRUE(amount->GetPropValueByName("Text", text));
    EXPECT_EQ(text.Text, "Edited");
    HostRef memoAgain(reread.form->FindComponent("Memo1"));
    EXPECT_TRUE(memoAgain->SetPropByName("Name", name));
    EXPECT_EQ(host.Text(sample.form), Replaced(edited, "Memo1", "LogMemo"));
    host.RemoveListener(&changed);
}

}  // namespace
}  // namespace refhost::test

namespace refhost::test {
namespace {

TEST(RefHostFormRename, BinaryFormKeepsItsBytesAndGetsItsSizeAgain)
{
    TempFolder folder;
    std::string form = folder.Write("ViewOptions.dfm", TempFolder::Read(SampleFolder + "ViewOptions.dfm"));
    std::string unit = folder.Write("ViewOptions.pas", TempFolder::Read(SampleFolder + "ViewOptions.pas"));
    std::string before = TempFolder::Read(form);
    Host host;
    OpenForm open(host, unit);
    ASSERT_TRUE(open.form);
    HostRef root(open.form->GetFormComponent());
    std::vector<std::string> owned;
    for (int i = 0; i < root->GetComponentCount(); ++i) {
        HostRef component(root->GetComponent(i));
        TPropValue name;
        component->GetPropValueByName("Name", name);
        owned.push_back(name.Text);
    }
    EXPECT_EQ(owned, (std::vector<std::string>{"Panel1", "ShowLinesCheck", "SortGroup", "OKButton", "CancelButton",
                                               "StatusBar1"}));
    HostRef check(open.form->FindComponent("ShowLinesCheck"));
    TPropValue value;
    ASSERT_TRUE(check->GetPropValueByName("Checked", value));
    EXPECT_EQ(value.Ordinal, 1);
    TPropValue name;
    name.Text = "LineNumbersCheck";
    ASSERT_TRUE(check->SetPropByName("Name", name));
    ASSERT_TRUE(host.SaveFile(unit));

    // The short string grew by two bytes in place; the resource header's size grew with it.
    std::string expected = before;
    size_t at = expected.find("\x0eShowLinesCheck");
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, 15, "\x10LineNumbersCheck");
    size_t sizeField = expected.find('\0', 3) + 3;
    uint32_t size = 0;
    for (int i = 3; i >= 0; --i)
        size = size << 8 | static_cast<uint8_t>(expected[sizeField + i]);
    size += 2;
    for (int i = 0; i < 4; ++i)
        expected[sizeField + i] = static_cast<char>(size >> (8 * i));
    EXPECT_EQ(size, expected.size() - sizeField - 4);
    EXPECT_EQ(TempFolder::Read(form), expected);
    EXPECT_NE(TempFolder::Read(unit).find("    LineNumbersCheck: TCheckBox;\r\n"), std::string::npos);
}

// A binary form file opened in the editor shows the text form, follows a rename there, and is saved
// in its own form again: the resource header around the stream written from the edited text.
TEST(RefHostFormRename, BinaryFormBufferShowsAndSavesTheTextForm)
{
    TempFolder folder;
    std::string form = folder.Write("ViewOptions.dfm", TempFolder::Read(SampleFolder + "ViewOptions.dfm"));
    std::string unit = folder.Write("ViewOptions.pas", TempFolder::Read(SampleFolder + "ViewOptions.pas"));
    Host host;
    ASSERT_TRUE(host.OpenFile(form));
    std::string text = host.Text(form);
    EXPECT_EQ(text.rfind("object ViewOptionsDlg: TViewOptionsDlg\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("  object ShowLinesCheck: TCheckBox\r\n"), std::string::npos) << text;

    OpenForm open(host, unit);
    HostRef check(open.form->FindComponent("ShowLinesCheck"));
    TPropValue name;
    name.Text = "LineNumbersCheck";
    ASSERT_TRUE(check->SetPropByName("Name", name));
    EXPECT_EQ(host.Text(form), Replaced(text, "ShowLinesCheck", "LineNumbersCheck"));
    EXPECT_FALSE(host.IsModified(form));

    // Text that is no form is not saved; an edited form is, in the binary form.
    std::string edited = Replaced(host.Text(form), "    Checked = True\r\n", "    Checked = False\r\n");
    ASSERT_NE(edited, host.Text(form));
    std::string before = TempFolder::Read(form);
    ASSERT_TRUE(host.SetText(form, "object Broken: TForm\r\n  Left = \r\n"));
    EXPECT_FALSE(host.SaveFile(form));
    EXPECT_EQ(TempFolder::Read(form), before);
    ASSERT_TRUE(host.SetText(form, edited));
    ASSERT_TRUE(host.SaveFile(form));
    std::string saved = TempFolder::Read(form);
    EXPECT_EQ(saved.substr(0, 21), before.substr(0, 21));  // FF, type 10, "TVIEWOPTIONSDLG", flags
    EXPECT_EQ(saved.size(), before.size() + 2);             // the longer name, the size with it
    OpenForm reread(host, unit);
    HostRef renamed(reread.form->FindComponent("LineNumbersCheck"));
    ASSERT_TRUE(renamed);
    TPropValue checked;
    ASSERT_TRUE(renamed->GetPropValueByName("Checked", checked));
    EXPECT_EQ(checked.Ordinal, 0);
}

}  // namespace
}  // namespace refhost::test
