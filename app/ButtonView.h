#pragma once
// The widget of toolkit buttons.

#include <QPushButton>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

class ButtonView : public QPushButton, public ControlView {
public:
    ButtonView(FormRenderer& renderer, tk::Button& button, QWidget* parent)
        : QPushButton(parent), ControlView(renderer, &button), button_(&button)
    {
        connect(this, &QPushButton::clicked, this, [this] { renderer_.Deliver([this] { button_->Click(); }); });
    }
    void SyncFromControl() override
    {
        QString text = FromCp932(button_->Caption());
        if (text != this->text()) {
            setText(text);
        }
        if (isDefault() != button_->Default) {
            setDefault(button_->Default);
        }
    }

private:
    tk::Button* button_;
};

}  // namespace workbench
