#include "app/EditorTabs.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include "app/TextCodec.h"

namespace workbench {

namespace {

constexpr const char* FileProperty = "quorlinFile";

}  // namespace

hostapi::TEditPos EditPosOf(const QTextCursor& cursor, int position)
{
    QTextBlock block = cursor.document()->findBlock(position);
    int column = Cp932Offset(block.text(), position - block.position());
    return {static_cast<int16_t>(column + 1), block.blockNumber() + 1};
}

int TextPositionOf(QTextDocument& document, hostapi::TEditPos pos)
{
    QTextBlock block = document.findBlockByNumber(std::max(pos.Line, 1) - 1);
    if (!block.isValid()) {
        block = document.lastBlock();
    }
    return block.position() + QtIndex(block.text(), std::max<int>(pos.Col, 1) - 1);
}

EditorTabs::EditorTabs(refhost::Host& host, QWidget* parent) : QTabWidget(parent), host_(host)
{
    setTabsClosable(true);
    setDocumentMode(true);
    host_.AddListener(this);
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int index) {
        std::string fileName = FileOf(widget(index));
        if (!fileName.empty()) {
            host_.CloseFile(fileName);
        }
    });
    connect(this, &QTabWidget::currentChanged, this, [this] {
        ReportCursor();
        std::string fileName = FileOf(currentWidget());
        if (!applying_ && !fileName.empty() && host_.CurrentFile() != fileName) {
            host_.ShowFile(fileName);
        }
    });
    for (const std::string& fileName : host_.OpenFiles()) {
        BufferOpened(fileName);
    }
}

EditorTabs::~EditorTabs()
{
    host_.RemoveListener(this);
}

QPlainTextEdit* EditorTabs::EditorOf(const std::string& fileName) const
{
    for (int i = 0; i < count(); ++i) {
        if (FileOf(widget(i)) == fileName) {
            return static_cast<QPlainTextEdit*>(widget(i));
        }
    }
    return nullptr;
}

QPlainTextEdit* EditorTabs::CurrentEditor() const
{
    return qobject_cast<QPlainTextEdit*>(currentWidget());
}

std::string EditorTabs::FileOf(const QWidget* editor) const
{
    return editor ? editor->property(FileProperty).toByteArray().toStdString() : std::string();
}

void EditorTabs::BufferOpened(const std::string& fileName)
{
    if (EditorOf(fileName)) {
        return;
    }
    auto* editor = new QPlainTextEdit;
    editor->setProperty(FileProperty, QByteArray::fromStdString(fileName));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LoadText(editor, fileName);
    ++applying_;
    addTab(editor, QString());
    --applying_;
    UpdateTabText(editor);
    ShowView(editor, fileName);
    connect(editor, &QPlainTextEdit::textChanged, this, [this, editor] { UserEdited(editor); });
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this, editor] { UserMoved(editor); });
    connect(editor, &QPlainTextEdit::selectionChanged, this, [this, editor] { UserMoved(editor); });
    connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, editor] { UserScrolled(editor); });
}

void EditorTabs::BufferClosed(const std::string& fileName)
{
    if (QPlainTextEdit* editor = EditorOf(fileName)) {
        ++applying_;
        removeTab(indexOf(editor));
        --applying_;
        delete editor;
    }
}

void EditorTabs::BufferChanged(const std::string& fileName)
{
    if (QPlainTextEdit* editor = EditorOf(fileName)) {
        LoadText(editor, fileName);
        UpdateTabText(editor);
        ShowView(editor, fileName);
    }
}

void EditorTabs::ViewChanged(const std::string& fileName)
{
    if (QPlainTextEdit* editor = EditorOf(fileName)) {
        ShowView(editor, fileName);
    }
}

void EditorTabs::CurrentFileChanged(const std::string& fileName)
{
    if (QPlainTextEdit* editor = EditorOf(fileName)) {
        ++applying_;
        setCurrentWidget(editor);
        --applying_;
        ReportCursor();
    }
}

void EditorTabs::LoadText(QPlainTextEdit* editor, const std::string& fileName)
{
    QString text = FromCp932Lines(host_.Text(fileName));
    if (text == editor->toPlainText()) {
        return;
    }
    ++applying_;
    editor->setPlainText(text);
    --applying_;
}

// The block is shown as the selection when the cursor stands at one of its ends; the top line last,
// since moving the cursor scrolls it into view.
void EditorTabs::ShowView(QPlainTextEdit* editor, const std::string& fileName)
{
    ++applying_;
    QTextDocument& document = *editor->document();
    int cursorAt = TextPositionOf(document, host_.Cursor(fileName));
    int blockStart = TextPositionOf(document, host_.BlockStart(fileName));
    int blockAfter = TextPositionOf(document, host_.BlockAfter(fileName));
    QTextCursor cursor(&document);
    if (blockStart < blockAfter && (cursorAt == blockStart || cursorAt == blockAfter)) {
        cursor.setPosition(cursorAt == blockStart ? blockAfter : blockStart);
        cursor.setPosition(cursorAt, QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(cursorAt);
    }
    editor->setTextCursor(cursor);
    editor->verticalScrollBar()->setValue(host_.TopLine(fileName).Line - 1);
    --applying_;
    // A tab opened just now has no scroll range until it is laid out.
    QTimer::singleShot(0, editor, [this, editor, fileName] {
        ++applying_;
        editor->verticalScrollBar()->setValue(host_.TopLine(fileName).Line - 1);
        --applying_;
    });
    if (editor == currentWidget()) {
        ReportCursor();
    }
}

void EditorTabs::UserEdited(QPlainTextEdit* editor)
{
    if (applying_) {
        return;
    }
    std::string fileName = FileOf(editor);
    ++applying_;
    host_.SetText(fileName, ToCp932(editor->toPlainText()));
    --applying_;
    UpdateTabText(editor);
    UserMoved(editor);
}

void EditorTabs::UserMoved(QPlainTextEdit* editor)
{
    if (applying_) {
        return;
    }
    std::string fileName = FileOf(editor);
    QTextCursor cursor = editor->textCursor();
    hostapi::TEditPos at = EditPosOf(cursor, cursor.position());
    hostapi::TEditPos start = EditPosOf(cursor, cursor.selectionStart());
    hostapi::TEditPos after = EditPosOf(cursor, cursor.selectionEnd());
    ++applying_;
    host_.SetCursor(fileName, at);
    host_.SetBlock(fileName, start, after);
    --applying_;
    if (editor == currentWidget()) {
        ReportCursor();
    }
}

void EditorTabs::UserScrolled(QPlainTextEdit* editor)
{
    if (applying_) {
        return;
    }
    ++applying_;
    host_.SetTopLine(FileOf(editor), {1, editor->verticalScrollBar()->value() + 1});
    --applying_;
}

void EditorTabs::UpdateTabText(QPlainTextEdit* editor)
{
    std::string fileName = FileOf(editor);
    QString text = QFileInfo(FromCp932(fileName)).fileName();
    if (host_.IsModified(fileName)) {
        text += " *";
    }
    int index = indexOf(editor);
    if (index >= 0 && tabText(index) != text) {
        setTabText(index, text);
        setTabToolTip(index, FromCp932(fileName));
    }
}

void EditorTabs::ReportCursor()
{
    std::string fileName = FileOf(currentWidget());
    if (fileName.empty()) {
        emit CursorMoved(0, 0);
        return;
    }
    hostapi::TEditPos at = host_.Cursor(fileName);
    emit CursorMoved(at.Line, at.Col);
}

}  // namespace workbench
