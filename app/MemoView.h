#pragma once
// The widget of toolkit memos.

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "app/ControlWidgets.h"
#include "app/EditState.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

class MemoView : public QPlainTextEdit, public ControlView {
public:
    MemoView(FormRenderer& renderer, tk::Memo& memo, QWidget* parent)
        : QPlainTextEdit(parent), ControlView(renderer, &memo), memo_(&memo)
    {
        // Like an edit control of the platform, it takes no drops; files dropped on it go on to
        // the window.
        setAcceptDrops(false);
        connect(this, &QPlainTextEdit::textChanged, this, [this] { PushState(); });
        connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { PushState(); });
    }

    void SyncFromControl() override
    {
        QString text = FromCp932Lines(memo_->Text());
        if (text != shown_.Text) {
            shown_.Text = text;
            setPlainText(text);
            shown_.Start = -1;
        }
        if (isReadOnly() != memo_->ReadOnly()) {
            setReadOnly(memo_->ReadOnly());
        }
        LineWrapMode wrap = memo_->WordWrap() ? WidgetWidth : NoWrap;
        if (lineWrapMode() != wrap) {
            setLineWrapMode(wrap);
        }
        if (memo_->SelStart() != shown_.Start || memo_->SelLength() != shown_.Length) {
            shown_.Start = memo_->SelStart();
            shown_.Length = memo_->SelLength();
            QTextCursor cursor = textCursor();
            cursor.setPosition(QtIndex(text, shown_.Start, true));
            cursor.setPosition(QtIndex(text, shown_.Start + shown_.Length, true), QTextCursor::KeepAnchor);
            setTextCursor(cursor);
        }
    }

    bool EditsText(const QKeyEvent& event) const override { return IsEditingKey(event, true); }

private:
    void PushState()
    {
        QTextCursor cursor = textCursor();
        PushEditState(renderer_, *memo_, shown_, toPlainText(), cursor.selectionStart(), cursor.selectionEnd(), true);
    }

    tk::Memo* memo_;
    ShownEdit shown_;
};

}  // namespace workbench
