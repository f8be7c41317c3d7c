#pragma once
// Draws a combo box's list entries with the text the toolkit control chooses for the entry's width,
// so owner-drawn boxes (a file path shortened in its middle) look the same open and closed.

#include <QStyledItemDelegate>
#include <functional>

namespace workbench {

class ComboItemDelegate : public QStyledItemDelegate {
public:
    // itemText answers the text to draw for an entry in a width, measured with the given metrics.
    using ItemText = std::function<QString(int index, int width, const QFontMetrics& metrics)>;

    ComboItemDelegate(ItemText itemText, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ItemText itemText_;
};

}  // namespace workbench
