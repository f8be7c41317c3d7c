#pragma once
// The task tree's control: a tree view whose label editor switches to Hiragana input, and which
// tells a cancelled edit apart, for a new node (which it may then delete) and for an old one.

#include <functional>

#include "toolkit/ComCtrls.h"

namespace quorlin {

enum class TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                      imChinese, imSHanguel, imHanguel };

using TTVEditCancelEvent = std::function<void(tk::Component* sender, tk::TreeNode* node)>;
using TTVNewEditCancelEvent = std::function<void(tk::Component* sender, tk::TreeNode* node, bool& deleteNode)>;

class TTreeViewEx : public tk::TreeView {
public:
    explicit TTreeViewEx(tk::Component* owner);

    TImeMode ImeMode = TImeMode::imDontCare;
    bool IsEditingNew() const { return isEditingNew_; }
    // The input method the platform gives the control's keyboard input now: the label editor's
    // while one is open.
    TImeMode ActiveImeMode() const { return activeImeMode_; }

    TTVEditCancelEvent OnEditCancel;
    TTVNewEditCancelEvent OnNewEditCancel;

protected:
    void EditStarted() override;
    void EditFinished(tk::TreeNode* node, bool cancelled) override;

private:
    bool isEditingNew_ = false;
    TImeMode activeImeMode_ = TImeMode::imDontCare;
};

}  // namespace quorlin
