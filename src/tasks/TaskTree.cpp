// The task tree of the tool window: its parts, the selection change that shows a node's notes, its
// keys, label editing, dragging nodes, and the double-click jump to the routine a node names.

#include <filesystem>
#include <system_error>

#include "controls/ComboBoxEx.h"
#include "controls/MemoEx.h"
#include "host/Globals.h"
#include "platform/IniFile.h"
#include "services/HourGlass.h"
#include "services/QuorlinUnit.h"
#include "tasks/DragFile.h"
#include "tasks/NewTreeView.h"
#include "tasks/TaskDetail.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

constexpr const char* NewNodeText = "Sub Item1";

// The next sibling of the node or of its nearest ancestor that has one.
tk::TreeNode* NextOutside(const tk::TreeNode* node)
{
    for (; node; node = node->Parent()) {
        if (tk::TreeNode* next = node->GetNextSibling()) {
            return next;
        }
    }
    return nullptr;
}

bool IsSameOrBelow(const tk::TreeNode* node, const tk::TreeNode* ancestor)
{
    for (; node; node = node->Parent()) {
        if (node == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

void TCodeForm::CreateTaskParts()
{
    OpenDialog1 = new tk::OpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->Filter = "タスクファイル|*.INi";
    OpenDialog1->DefaultExt = "Ini";

    TextSaveDialog = new tk::SaveDialog(this);
    TextSaveDialog->SetName("TextSaveDialog");
    TextSaveDialog->Filter = "テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*";
    TextSaveDialog->DefaultExt = "*.txt";

    AcceptFile1 = new TAcceptFile(this);
    AcceptFile1->SetName("AcceptFile1");
}

void TCodeForm::WireTaskEvents()
{
    using namespace std::placeholders;
    auto notify = [this](void (TCodeForm::*handler)(tk::Component*)) {
        return tk::NotifyEvent(std::bind(handler, this, _1));
    };

    TreeView1->OnKeyDown = std::bind(&TCodeForm::TreeView1KeyDown, this, _1, _2, _3);
    TreeView1->OnKeyPress = std::bind(&TCodeForm::TreeView1KeyPress, this, _1, _2);
    TreeView1->OnEditing = std::bind(&TCodeForm::TreeView1Editing, this, _1, _2, _3);
    TreeView1->OnEdited = std::bind(&TCodeForm::TreeView1Edited, this, _1, _2, _3);
    TreeView1->OnEditCancel = std::bind(&TCodeForm::TreeView1EditCancel, this, _1, _2);
    TreeView1->OnNewEditCancel = std::bind(&TCodeForm::TreeView1NewEditCancel, this, _1, _2, _3);
    TreeView1->OnChanging = std::bind(&TCodeForm::TreeView1Changing, this, _1, _2, _3);
    TreeView1->OnChange = notify(&TCodeForm::TreeView1Change);
    TreeView1->OnDragOver = std::bind(&TCodeForm::TreeView1DragOver, this, _1, _2, _3, _4, _5);
    TreeView1->OnDragDrop = std::bind(&TCodeForm::TreeView1DragDrop, this, _1, _2, _3, _4);
    TreeView1->OnDblClick = notify(&TCodeForm::TreeView1DblClick);
    Memo1->OnKeyPress = std::bind(&TCodeForm::Memo1KeyPress, this, _1, _2);
    Memo1->OnKeyDown = std::bind(&TCodeForm::Memo1KeyDown, this, _1, _2, _3);

    New1->OnClick = notify(&TCodeForm::New1Click);
    K1->OnClick = notify(&TCodeForm::K1Click);
    Save1->OnClick = notify(&TCodeForm::Save1Click);
    SaveAs1->OnClick = notify(&TCodeForm::SaveAs1Click);
    Close1->OnClick = notify(&TCodeForm::Close1Click);
    FullExpand1->OnClick = notify(&TCodeForm::FullExpand1Click);
    FullCollapse1->OnClick = notify(&TCodeForm::FullCollapse1Click);
    MenuModifyLink->OnClick = notify(&TCodeForm::MenuModifyLinkClick);
    ClearMemoItem->OnClick = notify(&TCodeForm::ClearMemoItemClick);
    SaveMemoItem->OnClick = notify(&TCodeForm::SaveMemoItemClick);
    AcceptFile1->OnDropFile = [this](const std::string& fileName) { return AcceptFile1DropFile(fileName); };
}

void TCodeForm::TreeView1Change(tk::Component*)
{
    tk::TreeNode* node = TreeView1->Selected();
    // Nothing is selected any more (the last node went, or New emptied the tree): the memo keeps
    // its text and stays the notes of the node it showed, so what is typed now is written with
    // them at the next selection change.
    if (!node)
        return;
    std::string detailName = TaskDetailFileName(TaskFileName);
    if (!DetailFileUsable(detailName)) {
        tk::ShowMessage("Failed to Create IniFile");
        return;
    }
    if (!SaveMemoChanges())
        return;
    CurrentNodeText = node->Text();
    HourGlass hourGlass;
    Memo1->SetText("");
    Memo1->SetModified(false);
    memoPartOf_.clear();
    std::string linked = LinkedFileName(CurrentNodeText);
    std::error_code error;
    // A FIFO, device or folder there is refused with a message, not taken for a missing file.
    if (!IsTaskFileOrDetail(linked) && std::filesystem::exists(linked, error)) {
        LoadMemoFromFile(linked);
    } else {
        auto detail = platform::IniFile::ReadOnly(detailName);
        std::string value = detail->ReadString(DetailSection, CurrentNodeText, "");
        Memo1->Lines().Assign(DetailNoteLines(std::string_view(value).substr(0, DetailValueLimit)));
    }
    Memo1->SetModified(false);
}

void TCodeForm::TreeView1KeyDown(tk::Component*, uint16_t& key, tk::ShiftState shift)
{
    tk::TreeNode* selected = TreeView1->Selected();
    bool ctrl = (shift & tk::ssCtrl) != 0;
    if (key == tk::VK_RIGHT && ctrl) {
        Memo1->SetFocus();
        key = 0;
    } else if (key == tk::VK_UP && ctrl) {
        UnitCombo->SetFocus();
        key = 0;
    } else if (key == tk::VK_ESCAPE && LabelEditing) {
        LabelEditing = false;
    } else if (key == tk::VK_RETURN && (shift & tk::ssShift)) {
        tk::TreeNode* node = TreeView1->AddChild(selected, NewNodeText);
        if (selected)
            selected->SetExpandedBelow(true);
        TreeView1->SetSelected(node);
        key = 0;
    } else if (key == tk::VK_RETURN) {
        TreeView1->SetSelected(TreeView1->Add(selected, NewNodeText));
        key = 0;
    } else if (key == tk::VK_DELETE && !LabelEditing) {
        if (selected)
            TreeView1->Delete(selected);
    } else if (key == tk::VK_BACK && !LabelEditing && selected) {
        TreeView1->EditText(selected);
        LabelEditing = true;
    } else if (key == tk::VK_SPACE && !LabelEditing) {
        TreeView1->Repaint();
    } else if (key == tk::VK_RIGHT && selected && selected->Count() == 0) {
        if (tk::TreeNode* next = NextOutside(selected))
            TreeView1->SetSelected(next);
    }
}

void TCodeForm::TreeView1KeyPress(tk::Component*, char& key)
{
    if (key == '\r')
        key = 0;
}

void TCodeForm::TreeView1Editing(tk::Component*, tk::TreeNode*, bool& allowEdit)
{
    LabelEditing = true;
    allowEdit = true;
}

void TCodeForm::TreeView1Edited(tk::Component*, tk::TreeNode*, std::string& text)
{
    CurrentNodeText = text;
    LabelEditing = false;
}

void TCodeForm::TreeView1EditCancel(tk::Component*, tk::TreeNode*)
{
    LabelEditing = false;
}

void TCodeForm::TreeView1NewEditCancel(tk::Component*, tk::TreeNode*, bool&)
{
    LabelEditing = false;
}

void TCodeForm::TreeView1Changing(tk::Component*, tk::TreeNode*, bool& allowChange)
{
    allowChange = !LabelEditing;
}

void TCodeForm::TreeView1DragOver(tk::Component*, tk::Component*, int, int, bool& accept)
{
    accept = true;
}

void TCodeForm::TreeView1DragDrop(tk::Component*, tk::Component* source, int x, int y)
{
    tk::TreeNode* node = TreeView1->Selected();
    if (!dynamic_cast<tk::TreeView*>(source) || !node)
        return;
    tk::HitTests hit = TreeView1->GetHitTestInfoAt(x, y);
    tk::TreeNode* target = TreeView1->GetNodeAt(x, y);
    if (hit & tk::htNowhere) {
        TreeView1->MoveTo(node, nullptr, TreeView1->TopCount());
        return;
    }
    if (!target || IsSameOrBelow(target, node))
        return;
    if (hit & tk::htOnItem) {
        TreeView1->MoveTo(node, target, target->Count());
    } else if (hit & tk::htOnIndent) {
        int index = target->Index();
        // Taking the node out first moves a later sibling up by one.
        if (node->Parent() == target->Parent() && node->Index() < index)
            --index;
        TreeView1->MoveTo(node, target->Parent(), index);
    }
}

void TCodeForm::TreeView1DblClick(tk::Component*)
{
    tk::TreeNode* node = TreeView1->Selected();
    if (!CodeForm || !node || node->Text().empty())
        return;
    std::string routine = node->Text();
    int noted = UnitCombo->ItemIndex();
    if (JumpMethod(UnitCombo->Text(), routine)) {
        NormalItemClick(ListOnlyItem);
        return;
    }
    std::vector<std::string> units = UnitCombo->Items().Items();
    for (int i = 0; i < static_cast<int>(units.size()); ++i) {
        if (i != noted && JumpMethod(units[i], routine))
            NormalItemClick(ListOnlyItem);
    }
}

void TCodeForm::Memo1KeyPress(tk::Component*, char& key)
{
    if (key == '~')
        key = 0;
}

void TCodeForm::Memo1KeyDown(tk::Component*, uint16_t& key, tk::ShiftState shift)
{
    if ((shift & tk::ssCtrl) && (key == tk::VK_UP || key == tk::VK_LEFT))
        key = 0;
}

void TCodeForm::FullExpand1Click(tk::Component*)
{
    TreeView1->FullExpand();
}

void TCodeForm::FullCollapse1Click(tk::Component*)
{
    TreeView1->FullCollapse();
}

}  // namespace quorlin
