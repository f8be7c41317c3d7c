#pragma once
// The widget of toolkit list boxes.

#include <QListWidget>
#include <QMouseEvent>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

class ListBoxView : public QListWidget, public ControlView {
public:
    ListBoxView(FormRenderer& renderer, tk::ListBox& list, QWidget* parent)
        : QListWidget(parent), ControlView(renderer, &list), list_(&list)
    {
        setSelectionMode(QAbstractItemView::NoSelection);
    }

    void SyncFromControl() override
    {
        if (list_->Items().Revision() != shownRevision_) {
            shownRevision_ = list_->Items().Revision();
            clear();
            addItems(ToQStrings(list_->Items()));
            shownSelection_.clear();
        }
        std::vector<bool> selection;
        for (int i = 0; i < count(); ++i) {
            selection.push_back(list_->MultiSelect() ? list_->Selected(i) : i == list_->ItemIndex());
        }
        if (selection != shownSelection_) {
            shownSelection_ = selection;
            QBrush highlight = palette().brush(QPalette::Highlight);
            QBrush highlightedText = palette().brush(QPalette::HighlightedText);
            for (int i = 0; i < count(); ++i) {
                item(i)->setBackground(selection[i] ? highlight : QBrush());
                item(i)->setForeground(selection[i] ? highlightedText : QBrush());
            }
            if (list_->ItemIndex() >= 0 && list_->ItemIndex() < count()) {
                scrollToItem(item(list_->ItemIndex()));
            }
        }
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        int row = indexAt(event->position().toPoint()).row();
        if (row >= 0 && event->button() == Qt::LeftButton) {
            tk::ShiftState shift = 0;
            if (event->modifiers() & Qt::ControlModifier) {
                shift |= tk::ssCtrl;
            }
            if (event->modifiers() & Qt::ShiftModifier) {
                shift |= tk::ssShift;
            }
            renderer_.Deliver([this, row, shift] { list_->ClickItem(row, shift); });
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (indexAt(event->position().toPoint()).row() >= 0) {
            renderer_.Deliver([this] { list_->DblClick(); });
        }
    }

private:
    tk::ListBox* list_;
    uint64_t shownRevision_ = 0;
    std::vector<bool> shownSelection_;
};

}  // namespace workbench
