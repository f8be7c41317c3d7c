#pragma once
// The widget of toolkit one-line edits.

#include <QKeyEvent>
#include <QLineEdit>

#include "app/ControlWidgets.h"
#include "app/EditState.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

class EditView : public QLineEdit, public ControlView {
public:
    EditView(FormRenderer& renderer, tk::CustomEdit& edit, QWidget* parent)
        : QLineEdit(parent), ControlView(renderer, &edit), edit_(&edit)
    {
        // Typed and input-method text alike; the renderer's own updates are not delivered back.
        connect(this, &QLineEdit::textChanged, this, [this] { PushState(); });
        connect(this, &QLineEdit::cursorPositionChanged, this, [this] { PushState(); });
        connect(this, &QLineEdit::selectionChanged, this, [this] { PushState(); });
    }

    void SyncFromControl() override
    {
        QString text = FromCp932(edit_->Text());
        if (text != shown_.Text) {
            shown_.Text = text;
            setText(text);
            shown_.Start = -1;
        }
        if (isReadOnly() != edit_->ReadOnly()) {
            setReadOnly(edit_->ReadOnly());
        }
        if (edit_->SelStart() != shown_.Start || edit_->SelLength() != shown_.Length) {
            shown_.Start = edit_->SelStart();
            shown_.Length = edit_->SelLength();
            int start = QtIndex(text, shown_.Start);
            setSelection(start, QtIndex(text, shown_.Start + shown_.Length) - start);
        }
    }

    bool EditsText(const QKeyEvent& event) const override { return IsEditingKey(event, false); }

private:
    void PushState()
    {
        int start = hasSelectedText() ? selectionStart() : cursorPosition();
        int end = hasSelectedText() ? selectionEnd() : start;
        PushEditState(renderer_, *edit_, shown_, text(), start, end, false);
    }

    tk::CustomEdit* edit_;
    ShownEdit shown_;
};

}  // namespace workbench
