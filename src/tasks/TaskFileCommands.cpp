// The task file commands of the tool window, the links of the task detail file, and the writing of
// the memo's changes to the linked file of the node it shows.

#include <filesystem>
#include <system_error>

#include "controls/MemoEx.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "platform/IniFile.h"
#include "platform/SameFile.h"
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

bool UserSaysYes(const std::string& question)
{
    return tk::Application::Instance().MessageBox(question, tk::MB_YESNO | tk::MB_ICONWARNING) == tk::IDYES;
}

}  // namespace

bool TCodeForm::IsTaskFileOrDetail(const std::string& fileName) const
{
    return !fileName.empty() && (platform::SameFile(fileName, TaskFileName) ||
                                 platform::SameFile(fileName, TaskDetailFileName(TaskFileName)));
}

std::string TCodeForm::LinkedFileName(const std::string& nodeText)
{
    auto detail = platform::IniFile::ReadOnly(TaskDetailFileName(TaskFileName));
    std::string link = detail->ReadString(LocationSection, nodeText, "").substr(0, DetailValueLimit);
    return link.empty() ? DefaultLinkedFileName(nodeText) : ResolveLink(link, TaskFileName);
}

bool TCodeForm::CanLink(const std::string& nodeText, const std::string& fileName)
{
    // Written as a key, such a text would read back as another node's, and its link go elsewhere.
    if (!platform::IniFile::CanNameKey(nodeText)) {
        tk::ShowMessage("\"" + nodeText + "\": a node whose text holds \"=\" or a line break, or begins with \"[\" or "
                        "\";\", has no link of its own; its notes stay in " + DefaultLinkedFileName(nodeText));
        return false;
    }
    if (IsTaskFileOrDetail(ResolveLink(fileName, TaskFileName))) {
        tk::ShowMessage(fileName + ": the task file and its detail file hold no node's notes; it is not linked");
        return false;
    }
    return true;
}

void TCodeForm::SetLinkedFileName(const std::string& nodeText, const std::string& fileName)
{
    if (!CanLink(nodeText, fileName))
        return;
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
    if (IsTaskFileOrDetail(fileName)) {
        tk::ShowMessage(fileName + ": the task file and its detail file hold no node's notes; give the node "
                        "another linked file, or save the memo elsewhere");
        return false;
    }
    if (!memoPartOf_.empty() && platform::SameFile(fileName, memoPartOf_) &&
        !UserSaysYes(fileName + ": the memo showed only the beginning of this file. Replace the whole file with "
                     "the memo's text?"))
        return false;
    std::string error;
    if (!platform::WriteFileReplacing(fileName, Memo1->Text(), error)) {
        CannotCreate(fileName);
        return false;
    }
    memoPartOf_.clear();
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
    taskFilePartlyRead_.clear();
    TreeView1->Clear();
    std::string text;
    if (!platform::ReadWholeFile(name, text)) {
        std::error_code error;
        if (std::filesystem::exists(name, error))
            taskFilePartlyRead_ = "it could not be read";
        tk::ShowMessage("ﾌｧｲﾙ " + name + " は開けません");
        return;
    }
    std::string invalidText;
    if (!ReadTaskFile(*TreeView1, text, invalidText)) {
        taskFilePartlyRead_ = "reading stopped at the item \"" + invalidText + "\"";
        tk::ShowMessage("ｱｲﾃﾑ \"" + invalidText + "\" の階層が不正です");
    }
    if (TreeView1->TopCount() > 0)
        TreeView1->SetSelected(TreeView1->TopItem(0));
}

void TCodeForm::SaveTaskFile(const std::string& newName, const std::string& oldName)
{
    std::string newDetailName = TaskDetailFileName(newName);
    std::string oldDetailName = TaskDetailFileName(oldName);
    // Either would be written in the other's format, and the tree or the links lost.
    if (platform::SameFile(newName, oldDetailName) || platform::SameFile(newDetailName, oldName)) {
        tk::ShowMessage(newName + ": a task file and its detail file are not saved over each other");
        return;
    }
    bool overPartlyRead = !taskFilePartlyRead_.empty() && platform::SameFile(newName, TaskFileName);
    if (overPartlyRead && !UserSaysYes(TaskFileName + ": " + taskFilePartlyRead_ + ", so the tree holds only "
                                       "the part read. Replace the whole file with it?"))
        return;
    HourGlass hourGlass;
    std::string error;
    if (!platform::WriteFileReplacing(newName, FormatTaskFile(*TreeView1), error)) {
        CannotCreate(newName);
        return;
    }
    if (overPartlyRead)
        taskFilePartlyRead_.clear();
    if (!DetailFileUsable(newDetailName) || !DetailFileUsable(oldDetailName))
        return;
    platform::IniFile newDetail(newDetailName);
    std::unique_ptr<platform::IniFile> separateOld;
    if (oldDetailName != newDetailName)
        separateOld = std::make_unique<platform::IniFile>(oldDetailName);
    const platform::IniFile& oldDetail = separateOld ? *separateOld : newDetail;
    for (const tk::TreeNode* node : TreeView1->AllNodes()) {
        // A text that is no key has no note to carry, and written as one it would change another's.
        if (!platform::IniFile::CanNameKey(node->Text()))
            continue;
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
    taskFilePartlyRead_.clear();
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
