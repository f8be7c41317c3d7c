#pragma once
// The tool window over a temporary host folder, with helpers that act on its task tree and memo as
// a person does: keys, typing, menu commands and dialogs answered in advance.

#include <string>
#include <vector>

#include "support/ToolWindowFixture.h"
#include "controls/MemoEx.h"
#include "tasks/TaskFile.h"

class TaskFixture : public ToolWindowFixture {
protected:
    quorlin::TCodeForm& Form()
    {
        if (!quorlin::CodeForm)
            CreateForm().Show();
        return *quorlin::CodeForm;
    }

    // The tree as its task file would hold it.
    std::string TreeText() { return quorlin::FormatTaskFile(*Form().TreeView1); }

    // The first node in tree order with the text.
    tk::TreeNode* Node(const std::string& text)
    {
        for (tk::TreeNode* node : Form().TreeView1->AllNodes())
            if (node->Text() == text)
                return node;
        ADD_FAILURE() << "no node " << text;
        return nullptr;
    }

    void Select(const std::string& text) { Form().TreeView1->SetSelected(Node(text)); }

    void TreeKey(uint16_t key, tk::ShiftState shift = 0) { Form().TreeView1->HandleKeyDown(key, shift); }

    // Typed at the end of the memo.
    void Type(const std::string& text)
    {
        TMemo().SetSelStart(static_cast<int>(TMemo().Text().size()));
        for (char c : text)
            TMemo().HandleKeyPress(c);
    }

    quorlin::TMemoEx& TMemo() { return *Form().Memo1; }

    // A task file in the temporary folder, opened through the menu.
    std::string OpenTasks(const std::string& name, const std::string& text)
    {
        std::string fileName = WriteFile(name, text);
        desktop.QueueDialog(fileName);
        Form().K1->Click();
        return fileName;
    }

    std::string HostFile(const std::string& name) const { return folder.Path() + "/" + name; }
};
