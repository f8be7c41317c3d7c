// Moving text between the memo and files: the link of a node, clearing and saving the memo, and
// files dropped onto the tool window.

#include <memory>

#include "controls/MemoEx.h"
#include "host/Globals.h"
#include "platform/FileHead.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "services/QuorlinUnit.h"
#include "tasks/LinkFileUnit.h"
#include "tasks/NewTreeView.h"
#include "tasks/TaskDetail.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace quorlin {

void TCodeForm::MenuModifyLinkClick(tk::Component*)
{
    tk::TreeNode* node = TreeView1->Selected();
    if (!node)
        return;
    std::string nodeText = node->Text();
    if (!CanLink(nodeText, ""))
        return;
    auto dialog = std::make_unique<TDetailLocationForm>(this);
    dialog->EditLink(nodeText, LinkedFileName(nodeText));
    SetLinkedFileName(nodeText, dialog->LinkFileName);
}

void TCodeForm::ClearMemoItemClick(tk::Component*)
{
    Memo1->SetText("");
    Memo1->SetModified(false);
}

void TCodeForm::SaveMemoItemClick(tk::Component*)
{
    if (!TextSaveDialog->Execute())
        return;
    if (IsTaskFileOrDetail(TextSaveDialog->FileName)) {
        tk::ShowMessage(TextSaveDialog->FileName + ": the task file and its detail file are not replaced by the memo");
        return;
    }
    std::string error;
    if (!platform::WriteFileReplacing(TextSaveDialog->FileName, Memo1->Text(), error))
        tk::ShowMessage("ﾌｧｲﾙ " + TextSaveDialog->FileName + " を作成できません");
}

bool TCodeForm::AcceptFile1DropFile(const std::string& fileName)
{
    if (!CodeForm)
        return true;
    tk::ShowMessage("File Dropped Start");
    std::string name = platform::ExtractFileName(fileName);
    std::string nodeText = name.substr(0, name.size() - platform::ExtractFileExt(name).size());
    // A file that cannot be linked becomes no node; the drop goes on with the next file.
    if (!CanLink(nodeText, fileName))
        return true;
    tk::TreeNode* node = TreeView1->Add(TreeView1->Selected(), nodeText);
    TreeView1->SetSelected(node);
    // A label being edited keeps the selection, and notes that could not be written keep the memo;
    // the memo then still belongs to the old node and must not take the file.
    if (TreeView1->Selected() != node || CurrentNodeText != nodeText || Memo1->Modified())
        return false;
    if (!LoadMemoFromFile(fileName))
        return false;
    SetLinkedFileName(nodeText, fileName);
    tk::ShowMessage("File Dropped End");
    return true;
}

bool TCodeForm::LoadMemoFromFile(const std::string& fileName)
{
    std::string head;
    bool whole = true;
    uint64_t size = 0;
    std::string reason;
    if (!platform::ReadFileHead(fileName, MemoLoadLimit, head, whole, size, reason)) {
        tk::ShowMessage("ﾌｧｲﾙ " + fileName + " は開けません");
        return false;
    }
    if (!whole) {
        // The memo ends with the last whole line shown.
        size_t lineEnd = head.find_last_of("\r\n");
        if (lineEnd != std::string::npos)
            head.resize(lineEnd + 1);
        tk::Application::Instance().GetDesktop().Notice(
            fileName + ": the memo shows the first " + std::to_string(head.size()) + " of its " + std::to_string(size) +
            " bytes; writing the memo back over it asks first");
    }
    Memo1->SetText(MemoTextOfFile(head));
    Memo1->SetModified(false);
    memoPartOf_ = whole ? std::string() : fileName;
    return true;
}

}  // namespace quorlin
