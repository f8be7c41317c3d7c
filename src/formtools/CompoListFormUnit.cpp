#include "formtools/CompoListFormUnit.h"

#include <memory>

#include "formtools/BaseExpFormUnit.h"
#include "host/Globals.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "platform/HostFolder.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

std::string SelectedText(const tk::ListBox& list)
{
    int index = list.ItemIndex();
    return index >= 0 ? std::string(list.Items()[index]) : std::string();
}

// printf-like texts of the toolkit's file errors with the file name in place of %s.
std::string FileErrorText(const std::string& format, const std::string& fileName)
{
    std::string text = format;
    text.replace(text.find("%s"), 2, fileName);
    return text;
}

}  // namespace

TCompoListForm::TCompoListForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("CompoListForm");
    SetCaption("コンポーネント一覧");
    SetBounds(188, 177, 641, 523);
    SetFormToolsFont(*this);

    Label1 = new tk::Label(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("パッケージ一覧");
    Label1->SetBounds(8, 8, 105, 15);

    PackageList = new tk::ListBox(this);
    PackageList->SetName("PackageList");
    PackageList->SetParent(this);
    PackageList->SetBounds(8, 24, 617, 89);
    PackageList->SetTabOrder(1);
    PackageList->OnClick = [this](tk::Component* sender) { PackageListClick(sender); };

    Label2 = new tk::Label(this);
    Label2->SetName("Label2");
    Label2->SetParent(this);
    Label2->SetCaption("コンポーネント一覧");
    Label2->SetBounds(8, 120, 135, 15);

    NofCompoLabel = new tk::Label(this);
    NofCompoLabel->SetName("NofCompoLabel");
    NofCompoLabel->SetParent(this);
    NofCompoLabel->SetCaption("0");
    NofCompoLabel->SetBounds(152, 120, 40, 15);

    CompoList = new tk::ListBox(this);
    CompoList->SetName("CompoList");
    CompoList->SetParent(this);
    CompoList->SetBounds(8, 136, 617, 169);
    CompoList->SetSorted(true);
    CompoList->SetTabOrder(0);
    CompoList->OnClick = [this](tk::Component* sender) { CompoListClick(sender); };

    Label3 = new tk::Label(this);
    Label3->SetName("Label3");
    Label3->SetParent(this);
    Label3->SetCaption("説明");
    Label3->SetBounds(8, 312, 30, 15);

    CompoMemo = new tk::Memo(this);
    CompoMemo->SetName("CompoMemo");
    CompoMemo->SetParent(this);
    CompoMemo->SetBounds(8, 328, 617, 116);
    CompoMemo->SetTabOrder(2);
    CompoMemo->SetTabStop(true);

    UpdateButton = new tk::Button(this);
    UpdateButton->SetName("UpdateButton");
    UpdateButton->SetParent(this);
    UpdateButton->SetCaption("更新");
    UpdateButton->SetBounds(8, 451, 81, 36);
    UpdateButton->SetTabOrder(4);
    UpdateButton->SetTabStop(true);
    UpdateButton->OnClick = [this](tk::Component* sender) { UpdateButtonClick(sender); };

    PanelEx2 = new tk::Button(this);
    PanelEx2->SetName("PanelEx2");
    PanelEx2->SetParent(this);
    PanelEx2->SetCaption("OK");
    PanelEx2->SetBounds(528, 451, 97, 36);
    PanelEx2->ModalResult = tk::mrOk;
    PanelEx2->SetTabOrder(3);
    PanelEx2->SetTabStop(true);

    OnCreate = [this](tk::Component* sender) { FormCreate(sender); };
    FinishCreate();
}

void TCompoListForm::FormCreate(tk::Component*)
{
    BaseDir = platform::HostFolder();
}

std::string TCompoListForm::ExplanationFileName() const
{
    // A package named with a folder would otherwise put its explanations outside the host folder.
    return BaseDir + platform::ExtractFileName(SelectedText(*PackageList)) +
           platform::ExtractFileName(SelectedText(*CompoList)) + "_説明.txt";
}

void TCompoListForm::PackageListClick(tk::Component*)
{
    CompoList->Items().Clear();
    int package = PackageList->ItemIndex();
    int count = package >= 0 && ToolServices ? ToolServices->GetComponentCount(package) : 0;
    std::vector<std::string> names;
    for (int j = 0; j < count; ++j)
        names.push_back(ToolServices->GetComponentName(package, j));
    CompoList->Items().AddStrings(std::move(names));
    NofCompoLabel->SetCaption(std::to_string(count));
}

void TCompoListForm::CompoListClick(tk::Component*)
{
    CompoMemo->Lines().Clear();
    std::string fileName = ExplanationFileName();
    if (!platform::FileExists(fileName))
        return;
    std::string text;
    if (!platform::ReadWholeFile(fileName, text)) {
        tk::ShowMessage(FileErrorText("ﾌｧｲﾙ %s は開けません", fileName));
        return;
    }
    CompoMemo->Lines().SetText(text);
}

void TCompoListForm::UpdateButtonClick(tk::Component*)
{
    std::string fileName = ExplanationFileName();
    std::string error;
    if (!platform::WriteFileReplacing(fileName, CompoMemo->Lines().Text(), error))
        tk::ShowMessage(FileErrorText("ﾌｧｲﾙ %s を作成できません", fileName));
}

void TCodeForm::CompoDisplayMenuClick(tk::Component*)
{
    if (!CodeForm || !quorlin::ToolServices)
        return;
    auto listForm = std::make_unique<TCompoListForm>(this);
    listForm->ToolServices = quorlin::ToolServices;
    for (int i = 0; i < quorlin::ToolServices->GetModuleCount(); ++i)
        listForm->PackageList->Items().Add(quorlin::ToolServices->GetModuleName(i));
    listForm->ShowModal();
}

}  // namespace quorlin
