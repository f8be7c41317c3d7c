#pragma once
// The component palette list: the host's installed packages, the component classes of one, and a
// free-text explanation per component kept in a file in the host folder.

#include <string>

#include "hostapi/ToolIntf.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TCompoListForm : public tk::Form {
public:
    explicit TCompoListForm(tk::Component* owner);

    tk::Label* Label1;
    tk::ListBox* PackageList;
    tk::Label* Label2;
    tk::Label* NofCompoLabel;
    tk::ListBox* CompoList;
    tk::Label* Label3;
    tk::Memo* CompoMemo;
    tk::Button* UpdateButton;
    tk::Button* PanelEx2;

    // Borrowed from the opener before the window is shown.
    hostapi::TIToolServices* ToolServices = nullptr;

    // The explanation file of the chosen package and component: the host folder, the package name
    // without any folder part, the class name and "_説明.txt".
    std::string ExplanationFileName() const;

    void FormCreate(tk::Component* sender);
    void PackageListClick(tk::Component* sender);
    void CompoListClick(tk::Component* sender);
    void UpdateButtonClick(tk::Component* sender);

private:
    std::string BaseDir;
};

}  // namespace quorlin
