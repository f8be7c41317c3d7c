#include "tasks/NewTreeView.h"

namespace quorlin {

TTreeViewEx::TTreeViewEx(tk::Component* owner) : tk::TreeView(owner)
{
}

void TTreeViewEx::EditStarted()
{
    activeImeMode_ = TImeMode::imHira;
}

void TTreeViewEx::EditFinished(tk::TreeNode* node, bool cancelled)
{
    if (cancelled && isEditingNew_) {
        bool deleteNode = true;
        if (OnNewEditCancel) {
            OnNewEditCancel(this, node, deleteNode);
        }
        if (deleteNode) {
            Delete(node);
        }
    } else if (cancelled && OnEditCancel) {
        OnEditCancel(this, node);
    }
    isEditingNew_ = false;
    if (!IsEditing()) {
        activeImeMode_ = ImeMode;
    }
}

}  // namespace quorlin
