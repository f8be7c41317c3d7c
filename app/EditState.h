#pragma once
// What the edit widgets share: the keys they keep from the toolkit, and handing their text and
// selection over to their control.

#include <QKeyEvent>

#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

// Keys that an edit widget handles itself; a multi-line one also keeps line moves and Enter.
inline bool IsEditingKey(const QKeyEvent& event, bool multiLine)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::Paste) ||
               event.matches(QKeySequence::Cut) || event.matches(QKeySequence::Undo) ||
               event.matches(QKeySequence::SelectAll);
    }
    switch (event.key()) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
        return false;
    case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Home: case Qt::Key_End:
        return true;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Return: case Qt::Key_Enter:
        return multiLine;
    default:
        return !event.text().isEmpty() && event.text()[0] >= ' ';
    }
}

// What an edit widget last showed of its control or handed over to it: the text as the widget
// holds it, and the selection in byte offsets of the control's text (CR LF line breaks in a memo).
struct ShownEdit {
    QString Text;
    int Start = -1;
    int Length = -1;
};

// Hands the widget's text, when the control does not have it yet, and its selection (Qt indices
// start to end) over together: Qt tells of the caret's move before the edit that moved it, and a
// selection given against the control's old text would be clamped and shown back.
inline void PushEditState(FormRenderer& renderer, tk::CustomEdit& edit, ShownEdit& shown, const QString& text,
                   int start, int end, bool multiLine)
{
    if (renderer.Syncing()) {
        return;
    }
    int byteStart = Cp932Offset(text, start, multiLine);
    int byteLength = Cp932Offset(text, end, multiLine) - byteStart;
    bool newText = text != shown.Text;
    if (!newText && byteStart == shown.Start && byteLength == shown.Length) {
        return;
    }
    shown = {text, byteStart, byteLength};
    renderer.Deliver([&edit, text, newText, multiLine, byteStart, byteLength] {
        if (newText) {
            edit.TypeText(ToCp932(multiLine ? QString(text).replace("\n", "\r\n") : text));
        }
        edit.SetSelStart(byteStart);
        edit.SetSelLength(byteLength);
    });
}

}  // namespace workbench
