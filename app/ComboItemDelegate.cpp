#include "app/ComboItemDelegate.h"

#include <QApplication>
#include <QPainter>

namespace workbench {

namespace {

constexpr int TextIndent = 2;

}  // namespace

ComboItemDelegate::ComboItemDelegate(ItemText itemText, QObject* parent)
    : QStyledItemDelegate(parent), itemText_(std::move(itemText))
{
}

void ComboItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    QRect area = option.rect.adjusted(TextIndent, 0, -TextIndent, 0);
    QString text = itemText_(index.row(), area.width(), option.fontMetrics);
    bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

QSize ComboItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // The width of a shortened entry follows the list's width, not the full text.
    return {TextIndent * 2, std::max(size.height(), option.fontMetrics.height() + 4)};
}

}  // namespace workbench
