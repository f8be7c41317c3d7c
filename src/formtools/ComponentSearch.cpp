// The component search: the components of a class in the forms of the project's units, written
// into the memo.

#include <memory>

#include "controls/ComboBoxEx.h"
#include "controls/MemoEx.h"
#include "formtools/SearchCompoFormUnit.h"
#include "host/Globals.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

// Closes the unit the search opened, however the search of it ends.
class OpenedBySearch {
public:
    explicit OpenedBySearch(const std::string& fileName) : fileName_(fileName) {}
    ~OpenedBySearch()
    {
        if (opened && ToolServices)
            ToolServices->CloseFile(fileName_);
    }
    OpenedBySearch(const OpenedBySearch&) = delete;
    OpenedBySearch& operator=(const OpenedBySearch&) = delete;

    bool opened = false;

private:
    const std::string& fileName_;
};

}  // namespace

void TCodeForm::N1Click(tk::Component*)
{
    if (!CodeForm)
        return;
    auto searchForm = std::make_unique<TSearchCompoForm>(this);
    if (searchForm->ShowModal() != tk::mrOk)
        return;
    UpdateMenuClick(nullptr);
    std::string className = searchForm->ClassNameEdit->Text();
    Memo1->Lines().Add("SearchResult :" + className);
    // A copy: the host's notifications may refill the list while units are opened and closed.
    std::vector<std::string> units = UnitCombo->Items().Items();
    for (const std::string& unit : units)
        SearchComponents(unit, {className});
}

void TCodeForm::SearchComponents(const std::string& unitFile, const std::vector<std::string>& classNames)
{
    if (!CodeForm || !ToolServices)
        return;
    std::string fileName = platform::ChangeFileExt(unitFile, ".pas");
    OpenedBySearch closer(fileName);
    bool heading = false;
    if (!ToolServices->IsFileOpen(fileName)) {
        closer.opened = ToolServices->OpenFile(fileName);
        if (!closer.opened) {
            std::string message = "ファイルを開くことができません。:" + fileName;
            tk::ShowMessage(message);
            Memo1->Lines().Add(message);
        }
    }
    hostapi::HostRef<hostapi::TIModuleInterface> module(ToolServices->GetModuleInterface(fileName));
    if (!module) {
        tk::ShowMessage("Error of FormModuleInt :" + fileName);
        return;
    }
    hostapi::HostRef<hostapi::TIFormInterface> form(module->GetFormInterface());
    if (!form)
        return;
    hostapi::HostRef<hostapi::TIComponentInterface> formComponent(form->GetFormComponent());
    if (!formComponent) {
        tk::ShowMessage("Error of CompInt");
        Memo1->Lines().Add("Error of CompoInt:" + fileName);
        return;
    }
    for (int i = 0; i < formComponent->GetComponentCount(); ++i) {
        hostapi::HostRef<hostapi::TIComponentInterface> component(formComponent->GetComponent(i));
        if (!component)
            continue;
        std::string componentType = component->GetComponentType();
        for (const std::string& className : classNames) {
            if (!platform::SameText(componentType, className))
                continue;
            if (!heading) {
                Memo1->Lines().Add(fileName);
                heading = true;
            }
            hostapi::TPropValue name;
            if (component->GetPropValueByName("Name", name))
                Memo1->Lines().Add("    " + name.Text);
            else
                Memo1->Lines().Add(platform::ExtractFileName(fileName) + " ---- CompoName Failed");
        }
    }
}

}  // namespace quorlin
