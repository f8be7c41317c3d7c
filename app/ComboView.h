#pragma once
// The widget of toolkit combo boxes.

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStylePainter>
#include <QTimer>
#include <algorithm>

#include "app/ComboItemDelegate.h"
#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

// A combo box whose list follows the toolkit's dropped-down state, whose items are drawn with the
// control's own item text (the path ellipsis of the add-in's combo box) and whose choices go to
// ChooseItem.
class ComboView : public QComboBox, public ControlView {
public:
    ComboView(FormRenderer& renderer, tk::ComboBox& combo, QWidget* parent)
        : QComboBox(parent), ControlView(renderer, &combo), combo_(&combo)
    {
        setItemDelegate(new ComboItemDelegate(
            [this](int index, int width, const QFontMetrics& metrics) { return ItemText(index, width, metrics); },
            this));
        // Every entry is one line of one font: the list measures one, not each of many thousands.
        if (auto* list = qobject_cast<QListView*>(view())) {
            list->setUniformItemSizes(true);
        }
        connect(this, &QComboBox::activated, this, [this](int index) {
            renderer_.Deliver([this, index] { combo_->ChooseItem(index); });
        });
    }

    void SyncFromControl() override
    {
        bool editable = !combo_->IsListOnly();
        if (editable != isEditable()) {
            setEditable(editable);
            if (editable) {
                connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
                    if (renderer_.Syncing() || ToCp932(text) == combo_->Text()) {
                        return;
                    }
                    renderer_.Deliver([this, text] { combo_->TypeText(ToCp932(text)); });
                });
            }
        }
        if (combo_->Items().Revision() != shownRevision_) {
            shownRevision_ = combo_->Items().Revision();
            clear();
            addItems(ToQStrings(combo_->Items()));
        }
        if (currentIndex() != combo_->ItemIndex()) {
            setCurrentIndex(combo_->ItemIndex());
        }
        if (editable && lineEdit()->text() != FromCp932(combo_->Text())) {
            lineEdit()->setText(FromCp932(combo_->Text()));
        }
        if (maxVisibleItems() != std::max(combo_->DropDownCount(), 1)) {
            setMaxVisibleItems(std::max(combo_->DropDownCount(), 1));
        }
        if (!closing_ && combo_->DroppedDown() != popupShown_) {
            combo_->DroppedDown() ? showPopup() : hidePopup();
        }
    }

    bool EditsText(const QKeyEvent& event) const override
    {
        if (!isEditable() || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            return false;
        }
        switch (event.key()) {
        case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Home: case Qt::Key_End:
            return true;
        default:
            return !event.text().isEmpty() && event.text()[0] >= ' ';
        }
    }

    void showPopup() override
    {
        popupShown_ = true;
        if (!renderer_.Syncing() && !combo_->DroppedDown()) {
            renderer_.Deliver([this] { combo_->SetDroppedDown(true); });
        }
        QComboBox::showPopup();
    }

    // The list closes before Qt reports a choice, so the toolkit hears of the closing only after
    // the choice had its chance to arrive.
    void hidePopup() override
    {
        popupShown_ = false;
        QComboBox::hidePopup();
        if (renderer_.Syncing()) {
            return;
        }
        closing_ = true;
        QTimer::singleShot(0, this, [this] {
            closing_ = false;
            if (control_ && combo_->DroppedDown()) {
                renderer_.Deliver([this] { combo_->SetDroppedDown(false); });
            }
        });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (!isEditable() && currentIndex() >= 0) {
            QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
            option.currentText = ItemText(currentIndex(), field.width() - 4, fontMetrics());
        }
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
    QString ItemText(int index, int width, const QFontMetrics& metrics) const
    {
        if (!control_ || index < 0 || index >= combo_->Items().Count()) {
            return {};
        }
        auto measure = [&metrics](const std::string& text) { return metrics.horizontalAdvance(FromCp932(text)); };
        return FromCp932(combo_->DrawItemText(index, width, measure));
    }

    tk::ComboBox* combo_;
    uint64_t shownRevision_ = 0;
    bool popupShown_ = false;
    bool closing_ = false;
};

}  // namespace workbench
