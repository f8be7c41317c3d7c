#pragma once
// The editor tab of a buffer too big for Qt's text document, which holds a text as UTF-16 with
// bookkeeping for every line (a 50 MB unit took over a gigabyte and many seconds to show). This
// view keeps the buffer's code page 932 text and where each line starts, and converts only the
// lines on screen. It shows the host's cursor, block and top line and moves the cursor with the
// mouse and the navigation keys; the text itself is read-only here.

#include <QAbstractScrollArea>
#include <string>
#include <vector>

#include "hostapi/ToolIntf.h"

namespace workbench {

class BigTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit BigTextView(QWidget* parent = nullptr);

    // The text with CR LF (or LF) line breaks.
    void SetText(std::string text);
    int LineCount() const { return static_cast<int>(lineStarts_.size()); }
    // Line (1-based) without its line break, in code page 932.
    std::string Line(int line) const;
    // Positions are the host's: 1-based lines, columns counting bytes from 1.
    void ShowPositions(hostapi::TEditPos cursor, hostapi::TEditPos blockStart, hostapi::TEditPos blockAfter);
    hostapi::TEditPos Cursor() const { return cursor_; }
    // The first line shown, 1-based; the vertical scroll bar's value is one less.
    int TopLine() const;

signals:
    // A person moved the cursor.
    void CursorMoved(hostapi::TEditPos cursor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int LineHeight() const;
    int VisibleLines() const;
    // The x of a byte column in a line, and the column nearest an x.
    int ColumnX(int line, int column) const;
    int ColumnAt(int line, int x) const;
    void UpdateScrollRanges();
    void MoveCursor(hostapi::TEditPos cursor);

    std::string text_;
    std::vector<size_t> lineStarts_;
    size_t longestLine_ = 0;
    hostapi::TEditPos cursor_{1, 1};
    hostapi::TEditPos blockStart_{1, 1};
    hostapi::TEditPos blockAfter_{1, 1};
};

}  // namespace workbench
