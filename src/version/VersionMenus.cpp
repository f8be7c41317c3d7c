// The tool window's version commands: the version record of the open project, the check mark that
// asks for it when a project closes, and the about box.

#include <memory>

#include "host/Globals.h"
#include "hostapi/HostRef.h"
#include "platform/FilePath.h"
#include "platform/IniFile.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "version/VerUnit.h"
#include "version/VersionUnit.h"

namespace quorlin {

void TCodeForm::VerMenuClick(tk::Component*)
{
    if (!CodeForm || !ToolServices)
        return;
    std::string project = ToolServices->GetProjectName();
    // Without a project there is no section to keep a record in.
    if (project.empty())
        return;
    std::string section = platform::ExtractFileName(project);
    if (!platform::IniFile::CanNameSection(section)) {
        tk::ShowMessage("ﾌﾟﾛｼﾞｪｸﾄ名 \"" + section + "\" にはﾊﾞｰｼﾞｮﾝ情報を記録できません（]、改行、前後のﾀﾌﾞは使えません）");
        return;
    }
    std::unique_ptr<TVerForm> form(new TVerForm(&tk::Application::Instance()));
    SetRecordedMode(1);
    ApplyDisplayMode(1);
    FocusWindow();
    form->EditProjectVersion(project);
}

void TCodeForm::MenuVerDispClick(tk::Component*)
{
    if (!CodeForm)
        return;
    MenuVerDisp->SetChecked(!MenuVerDisp->Checked());
}

void TCodeForm::VersionMenuClick(tk::Component*)
{
    if (!CodeForm)
        return;
    std::unique_ptr<TVersionForm> form(new TVersionForm(this));
    form->ShowModal();
}

}  // namespace quorlin
