#pragma once
// The widget of toolkit check-list boxes.

#include <QMouseEvent>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/ListBoxView.h"
#include "toolkit/CheckLst.h"

namespace workbench {

// A check-list box: a click on an item's box toggles its mark, other clicks select as in a list box.
class CheckListView : public ListBoxView {
public:
    CheckListView(FormRenderer& renderer, tk::CheckListBox& list, QWidget* parent)
        : ListBoxView(renderer, list, parent), checkList_(&list)
    {
    }

    void SyncFromControl() override
    {
        ListBoxView::SyncFromControl();
        for (int i = 0; i < count(); ++i) {
            Qt::CheckState state = checkList_->Checked(i) ? Qt::Checked : Qt::Unchecked;
            if (item(i)->checkState() != state || !(item(i)->flags() & Qt::ItemIsUserCheckable)) {
                item(i)->setFlags(item(i)->flags() | Qt::ItemIsUserCheckable);
                item(i)->setCheckState(state);
            }
        }
    }

    // The box of item row in viewport coordinates.
    QRect CheckRect(int row) const
    {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualItemRect(item(row));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QPoint at = event->position().toPoint();
        int row = indexAt(at).row();
        if (row >= 0 && event->button() == Qt::LeftButton && CheckRect(row).contains(at)) {
            setFocus(Qt::MouseFocusReason);
            renderer_.Deliver([this, row] { checkList_->ClickCheck(row); });
            return;
        }
        ListBoxView::mousePressEvent(event);
    }

private:
    tk::CheckListBox* checkList_;
};

}  // namespace workbench
