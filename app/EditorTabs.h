#pragma once
// One editor tab per open buffer of the host, kept in step both ways: the buffer's code page 932
// text shown as Unicode and written back as code page 932, the view's cursor and top line, and the
// selection as the editor's block. A buffer bigger than BigTextBytes when it opens gets a read-only
// BigTextView instead of an editor.

#include <QPlainTextEdit>
#include <QTabWidget>

#include "refhost/RefHost.h"

namespace workbench {

class BigTextView;

class EditorTabs : public QTabWidget, public refhost::HostListener {
    Q_OBJECT
public:
    static constexpr size_t BigTextBytes = 4 << 20;

    explicit EditorTabs(refhost::Host& host, QWidget* parent = nullptr);
    ~EditorTabs() override;

    // The editor of a buffer, or nullptr (also for a buffer shown by a BigTextView).
    QPlainTextEdit* EditorOf(const std::string& fileName) const;
    QPlainTextEdit* CurrentEditor() const;
    BigTextView* BigViewOf(const std::string& fileName) const;
    std::string FileOf(const QWidget* editor) const;

    void BufferOpened(const std::string& fileName) override;
    void BufferClosed(const std::string& fileName) override;
    void BufferChanged(const std::string& fileName) override;
    void ViewChanged(const std::string& fileName) override;
    void CurrentFileChanged(const std::string& fileName) override;

signals:
    // The current editor's cursor, 1-based line and column.
    void CursorMoved(int line, int column);

private:
    QWidget* TabOf(const std::string& fileName) const;
    // The buffer's CR LF text into the tab.
    void LoadText(QWidget* tab, std::string text);
    void ShowView(QWidget* tab, const std::string& fileName);
    void UserEdited(QPlainTextEdit* editor);
    void UserMoved(QPlainTextEdit* editor);
    void UserMovedTo(QWidget* tab, hostapi::TEditPos at, hostapi::TEditPos start, hostapi::TEditPos after);
    void UserScrolled(QAbstractScrollArea* tab);
    void UpdateTabText(QWidget* tab);
    void ReportCursor();

    refhost::Host& host_;
    int applying_ = 0;
};

// Host positions and Qt text positions; columns count code page 932 bytes from 1.
hostapi::TEditPos EditPosOf(const QTextCursor& cursor, int position);
int TextPositionOf(QTextDocument& document, hostapi::TEditPos pos);

}  // namespace workbench
