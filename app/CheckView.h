#pragma once
// The widget of toolkit check boxes and radio buttons.


#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

// Check boxes and radio buttons: the toolkit decides the mark, the widget only shows it.
template <class Widget>
class CheckView : public Widget, public ControlView {
public:
    CheckView(FormRenderer& renderer, tk::CheckBox& box, QWidget* parent)
        : Widget(parent), ControlView(renderer, &box), box_(&box)
    {
        this->setAutoExclusive(false);
        QObject::connect(this, &Widget::clicked, this, [this] { renderer_.Deliver([this] { box_->Click(); }); });
    }
    void SyncFromControl() override
    {
        QString text = FromCp932(box_->Caption());
        if (text != this->text()) {
            this->setText(text);
        }
        if (box_->Checked() != this->isChecked()) {
            this->setChecked(box_->Checked());
        }
    }

private:
    tk::CheckBox* box_;
};

}  // namespace workbench
