#include "app/BigTextView.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

#include "app/TextCodec.h"

namespace workbench {

namespace {

constexpr int Margin = 4;

bool Before(hostapi::TEditPos a, hostapi::TEditPos b)
{
    return a.Line < b.Line || (a.Line == b.Line && a.Col < b.Col);
}

}  // namespace

BigTextView::BigTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void BigTextView::SetText(std::string text)
{
    text_ = std::move(text);
    lineStarts_.assign(1, 0);
    longestLine_ = 0;
    const char* begin = text_.data();
    const char* end = begin + text_.size();
    for (const char* at = begin; at < end;) {
        const char* lf = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        if (!lf) {
            longestLine_ = std::max(longestLine_, static_cast<size_t>(end - at));
            break;
        }
        longestLine_ = std::max(longestLine_, static_cast<size_t>(lf - at));
        at = lf + 1;
        lineStarts_.push_back(static_cast<size_t>(at - begin));
    }
    // A final line break ends the last line rather than starting an empty one, as the host counts.
    if (lineStarts_.size() > 1 && lineStarts_.back() == text_.size()) {
        lineStarts_.pop_back();
    }
    UpdateScrollRanges();
    viewport()->update();
}

std::string BigTextView::Line(int line) const
{
    if (line < 1 || line > LineCount()) {
        return {};
    }
    size_t start = lineStarts_[static_cast<size_t>(line) - 1];
    size_t end = static_cast<size_t>(line) < lineStarts_.size() ? lineStarts_[static_cast<size_t>(line)] : text_.size();
    while (end > start && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) {
        --end;
    }
    return text_.substr(start, end - start);
}

void BigTextView::ShowPositions(hostapi::TEditPos cursor, hostapi::TEditPos blockStart, hostapi::TEditPos blockAfter)
{
    cursor_ = cursor;
    blockStart_ = blockStart;
    blockAfter_ = blockAfter;
    viewport()->update();
}

int BigTextView::TopLine() const
{
    return verticalScrollBar()->value() + 1;
}

int BigTextView::LineHeight() const
{
    return std::max(fontMetrics().lineSpacing(), 1);
}

int BigTextView::VisibleLines() const
{
    return std::max(viewport()->height() / LineHeight(), 1);
}

int BigTextView::ColumnX(int line, int column) const
{
    std::string bytes = Line(line);
    size_t count = static_cast<size_t>(std::clamp(column - 1, 0, static_cast<int>(bytes.size())));
    return Margin + fontMetrics().horizontalAdvance(FromCp932(bytes.substr(0, count)));
}

int BigTextView::ColumnAt(int line, int x) const
{
    QString text = FromCp932(Line(line));
    int width = 0;
    for (int index = 0; index < text.size(); ++index) {
        int advance = fontMetrics().horizontalAdvance(text[index]);
        if (Margin + width + advance / 2 > x) {
            return Cp932Offset(text, index) + 1;
        }
        width += advance;
    }
    return Cp932Offset(text, static_cast<int>(text.size())) + 1;
}

void BigTextView::UpdateScrollRanges()
{
    verticalScrollBar()->setRange(0, std::max(LineCount() - VisibleLines(), 0));
    verticalScrollBar()->setPageStep(VisibleLines());
    int widest = Margin + static_cast<int>(longestLine_) * fontMetrics().averageCharWidth();
    horizontalScrollBar()->setRange(0, std::max(widest - viewport()->width(), 0));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void BigTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void BigTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    int height = LineHeight();
    int left = -horizontalScrollBar()->value();
    bool block = Before(blockStart_, blockAfter_);
    for (int row = 0; row <= VisibleLines(); ++row) {
        int line = TopLine() + row;
        if (line > LineCount()) {
            break;
        }
        int top = row * height;
        QString text = FromCp932(Line(line));
        QPoint baseline(left + Margin, top + fontMetrics().ascent());
        painter.setPen(palette().text().color());
        painter.drawText(baseline, text);
        if (block && line >= blockStart_.Line && line <= blockAfter_.Line) {
            int from = line == blockStart_.Line ? ColumnX(line, blockStart_.Col) : Margin;
            int to = line == blockAfter_.Line ? ColumnX(line, blockAfter_.Col) : viewport()->width() - left;
            QRect selected(left + from, top, to - from, height);
            painter.fillRect(selected, palette().highlight());
            painter.save();
            painter.setClipRect(selected);
            painter.setPen(palette().highlightedText().color());
            painter.drawText(baseline, text);
            painter.restore();
        }
        if (line == cursor_.Line && hasFocus()) {
            int x = left + ColumnX(line, cursor_.Col);
            painter.drawLine(x, top, x, top + height - 1);
        }
    }
}

void BigTextView::mousePressEvent(QMouseEvent* event)
{
    int line = std::min(TopLine() + static_cast<int>(event->position().y()) / LineHeight(), LineCount());
    int x = static_cast<int>(event->position().x()) + horizontalScrollBar()->value();
    MoveCursor({static_cast<int16_t>(ColumnAt(line, x)), line});
}

void BigTextView::keyPressEvent(QKeyEvent* event)
{
    hostapi::TEditPos to = cursor_;
    bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up: to.Line -= 1; break;
    case Qt::Key_Down: to.Line += 1; break;
    case Qt::Key_PageUp: to.Line -= VisibleLines(); break;
    case Qt::Key_PageDown: to.Line += VisibleLines(); break;
    case Qt::Key_Left: to.Col = static_cast<int16_t>(std::max(to.Col - 1, 1)); break;
    case Qt::Key_Right: to.Col = static_cast<int16_t>(std::min<int>(to.Col + 1, Line(to.Line).size() + 1)); break;
    case Qt::Key_Home:
        to.Col = 1;
        if (control) {
            to.Line = 1;
        }
        break;
    case Qt::Key_End:
        if (control) {
            to.Line = LineCount();
        }
        to.Col = static_cast<int16_t>(Line(to.Line).size() + 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    to.Line = std::clamp(to.Line, 1, std::max(LineCount(), 1));
    MoveCursor(to);
}

void BigTextView::MoveCursor(hostapi::TEditPos cursor)
{
    ShowPositions(cursor, cursor, cursor);
    if (cursor.Line < TopLine()) {
        verticalScrollBar()->setValue(cursor.Line - 1);
    } else if (cursor.Line >= TopLine() + VisibleLines()) {
        verticalScrollBar()->setValue(cursor.Line - VisibleLines());
    }
    emit CursorMoved(cursor);
}

}  // namespace workbench
