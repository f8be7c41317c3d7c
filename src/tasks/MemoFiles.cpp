// Moving text between the memo and files: the link of a node, clearing and saving the memo, and
// files dropped onto the tool window.

#include <memory>

#include "controls/MemoEx.h"
#include "host/Globals.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "services/QuorlinUnit.h"
#include "tasks/LinkFileUnit.h"
#include "tasks/NewTreeView.h"
#include "tasks/TaskDetail.h"
#include "toolkit/Application.h"

namespace quorlin {

void TCodeForm::MenuModifyLinkClick(tk::Component*)
{
    tk::TreeNode* node = TreeView1->Selected();
    if (!node)
        return;
    auto dialog = std::make_unique<TDetailLocationForm>(this);
    std::string nodeText = node->Text();
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
    tk::TreeNode* node = TreeView1->Add(TreeView1->Selected(), nodeText);
    TreeView1->SetSelected(node);
    // A label being edited keeps the selection, and notes that could not be written keep the memo;
    // the memo then still belongs to the old node and must not take the file.
    if (TreeView1->Selected() != node || CurrentNodeText != nodeText || Memo1->Modified())
        return false;
    std::string bytes;
    if (!platform::ReadWholeFile(fileName, bytes)) {
        tk::ShowMessage("ﾌｧｲﾙ " + fileName + " は開けません");
        return false;
    }
    Memo1->SetText(MemoTextOfFile(bytes));
    Memo1->SetModified(false);
    SetLinkedFileName(nodeText, fileName);
    tk::ShowMessage("File Dropped End");
    return true;
}

}  // namespace quorlin
