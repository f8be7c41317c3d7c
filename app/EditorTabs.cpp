#include "app/EditorTabs.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include "app/BigTextView.h"
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

QWidget* EditorTabs::TabOf(const std::string& fileName) const
{
    for (int i = 0; i < count(); ++i) {
        if (FileOf(widget(i)) == fileName) {
            return widget(i);
        }
    }
    return nullptr;
}

QPlainTextEdit* EditorTabs::EditorOf(const std::string& fileName) const
{
    return qobject_cast<QPlainTextEdit*>(TabOf(fileName));
}

BigTextView* EditorTabs::BigViewOf(const std::string& fileName) const
{
    return qobject_cast<BigTextView*>(TabOf(fileName));
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
    if (TabOf(fileName)) {
        return;
    }
    std::string text = host_.Text(fileName);
    QAbstractScrollArea* tab = nullptr;
    if (text.size() > BigTextBytes) {
        auto* view = new BigTextView;
        connect(view, &BigTextView::CursorMoved, this,
                [this, view](hostapi::TEditPos at) { UserMovedTo(view, at, at, at); });
        tab = view;
    } else {
        auto* editor = new QPlainTextEdit;
        editor->setLineWrapMode(QPlainTextEdit::NoWrap);
        editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        tab = editor;
    }
    tab->setProperty(FileProperty, QByteArray::fromStdString(fileName));
    LoadText(tab, std::move(text));
    ++applying_;
    addTab(tab, QString());
    --applying_;
    UpdateTabText(tab);
    ShowView(tab, fileName);
    if (auto* editor = qobject_cast<QPlainTextEdit*>(tab)) {
        connect(editor, &QPlainTextEdit::textChanged, this, [this, editor] { UserEdited(editor); });
        connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this, editor] { UserMoved(editor); });
        connect(editor, &QPlainTextEdit::selectionChanged, this, [this, editor] { UserMoved(editor); });
    }
    connect(tab->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, tab] { UserScrolled(tab); });
}

void EditorTabs::BufferClosed(const std::string& fileName)
{
    if (QWidget* tab = TabOf(fileName)) {
        ++applying_;
        removeTab(indexOf(tab));
        --applying_;
        delete tab;
    }
}

void EditorTabs::BufferChanged(const std::string& fileName)
{
    if (QWidget* tab = TabOf(fileName)) {
        LoadText(tab, host_.Text(fileName));
        UpdateTabText(tab);
        ShowView(tab, fileName);
    }
}

void EditorTabs::ViewChanged(const std::string& fileName)
{
    if (QWidget* tab = TabOf(fileName)) {
        ShowView(tab, fileName);
    }
}

void EditorTabs::CurrentFileChanged(const std::string& fileName)
{
    if (QWidget* tab = TabOf(fileName)) {
        ++applying_;
        setCurrentWidget(tab);
        --applying_;
        ReportCursor();
    }
}

void EditorTabs::LoadText(QWidget* tab, std::string text)
{
    if (auto* view = qobject_cast<BigTextView*>(tab)) {
        view->SetText(std::move(text));
        return;
    }
    auto* editor = static_cast<QPlainTextEdit*>(tab);
    QString shown = FromCp932Lines(std::move(text));
    if (shown == editor->toPlainText()) {
        return;
    }
    ++applying_;
    editor->setPlainText(shown);
    --applying_;
}

// The block is shown as the selection when the cursor stands at one of its ends; the top line last,
// since moving the cursor scrolls it into view.
void EditorTabs::ShowView(QWidget* tab, const std::string& fileName)
{
    ++applying_;
    auto* area = static_cast<QAbstractScrollArea*>(tab);
    if (auto* view = qobject_cast<BigTextView*>(tab)) {
        view->ShowPositions(host_.Cursor(fileName), host_.BlockStart(fileName), host_.BlockAfter(fileName));
    } else {
        auto* editor = static_cast<QPlainTextEdit*>(tab);
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
    }
    area->verticalScrollBar()->setValue(host_.TopLine(fileName).Line - 1);
    --applying_;
    // A tab opened just now has no scroll range until it is laid out.
    QTimer::singleShot(0, tab, [this, area, fileName] {
        ++applying_;
        area->verticalScrollBar()->setValue(host_.TopLine(fileName).Line - 1);
        --applying_;
    });
    if (tab == currentWidget()) {
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
    QTextCursor cursor = editor->textCursor();
    UserMovedTo(editor, EditPosOf(cursor, cursor.position()), EditPosOf(cursor, cursor.selectionStart()),
                EditPosOf(cursor, cursor.selectionEnd()));
}

void EditorTabs::UserMovedTo(QWidget* tab, hostapi::TEditPos at, hostapi::TEditPos start, hostapi::TEditPos after)
{
    if (applying_) {
        return;
    }
    std::string fileName = FileOf(tab);
    ++applying_;
    host_.SetCursor(fileName, at);
    host_.SetBlock(fileName, start, after);
    --applying_;
    if (tab == currentWidget()) {
        ReportCursor();
    }
}

void EditorTabs::UserScrolled(QAbstractScrollArea* tab)
{
    if (applying_) {
        return;
    }
    ++applying_;
    host_.SetTopLine(FileOf(tab), {1, tab->verticalScrollBar()->value() + 1});
    --applying_;
}

void EditorTabs::UpdateTabText(QWidget* tab)
{
    std::string fileName = FileOf(tab);
    QString text = QFileInfo(FromCp932(fileName)).fileName();
    if (host_.IsModified(fileName)) {
        text += " *";
    }
    int index = indexOf(tab);
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
