// The task file commands of the tool window, the links of the task detail file, and the writing of
// the memo's changes to the linked file of the node it shows.

#include "controls/MemoEx.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "platform/IniFile.h"
#include "services/HourGlass.h"
#include "services/QuorlinUnit.h"
#include "tasks/NewTreeView.h"
#include "tasks/TaskDetail.h"
#include "tasks/TaskFile.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

void CannotCreate(const std::string& fileName)
{
    tk::ShowMessage("ﾌｧｲﾙ " + fileName + " を作成できません");
}

}  // namespace

std::string TCodeForm::LinkedFileName(const std::string& nodeText)
{
    auto detail = platform::IniFile::ReadOnly(TaskDetailFileName(TaskFileName));
    std::string link = detail->ReadString(LocationSection, nodeText, "").substr(0, DetailValueLimit);
    return link.empty() ? DefaultLinkedFileName(nodeText) : link;
}

void TCodeForm::SetLinkedFileName(const std::string& nodeText, const std::string& fileName)
{
    platform::IniFile detail(TaskDetailFileName(TaskFileName));
    detail.WriteString(LocationSection, nodeText, fileName);
    if (!detail.UpdateFile())
        CannotCreate(detail.FileName());
}

bool TCodeForm::SaveMemoChanges()
{
    if (!Memo1->Modified() || CurrentNodeText.empty())
        return true;
    std::string fileName = LinkedFileName(CurrentNodeText);
    std::string error;
    if (!platform::WriteFileReplacing(fileName, Memo1->Text(), error)) {
        CannotCreate(fileName);
        return false;
    }
    Memo1->SetModified(false);
    return true;
}

void TCodeForm::OpenTaskFile(const std::string& name)
{
    // Pending notes go to the link the current task file gives them, before that file changes.
    if (!SaveMemoChanges())
        return;
    HourGlass hourGlass;
    TaskFileName = name;
    TreeView1->Clear();
    std::string text;
    if (!platform::ReadWholeFile(name, text)) {
        tk::ShowMessage("ﾌｧｲﾙ " + name + " は開けません");
        return;
    }
    std::string invalidText;
    if (!ReadTaskFile(*TreeView1, text, invalidText))
        tk::ShowMessage("ｱｲﾃﾑ \"" + invalidText + "\" の階層が不正です");
    if (TreeView1->TopCount() > 0)
        TreeView1->SetSelected(TreeView1->TopItem(0));
}

void TCodeForm::SaveTaskFile(const std::string& newName, const std::string& oldName)
{
    HourGlass hourGlass;
    std::string error;
    if (!platform::WriteFileReplacing(newName, FormatTaskFile(*TreeView1), error)) {
        CannotCreate(newName);
        return;
    }
    std::string newDetailName = TaskDetailFileName(newName);
    std::string oldDetailName = TaskDetailFileName(oldName);
    if (!DetailFileUsable(newDetailName) || !DetailFileUsable(oldDetailName))
        return;
    platform::IniFile newDetail(newDetailName);
    std::unique_ptr<platform::IniFile> separateOld;
    if (oldDetailName != newDetailName)
        separateOld = std::make_unique<platform::IniFile>(oldDetailName);
    const platform::IniFile& oldDetail = separateOld ? *separateOld : newDetail;
    for (const tk::TreeNode* node : TreeView1->AllNodes()) {
        // Read whole: a save never shortens a stored note.
        std::string value = oldDetail.ReadString(DetailSection, node->Text(), "");
        newDetail.WriteString(DetailSection, node->Text(), value);
    }
    if (!newDetail.UpdateFile())
        CannotCreate(newDetailName);
}

void TCodeForm::New1Click(tk::Component*)
{
    if (!OpenDialog1->Execute() || !SaveMemoChanges())
        return;
    TreeView1->Clear();
    TaskFileName = OpenDialog1->FileName;
}

void TCodeForm::K1Click(tk::Component*)
{
    if (OpenDialog1->Execute())
        OpenTaskFile(OpenDialog1->FileName);
}

void TCodeForm::Save1Click(tk::Component*)
{
    if (SaveMemoChanges())
        SaveTaskFile(TaskFileName, TaskFileName);
}

void TCodeForm::SaveAs1Click(tk::Component*)
{
    SaveDialog1->FileName = TaskFileName;
    if (SaveDialog1->Execute() && SaveMemoChanges())
        SaveTaskFile(SaveDialog1->FileName, TaskFileName);
}

void TCodeForm::Close1Click(tk::Component*)
{
    if (!SaveMemoChanges())
        return;
    TreeView1->Clear();
    Memo1->SetText("");
    Memo1->SetModified(false);
}

}  // namespace quorlin
